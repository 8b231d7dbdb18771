// The difficulty table and the settings a game starts from.
#include "play/game_state.h"

const DifficultyRow DIFFICULTY_TABLE[3] = {
    {"FACIL", 36, 3},
    {"MEDIO", 34, 2},
    {"DIFICIL", 33, 1},
};

void apply_difficulty(GameState &state, int difficulty)
{
    if (difficulty < 1 || difficulty > 3)
        return;
    const DifficultyRow &row = DIFFICULTY_TABLE[difficulty - 1];
    state.difficulty_name = row.name;
    state.seconds_per_nugget = row.seconds_per_nugget;
    state.lives = row.lives;
}

void apply_settings(GameState &state, const GameSettings &settings)
{
    state.level = settings.start_level;
    state.area = (state.level - 1) / 4 + 1;
    state.music_on = settings.sound;
    state.frame_delay = settings.frame_delay;
    apply_difficulty(state, settings.difficulty);
}

void restore_game_over_defaults(GameState &state)
{
    state.area = 1;
    state.level = 1;
    state.lives = 3;
    state.difficulty_name = DIFFICULTY_TABLE[0].name;
    state.seconds_per_nugget = DIFFICULTY_TABLE[0].seconds_per_nugget;
    state.music_on = 1;
}
