// The one-second countdown of a level, run by the library's timer.
#pragma once

// Installs tick_handler (game_state.h) at one second. Called every frame: re-installing it
// with the same period keeps its phase, so the countdown does not depend on the frame rate.
// It is never removed and keeps counting through messages, boards and menus.
void arm_countdown();
