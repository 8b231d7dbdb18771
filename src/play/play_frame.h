// One frame of play, and the opening of barriers as a frame does it.
#pragma once

#include <allegro.h>

#include "level/level_data.h"
#include "play/game_state.h"

// How a frame ended.
enum class FrameEnd {
    played,     // the level goes on (an end flag may have been set for the level loop)
    level_won,  // the won-level sequence ran: the level loop starts a fresh pass
};

// The barrier step of a frame: opens the groups whose switch was taken (barrier_rules.h) and
// draws the area's floor into `buffer` at every cell opened, again each frame while the flag
// stays set.
void open_barriers(BITMAP *buffer, const GameState &state, LevelGrids &grids);
void open_barriers();  // back_buffer, game_state, level_grids

// One frame over the game's globals: arms the countdown, paints the status line, takes the
// previous cell, applies at most one step from the arrow keys, opens barriers, shows the
// picture and clears the cell left. With no nugget left it runs the won-level sequence and
// returns level_won. Otherwise it pauses for the frame delay, then sets life lost on a
// countdown at 0, Escape held or a hazard touched, and game over (lives back to 1) when no
// life is left.
FrameEnd play_frame();
