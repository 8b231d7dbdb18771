// The game's window opened on the monitor that holds the pointer, at the size it opens at there
// (window_geometry.h), smaller whole scales down to 1x when the library refuses it. The
// library's mode is opened once: every later change of the window's size keeps it
// (window_present.cpp).
#include "platform/desktop_watch.h"
#include "platform/window.h"
#include "platform/window_present.h"
#include "platform/x_window.h"

namespace {

int open_mode(const Size &size) { return set_gfx_mode(GFX_AUTODETECT_WINDOWED, size.w, size.h, 0, 0); }

// The window opened, where it opens: inside the work area of the monitor that holds the
// pointer (a window manager may have placed it elsewhere), in its middle when it was not on it.
void place_on_monitor(const Monitor &monitor)
{
    ScreenRect window = window_rect();
    ScreenRect room = inside_frame(monitor.work);
    const int cx = window.x + window.w / 2, cy = window.y + window.h / 2;
    const bool on_it = cx >= room.x && cx < room.x + room.w && cy >= room.y && cy < room.y + room.h;
    ScreenRect placed = on_it ? window : ScreenRect{room.x + room.w / 2, room.y + room.h / 2, 0, 0};
    placed = keep_place(placed, window.w, window.h, room);
    if (placed.x != window.x || placed.y != window.y)
        move_window(placed);
}

}  // namespace

int pf_open_window()
{
    std::vector<Monitor> monitors = list_monitors();
    const PointerPlace pointer = pointer_place();
    const Monitor monitor = monitors[monitor_at(monitors, pointer.screen_x, pointer.screen_y)];
    int result = open_mode(opening_size(monitor));
    for (int scale = largest_window_scale(monitor); scale >= 1 && result != 0; scale--)
        result = open_mode({WINDOW_WIDTH * scale, WINDOW_HEIGHT * scale});
    if (result != 0)
        return result;
    if (!make_picture())
        return -1;
    set_size_hints();
    place_on_monitor(monitor);
    if (!show_at_size(SCREEN_W, SCREEN_H))
        return -1;
    watch_desktop();
    return 0;
}

void pf_set_window_title(const char *title) { set_window_title(title); }
