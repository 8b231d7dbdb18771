// A loaded level seen as a push puzzle: which cells the miner may stand on, which barrier
// cells a switch opens, where the hazards, baskets, switches, nuggets and the miner are.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "level/cell_catalogue.h"
#include "level/level_data.h"

constexpr int CELL_COUNT = MAP_ROWS * MAP_COLS;

// Cells are numbered row * MAP_COLS + column.
inline int cell_index(int row, int col) { return row * MAP_COLS + col; }
inline int cell_row(int cell) { return cell / MAP_COLS; }
inline int cell_col(int cell) { return cell % MAP_COLS; }

// The three groups a switch can open, as bit numbers of LevelModel::opens_with masks: the
// game's own group numbers, rows of BARRIER_GROUPS.
enum ModelGroup {
    GROUP_X = BARRIER_X,
    GROUP_W = BARRIER_W,
    GROUP_UV = BARRIER_UV,
    GROUP_NONE = BARRIER_NONE
};

struct ModelSwitch {
    int cell;
    int group;  // ModelGroup
};

struct LevelModel {
    int area = 1;
    std::array<uint8_t, CELL_COUNT> floor{};      // floor tile now
    std::array<int8_t, CELL_COUNT> opens_with{};  // ModelGroup whose switch turns it into floor
    std::array<uint8_t, CELL_COUNT> hazard{};     // object '6', '7' or '8'
    std::array<uint8_t, CELL_COUNT> basket{};     // tile 'Y' or 'Z'
    std::vector<ModelSwitch> switches;            // reading order
    std::vector<int> nuggets;                     // reading order
    int miner = 0;
};

// The model of the level in `grids` as load_level left it, for area `area`. Which barrier
// cells open is found by running the game's own open_barriers on a copy, so capacity limits,
// objects on barriers and the closed outer edge count exactly as in play.
LevelModel build_level_model(const LevelGrids &grids, int miner_row, int miner_col, int area);

// Directions are numbered as the rows of DIRECTION_STEPS (int(Direction)): up, down, left,
// right, the game's step order; opposite directions pair up as 0-1 and 2-3.
constexpr char STEP_LETTER[4] = {DIRECTION_STEPS[0].letter, DIRECTION_STEPS[1].letter,
                                 DIRECTION_STEPS[2].letter, DIRECTION_STEPS[3].letter};

// The cell one step from `cell` in direction `dir` (0..3), or -1 off the grid. Inline: the
// searches call it for every neighbour of every cell they flood.
inline int step_cell(int cell, int dir)
{
    const DirectionStep &step = DIRECTION_STEPS[dir];
    const int row = cell_row(cell) + step.drow, col = cell_col(cell) + step.dcol;
    if (row < 0 || row >= MAP_ROWS || col < 0 || col >= MAP_COLS)
        return -1;
    return cell_index(row, col);
}
