// Starting a game from the settings the options board produced.
#pragma once

#include <string>

#include "play/game_state.h"

// How a game ended, and for resources_missing the picture that did not load, as the game
// names it ("" otherwise).
struct GameResult {
    GameOutcome outcome;
    std::string missing_resource;
};

// Runs a whole game from `settings`: installs the game's close handler, loads the message
// font, applies the settings and difficulty, loads the resources and the first level, then
// runs the level loop and returns how the game ended. When a picture does not load it returns
// resources_missing at once, with the picture's name, and nothing is played.
GameResult start_game(const GameSettings &settings);
