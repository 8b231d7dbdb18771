// The level loop over levels on disk: lost lives, won levels and passwords, the last level,
// the end of the game and the window closed, each read off the virtual clock and the screen.
#include "level/game_resources.h"
#include "loop_test_game.h"
#include "play/level_loop.h"
#include "shell/shell.h"
#include "ui/board.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class LevelLoop : public ::testing::Test {
protected:
    LoopRig rig;

    void SetUp() override
    {
        if (!rig.probe->ready())
            GTEST_SKIP() << "no outline font to read the messages with";
        rig.load_resources();
    }

    void plan(int level, std::vector<Plan> attempts) { rig.player.plans[level] = attempts; }

    // Level 4 (or `level`) won by one push at 140 ms, keys tapped at the times given, then the
    // window closed in the next level's first frame.
    void win_level_4(std::multimap<long, int> taps, int level = 4)
    {
        write_level(rig.dir, level, ONE_PUSH_RIGHT);
        write_level(rig.dir, level + 1, {"#####", "#@$o#", "#####"});
        rig.start_at(level);
        plan(level, {{{KEY_RIGHT, 140}}});
        plan(level + 1, {{{CLOSE_WINDOW, 1}}});
        script.timed_taps = std::move(taps);
        EXPECT_EQ(show_game_end({level_loop(), {}}), GameOutcome::closed);
    }
};

const std::vector<std::string> CORRIDOR = {
    "################################",
    "#@.............................#",
    "#$o#############################",
};

const char *LIFE_LOST = "[     VIDA PERDIDA]";

}  // namespace

// The countdown runs out while the miner walks: a tick at each of its last seconds, one life, and
// the level comes back with a full countdown; the countdown stops under the message.
TEST_F(LevelLoop, CountdownAtZeroCostsALifeAndTheLevelRestartsInFull)
{
    write_level(rig.dir, 1, CORRIDOR);
    rig.start_at(1);
    game_state.time = 2;
    plan(1, {{{KEY_RIGHT, 2100}}, {{CLOSE_WINDOW, 1}}});  // let go during the message

    EXPECT_EQ(show_game_end({level_loop(), {}}), GameOutcome::closed);

    // The second tick falls at 2000 ms, during the 29th frame's pause.
    EXPECT_EQ(rig.pauses.summary(), std::string("70*29 100 500") + LIFE_LOST + " 70");
    const auto &p = rig.pauses.pauses;
    EXPECT_EQ(p[27].time, 1);
    EXPECT_EQ(p[28].time, 0);
    EXPECT_EQ(p[28].player_col, p[27].player_col + 1) << "still walking";
    EXPECT_EQ(p[30].time, 0) << "the countdown stops under the message";
    EXPECT_EQ(script_count_log("play_sample 255 128 1000 0"), 2) << "ticks at 2 s and 1 s";
    EXPECT_EQ(p.back().time, 36);
    EXPECT_EQ(p.back().lives, 2);
    EXPECT_EQ(p.back().player_col, 1) << "back at the start";
}

// Escape held from the first frame through the restart: the press that ended the message is
// spent, so the first frame of the restart costs nothing; the next press (the scripted hold
// presses afresh at each pause) costs the second life.
TEST_F(LevelLoop, EscapeHeldThroughARestartCostsAnotherLife)
{
    write_level(rig.dir, 2, ONE_PUSH_RIGHT);
    rig.start_at(2);
    plan(2, {{{KEY_ESC, 60000}}, {{KEY_ESC, 60000}}, {{CLOSE_WINDOW, 1}}});

    EXPECT_EQ(show_game_end({level_loop(), {}}), GameOutcome::closed);

    EXPECT_EQ(rig.pauses.summary(), std::string("70 100 500") + LIFE_LOST + " 70*2 100 500" +
                                        LIFE_LOST + " 70");
    EXPECT_EQ(game_state.lives, 1);
}

