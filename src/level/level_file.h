// Level file pairs: their names, the check that all twenty open, and the positional reader
// that turns a pair into the grids and the barrier lists, and tells the start cell and the
// nuggets found.
// Pure code, no Allegro: the game, the tests, the fuzzer and the level checker share it.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

#include "level/level_data.h"

constexpr int LEVEL_COUNT = 20;
constexpr const char *TILE_FILE_TEMPLATE = "fases/fase00.plt";
constexpr const char *OBJECT_FILE_TEMPLATE = "fases/fase00.plo";

// A copy of `name_template` with the level's two digits at positions 10 and 11: "fases/fase07.plt"
// for 7. Levels of 0 or less give "00". A template shorter than 12 characters is returned as
// it is.
std::string level_file_name(int level, const char *name_template);

// Opens one level file for reading; NULL when it cannot be opened.
using LevelFileOpener = std::function<FILE *(const std::string &name)>;

// The game's opener: `name` relative to the working directory. Only regular files open, so a
// folder or a named pipe in the file's place counts as missing instead of blocking the game.
FILE *open_level_file(const std::string &name);

// 0 when both files of every level 1..20 open, 1 otherwise. Levels are tried in order, the tile
// file before the object file; at the first level with a file missing it closes what opened
// and returns 1 without trying later levels. Every file it opens it closes.
int check_level_files(const LevelFileOpener &open);
int check_level_files();  // files relative to the working directory

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
// The same over an open stream; a read error counts as the end of the file.
void read_grid(FILE *stream, char grid[MAP_ROWS][MAP_COLS], const CellRecorder &record);

// What a level's object file held besides its grid.
struct LevelContents {
    int nuggets = 0;           // '2' cells
    bool has_miner = false;    // a '1' was found
    int miner_row = 0, miner_col = 0;  // the last '1' in reading order
};

// Reads level `level`'s tile file into grids.tile_map, recording 'W', 'X' and 'U'/'V' cells in
// their barrier lists while each is below capacity, then its object file into
// grids.object_map, counting the '2's and noting the last '1'. Lists are added to, not
// cleared. A file that does not open reads as empty.
LevelContents read_level(LevelGrids &grids, int level, const LevelFileOpener &open);
