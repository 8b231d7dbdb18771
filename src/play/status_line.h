// The status line at the foot of the playfield: level, area, difficulty, lives and time.
#pragma once

#include <allegro.h>

#include "play/game_state.h"

// The bar behind the five fields: 64 characters whose double bars fall at x 72, 160, 304, 408.
constexpr const char *STATUS_BAR = "         ||         ||                ||           ||           ";
constexpr int STATUS_Y = 375;

// Paints the bar over pixel rows 375..382 of `buffer`, then the five fields as `state` holds
// them now (time read once).
void draw_status_line(BITMAP *buffer, const GameState &state);
void draw_status_line();
