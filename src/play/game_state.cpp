// The process-wide game records.
#include "play/game_state.h"

GameState game_state;
GameSettings game_settings;
