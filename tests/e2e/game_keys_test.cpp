// The keyboard in a real window: the menu, the boards and the options worked by keys alone,
// short taps and presses of an arrow, and play messages that keys end or that wait for one.
#include "game_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

const Rgb PANEL_FACE{150, 160, 170};
const Rgb VALUE_LIT{229, 240, 31}, VALUE_NORMAL{225, 170, 20}, ANSWER_GREY{200, 200, 200};
constexpr PixelBox OK_LETTERS{421, 305, 444, 312};

// A tap as a hand makes it, with a moment before the next key: a release and a press of the
// same key at one instant of the X server's clock is how X tells a held key's repeat.
void tap(E2eSession &s, KeySym key)
{
    e2e_tap_key(s, key, 60);
    sleep_ms(40);
}

// The menu words lit now, by number 0..3.
std::vector<int> lit_words(const RgbImage &shot)
{
    std::vector<int> lit;
    for (int i = 0; i < 4; i++)
        if (count_near(shot, MENU_BOXES[i], WORD_HOVER) > 50)
            lit.push_back(i);
    return lit;
}

bool only_lit(E2eSession &s, int word)
{
    return e2e_wait_for([&] { return lit_words(e2e_grab_window(s)) == std::vector<int>{word}; },
                        3000);
}

bool shows_value(E2eSession &s, int x, int y, const char *text, Rgb colour)
{
    return e2e_wait_for([&] { return shows_text(e2e_grab_window(s), x, y, text, colour); }, 3000);
}

}  // namespace

TEST(GameKeys, MenuBoardsAndOptionsAreWorkedByTheKeysAlone)
{
    E2eSession s(GAME_DIR);
    ASSERT_TRUE(start_to_title(s));
    e2e_focus(s);

    // Down from nothing lights the first word; the light moves, one word at a time, wrapping.
    tap(s, XK_Down);
    ASSERT_TRUE(only_lit(s, 0));
    tap(s, XK_Down);
    ASSERT_TRUE(only_lit(s, 1));
    tap(s, XK_Up);
    tap(s, XK_Up);
    ASSERT_TRUE(only_lit(s, 3)) << "Up from the first word wraps to the last";
    tap(s, XK_Down);
    tap(s, XK_Down);
    ASSERT_TRUE(only_lit(s, 1));

    // Return opens the help board; Escape is its OK, and the menu keeps the word the keys lit.
    tap(s, XK_Return);
    ASSERT_TRUE(e2e_wait_for([&] { return rgb_near(e2e_pixel(s, 235, 200), PANEL_FACE); }, 3000));
    tap(s, XK_Escape);
    ASSERT_TRUE(only_lit(s, 1));

    // Down, then Space, opens the options board from the third word.
    tap(s, XK_Down);
    ASSERT_TRUE(only_lit(s, 2));
    tap(s, XK_space);
    ASSERT_TRUE(e2e_wait_for([&] { return rgb_near(e2e_pixel(s, 265, 250), PANEL_FACE); }, 3000));

    tap(s, XK_Down);
    EXPECT_TRUE(shows_value(s, 365, 235, "NORMAL", VALUE_LIT));
    tap(s, XK_Right);
    EXPECT_TRUE(shows_value(s, 365, 235, "RAPIDA", VALUE_LIT));
    tap(s, XK_Left);
    EXPECT_TRUE(shows_value(s, 365, 235, "NORMAL", VALUE_LIT));
    tap(s, XK_Down);
    EXPECT_TRUE(shows_value(s, 365, 235, "NORMAL", VALUE_NORMAL)) << "one line lit at a time";
    tap(s, XK_Return);
    EXPECT_TRUE(shows_value(s, 310, 250, "NAO", VALUE_LIT));

    // The password entry, started and given up by keys.
    tap(s, XK_Down);
    tap(s, XK_Down);
    tap(s, XK_Return);
    EXPECT_TRUE(shows_value(s, 277, 305, "Digite a senha", ANSWER_GREY));
    tap(s, XK_Escape);
    EXPECT_TRUE(e2e_wait_for(
        [&] { return !shows_text(e2e_grab_window(s), 277, 305, "Digite a senha", ANSWER_GREY); },
        3000))
        << "Escape gives the entry up";
    EXPECT_TRUE(rgb_near(e2e_pixel(s, 265, 250), PANEL_FACE)) << "and leaves the board open";

    tap(s, XK_Down);
    EXPECT_TRUE(e2e_wait_for(
        [&] { return count_near(e2e_grab_window(s), OK_LETTERS, VALUE_LIT) > 10; }, 3000));
    tap(s, XK_Return);
    ASSERT_TRUE(only_lit(s, 2));

    // Once the pointer moves the keys' light is gone; Up from nothing lights "Sair"; Return
    // quits.
    e2e_mouse_move(s, 450, 40);
    ASSERT_TRUE(e2e_wait_for([&] { return menu_words_normal(e2e_grab_window(s)); }, 3000));
    tap(s, XK_Up);
    ASSERT_TRUE(only_lit(s, 3));
    tap(s, XK_Return);
    EXPECT_EQ(e2e_wait_exit(s, 5000), 0);
}

