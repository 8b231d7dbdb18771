// Inside the seam: the one way in for input. Every event the library and the X server report (a
// key going down or up, a click, the focus, the close button, a change of the window) is posted
// here, in order, on the library's thread, and taken on the main thread by the readers behind
// input.h: the press latch, the click latch, the close handler, the focus and the window's own
// keys. The implementations of the seam post; the game only reads (input.h).
#pragma once

#include "platform/input.h"

// What the window makes of a key: the game's, a modifier (tracked, never a press) or one of the
// window's own keys, which act on the window and never reach a screen, the key buffer, the
// latch or a wait. `shifts` are the library's key_shifts flags.
enum class KeyRole { game, modifier, fullscreen, scale_up, scale_down };
KeyRole pf_key_role(int scancode, int shifts);

// A key went down (`down`) or up. A down of a key already down is the keyboard's own repeat and
// is no press.
void pf_post_key(int scancode, bool down, long at_ms, int shifts = 0);

// A key typed, as (scancode << 8) | character code: none of the window's keys.
void pf_post_typed(int typed);

// The pointer moved or a button changed: where the pointer is (the window's pixels) and the
// buttons held.
void pf_post_pointer(PointerAt at, int buttons);

// The left button went down, alone, at `at` (picture pixels).
void pf_post_click(PointerAt at);

// The window's close button was pressed.
void pf_post_close();

// The window gained (`focused`) or lost the keyboard's focus.
void pf_post_focus(bool focused);

// The window manager moved, resized or re-stacked the window.
void pf_post_window_changed();

// Moves every event posted so far to its reader: presses and clicks to their latches, the
// close request to the handler pf_set_close_handler installed, the window's keys and
// changes to the window (pf_set_window_event_handler). Every call of input.h that reads input
// pumps first; so do the sleeps and pf_present.
void pf_pump_input();

// What the window does with its own keys and with changes the window manager made: called by
// pf_pump_input on the main thread.
void pf_set_window_event_handler(void (*handler)(KeyRole key, bool changed));

// The handler pf_set_close_handler put in force (NULL: none).
using CloseHandler = void (*)();
CloseHandler pf_close_handler();

// What the pump recorded, each pumped first: the readings behind input.h's pf_key_held,
// pf_pointer, pf_button_held, pf_take_typed_key and pf_drop_typed_keys in each implementation.
// The pointer is in the window's pixels as posted.
bool pf_recorded_key_down(int scancode);
PointerAt pf_recorded_pointer();
bool pf_recorded_button_held();
bool pf_take_recorded_typed(int &typed);
void pf_drop_recorded_typed();

// Forgets every event, press and click, what is down, and the handlers.
void pf_reset_input();

// The sleeps of the waiting step (pf_wait_step), one pair in each implementation. pf_idle
// sleeps until the pointer, a key or the close button stirs, 100 ms at most; no pause the
// game's timing counts on (the scripted clock does not move). pf_wait_input sleeps until input
// comes or `ms` have passed, a slice of a timed wait (the scripted clock moves by it). Both pump
// the queue after.
void pf_idle();
void pf_wait_input(int ms);
