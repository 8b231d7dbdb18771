// The running game's record and the settings a game starts from. Process-wide records live
// here; the rules take them by reference so tests can build their own.
#pragma once

#include <atomic>
#include <cstdint>

#include "level/level_data.h"

// What the options board produces and start_game consumes.
struct GameSettings {
    int start_level = 1;   // 1, 5, 9, 13 or 17
    int difficulty = 1;    // 1 FACIL, 2 MEDIO, 3 DIFICIL
    uint8_t sound = 1;     // 1 = area tunes play
    int frame_delay = 70;  // ms paused at the end of every frame: 50, 70 or 85
};

struct GameState {
    int area = 0;                            // 1..5, always (level - 1) / 4 + 1 once set
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
    uint8_t x_opened = 0, w_opened = 0, uv_opened = 0;  // switch '4', '3', '5' taken
    uint8_t hazard_touched = 0;              // stepped on '6', '7' or '8' this level
    uint8_t life_lost = 0, game_over = 0, completed = 0;  // end conditions for the level loop
    // Set by the game's close handler (another thread); never cleared.
    std::atomic<bool> close_requested{false};
};

extern GameState game_state;
extern GameSettings game_settings;

// Clears the per-level state of `state` and `grids` (barrier lists, opened flags, end flags,
// player and previous cell, time, nuggets remaining); keeps close requested, area, level,
// lives, difficulty, music, frame delay and the grids' characters.
void reset_level_state(GameState &state, LevelGrids &grids);
