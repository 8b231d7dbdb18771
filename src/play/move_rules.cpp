// The miner's step: walking, switches, hazards and pushing nuggets.
#include "play/move_rules.h"

#include "play/barrier_rules.h"

#include "level/cell_catalogue.h"

static bool inside(int row, int col)
{
    return row >= 0 && row < MAP_ROWS && col >= 0 && col < MAP_COLS;
}

char tile_at(const LevelGrids &grids, int row, int col)
{
    return inside(row, col) ? grids.tile_map[row][col] : 0;
}

char object_at(const LevelGrids &grids, int row, int col)
{
    return inside(row, col) ? grids.object_map[row][col] : 0;
}

static void direction_delta(Direction dir, int &drow, int &dcol)
{
    drow = dcol = 0;
    switch (dir) {
    case Direction::up: drow = -1; break;
    case Direction::down: drow = 1; break;
    case Direction::left: dcol = -1; break;
    case Direction::right: dcol = 1; break;
    }
}

static void add_paint(StepReport &report, int row, int col, CellPaint paint)
{
    report.paints[report.paint_count++] = {row, col, paint};
}

// The three tests of a push, in their order: no switch or hazard beyond, a nugget beyond only
// in a basket, and beyond must be floor or basket.
static bool push_allowed(char beyond_tile, char beyond_object)
{
    if (is_switch_object(beyond_object) || is_hazard_object(beyond_object))
        return false;
    if (beyond_object == '2' && !is_basket_tile(beyond_tile))
        return false;
    return is_floor_tile(beyond_tile) || is_basket_tile(beyond_tile);
}

StepReport apply_step(GameState &state, LevelGrids &grids, Direction dir)
{
    StepReport report;
    int drow, dcol;
    direction_delta(dir, drow, dcol);
    const int trow = state.player_row + drow, tcol = state.player_col + dcol;
    const int brow = trow + drow, bcol = tcol + dcol;

    if (!is_floor_tile(tile_at(grids, trow, tcol)))
        return report;

    const char target = grids.object_map[trow][tcol];
    switch (target) {
    case '3': state.w_opened = 1; break;
    case '4': state.x_opened = 1; break;
    case '5': state.uv_opened = 1; break;
    default:
        if (is_hazard_object(target))
            state.hazard_touched = 1;
        break;
    }

    if (target != '2') {
        state.player_row = trow;
        state.player_col = tcol;
        report.kind = StepKind::walked;
        return report;
    }

    const char beyond_tile = tile_at(grids, brow, bcol);
    if (!push_allowed(beyond_tile, object_at(grids, brow, bcol)))
        return report;

    // push_allowed guarantees beyond is inside the grid: cells outside are neither floor nor
    // basket.
    if (is_basket_tile(beyond_tile)) {
        state.nuggets_remaining--;
        add_paint(report, trow, tcol, CellPaint::area_floor);
        report.kind = StepKind::delivered;
    } else {
        add_paint(report, trow, tcol, CellPaint::area_floor);
        add_paint(report, brow, bcol, CellPaint::nugget);
        report.kind = StepKind::pushed;
    }
    grids.object_map[brow][bcol] = '2';
    grids.object_map[trow][tcol] = '0';
    state.player_row = trow;
    state.player_col = tcol;
    return report;
}

void clear_left_cell(GameState &state, LevelGrids &grids)
{
    if (inside(state.prev_row, state.prev_col))
        grids.object_map[state.prev_row][state.prev_col] = '0';
}

StepReport play_step(GameState &state, LevelGrids &grids, Direction dir)
{
    state.prev_row = state.player_row;
    state.prev_col = state.player_col;
    StepReport report = apply_step(state, grids, dir);
    open_barriers(state, grids, nullptr, nullptr);
    clear_left_cell(state, grids);
    return report;
}
