// Checking one level pair from end to end: its files, its content, a solution found by the
// push search and proved by replaying it through the game's frame rules within the countdown.
#pragma once

#include <string>
#include <vector>

struct CheckOptions {
    long max_states = 1000000;  // search bound
    int difficulty = 3;         // the countdown is that of this difficulty (3: 33 s a nugget)
    int frame_delay_ms = 85;    // the slowest speed: a solution that fits here fits at every speed
    // A fair level is won in a third of its countdown, so that a player may think and err.
    int countdown_share = 3;
    long effort_cap = 500000;  // bound of the uninformed search that scores the difficulty
    long parking_states = 3000000;  // bound of the search for the fewest parkings
};

struct LevelReport {
    int level = 0;
    int area = 0;                     // as the game counts it, once the files are read
    std::vector<std::string> errors;  // any error fails the level
    std::vector<std::string> warnings;
    int nuggets = 0;
    int pushes = 0;
    int frames = 0;        // frames of the replayed solution
    int countdown = 0;     // seconds granted at the chosen difficulty
    long states = 0;       // search states explored
    long effort = 0;       // states of the uninformed breadth-first search: the difficulty
    bool effort_capped = false;  // that search stopped at its cap before winning
    bool naive_wins = false;     // the naive player's strategy wins the level
    int parkings = -1;           // the fewest parkings a solution needs; -1 if not found out
    int parkings_at_least = 0;   // what the parking search proved, when it gave up
    long parking_states = 0;     // states that search stored
    int solution_parkings = -1;  // parkings of the solution kept, counted on its replay
    int floor_cells = 0;   // floor the miner may reach
    int dead_cells = 0;    // of which no push path leads to a basket
    double seconds = 0;    // time spent checking
    std::string solution;  // one key letter a frame, when solved

    bool passed() const { return errors.empty(); }
    // Moves (one a frame) per push of the solution found.
    double walk_ratio() const { return pushes ? double(frames) / pushes : 0; }
    double dead_share() const { return floor_cells ? double(dead_cells) / floor_cells : 0; }
    // "2", or ">=1" when the parking search gave up having proved one needed.
    std::string parkings_text() const
    {
        return parkings >= 0 ? std::to_string(parkings)
                             : ">=" + std::to_string(parkings_at_least);
    }
    // The one-nugget-at-a-time player wins exactly when no parking is needed: "wins", "fails",
    // or "?" when the parking search gave up before it knew.
    const char *one_at_a_time() const
    {
        return parkings == 0 ? "wins" : parkings > 0 || parkings_at_least > 0 ? "fails" : "?";
    }
};

// Checks level `level` (1..20) whose files faseNN.plt and faseNN.plo lie in `fases_dir`.
LevelReport check_level(const std::string &fases_dir, int level, const CheckOptions &options);

// A checked level's figures as one line of text, and back (false for a line that is none):
// the checker's `--report` file, so that a test of the set reuses the checker's run rather
// than searching every level again. A failed level comes back with one error.
std::string report_line(const LevelReport &r);
bool read_report_line(const std::string &line, LevelReport &r);

// The file name of `level` without its folder: "fase07.plt" for 7 and ".plt".
std::string level_base_name(int level, bool tile_file);
