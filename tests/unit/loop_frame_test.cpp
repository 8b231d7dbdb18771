// One frame of play: barriers opening on the picture, the end-of-frame tests, a level with no
// nugget, the area tunes and the password texts.
#include "level/game_resources.h"
#include "loop_test_game.h"
#include "font/alfont.h"
#include "font/alfont_extra.h"
#include "play/game_start.h"
#include "play/level_loop.h"
#include "play/level_end.h"
#include "play/play_frame.h"
#include "play/playfield_render.h"
#include "render_test_images.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

class Frame : public ::testing::Test {
protected:
    LoopRig rig;
    FrameInput input;

    void SetUp() override
    {
        rig.player.active = false;
        rig.load_resources();
    }

    // A level start as the level loop does it, keys all up.
    void start(int level, const std::vector<std::string> &picture, int difficulty = 1)
    {
        write_level(rig.dir, level, picture);
        rig.start_at(level, difficulty);
        draw_tile_layer();
        draw_object_layer();
        for (bool &key : script.keys)
            key = false;
    }

    FrameReport frame_with(int key)
    {
        if (key)
            script.keys[key] = true;
        FrameReport end = play_frame(input);
        if (key)
            script.keys[key] = false;
        script_latch_keys();  // let go before the next frame's press
        return end;
    }
};

}  // namespace

// Switch '4' opens the X group in the very frame the miner steps on it: every X cell with
// nothing on it turns into area floor on the screen, except on the outer edge; a cell under a
// nugget stays shut until the nugget is gone; the W group, not switched, stays shut.
TEST_F(Frame, TakingASwitchOpensItsFreeBarrierCellsInTheSameFrame)
{
    start(9, {
                 "#####X####",
                 "#4@.X.&.W#",
                 "##########",
             });
    char why[200] = "";

    ASSERT_EQ(frame_with(KEY_LEFT).end, FrameEnd::played);

    EXPECT_EQ(game_state.x_opened, 1);
    EXPECT_EQ(level_grids.tile_map[1][4], 'I') << "area 3's floor";
    EXPECT_TRUE(cell_is(script.screen, 1, 4, tile_colour('I')));
    EXPECT_EQ(level_grids.tile_map[1][6], 'X');
    EXPECT_TRUE(cell_shows(script.screen, 1, 6, "X2", 0, why)) << why;
    EXPECT_EQ(level_grids.tile_map[0][5], 'X');
    EXPECT_TRUE(cell_is(script.screen, 0, 5, tile_colour('X')));
    EXPECT_EQ(level_grids.tile_map[1][8], 'W');
    EXPECT_TRUE(cell_is(script.screen, 1, 8, tile_colour('W')));

    EXPECT_EQ(level_grids.object_map[1][2], '0') << "the start marker is cleared";
    EXPECT_EQ(level_grids.object_map[1][1], '4') << "the miner still stands on the switch";
    frame_with(KEY_RIGHT);
    EXPECT_EQ(level_grids.object_map[1][1], '0') << "the switch is gone once he walked off";
    EXPECT_TRUE(cell_is(script.screen, 1, 1, tile_colour('I'))) << "plain area floor";

    // The flag stays set: once the nugget is gone the cell opens in the next frame.
    level_grids.object_map[1][6] = '0';
    frame_with(0);
    EXPECT_EQ(level_grids.tile_map[1][6], 'I');
    EXPECT_TRUE(cell_is(script.screen, 1, 6, tile_colour('I')));
    EXPECT_EQ(level_grids.tile_map[0][5], 'X');
}

