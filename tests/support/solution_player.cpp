// The stored solutions played as arrow keys through the scripted platform.
#include "solution_player.h"

#include "level/level_data.h"
#include "play/game_start.h"
#include "play/game_state.h"
#include "play/play_frame.h"
#include "script_platform.h"
#include "shell/shell.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

std::string stored_solution(const std::string &data_dir, int level)
{
    char name[32];
    std::snprintf(name, sizeof name, "/solutions/fase%02d.txt", level);
    std::ifstream in(data_dir + name);
    std::string keys, line;
    while (in >> line)
        keys += line;
    return keys;
}

bool load_solutions(SolutionPlayer &player, const std::string &data_dir)
{
    for (int level = 1; level <= LEVEL_COUNT; level++) {
        player.solutions[level] = stored_solution(data_dir, level);
        if (player.solutions[level].empty())
            return false;
    }
    return true;
}

void attach_solution_player(SolutionPlayer &player)
{
    script.on_time = [&player](ScriptPlatform &s) {
        if (s.now_ms - player.last_ms == player.frame_delay) {
            player.frame++;
            player.frames++;
            // Each letter is a press of its own: the same arrow twice is let go in between.
            for (bool &held : s.keys)
                held = false;
            script_latch_keys();
        }
        player.last_ms = s.now_ms;
    };
    script.on_poll = [&player](ScriptPlatform &s) {
        if (game_state.level != player.level) {
            player.level = game_state.level;
            player.frame = 0;
            // The last arrow of the level before is let go: the first of this one is a press.
            for (bool &held : s.keys)
                held = false;
            script_latch_keys();
        }
        player.highest_level = std::max(player.highest_level, game_state.level);
        player.lowest_lives = std::min(player.lowest_lives, game_state.lives);
        for (bool &held : s.keys)
            held = false;
        const std::string &keys = player.solutions[player.level];
        Direction dir;
        if (!game_state.completed && player.frame < keys.size() &&
            letter_direction(keys[player.frame], dir))
            s.keys[arrow_key(dir)] = true;
        if (game_state.completed) {  // the victory board's OK
            s.pointer_x = 320;
            s.pointer_y = 310;
            s.buttons = 1;
        }
    };
}

int play_stored_game(SolutionPlayer &player)
{
    attach_solution_player(player);
    try {
        show_game_end(start_game(GameSettings{1, 3, 1, player.frame_delay}));
    } catch (const ProcessExit &exit) {
        return exit.status;
    }
    return -1;
}
