// The seam: the process's start and end. The library's start (and with it the font engine's),
// the message boxes and the way the process ends. The game reaches the library's start and stop,
// window, clock, input and sound only through the seam's headers (process.h, window.h, input.h,
// timing.h, sound.h), so a test build links tests/support/script_platform.cpp instead of
// platform_allegro.cpp and scripts a whole game, start-up included.
//
// Drawing itself (blit, draw_sprite, rectfill, textprintf_ex, load_bitmap, ...) and loading
// tunes and sounds from files are plain Allegro on BITMAP*, MIDI* and SAMPLE*: they work with
// no display and no sound card, so they need no seam.
#pragma once

// Starts the library (allegro_init) with two changes to what it does on its own. Its
// configuration is an empty one held in memory: an allegro.cfg beside the game or a
// ~/.allegrorc is never read (a stale "[system] system = NONE" would otherwise turn every
// start into Erro 01) and nothing is saved at exit. And SIGTERM, SIGINT and SIGHUP keep what
// they did before (normally: end the process), instead of the library's handler, which shuts
// the library down inside the signal and aborts with a core dump when the screen is held.
// Returns 0 when the library started, anything else when it did not (no display).
int pf_start_library();

// Starts the outline-font engine with the library (font/alfont.h's alfont_init): 1 is failure.
int pf_start_font_engine();

// Shows a blocking message box titled `caption`; returns when the player dismisses it (its
// button, Return, or its close button). The window's title takes the caption too and keeps it
// afterwards. The box never outlives the process.
void pf_message_box(const char *caption, const char *text);

// Shuts the library down, the watch over the desktop first.
void pf_shut_down();

// Ends the process with `status`. Never returns (a test build unwinds instead). The loss of the
// X server or of the window ends it too, by itself, with status 1 (see ARCHITECTURE.md).
[[noreturn]] void pf_end_process(int status);
