// The monitors, the work area and the game's window as the X server and the window manager
// report them: RandR 1.5's monitors, _NET_WORKAREA, _NET_FRAME_EXTENTS, _NET_SUPPORTING_WM_CHECK.
#include "platform/window_monitor.h"

#include <allegro.h>
#include <xalleg.h>  // after allegro.h; its Xlib macros stay in this file
#include <X11/Xatom.h>
#include <X11/extensions/Xrandr.h>

namespace {

// Up to `count` longs of the CARDINAL property `name` of `window`; how many it holds.
int read_cardinals(Window window, const char *name, long *out, int count)
{
    Display *x = _xwin.display;
    Atom atom = XInternAtom(x, name, True);
    if (atom == None)
        return 0;
    Atom type = None;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char *data = nullptr;
    int got = 0;
    if (XGetWindowProperty(x, window, atom, 0, count, False, XA_CARDINAL, &type, &format, &n,
                           &after, &data) == Success &&
        type == XA_CARDINAL && format == 32) {
        got = (int)n < count ? (int)n : count;
        for (int i = 0; i < got; i++)
            out[i] = ((const long *)data)[i];  // format 32 comes as longs, whatever their size
    }
    if (data)
        XFree(data);
    return got;
}

bool has_randr_monitors(Display *x)
{
    int event_base = 0, error_base = 0, major = 0, minor = 0;
    return XRRQueryExtension(x, &event_base, &error_base) &&
           XRRQueryVersion(x, &major, &minor) && (major > 1 || (major == 1 && minor >= 5));
}

}  // namespace

std::vector<Monitor> read_monitors()
{
    std::vector<Monitor> monitors;
    XLOCK();
    Display *x = _xwin.display;
    Window root = RootWindow(x, _xwin.screen);
    if (has_randr_monitors(x)) {
        int count = 0;
        XRRMonitorInfo *list = XRRGetMonitors(x, root, True, &count);
        for (int i = 0; list && i < count; i++)
            if (list[i].width > 0 && list[i].height > 0)
                monitors.push_back(
                    {{list[i].x, list[i].y, list[i].width, list[i].height}, {}});
        if (list)
            XRRFreeMonitors(list);
    }
    if (monitors.empty())
        monitors.push_back(
            {{0, 0, DisplayWidth(x, _xwin.screen), DisplayHeight(x, _xwin.screen)}, {}});
    long area[4] = {0, 0, 0, 0};  // of the first desktop: x, y, width, height
    ScreenRect workarea;
    if (read_cardinals(root, "_NET_WORKAREA", area, 4) == 4)
        workarea = {(int)area[0], (int)area[1], (int)area[2], (int)area[3]};
    XUNLOCK();
    for (Monitor &m : monitors)
        m.work = work_share(m.area, workarea);
    return monitors;
}

void read_pointer(int &x, int &y)
{
    XLOCK();
    Window root = None, child = None;
    int wx = 0, wy = 0;
    unsigned int mask = 0;
    x = y = 0;
    if (!XQueryPointer(_xwin.display, RootWindow(_xwin.display, _xwin.screen), &root, &child,
                       &x, &y, &wx, &wy, &mask))
        x = y = 0;
    XUNLOCK();
}

ScreenRect read_window_rect()
{
    XLOCK();
    Display *x = _xwin.display;
    Window root = None, child = None;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned int w = 0, h = 0, border = 0, depth = 0;
    XGetGeometry(x, _xwin.wm_window, &root, &wx, &wy, &w, &h, &border, &depth);
    XTranslateCoordinates(x, _xwin.wm_window, root, 0, 0, &rx, &ry, &child);
    XUNLOCK();
    return {rx, ry, (int)w, (int)h};
}

void read_window_size(int &w, int &h)
{
    XLOCK();
    Window root = None;
    int x = 0, y = 0;
    unsigned int width = 0, height = 0, border = 0, depth = 0;
    if (XGetGeometry(_xwin.display, _xwin.wm_window, &root, &x, &y, &width, &height, &border,
                     &depth)) {
        w = (int)width;
        h = (int)height;
    }
    XUNLOCK();
}

ScreenRect inside_frame(const ScreenRect &bounds)
{
    long extents[4] = {0, 0, 0, 0};  // left, right, top, bottom
    XLOCK();
    read_cardinals(_xwin.wm_window, "_NET_FRAME_EXTENTS", extents, 4);
    XUNLOCK();
    return {bounds.x + (int)extents[0], bounds.y + (int)extents[2],
            bounds.w - (int)(extents[0] + extents[1]), bounds.h - (int)(extents[2] + extents[3])};
}

bool window_manager_running()
{
    XLOCK();
    Display *x = _xwin.display;
    Atom check = XInternAtom(x, "_NET_SUPPORTING_WM_CHECK", True);
    bool running = false;
    if (check != None) {
        Atom type = None;
        int format = 0;
        unsigned long n = 0, after = 0;
        unsigned char *data = nullptr;
        running = XGetWindowProperty(x, RootWindow(x, _xwin.screen), check, 0, 1, False,
                                     XA_WINDOW, &type, &format, &n, &after, &data) == Success &&
                  type == XA_WINDOW && n == 1;
        if (data)
            XFree(data);
    }
    XUNLOCK();
    return running;
}
