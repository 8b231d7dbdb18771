// Inside the platform seam: which monitor the window belongs to, where it goes when its size
// changes, and the size it opens at. Pure arithmetic on rectangles of screen pixels: no display.
#pragma once

#include <vector>

// A rectangle of screen pixels (root window coordinates); w == 0 means none.
struct ScreenRect {
    int x = 0, y = 0, w = 0, h = 0;
};

// One monitor of the X screen: its whole rectangle, and its share of the work area (what the
// window manager leaves free of panels and task bars on it).
struct Monitor {
    ScreenRect area;
    ScreenRect work;
};

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
