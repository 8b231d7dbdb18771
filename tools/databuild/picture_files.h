// Picture file formats: 24-bit BMP for the game, PNG for the contact sheet.
#pragma once

#include "image.h"
#include "output_file.h"

// An uncompressed 24-bit Windows BMP, bottom row first, rows padded to four bytes: the form
// Allegro's load_bitmap reads and converts to the screen's colour depth.
Bytes encode_bmp24(const Image &image);

// A truecolour PNG (8 bits a channel), compressed by libpng: with no alpha, or with an alpha
// channel that makes pink pixels clear and every other pixel opaque. Throws BuildError when
// libpng refuses the picture (an empty one, for instance).
enum PngAlpha { PNG_OPAQUE, PNG_PINK_CLEAR };
Bytes encode_png(const Image &image, PngAlpha alpha = PNG_OPAQUE);
