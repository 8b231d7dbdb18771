// Whole games through start_game, played by a scripted player on the virtual clock: areas 4
// and 5 to the victory board, and a game over followed by a second game.
#include "font/alfont_extra.h"
#include "level/game_resources.h"
#include "loop_test_game.h"
#include "play/game_start.h"
#include "shell/shell.h"
#include "ui/board.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

namespace {

class WholeGame : public ::testing::Test {
protected:
    LoopRig rig;

    void SetUp() override
    {
        if (!rig.probe->ready())
            GTEST_SKIP() << "no outline font to read the messages with";
    }

    void level(int number, const std::vector<std::string> &picture, std::vector<Plan> attempts)
    {
        write_level(rig.dir, number, picture);
        rig.player.plans[number] = attempts;
    }
};

// The process's resident size in bytes, from /proc.
long resident_bytes()
{
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

const std::string WON = " NIVEL CONCLUIDO ";
const std::string LOST = "     VIDA PERDIDA";

}  // namespace

// Eight small levels from the password start of area 4: pushes in four directions, a switch
// that opens the way, a hazard that costs a life before the way round it is taken, and an
// Escape; area 5's password on the way; the victory board's OK ends the process.
TEST_F(WholeGame, FromArea4ToTheVictoryBoard)
{
    level(13, {"#######", "#@.$.o#", "#######"}, {{{KEY_RIGHT, 300}}});
    level(14, {"###", "#@#", "#.#", "#$#", "#.#", "#o#", "###"}, {{{KEY_DOWN, 300}}});
    level(15, {"########", "#4@$X.o#", "########"}, {{{KEY_LEFT, 100}, {KEY_RIGHT, 400}}});
    level(16,
          {
              "########",
              "#@7.$.o#",
              "#.#.####",
              "#...####",
              "########",
          },
          {{{KEY_RIGHT, 100}},
           {{KEY_DOWN, 150}, {KEY_RIGHT, 150}, {KEY_UP, 150}, {KEY_RIGHT, 150}}});
    level(17, ONE_PUSH_RIGHT, {{{KEY_RIGHT, 200}}});
    level(18, {"###", "#o#", "#.#", "#$#", "#.#", "#@#", "###"},
          {{{KEY_ESC, 60}}, {{KEY_UP, 250}}});
    level(19, {"#######", "#o.$.@#", "#######"}, {{{KEY_LEFT, 250}}});
    level(20,
          {
              "#######",
              "#@$.z##",
              "#.#####",
              "#$#####",
              "#.#####",
              "#o#####",
              "#######",
          },
          {{{KEY_RIGHT, 150}, {KEY_LEFT, 150}, {KEY_DOWN, 250}}});
    script.on_poll = [](ScriptPlatform &s) {
        if (game_state.completed) {  // OK, once the board is up
            s.pointer_x = 320;
            s.pointer_y = 310;
            s.buttons = 1;
        }
    };

    try {
        show_game_end(start_game(GameSettings{13, 1, 1, 50}));
        FAIL() << "the game returned";
    } catch (const ProcessExit &exit) {
        EXPECT_EQ(exit.status, 0);
    }

    // Frames with a pause per level: one before the player reacts, then his steps; the frame
    // that delivers the last nugget has none.
    const std::string won = " 100 500[" + WON + "]", lost = " 100 500[" + LOST + "]";
    EXPECT_EQ(rig.pauses.summary(),
              "50*3" + won + " 50*3" + won + " 50*6" + won +       // levels 13, 14, 15
                  " 50*2" + lost + " 50*11" + won +                 // 16: hazard, way round
                  " 2500[" + WON + "|SENHA: F+J8]" +                // area 5 reached
                  " 50*2" + won + " 50" + lost + " 50*3" + won +    // 17, 18: Escape, then up
                  " 50*3" + won + " 50*9" + won + " 100");          // 19, 20, victory board
    EXPECT_EQ(script_count_log("play_midi 1"), 2) << "areas 4 and 5";
    EXPECT_EQ(game_state.lives, 1);
    int panel = 0;
    for (int y = 40; y <= 330; y++)
        for (int x = 130; x <= 380; x++)
            panel += getpixel(script.screen, x, y) == PANEL_INK;
    EXPECT_GT(panel, 20000) << "the victory board is on the screen";
}

// A game lost on its first level, then a new game from the title with other settings: the
// tunes freed by the game over are loaded again, and the window closed in play ends it.
TEST_F(WholeGame, GameOverThenASecondGame)
{
    level(1, {"######", "#@6$o#", "######"}, {{{KEY_RIGHT, 100}}});

    EXPECT_EQ(show_game_end(start_game(GameSettings{1, 3, 1, 85})), GameOutcome::lost);

    EXPECT_EQ(rig.pauses.summary(), "85*2 100 500[" + LOST + "] 85 100 500[      FIM DE JOGO]");
    EXPECT_EQ(script_count_log("destroy_midi"), 5);
    EXPECT_EQ(getpixel(script.screen, 256, 100), title_colour());

    rig.pauses = PauseLog{};
    rig.pauses.last_ms = script.now_ms;
    rig.player = ScriptedPlayer{};
    script.log.clear();
    level(5, ONE_PUSH_RIGHT, {{{KEY_RIGHT, 150}}});
    level(6, {"#####", "#@$o#", "#####"}, {{{CLOSE_WINDOW, 1}}});

    EXPECT_EQ(show_game_end(start_game(GameSettings{5, 2, 0, 50})), GameOutcome::closed);

    EXPECT_EQ(rig.pauses.summary(), "50*2 100 500[" + WON + "] 50");
    EXPECT_EQ(game_state.level, 6);
    EXPECT_EQ(game_state.area, 2);
    EXPECT_EQ(game_state.lives, 2);
    EXPECT_STREQ(game_state.difficulty_name, "MEDIO");
    EXPECT_EQ(script_count_log("play_midi"), 0) << "music off";
    for (MIDI *tune : area_music)
        EXPECT_NE(tune, nullptr) << "loaded again";
    EXPECT_EQ(script_count_log("destroy_midi"), 0) << "nothing freed twice";
}

// Fifty games given up at once with Escape, each to its game over and the title: every start
// loads the message font again, and what the last one held must go with it.
TEST_F(WholeGame, FiftyGameStartsKeepTheResidentSizeFlat)
{
    level(1, {"######", "#@.$o#", "######"}, {});
    auto give_up_a_game = [&] {
        rig.player = ScriptedPlayer{};
        rig.player.plans[1] = {{{KEY_ESC, 60}}};
        rig.pauses = PauseLog{};
        rig.pauses.last_ms = script.now_ms;
        script.log.clear();
        ASSERT_EQ(show_game_end(start_game(GameSettings{1, 3, 0, 50})), GameOutcome::lost);
    };
    // The second start swaps one set of pictures for another, holding both for a moment: the
    // heap reaches its working size there, and from then on it must stay.
    give_up_a_game();
    give_up_a_game();
    long after_second = resident_bytes();
    for (int game = 3; game <= 50; game++)
        give_up_a_game();
    long grown = resident_bytes() - after_second;
    EXPECT_LT(grown, 1024 * 1024) << "kB after the second game: " << after_second / 1024;
    EXPECT_EQ(alfont_font_count(), 2) << "the menu font and one message font";
}

// The close button during the game-over message: the game ends closed at once, with no
// title drawn for a menu that would never see the request.
TEST_F(WholeGame, CloseDuringTheGameOverMessageEndsTheGameClosed)
{
    level(1, {"######", "#@6$o#", "######"}, {{{KEY_RIGHT, 100}}});
    auto watch = script.on_time;
    script.on_time = [&](ScriptPlatform &s) {
        watch(s);
        if (game_state.out_of_lives)
            script_press_close();  // in the pause before the message
    };

    EXPECT_EQ(show_game_end(start_game(GameSettings{1, 3, 1, 85})), GameOutcome::closed);

    EXPECT_EQ(rig.pauses.summary(), "85*2 100 500[" + LOST + "] 85 100");
    EXPECT_EQ(script_count_log("destroy_midi"), 5);
    EXPECT_NE(getpixel(script.screen, 256, 100), title_colour());
    EXPECT_FALSE(script.mouse_shown);
}
