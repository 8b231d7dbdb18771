// The options board: area passwords, the value cycles, and the board run with a scripted
// pointer and keyboard.
#include "level/cell_catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "board_pixels.h"
#include "ui/board.h"
#include "ui/options_board.h"

TEST(AreaPasswords, TenDistinctDigestsEachSelectingItsArea)
{
    std::set<int> digests;
    for (int area = 1; area <= AREA_COUNT; area++) {
        for (bool lower : {false, true}) {
            int digest = password_text_digest(AREA_PASSWORDS[area - 1], lower);
            digests.insert(digest);
            EXPECT_EQ(area_for_digest(digest), area) << AREA_PASSWORDS[area - 1] << lower;
        }
    }
    EXPECT_EQ(digests.size(), 10u);
    EXPECT_STREQ(AREA_PASSWORDS[1], "6PW6");
    EXPECT_STREQ(AREA_PASSWORDS[2], "R7B2");
    EXPECT_STREQ(AREA_PASSWORDS[3], "K2VV");
    EXPECT_STREQ(AREA_PASSWORDS[4], "F+J8");
    EXPECT_EQ(std::string(AREA_PASSWORDS[0]).size(), 4u);
}

TEST(AreaPasswords, DigestOfTheTypedKeys)
{
    EXPECT_EQ(password_digest('6', 'P', 'W', '6'), 80 * 54 + 87 - 54);
    EXPECT_EQ(password_text_digest("6pw6", false), password_text_digest("6PW6", true));
    EXPECT_EQ(password_text_digest("F+J8", true), password_digest('f', '+', 'j', '8'));
    // Typed keys carry the scancode above the character code.
    EXPECT_EQ(password_digest((KEY_6 << 8) | '6', (KEY_P << 8) | 'P', (KEY_W << 8) | 'W',
                              (KEY_6 << 8) | '6'),
              password_digest('6', 'P', 'W', '6'));
    // A key with no character (F1) counts as 0.
    EXPECT_EQ(password_digest(KEY_F1 << 8, 'a', 'b', 'c'), 'b' - 'c');
    // Other keys that happen to share a digest select the area too; plain others select none.
    EXPECT_EQ(area_for_digest(password_digest('6', 'P', 'A', ' ')), 2);
    EXPECT_EQ(area_for_digest(password_digest('A', 'B', 'C', 'D')), 0);
    EXPECT_EQ(area_for_digest(0), 0);
}

TEST(OptionCycles, EachClickTakesTheNextValue)
{
    OptionsState s;
    std::vector<std::string> speeds;
    for (int i = 0; i < 3; i++) {
        advance_speed(s);
        speeds.push_back(std::to_string(s.frame_delay) + " " + s.speed_label);
    }
    EXPECT_EQ(speeds, (std::vector<std::string>{"50 RAPIDA", "85 LENTA", "70 NORMAL"}));

    advance_sound(s);
    EXPECT_EQ(s.sound, 0);
    EXPECT_STREQ(s.sound_label, "NAO");
    advance_sound(s);
    EXPECT_EQ(s.sound, 1);
    EXPECT_STREQ(s.sound_label, "SIM");

    std::vector<std::string> levels;
    for (int i = 0; i < 3; i++) {
        advance_difficulty(s);
        levels.push_back(std::to_string(s.difficulty) + " " + s.difficulty_label);
    }
    EXPECT_EQ(levels, (std::vector<std::string>{"2 MEDIO", "3 DIFICIL", "1 FACIL"}));

    // A value outside its cycle stays, label and all.
    s.frame_delay = 60;
    s.difficulty = 7;
    s.sound = 2;
    advance_speed(s);
    advance_difficulty(s);
    advance_sound(s);
    EXPECT_EQ(s.frame_delay, 60);
    EXPECT_STREQ(s.speed_label, "NORMAL");
    EXPECT_EQ(s.difficulty, 7);
    EXPECT_EQ(s.sound, 2);
}

namespace {

// Points inside each hover box, and on the OK button.
constexpr int SPEED_X = 370, SPEED_Y = 238;
constexpr int SOUND_X = 312, SOUND_Y = 252;
constexpr int LEVEL_X = 330, LEVEL_Y = 267;
constexpr int PASSWORD_X = 330, PASSWORD_Y = 282;

void click_ok(ScriptPlatform &s)
{
    s.pointer_x = 430;
    s.pointer_y = 308;
    s.buttons = 1;
}

void press_at(int x, int y)
{
    script.pointer_x = x;
    script.pointer_y = y;
    script.buttons = 1;
}

class OptionsBoard : public ::testing::Test {
protected:
    void SetUp() override
    {
        bmp = make_board_screen();
        options_state = OptionsState{};
        options_close_requested = false;
        script.poll_limit = 100000;
    }
    bool shown(int x, int y, const char *text, int fg)
    {
        return text_shown(bmp.get(), x, y, text, fg, PANEL_INK);
    }
    int value_colour() { return makecol(225, 170, 20); }
    int message_colour() { return makecol(200, 200, 200); }

