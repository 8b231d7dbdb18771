// Solutions as key letters, one a frame: replaying them through the game's frame rules, and
// reading and writing them as text files.
#pragma once

#include <string>

#include "level/level_data.h"
#include "play/game_state.h"

struct ReplayResult {
    bool won = false;     // nuggets remaining reached 0
    int frames = 0;       // frames played, up to and including the winning one
    bool hazard = false;  // the miner touched a hazard (the replay stops there)
    int nuggets_left = 0;
    int parkings = 0;     // times a nugget was left outside a basket while another was pushed
    std::string failure;  // what went wrong, empty when won
};

// Plays `letters` ('U', 'D', 'L', 'R', one a frame) from the level in `state` and `grids` with
// play_step, stopping at the first frame that wins or touches a hazard. Any other letter is a
// failure. Parkings are counted as the game moves the nuggets, apart from any search.
ReplayResult replay_solution(GameState &state, LevelGrids &grids, const std::string &letters);

// The letters as a text file: 64 a line. False when the file cannot be written.
bool write_solution_file(const std::string &path, const std::string &letters);

// The letters of a solution file, whitespace skipped; false when it cannot be read or holds
// anything but U, D, L, R and whitespace (`error` says which).
bool read_solution_file(const std::string &path, std::string &letters, std::string &error);
