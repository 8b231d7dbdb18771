// The game's X window and what the X server and the window manager say about it and the
// monitors, through Xlib: its desktop properties, size hints, moves and fullscreen requests;
// RandR 1.5's monitors, _NET_WORKAREA, _NET_FRAME_EXTENTS, _NET_SUPPORTING_WM_CHECK. Each call
// takes the library's X lock itself.
#include "platform/x_window.h"

#include "platform/window.h"

#include <allegro.h>
#include <xalleg.h>  // after allegro.h; its Xlib macros stay in this file
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>

#include <unistd.h>

#include "pitlorex_icon.xpm"       // drawn by tools/databuild from the game's art
#include "pitlorex_icon_argb.h"

// Allegro's X11 window takes its icon from this XPM (the library's mascot unless replaced).
extern "C" void *allegro_icon;

namespace {

// Up to `count` longs of the property `name` of `window`, of type `type` (CARDINAL, WINDOW);
// how many it holds.
int read_longs(Window window, const char *name, Atom type, long *out, int count)
{
    Display *x = _xwin.display;
    Atom atom = XInternAtom(x, name, True);
    if (atom == None)
        return 0;
    Atom got_type = None;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char *data = nullptr;
    int got = 0;
    if (XGetWindowProperty(x, window, atom, 0, count, False, type, &got_type, &format, &n,
                           &after, &data) == Success &&
        got_type == type && format == 32) {
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

// Both are read when allegro_init creates the window, so they are set before main runs: the
// game's icon, and the class "pitlorex" that the desktop entry's StartupWMClass names, so that
// docks and task bars show and group the window as the game's.
const bool window_identity_set = [] {
    allegro_icon = (void *)pitlorex_icon_xpm;
    xwin_set_window_name("pitlorex", "pitlorex");
    return true;
}();

}  // namespace

void set_desktop_properties()
{
    XLOCK();
    Display *display = _xwin.display;
    Window window = _xwin.wm_window;
    if (display && window) {
        // Format 32 properties are passed to Xlib as longs, whatever their size.
        XChangeProperty(display, window, XInternAtom(display, "_NET_WM_ICON", False),
                        XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char *>(pitlorex_icon_argb),
                        pitlorex_icon_argb_size);
        long pid = getpid();
        XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL,
                        32, PropModeReplace, reinterpret_cast<const unsigned char *>(&pid), 1);
        char host[256] = "";
        if (gethostname(host, sizeof host - 1) == 0 && host[0]) {
            char *names[] = {host};
            XTextProperty machine;
            if (XStringListToTextProperty(names, 1, &machine)) {
                XSetWMClientMachine(display, window, &machine);
                XFree(machine.value);
            }
        }
        XFlush(display);
    }
    XUNLOCK();
}

void ask_fullscreen(bool on)
{
    XLOCK();
    Display *x = _xwin.display;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = _xwin.wm_window;
    event.xclient.message_type = XInternAtom(x, "_NET_WM_STATE", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = on ? 1 : 0;  // add or remove
    event.xclient.data.l[1] = (long)XInternAtom(x, "_NET_WM_STATE_FULLSCREEN", False);
    event.xclient.data.l[3] = 1;  // asked by an application
    XSendEvent(x, RootWindow(x, _xwin.screen), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(x);
    XUNLOCK();
}

void move_window(const ScreenRect &r)
{
    // With the default gravity the place asked is the frame's: its border left and above.
    const ScreenRect inside = inside_frame({});
    XLOCK();
    XMoveResizeWindow(_xwin.display, _xwin.wm_window, r.x - inside.x, r.y - inside.y, r.w, r.h);
    XRaiseWindow(_xwin.display, _xwin.wm_window);
    XFlush(_xwin.display);
    XUNLOCK();
}

void set_size_hints()
{
    XLOCK();
    XSizeHints *hints = XAllocSizeHints();
    if (hints) {
        hints->flags = PMinSize;
        hints->min_width = WINDOW_WIDTH;
        hints->min_height = WINDOW_HEIGHT;
        XSetWMNormalHints(_xwin.display, _xwin.wm_window, hints);
        XFree(hints);
    }
    XUNLOCK();
}

bool toggle_keys_down()
{
    XLOCK();
    char keys[32];
    XQueryKeymap(_xwin.display, keys);
    bool down = false;
    for (KeySym sym : {XK_F11, XK_Return, XK_KP_Enter}) {
        KeyCode code = XKeysymToKeycode(_xwin.display, sym);
        down = down || (code && (keys[code / 8] & (1 << (code % 8))));
    }
    XUNLOCK();
    return down;
}

void mirror_cursor()
{
    XLOCK();
    if (_xwin.cursor != None)
        XDefineCursor(_xwin.display, _xwin.wm_window, _xwin.cursor);
    XFlush(_xwin.display);
    XUNLOCK();
}

std::vector<Monitor> list_monitors()
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
    if (read_longs(root, "_NET_WORKAREA", XA_CARDINAL, area, 4) == 4)
        workarea = {(int)area[0], (int)area[1], (int)area[2], (int)area[3]};
    XUNLOCK();
    for (Monitor &m : monitors)
        m.work = work_share(m.area, workarea);
    return monitors;
}

PointerPlace pointer_place()
{
    PointerPlace at;
    Window root = None, child = None;
    unsigned int mask = 0;
    XLOCK();
    if (!XQueryPointer(_xwin.display, _xwin.wm_window, &root, &child, &at.screen_x, &at.screen_y,
                       &at.window_x, &at.window_y, &mask))
        at = {};
    XUNLOCK();
    return at;
}

ScreenRect window_rect()
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

ScreenRect inside_frame(const ScreenRect &bounds)
{
    long extents[4] = {0, 0, 0, 0};  // left, right, top, bottom
    XLOCK();
    read_longs(_xwin.wm_window, "_NET_FRAME_EXTENTS", XA_CARDINAL, extents, 4);
    XUNLOCK();
    return {bounds.x + (int)extents[0], bounds.y + (int)extents[2],
            bounds.w - (int)(extents[0] + extents[1]), bounds.h - (int)(extents[2] + extents[3])};
}

bool window_manager_running()
{
    long check = 0;
    XLOCK();
    const bool running =
        read_longs(RootWindow(_xwin.display, _xwin.screen), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW,
                   &check, 1) == 1;
    XUNLOCK();
    return running;
}
