// The frame's move step: the arrow keys drive the rules and the back buffer follows.
#pragma once

#include <allegro.h>

#include "level/level_data.h"
#include "play/game_state.h"

// Tries the four steps in the order up, down, left, right; each acts only while its arrow key
// is held and no other arrow key is (keys read afresh for every step), and paints what it
// changed into `buffer` with the floor of the state's area.
void apply_moves(GameState &state, LevelGrids &grids, BITMAP *buffer);
void apply_moves();
