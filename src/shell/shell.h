// The program shell: start-up, error boxes, shutdown and the screen flow.
#pragma once

#include <allegro.h>

#include <string>

#include "play/game_start.h"

// The start-up sound and the title tune; nullptr when not loaded (or already freed).
extern SAMPLE *startup_sample;
extern MIDI *title_music;

// Shows a blocking error box with `caption` on it and `text` inside, after printing both to
// standard error so that a player who started the game from a terminal sees them too.
// The window title keeps the caption afterwards.
void show_error_box(const char *caption, const char *text);

// The text of the Erro 05 box for the picture `name`.
std::string missing_resource_text(const std::string &name);

// A game start whose picture `name` did not load: the "Pitlorex - Erro 05" box names it and
// the process ends with status 1 through shutdown_system, before anything of the game is drawn.
[[noreturn]] void end_with_missing_resource(const std::string &name);

// Brings the library, the font engine, sound, the window, input and the pointer up through the
// platform seam, and installs the menu's close handler. Returns 0, or ends the process with
// status 1 (no display, no font engine, no window) after saying why.
int init_system();

// Frees the start-up sound and the title tune, drops typed keys, stops the font engine and ends
// the process with `status`. Safe at any point of start-up, also before the keyboard exists or
// after the font engine failed to start.
[[noreturn]] void shutdown_system(int status);

// What the screen flow shows after a game ended as `game` says: the Erro 05 box naming the
// picture and the end of the process for a missing picture, the victory board (which ends the
// process) after the last level, the pointer and the title screen after a game over, nothing
// after a close. Returns the outcome.
GameOutcome show_game_end(const GameResult &game);

// The screen flow, entered with the title screen showing; returns when the window was closed
// in the menu. "Sair" ends the process inside it.
void main_menu();

// The whole program: start-up, the title with its tune and sound, the screen flow, and the
// library's shutdown when the window was closed. Returns the exit status (0). Reads no
// command line and no environment beyond the display.
int pitlorex_main();
