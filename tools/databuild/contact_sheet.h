// The contact sheet: every tile and object enlarged, each area laid out as in play, and the
// title picture with the menu words, in the colours the game shows at 16 bits.
#pragma once

#include "game_data.h"
#include "image.h"

// Lays out the sheet. `title` is the finished title picture; `label_font` (the menu font)
// writes the labels and the menu words. Throws BuildError when the font does not load.
Image draw_contact_sheet(const GameData &data, const Image &title, const std::string &label_font);
