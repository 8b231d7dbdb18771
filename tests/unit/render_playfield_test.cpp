// The playfield pictures: the two layers as the catalogue draws them, what one frame repaints,
// and the masked copy to the screen.
#include "level/game_resources.h"
#include "play/play_frame.h"
#include "play/move_rules.h"
#include "play/playfield_render.h"
#include "render_test_images.h"
#include "rules_board.h"
#include "script_platform.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <utility>

// What the buffer held before painting (a function: makecol needs the colour depth set).
static int sentinel() { return makecol(200, 200, 0); }

struct BitmapDeleter {
    void operator()(BITMAP *bmp) const { destroy_bitmap(bmp); }
};
using BitmapPtr = std::unique_ptr<BITMAP, BitmapDeleter>;

static BitmapPtr copy_of(BITMAP *bmp)
{
    BitmapPtr copy(create_bitmap(bmp->w, bmp->h));
    blit(bmp, copy.get(), 0, 0, 0, 0, bmp->w, bmp->h);
    return copy;
}

// The cells of `now` that differ from `before`.
static std::set<std::pair<int, int>> changed_cells(BITMAP *before, BITMAP *now)
{
    std::set<std::pair<int, int>> cells;
    for (int y = 0; y < 384; y++)
        for (int x = 0; x < 512; x++)
            if (getpixel(before, x, y) != getpixel(now, x, y))
                cells.insert({y / 16, x / 16});
    return cells;
}

static bool same_picture(BITMAP *a, BITMAP *b) { return changed_cells(a, b).empty(); }

class Playfield : public ::testing::Test {
protected:
    TestImages images;
    Board board{'E'};  // area 1 playing on 'E' floor: plain area floor 'A' shows where repainted
    char why[200] = "";

    // Paints the level as a level start does, then the status line of the first frame.
    void paint_level()
    {
        clear_to_color(back_buffer, sentinel());
        draw_tile_layer(back_buffer, board.grids, board.state.area);
        draw_object_layer(back_buffer, board.grids);
    }

    // The drawing part of one frame that steps by `key_code` (any key but an arrow steps
    // nowhere): previous cell, moves, picture.
    void frame(int key_code)
    {
        board.state.prev_row = board.state.player_row;
        board.state.prev_col = board.state.player_col;
        for (const DirectionStep &step : DIRECTION_STEPS)
            if (arrow_key(step.dir) == key_code)
                paint_step(back_buffer, apply_step(board.state, board.grids, step.dir),
                           board.state.area);
        present_frame(back_buffer, board.state);
        clear_left_cell(board.state, board.grids);
    }
};

