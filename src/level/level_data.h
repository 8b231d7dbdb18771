// The level being played: its two grids of cell characters, its three barrier lists, which
// of them a switch has opened, and the four directions of a step over the grids.
// Pure data, no Allegro: the rules, the level reader, the tests and the level checker share it.
#pragma once

#include <cstdint>

constexpr int MAP_ROWS = 24;
constexpr int MAP_COLS = 32;
constexpr int CELL_SIZE = 16;

constexpr int W_BARRIER_CAPACITY = 20;
constexpr int X_BARRIER_CAPACITY = 20;
constexpr int UV_BARRIER_CAPACITY = 500;

// The cells of one barrier group in reading order: parallel row and column arrays.
// Cells that arrive once `count` has reached `capacity` are not recorded.
struct BarrierList {
    int capacity;
    int count;
    int rows[UV_BARRIER_CAPACITY];
    int columns[UV_BARRIER_CAPACITY];
};

// One level's cells. Row 0 is the top row, column 0 the leftmost.
struct LevelGrids {
    char tile_map[MAP_ROWS][MAP_COLS];    // tile letters 'A'..'Z'; anything else blocks
    char object_map[MAP_ROWS][MAP_COLS];  // object digits '0'..'8'; anything else is empty
    BarrierList w_barriers{W_BARRIER_CAPACITY, 0, {}, {}};    // cells holding 'W'
    BarrierList x_barriers{X_BARRIER_CAPACITY, 0, {}, {}};    // cells holding 'X'
    BarrierList uv_barriers{UV_BARRIER_CAPACITY, 0, {}, {}};  // cells holding 'U' or 'V'
};

// The process-wide level: all zero characters at start, overwritten by every load.
extern LevelGrids level_grids;

// Which barrier groups a taken switch has opened in the level being played (switch '4', '3',
// '5'). The game's state carries them; BARRIER_GROUPS (cell_catalogue.h) names each one.
struct BarrierFlags {
    uint8_t x_opened = 0, w_opened = 0, uv_opened = 0;
};

// A step of the miner. The game reads them from the arrow keys, the level checker from key
// letters; both go through DIRECTION_STEPS.
enum class Direction { up, down, left, right };

// What a direction means on the grids and in a solution file.
struct DirectionStep {
    Direction dir;
    int drow, dcol;  // the cell one step away, relative to the miner's
    char letter;     // its key letter in a solution: 'U', 'D', 'L', 'R'
};

// In the order a frame tries them: up, down, left, right; index int(dir).
constexpr DirectionStep DIRECTION_STEPS[4] = {
    {Direction::up, -1, 0, 'U'},
    {Direction::down, 1, 0, 'D'},
    {Direction::left, 0, -1, 'L'},
    {Direction::right, 0, 1, 'R'},
};

// The row of `dir`.
inline const DirectionStep &direction_step(Direction dir) { return DIRECTION_STEPS[int(dir)]; }

// The direction of key letter `letter`; false (dir untouched) for anything but U, D, L, R.
inline bool letter_direction(char letter, Direction &dir)
{
    for (const DirectionStep &step : DIRECTION_STEPS)
        if (step.letter == letter) {
            dir = step.dir;
            return true;
        }
    return false;
}
