// The process-wide game records, the clearing of a level's state and the two handlers.
#include "play/game_state.h"

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
    state.life_lost = state.game_over = state.completed = 0;
    state.player_col = state.player_row = 0;
    state.prev_col = state.prev_row = 0;
    state.time = 0;
    state.nuggets_remaining = 0;
}

void game_close_handler() { game_state.close_requested = true; }

// fetch_sub on an unsigned atomic wraps modulo 2^16, which is the countdown's defined overflow.
void tick_handler() { game_state.time.fetch_sub(1); }
