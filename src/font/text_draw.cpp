// Drawing text: glyphs from the cache, kerned, blended onto an Allegro bitmap inside its clip.
#include "font/alfont_extra.h"
#include "font/font_face.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

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
    bool empty() const { return x0 >= x1 || y0 >= y1; }
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

// Calls `visit` for each glyph of `text` with its pen position (1/64 pixel, from the start of
// the text); returns the pen position after the last glyph.
long walk_text(ALFONT_FONT *font, const char *text,
               const std::function<void(const GlyphImage &, long)> &visit)
{
    long pen = 0;
    FT_UInt previous = 0;
    for (const char *p = text; *p; p++) {
        FT_UInt index = FT_Get_Char_Index(font->face, (unsigned char)*p);
        pen += font_kerning(font, previous, index);
        previous = index;
        const GlyphImage *glyph = font_glyph(font, index);
        if (!glyph)
            continue;
        if (visit)
            visit(*glyph, pen);
        pen += glyph->advance;
    }
    return pen;
}

// One channel blended: a = 0 keeps `bg`, a = 255 gives `fg`.
inline int mix(int bg, int fg, int a) { return bg + (fg - bg) * a / 255; }

// Blends one glyph's coverage at (gx, gy) in `colour`, a row at a time so that a screen bitmap
// sees one line access per row. A 16-bit pixel holds fields of 5, 6 and 5 bits (red and blue
// swap places between displays, green stays in the middle); each field is blended on its own.
void blend_glyph16(BITMAP *bmp, const GlyphImage &g, long gx, long gy, int colour,
                   const Clip &clip)
{
    Span span = glyph_span(g, gx, gy, clip);
    if (span.empty())
        return;
    int x0 = span.x0, x1 = span.x1, y0 = span.y0, y1 = span.y1;
    int fr = (colour >> 11) & 31, fg = (colour >> 5) & 63, fb = colour & 31;
    std::vector<uint16_t> row(x1 - x0);
    bmp_select(bmp);
    for (int y = y0; y < y1; y++) {
        const unsigned char *cover = &g.coverage[(size_t)(y - gy) * g.width];
        uint16_t *pixels = (uint16_t *)bmp_read_line(bmp, y);
        for (int x = x0; x < x1; x++)
            row[x - x0] = pixels[x];
        bmp_unwrite_line(bmp);
        for (int x = x0; x < x1; x++) {
            int a = cover[x - gx];
            if (a == 255) {
                row[x - x0] = (uint16_t)colour;
            } else if (a != 0) {
                int c = row[x - x0];
                int r = mix((c >> 11) & 31, fr, a), gg = mix((c >> 5) & 63, fg, a),
                    b = mix(c & 31, fb, a);
                row[x - x0] = (uint16_t)((r << 11) | (gg << 5) | b);
            }
        }
        pixels = (uint16_t *)bmp_write_line(bmp, y);
        for (int x = x0; x < x1; x++)
            pixels[x] = row[x - x0];
        bmp_unwrite_line(bmp);
    }
}

// The same for any other colour depth, a pixel at a time (the game itself draws at depth 16).
void blend_glyph_any(BITMAP *bmp, const GlyphImage &g, long gx, long gy, int colour,
                     const Clip &clip)
{
    int depth = bitmap_color_depth(bmp);
    int fr = getr_depth(depth, colour), fg = getg_depth(depth, colour),
        fb = getb_depth(depth, colour);
    Span span = glyph_span(g, gx, gy, clip);
    for (int y = span.y0; y < span.y1; y++) {
        for (int x = span.x0; x < span.x1; x++) {
            int a = g.coverage[(size_t)(y - gy) * g.width + (x - gx)];
            if (a == 0)
                continue;
            int c = getpixel(bmp, x, y);
            putpixel(bmp, x, y,
                     makecol_depth(depth, mix(getr_depth(depth, c), fr, a),
                                   mix(getg_depth(depth, c), fg, a),
                                   mix(getb_depth(depth, c), fb, a)));
        }
    }
}

}  // namespace

int alfont_text_length(ALFONT_FONT *typeface, const char *text)
{
    if (!typeface || !typeface->face || !text)
        return 0;
    return (int)((walk_text(typeface, text, nullptr) + 63) >> 6);
}

int alfont_text_height(ALFONT_FONT *typeface) { return typeface ? font_line_height(typeface) : 0; }

void alfont_textout_aa_ex(BITMAP *bmp, ALFONT_FONT *typeface, const char *text, int x, int y,
                          int colour, int background)
{
    if (!bmp || !typeface || !typeface->face || !text)
        return;
    acquire_bitmap(bmp);
    int width = alfont_text_length(typeface, text);
    if (background != -1 && width > 0) {
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
    bool depth16 = bitmap_color_depth(bmp) == 16;
    walk_text(typeface, text, [&](const GlyphImage &glyph, long pen) {
        long gx = (long)x + (pen >> 6) + glyph.left;
        long gy = baseline - glyph.top;
        if (depth16)
            blend_glyph16(bmp, glyph, gx, gy, colour, clip);
        else
            blend_glyph_any(bmp, glyph, gx, gy, colour, clip);
    });
    release_bitmap(bmp);
}
