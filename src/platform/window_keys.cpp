// The window keys: F11 and Alt+Return toggle fullscreen on the window's monitor, Ctrl+Plus and
// Ctrl+Minus step the window through the sizes that fit that monitor. Taken from the input queue
// on the main thread, carried out at the next present.
#include "platform/window_keys.h"

#include "platform/input_queue.h"
#include "platform/window.h"
#include "platform/x_window.h"

#include <allegro.h>
#include <allegro/platform/aintunix.h>  // the background thread's manager

#include <atomic>

namespace {

struct WindowKeys {
    int fullscreen_toggles = 0;  // taken since the last present
    int scale_steps = 0;
    bool changed = false;        // the window changed, or a key asked it to: look at its size
    bool fullscreen = false;     // as last asked
    ScreenRect restore;          // the window before fullscreen, put back when no manager does
    int (*earlier_key_callback)(int) = nullptr;  // the typed keys' callback before ours
    // A held key repeats, and each change of the window takes the focus away for a moment,
    // after which the library takes the next repeat for a fresh press: the window would flicker
    // for as long as F11 is held. So one toggle disarms them until the library reports one of
    // them up or the X server has them all up (looked at on the library's thread every pass):
    // judged as each key comes, so that a burst of presses is counted whole.
    std::atomic<bool> toggle_armed{true};
};

WindowKeys keys;

// Once a pass of the library's thread.
void rearm_toggle(int)
{
    if (!keys.toggle_armed && !toggle_keys_down())
        keys.toggle_armed = true;
}

// The window's monitor, from its place now.
Monitor window_monitor(const ScreenRect &window)
{
    std::vector<Monitor> monitors = list_monitors();
    return monitors[monitor_of_window(monitors, window)];
}

void toggle_fullscreen()
{
    ScreenRect window = window_rect();
    const bool managed = window_manager_running();
    if (!keys.fullscreen) {
        keys.restore = window;
        if (managed)
            ask_fullscreen(true);
        else  // nobody to ask: the window covers its monitor itself
            move_window(window_monitor(window).area);
    } else if (managed) {
        ask_fullscreen(false);
    } else {
        move_window(keys.restore);
    }
    keys.fullscreen = !keys.fullscreen;
    keys.changed = true;  // look at the size granted at the next present
}

// Ctrl+Plus and Ctrl+Minus: the next size up or down that fits the window's monitor, the
// window's centre kept where the player put it, inside the monitor's work area.
void step_scale(int steps)
{
    const ScreenRect window = window_rect();
    const Monitor monitor = window_monitor(window);
    const Size size = step_size(monitor, {window.w, window.h}, steps);
    if (size.w == window.w && size.h == window.h)
        return;
    move_window(keep_place(window, size.w, size.h, inside_frame(monitor.work)));
    keys.changed = true;
}

// The window keys are never typed keys: the others go on to the callback before ours, which
// posts them to the input queue. Runs on the library's thread; what the window keys do is
// posted by the low-level callback, with every other key.
int keep_window_keys_out(int typed)
{
    const KeyRole role = pf_key_role(typed >> 8, key_shifts);
    if (role != KeyRole::game && role != KeyRole::modifier)
        return 0;
    return keys.earlier_key_callback ? keys.earlier_key_callback(typed) : typed;
}

// The window's keys and the window manager's changes as the input queue hands them over, on
// the main thread; carried out at the next present.
void on_window_event(KeyRole key, bool changed)
{
    keys.changed = keys.changed || changed;
    if (key == KeyRole::fullscreen)
        keys.fullscreen_toggles++;
    if (key == KeyRole::scale_up)
        keys.scale_steps++;
    if (key == KeyRole::scale_down)
        keys.scale_steps--;
}

}  // namespace

void take_window_keys()
{
    pf_set_window_event_handler(on_window_event);
    if (keyboard_callback == keep_window_keys_out)
        return;
    keys.earlier_key_callback = keyboard_callback;
    keyboard_callback = keep_window_keys_out;
    if (_unix_bg_man)
        _unix_bg_man->register_func(rearm_toggle);
}

bool carry_out_window_keys()
{
    const int toggles = keys.fullscreen_toggles, steps = keys.scale_steps;
    keys.fullscreen_toggles = keys.scale_steps = 0;
    if (toggles % 2)
        toggle_fullscreen();
    else if (steps && !keys.fullscreen)
        step_scale(steps);
    const bool changed = keys.changed;
    keys.changed = false;
    return changed;
}

bool window_key_passes(int scancode, bool down, int shifts)
{
    if (!down && (scancode == KEY_F11 || scancode == KEY_ENTER || scancode == KEY_ENTER_PAD))
        keys.toggle_armed = true;
    return !down || pf_key_role(scancode, shifts) != KeyRole::fullscreen ||
           keys.toggle_armed.exchange(false);
}
