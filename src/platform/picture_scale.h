// Inside the platform seam: where the game's one picture sits in a window of any size, at
// what scale, and the copies that enlarge it there. Pure arithmetic and pixel copies between
// memory buffers: no display.
#pragma once

#include <allegro.h>

#include <cstdint>

// A monitor's size and its share of the work area, in screen pixels. With no window manager
// to say, the work area is the whole monitor.
struct Desktop {
    int width = 0, height = 0;
    int work_width = 0, work_height = 0;
};

// The largest whole scale of the picture whose window, with room for the window manager's
// frame and a task bar, fits `desktop`: 1 on 1366 x 768 and smaller, 2 on 1920 x 1080, 3 on
// 2560 x 1440, 4 on 3840 x 2160. Never below 1.
int largest_window_scale(const Desktop &desktop);

// The window's size at start: the largest whole scale that fits `desktop` (as above), or,
// where that fills less than two thirds of the room's height, the 4:3 size that fills the room
// (896 x 672 on 1366 x 768).
struct Size {
    int w = 0, h = 0;
};
Size opening_size(const Desktop &desktop);

// Where the picture sits in a window `width` x `height`: as large as fits, centred, the rest
// black. At a whole scale (every picture pixel an exact square) when the largest whole scale
// that fits fills at least 85 % of the window's limiting side; otherwise at the 4:3 size that
// fills that side. Never smaller than the picture itself (at the window's top-left corner when
// the window is smaller).
struct Placement {
    int x = 0, y = 0;        // the picture's top-left corner in window pixels
    int w = 512, h = 384;    // its size there
    int scale = 1;           // the whole scale, or 0 when fractional
};
Placement place_picture(int width, int height);

// The picture coordinate of window coordinate `at` along one axis, where the picture's
// `picture_size` pixels are shown `shown_size` long from `origin`. Outside the picture the
// result runs on past its edges (negative on the left), so that no hover box there is met by
// mistake.
int picture_coordinate(int at, int origin, int shown_size, int picture_size);

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
FrameRect present_rect(BITMAP *picture, BITMAP *shown, const Frame &frame, const Placement &at,
                       const PictureRect &area);
