// The checks a level must pass before it is worth solving: the shape of its two files and
// what stands where in the loaded grids.
#pragma once

#include <string>
#include <vector>

#include "level/level_data.h"
#include "level_model.h"

// Errors make a level fail; warnings are printed and let it pass.
struct Findings {
    std::vector<std::string> errors;
    std::vector<std::string> warnings;
    std::vector<int> switches_beyond_hazards;  // cells of switches only a hazard leads to
};

// One level file's text: exactly 24 lines of 32 characters (LF or CR LF line breaks, the last
// one optional), nothing after them, and only 'A'..'Z' in a tile file or '0'..'8' in an object
// file. `name` prefixes every message.
void check_file_shape(const std::string &name, const std::string &text, bool tile_file,
                      Findings &findings);

// The loaded level: one miner on floor, nuggets only on floor, at least one nugget and one
// basket, barriers that can open (not on the outer edge, no object on them, within their
// list's capacity), switches and barrier groups that go together, and no cell the miner could
// reach in row 23, where the status line covers the playfield, and no switch the miner could
// reach only across a hazard.
void check_level_content(const LevelGrids &grids, const LevelModel &model, Findings &findings);

// The cells the miner might ever stand on from his start, in breadth-first order: floor and
// barriers (counted open), nuggets and switches counted passable; hazards too when
// `across_hazards`.
std::vector<int> miner_reach(const LevelModel &model, bool across_hazards);

// "row 3, column 7"
std::string cell_name(int cell);
