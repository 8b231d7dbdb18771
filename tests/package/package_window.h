// What a window manager reads of the game's window: its class, its icons and its
// process id (Xlib kept out of
// the test file, whose GoogleTest headers clash with Xlib's macros).
#pragma once

#include "e2e_rig.h"

#include <cstdint>
#include <string>
#include <vector>

// The window's WM_CLASS as "name.class"; "" when it has none.
std::string window_class(Display *x, Window w);

// The picture of the icon pixmap the window's WM_HINTS give; empty (0 x 0) when there is none.
RgbImage window_icon(Display *x, Window w);

// The values of the window's CARDINAL property `name` (as _NET_WM_ICON, _NET_WM_PID); empty
// when it has none.
std::vector<unsigned long> cardinal_property(Display *x, Window w, const char *name);

// The window icon the game is built with at `size` x `size`, drawn afresh from the art in
// `data_dir` the way the data builder draws it: 0xAARRGGBB a pixel, rows top to bottom, a
// clear pixel 0.
std::vector<unsigned long> expected_window_icon(const std::string &data_dir, int size);
