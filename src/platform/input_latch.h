// Presses of keys and of the left mouse button, latched as the library reports them, so that a
// press which begins and ends between two looks of the game is still seen once, in order.
#pragma once

#include <atomic>

#include "platform/platform.h"

// One fresh press of a key: never a repeat of a key already down.
struct KeyPress {
    int scancode = 0;  // KEY_UP, KEY_ENTER, ...
    long at_ms = 0;    // pf_clock_ms() when it was pressed
};

// Milliseconds on a clock that only moves forward (the scripted twin's is its virtual clock).
long pf_clock_ms();

// Takes the oldest latched press of one of the `count` keys in `scancodes` (of any key when
// `scancodes` is NULL), leaving presses of other keys latched; false when there is none.
bool pf_take_press(const int *scancodes, int count, KeyPress &press);

// True when a press of one of the keys (any key when `scancodes` is NULL) is latched; takes
// nothing.
bool pf_press_latched(const int *scancodes, int count);

// Drops every latched press of a key and every latched click, together: a screen that comes
// up does not act on keys or clicks made before it.
void pf_drop_input();

// Takes the oldest click latched (the left button pressed alone, however briefly: a click too
// short for a look at mouse_b to see), with `at` the picture position where the button went
// down; false when none is latched.
bool pf_take_click(PointerAt &at);

// ---- Fed by the platform's input callbacks (the scripted twin feeds them too) -------------
// A key went down (`down`) or up. A down of a key already down is a repeat and is not latched.
void latch_key_event(int scancode, bool down, long at_ms);

// The left button went down, at `at` in picture pixels, while no other button was.
void latch_click(PointerAt at);

// Forgets every press, latched or down.
void reset_input_latch();

// ---- Waiting for a key -------------------------------------------------------------------
// Pauses `ms` milliseconds unless a fresh press of one of the `count` keys in `scancodes` (any
// key when `scancodes` is NULL) ends it; presses made in the first `shortest_ms` are dropped,
// so a key struck before then does not end the pause. A set `stop` ends it too, within a few
// milliseconds. Returns the key whose press ended it (that press is taken), else 0.
// ms UNTIL_PRESS waits for a key however long it takes.
constexpr int UNTIL_PRESS = 0x7fffffff;
int pf_rest_until_press(int ms, int shortest_ms, const int *scancodes, int count,
                         const std::atomic<bool> &stop);
