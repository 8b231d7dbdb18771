// The help and options boards in a real window: opened from the menu beside it, their panel
// colours, the OK button and a password typed on the keyboard.
#include "game_support.h"

#include <gtest/gtest.h>

static const Rgb PANEL_FACE{150, 160, 170}, PANEL_EDGE{120, 130, 140}, BUTTON_FACE{100, 100, 100};
// The raw 16-bit pixel 8 (blue 8 of 31, no red or green) as the X screen shows it.
static const Rgb PANEL_INK_ON_SCREEN{0, 0, 66};
static const Rgb OK_NORMAL{255, 255, 255}, OK_HOVER{229, 240, 31};
// Where both boards' OK label "  OK!" shows its letters.
static constexpr PixelBox OK_LETTERS{421, 305, 444, 312};
static constexpr int OK_X = 432, OK_Y = 308;

static bool near(Rgb seen, Rgb wanted)
{
    return rgb_near(seen, wanted);
}

// Clicks OK and waits for the title with its four words in their normal colour, the pointer
// back right of the menu; the picture must also cover the board again at `board_pixel`.
static bool ok_back_to_title(E2eSession &s, int board_x, int board_y)
{
    e2e_click(s, OK_X, OK_Y);
    e2e_mouse_move(s, 480, 370);
    RgbImage picture = read_title_picture();
    return e2e_wait_for([&] {
        RgbImage shot = e2e_grab_window(s);
        return menu_words_normal(shot) &&
               rgb_near(shot.at(board_x, board_y), picture.at(board_x, board_y));
    }, 5000);
}

TEST(GameHelpBoard, OpensBesideTheLitWordAndOkBringsBackTheTitle)
{
    E2eSession s(GAME_DIR);
    ASSERT_TRUE(start_to_title(s));
    ASSERT_TRUE(open_help(s));
    RgbImage shot = e2e_grab_window(s);
    // Panel (230, 40)-(480, 330): face, edge line one pixel in, dark inner area ten in.
    EXPECT_PRED2(near, shot.at(230, 40), PANEL_FACE);
    EXPECT_PRED2(near, shot.at(480, 330), PANEL_FACE);
    EXPECT_PRED2(near, shot.at(235, 200), PANEL_FACE);
    EXPECT_PRED2(near, shot.at(231, 200), PANEL_EDGE);
    EXPECT_PRED2(near, shot.at(479, 100), PANEL_EDGE);
    EXPECT_PRED2(near, shot.at(240, 50), PANEL_INK_ON_SCREEN);
    EXPECT_PRED2(near, shot.at(470, 290), PANEL_INK_ON_SCREEN);
    EXPECT_PRED2(near, shot.at(242, 318), PANEL_INK_ON_SCREEN);
    EXPECT_PRED2(near, shot.at(229, 200), read_title_picture().at(229, 200));  // left of it
    // The OK button (399, 300)-(465, 316) and the first lines of text.
    EXPECT_PRED2(near, shot.at(399, 300), BUTTON_FACE);
    EXPECT_PRED2(near, shot.at(402, 314), BUTTON_FACE);
    EXPECT_TRUE(shows_text(shot, 302, 55, "Pitlorex v1.0", {255, 100, 20}));
    EXPECT_TRUE(shows_text(shot, 250, 95, "Jogo do genero PUZZLE, com", {100, 150, 200}));
    EXPECT_TRUE(shows_text(shot, 250, 155, "     diversos lugares.     ", {100, 150, 200}));
    EXPECT_TRUE(shows_text(shot, 255, 300, "Divirta-se!", {255, 100, 20}));
    // "Ajuda", clicked, keeps its highlight beside the board; the other words are normal.
    EXPECT_GT(count_near(shot, HELP_BOX, WORD_HOVER), 100);
    for (const PixelBox &word : {START_BOX, OPTIONS_BOX, QUIT_BOX})
        EXPECT_EQ(count_near(shot, word, WORD_HOVER), 0);

    // The OK label lights under the pointer and goes back when it leaves.
    EXPECT_GT(count_near(shot, OK_LETTERS, OK_NORMAL), 10);
    e2e_mouse_move(s, OK_X, OK_Y);
    EXPECT_TRUE(e2e_wait_for(
        [&] { return count_near(e2e_grab_window(s), OK_LETTERS, OK_HOVER) > 10; }, 3000));
    e2e_mouse_move(s, 300, 250);  // on the board, off the button
    EXPECT_TRUE(e2e_wait_for(
        [&] { return count_near(e2e_grab_window(s), OK_LETTERS, OK_NORMAL) > 10; }, 3000));

    EXPECT_TRUE(ok_back_to_title(s, 235, 200));
    // The menu works as before: the board opens again, the same.
    ASSERT_TRUE(open_help(s));
    EXPECT_TRUE(shows_text(e2e_grab_window(s), 302, 55, "Pitlorex v1.0", {255, 100, 20}));
    EXPECT_TRUE(e2e_running(s));
}

