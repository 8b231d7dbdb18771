// The miner's step: walking, switches, hazards and pushing nuggets; barriers opening; a frame.
#include "play/move_rules.h"

#include "level/cell_catalogue.h"

static bool inside(int row, int col)
{
    return row >= 0 && row < MAP_ROWS && col >= 0 && col < MAP_COLS;
}

// The tile and object at a cell; 0 for a cell outside the grid, which is therefore neither
// floor, basket, nugget, switch nor hazard.
static char tile_at(const LevelGrids &grids, int row, int col)
{
    return inside(row, col) ? grids.tile_map[row][col] : 0;
}

static char object_at(const LevelGrids &grids, int row, int col)
{
    return inside(row, col) ? grids.object_map[row][col] : 0;
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
    const int drow = direction_step(dir).drow, dcol = direction_step(dir).dcol;
    const int trow = state.player_row + drow, tcol = state.player_col + dcol;
    const int brow = trow + drow, bcol = tcol + dcol;

    if (!is_floor_tile(tile_at(grids, trow, tcol)))
        return report;

    const char target = grids.object_map[trow][tcol];
    const BarrierGroup opens = switch_group(target);
    if (opens != BARRIER_NONE)
        state.*BARRIER_GROUPS[opens].opened = 1;
    else if (is_hazard_object(target))
        state.hazard_touched = 1;

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

static void open_group(const GameState &state, LevelGrids &grids, const BarrierList &list,
                       OpenedCell opened, void *context)
{
    char floor = area_floor(state.area);
    for (int i = 0; i < list.count; i++) {
        int row = list.rows[i], col = list.columns[i];
        // Row 0 and column 0 never open: the level's outer edge stays shut.
        if (grids.object_map[row][col] != '0' || row == 0 || col == 0)
            continue;
        grids.tile_map[row][col] = floor;
        if (opened)
            opened(row, col, context);
    }
}

void open_barriers(const GameState &state, LevelGrids &grids, OpenedCell opened, void *context)
{
    for (const BarrierGroupRule &group : BARRIER_GROUPS)
        if (state.*group.opened)
            open_group(state, grids, grids.*group.cells, opened, context);
}

StepReport play_step(GameState &state, LevelGrids &grids, const Direction *dir,
                     OpenedCell opened, void *context)
{
    state.prev_row = state.player_row;
    state.prev_col = state.player_col;
    StepReport report = dir ? apply_step(state, grids, *dir) : StepReport{};
    open_barriers(state, grids, opened, context);
    clear_left_cell(state, grids);
    return report;
}

StepReport play_step(GameState &state, LevelGrids &grids, Direction dir)
{
    return play_step(state, grids, &dir);
}
