// Reading a level's tile and object files into the grids.
#pragma once

#include "level/level_data.h"
#include "play/game_state.h"

// Reads the file pair of `level` (1..20) into `grids`, adding to the barrier lists and to the
// nuggets remaining, setting the player's cell, then time = nuggets x seconds per nugget.
// Always 0.
int load_level(GameState &state, LevelGrids &grids, int level);
