// The input queue behind input_queue.h and input.h: the library posts from its background
// thread into a small ring under one lock; the main thread pumps it into the readers, which only
// it touches.
#include "platform/input_queue.h"

#include <allegro.h>

#include <mutex>

namespace {

enum class EventKind { key_down, key_up, click, close, focus_in, focus_out, window_changed };

struct InputEvent {
    EventKind kind;
    int scancode = 0;
    PointerAt at{0, 0};
    long at_ms = 0;
    KeyRole role = KeyRole::game;
};

// More events than a player makes in a few frames; past it the oldest go. Pointer motion is
// not queued (the pointer is read where it is), so this holds presses, clicks and the rest.
constexpr int QUEUE_SIZE = 256;
constexpr int LATCH_SIZE = 32;

// Written on the library's thread, read by the pump.
struct Incoming {
    std::mutex lock;
    InputEvent ring[QUEUE_SIZE];
    int first = 0, count = 0;
};

// The readers: the main thread's alone.
struct Readers {
    KeyPress presses[LATCH_SIZE];
    int first = 0, count = 0;
    bool down[KEY_MAX] = {};
    int clicks = 0;
    PointerAt click_at{0, 0};
    bool focus_lost = false;
    bool focused = true;
    void (*close_handler)() = nullptr;
    void (*window_handler)(KeyRole, bool) = nullptr;
};

Incoming incoming;
Readers readers;

void post(const InputEvent &event)
{
    std::lock_guard<std::mutex> held(incoming.lock);
    if (incoming.count == QUEUE_SIZE) {
        incoming.first = (incoming.first + 1) % QUEUE_SIZE;
        incoming.count--;
    }
    incoming.ring[(incoming.first + incoming.count) % QUEUE_SIZE] = event;
    incoming.count++;
}

void latch_press(const KeyPress &press)
{
    if (readers.count == LATCH_SIZE) {
        readers.first = (readers.first + 1) % LATCH_SIZE;
        readers.count--;
    }
    readers.presses[(readers.first + readers.count) % LATCH_SIZE] = press;
    readers.count++;
}

void read_key(const InputEvent &event)
{
    const bool down = event.kind == EventKind::key_down;
    const bool was_down = readers.down[event.scancode];
    readers.down[event.scancode] = down;
    if (!down || was_down)
        return;  // a release, or the keyboard's own repeat
    if (event.role == KeyRole::game)
        latch_press(KeyPress{event.scancode, event.at_ms});
    else if (event.role != KeyRole::modifier && readers.window_handler)
        readers.window_handler(event.role, false);
}

void read_event(const InputEvent &event)
{
    switch (event.kind) {
    case EventKind::key_down:
    case EventKind::key_up:
        read_key(event);
        break;
    case EventKind::click:
        readers.clicks++;
        readers.click_at = event.at;
        break;
    case EventKind::close:
        if (readers.close_handler)
            readers.close_handler();
        break;
    case EventKind::focus_in:
    case EventKind::focus_out:
        readers.focused = event.kind == EventKind::focus_in;
        readers.focus_lost = readers.focus_lost || !readers.focused;
        break;
    case EventKind::window_changed:
        if (readers.window_handler)
            readers.window_handler(KeyRole::game, true);
        break;
    }
}

// Where the oldest latched press of one of the keys lies in the latch's order; -1 when none.
int find_press(const int *scancodes, int count)
{
    for (int i = 0; i < readers.count; i++) {
        int scancode = readers.presses[(readers.first + i) % LATCH_SIZE].scancode;
        bool wanted = !scancodes;
        for (int k = 0; k < count; k++)
            wanted = wanted || scancodes[k] == scancode;
        if (wanted)
            return i;
    }
    return -1;
}

}  // namespace

KeyRole pf_key_role(int scancode, int shifts)
{
    if (scancode >= KEY_MODIFIERS)
        return KeyRole::modifier;
    const bool ctrl = shifts & KB_CTRL_FLAG, alt = shifts & KB_ALT_FLAG;
    if (scancode == KEY_F11 || (alt && (scancode == KEY_ENTER || scancode == KEY_ENTER_PAD)))
        return KeyRole::fullscreen;
    if (ctrl && (scancode == KEY_EQUALS || scancode == KEY_PLUS_PAD))
        return KeyRole::scale_up;
    if (ctrl && (scancode == KEY_MINUS || scancode == KEY_MINUS_PAD))
        return KeyRole::scale_down;
    return KeyRole::game;
}

void pf_post_key(int scancode, bool down, long at_ms, int shifts)
{
    if (scancode <= 0 || scancode >= KEY_MAX)
        return;
    InputEvent event{down ? EventKind::key_down : EventKind::key_up, scancode};
    event.at_ms = at_ms;
    event.role = pf_key_role(scancode, shifts);
    post(event);
}

void pf_post_click(PointerAt at)
{
    InputEvent event{EventKind::click};
    event.at = at;
    post(event);
}

void pf_post_close() { post(InputEvent{EventKind::close}); }

void pf_post_focus(bool focused)
{
    post(InputEvent{focused ? EventKind::focus_in : EventKind::focus_out});
}

void pf_post_window_changed() { post(InputEvent{EventKind::window_changed}); }

void pf_pump_input()
{
    for (;;) {
        InputEvent event;
        {
            std::lock_guard<std::mutex> held(incoming.lock);
            if (incoming.count == 0)
                return;
            event = incoming.ring[incoming.first];
            incoming.first = (incoming.first + 1) % QUEUE_SIZE;
            incoming.count--;
        }
        // Outside the lock: the close and window handlers may take their time.
        read_event(event);
    }
}

void pf_set_window_event_handler(void (*handler)(KeyRole key, bool changed))
{
    readers.window_handler = handler;
}

void pf_set_close_request_handler(void (*handler)()) { readers.close_handler = handler; }

bool pf_press_latched(const int *scancodes, int count)
{
    pf_pump_input();
    return find_press(scancodes, count) >= 0;
}

bool pf_take_press(const int *scancodes, int count, KeyPress &press)
{
    pf_pump_input();
    int i = find_press(scancodes, count);
    if (i < 0)
        return false;
    press = readers.presses[(readers.first + i) % LATCH_SIZE];
    // Close the gap: the presses after it move one place towards the front.
    for (int j = i; j + 1 < readers.count; j++)
        readers.presses[(readers.first + j) % LATCH_SIZE] =
            readers.presses[(readers.first + j + 1) % LATCH_SIZE];
    readers.count--;
    return true;
}

void pf_drop_input()
{
    pf_pump_input();
    readers.count = 0;
    readers.clicks = 0;
}

bool pf_take_click(PointerAt &at)
{
    pf_pump_input();
    bool clicked = readers.clicks > 0;
    if (clicked)
        at = readers.click_at;
    readers.clicks = 0;
    return clicked;
}

bool pf_take_focus_loss()
{
    pf_pump_input();
    bool lost = readers.focus_lost;
    readers.focus_lost = false;
    return lost;
}

bool pf_window_focused()
{
    pf_pump_input();
    return readers.focused;
}

void pf_reset_input()
{
    {
        std::lock_guard<std::mutex> held(incoming.lock);
        incoming.first = incoming.count = 0;
    }
    void (*close_handler)() = readers.close_handler;
    void (*window_handler)(KeyRole, bool) = readers.window_handler;
    readers = Readers{};
    readers.close_handler = close_handler;
    readers.window_handler = window_handler;
}
