// The window's geometry: monitors, sizes, scales and the picture's place in the window.
#include "platform/window_geometry.h"

#include "platform/window.h"

#include <algorithm>
#include <climits>

namespace {

// The room a window has on `monitor` once the window manager's frame and a task bar are
// allowed for. Both grow with the monitor (a 4K monitor draws them at twice the size), so the
// room kept for them is a share of the screen: an eighth of its height, a sixteenth of its
// width. A work area that the panels already shrank keeps room for the frame alone.
Size room_on(const Monitor &monitor)
{
    const ScreenRect &all = monitor.area, &work = monitor.work;
    return {std::min(all.w - all.w / 16, work.w - all.w / 64),
            std::min(all.h - all.h / 8, work.h - all.h / 24)};
}

// The 4:3 size that fills `width` x `height` on its limiting side.
Size filling_size(int width, int height)
{
    if ((long)width * WINDOW_HEIGHT <= (long)height * WINDOW_WIDTH)
        return {width, width * WINDOW_HEIGHT / WINDOW_WIDTH};
    return {height * WINDOW_WIDTH / WINDOW_HEIGHT, height};
}

ScreenRect intersect(const ScreenRect &a, const ScreenRect &b)
{
    int x0 = std::max(a.x, b.x), y0 = std::max(a.y, b.y);
    int x1 = std::min(a.x + a.w, b.x + b.w), y1 = std::min(a.y + a.h, b.y + b.h);
    if (x1 <= x0 || y1 <= y0)
        return {};
    return {x0, y0, x1 - x0, y1 - y0};
}

// Squared distance from (x, y) to the nearest point of `r`.
long distance2(const ScreenRect &r, int x, int y)
{
    long dx = x < r.x ? r.x - x : (x >= r.x + r.w ? x - (r.x + r.w - 1) : 0);
    long dy = y < r.y ? r.y - y : (y >= r.y + r.h ? y - (r.y + r.h - 1) : 0);
    return dx * dx + dy * dy;
}

// Along one axis: `at`, the start of a span `size` long, moved inside [lo, lo + room).
int inside(int at, int size, int lo, int room)
{
    if (size >= room)
        return lo;
    return std::clamp(at, lo, lo + room - size);
}

}  // namespace

int largest_window_scale(const Monitor &monitor)
{
    Size room = room_on(monitor);
    return std::max(1, std::min(room.w / WINDOW_WIDTH, room.h / WINDOW_HEIGHT));
}

Size opening_size(const Monitor &monitor)
{
    int scale = largest_window_scale(monitor);
    Size whole{WINDOW_WIDTH * scale, WINDOW_HEIGHT * scale};
    Size room = room_on(monitor);
    if (3 * whole.h >= 2 * monitor.work.h || room.h <= whole.h || room.w <= whole.w)
        return whole;
    return filling_size(room.w, room.h);
}

Size step_size(const Monitor &monitor, Size window, int steps)
{
    std::vector<Size> sizes;
    for (int scale = 1; scale <= largest_window_scale(monitor); scale++)
        sizes.push_back({WINDOW_WIDTH * scale, WINDOW_HEIGHT * scale});
    const Size open = opening_size(monitor);
    if (open.w % WINDOW_WIDTH != 0 || open.h % WINDOW_HEIGHT != 0)
        sizes.insert(std::lower_bound(sizes.begin(), sizes.end(), open,
                                      [](Size a, Size b) { return a.w < b.w; }),
                     open);
    for (; steps > 0; steps--) {
        auto up = std::find_if(sizes.begin(), sizes.end(), [&](Size s) {
            return s.w >= window.w && s.h >= window.h && (s.w > window.w || s.h > window.h);
        });
        window = up == sizes.end() ? window : *up;
    }
    for (; steps < 0; steps++) {
        auto down = std::find_if(sizes.rbegin(), sizes.rend(), [&](Size s) {
            return s.w <= window.w && s.h <= window.h && (s.w < window.w || s.h < window.h);
        });
        window = down == sizes.rend() ? window : *down;
    }
    return window;
}

Placement place_picture(int width, int height)
{
    Placement at;
    Size fill = filling_size(width, height);
    const int scale = fill.w / WINDOW_WIDTH;
    // Whole squares when they lose at most 15 % of the limiting side; below 1x, smaller whole.
    at.scale = 0;
    if (scale >= 1 && 100 * scale * WINDOW_WIDTH >= 85 * fill.w) {
        fill = {WINDOW_WIDTH * scale, WINDOW_HEIGHT * scale};
        at.scale = scale;
    }
    at.w = fill.w;
    at.h = fill.h;
    at.x = (width - fill.w) / 2;
    at.y = (height - fill.h) / 2;
    return at;
}

int picture_coordinate(int at, int origin, int shown_size, int picture_size)
{
    long offset = (long)(at - origin) * picture_size;
    // Rounded down on both sides of the origin: -1 is left of the picture, not its column 0.
    return (int)(offset >= 0 ? offset / shown_size : -((-offset + shown_size - 1) / shown_size));
}

ScreenRect work_share(const ScreenRect &monitor, const ScreenRect &workarea)
{
    ScreenRect share = intersect(monitor, workarea);
    return share.w > 0 ? share : monitor;
}

int monitor_at(const std::vector<Monitor> &monitors, int x, int y)
{
    int best = 0;
    long nearest = LONG_MAX;
    for (int i = 0; i < (int)monitors.size(); i++) {
        long d = distance2(monitors[i].area, x, y);
        if (d < nearest) {
            nearest = d;
            best = i;
        }
    }
    return best;
}

int monitor_of_window(const std::vector<Monitor> &monitors, const ScreenRect &window)
{
    int best = -1;
    long largest = 0;
    for (int i = 0; i < (int)monitors.size(); i++) {
        ScreenRect common = intersect(monitors[i].area, window);
        long area = (long)common.w * common.h;
        if (area > largest) {
            largest = area;
            best = i;
        }
    }
    if (best >= 0)
        return best;
    return monitor_at(monitors, window.x + window.w / 2, window.y + window.h / 2);
}

ScreenRect keep_place(const ScreenRect &window, int w, int h, const ScreenRect &bounds)
{
    // Centres in doubled coordinates, so that an odd change of size keeps them exact.
    int cx2 = 2 * window.x + window.w, cy2 = 2 * window.y + window.h;
    int x = (cx2 - w) / 2, y = (cy2 - h) / 2;
    return {inside(x, w, bounds.x, bounds.w), inside(y, h, bounds.y, bounds.h), w, h};
}