// The tests after the frame's pause, each on a fresh start of the level.
TEST_F(Frame, EndOfFrameSetsLifeLostAndGameOver)
{
    const std::vector<std::string> corridor = {
        "########",
        "#@..7$o#",
        "########",
    };
    struct Case {
        const char *what;
        int key;
        int lives;
        int time;  // -1: as the level sets it
        LossCause cause;  // none: no life lost
        int out_of_lives, lives_after;
        int late_ms = 0;  // what the frame's present cost beyond 1x
    };
    const LossCause none = LossCause::none, escape = LossCause::escape;
    const Case cases[] = {
        {"nothing held", 0, 3, -1, none, 0, 3},
        {"an arrow held", KEY_RIGHT, 3, -1, none, 0, 3},
        {"Escape held", KEY_ESC, 3, -1, escape, 0, 3},
        {"countdown already at 0", 0, 2, 0, LossCause::time_up, 0, 2},
        {"no life left", 0, 0, -1, none, 1, 1},
        {"below no life", 0, -2, -1, none, 1, 1},
        {"no life left and Escape", KEY_ESC, 0, -1, escape, 1, 1},
        {"shown at 2x, its own present late", 0, 3, -1, none, 0, 3, 4},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        start(1, corridor);
        script.present_late_ms = c.late_ms;
        game_state.lives = c.lives;
        if (c.time >= 0)
            game_state.time = c.time;
        long before = script.now_ms;
        FrameReport report = frame_with(c.key);
        EXPECT_EQ(report.cause, c.cause);
        const bool lost = c.cause != none;
        EXPECT_EQ(report.end, lost ? FrameEnd::life_lost : FrameEnd::played);
        EXPECT_EQ(script.now_ms - before, 70 - c.late_ms) << "the frame delay, once";
        EXPECT_EQ(game_state.life_lost, lost);
        EXPECT_EQ(game_state.out_of_lives, c.out_of_lives);
        EXPECT_EQ(game_state.lives, c.lives_after);
    }

    // Walking onto a hazard: the miner stands on it and the life is lost in the same frame.
    start(1, corridor);
    frame_with(KEY_RIGHT);
    frame_with(KEY_RIGHT);
    EXPECT_EQ(game_state.life_lost, 0);
    EXPECT_EQ(frame_with(KEY_RIGHT).cause, LossCause::hazard);
    EXPECT_EQ(game_state.player_col, 4);
    EXPECT_EQ(game_state.life_lost, 1);
}

// A level with no nugget is won by its first frame, before the pause and the loss tests: an
// Escape held and its countdown of 0 cost nothing. The won-level sequence that the level loop
// runs then loads the next level.
TEST_F(Frame, LevelWithNoNuggetIsWonAtTheEndOfItsFirstFrame)
{
    write_level(rig.dir, 3, ONE_PUSH_RIGHT);
    start(2, {"####", "#@.#", "####"});
    ASSERT_EQ(game_state.time.load(), 0);
    long before = script.now_ms;

    EXPECT_EQ(frame_with(KEY_ESC).end, FrameEnd::all_delivered);
    EXPECT_EQ(script.now_ms, before);
    EXPECT_EQ(game_state.life_lost, 0);
    finish_won_level();

    EXPECT_EQ(script.now_ms - before, 100 + 500);
    EXPECT_EQ(game_state.level, 3);
    EXPECT_EQ(game_state.area, 1);
    EXPECT_EQ(game_state.lives, 3);
    EXPECT_EQ(game_state.nuggets_remaining, 1);
    EXPECT_EQ(game_state.time.load(), 36);
    EXPECT_EQ(game_state.player_col, 1);
    EXPECT_EQ(level_grids.object_map[1][2], '2');
    if (rig.probe->ready()) {
        EXPECT_EQ(rig.pauses.summary(), "100 500[ NIVEL CONCLUIDO ]");
    }
}

