// The status line: the bar's pixels, each field at its place, and values of changing length.
#include "play/playfield_render.h"
#include "rules_board.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

// Functions, not constants: makecol depends on the colour depth set when the tests start.
static int light_grey() { return makecol(238, 238, 238); }
static int mid_grey() { return makecol(175, 175, 175); }
static int black() { return makecol(0, 0, 0); }
static int sentinel() { return makecol(0, 0, 200); }

class StatusLine : public ::testing::Test {
protected:
    BITMAP *buffer = create_bitmap(512, 384);
    GameState state;

    StatusLine()
    {
        clear_to_color(buffer, sentinel());
        state.level = 7;
        state.area = 2;
        state.difficulty_name = "MEDIO";
        state.lives = 2;
        state.time = 123;
    }
    ~StatusLine() override { destroy_bitmap(buffer); }

    // True when `text` in black on light grey (or `fg` on `bg`), as the 8 x 8 font draws it,
    // starts at (x, 375); columns past the buffer's right edge are not compared.
    ::testing::AssertionResult field_shows(int x, const std::string &text, int fg = black(),
                                           int bg = light_grey())
    {
        const int width = 8 * (int)text.size();
        BITMAP *expected = create_bitmap(std::max(width, 1), 8);
        clear_to_color(expected, bg);
        textout_ex(expected, font, text.c_str(), 0, 0, fg, -1);
        ::testing::AssertionResult result = ::testing::AssertionSuccess();
        for (int y = 0; y < 8 && result; y++)
            for (int i = 0; i < width && x + i < 512; i++)
                if (getpixel(buffer, x + i, 375 + y) != getpixel(expected, i, y)) {
                    result = ::testing::AssertionFailure()
                             << "\"" << text << "\" differs at x " << x + i << ", y " << 375 + y;
                    break;
                }
        destroy_bitmap(expected);
        return result;
    }

    bool black_between(int x0, int x1)
    {
        for (int y = 375; y <= 382; y++)
            for (int x = x0; x <= x1; x++)
                if (getpixel(buffer, x, y) == black())
                    return true;
        return false;
    }
};

TEST_F(StatusLine, BarFillsItsEightRowsWithDoubleBarsAtTheirPlaces)
{
    draw_status_line(buffer, state);
    const int bar_starts[] = {72, 160, 304, 408};
    bool mid_seen[4] = {};
    for (int x = 0; x < 512; x++) {
        EXPECT_EQ(getpixel(buffer, x, 374), sentinel()) << x;
        EXPECT_EQ(getpixel(buffer, x, 383), sentinel()) << x;
        for (int y = 375; y <= 382; y++) {
            const int p = getpixel(buffer, x, y);
            ASSERT_TRUE(p == light_grey() || p == mid_grey() || p == black()) << x << "," << y;
            if (p != mid_grey())
                continue;
            int bar = -1;
            for (int b = 0; b < 4; b++)
                if (x >= bar_starts[b] && x < bar_starts[b] + 16)
                    bar = b;
            ASSERT_NE(bar, -1) << "mid grey outside the double bars at x " << x;
            mid_seen[bar] = true;
        }
    }
    for (int b = 0; b < 4; b++)
        EXPECT_TRUE(mid_seen[b]) << "double bar at x " << bar_starts[b];
    EXPECT_EQ(std::string(STATUS_BAR).size(), 64u);
}

TEST_F(StatusLine, FiveFieldsAtTheirPlaces)
{
    state.difficulty_name = "DIFICIL";
    draw_status_line(buffer, state);
    EXPECT_TRUE(field_shows(1, "Fase: 7"));
    EXPECT_TRUE(field_shows(99, "Area: 2"));
    EXPECT_TRUE(field_shows(188, "Nivel: DIFICIL"));
    EXPECT_TRUE(field_shows(335, "Vidas: 2"));
    EXPECT_TRUE(field_shows(430, "Tempo: 123"));
}

TEST_F(StatusLine, LongTimesAreCutAtTheRightEdge)
{
    for (unsigned time : {1000u, 65535u}) {
        state.time = (uint16_t)time;
        draw_status_line(buffer, state);
        EXPECT_TRUE(field_shows(430, "Tempo: " + std::to_string(time)));
        EXPECT_TRUE(black_between(504, 511)) << "the cut character starts inside";
    }
}

TEST_F(StatusLine, AShorterValueLeavesNoDigitsBehind)
{
    state.time = 12345;
    state.level = 20;
    draw_status_line(buffer, state);
    state.time = 7;
    state.level = 3;
    draw_status_line(buffer, state);
    EXPECT_FALSE(black_between(430 + 8 * 8, 511));
    EXPECT_FALSE(black_between(1 + 7 * 8, 71));
    EXPECT_TRUE(field_shows(430, "Tempo: 7", light_grey(), black()));
}

// The last ten seconds stand out without colour: light on black, the figure alone at even
// seconds and "Tempo:" with it at odd ones, so that the line changes each second.
TEST_F(StatusLine, TheLastTenSecondsAreLightOnBlack)
{
    const struct {
        unsigned time;
        std::string dark, light;
    } rows[] = {{11, "Tempo: 11", ""}, {10, "Tempo: ", "10"}, {9, "", "Tempo: 9"}};
    for (const auto &row : rows) {
        state.time = (uint16_t)row.time;
        draw_status_line(buffer, state);
        EXPECT_TRUE(field_shows(430, row.dark)) << row.time;
        EXPECT_TRUE(field_shows(430 + 8 * (int)row.dark.size(), row.light, light_grey(), black()));
    }
}

TEST_F(StatusLine, ZeroLivesAndNoDifficultyNameAreShownPlainly)
{
    state.lives = 0;
    state.difficulty_name = nullptr;
    draw_status_line(buffer, state);
    EXPECT_TRUE(field_shows(335, "Vidas: 0"));
    EXPECT_TRUE(field_shows(188, "Nivel: "));
}
