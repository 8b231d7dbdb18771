// The 512 x 384 title picture: night sky, the name in gold, a mine entrance with rails, a cart
// of gold and the miner; the left column stays dark for the menu words.
#pragma once

#include "image.h"

#include <map>
#include <string>

constexpr int TITLE_WIDTH = 512;
constexpr int TITLE_HEIGHT = 384;

// The box the game draws the menu words in (x 90..220, y 180..355), kept dark and calm.
struct MenuArea {
    int left = 90, top = 180, right = 220, bottom = 355;
};

// Draws the picture from the title art ("miner", "cart", "lantern", "pick") and the name in
// the font at `name_font`. Colours are dithered to what 16 bits can show, so the gradients do
// not band in the game. Throws BuildError when the font does not load or the menu area would
// not stay dark and calm.
Image draw_title_picture(const std::map<std::string, Image> &art, const std::string &name_font);

// Brightness (0..255) of the brightest pixel and the spread (standard deviation) of the
// menu area, for the check above and for tests.
void measure_menu_area(const Image &picture, double &brightest, double &spread);
