// Barrier groups opening into floor.
#include "play/barrier_rules.h"

#include "level/cell_catalogue.h"

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
    if (state.x_opened)
        open_group(state, grids, grids.x_barriers, opened, context);
    if (state.w_opened)
        open_group(state, grids, grids.w_barriers, opened, context);
    if (state.uv_opened)
        open_group(state, grids, grids.uv_barriers, opened, context);
}
