// The game's window on Allegro and X11 at any size: opened on the monitor that holds the
// pointer, resized by the window manager or the window keys, fullscreen on its own monitor,
// the picture as large as fits in it (picture_scale.cpp) and presented with Xlib
// (window_present.cpp) after the library's mode is opened once.
#include "platform/window_scale.h"

#include "platform/desktop_watch.h"
#include "platform/input.h"
#include "platform/input_queue.h"
#include "platform/window.h"
#include "platform/picture_scale.h"
#include "platform/window_monitor.h"
#include "platform/window_present.h"

#include <xalleg.h>  // after allegro.h; its Xlib macros stay in this file
#include <X11/Xutil.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

struct ScaledWindow {
    BITMAP *picture = nullptr;  // what the game draws
    BITMAP *shown = nullptr;    // what the window shows of it, at picture size
    Placement at;
    int w = 0, h = 0;           // the window's size as last granted
    bool fullscreen = false;    // as last asked
    ScreenRect restore;         // the window before fullscreen, put back when no manager does
    BITMAP *sprite = nullptr;         // the pointer at picture size
    BITMAP *scaled_sprite = nullptr;  // and at the picture's scale in the window (owned here)
    BITMAP *own_sprite = nullptr;     // a copy of the library's arrow, when it is the pointer
    int focus_x = 0, focus_y = 0;
    bool pointer_shown = false;
    bool reread = false;        // the window changed, or a key asked it to: read its size
    // The window keys taken from the input queue, carried out at the next present.
    int fullscreen_toggles = 0;
    int scale_steps = 0;
    int (*earlier_key_callback)(int) = nullptr;  // the key buffer's filter before ours
    // What ends the game when the window cannot be shown again (the shell's Erro 01 box).
    void (*failure_handler)() = nullptr;
    // A held key repeats, and each change of the window takes the focus away for a moment,
    // after which the library takes the next repeat for a fresh press: the window would flicker
    // for as long as F11 is held. So one toggle disarms them until the X server has the keys up
    // again (looked at on the library's thread every pass, and at every present).
    std::atomic<bool> toggle_armed{true};
};

ScaledWindow win;

// Asks the window manager to show the window over its monitor, or no longer. The window's
// size is left alone: the manager keeps the size it finds as the one to restore.
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
    XLOCK();
    XMoveResizeWindow(_xwin.display, _xwin.wm_window, r.x, r.y, r.w, r.h);
    XRaiseWindow(_xwin.display, _xwin.wm_window);
    XFlush(_xwin.display);
    XUNLOCK();
}

// Replaces the library's fixed size: any size from the picture's up, 4:3 preferred, and the
// position asked for the window's inside (static gravity), not its frame.
void set_size_hints()
{
    XLOCK();
    XSizeHints *hints = XAllocSizeHints();
    if (hints) {
        hints->flags = PMinSize | PAspect | PWinGravity;
        hints->min_width = WINDOW_WIDTH;
        hints->min_height = WINDOW_HEIGHT;
        hints->min_aspect.x = hints->max_aspect.x = WINDOW_WIDTH;
        hints->min_aspect.y = hints->max_aspect.y = WINDOW_HEIGHT;
        hints->win_gravity = StaticGravity;
        XSetWMNormalHints(_xwin.display, _xwin.wm_window, hints);
        XFree(hints);
    }
    XUNLOCK();
}

// True while the X server has F11 or a Return key down: asked of the server itself, since
// the library forgets what was held when the focus goes.
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

void rearm_toggle()
{
    if (!win.toggle_armed && !toggle_keys_down())
        win.toggle_armed = true;
}

void rearm_toggle_in_pass(int) { rearm_toggle(); }

// The library's X cursor, which it sets on its own drawing window, on the managed window too:
// the drawing window is unmapped (window_present.cpp).
void mirror_cursor()
{
    XLOCK();
    if (_xwin.cursor != None)
        XDefineCursor(_xwin.display, _xwin.wm_window, _xwin.cursor);
    XFlush(_xwin.display);
    XUNLOCK();
}

