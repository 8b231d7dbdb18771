// A push-level search over a level model: finds a sequence of pushes and switch steps that
// brings every nugget into a basket without the miner touching a hazard.
#pragma once

#include <string>
#include <vector>

#include "push_board.h"

struct SolveResult {
    bool solved = false;
    std::string failure;            // why there is no solution, when not solved
    std::vector<PuzzleMove> moves;  // in playing order
    std::string frames;             // the moves expanded into one key letter per frame
    int pushes = 0;
    long states = 0;  // states visited, those of the run searches included
};

// Searches the level's states (miner region, nuggets left, switches taken). Two kinds of move
// never spoil a level and are made at once when possible: stepping onto a switch the miner can
// reach, and delivering a nugget that can reach a basket with every other nugget left in place
// (both only add room). Only when neither exists does it branch: first on runs of one nugget
// that bring a switch within reach, then on single pushes, best first by nuggets left, then
// by pushes so far plus the pushes the nuggets still need at the least; it never pushes a
// nugget onto a square from which no basket can be reached or into a frozen 2 x 2 block.
// Every state visited, those of the run searches nested inside included, counts against
// `max_states`: the search gives up before it would visit one more.
SolveResult solve_level(const LevelModel &model, long max_states);

