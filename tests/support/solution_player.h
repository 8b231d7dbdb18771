// The level checker's stored solutions pressed as arrow keys on the scripted platform: the
// player of the whole-game test and of the benchmark's whole game.
#pragma once

#include "level/level_file.h"

#include <string>

// The key letters of level `level`'s stored solution in `data_dir`/solutions, one a frame;
// empty when there is none.
std::string stored_solution(const std::string &data_dir, int level);

// Holds, at every key read, the key of the current frame of the current level's solution. A
// frame ends with the frame delay's pause; a new level starts its solution from its first key.
// Once the game is completed it clicks the victory board's OK.
struct SolutionPlayer {
    std::string solutions[LEVEL_COUNT + 1];
    int frame_delay = 50;
    int level = 0;
    size_t frame = 0;
    long last_ms = 0;
    long frames = 0;          // frames played over the whole game
    int highest_level = 0;    // the furthest level reached
    int lowest_lives = 99;    // the fewest lives seen
};

// Loads every level's solution from `data_dir`; false when one is missing.
bool load_solutions(SolutionPlayer &player, const std::string &data_dir);

// Makes `player` the scripted platform's player (its on_time and on_poll), from the game's
// first frame on. The player must outlive the game.
void attach_solution_player(SolutionPlayer &player);

// A whole game from level 1 at the hardest difficulty with `player` at the keys, through
// start_game and the screen flow's end of a game: the exit status the game ended with (the
// victory board's OK gives 0), or -1 when it returned without ending the process.
int play_stored_game(SolutionPlayer &player);
