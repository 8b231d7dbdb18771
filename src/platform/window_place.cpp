// The monitor a window belongs to and the place it keeps when its size changes.
#include "platform/window_place.h"

#include <algorithm>
#include <climits>

namespace {

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
