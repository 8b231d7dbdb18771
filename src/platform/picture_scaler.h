// Inside the platform seam: the pixel scaler, copies between memory buffers (no display) that
// show the game's picture, or what changed of it, enlarged in the window's frame.
#pragma once

#include "platform/window_geometry.h"

#include <allegro.h>

#include <cstdint>

// A rectangle of picture pixels; w == 0 means none.
struct PictureRect {
    int x = 0, y = 0, w = 0, h = 0;
};

// The smallest rectangle holding every pixel in which `picture` and `shown` differ (two
// bitmaps of the same size and depth).
PictureRect changed_rect(BITMAP *picture, BITMAP *shown);

// What the window shows, 0x00RRGGBB a pixel, rows `stride` pixels apart.
struct Frame {
    uint32_t *pixels = nullptr;
    int w = 0, h = 0, stride = 0;
};

// A rectangle of frame pixels; w == 0 means none.
struct FrameRect {
    int x = 0, y = 0, w = 0, h = 0;
};

// Paints `area` of `picture` into `frame` as placed by `at`, copies it into `shown` as it is
// (so that `shown` keeps what the frame shows), and returns the frame pixels it painted. At a
// whole scale each picture pixel becomes an exact square; at a fractional one, each frame
// pixel takes the picture pixels it covers in the share of its area they cover, so that every
// picture pixel stays a sharp square whose edges blend over at most one frame pixel (what
// enlarging by the next whole scale and then averaging down to the size gives, in one pass).
// Shrunk (a window smaller than the picture), each frame pixel takes the picture pixel under
// its middle.
FrameRect present_rect(BITMAP *picture, BITMAP *shown, const Frame &frame, const Placement &at,
                       const PictureRect &area);