// With the last life gone and Escape still held, the lost life is taken before the game over:
// the level comes back once more with 0 lives, and the game ends at the end of its first
// frame once Escape is let go. The first level of area 1 restarts its tune each time.
TEST_F(LevelLoop, LastLifeLostWithEscapeStillHeld)
{
    write_level(rig.dir, 1, ONE_PUSH_RIGHT);
    rig.start_at(1, 3);
    ASSERT_EQ(game_state.lives, 1);
    // Attempts as the player sees them: lives 1, then 0, then 1 again (set by the game over
    // test) during the message, then 0 in the level played once more.
    plan(1, {{{KEY_ESC, 60000}}, {{KEY_ESC, 60000}}, {{KEY_ESC, 100}}, {}});
    script.timed_taps = {{700, KEY_ESC}};  // ends the message; held on, it presses again
    script.mouse_shown = false;

    EXPECT_EQ(show_game_end({level_loop(), {}}), GameOutcome::lost);

    EXPECT_EQ(rig.pauses.summary(), std::string("70 100 530") + LIFE_LOST + " 70 100 500" +
                                        LIFE_LOST + " 70 100 500[      FIM DE JOGO]");
    std::vector<int> lives;
    for (const auto &pause : rig.pauses.pauses)
        lives.push_back(pause.lives);
    EXPECT_EQ(lives, (std::vector<int>{1, 1, 1, 0, 1, 1, 0, 1, 1}));
    EXPECT_EQ(script_count_log("play_midi 1"), 3);

    // The game-over sequence: tunes freed through the loader, defaults back, pointer shown and
    // the title picture on the screen.
    EXPECT_EQ(script_count_log("destroy_midi"), 5);
    for (MIDI *tune : area_music)
        EXPECT_EQ(tune, nullptr);
    EXPECT_EQ(game_state.area, 1);
    EXPECT_EQ(game_state.level, 1);
    EXPECT_EQ(game_state.lives, 3);
    EXPECT_STREQ(game_state.difficulty_name, "FACIL");
    EXPECT_EQ(game_state.seconds_per_nugget, 36);
    EXPECT_EQ(game_state.music_on, 1);
    EXPECT_EQ(game_state.out_of_lives, 0) << "the level state is clean for the next game";
    EXPECT_EQ(game_state.nuggets_remaining, 0);
    EXPECT_TRUE(script.mouse_shown);
    EXPECT_EQ(script.mouse_target, script.screen);
    EXPECT_EQ(getpixel(script.screen, 300, 10), title_colour());
    EXPECT_EQ(getpixel(script.screen, 500, 370), title_colour());
}

// Level 4 won: the message, the password of area 2, then level 5 in area 2 with its tune.
TEST_F(LevelLoop, WinningLevel4ShowsThePasswordAndStartsArea2)
{
    win_level_4({});

    EXPECT_EQ(rig.pauses.summary(),
              "70*2 100 500[ NIVEL CONCLUIDO ] 2500[ NIVEL CONCLUIDO |SENHA: 6PW6] 70");
    EXPECT_EQ(script.now_ms, 140 + 600 + 2500 + 70);
    EXPECT_EQ(game_state.level, 5);
    EXPECT_EQ(game_state.area, 2);
    EXPECT_EQ(game_state.nuggets_remaining, 1);
    EXPECT_EQ(game_state.time.load(), 36);
    EXPECT_EQ(script_count_log("play_midi 1"), 1) << "level 4 starts no tune, level 5 does";
}

