// The seam: input. The pointer, the keys held and typed, the close button, and the latches that
// keep every press and click until a screen takes it. Every read here is of what the one input
// queue (input_queue.h) recorded on the main thread, so that a tap or a click that begins and
// ends between two looks of the game is still seen once, in order, and no two reads disagree.
#pragma once

#include <allegro.h>

#include <bitset>

// Starts the clock's ticks, the keyboard and the mouse, in this order.
void pf_start_input();

// Where the pointer is, in picture pixels.
struct PointerAt {
    int x, y;
    bool operator==(const PointerAt &other) const { return x == other.x && y == other.y; }
    bool operator!=(const PointerAt &other) const { return !(*this == other); }
};

// The pointer's position as last reported, x and y from one report, so that a pointer on the
// move is never seen at an x from one place and a y from another; mapped back from the
// window's scale.
PointerAt pf_pointer();

// True while the left button alone is held.
bool pf_button_held();

// True while the key with this scancode (KEY_UP, KEY_ESC, ...) is held.
bool pf_key_held(int scancode);

// Takes the oldest typed key not yet taken, as (scancode << 8) | character code; false when
// none waits. The window's keys are never typed keys.
bool pf_take_typed_key(int &typed);

// Drops every key typed and not yet taken.
void pf_drop_typed_keys();

// Makes `handler` the one called when the window's close button is pressed; it replaces the
// handler installed before. It runs on the main thread, at its next read of input or wait.
void pf_set_close_handler(void (*handler)());

// One fresh press of a key: never a repeat of a key already down.
struct KeyPress {
    int scancode = 0;  // KEY_UP, KEY_ENTER, ...
    long at_ms = 0;    // pf_clock_ms() when it was pressed
    std::bitset<KEY_MAX> down_with;  // the keys down as it went down, itself among them
};

// Takes the oldest latched press of one of the `count` keys in `scancodes` (of any key when
// `scancodes` is NULL), leaving presses of other keys latched; false when there is none.
bool pf_take_press(const int *scancodes, int count, KeyPress &press);

// True when a press of one of the keys (any key when `scancodes` is NULL) is latched; takes
// nothing.
bool pf_press_latched(const int *scancodes, int count);

// Drops every latched press of a key and every latched click, together: a screen that comes up
// does not act on input meant for the one before it.
void pf_drop_input();

// True when the left button alone was pressed since the last call, however briefly (a click
// too short for a look at the buttons to see); `at` is where the button went down, in picture
// pixels. The clicks latched are forgotten either way.
bool pf_take_click(PointerAt &at);

// True when the window lost the keyboard's focus since the last call (another window took it).
bool pf_take_focus_loss();

// True while the window has the keyboard's focus, as last reported (true until told otherwise).
bool pf_window_focused();