// The pointer at the picture's scale in the window, shown or hidden as the game last asked.
void apply_pointer()
{
    if (win.scaled_sprite) {
        destroy_bitmap(win.scaled_sprite);
        win.scaled_sprite = nullptr;
    }
    BITMAP *sprite = win.sprite;
    auto scaled = [](int n) { return n * win.at.w / WINDOW_WIDTH; };
    if (sprite && win.at.w != WINDOW_WIDTH) {
        win.scaled_sprite = create_bitmap(scaled(sprite->w), scaled(sprite->h));
        if (win.scaled_sprite) {
            stretch_blit(sprite, win.scaled_sprite, 0, 0, sprite->w, sprite->h, 0, 0,
                         win.scaled_sprite->w, win.scaled_sprite->h);
            sprite = win.scaled_sprite;
        }
    }
    if (sprite) {
        set_mouse_sprite_focus(scaled(win.focus_x), scaled(win.focus_y));
        set_mouse_sprite(sprite);
        set_mouse_sprite_focus(scaled(win.focus_x), scaled(win.focus_y));
    }
    if (win.pointer_shown) {
        select_mouse_cursor(MOUSE_CURSOR_ALLEGRO);
        enable_hardware_cursor();
        show_mouse(screen);
    } else {
        // show_mouse(NULL) leaves X's cursor on the window: an invisible one hides it.
        select_mouse_cursor(MOUSE_CURSOR_NONE);
        show_mouse(nullptr);
    }
    mirror_cursor();
}

// Copies `area` of the picture to the window; returns what that cost beyond 1x, in microseconds.
long present(const PictureRect &area)
{
    if (area.w <= 0)
        return 0;
    const Clock::time_point start = Clock::now();
    FrameRect painted = present_rect(win.picture, win.shown, frame_pixels(), win.at, area);
    frame_show(painted);
    const long spent = (long)std::chrono::duration_cast<std::chrono::microseconds>(
                           Clock::now() - start).count();
    const long window_pixels = (long)painted.w * painted.h;
    if (window_pixels <= 0)
        return 0;
    return spent - spent * ((long)area.w * area.h) / window_pixels;
}

// The window at w x h: the picture placed anew and drawn whole, black around it. A frame the X
// server will not make at a new size leaves no picture to show: that goes the way of no window
// at all (the shell's Erro 01), never on to a window that shows nothing.
void follow_size(int w, int h)
{
    if (w <= 0 || h <= 0)
        return;
    if (!frame_resize(w, h)) {
        if (win.w == 0)
            return;  // at the start: scaled_window_open reports it
        std::fprintf(stderr, "The window's picture could not be made at %d x %d\n", w, h);
        if (win.failure_handler)
            win.failure_handler();
        end_for_lost_desktop("the window could not be shown again");
    }
    win.w = w;
    win.h = h;
    win.at = place_picture(w, h);
    set_mouse_range(0, 0, w - 1, h - 1);
    apply_pointer();
    present_rect(win.picture, win.shown, frame_pixels(), win.at,
                 {0, 0, WINDOW_WIDTH, WINDOW_HEIGHT});
    frame_show({0, 0, w, h});
}

// The window's monitor, from its place now.
Monitor window_monitor(const ScreenRect &window)
{
    std::vector<Monitor> monitors = read_monitors();
    return monitors[monitor_of_window(monitors, window)];
}

void toggle_fullscreen()
{
    ScreenRect window = read_window_rect();
    const bool managed = window_manager_running();
    if (!win.fullscreen) {
        win.restore = window;
        if (managed)
            ask_fullscreen(true);
        else  // nobody to ask: the window covers its monitor itself
            move_window(window_monitor(window).area);
    } else if (managed) {
        ask_fullscreen(false);
    } else {
        move_window(win.restore);
    }
    win.fullscreen = !win.fullscreen;
    win.reread = true;  // look at the size granted at the next present
}

// Ctrl+Plus and Ctrl+Minus: the next whole scale up or down that fits the window's monitor,
// the window's centre kept where the player put it, inside the monitor's work area.
void step_scale(int steps)
{
    ScreenRect window = read_window_rect();
    Monitor monitor = window_monitor(window);
    const int largest = largest_window_scale(
        {monitor.area.w, monitor.area.h, monitor.work.w, monitor.work.h});
    int now = win.at.scale;
    if (now == 0)  // a fractional scale steps to the whole one above or below it
        now = win.at.w / WINDOW_WIDTH + (steps < 0 ? 1 : 0);
    const int scale = std::clamp(now + steps, 1, largest);
    const int w = WINDOW_WIDTH * scale, h = WINDOW_HEIGHT * scale;
    if (w == window.w && h == window.h)
        return;
    move_window(keep_place(window, w, h, inside_frame(monitor.work)));
    win.reread = true;
}

int open_mode(const Size &size) { return set_gfx_mode(GFX_AUTODETECT_WINDOWED, size.w, size.h, 0, 0); }

// The window opened, where it opens: inside the work area of the monitor that holds the
// pointer (a window manager may have placed it elsewhere), in its middle when it was not on it.
void place_on_monitor(const Monitor &monitor)
{
    ScreenRect window = read_window_rect();
    ScreenRect room = inside_frame(monitor.work);
    const int cx = window.x + window.w / 2, cy = window.y + window.h / 2;
    const bool on_it = cx >= room.x && cx < room.x + room.w && cy >= room.y && cy < room.y + room.h;
    ScreenRect placed = on_it ? window : ScreenRect{room.x + room.w / 2, room.y + room.h / 2, 0, 0};
    placed = keep_place(placed, window.w, window.h, room);
    if (placed.x != window.x || placed.y != window.y)
        move_window(placed);
}

