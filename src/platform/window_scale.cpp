// The game's window on Allegro and X11 at a whole-number scale of its picture: chosen from the
// desktop at start, changed by keys on every screen, and fullscreen without touching the
// monitor's mode (a window the size of the screen that asks the window manager to cover it).
#include "platform/window_scale.h"

#include "platform/desktop_watch.h"
#include "platform/input.h"
#include "platform/input_queue.h"
#include "platform/window.h"
#include "platform/picture_scale.h"

#include <xalleg.h>  // after allegro.h; its Xlib macros stay in this file
#include <X11/Xatom.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>

namespace {

struct ScaledWindow {
    BITMAP *picture = nullptr;  // what the game draws
    BITMAP *shown = nullptr;    // what the screen shows of it, at picture size
    Placement at;
    Desktop desktop;
    int largest = 1;         // the largest window scale the desktop takes
    int scale = 1;           // the window's scale out of fullscreen
    bool fullscreen = false;
    BITMAP *sprite = nullptr;         // the pointer at picture size
    BITMAP *scaled_sprite = nullptr;  // and at the window's scale (owned here)
    BITMAP *own_sprite = nullptr;     // a copy of the library's arrow, when it is the pointer
    int focus_x = 0, focus_y = 0;
    bool pointer_shown = false;
};

ScaledWindow win;

// The window keys and changes taken from the input queue, carried out at the next present.
int fullscreen_toggles = 0;
int scale_steps = 0;
int (*earlier_key_callback)(int) = nullptr;
// What ends the game when the window cannot be opened again (the shell's Erro 01 box).
void (*window_failure_handler)() = nullptr;
// A held key repeats, and each change of the window takes the focus away for a moment, after
// which the library takes the next repeat for a fresh press: the window would flicker for as
// long as F11 is held. So one toggle disarms them until the X server has the keys up again
// (looked at on the library's thread every pass, and wherever the game refreshes).
std::atomic<bool> toggle_armed{true};

// The screen's size and the work area the window manager publishes, if any.
Desktop read_desktop()
{
    Desktop d;
    XLOCK();
    Display *x = _xwin.display;
    d.width = d.work_width = DisplayWidth(x, _xwin.screen);
    d.height = d.work_height = DisplayHeight(x, _xwin.screen);
    Atom workarea = XInternAtom(x, "_NET_WORKAREA", True);
    if (workarea != None) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char *data = nullptr;
        if (XGetWindowProperty(x, RootWindow(x, _xwin.screen), workarea, 0, 4, False,
                               XA_CARDINAL, &type, &format, &count, &after, &data) == Success &&
            type == XA_CARDINAL && format == 32 && count >= 4) {
            const long *area = (const long *)data;  // x, y, width, height
            if (area[2] > 0 && area[3] > 0) {
                d.work_width = (int)area[2];
                d.work_height = (int)area[3];
            }
        }
        if (data)
            XFree(data);
    }
    XUNLOCK();
    return d;
}

