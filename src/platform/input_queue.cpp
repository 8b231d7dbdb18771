// The input queue behind input_queue.h and input.h: the library posts from its background
// thread into a short queue under one lock; the main thread pumps it into the readers, which
// only it touches.
#include "platform/input_queue.h"

#include <allegro.h>

#include <bitset>
#include <deque>
#include <mutex>

namespace {

enum class EventKind {
    key_down, key_up, typed, pointer, click, close, focus_in, focus_out, window_changed
};

struct InputEvent {
    EventKind kind;
    int scancode = 0;  // a typed key's whole value
    PointerAt at{0, 0};
    int buttons = 0;
    long at_ms = 0;
    KeyRole role = KeyRole::game;
};

// More events than a player makes in a few frames; past it the oldest go. A pointer report
// replaces one just before it, so motion never pushes a press out.
constexpr int QUEUE_SIZE = 256;
constexpr int LATCH_SIZE = 32;

// Written on the library's thread, read by the pump.
struct Incoming {
    std::mutex lock;
    std::deque<InputEvent> events;
};

// The readers: the main thread's alone.
struct Readers {
    std::deque<KeyPress> presses;  // oldest first
    std::bitset<KEY_MAX> down;
    std::deque<int> typed;         // oldest first
    PointerAt pointer{0, 0};       // in the window's pixels
    int buttons = 0;
    int clicks = 0;
    PointerAt click_at{0, 0};
    bool focus_lost = false;
    bool focused = true;
    void (*close_handler)() = nullptr;
    void (*window_handler)(KeyRole, bool) = nullptr;
};

Incoming incoming;
Readers readers;

// Adds `item` at the back of `queue`, the oldest going past `room`.
template <typename T>
void push_bounded(std::deque<T> &queue, const T &item, size_t room)
{
    if (queue.size() == room)
        queue.pop_front();
    queue.push_back(item);
}

void post(const InputEvent &event)
{
    std::lock_guard<std::mutex> held(incoming.lock);
    std::deque<InputEvent> &events = incoming.events;
    if (event.kind == EventKind::pointer && !events.empty() &&
        events.back().kind == EventKind::pointer)
        events.pop_back();
    push_bounded(events, event, QUEUE_SIZE);
}

void read_key(const InputEvent &event)
{
    const bool down = event.kind == EventKind::key_down;
    const bool was_down = readers.down[event.scancode];
    readers.down[event.scancode] = down;
    if (!down || was_down)
        return;  // a release, or the keyboard's own repeat
    if (event.role == KeyRole::game)
        push_bounded(readers.presses, KeyPress{event.scancode, event.at_ms, readers.down},
                     LATCH_SIZE);
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
    case EventKind::typed:
        push_bounded(readers.typed, event.scancode, LATCH_SIZE);
        break;
    case EventKind::pointer:
        readers.pointer = event.at;
        readers.buttons = event.buttons;
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
    for (int i = 0; i < (int)readers.presses.size(); i++) {
        int scancode = readers.presses[i].scancode;
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

void pf_post_typed(int typed)
{
    InputEvent event{EventKind::typed, typed};
    post(event);
}

void pf_post_pointer(PointerAt at, int buttons)
{
    InputEvent event{EventKind::pointer};
    event.at = at;
    event.buttons = buttons;
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
            if (incoming.events.empty())
                return;
            event = incoming.events.front();
            incoming.events.pop_front();
        }
        // Outside the lock: the close and window handlers may take their time.
        read_event(event);
    }
}

void pf_set_window_event_handler(void (*handler)(KeyRole key, bool changed))
{
    readers.window_handler = handler;
}

void pf_set_close_handler(void (*handler)()) { readers.close_handler = handler; }

CloseHandler pf_close_handler() { return readers.close_handler; }

bool pf_recorded_key_down(int scancode)
{
    pf_pump_input();
    return scancode > 0 && scancode < KEY_MAX && readers.down[scancode];
}

PointerAt pf_recorded_pointer()
{
    pf_pump_input();
    return readers.pointer;
}

bool pf_recorded_button_held()
{
    pf_pump_input();
    return readers.buttons == 1;
}

bool pf_take_recorded_typed(int &typed)
{
    pf_pump_input();
    if (readers.typed.empty())
        return false;
    typed = readers.typed.front();
    readers.typed.pop_front();
    return true;
}

void pf_drop_recorded_typed()
{
    pf_pump_input();
    readers.typed.clear();
}

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
    press = readers.presses[i];
    readers.presses.erase(readers.presses.begin() + i);
    return true;
}

void pf_drop_input()
{
    pf_pump_input();
    readers.presses.clear();
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
        incoming.events.clear();
    }
    readers = Readers{};
}
