// The game's record: difficulty, the settings of a game start, the per-level reset and the
// one-second countdown.
#include "play/game_state.h"
#include "play/play_frame.h"
#include "rules_board.h"
#include "script_platform.h"

#include <gtest/gtest.h>

TEST(Difficulty, EachLevelGivesItsNameRateAndLives)
{
    const struct {
        int difficulty;
        const char *name;
        int seconds, lives;
    } rows[] = {{1, "FACIL", 36, 3}, {2, "MEDIO", 34, 2}, {3, "DIFICIL", 33, 1}};
    for (const auto &row : rows) {
        GameState s;
        apply_difficulty(s, row.difficulty);
        EXPECT_STREQ(s.difficulty_name, row.name);
        EXPECT_EQ(s.seconds_per_nugget, row.seconds);
        EXPECT_EQ(s.lives, row.lives);
    }
}

TEST(Difficulty, OutOfRangeLeavesTheValuesAsTheyWere)
{
    for (int bad : {0, 4, -1, 100}) {
        GameState s;
        apply_difficulty(s, 2);
        apply_difficulty(s, bad);
        EXPECT_STREQ(s.difficulty_name, "MEDIO");
        EXPECT_EQ(s.seconds_per_nugget, 34);
        EXPECT_EQ(s.lives, 2);
    }
}

TEST(GameStart, SettingsGiveLevelAreaMusicDelayAndDifficulty)
{
    const struct {
        int level, area;
    } starts[] = {{1, 1}, {4, 1}, {5, 2}, {8, 2}, {9, 3}, {13, 4}, {17, 5}, {20, 5}};
    for (const auto &start : starts) {
        GameState s;
        apply_settings(s, GameSettings{start.level, 3, 0, 85});
        EXPECT_EQ(s.level, start.level);
        EXPECT_EQ(s.area, start.area) << "start level " << start.level;
        EXPECT_EQ(s.music_on, 0);
        EXPECT_EQ(s.frame_delay, 85);
        EXPECT_EQ(s.lives, 1);
        EXPECT_EQ(s.seconds_per_nugget, 33);
        EXPECT_STREQ(s.difficulty_name, "DIFICIL");
    }
}

TEST(LevelReset, ClearsThePerLevelStateAndKeepsTheGame)
{
    Board b('Q', '5');
    GameState &s = b.state;
    apply_settings(s, GameSettings{9, 2, 0, 50});
    s.lives = 7;
    s.close_requested = true;
    s.time = 1234;
    s.player_row = 3, s.player_col = 4, s.prev_row = 5, s.prev_col = 6;
    s.nuggets_remaining = 9;
    s.x_opened = s.w_opened = s.uv_opened = 1;
    s.hazard_touched = s.life_lost = s.out_of_lives = s.completed = 1;
    for (BarrierList *list : {&b.grids.w_barriers, &b.grids.x_barriers, &b.grids.uv_barriers}) {
        list->count = list->capacity;
        for (int i = 0; i < list->capacity; i++)
            list->rows[i] = list->columns[i] = i + 1;
    }

    reset_level_state(s, b.grids);

    EXPECT_EQ(describe(s), "area 3 level 9 lives 7 name MEDIO spn 34 music 0 delay 50 time 0 "
                           "player 0,0 prev 0,0 nuggets 0 opened x0 w0 uv0 hazard 0 ends 000 "
                           "close 1");
    const BarrierList *lists[] = {&b.grids.w_barriers, &b.grids.x_barriers, &b.grids.uv_barriers};
    const int capacities[] = {20, 20, 500};
    for (int l = 0; l < 3; l++) {
        EXPECT_EQ(lists[l]->count, 0);
        EXPECT_EQ(lists[l]->capacity, capacities[l]) << "the capacity is not state";
        for (int i = 0; i < capacities[l]; i++)
            ASSERT_TRUE(lists[l]->rows[i] == 0 && lists[l]->columns[i] == 0) << l << " " << i;
    }
    EXPECT_EQ(b.grids.tile_map[23][31], 'Q');
    EXPECT_EQ(b.grids.object_map[0][0], '5');
}

TEST(Countdown, TickCountsDownAndWrapsAtZero)
{
    game_state.time = 2;
    tick_handler();
    EXPECT_EQ(game_state.time.load(), 1);
    tick_handler();
    tick_handler();
    EXPECT_EQ(game_state.time.load(), 65535);
    game_state.time = 0;
}

// Armed every frame, the countdown still falls once a second, and it keeps falling when the
// frames stop (messages, boards).
TEST(Countdown, ArmedEveryFrameItFallsOnceASecond)
{
    script_reset(nullptr);
    game_state.time = 100;
    for (int frame = 0; frame < 30; frame++) {  // 30 frames of 85 ms = 2.55 s
        arm_countdown();
        pf_rest(85);
    }
    EXPECT_EQ(game_state.time.load(), 98);
    pf_rest(5000);
    EXPECT_EQ(game_state.time.load(), 93);
    script_reset(nullptr);
    game_state.time = 0;
}