// Keys during the messages of a won level 4, at planned times: Return in the first half second
// is too early and an arrow never counts; Space then ends " NIVEL CONCLUIDO " at once. The
// password waits past its 2.5 s for a key, any key, struck after them. A message waits for the
// player: an Escape 10 s late ends it and gives up nothing of the next level, whose countdown
// starts full with its first frame.
TEST_F(LevelLoop, KeysEndAMessageAfterHalfASecondAndThePasswordWaitsForOne)
{
    const long shown = 140 + 100;  // the message comes up after the winning frames
    win_level_4({{shown + 300, KEY_ENTER},
                 {shown + 600, KEY_RIGHT},
                 {shown + 900, KEY_SPACE},
                 {shown + 900 + 1000, KEY_A},
                 {shown + 900 + 4000, KEY_A}});

    const std::string won = "[ NIVEL CONCLUIDO ]", password = "[ NIVEL CONCLUIDO |SENHA: 6PW6]";
    EXPECT_EQ(rig.pauses.summary(), "70*2 100 900" + won + " 4000" + password + " 70");
    EXPECT_EQ(game_state.level, 5);

    rig.pauses = PauseLog{};
    rig.pauses.last_ms = script.now_ms;
    game_state.close_requested = false;
    win_level_4({{script.now_ms + shown + 10000, KEY_ESC}}, 2);
    EXPECT_EQ(rig.pauses.summary(), "70*2 100 10000" + won + " 70");
    EXPECT_EQ(game_state.lives, 3);
    EXPECT_EQ(rig.pauses.pauses.back().time, 36);
}

// Level 20 won: the message, no password, and the victory board, whose OK ends the process.
TEST_F(LevelLoop, WinningLevel20EndsWithTheVictoryBoard)
{
    write_level(rig.dir, 20, ONE_PUSH_RIGHT);
    rig.start_at(20);
    plan(20, {{{KEY_RIGHT, 140}}});
    script.mouse_shown = false;
    script.on_poll = [](ScriptPlatform &s) {
        if (game_state.completed) {  // the player clicks OK once the board is up
            s.pointer_x = 330;
            s.pointer_y = 308;
            s.buttons = 1;
        }
    };

    try {
        show_game_end({level_loop(), {}});
        FAIL() << "the level loop returned";
    } catch (const ProcessExit &exit) {
        EXPECT_EQ(exit.status, 0);
    }

    EXPECT_EQ(rig.pauses.summary(), "70*2 100 500[ NIVEL CONCLUIDO ] 100");
    EXPECT_TRUE(script.mouse_shown);
    int panel = 0;
    for (int y = 40; y <= 330; y++)
        for (int x = 130; x <= 380; x++)
            panel += getpixel(script.screen, x, y) == PANEL_INK;
    EXPECT_GT(panel, 20000) << "the victory board is on the screen";
    EXPECT_EQ(script_count_log("exit 0"), 1);
    EXPECT_EQ(game_state.completed, 0) << "the level state is cleared on the way out";
}

// A close request ends the game at the head of the loop, ahead of a life lost in the same
// frame, with no message; one made during a message cuts its pause short, and the sequence
// ends without waiting.
TEST_F(LevelLoop, ClosingTheWindowEndsTheGameAfterTheCurrentFrame)
{
    write_level(rig.dir, 3, {"######", "#@7$o#", "######"});
    rig.start_at(3);
    plan(3, {{{KEY_RIGHT, 70}, {CLOSE_WINDOW, 70}}});

    EXPECT_EQ(show_game_end({level_loop(), {}}), GameOutcome::closed);

    EXPECT_EQ(rig.pauses.summary(), "70*2");
    EXPECT_EQ(game_state.hazard_touched, 1);
    EXPECT_EQ(game_state.life_lost, 1);
    EXPECT_EQ(game_state.lives, 3);

    // Closed as "VIDA PERDIDA" comes up: no 5 s pause, but the life goes and the level is
    // loaded again; no frame follows.
    rig.pauses = PauseLog{};
    rig.pauses.last_ms = script.now_ms;
    game_state.close_requested = false;
    rig.player = ScriptedPlayer{};
    plan(3, {{{KEY_ESC, 70}, {CLOSE_WINDOW, 60000}}});
    rig.start_at(3);

    EXPECT_EQ(show_game_end({level_loop(), {}}), GameOutcome::closed);

    EXPECT_EQ(rig.pauses.summary(), "70 100");
    EXPECT_EQ(game_state.lives, 2);
    EXPECT_EQ(game_state.life_lost, 0);
    EXPECT_EQ(game_state.player_col, 1);
    EXPECT_EQ(game_state.time.load(), 36);
}

