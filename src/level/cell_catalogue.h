// What each tile letter and object digit is: its drawing and its role in play.
// Pure code, no Allegro: the rules, the renderer, the tests and the level checker share it.
#pragma once

// The floor letter of areas 1 to 5 (index 0 is area 1).
constexpr char FLOOR_BY_AREA[5] = {'A', 'E', 'I', 'M', 'Q'};

// The floor letter of `area` (1..5); areas outside that range use area 1's floor.
char area_floor(int area);

// 'A', 'E', 'I', 'M', 'Q': the miner may stand there and a nugget may be pushed there.
bool is_floor_tile(char tile);

// 'Y', 'Z': a nugget pushed in is delivered; the miner cannot enter.
bool is_basket_tile(char tile);

// 'U', 'V', 'W', 'X': closed barriers, blocking until their group opens.
bool is_barrier_tile(char tile);

// '3', '4', '5' switches and '6', '7', '8' hazards.
bool is_switch_object(char object);
bool is_hazard_object(char object);

// The role of a tile character in play. Anything that is not floor, barrier or basket
// blocks, including '.', lower-case letters and control characters.
enum TileRole { TILE_BLOCKING, TILE_FLOOR, TILE_BARRIER, TILE_BASKET };
TileRole tile_role(char tile);

// The role of an object character: '0' and anything unknown are empty.
enum ObjectRole { OBJECT_EMPTY, OBJECT_MINER, OBJECT_NUGGET, OBJECT_SWITCH, OBJECT_HAZARD };
ObjectRole object_role(char object);

// The three barrier groups. barrier_group('W') is BARRIER_W, 'X' BARRIER_X, 'U' and 'V'
// BARRIER_UV, anything else BARRIER_NONE; switch_group gives the group a switch opens:
// '3' W, '4' X, '5' U/V.
enum BarrierGroup { BARRIER_NONE, BARRIER_W, BARRIER_X, BARRIER_UV };
BarrierGroup barrier_group(char tile);
BarrierGroup switch_group(char object);

// How a tile letter is drawn: first `base` (0 for none), then the letter's own image (0 for
// none). For 'Y' the base is the current area's floor, for 'Z' always 'E', for the overlays
// 'D', 'H', 'L', 'P', 'T' their block's floor; any character outside 'A'..'Z' draws nothing.
struct TileDrawing {
    char base;
    char image;
};
TileDrawing tile_drawing(char tile, int area);

// The image of an object digit: '1'..'8' draw their own image, anything else nothing (0).
char object_image(char object);
