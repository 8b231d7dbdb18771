// The one way in for input: every event the library and the X server report (a key going down
// or up, a click, the focus, the close button, a change of the window) is posted to one queue,
// in order, on the library's thread, and taken on the main thread by the readers below: the
// press latch, the click latch, the close handler, the focus and the window's own keys. A tap
// or a click that begins and ends between two looks of the game is still seen once, in order.
#pragma once

#include "platform/platform.h"

#include <atomic>

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

// ---- The entries, on the library's thread (the scripted twin posts through them too) --------
// What the window makes of a key: the game's, a modifier (tracked, never a press) or one of the
// window's own keys, which act on the window and never reach a screen, the key buffer, the
// latch or a wait. `shifts` are the library's key_shifts flags.
enum class KeyRole { game, modifier, fullscreen, scale_up, scale_down };
KeyRole key_role(int scancode, int shifts);

// A key went down (`down`) or up. A down of a key already down is the keyboard's own repeat and
// is no press.
void latch_key_event(int scancode, bool down, long at_ms, int shifts = 0);

// The left button went down, alone, at `at` (picture pixels).
void latch_click(PointerAt at);

// The window's close button was pressed.
void post_close_request();

// The window gained (`focused`) or lost the keyboard's focus.
void post_focus(bool focused);

// The window manager moved, resized or re-stacked the window.
void post_window_changed();

// ---- Taken on the main thread -----------------------------------------------------------
// Moves every event posted so far to its reader: presses and clicks to their latches, the
// close request to the handler pf_set_close_button_callback installed, the window's keys and
// changes to the window (set_window_event_handler). Every call above that reads input pumps
// first; so do the waits and pf_present.
void pump_input();

// What the window does with its own keys and with changes the window manager made: called by
// pump_input on the main thread.
void set_window_event_handler(void (*handler)(KeyRole key, bool changed));

// Makes `handler` the one pump_input calls for a close request (NULL: none).
void set_close_request_handler(void (*handler)());

// Forgets every event, press and click, and what is down.
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
