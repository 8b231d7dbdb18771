// Inside the platform seam: the window keys, F11 and Alt+Return (fullscreen on the window's
// monitor), Ctrl+Plus and Ctrl+Minus (the next size that fits it, step_size in window_geometry.h,
// the window's centre kept). They act on every screen and never reach the game.
#pragma once

// Call once the keyboard is installed: from then on the window keys are taken from the input
// queue, and kept out of the typed keys.
void take_window_keys();

// Carries out the window keys taken since the last call; true when the window's size may have
// changed since (a key, or the window manager) and must be looked at.
bool carry_out_window_keys();

// On the library's thread, as each key comes: false for a press of F11 or Alt+Return that is
// a held key's repeat (taken for a fresh press after a change of focus), which must go nowhere.
bool window_key_passes(int scancode, bool down, int shifts);
