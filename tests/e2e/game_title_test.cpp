// The title screen in a real window: the picture, the four menu words, their highlight under
// the pointer, and "Sair" (the close button on every screen is in game_waiting_test.cpp).
#include "game_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

// Where the pointer rests after start_to_title, and the pixels its picture may cover.
static constexpr PixelBox POINTER_AREA{470, 360, 511, 383};
// The column of the menu words with their anti-aliased edges.
static constexpr PixelBox MENU_COLUMN{86, 176, 230, 360};

static bool inside(const PixelBox &box, int x, int y)
{
    return x >= box.x1 && x <= box.x2 && y >= box.y1 && y <= box.y2;
}

// True when `condition` holds at every look for `ms` milliseconds: for what must NOT happen.
static bool stays_true(const std::function<bool()> &condition, int ms)
{
    return !e2e_wait_for([&] { return !condition(); }, ms);
}

static int hover_pixels(E2eSession &s, const PixelBox &box)
{
    return count_near(e2e_grab_window(s), box, WORD_HOVER);
}

TEST(GameTitle, ShowsThePictureWithTheFourWordsOverIt)
{
    RgbImage picture = read_title_picture();
    ASSERT_EQ(picture.width, 512) << "cannot read imagens/inicio.bmp of " GAME_DIR;
    ASSERT_EQ(picture.height, 384);
    E2eSession s(GAME_DIR);
    ASSERT_TRUE(start_to_title(s));
    // Away from the words the screen is the picture; on the words, the glyphs' solid inside
    // is the near-white that the picture does not have there, and nothing is lit.
    const char *words[] = {"Iniciar", "Ajuda", "Opcoes", "Sair"};
    std::string fault;
    auto title_as_drawn = [&] {
        RgbImage shot = e2e_grab_window(s);
        if (shot.width != 512 || shot.height != 384) {
            fault = "no window to grab";
            return false;
        }
        int differing = 0;
        for (int y = 0; y < 384; y++)
            for (int x = 0; x < 512; x++)
                if (!inside(MENU_COLUMN, x, y) && !inside(POINTER_AREA, x, y) &&
                    !rgb_near(shot.at(x, y), picture.at(x, y)) && differing++ == 0)
                    fault = "screen " + ::testing::PrintToString(shot.at(x, y)) + " but picture " +
                            ::testing::PrintToString(picture.at(x, y)) + " at (" +
                            std::to_string(x) + ", " + std::to_string(y) + ")";
        if (differing > 0) {
            fault += ", " + std::to_string(differing) + " pixels differ";
            return false;
        }
        for (int i = 0; i < 4; i++) {
            int drawn = count_near(shot, MENU_BOXES[i], WORD_NORMAL) -
                        count_near(picture, MENU_BOXES[i], WORD_NORMAL);
            int lit = count_near(shot, MENU_BOXES[i], WORD_HOVER);
            if (drawn < 300 || lit > 0) {
                fault = std::string(words[i]) + ": " + std::to_string(drawn) +
                        " near-white pixels drawn, " + std::to_string(lit) + " lit";
                return false;
            }
        }
        return true;
    };
    EXPECT_TRUE(e2e_wait_for(title_as_drawn, 3000)) << fault;
}

TEST(GameTitle, EachWordLightsUnderThePointerAndGoesBackWhenItLeaves)
{
    E2eSession s(GAME_DIR);
    ASSERT_TRUE(start_to_title(s));
    const char *words[] = {"Iniciar", "Ajuda", "Opcoes", "Sair"};
    for (int i = 0; i < 4; i++) {
        const PixelBox &box = MENU_BOXES[i];
        e2e_mouse_move(s, box_mid_x(box), box_mid_y(box));
        EXPECT_TRUE(e2e_wait_for([&] { return hover_pixels(s, box) > 100; }, 3000)) << words[i];
        RgbImage lit = e2e_grab_window(s);
        for (int j = 0; j < 4; j++) {
            if (j == i)
                continue;
            EXPECT_EQ(count_near(lit, MENU_BOXES[j], WORD_HOVER), 0)
                << words[j] << " lit while the pointer is on " << words[i];
        }
        e2e_mouse_move(s, 480, 370);
        EXPECT_TRUE(e2e_wait_for([&] { return menu_words_normal(e2e_grab_window(s)); }, 3000))
            << words[i] << " stayed lit";
    }
}

TEST(GameTitle, HoverBoxOfIniciarHasStrictBounds)
{
    E2eSession s(GAME_DIR);
    ASSERT_TRUE(start_to_title(s));
    // The box's own corners light the word ...
    const int corners[2][2] = {{91, 181}, {209, 219}};
    for (const auto &corner : corners) {
        e2e_mouse_move(s, corner[0], corner[1]);
        EXPECT_TRUE(e2e_wait_for([&] { return hover_pixels(s, START_BOX) > 100; }, 3000))
            << "pointer at (" << corner[0] << ", " << corner[1] << ")";
        e2e_mouse_move(s, 480, 370);
        ASSERT_TRUE(e2e_wait_for([&] { return menu_words_normal(e2e_grab_window(s)); }, 3000));
    }
    // ... the points just outside do not (the bounds themselves are outside).
    const int outside[3][2] = {{90, 200}, {210, 200}, {100, 220}};
    for (const auto &point : outside) {
        e2e_mouse_move(s, point[0], point[1]);
        EXPECT_TRUE(stays_true([&] { return hover_pixels(s, START_BOX) == 0; }, 400))
            << "pointer at (" << point[0] << ", " << point[1] << ")";
    }
}

TEST(GameTitle, SairEndsTheGameWithStatusZero)
{
    E2eSession s(GAME_DIR);
    ASSERT_TRUE(start_to_title(s));
    e2e_click(s, box_mid_x(QUIT_BOX), box_mid_y(QUIT_BOX));
    EXPECT_EQ(e2e_wait_exit(s, 5000), 0);
}