    BitmapPtr bmp;
};

// Once the typed keys are used up, the pointer goes to OK and clicks.
void ok_when_keys_typed(ScriptPlatform &s)
{
    if (s.typed.empty())
        click_ok(s);
}

}  // namespace

TEST_F(OptionsBoard, OkWithNoChangeGivesTheStartingSettings)
{
    click_ok(script);
    GameSettings g = run_options_board();
    EXPECT_EQ(g.start_level, 1);
    EXPECT_EQ(g.difficulty, 1);
    EXPECT_EQ(g.sound, 1);
    EXPECT_EQ(g.frame_delay, 70);
    EXPECT_EQ(script.now_ms, 0);
    ASSERT_NE(pf_close_handler(), nullptr);

    BITMAP *s = bmp.get();
    EXPECT_EQ(getpixel(s, 260, 200), makecol(150, 160, 170));
    EXPECT_EQ(getpixel(s, 270, 210), PANEL_INK);
    EXPECT_EQ(getpixel(s, 259, 200), makecol(40, 40, 40));
    EXPECT_TRUE(text_shown(s, 305, 202, "QUADRO DE OPCOES", 0, -1));
    int heading = makecol(255, 100, 20);
    EXPECT_TRUE(shown(275, 235, "VELOCIDADE:", heading));
    EXPECT_TRUE(shown(275, 250, "SOM:", heading));
    EXPECT_TRUE(shown(275, 265, "NIVEL:", heading));
    EXPECT_TRUE(shown(275, 280, "SENHA:", heading));
    EXPECT_TRUE(shown(365, 235, "NORMAL", value_colour()));
    EXPECT_TRUE(shown(310, 250, "SIM", value_colour()));
    EXPECT_TRUE(shown(325, 265, "FACIL", value_colour()));
    EXPECT_TRUE(shown(325, 280, "(    )", heading));
    EXPECT_TRUE(text_shown(s, 405, 305, "  OK!", makecol(229, 240, 31), -1));
}

TEST_F(OptionsBoard, PasswordInCapitalOrSmallLettersSelectsItsArea)
{
    for (const char *typed : {"6PW6", "6pw6"}) {
        SetUp();
        type_keys(typed);
        press_at(PASSWORD_X, PASSWORD_Y);
        bool stars_shown = false;
        script.on_poll = [&](ScriptPlatform &s) {
            if (s.typed.empty() && s.buttons == 1 && s.pointer_x == PASSWORD_X) {
                int star = makecol(180, 180, 180);
                stars_shown = shown(331, 280, "*", star) && shown(340, 280, "*", star) &&
                              shown(349, 280, "*", star) && shown(358, 280, "*", star);
                click_ok(s);
            }
        };
        GameSettings g = run_options_board();
        EXPECT_EQ(g.start_level, 5) << typed;
        EXPECT_EQ(options_state.password_area, 2) << typed;
        EXPECT_TRUE(stars_shown) << typed;
        EXPECT_TRUE(shown(277, 305, ">>> Area 02   ", message_colour())) << typed;
        EXPECT_EQ(script_count_log("clear_keybuf"), 4) << typed;
        EXPECT_EQ(script.now_ms, 0) << typed;
    }

    // Started by a short click, with another on the box while typing: that one starts no
    // second entry, and ">>> Area 02" stays until OK.
    SetUp();
    type_keys("6PW6");
    script.pointer_x = PASSWORD_X, script.pointer_y = PASSWORD_Y;
    bool clicked_while_typing = false;
    long emptied_at = -1;
    script.on_poll = [&](ScriptPlatform &s) {
        if (s.polls == 1)
            script_click();  // starts the entry
        if (s.typed.size() == 2 && !clicked_while_typing) {
            clicked_while_typing = true;
            script_click();
        }
        if (s.typed.empty() && emptied_at < 0)
            emptied_at = s.polls;
        if (emptied_at >= 0 && s.polls == emptied_at + 50)
            click_ok(s);
    };
    EXPECT_EQ(run_options_board().start_level, 5);
    EXPECT_TRUE(shown(277, 305, ">>> Area 02   ", message_colour()));
}

