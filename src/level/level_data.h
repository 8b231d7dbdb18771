// The level being played: its two grids of cell characters and its three barrier lists.
// Pure data, no Allegro: the rules, the level reader, the tests and the level checker share it.
#pragma once

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