// A lost life restarts the tune on the first level of an area, and on no other level.
TEST_F(LevelLoop, LostLifeRestartsTheTuneOnlyOnAnAreasFirstLevel)
{
    for (int level : {5, 6}) {
        SCOPED_TRACE(level);
        write_level(rig.dir, level, ONE_PUSH_RIGHT);
        rig.player = ScriptedPlayer{};
        plan(level, {{{KEY_ESC, 70}}, {{CLOSE_WINDOW, 1}}});
        game_state.close_requested = false;
        script.log.clear();
        rig.start_at(level);

        EXPECT_EQ(show_game_end({level_loop(), {}}), GameOutcome::closed);

        EXPECT_EQ(game_state.lives, 2);
        EXPECT_EQ(script_count_log("play_midi 1"), level == 5 ? 2 : 0);
    }
}

// Focus and keys against the pause on a level never won, the window closed at `close_at`: the
// pauses the player sees, the countdown in the pause and in the frame after it (the tick due
// 40 ms after the pause began falls 40 ms after its end), the miner and the lives.
TEST_F(LevelLoop, PauseHoldsPlayUntilAResumeKeyWithTheFocusBack)
{
    struct Row {
        const char *what;
        std::multimap<long, int> taps;
        long close_at;
        std::string pauses;
        int paused_time, time_after, lives;
    };
    const std::string P = "[PAUSA]", L = LIFE_LOST;
    const Row rows[] = {
        {"away (a Return meanwhile), back, an arrow, Return", {{1950, FOCUS_OUT},
         {3000, KEY_ENTER}, {4000, FOCUS_IN}, {4200, KEY_RIGHT}, {4500, KEY_ENTER}}, 5000,
         "70*28 2540" + P + " 70*8", 35, 34, 3},
        {"P, then P", {{1950, KEY_P}, {3000, KEY_P}}, 4000, "70*28 1040" + P + " 70*15", 35, 34, 3},
        {"Escape in the pause, Space", {{1950, KEY_P}, {2300, KEY_ESC}, {2600, KEY_SPACE}}, 3000,
         "70*28 640" + P + " 70*6", 35, 34, 3},
        {"away twice, keypad Enter", {{1950, FOCUS_OUT}, {2500, FOCUS_IN}, {2700, FOCUS_OUT},
         {3000, FOCUS_IN}, {3200, KEY_ENTER_PAD}}, 4000, "70*28 1240" + P + " 70*12", 35, 34, 3},
        {"away during a message", {{300, KEY_ESC}, {600, FOCUS_OUT}, {6500, FOCUS_IN},
         {6800, KEY_ENTER}, {7000, KEY_ENTER}}, 7500, "70*5 100 6350" + L + " 200" + P + " 70*8",
         36, 36, 2},
        {"closed while away", {{1950, FOCUS_OUT}}, 3000, "70*28 1100" + P, 35, -1, 3},
    };
    write_level(rig.dir, 1, CORRIDOR);
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        script_reset(rig.screen);
        pf_set_close_handler(game_close_handler);
        game_state.close_requested = false;
        rig.pauses = PauseLog{};
        script.on_time = [&](ScriptPlatform &s) {
            rig.pauses.record(*rig.probe, s);
            if (s.now_ms >= row.close_at)
                script_press_close();
        };
        script.timed_taps = row.taps;
        rig.start_at(1);

        EXPECT_EQ(show_game_end({level_loop(), {}}), GameOutcome::closed);

        EXPECT_EQ(rig.pauses.summary(), row.pauses);
        const auto &p = rig.pauses.pauses;
        auto pause = std::find_if(p.begin(), p.end(), [](auto &q) { return q.shown == "PAUSA"; });
        ASSERT_NE(pause, p.end());
        EXPECT_EQ(pause->time, row.paused_time);
        EXPECT_EQ(pause + 1 != p.end() ? pause[1].time : -1, row.time_after);
        EXPECT_EQ(game_state.player_col, 1) << "nothing struck in the pause moves the miner";
        EXPECT_EQ(game_state.lives, row.lives);
        EXPECT_EQ(script_count_log("midi_pause"), 1);
        EXPECT_EQ(script_count_log("midi_resume"), row.time_after < 0 ? 0 : 1);
    }
}
