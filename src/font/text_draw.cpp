// Drawing text: glyphs from the cache, kerned, blended onto an Allegro bitmap inside its clip.
#include "font/alfont_extra.h"
#include "font/font_face.h"

#include <algorithm>
#include <cstdint>
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
template <typename Visit>
long walk_text(ALFONT_FONT *font, const char *text, Visit &&visit)
{
    long pen = 0;
    FT_UInt previous = 0;
    for (const char *p = text; *p; p++) {
        const CharGlyph &entry = font_char(font, (unsigned char)*p);
        pen += font_kerning(font, previous, entry.index);
        previous = entry.index;
        if (!entry.glyph)
            continue;
        visit(*entry.glyph, pen);
        pen += entry.glyph->advance;
    }
    return pen;
}

// One channel blended: a = 0 keeps `bg`, a = 255 gives `fg`.
inline int mix(int bg, int fg, int a) { return bg + (fg - bg) * a / 255; }

// The columns of glyph row `row` (placed at gx) that carry ink and lie inside the span.
inline void ink_columns(const GlyphImage &g, int row, long gx, const Span &span, int &x0, int &x1)
{
    x0 = (int)std::max<long>(span.x0, gx + g.ink_begin[row]);
    x1 = (int)std::min<long>(span.x1, gx + g.ink_end[row]);
}

// One pixel of a 16-bit row blended: a pixel holds fields of 5, 6 and 5 bits (red and blue
// swap places between displays, green stays in the middle); each field is blended on its own.
inline uint16_t blend16(uint16_t c, int a, int colour, int fr, int fg, int fb)
{
    if (a == 255)
        return (uint16_t)colour;
    int r = mix((c >> 11) & 31, fr, a), g = mix((c >> 5) & 63, fg, a), b = mix(c & 31, fb, a);
    return (uint16_t)((r << 11) | (g << 5) | b);
}

// Blends one glyph's coverage at (gx, gy) in `colour`, only over the inked columns of each row.
// A memory bitmap is blended in place. Any other (the screen) is read a row at a time into a
// buffer kept between calls and written back, so that it sees one line access per row.
void blend_glyph16(BITMAP *bmp, const GlyphImage &g, long gx, long gy, int colour,
                   const Clip &clip)
{
    Span span = glyph_span(g, gx, gy, clip);
    if (span.empty())
        return;
    int fr = (colour >> 11) & 31, fg = (colour >> 5) & 63, fb = colour & 31;
    if (is_memory_bitmap(bmp)) {
        for (int y = span.y0; y < span.y1; y++) {
            int row = (int)(y - gy), x0, x1;
            ink_columns(g, row, gx, span, x0, x1);
            const unsigned char *cover = &g.coverage[(size_t)row * g.width];
            uint16_t *pixels = (uint16_t *)bmp->line[y];
            for (int x = x0; x < x1; x++)
                if (int a = cover[x - gx])
                    pixels[x] = blend16(pixels[x], a, colour, fr, fg, fb);
        }
        return;
    }
    static std::vector<uint16_t> line;
    if ((int)line.size() < span.x1 - span.x0)
        line.resize(span.x1 - span.x0);
    bmp_select(bmp);
    for (int y = span.y0; y < span.y1; y++) {
        int row = (int)(y - gy), x0, x1;
        ink_columns(g, row, gx, span, x0, x1);
        if (x0 >= x1)
            continue;
        const unsigned char *cover = &g.coverage[(size_t)row * g.width];
        uint16_t *pixels = (uint16_t *)bmp_read_line(bmp, y);
        for (int x = x0; x < x1; x++)
            line[x - x0] = pixels[x];
        bmp_unwrite_line(bmp);
        for (int x = x0; x < x1; x++)
            if (int a = cover[x - gx])
                line[x - x0] = blend16(line[x - x0], a, colour, fr, fg, fb);
        pixels = (uint16_t *)bmp_write_line(bmp, y);
        for (int x = x0; x < x1; x++)
            pixels[x] = line[x - x0];
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

int alfont_text_length(ALFONT_FONT *font, const char *text)
{
    if (!font || !font->face || !text)
        return 0;
    return (int)((walk_text(font, text, [](const GlyphImage &, long) {}) + 63) >> 6);
}

int alfont_text_height(ALFONT_FONT *font) { return font ? font_line_height(font) : 0; }

void alfont_textout_aa_ex(BITMAP *bmp, ALFONT_FONT *font, const char *text, int x, int y,
                          int colour, int background)
{
    if (!bmp || !font || !font->face || !text)
        return;
    acquire_bitmap(bmp);
    // The text is measured only for the box a background fills: the menu draws with none.
    int width = background != -1 ? alfont_text_length(font, text) : 0;
    if (width > 0) {
        // Clamped to just outside the bitmap first, so that a box near the ends of the int
        // range cannot wrap around and fill the wrong side.
        auto clamp_x = [&](long v) { return (int)std::min<long>(std::max<long>(v, -1), bmp->w); };
        auto clamp_y = [&](long v) { return (int)std::min<long>(std::max<long>(v, -1), bmp->h); };
        long right = (long)x + width - 1, bottom = (long)y + font_line_height(font) - 1;
        if (right >= 0 && bottom >= 0 && x < bmp->w && y < bmp->h)
            rectfill(bmp, clamp_x(x), clamp_y(y), clamp_x(right), clamp_y(bottom), background);
    }
    Clip clip = drawable_area(bmp);
    long baseline = (long)y + font_ascent(font);
    bool depth16 = bitmap_color_depth(bmp) == 16;
    walk_text(font, text, [&](const GlyphImage &glyph, long pen) {
        long gx = (long)x + (pen >> 6) + glyph.left;
        long gy = baseline - glyph.top;
        if (depth16)
            blend_glyph16(bmp, glyph, gx, gy, colour, clip);
        else
            blend_glyph_any(bmp, glyph, gx, gy, colour, clip);
    });
    release_bitmap(bmp);
}