// The password box "(    )" at (325, 280); the entry's prompt and answer at (277, 305).
static constexpr int PASSWORD_X = 325, PASSWORD_Y = 280, ANSWER_X = 277, ANSWER_Y = 305;
static const Rgb ANSWER_GREY{200, 200, 200}, STAR_GREY{180, 180, 180};

TEST(GameOptionsBoard, PasswordTypedOnTheKeyboardSelectsArea2)
{
    E2eSession s(GAME_DIR);
    ASSERT_TRUE(start_to_title(s));
    ASSERT_TRUE(open_options(s));
    RgbImage shot = e2e_grab_window(s);
    // Panel (260, 200)-(480, 330) and its labels with the starting values.
    EXPECT_PRED2(near, shot.at(261, 250), PANEL_EDGE);
    EXPECT_PRED2(near, shot.at(270, 212), PANEL_INK_ON_SCREEN);
    EXPECT_PRED2(near, shot.at(259, 250), read_title_picture().at(259, 250));
    EXPECT_TRUE(shows_text(shot, 275, 235, "VELOCIDADE:", {255, 100, 20}));
    EXPECT_TRUE(shows_text(shot, 275, 280, "SENHA:", {255, 100, 20}));
    EXPECT_TRUE(shows_text(shot, 365, 235, "NORMAL", {225, 170, 20}));
    EXPECT_TRUE(shows_text(shot, 310, 250, "SIM", {225, 170, 20}));
    EXPECT_TRUE(shows_text(shot, 325, 265, "FACIL", {225, 170, 20}));
    EXPECT_GT(count_near(shot, OPTIONS_BOX, WORD_HOVER), 100);

    e2e_click(s, PASSWORD_X + 15, PASSWORD_Y + 1);
    ASSERT_TRUE(e2e_wait_for([&] {
        return shows_text(e2e_grab_window(s), ANSWER_X, ANSWER_Y, "Digite a senha", ANSWER_GREY);
    }, 3000));
    e2e_mouse_move(s, 300, 220);  // off the box, so that nothing draws over the stars
    e2e_focus(s);
    const KeySym keys[4] = {XK_6, XK_p, XK_w, XK_6};  // "6PW6" in small letters
    for (int k = 0; k < 4; k++) {
        e2e_tap_key(s, keys[k]);
        if (k == 3)
            break;  // the board's next pass draws the box over the stars at once
        // The board empties its key buffer before each key: the next waits for this star.
        PixelBox star{PASSWORD_X + 6 + 9 * k, PASSWORD_Y, PASSWORD_X + 13 + 9 * k,
                      PASSWORD_Y + 7};
        ASSERT_TRUE(e2e_wait_for(
            [&] { return count_near(e2e_grab_window(s), star, STAR_GREY) > 3; }, 3000))
            << "no star for key " << k + 1;
    }
    EXPECT_TRUE(e2e_wait_for([&] {
        return shows_text(e2e_grab_window(s), ANSWER_X, ANSWER_Y, ">>> Area 02   ", ANSWER_GREY);
    }, 3000)) << "the area 2 password was not taken";

    EXPECT_TRUE(ok_back_to_title(s, 265, 250));
}

