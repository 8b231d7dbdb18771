// The game's icon, for the desktop's icon theme and the window's title bar: the miner standing
// on the first area's floor, drawn from the game's own tile and object art.
#pragma once

#include "game_data.h"
#include "image.h"

#include <string>

// The sizes the hicolor icon theme gets, in pixels; each a whole multiple of the art's 16.
constexpr int ICON_SIZES[] = {16, 32, 48, 256};

// The window icon's size: big enough for a window manager to scale down cleanly.
constexpr int WINDOW_ICON_SIZE = 48;

// The 16 x 16 icon: tile 'A' (the first area's floor) with object '1' (the miner) over it.
Image draw_game_icon(const GameData &data);

// `image` enlarged `zoom` times, every pixel a zoom x zoom square: pixel art stays sharp.
Image enlarge(const Image &image, int zoom);

// `image` as XPM, the C source form of a picture that Allegro's X11 window takes as its icon:
// an array named `name` of the header line, the colours, then one string a row. One or two
// characters a pixel, as many as the number of colours needs.
std::string encode_xpm(const Image &image, const std::string &name);

// Writes <dir>/hicolor/<N>x<N>/apps/pitlorex.png for every icon size and <dir>/pitlorex_icon.xpm
// (array pitlorex_icon_xpm) at the window icon's size. Throws BuildError if a file cannot be
// written.
void write_game_icons(const GameData &data, const std::string &dir);
