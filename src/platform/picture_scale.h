// Inside the platform seam: where the game's one picture sits in a window of any size, at a
// whole-number scale, and how it gets there. Pure arithmetic and bitmap copies: no display.
#pragma once

#include <allegro.h>

// The desktop a window opens on, in screen pixels. The work area is what the window manager
// leaves free of panels and task bars; with no window manager to say, it is the whole screen.
struct Desktop {
    int width = 0, height = 0;
    int work_width = 0, work_height = 0;
};

// The largest whole scale of the picture whose window, with room for the window manager's
// frame and a task bar, fits `desktop`: 1 on 1366 x 768 and smaller, 2 on 1920 x 1080, 3 on
// 2560 x 1440, 4 on 3840 x 2160. Never below 1.
int largest_window_scale(const Desktop &desktop);

// Where the picture sits in a window `width` x `height`: the largest whole scale that fits
// (1 at least), centred; the rest of the window is black.
struct Placement {
    int scale = 1;
    int x = 0, y = 0;  // the picture's top-left corner in window pixels
};
Placement place_picture(int width, int height);

// The picture coordinate of window coordinate `at` along one axis: a scale x scale square of
// window pixels is one picture pixel. Outside the picture the result runs on past its edges
// (negative on the left), so that no hover box there is met by mistake.
int picture_coordinate(int at, int origin, int scale);

// A rectangle of picture pixels; w == 0 means none.
struct PictureRect {
    int x = 0, y = 0, w = 0, h = 0;
};

// The smallest rectangle holding every pixel in which `picture` and `shown` differ (two
// bitmaps of the same size and depth).
PictureRect changed_rect(BITMAP *picture, BITMAP *shown);

// Copies `area` of `picture` to `target` as placed by `at`, every pixel an exact square of
// at.scale x at.scale target pixels, and into `shown` as it is, so that `shown` keeps what the
// target shows.
void present_rect(BITMAP *picture, BITMAP *shown, BITMAP *target, const Placement &at,
                  const PictureRect &area);