// Arrows as a keyboard gives them, one frame of 70 ms a beat: a tap between two frames steps
// once, however short, and taps keep their order, a held arrow's press too; a held arrow steps at its press, again
// 200 ms later, then every frame; a second arrow down stops the miner, and once it is let go
// the first, still held, walks on 200 ms later; an arrow held into a fresh level walks
// nowhere; Escape tapped between two frames gives the level up.
TEST_F(Frame, ArrowPressesStepOnceAndAHeldArrowRepeatsAfter200ms)
{
    struct Beat {
        const char *act;  // "tap L", "hold R", "free L", "afresh", ...: before the frame
        int col;          // the miner's column after it
    } beats[] = {
        {"tap L", 9},  {"", 9},       {"taps LR", 8}, {"", 9},       {"hold L", 8},
        {"", 8},       {"", 8},       {"", 7},        {"", 6},       {"hold R", 6},
        {"free L", 6}, {"", 6},       {"", 7},        {"free R", 7}, {"hold L", 6},
        {"free L", 6}, {"hold L", 5}, {"afresh", 5},  {"", 5},       {"", 5},
        {"", 5},       {"free L", 5}, {"tap L", 4},   {"hold R", 5}, {"hold L", 5},
        {"free L", 5}, {"", 5},       {"", 5},        {"", 6},       {"", 7},
        {"free R", 7}, {"tap R, hold L", 8}, {"", 7},  {"free L", 7},
    };
    start(1, {
                 "##################",
                 "#.........@....$o#",
                 "##################",
             });
    int number = 0;
    for (const Beat &beat : beats) {
        SCOPED_TRACE(std::string("beat ") + std::to_string(number++) + " " + beat.act);
        const std::string act = beat.act;
        const int arrow = !act.empty() && act.back() == 'L' ? KEY_LEFT : KEY_RIGHT;
        if (act == "taps LR") {
            script_tap(KEY_LEFT);
            script_tap(KEY_RIGHT);
        } else if (act == "tap R, hold L") {
            script_tap(KEY_RIGHT);
            script.keys[KEY_LEFT] = true;
        } else if (act.rfind("tap", 0) == 0) {
            script_tap(arrow);
        } else if (act.rfind("hold", 0) == 0) {
            script.keys[arrow] = true;
        } else if (act.rfind("free", 0) == 0) {
            script.keys[arrow] = false;
        } else if (act == "afresh") {
            start_walking_afresh(input);
        }
        script_latch_keys();
        ASSERT_EQ(play_frame(input).end, FrameEnd::played);
        EXPECT_EQ(game_state.player_col, beat.col);
    }
    EXPECT_EQ(game_state.life_lost, 0);
    script_tap(KEY_ESC);
    play_frame(input);
    EXPECT_EQ(game_state.life_lost, 1) << "a tap of Escape between frames";

    // Escape that ended a message gives nothing up until let go and pressed again.
    game_state.life_lost = 0;
    script.keys[KEY_ESC] = true;
    script_latch_keys();
    pf_drop_input();  // the message took that press
    input.escape_spent = true;
    play_frame(input);
    EXPECT_EQ(game_state.life_lost, 0) << "the message's Escape, still held";
    script.keys[KEY_ESC] = false;
    play_frame(input);
    script.keys[KEY_ESC] = true;
    play_frame(input);
    EXPECT_EQ(game_state.life_lost, 1) << "pressed afresh";
}

TEST_F(Frame, AreaTuneStartsOnlyAtTheFirstLevelOfAnArea)
{
    for (int level = 1; level <= 20; level++) {
        SCOPED_TRACE(level);
        game_state.level = level;
        game_state.area = 0;
        bool first = (level - 1) % 4 == 0;
        MIDI *expected = first ? area_music[(level - 1) / 4] : nullptr;
        ASSERT_TRUE(!first || expected) << "the rig's tunes load";
        EXPECT_EQ(start_area_music(), expected);
        EXPECT_EQ(game_state.area, first ? (level - 1) / 4 + 1 : 0);
    }
    EXPECT_EQ(script_count_log("play_midi 1"), 5);
    EXPECT_EQ(script_count_log("play_midi"), 5) << "always looped";

    // A tune that did not load plays nothing; the area is still entered.
    MIDI *kept = area_music[2];
    area_music[2] = nullptr;
    game_state.level = 9;
    EXPECT_EQ(start_area_music(), nullptr);
    EXPECT_EQ(game_state.area, 3);
    area_music[2] = kept;
    // Levels the game never sets touch nothing.
    for (int level : {0, -3, 21, 25}) {
        game_state.level = level;
        game_state.area = 4;
        EXPECT_EQ(start_area_music(), nullptr) << level;
        EXPECT_EQ(game_state.area, 4);
    }
    EXPECT_EQ(script_count_log("play_midi"), 5);
}

