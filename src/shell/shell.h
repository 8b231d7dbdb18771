// The program shell: start-up, error boxes, shutdown and the screen flow.
#pragma once

#include <allegro.h>

#include <atomic>

// The window's size in pixels.
constexpr int WINDOW_WIDTH = 512;
constexpr int WINDOW_HEIGHT = 384;

// The start-up sound and the title tune; nullptr when not loaded (or already freed).
extern SAMPLE *startup_sample;
extern MIDI *title_music;
// The mouse pointer's image; nullptr when "imagens/cursor.bmp" did not load (the library's
// arrow is used then).
extern BITMAP *cursor_bitmap;

// Set by the menu's close handler (the library's thread) when the window is closed while the
// title menu runs; cleared on every entry into the menu.
extern std::atomic<bool> menu_close_requested;

// Shows a blocking error box with `caption` on it and `text` inside, after printing both to
// standard error so that a player who started the game from a terminal sees them too.
// The window title keeps the caption afterwards.
void show_error_box(const char *caption, const char *text);

// Brings the library, the font engine, sound, the window, input and the pointer up, and
// installs the menu's close handler. Returns 0, or ends the process with status 1 (no display,
// no font engine, no window) after saying why.
int init_system();

// Frees the start-up sound and the title tune, drops typed keys, stops the font engine and ends
// the process with `status`. Safe at any point of start-up, also before the keyboard exists or
// after the font engine failed to start.
[[noreturn]] void shutdown_system(int status);

// Makes the menu's handler the one the window's close button calls.
void install_menu_close_handler();

// The screen flow, entered with the title screen showing; returns when the window was closed
// in the menu. "Sair" ends the process inside it.
void main_menu();

// The whole program: start-up, the title with its tune and sound, the screen flow, and the
// library's shutdown when the window was closed. Returns the exit status (0). Reads no
// command line and no environment beyond the display.
int pitlorex_main();
