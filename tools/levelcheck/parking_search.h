// How much planning a level asks for: the fewest parkings any solution needs.
//
// A parking is a nugget left part-way. In a solution's sequence of pushes, each push of a
// nugget other than the one pushed last, while that one is still outside a basket, counts one
// parking. Switch steps count nothing. A level needs k parkings when no solution has fewer; a
// level that needs none falls to a player who delivers the nuggets one at a time, each all the
// way into a basket before he touches another, in any order, fetching switches when he likes.
#pragma once

#include <string>
#include <vector>

#include "push_board.h"

struct ParkingResult {
    int parkings = -1;  // the fewest parkings of any solution; -1 when the search gave up first
    int at_least = 0;   // what every solution needs at least: `parkings` once it is known
    bool unsolvable = false;  // every state searched and none won
    std::vector<PuzzleMove> moves;  // a solution with `parkings` parkings and, of those, the
                                    // fewest pushes
    std::string frames;             // its key letters, one a frame
    int pushes = 0;
    long states = 0;  // states stored

    bool known() const { return parkings >= 0; }
};

// Searches the whole level's states (miner region, switches taken, nuggets' cells, the nugget
// under way) for a solution with the fewest parkings and, among those, the fewest pushes:
// A* on (parkings, pushes) with each nugget's push distance to a basket as the estimate. A
// switch the miner can walk to is stepped on at once, which only adds room. It stores at most
// `max_states` states; when that is not enough it reports how many parkings it proved needed.
ParkingResult fewest_parkings(const LevelModel &model, long max_states);
