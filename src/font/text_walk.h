// The two steps of drawing text, for text_draw.cpp and for the tests and the bench that take
// them apart: walking a text's glyphs and blending one glyph. Not part of the font layer's API.
#pragma once

#include "font/font_face.h"

// Calls `visit` for each glyph of `text` with its pen position (1/64 pixel, from the start of
// the text), kerning applied as drawing text applies it; returns the pen position after the
// last glyph.
template <typename Visit>
long walk_text(ALFONT_FONT *typeface, const char *text, Visit &&visit)
{
    long pen = 0;
    FT_UInt previous = 0;
    for (const char *p = text; *p; p++) {
        const CharGlyph &entry = font_char(typeface, (unsigned char)*p);
        pen += font_kerning(typeface, previous, entry.index);
        previous = entry.index;
        if (!entry.glyph)
            continue;
        visit(*entry.glyph, pen);
        pen += entry.glyph->advance;
    }
    return pen;
}

// Blends one glyph's coverage in `colour` with its top left at (gx, gy), inside the bitmap's
// clip: what drawing text does for each glyph, without finding the glyphs or placing them.
void font_blend_glyph(BITMAP *bmp, const GlyphImage &glyph, long gx, long gy, int colour);
