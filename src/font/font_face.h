// Inside the font layer: a loaded face with its glyph cache, shared by loading and drawing.
#pragma once

#include "font/alfont.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <map>
#include <utility>
#include <vector>

// One rasterised glyph: 8-bit coverage (0 = none, 255 = full) and where it sits.
struct GlyphImage {
    int width = 0, rows = 0;        // coverage size in pixels
    int left = 0, top = 0;          // offset of the coverage from the pen, top above the baseline
    long advance = 0;               // pen advance in 1/64 pixel
    std::vector<unsigned char> coverage;  // rows * width, top row first
};

// What the characters 0..255 of a text are at one size: looked up once, then drawn from here
// without a search in the glyph map or FreeType's character map.
struct CharGlyph {
    bool known = false;              // looked up at `size` yet
    FT_UInt index = 0;               // FreeType's glyph index (0: none in the font)
    const GlyphImage *glyph = nullptr;  // nullptr when it cannot be rendered
};

struct ALFONT_FONT {
    FT_Face face = nullptr;  // nullptr when the file did not load: the font draws nothing
    int size = 0;            // pixel size of text drawn from now on
    // Every glyph drawn so far, by (pixel size, glyph index): the same words drawn again
    // rasterise nothing.
    std::map<std::pair<int, FT_UInt>, GlyphImage> glyphs;
    // The characters at the size they were looked up for (`chars_size`); a new size clears
    // them. Map nodes never move, so the pointers stay valid.
    int chars_size = 0;
    CharGlyph chars[256];
};

// The glyph index and image of character `c` at the font's current size.
const CharGlyph &font_char(ALFONT_FONT *font, unsigned char c);

// The glyph of `index` at the font's current size, rasterised on first use. nullptr when
// FreeType cannot render it (the glyph is then skipped).
const GlyphImage *font_glyph(ALFONT_FONT *font, FT_UInt index);

// The kerning between two glyphs at the font's current size, in 1/64 pixel (0 without kerning).
long font_kerning(ALFONT_FONT *font, FT_UInt left, FT_UInt right);

// Distance from the top of a line of text to its baseline, and the line's height, in pixels.
int font_ascent(const ALFONT_FONT *font);
int font_line_height(const ALFONT_FONT *font);
