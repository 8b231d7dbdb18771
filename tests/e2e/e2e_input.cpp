// Synthetic mouse and keys through the XTest extension, as if from real devices.
#include "e2e_rig.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <stdexcept>
#include <thread>

static void pause_ms(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void e2e_mouse_move_screen(E2eSession &s, int x, int y)
{
    XTestFakeMotionEvent(s.x, -1, x, y, CurrentTime);
    XSync(s.x, False);
}

void e2e_mouse_move(E2eSession &s, int x, int y)
{
    int left, top;
    e2e_window_origin(s, left, top);
    e2e_mouse_move_screen(s, left + x, top + y);
}

void e2e_mouse_down(E2eSession &s, int button)
{
    XTestFakeButtonEvent(s.x, button, True, CurrentTime);
    XSync(s.x, False);
}

void e2e_mouse_up(E2eSession &s, int button)
{
    XTestFakeButtonEvent(s.x, button, False, CurrentTime);
    XSync(s.x, False);
}

void e2e_click(E2eSession &s, int x, int y, int button, int hold_ms)
{
    e2e_mouse_move(s, x, y);
    pause_ms(20);  // let the program see the pointer arrive before the press
    e2e_mouse_down(s, button);
    pause_ms(hold_ms);
    e2e_mouse_up(s, button);
}

static KeyCode keycode_of(E2eSession &s, KeySym keysym)
{
    KeyCode code = XKeysymToKeycode(s.x, keysym);
    if (!code)
        throw std::runtime_error("no key for keysym " + std::to_string(keysym));
    return code;
}

void e2e_key_down(E2eSession &s, KeySym keysym)
{
    XTestFakeKeyEvent(s.x, keycode_of(s, keysym), True, CurrentTime);
    XSync(s.x, False);
}

void e2e_key_up(E2eSession &s, KeySym keysym)
{
    XTestFakeKeyEvent(s.x, keycode_of(s, keysym), False, CurrentTime);
    XSync(s.x, False);
}

void e2e_tap_key(E2eSession &s, KeySym keysym, int hold_ms)
{
    e2e_key_down(s, keysym);
    pause_ms(hold_ms);
    e2e_key_up(s, keysym);
}