TEST_F(Playfield, TileLayerDrawsEachLetterAsTheCatalogueSays)
{
    const char row[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ.a0 ~";
    for (int col = 0; col < 31; col++)
        board.grids.tile_map[4][col] = row[col];
    board.grids.tile_map[4][31] = '\0';
    for (int area : {1, 3, 5}) {
        SCOPED_TRACE(area);
        board.state.area = area;
        paint_level();
        for (int col = 0; col < 26; col++) {
            const char letter = row[col];
            std::string layers(1, letter);
            if (letter == 'D' || letter == 'H' || letter == 'L' || letter == 'P' || letter == 'T')
                layers = std::string(1, letter - 3) + letter;
            if (letter == 'Y')
                layers = std::string(1, "AEIMQ"[area - 1]) + 'Y';
            if (letter == 'Z')
                layers = "EZ";
            EXPECT_TRUE(cell_shows(back_buffer, 4, col, layers.c_str(), sentinel(), why)) << why;
        }
        for (int col = 26; col < 32; col++)
            EXPECT_TRUE(cell_is(back_buffer, 4, col, sentinel())) << "no image for column " << col;
    }
}

TEST_F(Playfield, ObjectLayerDrawsDigitsOneToEightOverTheTiles)
{
    const char objects[] = "123456780 9x";
    for (int col = 0; col < 12; col++)
        board.grids.object_map[2][col] = objects[col];
    paint_level();
    for (int col = 0; col < 8; col++) {
        const char layers[] = {'E', objects[col], 0};
        EXPECT_TRUE(cell_shows(back_buffer, 2, col, layers, sentinel(), why)) << why;
    }
    for (int col = 8; col < 12; col++)
        EXPECT_TRUE(cell_is(back_buffer, 2, col, tile_colour('E'))) << objects[col];
}

TEST_F(Playfield, GlobalFormsPaintTheGameLevel)
{
    level_grids = board.grids;
    level_grids.tile_map[0][0] = 'Y';
    level_grids.object_map[1][1] = '7';
    game_state.area = 4;
    draw_tile_layer();
    draw_object_layer();
    EXPECT_TRUE(cell_shows(back_buffer, 0, 0, "MY", sentinel(), why)) << why;
    EXPECT_TRUE(cell_shows(back_buffer, 1, 1, "E7", sentinel(), why)) << why;
    game_state.area = 0;
    level_grids = LevelGrids{};
}

// An image that did not load is skipped, never drawn through a null pointer.
TEST_F(Playfield, MissingImagesDrawNothing)
{
    destroy_bitmap(tile_bitmaps['B' - 'A']);
    tile_bitmaps['B' - 'A'] = nullptr;
    destroy_bitmap(object_bitmaps[0]);
    object_bitmaps[0] = nullptr;
    board.lay(0, 0, {"BD"}, {"13"});
    paint_level();
    present_frame(back_buffer, board.state);
    EXPECT_TRUE(cell_is(back_buffer, 0, 0, tile_colour('A'))) << "floor at the previous cell only";
    EXPECT_TRUE(cell_shows(back_buffer, 0, 1, "AD3", sentinel(), why)) << why;
    script.screen = nullptr;
    present_frame(back_buffer, board.state);
}

TEST_F(Playfield, OneCellMoveRepaintsTheCellLeftAndTheMiner)
{
    board.lay(10, 10, {"EE"}, {"10"});
    paint_level();
    BitmapPtr before = copy_of(back_buffer);
    frame(KEY_RIGHT);
    EXPECT_EQ(board.state.player_col, 11);
    EXPECT_EQ(changed_cells(before.get(), back_buffer),
              (std::set<std::pair<int, int>>{{10, 10}, {10, 11}}));
    EXPECT_TRUE(cell_is(back_buffer, 10, 10, tile_colour('A'))) << "plain area floor";
    EXPECT_TRUE(cell_shows(back_buffer, 10, 11, "E1", sentinel(), why)) << why;
    EXPECT_TRUE(same_picture(back_buffer, images.screen));

    before = copy_of(back_buffer);
    frame(KEY_DOWN);
    EXPECT_EQ(changed_cells(before.get(), back_buffer),
              (std::set<std::pair<int, int>>{{10, 11}, {11, 11}}));
    EXPECT_TRUE(cell_is(back_buffer, 10, 11, tile_colour('A')));
    EXPECT_TRUE(same_picture(back_buffer, images.screen));
}

TEST_F(Playfield, StandingStillRepaintsOnlyTheMinersCell)
{
    board.lay(10, 10, {"Q"}, {"1"});
    paint_level();
    BitmapPtr before = copy_of(back_buffer);
    frame(KEY_ESC);
    EXPECT_EQ(changed_cells(before.get(), back_buffer),
              (std::set<std::pair<int, int>>{{10, 10}}));
    EXPECT_TRUE(cell_shows(back_buffer, 10, 10, "A1", sentinel(), why)) << why;
}

TEST_F(Playfield, PushOntoFloorRepaintsThreeCells)
{
    board.lay(10, 10, {"EEE"}, {"120"});
    paint_level();
    BitmapPtr before = copy_of(back_buffer);
    frame(KEY_RIGHT);
    EXPECT_EQ(changed_cells(before.get(), back_buffer),
              (std::set<std::pair<int, int>>{{10, 10}, {10, 11}, {10, 12}}));
    EXPECT_TRUE(cell_is(back_buffer, 10, 10, tile_colour('A')));
    EXPECT_TRUE(cell_shows(back_buffer, 10, 11, "A1", sentinel(), why)) << why;
    EXPECT_TRUE(cell_shows(back_buffer, 10, 12, "E2", sentinel(), why)) << why;
}

TEST_F(Playfield, NuggetInABasketVanishesFromView)
{
    board.lay(10, 10, {"AAY"}, {"120"});
    board.state.area = 2;
    paint_level();
    BitmapPtr before = copy_of(back_buffer);
    frame(KEY_RIGHT);
    EXPECT_EQ(changed_cells(before.get(), back_buffer),
              (std::set<std::pair<int, int>>{{10, 10}, {10, 11}}));
    EXPECT_TRUE(cell_shows(back_buffer, 10, 12, "EY", sentinel(), why)) << why;
    EXPECT_TRUE(cell_shows(back_buffer, 10, 11, "E1", sentinel(), why)) << why;
}

TEST_F(Playfield, EachArrowAloneStepsItsWay)
{
    const struct {
        int key, row, col;
    } arrows[] = {{KEY_UP, 9, 10}, {KEY_DOWN, 11, 10}, {KEY_LEFT, 10, 9}, {KEY_RIGHT, 10, 11}};
    for (const auto &arrow : arrows) {
        board.put_miner(10, 10);
        frame(arrow.key);
        EXPECT_EQ(board.state.player_row, arrow.row);
        EXPECT_EQ(board.state.player_col, arrow.col);
    }
}

TEST_F(Playfield, SwitchIsHiddenUnderTheMinerAndGoneWhenHeLeaves)
{
    board.lay(5, 5, {"EE"}, {"13"});
    paint_level();
    frame(KEY_RIGHT);
    EXPECT_EQ(board.state.w_opened, 1);
    EXPECT_TRUE(cell_shows(back_buffer, 5, 6, "E31", sentinel(), why)) << why;
    frame(KEY_LEFT);
    EXPECT_TRUE(cell_is(back_buffer, 5, 6, tile_colour('A')));
    EXPECT_EQ(board.grids.object_map[5][6], '0');
}

TEST_F(Playfield, MinerInTheLastRowCoversTheStatusLine)
{
    board.lay(23, 5, {"E"}, {"1"});
    paint_level();
    draw_status_line(back_buffer, board.state);
    frame(KEY_DOWN);  // the edge: he stays where he is
    EXPECT_TRUE(cell_shows(back_buffer, 23, 5, "A1", sentinel(), why)) << why;
    EXPECT_EQ(getpixel(back_buffer, 6 * 16, 375), makecol(238, 238, 238)) << "bar beside him";
}

// The copy to the screen is masked: pink buffer pixels leave the screen as it was.
TEST_F(Playfield, MaskColourInTheBufferLeavesTheScreen)
{
    const int old_screen = makecol(10, 20, 30);
    clear_to_color(images.screen, old_screen);
    clear_to_color(back_buffer, bitmap_mask_color(back_buffer));
    board.grids.tile_map[3][3] = '.';
    draw_tile_layer(back_buffer, board.grids, 1);
    present_frame(back_buffer, board.state);
    EXPECT_TRUE(cell_is(images.screen, 3, 3, old_screen));
    EXPECT_TRUE(cell_is(images.screen, 3, 4, tile_colour('E')));
    EXPECT_TRUE(cell_shows(images.screen, 0, 0, "A1", sentinel(), why)) << why;
}