TEST_F(OptionsBoard, InvalidPasswordKeepsTheLastAcceptedArea)
{
    // The button stays held over the box: a second entry starts as soon as the first ends.
    type_keys("R7B2ABCD");
    press_at(PASSWORD_X, PASSWORD_Y);
    struct Moment {
        long ms;
        bool invalid_shown;
    };
    std::vector<Moment> moments;
    script.on_time = [&](ScriptPlatform &s) {
        moments.push_back({s.now_ms, shown(277, 305, "Senha Invalida", message_colour())});
    };
    script.on_poll = ok_when_keys_typed;
    GameSettings g = run_options_board();

    EXPECT_EQ(g.start_level, 9);
    EXPECT_EQ(options_state.password_area, 3);
    ASSERT_EQ(moments.size(), 2u);
    EXPECT_EQ(moments[0].ms, 250);  // a pause before the message...
    EXPECT_FALSE(moments[0].invalid_shown);
    EXPECT_EQ(moments[1].ms, 2000);  // ...which then stays 1750 ms
    EXPECT_TRUE(moments[1].invalid_shown);
    // And is blanked afterwards, the accepted area's text with it.
    EXPECT_EQ(count_colour(bmp.get(), 277, 305, 277 + 14 * 8 - 1, 312, PANEL_INK), 14 * 8 * 8);
    EXPECT_EQ(script_count_log("clear_keybuf"), 8);
}

TEST_F(OptionsBoard, HeldButtonOverSpeedCyclesEvery200ms)
{
    std::vector<std::string> seen;
    press_at(SPEED_X, SPEED_Y);
    script.on_time = [&](ScriptPlatform &s) {
        seen.push_back(std::to_string(s.now_ms) + " " + options_state.speed_label);
        if (seen.size() == 3)
            click_ok(s);
    };
    GameSettings g = run_options_board();
    EXPECT_EQ(seen, (std::vector<std::string>{"200 RAPIDA", "400 LENTA", "600 NORMAL"}));
    EXPECT_EQ(g.frame_delay, 70);
}

TEST_F(OptionsBoard, OneClickOnEachValue)
{
    // Click speed, sound and difficulty in turn, then leave the values so that a later pass
    // draws them afresh before OK.
    int clicks = 0;
    long left_at = -1;
    const int targets[][2] = {{SPEED_X, SPEED_Y}, {SOUND_X, SOUND_Y}, {LEVEL_X, LEVEL_Y}};
    press_at(targets[0][0], targets[0][1]);
    script.on_time = [&](ScriptPlatform &s) {
        if (++clicks < 3) {
            s.pointer_x = targets[clicks][0];
            s.pointer_y = targets[clicks][1];
        } else {
            s.pointer_x = 200;
            s.buttons = 0;
            left_at = s.polls;
        }
    };
    script.on_poll = [&](ScriptPlatform &s) {
        if (left_at >= 0 && s.polls == left_at + 10)
            click_ok(s);
    };
    GameSettings g = run_options_board();
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(script.now_ms, 600);
    EXPECT_EQ(g.sound, 0);
    EXPECT_EQ(g.difficulty, 2);
    EXPECT_EQ(g.frame_delay, 50);
    EXPECT_EQ(g.start_level, 1);
    EXPECT_TRUE(shown(365, 235, "RAPIDA", value_colour()));
    EXPECT_TRUE(shown(310, 250, "NAO", value_colour()));
    EXPECT_TRUE(shown(325, 265, "MEDIO  ", value_colour()));  // the blank covered "FACIL" fully
}

TEST_F(OptionsBoard, HoverHighlightsAndShorterLabelsLeaveNothingBehind)
{
    // Speed from RAPIDA to LENTA: the shorter label must not leave the old "A" behind.
    options_state.frame_delay = 50;
    options_state.speed_label = "RAPIDA";
    script.pointer_x = SPEED_X;
    script.pointer_y = SPEED_Y;
    bool lit_before_click = false, blank_after_click = false;
    long left_at = -1;
    script.on_poll = [&](ScriptPlatform &s) {
        if (s.polls == 50) {
            lit_before_click = shown(365, 235, "RAPIDA", makecol(229, 240, 31));
            s.buttons = 1;
        }
        if (left_at >= 0 && s.polls == left_at + 1)
            blank_after_click = shown(365, 235, "      ", makecol(229, 240, 31));
        if (left_at >= 0 && s.polls == left_at + 10)
            click_ok(s);
    };
    script.on_time = [&](ScriptPlatform &s) {
        s.pointer_x = 200;
        s.buttons = 0;
        left_at = s.polls;
    };
    GameSettings g = run_options_board();
    EXPECT_EQ(g.frame_delay, 85);
    EXPECT_TRUE(lit_before_click);
    EXPECT_TRUE(blank_after_click);
    EXPECT_TRUE(shown(365, 235, "LENTA ", value_colour()));
}

