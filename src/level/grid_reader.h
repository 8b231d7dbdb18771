// The positional reader under read_level, over any source of characters: for level_file.cpp
// and for the tests and the fuzzer that feed it bytes of their own. Not part of the level
// layer's API.
#pragma once

#include <functional>

#include "level/level_data.h"

// One character taken from a level file: 0..255, or EOF at the end or on a read error.
using ByteSource = std::function<int()>;
// Told of every cell the reader stores, with its row, column and character.
using CellRecorder = std::function<void(int row, int col, char cell)>;

// Positional reader. Takes characters from `next`, a CR directly followed by LF counting as
// one LF, in groups of 33 per row for rows 0..23: the first 32 are stored at columns 0..31 and
// passed to `record`, the 33rd is the row's line break and is dropped whatever it is. Stops at
// the first EOF, after which `next` is not called again (cells not reached keep what they
// held), and after row 23's last cell, leaving the rest unread (but for the character after a
// final CR, which must be looked at to tell CR from CR LF).
void read_grid(const ByteSource &next, char grid[MAP_ROWS][MAP_COLS], const CellRecorder &record);
