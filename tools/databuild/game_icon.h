// The game's icon, for the desktop's icon theme and the window's title bar: the miner, drawn
// from the game's own object art, on a transparent background.
#pragma once

#include "game_data.h"
#include "image.h"

#include <string>
#include <vector>

// The sizes the hicolor icon theme gets, in pixels; each a whole multiple of the art's 16.
constexpr int ICON_SIZES[] = {16, 32, 48, 256};

// The window icon's size: big enough for a window manager to scale down cleanly.
constexpr int WINDOW_ICON_SIZE = 48;

// The sizes the window offers docks and task bars as ARGB pictures (_NET_WM_ICON).
constexpr int WINDOW_ARGB_SIZES[] = {16, 32, 48};

// The 16 x 16 icon: object '1' (the miner), pink (PINK) where it is transparent.
Image draw_game_icon(const GameData &data);

// `image` enlarged `zoom` times, every pixel a zoom x zoom square: pixel art stays sharp.
Image enlarge(const Image &image, int zoom);

// `image` as XPM, the C source form of a picture that Allegro's X11 window takes as its icon:
// an array named `name` of the header line, the colours, then one string a row. One or two
// characters a pixel, as many as the number of colours needs. Pink pixels are "None", clear.
std::string encode_xpm(const Image &image, const std::string &name);

// `images` as C source of X's _NET_WM_ICON property: an array of unsigned long named `name`
// holding, for each picture, its width, its height and its pixels as 0xAARRGGBB (pink clear,
// every other pixel opaque), and a constant `name`_size with the number of elements.
std::string encode_argb_icons(const std::vector<Image> &images, const std::string &name);

// Writes <dir>/hicolor/<N>x<N>/apps/pitlorex.png (with alpha) for every icon size,
// <dir>/pitlorex_icon.xpm (array pitlorex_icon_xpm) at the window icon's size and
// <dir>/pitlorex_icon_argb.h (array pitlorex_icon_argb) at the window's ARGB sizes. Throws
// BuildError if a file cannot be written.
void write_game_icons(const GameData &data, const std::string &dir);
