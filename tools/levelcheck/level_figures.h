// What a level asks of a player, in figures: how much an uninformed search must look at, whether
// a thoughtless strategy wins it, and how much of its floor is a trap for a nugget.
#pragma once

#include <vector>

#include "level_model.h"

// States visited by a breadth-first search over single pushes and switch steps, with no
// heuristic and no pruning but repeated states, until it reaches a won state; at most `cap`.
// `solved` tells whether it got there before the cap. The states are told apart by switches
// taken, nuggets' cells and the miner's region, as in the solver.
long breadth_first_effort(const LevelModel &model, long cap, bool &solved);

// The naive player: steps on every switch he can walk to, then takes the nugget with the
// shortest push run into a basket (planned as if the other nuggets were not there; reading
// order on ties) and plays that run against the real board, and so on until every nugget is
// in or a planned push or walk turns out to be blocked. True when he wins.
bool naive_strategy_wins(const LevelModel &model);

// Floor the miner may ever reach (barriers counted open, hazards not), and how many of those
// cells are dead for a nugget: no push path leads from there to any basket.
struct DeadFloor {
    int floor_cells = 0;
    int dead_cells = 0;
    double share() const { return floor_cells ? double(dead_cells) / floor_cells : 0; }
};
DeadFloor dead_floor(const LevelModel &model);

// The middle value of `values` (the mean of the two middle ones for an even count); 0 when
// empty.
double median(std::vector<long> values);
