// Drawing text: glyphs from the cache, kerned, blended onto an Allegro bitmap inside its clip.
#include "font/alfont_extra.h"
#include "font/text_walk.h"

#include <algorithm>

namespace {

// The rectangle that may be drawn on: the clipping rectangle within the bitmap, right and
// bottom exclusive.
struct Clip {
    int left, top, right, bottom;
};

Clip drawable_area(const BITMAP *bmp)
{
    Clip c{0, 0, bmp->w, bmp->h};
    if (bmp->clip) {
        c.left = std::max(c.left, bmp->cl);
        c.top = std::max(c.top, bmp->ct);
        c.right = std::min(c.right, bmp->cr);
        c.bottom = std::min(c.bottom, bmp->cb);
    }
    return c;
}

// The part of a glyph placed at (gx, gy) that lies inside the clip, right and bottom exclusive.
struct Span {
    int x0, y0, x1, y1;
};

Span glyph_span(const GlyphImage &g, long gx, long gy, const Clip &clip)
{
    // Worked out in long: a text placed near the ends of the int range must not wrap around.
    long x0 = std::max<long>(gx, clip.left), x1 = std::min<long>(gx + g.width, clip.right);
    long y0 = std::max<long>(gy, clip.top), y1 = std::min<long>(gy + g.rows, clip.bottom);
    if (x0 >= x1 || y0 >= y1)
        return Span{0, 0, 0, 0};
    return Span{(int)x0, (int)y0, (int)x1, (int)y1};
}

// One channel blended: a = 0 keeps `bg`, a = 255 gives `fg`, rounded toward zero between.
int mix(int bg, int fg, int a) { return bg + (fg - bg) * a / 255; }

// A 16-bit pixel blended towards `colour`: each of its fields of 5, 6 and 5 bits on its own
// (red and blue swap places between displays, green stays in the middle).
int blend16(int pixel, int colour, int a)
{
    int r = mix((pixel >> 11) & 31, (colour >> 11) & 31, a);
    int g = mix((pixel >> 5) & 63, (colour >> 5) & 63, a);
    int b = mix(pixel & 31, colour & 31, a);
    return (r << 11) | (g << 5) | b;
}

// A pixel of any other colour depth blended towards `colour`, through the library's colour
// components (the game itself draws at depth 16).
int blend_any(int depth, int pixel, int colour, int a)
{
    return makecol_depth(depth, mix(getr_depth(depth, pixel), getr_depth(depth, colour), a),
                         mix(getg_depth(depth, pixel), getg_depth(depth, colour), a),
                         mix(getb_depth(depth, pixel), getb_depth(depth, colour), a));
}

// Blends one glyph's coverage at (gx, gy), a pixel at a time, inside the clip. Pixels the
// glyph does not cover are not touched.
void blend_glyph(BITMAP *bmp, const GlyphImage &g, long gx, long gy, int colour, const Clip &clip)
{
    int depth = bitmap_color_depth(bmp);
    Span span = glyph_span(g, gx, gy, clip);
    for (int y = span.y0; y < span.y1; y++) {
        for (int x = span.x0; x < span.x1; x++) {
            int a = g.coverage[(size_t)(y - gy) * g.width + (x - gx)];
            if (a == 0)
                continue;
            if (depth == 16)
                _putpixel16(bmp, x, y, blend16(_getpixel16(bmp, x, y), colour, a));
            else
                putpixel(bmp, x, y, blend_any(depth, getpixel(bmp, x, y), colour, a));
        }
    }
}

}  // namespace

void font_blend_glyph(BITMAP *bmp, const GlyphImage &glyph, long gx, long gy, int colour)
{
    blend_glyph(bmp, glyph, gx, gy, colour, drawable_area(bmp));
}

int alfont_text_length(ALFONT_FONT *typeface, const char *text)
{
    if (!typeface || !typeface->face || !text)
        return 0;
    return (int)((walk_text(typeface, text, [](const GlyphImage &, long) {}) + 63) >> 6);
}

void alfont_textout_aa_ex(BITMAP *bmp, ALFONT_FONT *typeface, const char *text, int x, int y,
                          int colour, int background)
{
    if (!bmp || !typeface || !typeface->face || !text)
        return;
    acquire_bitmap(bmp);
    // The text is measured only for the box a background fills: the menu draws with none.
    int width = background != -1 ? alfont_text_length(typeface, text) : 0;
    if (width > 0) {
        // Clamped to just outside the bitmap first, so that a box near the ends of the int
        // range cannot wrap around and fill the wrong side.
        auto clamp_x = [&](long v) { return (int)std::min<long>(std::max<long>(v, -1), bmp->w); };
        auto clamp_y = [&](long v) { return (int)std::min<long>(std::max<long>(v, -1), bmp->h); };
        long right = (long)x + width - 1, bottom = (long)y + font_line_height(typeface) - 1;
        if (right >= 0 && bottom >= 0 && x < bmp->w && y < bmp->h)
            rectfill(bmp, clamp_x(x), clamp_y(y), clamp_x(right), clamp_y(bottom), background);
    }
    Clip clip = drawable_area(bmp);
    long baseline = (long)y + font_ascent(typeface);
    walk_text(typeface, text, [&](const GlyphImage &glyph, long pen) {
        blend_glyph(bmp, glyph, (long)x + (pen >> 6) + glyph.left, baseline - glyph.top, colour,
                    clip);
    });
    release_bitmap(bmp);
}
