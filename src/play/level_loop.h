// The level loop: frames until the level is won or lost, the window is closed or the game ends.
#pragma once

#include "play/game_state.h"

// Runs the current level of game_state, and the levels after it, until the game ends;
// returns closed or game over (the victory board ends the process itself).
GameOutcome level_loop();
