// The help board: what the game is and how to play, opened from the main menu.
#pragma once

#include <array>
#include <atomic>

#include "ui/board.h"

// Set by the help board's close handler. Never cleared by the game: once set, the next look
// at it ends the process.
extern std::atomic<bool> help_close_requested;

// The help board's text lines, drawn in this order.
extern const std::array<BoardLine, 18> HELP_LINES;

// Draws the whole help board (panel, title, OK button and text) onto the screen.
void draw_help_board();

// Shows the help board over whatever the screen shows and returns when its OK button is
// clicked or Return, Space or Escape is pressed. Installs its own close handler; when the
// window's close button is pressed while the board is shown it shuts the library down and
// ends the process with status 0 instead.
void show_help_board();