TEST_F(OptionsBoard, ChoicesSurviveASecondVisit)
{
    type_keys("k2vv");
    press_at(PASSWORD_X, PASSWORD_Y);
    script.on_poll = [](ScriptPlatform &s) {
        if (s.typed.empty() && s.pointer_x == PASSWORD_X) {
            s.pointer_x = LEVEL_X;
            s.pointer_y = LEVEL_Y;
        }
    };
    script.on_time = [](ScriptPlatform &s) { click_ok(s); };
    GameSettings first = run_options_board();
    EXPECT_EQ(first.start_level, 13);
    EXPECT_EQ(first.difficulty, 2);

    bmp = make_board_screen();  // the title screen covers the board meanwhile
    click_ok(script);
    GameSettings second = run_options_board();
    EXPECT_EQ(second.start_level, 13);
    EXPECT_EQ(second.difficulty, 2);
    EXPECT_EQ(second.sound, 1);
    EXPECT_EQ(second.frame_delay, 70);
    EXPECT_TRUE(shown(325, 265, "MEDIO", value_colour()));
    // No area text until a password is typed again.
    EXPECT_EQ(count_colour(bmp.get(), 277, 305, 277 + 14 * 8 - 1, 312, PANEL_INK), 14 * 8 * 8);
}

TEST_F(OptionsBoard, CloseEndsTheProcess)
{
    script.pointer_x = 200;
    script.on_poll = [](ScriptPlatform &s) {
        if (s.polls == 30)
            script_press_close();
    };
    try {
        run_options_board();
        ADD_FAILURE() << "board returned";
    } catch (const ProcessExit &e) {
        EXPECT_EQ(e.status, 0);
    }
    EXPECT_EQ(script.log, (std::vector<std::string>{"allegro_exit", "exit 0"}));

    // With the OK click in the same pass, the close still wins.
    SetUp();
    script.on_poll = [](ScriptPlatform &s) {
        click_ok(s);
        script_press_close();
    };
    EXPECT_THROW(run_options_board(), ProcessExit);
    EXPECT_TRUE(script_logged("allegro_exit"));
}

TEST_F(OptionsBoard, CloseDuringPasswordEntryEndsBeforeTheNextKey)
{
    // The close button while the third key is being typed: that key is read, the fourth is
    // not waited for.
    type_keys("F+J8");
    press_at(PASSWORD_X, PASSWORD_Y);
    script.on_poll = [](ScriptPlatform &s) {
        if (s.typed.size() == 2)
            script_press_close();
    };
    EXPECT_THROW(run_options_board(), ProcessExit);
    EXPECT_EQ(script.typed.size(), 1u);
    EXPECT_EQ(script.log.back(), "exit 0");
    EXPECT_EQ(options_state.password_area, 1);

    // With no key coming at all, the wait still watches the close button.
    SetUp();
    press_at(PASSWORD_X, PASSWORD_Y);
    script.on_poll = [](ScriptPlatform &s) {
        if (s.polls == 500)
            script_press_close();
    };
    EXPECT_THROW(run_options_board(), ProcessExit);
    EXPECT_GT(script.idles, 200) << "the wait for a key yields the processor";
}

TEST_F(OptionsBoard, APointerAtRestRedrawsNothing)
{
    // Resting on the sound value: it is lit once; a pixel of it changed afterwards stays
    // changed, so the board has not drawn the label again; the passes yield meanwhile.
    script.pointer_x = SOUND_X;
    script.pointer_y = SOUND_Y;
    const int mark = makecol(1, 2, 3);
    int mark_x = -1, mark_y = -1;
    bool kept = false;
    script.on_poll = [&](ScriptPlatform &s) {
        if (s.polls == 50)
            for (int y = 250; y < 258 && mark_x < 0; y++)
                for (int x = 310; x < 334 && mark_x < 0; x++)
                    if (getpixel(bmp.get(), x, y) == makecol(229, 240, 31)) {
                        mark_x = x, mark_y = y;
                        putpixel(bmp.get(), x, y, mark);
                    }
        if (s.polls == 2000) {
            kept = getpixel(bmp.get(), mark_x, mark_y) == mark;
            click_ok(s);
        }
    };
    run_options_board();
    ASSERT_GE(mark_x, 0) << "the sound value was never lit";
    EXPECT_TRUE(kept);
    EXPECT_GT(script.idles, 300);
    EXPECT_EQ(script.now_ms, 0) << "yields are no pauses of the board's own";

    // Resting on OK, after the keys lit a line and gave the light back: the passes yield.
    SetUp();
    script.on_poll = [](ScriptPlatform &s) {
        if (s.polls == 1)
            script_tap(KEY_DOWN);
        if (s.polls == 20)
            s.pointer_x = 430, s.pointer_y = 308;
        if (s.polls == 2000)
            s.buttons = 1;
    };
    run_options_board();
    EXPECT_GT(script.idles, 100) << "a pass of about a dozen reads, each yielding";
}

