// What each tile letter and object digit is: its drawing and its role in play; the areas the
// levels fall into, and the barrier groups with their switches.
// Pure code, no Allegro: the rules, the renderer, the boards, the tests and the level checker
// share it.
#pragma once

#include <array>

#include "level/level_data.h"

// ---- Areas -------------------------------------------------------------------------------
// Levels come in areas of four: 1..4 are area 1, 5..8 area 2, ..., 17..20 area 5.
constexpr int AREA_COUNT = 5;
constexpr int LEVELS_PER_AREA = 4;

// The area of `level` (level 0 counts as area 1).
constexpr int area_of_level(int level) { return (level - 1) / LEVELS_PER_AREA + 1; }

// The first level of `area`.
constexpr int first_level_of_area(int area) { return (area - 1) * LEVELS_PER_AREA + 1; }

// True for the first level of an area; false for 0 and below.
constexpr bool starts_area(int level)
{
    return level >= 1 && (level - 1) % LEVELS_PER_AREA == 0;
}

// The floor letter of areas 1 to 5 (index 0 is area 1).
constexpr char FLOOR_BY_AREA[AREA_COUNT] = {'A', 'E', 'I', 'M', 'Q'};

// The password of each area, area 1 first, as the player is shown it (capital letters): four
// typed characters let a game start at the area's first level. Area 1's is never shown: a
// game starts there anyway.
constexpr std::array<const char *, AREA_COUNT> AREA_PASSWORDS = {"OURO", "6PW6", "R7B2", "K2VV",
                                                                 "F+J8"};

// The floor letter of `area` (1..5); areas outside that range use area 1's floor.
char area_floor(int area);

// 'A', 'E', 'I', 'M', 'Q': the miner may stand there and a nugget may be pushed there.
bool is_floor_tile(char tile);

// 'Y', 'Z': a nugget pushed in is delivered; the miner cannot enter.
bool is_basket_tile(char tile);

// 'U', 'V', 'W', 'X': closed barriers, blocking until their group opens.
inline bool is_barrier_tile(char tile) { return tile >= 'U' && tile <= 'X'; }

// '3', '4', '5' switches and '6', '7', '8' hazards.
bool is_switch_object(char object);
bool is_hazard_object(char object);

// ---- Barrier groups ----------------------------------------------------------------------
// The three barrier groups, numbered as their rows of BARRIER_GROUPS.
enum BarrierGroup { BARRIER_NONE = -1, BARRIER_X = 0, BARRIER_W = 1, BARRIER_UV = 2 };
constexpr int BARRIER_GROUP_COUNT = 3;

// One group: its tiles, the switch that opens it, its list in the grids and its opened flag.
struct BarrierGroupRule {
    BarrierGroup group;
    const char *name;            // "X", "W", "U/V", for messages
    const char *tiles;           // the tile letters of its cells
    char switch_object;          // the object digit that opens it
    BarrierList LevelGrids::*cells;
    uint8_t BarrierFlags::*opened;
};

// In the order the groups open within a frame: X, then W, then U/V.
constexpr BarrierGroupRule BARRIER_GROUPS[BARRIER_GROUP_COUNT] = {
    {BARRIER_X, "X", "X", '4', &LevelGrids::x_barriers, &BarrierFlags::x_opened},
    {BARRIER_W, "W", "W", '3', &LevelGrids::w_barriers, &BarrierFlags::w_opened},
    {BARRIER_UV, "U/V", "UV", '5', &LevelGrids::uv_barriers, &BarrierFlags::uv_opened},
};

// The group a barrier tile belongs to, and the group a switch opens, as BARRIER_GROUPS lists
// them; BARRIER_NONE for any other character.
BarrierGroup barrier_group(char tile);
BarrierGroup switch_group(char object);

// How a tile letter is drawn in `area`: first the image of `base`, then its own (0: none).
// Overlays ('D', 'H', 'L', 'P', 'T') and baskets sit on a floor; a character outside 'A'..'Z'
// draws nothing.
struct TileDrawing {
    char base;
    char image;
};
TileDrawing tile_drawing(char tile, int area);

// The image of an object digit, 0 for a character that has none.
char object_image(char object);
