// Finding the program's window by name, focusing it and asking it to close.
#include "e2e_rig.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <stdexcept>

std::vector<Window> e2e_window_tree(E2eSession &s, Window top)
{
    std::vector<Window> found{top ? top : DefaultRootWindow(s.x)};
    for (size_t i = 0; i < found.size(); i++) {
        Window root, parent, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(s.x, found[i], &root, &parent, &children, &count))
            continue;  // gone meanwhile
        found.insert(found.end(), children, children + count);
        if (children)
            XFree(children);
    }
    return found;
}

std::string e2e_window_name(E2eSession &s, Window w)
{
    char *name = nullptr;
    if (!XFetchName(s.x, w, &name) || !name)
        return "";
    std::string text = name;
    XFree(name);
    return text;
}

bool e2e_viewable(E2eSession &s, Window w)
{
    XWindowAttributes a;
    return XGetWindowAttributes(s.x, w, &a) && a.map_state == IsViewable;
}

Window e2e_find_window(E2eSession &s, const std::string &name)
{
    for (Window w : e2e_window_tree(s))
        if (e2e_window_name(s, w) == name && e2e_viewable(s, w))
            return w;
    return 0;
}

bool e2e_wait_window(E2eSession &s, const std::string &name, int timeout_ms)
{
    Window found = 0;
    if (!e2e_wait_for([&] { return (found = e2e_find_window(s, name)) != 0; }, timeout_ms))
        return false;
    s.window = found;
    return true;
}

static void need_window(const E2eSession &s, const char *what)
{
    if (!s.window)
        throw std::logic_error(std::string(what) + ": no window yet (call e2e_wait_window)");
}

void e2e_focus(E2eSession &s)
{
    need_window(s, "e2e_focus");
    XSetInputFocus(s.x, s.window, RevertToPointerRoot, CurrentTime);
    XSync(s.x, False);
}

void e2e_request_close(E2eSession &s)
{
    need_window(s, "e2e_request_close");
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = s.window;
    event.xclient.message_type = XInternAtom(s.x, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)XInternAtom(s.x, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(s.x, s.window, False, NoEventMask, &event);
    XSync(s.x, False);
}

void e2e_window_origin(E2eSession &s, int &x, int &y)
{
    need_window(s, "e2e_window_origin");
    Window child;
    x = y = 0;
    XTranslateCoordinates(s.x, s.window, DefaultRootWindow(s.x), 0, 0, &x, &y, &child);
}
