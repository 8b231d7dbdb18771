// Pixel art: the reader stops bad pictures at their line; switches and bars differ without colour.
#include "build_error.h"
#include "colour_vision.h"
#include "game_data.h"
#include "pixel_art.h"

#include "board_pixels.h"
#include "font/alfont.h"
#include "level/cell_catalogue.h"
#include "level_test_files.h"
#include "ui/main_menu.h"
#include "ui/options_board.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

Image parse(const std::string &text, int w = 0, int h = 0)
{
    std::istringstream in(text);
    return parse_pixel_art(in, "t.art", w, h);
}

// The message of the BuildError that parsing `text` throws, or "" when none is thrown.
std::string error_of(const std::string &text, int w = 0, int h = 0)
{
    try {
        parse(text, w, h);
    } catch (const BuildError &e) {
        return e.what();
    }
    return "";
}

const std::string GOOD = "# a test picture\n"
                         "size 3 2\n"
                         ". #ff00ff  pink\n"
                         "a #102030  dark blue\n"
                         "\n"
                         "pixels\n"
                         "a.a\n"
                         ".a.\n";

// Rows y1..y2 of the screen as the game shows them.
Image screen_rows(int y1, int y2)
{
    Image out(512, y2 - y1 + 1);
    for (size_t i = 0; i < out.pixels.size(); i++) {
        int c = getpixel(pf_screen(), int(i % 512), y1 + int(i / 512));
        out.pixels[i] = rgb(getr(c), getg(c), getb(c));
    }
    return out;
}

// Lit and unlit, each title word (lit by the keys on the shipped title, put out by a move of
// the pointer), then each options line, OK last (lit by a Down, put out by the next).
std::vector<std::pair<Image, Image>> lit_and_unlit()
{
    std::vector<std::pair<Image, Image>> rows;
    WorkingDirectory cwd{GAME_DIR};
    alfont_init();
    title_screen();
    KeyLight light;
    for (int item = 0, top = 180; item < 4; item++, top += 45) {
        for (int down = 0; down <= item; down++)
            script_tap(KEY_DOWN);
        poll_main_menu(light);
        Image lit = screen_rows(top, top + 44);
        script.pointer_y++;
        poll_main_menu(light);
        rows.push_back({lit, screen_rows(top, top + 44)});
    }
    release_title_screen();
    const int bands[][2] = {{233, 244}, {248, 259}, {263, 274}, {278, 289}, {300, 316}};
    std::vector<Image> shots[5];  // shots[line][k]: line k - 1 lit (none at k = 0)
    long idles = -2;
    // A picture once two passes drew nothing (the first may come before the Down is played).
    script.on_poll = [&](ScriptPlatform &s) {
        if (s.idles < idles + 2)
            return;
        idles = s.idles;
        for (int line = 0; line < 5; line++)
            shots[line].push_back(screen_rows(bands[line][0], bands[line][1]));
        script_tap(shots[0].size() < 7 ? KEY_DOWN : KEY_ESC);
    };
    run_options_board();
    alfont_exit();
    for (int line = 0; line < 5; line++)
        rows.push_back({shots[line][line + 1], shots[line][line + 2]});
    return rows;
}

}  // namespace

TEST(DatabuildPixelArt, ReadsSizePaletteAndPixels)
{
    Image img = parse(GOOD, 3, 2);
    ASSERT_EQ(img.width, 3);
    ASSERT_EQ(img.height, 2);
    EXPECT_EQ(img.at(0, 0), 0x102030u);
    EXPECT_EQ(img.at(1, 0), PINK);
    EXPECT_EQ(img.at(1, 1), 0x102030u);
    EXPECT_EQ(img.at(2, 1), PINK);
}

TEST(DatabuildPixelArt, FaultsNameTheFileAndLine)
{
    std::string unknown = GOOD;
    unknown.replace(unknown.find("a.a"), 3, "az.");
    EXPECT_EQ(error_of(unknown), "t.art:7: unknown palette character 'z' in column 2");

    std::string short_row = GOOD;
    short_row.replace(short_row.find(".a."), 3, ".a");
    EXPECT_EQ(error_of(short_row), "t.art:8: row has 2 pixels, expected 3");

    EXPECT_EQ(error_of(GOOD, 16, 16), "t.art:2: picture is 3 x 2, must be 16 x 16");
    EXPECT_EQ(error_of(GOOD + "aaa\n"), "t.art:9: more than 2 rows");
    EXPECT_NE(error_of(GOOD.substr(0, GOOD.size() - 4)).find("t.art:7: has 1 rows, expected 2"),
              std::string::npos);
}

