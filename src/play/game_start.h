// Starting a game from the settings the options board produced.
#pragma once

#include <string>

#include "font/alfont.h"
#include "play/game_state.h"

// The font of the play messages (level won, life lost, passwords), loaded at every game start.
extern ALFONT_FONT *message_font;

// The picture that did not load at the last game start, as the game names it; "" when all did.
extern std::string missing_resource;

// Runs a whole game from `settings`: installs the game's close handler, loads the message
// font, applies the settings and difficulty, loads the resources and the first level, then
// runs the level loop and returns how the game ended. When a picture does not load it returns
// resources_missing at once (missing_resource names it) and nothing is played.
GameOutcome start_game(const GameSettings &settings);
