// Drawing the playfield and its status line into the back buffer, and showing it. Each
// operation has a form that takes its target and records (for tests and tools) and a form that
// uses the game's globals.
#pragma once

#include <allegro.h>

#include "level/level_data.h"
#include "play/game_state.h"
#include "play/move_rules.h"

// Draws `image` masked at the top-left corner of cell (row, col); a missing image or target
// draws nothing, so a picture that failed to load never crashes the game.
void draw_cell_image(BITMAP *target, BITMAP *image, int row, int col);

// Paints every cell's tile, row by row: overlays and baskets over their floor ('Y' over the
// floor of `area`, 'Z' over 'E'); a character with no image leaves the buffer as it was.
void draw_tile_layer(BITMAP *buffer, const LevelGrids &grids, int area);
void draw_tile_layer();

// Paints every object digit '1'..'8' over the tiles; other characters draw nothing.
void draw_object_layer(BITMAP *buffer, const LevelGrids &grids);
void draw_object_layer();

// Draws what a step reported: the area's floor or a nugget at each listed cell, in order.
void paint_step(BITMAP *buffer, const StepReport &report, int area);

// The area's floor at the previous cell, the miner at his cell, then the whole buffer onto
// the screen, masked (buffer pixels in the mask colour leave the screen as it was), shown in
// the window. Returns what showing it cost beyond 1x, in milliseconds (see pf_present).
int present_frame(BITMAP *buffer, const GameState &state);
int present_frame();

// ---- The status line at the foot of the playfield: level, area, difficulty, lives, time ----
// The bar behind the five fields: 64 characters whose double bars fall at x 72, 160, 304, 408.
constexpr const char *STATUS_BAR = "         ||         ||                ||           ||           ";
constexpr int STATUS_Y = 375;

// The countdown's last seconds, from this figure down: drawn light on black (the figure, and
// "Tempo:" too at odd seconds), with a tick each second when the sound is on.
constexpr unsigned LAST_SECONDS = 10;

// Paints the bar over pixel rows 375..382 of `buffer`, then the five fields as `state` holds
// them now (time read once).
void draw_status_line(BITMAP *buffer, const GameState &state);
void draw_status_line();
