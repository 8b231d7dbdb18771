// Inside the platform seam: the window's geometry, pure arithmetic on screen pixels (no
// display): the monitors, the sizes the window opens at and steps through, where the picture
// sits in it, and where the window goes when its size changes.
#pragma once

#include <vector>

// A rectangle of screen pixels (root window coordinates); w == 0 means none.
struct ScreenRect {
    int x = 0, y = 0, w = 0, h = 0;
};

// One monitor of the X screen: its whole rectangle, and its share of the work area (what the
// window manager leaves free of panels and task bars on it; the whole monitor with none).
struct Monitor {
    ScreenRect area;
    ScreenRect work;
};

struct Size {
    int w = 0, h = 0;
};

// The largest whole scale of the picture whose window, with room for the window manager's
// frame and a task bar, fits `monitor`: 1 on 1366 x 768 and smaller, 2 on 1920 x 1080, 3 on
// 2560 x 1440, 4 on 3840 x 2160. Never below 1.
int largest_window_scale(const Monitor &monitor);

// The window's size at start: the largest whole scale that fits `monitor` (as above), or,
// where that fills less than two thirds of the room's height, the 4:3 size that fills the room
// (896 x 672 on 1366 x 768).
Size opening_size(const Monitor &monitor);

// The size Ctrl+Plus (`steps` > 0) or Ctrl+Minus (< 0) gives a window `window` on `monitor`,
// one step at a time: the next of the whole scales that fit it and the opening size there,
// never smaller for Plus nor larger for Minus on either side; `window` when there is none.
Size step_size(const Monitor &monitor, Size window, int steps);

// Where the picture sits in a window `width` x `height`: as large as fits, centred, the rest
// black. At a whole scale (every picture pixel an exact square) when the largest whole scale
// that fits fills at least 85 % of the window's limiting side; otherwise at the 4:3 size that
// fills that side, which a window smaller than the picture (no window manager keeps the
// minimum) makes a scale below 1.
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

// The part of `monitor` inside `workarea`; the whole monitor when they do not meet (a work
// area published for another layout) or when no work area is known (w == 0).
ScreenRect work_share(const ScreenRect &monitor, const ScreenRect &workarea);

// The index of the monitor holding point (x, y); when none does (a gap between monitors),
// the nearest one. 0 for an empty list.
int monitor_at(const std::vector<Monitor> &monitors, int x, int y);

// The index of the monitor holding the largest part of `window`; when it lies on none, the
// one nearest its centre. 0 for an empty list.
int monitor_of_window(const std::vector<Monitor> &monitors, const ScreenRect &window);

// `window` resized to w x h with its centre where it was, then moved only as far as needed to
// lie inside `bounds` (at the bounds' top-left corner when larger than them).
ScreenRect keep_place(const ScreenRect &window, int w, int h, const ScreenRect &bounds);
