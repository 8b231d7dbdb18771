// Building the push-puzzle view of a loaded level from the game's own grids and rules.
#include "level_model.h"

#include <memory>

#include "play/game_state.h"
#include "play/move_rules.h"

static void note_opened(int row, int col, void *context)
{
    static_cast<std::vector<int> *>(context)->push_back(cell_index(row, col));
}

LevelModel build_level_model(const LevelGrids &grids, int miner_row, int miner_col, int area)
{
    LevelModel model;
    model.area = area;
    model.opens_with.fill(GROUP_NONE);
    model.miner = cell_index(miner_row, miner_col);
    for (int cell = 0; cell < CELL_COUNT; cell++) {
        char tile = grids.tile_map[cell_row(cell)][cell_col(cell)];
        char object = grids.object_map[cell_row(cell)][cell_col(cell)];
        model.floor[cell] = is_floor_tile(tile);
        model.basket[cell] = is_basket_tile(tile);
        model.hazard[cell] = is_hazard_object(object);
        if (is_switch_object(object))
            model.switches.push_back({cell, switch_group(object)});
        if (object == '2')
            model.nuggets.push_back(cell);
    }

    // Open each group alone on a copy and see which cells the game turns into floor.
    for (const BarrierGroupRule &group : BARRIER_GROUPS) {
        auto copy = std::make_unique<LevelGrids>(grids);  // large: keep it off the stack
        GameState state;
        state.area = area;
        state.*group.opened = 1;
        std::vector<int> opened;
        open_barriers(state, *copy, note_opened, &opened);
        for (int cell : opened)
            if (!model.floor[cell])
                model.opens_with[cell] = static_cast<int8_t>(group.group);
    }
    return model;
}
