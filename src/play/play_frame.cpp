// One frame: countdown, status line, move, barriers, picture, then the end-of-frame tests.
#include "play/play_frame.h"

#include "level/cell_catalogue.h"
#include "level/game_resources.h"
#include "platform/platform.h"
#include "play/barrier_rules.h"
#include "play/countdown.h"
#include "play/level_end.h"
#include "play/move_input.h"
#include "play/move_rules.h"
#include "play/playfield_render.h"
#include "play/status_line.h"

namespace {

struct FloorPaint {
    BITMAP *buffer;
    BITMAP *floor;
};

void paint_opened_cell(int row, int col, void *context)
{
    const FloorPaint *paint = static_cast<const FloorPaint *>(context);
    draw_cell_image(paint->buffer, paint->floor, row, col);
}

}  // namespace

void open_barriers(BITMAP *buffer, const GameState &state, LevelGrids &grids)
{
    FloorPaint paint{buffer, tile_bitmap(area_floor(state.area))};
    open_barriers(state, grids, paint_opened_cell, &paint);
}

void open_barriers() { open_barriers(back_buffer, game_state, level_grids); }

FrameEnd play_frame()
{
    GameState &state = game_state;
    arm_countdown();
    draw_hud();  // the values as they are before the move
    state.prev_row = state.player_row;
    state.prev_col = state.player_col;
    apply_moves();
    open_barriers();
    present_frame();
    clear_left_cell(state, level_grids);

    if (state.nuggets_remaining == 0) {
        finish_won_level();
        return FrameEnd::level_won;
    }

    pf_rest(state.frame_delay);  // the only pace of play
    if (state.time == 0 || pf_key_held(KEY_ESC) || state.hazard_touched)
        state.life_lost = 1;
    if (state.lives <= 0) {
        state.lives = 1;
        state.game_over = 1;
    }
    return FrameEnd::played;
}
