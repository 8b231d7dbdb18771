// Inside the platform seam: the game's window at a whole-number scale of its picture, windowed
// or covering the screen. The game draws one WINDOW_WIDTH x WINDOW_HEIGHT picture in memory;
// this module copies what changed of it to the real screen, scaled, and maps the pointer back.
#pragma once

#include "platform/input.h"
#include "platform/window.h"

#include <allegro.h>

// Opens the window at the largest whole scale that fits the desktop (a smaller one, down to
// 1, when the library refuses it), with the picture the game draws on: 0, or a negative
// failure.
int scaled_window_open();

// The picture the game draws on; NULL before the window opens.
BITMAP *scaled_window_picture();

// Carries out the window keys pressed since the last call (F11 and Alt+Return toggle
// fullscreen; Ctrl+Plus and Ctrl+Minus step the window's scale), then copies to the screen
// what changed in the picture since the last copy. Called from the main thread wherever the
// game waits, draws or polls for keys: every screen of the game passes through one of them.
void scaled_window_refresh();

// The pointer position in picture pixels (beyond the picture's edges in fullscreen's black),
// x and y from one read of the library's mouse_pos.
PointerAt scaled_window_pointer();

// Makes `sprite` (picture-sized; NULL: the library's arrow) the pointer, scaled with the
// window.
void scaled_window_set_pointer(BITMAP *sprite);

// Shows or hides the pointer over the window (X's own cursor, drawn with the scaled sprite).
void scaled_window_show_pointer(bool shown);

// Call once the keyboard is installed: from then on the window keys act on every screen and
// never reach the game.
void scaled_window_take_keys();
