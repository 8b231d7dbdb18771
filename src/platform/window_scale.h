// Inside the platform seam: the game's window at any size, on the monitor that holds it,
// windowed or covering that monitor. The game draws one WINDOW_WIDTH x WINDOW_HEIGHT picture
// in memory; this module copies what changed of it to the window, as large as fits, and maps
// the pointer back.
#pragma once

#include "platform/input.h"
#include "platform/window.h"

#include <allegro.h>

// Opens the window on the monitor that holds the pointer, at the size it opens at there (see
// opening_size; smaller whole scales, down to 1, when the library refuses it), with the
// picture the game draws on: 0, or a negative failure. The library's screen is never opened
// again after this: every later change of the window's size keeps it.
int scaled_window_open();

// The picture the game draws on; NULL before the window opens.
BITMAP *scaled_window_picture();

// Carries out the window keys pressed since the last call (F11 and Alt+Return toggle
// fullscreen on the window's monitor; Ctrl+Plus and Ctrl+Minus step the window through the
// whole scales that fit that monitor, its centre kept), follows the size the window manager
// gave the window (looked at every 50 ms at most, one round trip), then copies to the window
// what changed in the picture since the last copy. Called from the main thread wherever the
// game waits, draws or polls for keys: every screen of the game passes through one of them.
// Returns the microseconds the copy took beyond what it costs at 1x (enlarging is paid by the
// picture's size in the window).
long scaled_window_refresh();

// Call on the main thread when the X server reports that the window's size may have changed
// (a ConfigureNotify on the managed window): reads the size granted and, when it changed,
// places the picture anew and draws it all.
void scaled_window_configured();

// The pointer at `at` in the window's pixels, in picture pixels (beyond the picture's edges in
// the black around it).
PointerAt scaled_window_pointer(PointerAt at);

// Makes `sprite` (picture-sized; NULL: the library's arrow) the pointer, scaled with the
// picture.
void scaled_window_set_pointer(BITMAP *sprite);

// Shows or hides the pointer over the window (X's own cursor, drawn with the scaled sprite).
void scaled_window_show_pointer(bool shown);

// Call once the keyboard is installed: from then on the window keys act on every screen and
// never reach the game.
void scaled_window_take_keys();