// The window keys never reach the key buffer. Runs on the library's thread; what they do is
// posted to the input queue by the low-level callback, with every other key.
int keep_window_keys_out(int typed)
{
    const KeyRole role = pf_key_role(typed >> 8, key_shifts);
    if (role != KeyRole::game && role != KeyRole::modifier)
        return 0;
    return win.earlier_key_callback ? win.earlier_key_callback(typed) : typed;
}

// The window's keys and the window manager's changes as the input queue hands them over, on
// the main thread; carried out at the next present.
void on_window_event(KeyRole key, bool changed)
{
    if (changed)
        win.reread = true;
    if (key == KeyRole::fullscreen && win.toggle_armed.exchange(false))
        win.fullscreen_toggles++;
    if (key == KeyRole::scale_up)
        win.scale_steps++;
    if (key == KeyRole::scale_down)
        win.scale_steps--;
}

}  // namespace

int scaled_window_open()
{
    std::vector<Monitor> monitors = read_monitors();
    int px = 0, py = 0;
    read_pointer(px, py);
    const Monitor monitor = monitors[monitor_at(monitors, px, py)];
    const Desktop desktop{monitor.area.w, monitor.area.h, monitor.work.w, monitor.work.h};
    int result = open_mode(opening_size(desktop));
    for (int scale = largest_window_scale(desktop); scale >= 1 && result != 0; scale--)
        result = open_mode({WINDOW_WIDTH * scale, WINDOW_HEIGHT * scale});
    if (result != 0)
        return result;
    if (!win.picture) {
        win.picture = create_bitmap(WINDOW_WIDTH, WINDOW_HEIGHT);
        win.shown = create_bitmap(WINDOW_WIDTH, WINDOW_HEIGHT);
        if (!win.picture || !win.shown)
            return -1;
        clear_to_color(win.picture, makecol(0, 0, 0));
        clear_to_color(win.shown, makecol(0, 0, 0));
    }
    set_size_hints();
    place_on_monitor(monitor);
    follow_size(SCREEN_W, SCREEN_H);
    win.reread = false;
    return win.w > 0 ? 0 : -1;
}

BITMAP *scaled_window_picture() { return win.picture; }

void scaled_window_configured()
{
    int w = win.w, h = win.h;
    read_window_size(w, h);
    win.reread = false;
    if (w != win.w || h != win.h)
        follow_size(w, h);
}

long scaled_window_refresh()
{
    if (!win.picture || win.w == 0)
        return 0;
    rearm_toggle();
    const int toggles = win.fullscreen_toggles, steps = win.scale_steps;
    win.fullscreen_toggles = win.scale_steps = 0;
    if (toggles % 2)
        toggle_fullscreen();
    else if (steps && !win.fullscreen)
        step_scale(steps);
    if (win.reread)
        scaled_window_configured();
    return present(changed_rect(win.picture, win.shown));
}

PointerAt scaled_window_pointer(PointerAt at)
{
    return {picture_coordinate(at.x, win.at.x, win.at.w, WINDOW_WIDTH),
            picture_coordinate(at.y, win.at.y, win.at.h, WINDOW_HEIGHT)};
}

void scaled_window_set_pointer(BITMAP *sprite)
{
    if (win.own_sprite) {
        destroy_bitmap(win.own_sprite);
        win.own_sprite = nullptr;
    }
    set_mouse_sprite(sprite);
    win.focus_x = mouse_x_focus;
    win.focus_y = mouse_y_focus;
    if (!sprite && mouse_sprite) {
        // The library's arrow is replaced by its scaled copy later: keep one of our own.
        win.own_sprite = create_bitmap(mouse_sprite->w, mouse_sprite->h);
        if (win.own_sprite)
            blit(mouse_sprite, win.own_sprite, 0, 0, 0, 0, mouse_sprite->w, mouse_sprite->h);
        sprite = win.own_sprite;
    }
    win.sprite = sprite;
    apply_pointer();
}

void scaled_window_show_pointer(bool shown)
{
    win.pointer_shown = shown;
    apply_pointer();
}

void scaled_window_take_keys()
{
    pf_set_window_event_handler(on_window_event);
    if (keyboard_callback == keep_window_keys_out)
        return;
    win.earlier_key_callback = keyboard_callback;
    keyboard_callback = keep_window_keys_out;
    if (_unix_bg_man)
        _unix_bg_man->register_func(rearm_toggle_in_pass);
}

void pf_set_window_failure_handler(void (*handler)()) { win.failure_handler = handler; }
