// The move and push rules: one step of the miner over the grids, with no drawing and no input,
// shared by the running game and the level checker.
#pragma once

#include "level/level_data.h"
#include "play/game_state.h"

enum class Direction { up, down, left, right };

// The order in which a frame tries the four steps.
constexpr Direction STEP_ORDER[4] = {Direction::up, Direction::down, Direction::left,
                                     Direction::right};

// What a step did.
enum class StepKind {
    blocked,    // nothing changed
    walked,     // the miner moved onto an empty cell, a switch or a hazard
    pushed,     // a nugget went onto floor and the miner followed it
    delivered,  // a nugget went into a basket and the miner followed it
};

// A cell the step changed on screen and what to draw there: the area's floor tile, or the
// nugget image over what the cell already shows.
enum class CellPaint { area_floor, nugget };

struct PaintedCell {
    int row;
    int col;
    CellPaint paint;
};

// The outcome of one step and the cells to repaint, in drawing order. The miner himself is
// not listed: the frame draws him at his cell every time.
struct StepReport {
    StepKind kind = StepKind::blocked;
    int paint_count = 0;
    PaintedCell paints[2] = {};
};

// The tile and object at a cell; 0 for a cell outside the grid, which is therefore neither
// floor, basket, nugget, switch nor hazard.
char tile_at(const LevelGrids &grids, int row, int col);
char object_at(const LevelGrids &grids, int row, int col);

// One step of the miner in `dir`: walks onto floor (taking a switch or touching a hazard on
// the way), pushes a nugget onto floor or into a basket, or does nothing. May change the
// player's cell, nuggets remaining, the opened flags, hazard touched and object_map.
StepReport apply_step(GameState &state, LevelGrids &grids, Direction dir);

// The end of a frame: the object at the previous cell becomes '0', so a switch or hazard the
// miner walked off is gone, and so is his start marker.
void clear_left_cell(GameState &state, LevelGrids &grids);

// One whole frame's worth of rules with `dir` held alone, for a solver replaying moves:
// previous cell <- player cell, apply_step, open_barriers, clear_left_cell.
StepReport play_step(GameState &state, LevelGrids &grids, Direction dir);
