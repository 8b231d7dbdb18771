// The strongest test there is: the shipped game, all twenty levels, played from the menu's
// start_game to the victory board through the real frame loop, with the level checker's stored
// solutions as the player's keys on the virtual clock.
#include "font/alfont.h"
#include "level/level_data.h"
#include "level/level_file.h"
#include "level_test_files.h"
#include "loop_test_game.h"
#include "play/game_state.h"
#include "script_platform.h"
#include "solution_player.h"

#include <allegro.h>
#include <gtest/gtest.h>

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
    ASSERT_TRUE(load_solutions(player, LEVELS_DATA_DIR)) << "a stored solution is missing";

    int status = play_stored_game(player);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(player.highest_level, 20);
    EXPECT_TRUE(game_state.completed == 0);  // the victory board's OK cleared the level state
    EXPECT_EQ(player.lowest_lives, 1) << "a life was lost on the way";
    release_test_game();
    destroy_bitmap(canvas);
}
