// The window's icon and process id for the desktop, set on the library's X11 window. Kept apart
// from platform_allegro.cpp: xalleg.h brings Xlib's macros (None, Bool, Status) with it.
#include "platform/window_properties.h"

#include <allegro.h>
#include <xalleg.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <unistd.h>

#include "pitlorex_icon_argb.h"  // drawn by tools/databuild from the game's art

void set_window_desktop_properties()
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
