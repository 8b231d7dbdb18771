// The level loop: frames until the level is won or lost, the window is closed or the game
// ends; and the area tunes.
#pragma once

#include <allegro.h>

#include "play/game_state.h"

// Runs the current level of game_state, and the levels after it, until the game ends;
// returns closed, game over or completed (the last level won), for the screen flow to show
// what follows.
GameOutcome level_loop();

// At the first level of an area (level 1, 5, 9, 13 or 17): sets game_state.area from the
// level and starts that area's tune looped, replacing the one playing. At any other level
// nothing happens and the tune already playing goes on. When the area's tune did not load,
// the tune playing is stopped and the area stays silent. Returns the tune started, NULL when
// none was (or the area's tune did not load).
MIDI *start_area_music();