// Taps `keys` at the board's first look at the input (keys struck before it are dropped).
void tap_at_first_poll(std::vector<int> keys)
{
    script.on_poll = [keys](ScriptPlatform &s) {
        if (s.polls == 1)
            for (int scancode : keys)
                script_tap(scancode);
    };
}

// The board worked by keys alone, all struck at once and played in order: Up and Down walk
// speed, sound, difficulty, password and OK (wrapping), Left and Right cycle a value back or
// forth, Return and Space cycle it forth or press OK.
TEST_F(OptionsBoard, KeysWalkTheLinesCycleTheValuesAndPressOk)
{
    tap_at_first_poll({KEY_DOWN, KEY_RIGHT, KEY_RIGHT, KEY_LEFT, KEY_DOWN, KEY_SPACE, KEY_DOWN,
                       KEY_ENTER, KEY_UP, KEY_UP, KEY_UP, KEY_ENTER});
    GameSettings g = run_options_board();
    EXPECT_EQ(g.frame_delay, 50);
    EXPECT_EQ(g.sound, 0);
    EXPECT_EQ(g.difficulty, 2);
    EXPECT_TRUE(shown(365, 235, "RAPIDA", value_colour()));
    EXPECT_TRUE(shown(310, 250, "NAO", value_colour()));
    EXPECT_TRUE(shown(325, 265, "MEDIO  ", value_colour()));
    EXPECT_TRUE(text_shown(bmp.get(), 405, 305, "  OK!", makecol(229, 240, 31), -1));

    // One line lit at a time, and Escape is OK.
    SetUp();
    bool sound_alone = false;
    script.on_poll = [&](ScriptPlatform &s) {
        if (s.polls == 1) {
            script_tap(KEY_DOWN);
            script_tap(KEY_DOWN);
        }
        if (s.polls == 10) {
            sound_alone = shown(310, 250, "SIM", makecol(229, 240, 31)) &&
                          shown(365, 235, "NORMAL", value_colour());
            script_tap(KEY_ESC);
        }
    };
    EXPECT_EQ(run_options_board().sound, 1);
    EXPECT_TRUE(sound_alone);
}

// A password entry started by the keys: Backspace takes back the last key (none on an empty
// entry), Escape gives the entry up and leaves the board open, a click on OK gives it up and
// closes the board; the area chosen before stays.
TEST_F(OptionsBoard, BackspaceEscapeAndOkDuringAPasswordEntry)
{
    const int BACKSPACE = (KEY_BACKSPACE << 8) | 8, ESCAPE = (KEY_ESC << 8) | 27;
    const std::vector<int> typings[] = {
        {'R', '7', BACKSPACE, BACKSPACE, BACKSPACE, 'K', '2', 'V', 'V'},  // area 4
        {'K', ESCAPE},                                                    // given up
        {'K'},                                                            // OK clicked
    };
    for (const std::vector<int> &typing : typings) {
        SetUp();
        for (int code : typing)
            script.typed.push_back(code < 256 ? (KEY_A << 8) | code : code);
        long emptied_at = -1;
        script.on_poll = [&](ScriptPlatform &s) {
            if (s.polls == 1)
                for (int scancode : {KEY_DOWN, KEY_DOWN, KEY_DOWN, KEY_DOWN, KEY_ENTER})
                    script_tap(scancode);
            if (s.typed.empty() && emptied_at < 0)
                emptied_at = s.polls;
            if (emptied_at >= 0 && s.polls == emptied_at + 50)
                click_ok(s);
        };
        GameSettings g = run_options_board();
        const bool accepted = typing.size() == 9;
        EXPECT_EQ(options_state.password_area, accepted ? 4 : 1);
        EXPECT_EQ(g.start_level, accepted ? 13 : 1);
        EXPECT_EQ(shown(277, 305, "Digite a senha", message_colour()), false);
        EXPECT_EQ(shown(277, 305, ">>> Area 04   ", message_colour()), accepted);
        EXPECT_GE(script.polls, emptied_at + 50) << "the board waited for the click on OK";
    }
}
