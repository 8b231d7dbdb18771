// Level file pairs: their names, the check that all twenty open, and the reading that turns a
// pair into the grids and the barrier lists, and tells the start cell and the nuggets found.
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

// What a level's object file held besides its grid.
struct LevelContents {
    int nuggets = 0;           // '2' cells
    bool has_miner = false;    // a '1' was found
    int miner_row = 0, miner_col = 0;  // the last '1' in reading order
};

// Reads level `level`'s tile file into grids.tile_map, recording 'W', 'X' and 'U'/'V' cells in
// their barrier lists while each is below capacity, then its object file into
// grids.object_map, counting the '2's and noting the last '1'. Each file is read by position,
// 33 characters a row with CR LF as one line break (read_grid, level/grid_reader.h); a read
// error counts as the end of the file. Lists are added to, not cleared. A file that does not
// open reads as empty.
LevelContents read_level(LevelGrids &grids, int level, const LevelFileOpener &open);
