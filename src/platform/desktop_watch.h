// Inside the platform seam: what the desktop does to the game's window (focus, a new size or
// place, the window destroyed) and the one way out when the X server or the window is gone.
#pragma once

// Call right after allegro_init. From then on, losing the connection to the X server, on any
// thread, ends the process at once with status 1 and one line on standard error, without
// running the process's exit handlers (they would shut the library down on a thread that holds
// its locks, or wait for a server that is gone); an X protocol error about a window of ours that
// is gone ends it the same way, and any other is reported on standard error and the game goes
// on (Xlib's default handler would end the process from whichever thread met it).
void end_with_the_server();

// Call once the window is open. From then on the window destroyed by another client ends the
// process as above, and a change of its focus or geometry is posted to the input queue. Does
// nothing without a display.
void watch_desktop();

// The game's own way out has begun (the library is about to destroy its window): from now on
// nothing the desktop does ends the process. Also called by the process's exit handlers.
void unwatch_desktop();

// Ends the process at once with status 1 after saying `why` on standard error: no exit handlers,
// no library shut-down. Safe on any thread, also inside Xlib's error handlers.
[[noreturn]] void end_for_lost_desktop(const char *why);
