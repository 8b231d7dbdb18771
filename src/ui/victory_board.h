// The victory board, shown when the last level is won; its OK ends the program.
#pragma once

#include <array>
#include <atomic>

#include "ui/board.h"

// Set by the victory board's close handler.
extern std::atomic<bool> victory_close_requested;

// The victory board's text lines, drawn in this order.
extern const std::array<BoardLine, 13> VICTORY_LINES;

// Draws the whole victory board (panel, title, OK button and text) onto the screen.
void draw_victory_board();

// Makes the pointer visible, clears the screen, pauses 100 ms and shows the victory board
// until its OK button is clicked, Return, Space or Escape is pressed (keys pressed before the
// board are dropped), or the window's close button is pressed (any of them, or the game's own
// close request, ends the board alike). The caller ends the process.
void run_victory_board();

// The last screen of the process: run_victory_board, then clears the per-level state, drops
// typed keys, shuts the font engine down and ends the process with status 0.
[[noreturn]] void show_victory_board();
