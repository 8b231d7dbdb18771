// Starting a game from the settings the options board produced.
#pragma once

#include "font/alfont.h"
#include "play/game_state.h"

// The font of the play messages (level won, life lost, passwords), loaded at every game start.
extern ALFONT_FONT *message_font;

// Runs a whole game from `settings`: installs the game's close handler, loads the message
// font, applies the settings and difficulty, loads the resources and the first level, then
// runs the level loop and returns how the game ended.
GameOutcome start_game(const GameSettings &settings);
