// The process-wide game records, the difficulty table and the settings a game starts from,
// loading and clearing a level's state, and the two handlers.
#include "play/game_state.h"

#include "level/cell_catalogue.h"

GameState game_state;
GameSettings game_settings;

static void clear_barriers(BarrierList &list)
{
    list.count = 0;
    for (int i = 0; i < UV_BARRIER_CAPACITY; i++) {
        list.rows[i] = 0;
        list.columns[i] = 0;
    }
}

void reset_level_state(GameState &state, LevelGrids &grids)
{
    clear_barriers(grids.w_barriers);
    clear_barriers(grids.x_barriers);
    clear_barriers(grids.uv_barriers);
    state.x_opened = state.w_opened = state.uv_opened = 0;
    state.hazard_touched = 0;
    state.life_lost = state.out_of_lives = state.completed = 0;
    state.player_col = state.player_row = 0;
    state.prev_col = state.prev_row = 0;
    state.time = 0;
    state.nuggets_remaining = 0;
}

int load_level(GameState &state, LevelGrids &grids, int level, const LevelFileOpener &open)
{
    LevelContents found = read_level(grids, level, open);
    state.nuggets_remaining += found.nuggets;
    if (found.has_miner) {
        state.player_row = found.miner_row;
        state.player_col = found.miner_col;
    }
    // Unsigned arithmetic: the product is taken modulo 65536 without overflowing.
    uint32_t product = static_cast<uint32_t>(state.nuggets_remaining) *
                       static_cast<uint32_t>(state.seconds_per_nugget);
    // One store: the one-second handler may decrement time at any moment.
    state.time.store(static_cast<uint16_t>(product));
    return 0;
}

int load_level(int level) { return load_level(game_state, level_grids, level, open_level_file); }

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
    state.area = area_of_level(state.level);
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

void game_close_handler() { game_state.close_requested = true; }

// fetch_sub on an unsigned atomic wraps modulo 2^16, which is the countdown's defined overflow.
void tick_handler() { game_state.time.fetch_sub(1); }
