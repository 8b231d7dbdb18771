// What a window manager reads of the game's window: its class, its icons and process id (Xlib kept out of
// the test file, whose GoogleTest headers clash with Xlib's macros).
#pragma once

#include "e2e_rig.h"

#include <cstdint>
#include <string>
#include <vector>

// The window's WM_CLASS as "name.class"; "" when it has none.
std::string window_class(Display *x, Window w);

// An icon's picture: 4 bytes (r, g, b, alpha) a pixel, rows top to bottom; a clear pixel is
// all 0.
struct IconPicture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
};

// The icon pixmap the window's WM_HINTS give, clear where their mask is; empty (0 x 0) when
// there is none.
IconPicture hints_icon(Display *x, Window w);

// The `size` x `size` picture of the window's _NET_WM_ICON; empty when it has none that size.
IconPicture net_wm_icon(Display *x, Window w, int size);

// The window's _NET_WM_PID; -1 when it has none.
long window_pid(Display *x, Window w);

// The window icon the game is built with, at `size` pixels, drawn afresh from the art in
// `data_dir` the way the data builder draws it (an IconPicture's bytes).
std::vector<uint8_t> expected_window_icon(const std::string &data_dir, int size);
