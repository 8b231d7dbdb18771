// The strongest test there is: the shipped game, all twenty levels, played from the menu's
// start_game to the victory board through the real frame loop, with the level checker's stored
// solutions as the player's keys on the virtual clock.
#include "font/alfont.h"
#include "level/level_data.h"
#include "level/level_file.h"
#include "level_test_files.h"
#include "loop_test_game.h"
#include "play/game_start.h"
#include "script_platform.h"
#include "shell/shell.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

std::string stored_solution(int level)
{
    char name[32];
    std::snprintf(name, sizeof name, "/solutions/fase%02d.txt", level);
    std::ifstream in(std::string(LEVELS_DATA_DIR) + name);
    std::string keys, line;
    while (in >> line)
        keys += line;
    return keys;
}

int scancode(char key)
{
    switch (key) {
    case 'U': return KEY_UP;
    case 'D': return KEY_DOWN;
    case 'L': return KEY_LEFT;
    default: return KEY_RIGHT;
    }
}

// Holds, at every key read, the key of the current frame of the current level's solution. A
// frame ends with the frame delay's pause; a new level starts its solution from its first key.
struct SolutionPlayer {
    std::string solutions[LEVEL_COUNT + 1];
    int frame_delay;
    int level = 0;
    size_t frame = 0;
    long last_ms = 0;
    int highest_level = 0;
    int lowest_lives = 99;
};

}  // namespace

TEST(ShippedGame, AllTwentyLevelsArePlayedToTheVictoryBoard)
{
    BITMAP *canvas = create_bitmap(512, 384);
    ASSERT_TRUE(canvas);
    script_reset(canvas);
    WorkingDirectory cwd{GAME_DIR};
    // Without them every level would load empty and count as won at once.
    ASSERT_EQ(check_level_files(), 0) << "the levels are not in " << GAME_DIR << "/fases";
    game_state.close_requested = false;
    ASSERT_NE(alfont_init(), 1);

    static SolutionPlayer player;
    player = SolutionPlayer{};
    player.frame_delay = 50;
    for (int level = 1; level <= LEVEL_COUNT; level++) {
        player.solutions[level] = stored_solution(level);
        ASSERT_FALSE(player.solutions[level].empty()) << "no stored solution for level " << level;
    }

    script.on_time = [](ScriptPlatform &s) {
        if (s.now_ms - player.last_ms == player.frame_delay)
            player.frame++;
        player.last_ms = s.now_ms;
    };
    script.on_poll = [](ScriptPlatform &s) {
        if (game_state.level != player.level) {
            player.level = game_state.level;
            player.frame = 0;
        }
        player.highest_level = std::max(player.highest_level, game_state.level);
        player.lowest_lives = std::min(player.lowest_lives, game_state.lives);
        for (bool &held : s.keys)
            held = false;
        const std::string &keys = player.solutions[player.level];
        if (!game_state.completed && player.frame < keys.size())
            s.keys[scancode(keys[player.frame])] = true;
        if (game_state.completed) {  // the victory board's OK
            s.mouse_x = 320;
            s.mouse_y = 310;
            s.mouse_b = 1;
        }
    };

    int status = -1;
    try {
        show_game_end(start_game(GameSettings{1, 3, 1, player.frame_delay}));
    } catch (const ProcessExit &exit) {
        status = exit.status;
    }
    EXPECT_EQ(status, 0);
    EXPECT_EQ(player.highest_level, 20);
    EXPECT_TRUE(game_state.completed == 0);  // the victory board's OK cleared the level state
    EXPECT_EQ(player.lowest_lives, 1) << "a life was lost on the way";
    release_test_game();
    destroy_bitmap(canvas);
}