// A corridor on row 12: the miner at column 20, walls round it, a nugget far right so that the
// level is not won.
static void put_corridor(E2eSession &s)
{
    std::string tiles, objects;
    for (int row = 0; row < 24; row++) {
        std::string tile_row(32, 'B'), object_row(32, '0');
        if (row == 12) {
            tile_row.replace(2, 28, std::string(27, 'A') + "Y");
            object_row[20] = '1';
            object_row[27] = '2';
        }
        tiles += tile_row + "\n";
        objects += object_row + "\n";
    }
    put_every_level(s, tiles, objects);
}

// The column of row 12 whose picture is the miner's (as `start` shows him at column 20).
static int miner_column(const RgbImage &start, const RgbImage &shot)
{
    for (int col = 2; col < 27; col++) {
        int differing = 0;
        for (int y = 0; y < 16; y++)
            for (int x = 0; x < 16; x++)
                if (!rgb_near(start.at(320 + x, 192 + y), shot.at(col * 16 + x, 192 + y)))
                    differing++;
        if (differing == 0)
            return col;
    }
    return -1;
}

TEST(GameKeys, ATapAndAShortPressStepOneCellAndAHoldWalks)
{
    E2eSession s(GAME_DIR);
    put_corridor(s);
    ASSERT_TRUE(start_to_title(s));
    ASSERT_TRUE(play_started(s)) << e2e_program_output(s);
    e2e_focus(s);
    sleep_ms(300);
    RgbImage start = e2e_grab_window(s);
    auto column = [&] { return miner_column(start, e2e_grab_window(s)); };
    ASSERT_EQ(column(), 20);

    e2e_tap_key(s, XK_Left, 20);
    EXPECT_TRUE(e2e_wait_for([&] { return column() == 19; }, 2000)) << "a 20 ms tap";
    sleep_ms(500);
    EXPECT_EQ(column(), 19) << "one cell only";

    e2e_tap_key(s, XK_Left, 100);
    EXPECT_TRUE(e2e_wait_for([&] { return column() == 18; }, 2000)) << "a 100 ms press";
    sleep_ms(500);
    EXPECT_EQ(column(), 18) << "one cell only";

    // Held: a step at once, the next after 200 ms, then one a frame.
    e2e_tap_key(s, XK_Left, 700);
    sleep_ms(300);
    int walked_to = column();
    EXPECT_GE(walked_to, 3);
    EXPECT_LE(walked_to, 15) << "a held arrow walks";

    e2e_request_close(s);
    EXPECT_EQ(e2e_wait_exit(s, 5000), 0);
}

TEST(GameKeys, ReturnEndsAMessageAndThePasswordWaitsForAKey)
{
    E2eSession s(GAME_DIR);
    ASSERT_TRUE(start_tiny_game(s)) << e2e_program_output(s);
    e2e_focus(s);
    sleep_ms(200);
    RgbImage level = e2e_grab_window(s);
    ASSERT_TRUE(reach_area_password(s, level));
    sleep_ms(3000);
    // The window's keys and lone modifiers act on the window, never on the wait: F11 twice
    // (there and back), Ctrl+Minus at the smallest scale, Shift, Ctrl.
    for (int i = 0; i < 2; i++) {
        e2e_tap_key(s, XK_F11, 40);
        sleep_ms(500);
    }
    e2e_key_down(s, XK_Control_L);
    e2e_tap_key(s, XK_minus, 40);
    e2e_key_up(s, XK_Control_L);
    e2e_tap_key(s, XK_Shift_L, 40);
    e2e_tap_key(s, XK_Control_L, 40);
    sleep_ms(500);
    RgbImage waiting = e2e_grab_window(s);
    e2e_write_png(waiting, std::string(GAME_DIR) + "/../e2e-shots/password.png");
    EXPECT_GT(pixels_changed(level, waiting, PASSWORD_AREA), 100)
        << "still shown after 4 s and the window's keys";
    e2e_tap_key(s, XK_Return, 40);
    EXPECT_TRUE(e2e_wait_for(
        [&] { return pixels_changed(level, e2e_grab_window(s), PASSWORD_AREA) < 20; }, 2000))
        << "a key ends the password's pause";

    e2e_request_close(s);
    EXPECT_EQ(e2e_wait_exit(s, 5000), 0);
}
