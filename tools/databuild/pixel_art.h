// Pixel art kept as text: a size, a palette of one character a colour, then the pixels.
//
//   # a comment line
//   size 16 16
//   . #ff00ff  transparent (words after the colour describe it)
//   a #6b4a2b  packed earth
//   pixels
//   ................   (one line a row, one character a pixel)
#pragma once

#include "image.h"

#include <istream>
#include <string>

// Reads pixel art from `in`; `name` is the file named in errors. When `want_width` and
// `want_height` are not 0 the picture must have that size. Throws BuildError naming the line
// for a missing or bad size, a bad palette line, a palette character used twice, a colour that
// would turn into the mask at 16 bits, an unknown character in a row, a row of the wrong
// length, or the wrong number of rows.
Image parse_pixel_art(std::istream &in, const std::string &name, int want_width = 0,
                      int want_height = 0);

// Reads the pixel art file at `path`; a missing file is a BuildError too.
Image read_pixel_art(const std::string &path, int want_width = 0, int want_height = 0);
