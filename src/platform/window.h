// The seam: the window and its picture. The game draws one WINDOW_WIDTH x WINDOW_HEIGHT picture
// in memory; pf_present shows it in the window, scaled, and nothing else does.
#pragma once

#include <allegro.h>

// The game's picture in pixels; the window shows it scaled.
constexpr int WINDOW_WIDTH = 512;
constexpr int WINDOW_HEIGHT = 384;

// The colour depth of bitmaps created from now on, the window's included.
void pf_set_color_depth(int depth);

// Opens the window on the pointer's monitor at the size it opens at there, smaller whole
// scales down to 1x when that fails: 0, or a negative failure (no true colour is one). From
// then on, on every screen, F11 or Alt+Return toggles fullscreen and Ctrl+Plus or Ctrl+Minus
// steps the window's size.
int pf_open_window();

// Makes `handler` the one called, on the main thread, when the window cannot be opened again
// after a change of its scale or of fullscreen (every attempt refused): it tells the player and
// ends the process. Without one, or should it return, the process ends with status 1.
void pf_set_window_failure_handler(void (*handler)());

// Puts `title` on the window's title bar.
void pf_set_window_title(const char *title);

// The picture as a drawing target. What is drawn on it shows in the window at the next
// pf_present.
BITMAP *pf_screen();

// Shows the picture in the window: what was drawn on pf_screen() since the last call reaches
// the window, scaled, and the window keys pressed since are carried out. Called by the play
// frame and the waiting step (pf_wait_step) alone; no other call shows the picture. Returns the
// milliseconds this present took beyond what it costs at 1x, which the play frame takes off
// its own rest so that a frame lasts as long at every scale.
int pf_present();

// Loads the pointer's picture from `path` and makes it the mouse sprite for the rest of the
// process; returns it, or NULL when it did not load (the library's arrow is used then).
BITMAP *pf_load_pointer(const char *path);

// Shows the mouse pointer over `target`; NULL hides it. Asks for the system's own cursor (drawn
// by X with the sprite's picture), so that copies to the screen cannot wipe it.
void pf_show_pointer(BITMAP *target);
