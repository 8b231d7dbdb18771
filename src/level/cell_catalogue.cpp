// The cell catalogue: roles and drawings of the tile letters and object digits.
#include "level/cell_catalogue.h"

#include <cstring>

char area_floor(int area)
{
    return (area >= 1 && area <= AREA_COUNT) ? FLOOR_BY_AREA[area - 1] : FLOOR_BY_AREA[0];
}

bool is_floor_tile(char tile)
{
    return tile == 'A' || tile == 'E' || tile == 'I' || tile == 'M' || tile == 'Q';
}

bool is_basket_tile(char tile) { return tile == 'Y' || tile == 'Z'; }

bool is_switch_object(char object) { return object >= '3' && object <= '5'; }

bool is_hazard_object(char object) { return object >= '6' && object <= '8'; }

BarrierGroup barrier_group(char tile)
{
    if (!is_barrier_tile(tile))
        return BARRIER_NONE;  // most cells: no search
    for (const BarrierGroupRule &rule : BARRIER_GROUPS)
        if (std::strchr(rule.tiles, tile))
            return rule.group;
    return BARRIER_NONE;
}

BarrierGroup switch_group(char object)
{
    for (const BarrierGroupRule &rule : BARRIER_GROUPS)
        if (object == rule.switch_object)
            return rule.group;
    return BARRIER_NONE;
}

TileDrawing tile_drawing(char tile, int area)
{
    if (tile < 'A' || tile > 'Z')
        return {0, 0};
    switch (tile) {
    case 'D': return {'A', 'D'};
    case 'H': return {'E', 'H'};
    case 'L': return {'I', 'L'};
    case 'P': return {'M', 'P'};
    case 'T': return {'Q', 'T'};
    case 'Y': return {area_floor(area), 'Y'};
    case 'Z': return {'E', 'Z'};
    default: return {0, tile};
    }
}

char object_image(char object) { return (object >= '1' && object <= '8') ? object : 0; }
