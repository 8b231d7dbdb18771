// The title menu on a 16-bit memory screen for the menu tests: a game folder, the scripted
// pointer, and counts of the label colours.
#pragma once

#include "font/alfont.h"
#include "script_platform.h"
#include "startup_game_folder.h"
#include "shell/shell.h"
#include "ui/main_menu.h"

#include <gtest/gtest.h>

#include <memory>

inline const int LABEL_Y[] = {180, 225, 270, 315};

// Pixels of the given colour among one label's letters (from its cap line to its baseline,
// clear of the labels above and below).
inline int label_pixels(BITMAP *b, int item, int colour)
{
    int n = 0;
    for (int y = LABEL_Y[item - 1] + 5; y < LABEL_Y[item - 1] + 42; y++)
        for (int x = 90; x < 300; x++)
            n += getpixel(b, x, y) == colour;
    return n;
}

inline int lit(BITMAP *b, int item) { return label_pixels(b, item, makecol(255, 255, 41)); }
inline int plain(BITMAP *b, int item) { return label_pixels(b, item, makecol(235, 235, 235)); }

// Every label shows in its normal colour and none highlighted.
inline void expect_all_plain(BITMAP *b)
{
    for (int item = 1; item <= 4; item++) {
        EXPECT_GT(plain(b, item), 50) << "item " << item;
        EXPECT_EQ(lit(b, item), 0) << "item " << item;
    }
}

// Starts each test with the title showing and the pointer away from the menu.
class MainMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test_font_path())
            GTEST_SKIP() << "no DejaVu Sans to stand in for the menu font";
        folder = std::make_unique<GameFolder>();
        screen = create_bitmap(512, 384);
        script_reset(screen);
        ASSERT_NE(alfont_init(), 1);
        script.pointer_x = 400;  // away from the menu
        script.pointer_y = 50;
        menu_close_requested = false;  // a close pressed by an earlier test ends every hover
        title_screen();
    }
    void TearDown() override
    {
        release_title_screen();
        alfont_exit();
        script_reset(nullptr);
        if (screen)
            destroy_bitmap(screen);
        folder.reset();
    }
    void point(int x, int y, int buttons = 0)
    {
        script.pointer_x = x;
        script.pointer_y = y;
        script.buttons = buttons;
    }
    std::unique_ptr<GameFolder> folder;
    BITMAP *screen = nullptr;
    KeyLight light;  // the menu loop's record
};

