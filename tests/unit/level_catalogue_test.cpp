// The cell catalogue over every possible character: roles, drawings and barrier groups.
#include "level/cell_catalogue.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

bool in(const char *set, char c) { return c != '\0' && strchr(set, c) != nullptr; }

}  // namespace

TEST(CellCatalogue, EveryCharacterHasTheRoleOfItsTable)
{
    for (int i = 0; i < 256; i++) {
        char c = static_cast<char>(i);
        SCOPED_TRACE(i);
        // Anything else ('.', 'a', 0xC1 ...) blocks, and an unknown object is no object.
        EXPECT_EQ(is_floor_tile(c), in("AEIMQ", c));
        EXPECT_EQ(is_barrier_tile(c), in("UVWX", c));
        EXPECT_EQ(is_basket_tile(c), in("YZ", c));
        EXPECT_EQ(is_switch_object(c), in("345", c));
        EXPECT_EQ(is_hazard_object(c), in("678", c));
        EXPECT_EQ(object_image(c), in("12345678", c) ? c : 0);
    }
}

TEST(CellCatalogue, TilesDrawOverTheRightFloor)
{
    for (int area = 1; area <= 5; area++) {
        SCOPED_TRACE(area);
        EXPECT_EQ(area_floor(area), "AEIMQ"[area - 1]);
        for (char t = 'A'; t <= 'Z'; t++) {
            TileDrawing d = tile_drawing(t, area);
            EXPECT_EQ(d.image, t);
            char base = 0;
            if (t <= 'T' && (t - 'A') % 4 == 3)  // D, H, L, P, T: over their own block's floor
                base = static_cast<char>(t - 3);
            if (t == 'Y')
                base = area_floor(area);  // the basket sits on the floor being played
            if (t == 'Z')
                base = 'E';  // always the area-2 floor
            EXPECT_EQ(d.base, base) << t;
        }
        for (char other : {'.', 'a', '0', ' ', '\n', '\0', static_cast<char>(0xC1)}) {
            EXPECT_EQ(tile_drawing(other, area).base, 0);
            EXPECT_EQ(tile_drawing(other, area).image, 0);
        }
    }
    EXPECT_EQ(area_floor(0), 'A');  // out of range falls back to area 1
    EXPECT_EQ(area_floor(6), 'A');
    EXPECT_EQ(tile_drawing('Y', 3).base, 'I');
}

TEST(CellCatalogue, EachSwitchOpensOneBarrierGroup)
{
    EXPECT_EQ(switch_group('3'), barrier_group('W'));
    EXPECT_EQ(switch_group('4'), barrier_group('X'));
    EXPECT_EQ(switch_group('5'), barrier_group('U'));
    EXPECT_EQ(barrier_group('U'), barrier_group('V'));
    EXPECT_NE(barrier_group('W'), barrier_group('X'));
    EXPECT_NE(barrier_group('W'), barrier_group('U'));
    EXPECT_NE(barrier_group('X'), barrier_group('U'));
    for (int i = 0; i < 256; i++) {
        char c = static_cast<char>(i);
        EXPECT_EQ(barrier_group(c) != BARRIER_NONE, is_barrier_tile(c)) << i;
        EXPECT_EQ(switch_group(c) != BARRIER_NONE, is_switch_object(c)) << i;
    }
}
