// What a window manager reads of the game's window: its class and its icon (Xlib kept out of
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

// The window icon the game is built with, drawn afresh from the art in `data_dir` the way the
// data builder draws it: 3 bytes (r, g, b) a pixel, rows top to bottom.
std::vector<uint8_t> expected_window_icon(const std::string &data_dir, int &width, int &height);
