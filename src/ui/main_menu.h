// The title screen and its four-item main menu, worked with the mouse.
#pragma once

#include <allegro.h>

#include <atomic>

#include "font/alfont.h"
#include "ui/pointer_box.h"

// What poll_main_menu returns: the item clicked, or MENU_NONE.
constexpr int MENU_NONE = 0;
constexpr int MENU_START = 1;    // "Iniciar"
constexpr int MENU_HELP = 2;     // "Ajuda"
constexpr int MENU_OPTIONS = 3;  // "Opcoes"
constexpr int MENU_QUIT = 4;     // "Sair"

// The title picture with the menu labels as last drawn; the screen shows a copy of it.
extern BITMAP *title_bitmap;
// The title picture as loaded, never drawn on: a label's box is restored from it before the
// label is drawn again, so that its anti-aliased edges are not blended twice.
extern BITMAP *title_picture;
// The menu's outline font, size 40.
extern ALFONT_FONT *menu_font;

// Set by the menu's close handler when the window is closed while the title menu runs;
// cleared by the screen flow on every entry into the menu. A hover ends at once when it is set.
extern std::atomic<bool> menu_close_requested;

// Makes the menu's handler the one the window's close button calls: it only sets
// menu_close_requested.
void install_menu_close_handler();

// Shows a fresh copy of the title picture with the four labels in their normal colour, in the
// window at once. Loads the picture at every call (so earlier highlights are gone) and the font at the first.
void title_screen();

// Draws the four labels in their normal colour into title_bitmap and copies it to the screen.
void draw_main_menu();

// One pass of the menu's keys, then one hover-and-click pass over the items, in order. Up and
// Down move one light over the words, and the keys keep it (in `light`, which the menu loop
// owns) until the pointer moves, also over a title drawn afresh (a board closed); Return or
// Space chooses the lit word, or with none lit lights the first. The lit word has a ">" before
// it. A short click chooses the word where the button went down,
// whatever the keys lit meanwhile. While the pointer stays
// on an item that item is drawn highlighted and copied to the screen, and a left click alone
// (held alone, or a click too short to see) returns its number at once; when the pointer is
// on none, all labels go back to normal and MENU_NONE is returned. A label is drawn and the
// picture copied only when its colour changes; a pass that changes nothing yields the
// processor instead. A close request ends the hover at once (MENU_NONE), for the menu loop.
int poll_main_menu(KeyLight &light);

// Frees the title picture and the menu font; the next title_screen loads both again. For the
// moment before the font engine stops.
void release_title_screen();
