// What the desktop does to the game's window, seen on a connection of our own to the X server,
// and the way out when the server or the window is gone. A connection of our own, because the
// library reads and drops its events on its thread, where a destroyed window or a change of
// focus would be missed between our look and its own.
#include "platform/desktop_watch.h"

#include "platform/background_thread.h"
#include "platform/input_queue.h"

#include <allegro.h>
#include <xalleg.h>  // after allegro.h; its Xlib macros stay in this file

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace {

struct DesktopWatch {
    Display *display = nullptr;  // ours: only the library's thread reads it, in its passes
    Window window = 0;           // the library's top-level window
    bool focused = true;
    // The game is on its own way out: the library destroys the window itself then, which is no
    // loss of the desktop.
    std::atomic<bool> ending{false};
};

DesktopWatch watch;

void say(const char *text) { (void)!write(STDERR_FILENO, text, strlen(text)); }

// Xlib calls this on whichever thread finds the connection broken, and ends the process itself
// if it returns: it must not return.
int on_connection_lost(Display *)
{
    end_for_lost_desktop("the connection to the X server was lost");
}

// A window of ours that is gone ends the game; any other protocol error is told and the game
// goes on (Xlib's own handler would end the process from whichever thread met it).
int on_protocol_error(Display *display, XErrorEvent *error)
{
    const bool ours = error->resourceid == watch.window || error->resourceid == _xwin.window;
    if (watch.ending)
        return 0;
    if (ours && (error->error_code == BadWindow || error->error_code == BadDrawable))
        end_for_lost_desktop("the game's window was destroyed");
    char text[160];
    XGetErrorText(display, error->error_code, text, sizeof text);
    say("pitlorex: X error: ");
    say(text);
    say("\n");
    return 0;
}

// True when the keyboard's focus is on the window or inside it, asked of the server.
bool focus_is_ours()
{
    Window focus = 0, root = 0, parent = 0, *children = nullptr;
    int revert = 0;
    unsigned count = 0;
    XGetInputFocus(watch.display, &focus, &revert);
    // The focus may be on the library's inner window, or on a window the manager put around it.
    for (Window w = focus; w > PointerRoot; w = parent) {
        if (w == watch.window)
            return true;
        if (!XQueryTree(watch.display, w, &root, &parent, &children, &count))
            return false;
        if (children)
            XFree(children);
        if (parent == root)
            return false;
    }
    return false;
}

// One look per pass of the library's thread at what the server told us; never blocks.
void watch_pass(int)
{
    if (watch.ending)
        return;
    bool focus_changed = false;
    while (XPending(watch.display)) {
        XEvent event;
        XNextEvent(watch.display, &event);
        // Read after the game's own way out began, a destruction is the library's doing.
        if (event.type == DestroyNotify && event.xdestroywindow.window == watch.window &&
            !watch.ending)
            end_for_lost_desktop("the game's window was destroyed");
        if (event.type == ConfigureNotify) {
            pf_post_window_changed();
            note_input();  // a waiting screen wakes to follow the new size
        }
        if (event.type == FocusIn || event.type == FocusOut)
            focus_changed = true;
    }
    if (!focus_changed)
        return;
    bool focused = focus_is_ours();
    if (focused != watch.focused) {
        pf_post_focus(focused);
        note_input();
    }
    watch.focused = focused;
}

// Runs before the library's own exit handler (registered after it), and from pf_shut_down.
void stop_watching() { watch.ending = true; }

}  // namespace

void end_for_lost_desktop(const char *why)
{
    say("pitlorex: ");
    say(why);
    say("; the game ends.\n");
    _exit(1);
}

void end_with_the_server()
{
    // A write to a server that is gone raises SIGPIPE, which would end the game by a signal.
    signal(SIGPIPE, SIG_IGN);
    XSetIOErrorHandler(on_connection_lost);
    XSetErrorHandler(on_protocol_error);
}

void watch_desktop()
{
    if (watch.display || !_xwin.display || !_xwin.wm_window)
        return;
    watch.display = XOpenDisplay(nullptr);
    if (!watch.display)
        return;
    watch.window = _xwin.wm_window;
    // After allegro_init, so before its exit handler: a normal end stops the watch first.
    std::atexit(stop_watching);
    XSelectInput(watch.display, watch.window, StructureNotifyMask | FocusChangeMask);
    XSync(watch.display, False);
    if (_unix_bg_man)
        _unix_bg_man->register_func(watch_pass);
}

void unwatch_desktop() { stop_watching(); }