TEST(AreaPassword, TextShownOnReachingAnArea)
{
    EXPECT_EQ(area_password_text(2), "SENHA: 6PW6");
    EXPECT_EQ(area_password_text(3), "SENHA: R7B2");
    EXPECT_EQ(area_password_text(4), "SENHA: K2VV");
    EXPECT_EQ(area_password_text(5), "SENHA: F+J8");
    for (int none : {1, 0, 6, -1})
        EXPECT_EQ(area_password_text(none), "") << none;
}

// The play messages and the password over each area's wall, as the built game draws them: the
// ring hides the wall next to every letter (those pixels are the same on every wall), and the
// letters stand out from the ring by far more than the 4.5 : 1 that text needs.
TEST(PlayMessages, RingedLettersReadTheSameOnEveryAreasWall)
{
    const std::string game = GAME_DIR;
    script_reset(nullptr);
    ASSERT_NE(alfont_init(), 1);
    message_font = alfont_load_font((game + "/fontes/AIRLOCK.ttf").c_str());
    if (!message_font) {
        alfont_exit();
        GTEST_SKIP() << "the built game's message font is missing";
    }
    alfont_set_font_size(message_font, 20);
    auto luminance = [](int pixel) {
        auto channel = [](int c) {
            double v = c / 255.0;
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(getr(pixel)) + 0.7152 * channel(getg(pixel)) +
               0.0722 * channel(getb(pixel));
    };
    const int ring = makecol(MESSAGE_RING_RGB[0], MESSAGE_RING_RGB[1], MESSAGE_RING_RGB[2]);
    const struct {
        const char *text;
        int x, y, colour;
    } texts[] = {{LEVEL_WON_TEXT, MESSAGE_X, MESSAGE_Y, 0},
                 {GAME_OVER_TEXT, MESSAGE_X, MESSAGE_Y, 0},
                 {"SENHA: F+J8", PASSWORD_X, PASSWORD_Y, PASSWORD_COLOUR}};
    for (const auto &t : texts) {
        SCOPED_TRACE(t.text);
        double letters = luminance(t.colour), light = luminance(ring);
        EXPECT_GT((light + 0.05) / (letters + 0.05), 7.0);
        std::vector<BITMAP *> shots;
        for (char wall : {'C', 'G', 'K', 'O', 'S', '.'}) {
            BITMAP *shot = create_bitmap(512, 48);
            clear_to_color(shot, makecol(255, 255, 255));  // '.': a plain white ground
            BITMAP *tile = load_bitmap((game + "/tiles/t" + wall + ".bmp").c_str(), nullptr);
            ASSERT_TRUE(tile || wall == '.') << wall;
            for (int y = 0; tile && y < 48; y += 16)
                for (int x = 0; x < 512; x += 16)
                    blit(tile, shot, 0, 0, x, y, 16, 16);
            if (tile)
                destroy_bitmap(tile);
            script.screen = shot;
            draw_play_text(t.text, t.x, t.y, t.colour);
            shots.push_back(shot);
        }
        // A letter pixel has the letters' colour on every ground; the ring round it, the
        // same pixels on every ground.
        int letter_pixels = 0, differing = 0;
        for (int y = 1; y < 47; y++)
            for (int x = 1; x < 511; x++) {
                bool letter = true;
                for (BITMAP *shot : shots)
                    letter = letter && getpixel(shot, x, y) == t.colour;
                if (!letter)
                    continue;
                letter_pixels++;
                for (int dy = -1; dy <= 1; dy++)
                    for (int dx = -1; dx <= 1; dx++)
                        for (BITMAP *shot : shots)
                            differing += getpixel(shot, x + dx, y + dy) !=
                                         getpixel(shots[0], x + dx, y + dy);
            }
        EXPECT_GT(letter_pixels, 100);
        EXPECT_EQ(differing, 0) << "a wall pixel shows next to a letter";
        for (BITMAP *shot : shots)
            destroy_bitmap(shot);
    }
    alfont_destroy_font(message_font);
    message_font = nullptr;
    alfont_exit();
    script_reset(nullptr);
}
