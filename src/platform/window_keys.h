// Inside the platform seam: the window keys, F11 and Alt+Return (fullscreen on the window's
// monitor), Ctrl+Plus and Ctrl+Minus (the next whole scale that fits it, the window's centre
// kept). They act on every screen and never reach the game.
#pragma once

#include "platform/window_geometry.h"

// Call once the keyboard is installed: from then on the window keys are taken from the input
// queue, and kept out of the key buffer.
void take_window_keys();

// Carries out the window keys taken since the last call, for the picture placed at `at`; true
// when the window's size may have changed since (a key, or the window manager) and must be
// looked at.
bool carry_out_window_keys(const Placement &at);
