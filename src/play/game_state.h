// The running game's record and the settings a game starts from, both process-wide (the other
// process-wide variables are listed in ARCHITECTURE.md); the rules take them by reference so
// tests can build their own.
#pragma once

#include <atomic>
#include <cstdint>

#include "level/level_data.h"
#include "level/level_file.h"

// What the options board produces and start_game consumes.
struct GameSettings {
    int start_level = 1;   // 1, 5, 9, 13 or 17
    int difficulty = 1;    // 1 FACIL, 2 MEDIO, 3 DIFICIL
    uint8_t sound = 1;     // 1 = area tunes play
    int frame_delay = 70;  // ms paused at the end of every frame: 50, 70 or 85
};

// The opened flags of the barrier groups come from BarrierFlags (level_data.h), so that the
// barrier table there names them.
struct GameState : BarrierFlags {
    int area = 0;                            // 1..5, always area_of_level(level) once set
    int level = 0;                           // 1..20
    int lives = 0;                           // shown on the status line
    const char *difficulty_name = nullptr;   // "FACIL", "MEDIO" or "DIFICIL"
    int seconds_per_nugget = 0;              // 36, 34 or 33
    uint8_t music_on = 0;                    // area tunes play when set
    int frame_delay = 0;                     // ms
    // Countdown in seconds, decremented by the timer handler from another thread; wraps from
    // 0 to 65535.
    std::atomic<uint16_t> time{0};
    int player_col = 0, player_row = 0;      // the miner's cell
    int prev_col = 0, prev_row = 0;          // the miner's cell at the start of the frame
    int nuggets_remaining = 0;               // nuggets not yet in a basket
    uint8_t hazard_touched = 0;              // stepped on '6', '7' or '8' this level
    uint8_t life_lost = 0, out_of_lives = 0, completed = 0;  // end conditions for the level loop
    // Set by the game's close handler; never cleared.
    std::atomic<bool> close_requested{false};
};

extern GameState game_state;
extern GameSettings game_settings;

// How a game ended, for the screen flow to decide what comes next.
enum class GameOutcome {
    closed,             // the window was closed during play or its game-over message
    lost,               // no lives left; the game-over sequence has run
    completed,          // the last level was won: the victory board comes next
    resources_missing,  // a picture of the game did not load; nothing was played
};

// One row of the difficulty table.
struct DifficultyRow {
    const char *name;        // shown on the status line
    int seconds_per_nugget;  // countdown granted per nugget of a level
    int lives;
};

// Difficulties 1 (FACIL), 2 (MEDIO) and 3 (DIFICIL), at index difficulty - 1.
extern const DifficultyRow DIFFICULTY_TABLE[3];

// Sets the name, seconds per nugget and lives of `difficulty` (1..3); any other value leaves
// the three as they were.
void apply_difficulty(GameState &state, int difficulty);

// The settings part of a game start: level and its area, music, frame delay, then the
// difficulty. Touches nothing else.
void apply_settings(GameState &state, const GameSettings &settings);

// What a game over leaves behind: area 1, level 1, 3 lives, FACIL, 36 s a nugget, music on.
// The next start_game overwrites these from its settings.
void restore_game_over_defaults(GameState &state);

// The game's window-close handler: only sets close requested in game_state.
void game_close_handler();

// The one-second countdown handler: time of game_state down by one, 0 wrapping to 65535.
// Runs in the timer's context and touches nothing else.
void tick_handler();

// Reads level `level` (level_file.h's read_level) into `grids` and puts what it found into
// `state`: its nuggets added to nuggets remaining, the last '1' as the player's cell (left as
// it was when there is none). Finally time = nuggets remaining x seconds per nugget modulo
// 65536, stored once. Lists and nuggets are added to, not cleared (reset_level_state does
// that). Always 0.
int load_level(GameState &state, LevelGrids &grids, int level, const LevelFileOpener &open);
// The game's form: game_state and level_grids, files relative to the working directory.
int load_level(int level);

// Clears the per-level state of `state` and `grids` (barrier lists, opened flags, end flags,
// player and previous cell, time, nuggets remaining); keeps close requested, area, level,
// lives, difficulty, music, frame delay and the grids' characters.
void reset_level_state(GameState &state, LevelGrids &grids);
