// Inside the platform seam: the game's X window, what is asked of the X server and the window
// manager for it and what they say about it and the monitors. Calls after the library opened
// its display; each takes the library's X lock.
#pragma once

#include "platform/window_geometry.h"

#include <vector>

// Gives the window the game's icon as ARGB pictures with a clear background (_NET_WM_ICON) and
// the game's process id (_NET_WM_PID, with WM_CLIENT_MACHINE, which a process id needs beside
// it), what today's docks read beyond the library's WM_HINTS. Does nothing without a display.
void set_desktop_properties();

// Replaces the library's fixed size: any size and shape from the picture's up. The gravity
// stays the one the window was mapped with: a window manager that saw it change after placing
// the window put it back off by its frame after the first fullscreen or maximise.
void set_size_hints();

// Asks the window manager to show the window over its monitor, or no longer. The window's size
// is left alone: the manager keeps the size it finds as the one to restore.
void ask_fullscreen(bool on);

// Moves and resizes the window's inside to `r` (root coordinates) and raises it.
void move_window(const ScreenRect &r);

// True while the X server has F11 or a Return key down: asked of the server itself, since the
// library forgets what was held when the focus goes.
bool toggle_keys_down();

// The library's X cursor, which it sets on its own drawing window, set on the managed window
// too (the drawing window is unmapped: window_present.cpp).
void mirror_cursor();

// The X screen's monitors, each with its share of the work area (_NET_WORKAREA): RandR's list
// of monitors, or the whole X screen as one when the server has no RandR 1.5.
std::vector<Monitor> list_monitors();

// The pointer now, on the screen (root coordinates) and from the window's top-left corner;
// all 0 when it is on another X screen.
struct PointerPlace {
    int screen_x = 0, screen_y = 0, window_x = 0, window_y = 0;
};
PointerPlace pointer_place();

// The inside of the window on the screen (root coordinates, the window manager's frame left
// out); one round trip or two.
ScreenRect window_rect();

// `bounds` less the window manager's frame around the window (_NET_FRAME_EXTENTS): the room the
// window's inside has when its frame must stay inside `bounds`.
ScreenRect inside_frame(const ScreenRect &bounds);

// True when a window manager that follows the desktop conventions (EWMH) runs.
bool window_manager_running();