TEST(DatabuildPixelArt, RejectsBadPaletteLines)
{
    EXPECT_EQ(error_of("size 1 1\na #12345\npixels\na\n"),
              "t.art:2: palette line needs a character and a colour #rrggbb");
    EXPECT_EQ(error_of("size 1 1\na #123456\na #654321\npixels\na\n"),
              "t.art:3: palette character 'a' defined twice");
    // Almost pink is the mask colour once the game has it at 16 bits: it would vanish.
    EXPECT_NE(error_of("size 1 1\na #fa02fc\npixels\na\n").find("t.art:2: colour #fa02fc turns into"),
              std::string::npos);
    EXPECT_EQ(error_of("size 1 1\npixels\n"), "t.art:2: pixels before any palette line");
    EXPECT_EQ(error_of("size 0 4\n"), "t.art:1: size needs a width and a height, both positive");
    EXPECT_EQ(error_of("wibble\n"), "t.art:1: unknown line 'wibble'");
}

TEST(DatabuildPixelArt, MissingFileIsNamed)
{
    try {
        read_pixel_art("/nonexistent/tQ.art", 16, 16);
        FAIL() << "no error for a missing file";
    } catch (const BuildError &e) {
        EXPECT_STREQ(e.what(), "/nonexistent/tQ.art: missing or unreadable");
    }
}

// Each pair of barrier groups: their switches, and each bar tile of one against each of the
// other, differ in at least 30 of their 256 pixels with each deficiency. The flat pictures
// show that the simulation confuses what each deficiency confuses.
TEST(DatabuildPixelArt, BarrierGroupsDifferWithoutColourVision)
{
    const BarrierGroup pairs[][2] = {{BARRIER_X, BARRIER_W}, {BARRIER_X, BARRIER_UV},
                                     {BARRIER_W, BARRIER_UV}};
    const GameData data = read_game_data(DATA_SOURCES_DIR);
    for (Deficiency d : DEFICIENCIES)
        for (const auto &pair : pairs) {
            const BarrierGroupRule &a = BARRIER_GROUPS[pair[0]], &b = BARRIER_GROUPS[pair[1]];
            const std::string seen = std::string(" with ") + deficiency_name(d);
            EXPECT_GE(pixels_told_apart(data.objects.at(a.switch_object),
                                        data.objects.at(b.switch_object), d), 30)
                << "switches " << a.switch_object << ", " << b.switch_object << seen;
            for (const char *t = a.tiles; *t; t++)
                for (const char *u = b.tiles; *u; u++)
                    EXPECT_GE(pixels_told_apart(data.tiles.at(*t), data.tiles.at(*u), d), 30)
                        << "bars " << *t << ", " << *u << seen;
        }
    // The red and green knobs as they were, a red and an olive, a green and a cyan: each pair is confused
    // by its own deficiency only.
    const Rgb confused[][2] = {{0xE02A20, 0x2CC038}, {0xDC0000, 0x285A10}, {0x50F000, 0x20E0E0}};
    for (Deficiency d : DEFICIENCIES)
        for (Deficiency seen_by : DEFICIENCIES)
            EXPECT_EQ(pixels_told_apart(Image(16, 16, confused[d][0]), Image(16, 16, confused[d][1]),
                                        seen_by),
                      d == seen_by ? 0 : 256)
                << deficiency_name(d) << " pair seen with " << deficiency_name(seen_by);
}

// The lit and unlit pictures of every word and line the keys or the pointer light differ in at
// least 30 pixels with each deficiency: the light shows without its colour.
TEST(DatabuildPixelArt, LitAndUnlitDifferWithoutColourVision)
{
    const BitmapPtr board = make_board_screen();
    const auto rows = lit_and_unlit();
    for (Deficiency d : DEFICIENCIES)
        for (size_t i = 0; i < rows.size(); i++)
            EXPECT_GE(pixels_told_apart(rows[i].first, rows[i].second, d), 30)
                << (i < 4 ? "title word " : "options line ") << (i < 4 ? i + 1 : i - 3)
                << " with " << deficiency_name(d);
    script_reset(nullptr);
}
