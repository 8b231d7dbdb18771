// Inside the platform seam: what today's docks and task bars read of the game's window beyond
// the library's own WM_HINTS.
#pragma once

// Call after allegro_init, which creates the window: gives it the game's icon as ARGB pictures
// with a clear background (_NET_WM_ICON) and the game's process id (_NET_WM_PID, with
// WM_CLIENT_MACHINE, which a process id needs beside it). Does nothing without a display.
void set_window_desktop_properties();
