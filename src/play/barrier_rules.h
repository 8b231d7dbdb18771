// Opening the barrier groups whose switch was taken: pure rules, shared by the frame and the
// level checker.
#pragma once

#include "level/level_data.h"
#include "play/game_state.h"

// Told of every barrier cell opened (or opened again) in this call.
using OpenedCell = void (*)(int row, int col, void *context);

// For the X group if X opened is set, then W, then U/V, each cell in list order: when the
// object at the cell is '0' and the cell is in neither row 0 nor column 0, its tile becomes
// the area's floor letter and `opened` (may be NULL) is told. Cells stay in their lists, so a
// cell already open is told again every call while its flag is set; a cell holding an object
// waits until the object is gone.
void open_barriers(const GameState &state, LevelGrids &grids, OpenedCell opened, void *context);
