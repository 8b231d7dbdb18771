// Inside the platform seam: what the X server and the window manager say about the monitors,
// the work area and the game's window. Each call takes the library's X lock itself.
#pragma once

#include "platform/window_place.h"

#include <vector>

// The X screen's monitors, each with its share of the work area (_NET_WORKAREA): RandR's list
// of monitors, or the whole X screen as one when the server has no RandR 1.5.
std::vector<Monitor> read_monitors();

// The pointer on the screen, in root coordinates; (0, 0) when it is on another X screen.
void read_pointer(int &x, int &y);

// The inside of the game's window on the screen (root coordinates, the window manager's frame
// left out).
ScreenRect read_window_rect();

// The size the X server gives the game's window now; one round trip.
void read_window_size(int &w, int &h);

// `bounds` less the window manager's frame around the game's window (_NET_FRAME_EXTENTS): the
// room the window's inside has when its frame must stay inside `bounds`.
ScreenRect inside_frame(const ScreenRect &bounds);

// True when a window manager that follows the desktop conventions (EWMH) runs.
bool window_manager_running();
