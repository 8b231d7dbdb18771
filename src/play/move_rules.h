// The rules of play: one step of the miner over the grids, the barrier groups opening, and
// the whole frame's worth of both, with no drawing and no input. The running game and the
// level checker both go through play_step.
#pragma once

#include "level/level_data.h"
#include "play/game_state.h"

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

// One step of the miner in `dir`: walks onto floor (taking a switch or touching a hazard on
// the way), pushes a nugget onto floor or into a basket, or does nothing. May change the
// player's cell, nuggets remaining, the opened flags, hazard touched and object_map.
StepReport apply_step(GameState &state, LevelGrids &grids, Direction dir);

// The end of a frame: the object at the previous cell becomes '0', so a switch or hazard the
// miner walked off is gone, and so is his start marker.
void clear_left_cell(GameState &state, LevelGrids &grids);

// Told of every barrier cell opened (or opened again) by open_barriers.
using OpenedCell = void (*)(int row, int col, void *context);

// For each group of BARRIER_GROUPS in its order (X, W, U/V) whose opened flag is set, each
// cell in list order: when the object at the cell is '0' and the cell is in neither row 0 nor
// column 0, its tile becomes the area's floor letter and `opened` (may be NULL) is told. Cells
// stay in their lists, so a cell already open is told again every call while its flag is set;
// a cell holding an object waits until the object is gone.
void open_barriers(const GameState &state, LevelGrids &grids, OpenedCell opened, void *context);

// One whole frame's worth of rules: previous cell <- player cell, apply_step in `*dir` (no step
// when dir is NULL: no arrow held alone), open_barriers (telling `opened`), clear_left_cell.
// The frame loop and the level checker's replay both play through this.
StepReport play_step(GameState &state, LevelGrids &grids, const Direction *dir,
                     OpenedCell opened = nullptr, void *context = nullptr);
// The same with `dir` held alone, for a solver replaying moves.
StepReport play_step(GameState &state, LevelGrids &grids, Direction dir);