// Asks the window manager to show the window over the whole screen, or no longer. With no
// window manager the request goes unheard, and the window, already the screen's size, is put
// at the screen's corner.
void ask_fullscreen(bool on)
{
    XLOCK();
    Display *x = _xwin.display;
    Window root = RootWindow(x, _xwin.screen);
    if (on)
        XMoveWindow(x, _xwin.wm_window, 0, 0);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = _xwin.wm_window;
    event.xclient.message_type = XInternAtom(x, "_NET_WM_STATE", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = on ? 1 : 0;  // add or remove
    event.xclient.data.l[1] = (long)XInternAtom(x, "_NET_WM_STATE_FULLSCREEN", False);
    event.xclient.data.l[3] = 1;  // asked by an application
    XSendEvent(x, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(x);
    XUNLOCK();
}

// Whether the keyboard's focus is on the game's window (or the window inside it).
bool window_focused()
{
    XLOCK();
    Window focus = None;
    int revert = 0;
    XGetInputFocus(_xwin.display, &focus, &revert);
    XUNLOCK();
    return focus != None && (focus == _xwin.wm_window || focus == _xwin.window);
}

// Gives the focus back to the window once it is mapped again: opening the mode anew unmaps it,
// and X then hands the focus to the root, where keys reach the game only under the pointer.
void refocus_window()
{
    XLOCK();
    XSetInputFocus(_xwin.display, _xwin.wm_window, RevertToParent, CurrentTime);
    XFlush(_xwin.display);
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
    if (!toggle_armed && !toggle_keys_down())
        toggle_armed = true;
}

void rearm_toggle_in_pass(int) { rearm_toggle(); }

// The pointer at the window's scale, shown or hidden as the game last asked.
void apply_pointer()
{
    if (win.scaled_sprite) {
        destroy_bitmap(win.scaled_sprite);
        win.scaled_sprite = nullptr;
    }
    BITMAP *sprite = win.sprite;
    const int s = win.at.scale;
    if (sprite && s > 1) {
        win.scaled_sprite = create_bitmap(sprite->w * s, sprite->h * s);
        if (win.scaled_sprite) {
            stretch_blit(sprite, win.scaled_sprite, 0, 0, sprite->w, sprite->h, 0, 0,
                         sprite->w * s, sprite->h * s);
            sprite = win.scaled_sprite;
        }
    }
    if (sprite) {
        set_mouse_sprite_focus(win.focus_x * s, win.focus_y * s);
        set_mouse_sprite(sprite);
        set_mouse_sprite_focus(win.focus_x * s, win.focus_y * s);
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
}

int open_mode(bool fullscreen, int scale)
{
    int w = fullscreen ? win.desktop.width : WINDOW_WIDTH * scale;
    int h = fullscreen ? win.desktop.height : WINDOW_HEIGHT * scale;
    return set_gfx_mode(GFX_AUTODETECT_WINDOWED, w, h, 0, 0);
}

// Opens the window anew as asked; when the library refuses, the window as it was, and at
// the least the picture's own size. Everything is drawn again.
void set_window(bool fullscreen, int scale)
{
    bool was_fullscreen = win.fullscreen;
    bool focused = window_focused();
    if (open_mode(fullscreen, scale) == 0) {
        win.fullscreen = fullscreen;
        if (!fullscreen)
            win.scale = scale;
    } else if (open_mode(was_fullscreen, win.scale) != 0 && open_mode(false, 1) == 0) {
        win.fullscreen = false;
        win.scale = 1;
    }
    if (!screen) {
        std::fprintf(stderr, "The window could not be opened again: %s\n", allegro_error);
        if (window_failure_handler)
            window_failure_handler();
        end_for_lost_desktop("the window could not be opened again");
    }
    win.at = place_picture(SCREEN_W, SCREEN_H);
    if (focused)
        refocus_window();
    if (win.fullscreen)
        ask_fullscreen(true);
    else if (was_fullscreen)
        ask_fullscreen(false);
    apply_pointer();
    clear_to_color(screen, makecol(0, 0, 0));
    present_rect(win.picture, win.shown, screen, win.at,
                 {0, 0, WINDOW_WIDTH, WINDOW_HEIGHT});
}

// The window keys never reach the key buffer. Runs on the library's thread; what they do is
// posted to the input queue by the low-level callback, with every other key.
int keep_window_keys_out(int typed)
{
    const KeyRole role = pf_key_role(typed >> 8, key_shifts);
    if (role != KeyRole::game && role != KeyRole::modifier)
        return 0;
    return earlier_key_callback ? earlier_key_callback(typed) : typed;
}

// The window's keys as the input queue hands them over, on the main thread.
void on_window_event(KeyRole key, bool)
{
    if (key == KeyRole::fullscreen && toggle_armed.exchange(false))
        fullscreen_toggles++;
    if (key == KeyRole::scale_up)
        scale_steps++;
    if (key == KeyRole::scale_down)
        scale_steps--;
}

}  // namespace

int scaled_window_open()
{
    win.desktop = read_desktop();
    win.largest = largest_window_scale(win.desktop);
    int result = -1;
    for (int scale = win.largest; scale >= 1 && result != 0; scale--) {
        result = open_mode(false, scale);
        win.scale = scale;
    }
    if (result != 0)
        return result;
    win.at = place_picture(SCREEN_W, SCREEN_H);
    if (!win.picture) {
        win.picture = create_bitmap(WINDOW_WIDTH, WINDOW_HEIGHT);
        win.shown = create_bitmap(WINDOW_WIDTH, WINDOW_HEIGHT);
        if (!win.picture || !win.shown)
            return -1;
        clear_to_color(win.picture, makecol(0, 0, 0));
        clear_to_color(win.shown, makecol(0, 0, 0));
    }
    return 0;
}

BITMAP *scaled_window_picture() { return win.picture; }

void scaled_window_refresh()
{
    if (!win.picture)
        return;
    rearm_toggle();
    const int toggles = fullscreen_toggles, steps = scale_steps;
    fullscreen_toggles = scale_steps = 0;
    if (toggles % 2)
        set_window(!win.fullscreen, win.scale);
    else if (steps && !win.fullscreen) {
        int scale = std::clamp(win.scale + steps, 1, win.largest);
        if (scale != win.scale)
            set_window(false, scale);
    }
    if (screen)
        present_rect(win.picture, win.shown, screen, win.at,
                     changed_rect(win.picture, win.shown));
}

PointerAt scaled_window_pointer()
{
    // mouse_pos holds x in its high half and y in its low one, each a signed 16-bit number.
    const int both = mouse_pos;
    const int x = static_cast<int16_t>(both >> 16), y = static_cast<int16_t>(both & 0xFFFF);
    return {picture_coordinate(x, win.at.x, win.at.scale),
            picture_coordinate(y, win.at.y, win.at.scale)};
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
    earlier_key_callback = keyboard_callback;
    keyboard_callback = keep_window_keys_out;
    if (_unix_bg_man)
        _unix_bg_man->register_func(rearm_toggle_in_pass);
}

void pf_set_window_failure_handler(void (*handler)()) { window_failure_handler = handler; }
