// Drawing text: glyphs from the cache, kerned, blended onto an Allegro bitmap inside its clip.
#include "font/alfont_extra.h"
#include "font/font_face.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// One channel blended: a = 0 keeps `bg`, a = 255 gives `fg`.
inline int mix(int bg, int fg, int a) { return bg + (fg - bg) * a / 255; }

// The columns of glyph row `row` (placed at gx) that carry ink and lie inside the span.
inline void ink_columns(const GlyphImage &g, int row, long gx, const Span &span, int &x0, int &x1)
{
    x0 = (int)std::max<long>(span.x0, gx + g.ink_begin[row]);
    x1 = (int)std::min<long>(span.x1, gx + g.ink_end[row]);
}

// (t / 255) rounded toward zero, as C divides, for |t| <= 63 * 255, without a division:
// for 0 <= u <= 16065, u / 255 is exactly ((u + 1) * 257) >> 16.
inline int div255(int t)
{
    int sign = t >> 31, u = (t ^ sign) - sign;
    int q = ((u + 1) * 257) >> 16;
    return (q ^ sign) - sign;
}

// Blending 16-bit pixels in one colour. A pixel holds fields of 5, 6 and 5 bits (red and blue
// swap places between displays, green stays in the middle); each field is blended on its own:
// c + (f - c) * a / 255, which leaves c at a = 0 and gives f at a = 255, so every pixel takes
// the same arithmetic and the loop has no branch to mispredict. Eight pixels at a time where
// SSE2 is there, the same arithmetic in 16-bit lanes: (f - c) * a is split into its positive
// and negative parts (one of them 0) so that both divide as unsigned numbers.
struct Blend16 {
    int fr, fg, fb;
#ifdef __SSE2__
    __m128i r_f, g_f, b_f;
#endif

    explicit Blend16(int colour)
        : fr((colour >> 11) & 31), fg((colour >> 5) & 63), fb(colour & 31)
    {
#ifdef __SSE2__
        r_f = _mm_set1_epi16((short)fr);
        g_f = _mm_set1_epi16((short)fg);
        b_f = _mm_set1_epi16((short)fb);
#endif
    }

    // Blends `n` pixels with their coverage. The eights may run on to `room` pixels (whose
    // coverage there must be 0, which leaves them as they are), so that a row seldom needs a
    // pixel-by-pixel tail.
    void row(uint16_t *pixels, const unsigned char *cover, int n, int room) const
    {
        int i = 0;
#ifdef __SSE2__
        const __m128i zero = _mm_setzero_si128(), one = _mm_set1_epi16(1),
                      m257 = _mm_set1_epi16(257), mask6 = _mm_set1_epi16(63),
                      mask5 = _mm_set1_epi16(31);
        for (; i < n && i + 8 <= room; i += 8) {
            __m128i p = _mm_loadu_si128((const __m128i *)(pixels + i));
            __m128i a = _mm_unpacklo_epi8(_mm_loadl_epi64((const __m128i *)(cover + i)), zero);
            auto channel = [&](__m128i c, __m128i f) {
                __m128i up = _mm_mullo_epi16(_mm_subs_epu16(f, c), a);
                __m128i down = _mm_mullo_epi16(_mm_subs_epu16(c, f), a);
                up = _mm_mulhi_epu16(_mm_add_epi16(up, one), m257);
                down = _mm_mulhi_epu16(_mm_add_epi16(down, one), m257);
                return _mm_sub_epi16(_mm_add_epi16(c, up), down);
            };
            __m128i r = channel(_mm_srli_epi16(p, 11), r_f);
            __m128i g = channel(_mm_and_si128(_mm_srli_epi16(p, 5), mask6), g_f);
            __m128i b = channel(_mm_and_si128(p, mask5), b_f);
            p = _mm_or_si128(_mm_or_si128(_mm_slli_epi16(r, 11), _mm_slli_epi16(g, 5)), b);
            _mm_storeu_si128((__m128i *)(pixels + i), p);
        }
#else
        (void)room;
#endif
        for (; i < n; i++) {
            int c = pixels[i], a = cover[i];
            int r = (c >> 11) & 31, g = (c >> 5) & 63, b = c & 31;
            r += div255((fr - r) * a);
            g += div255((fg - g) * a);
            b += div255((fb - b) * a);
            pixels[i] = (uint16_t)((r << 11) | (g << 5) | b);
        }
    }
};

// Blends one glyph's coverage at (gx, gy), only over the inked columns of each row. A memory
// bitmap is blended in place. Any other (the screen) is read a row at a time into a buffer
// kept between calls and written back, so that it sees one line access per row.
void blend_glyph16(BITMAP *bmp, const GlyphImage &g, long gx, long gy, const Blend16 &blend,
                   const Clip &clip)
{
    Span span = glyph_span(g, gx, gy, clip);
    if (span.empty())
        return;
    bool memory = is_memory_bitmap(bmp);
    static std::vector<uint16_t> line;
    if (!memory) {
        if ((int)line.size() < span.x1 - span.x0)
            line.resize(span.x1 - span.x0);
        bmp_select(bmp);
    }
    for (int y = span.y0; y < span.y1; y++) {
        int row = (int)(y - gy), x0, x1;
        ink_columns(g, row, gx, span, x0, x1);
        if (x0 >= x1)
            continue;
        const unsigned char *cover = &g.coverage[(size_t)row * g.stride + (x0 - gx)];
        if (memory) {
            // Past the last inked column lie zero coverage bytes up to the row's padding, and
            // pixels of the bitmap up to the clip's right edge.
            int room = (int)std::min<long>(clip.right - x0, gx + g.width + COVERAGE_PAD - x0);
            blend.row((uint16_t *)bmp->line[y] + x0, cover, x1 - x0, room);
            continue;
        }
        const uint16_t *from = (const uint16_t *)bmp_read_line(bmp, y);
        std::copy(from + x0, from + x1, line.begin());
        bmp_unwrite_line(bmp);
        blend.row(line.data(), cover, x1 - x0, x1 - x0);
        uint16_t *to = (uint16_t *)bmp_write_line(bmp, y);
        std::copy(line.begin(), line.begin() + (x1 - x0), to + x0);
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
            int a = g.coverage[(size_t)(y - gy) * g.stride + (x - gx)];
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

void font_blend_glyph(BITMAP *bmp, const GlyphImage &glyph, long gx, long gy, int colour)
{
    if (bitmap_color_depth(bmp) == 16)
        blend_glyph16(bmp, glyph, gx, gy, Blend16(colour), drawable_area(bmp));
    else
        blend_glyph_any(bmp, glyph, gx, gy, colour, drawable_area(bmp));
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
    bool depth16 = bitmap_color_depth(bmp) == 16;
    Blend16 blend(colour);
    walk_text(typeface, text, [&](const GlyphImage &glyph, long pen) {
        long gx = (long)x + (pen >> 6) + glyph.left;
        long gy = baseline - glyph.top;
        if (depth16)
            blend_glyph16(bmp, glyph, gx, gy, blend, clip);
        else
            blend_glyph_any(bmp, glyph, gx, gy, colour, clip);
    });
    release_bitmap(bmp);
}
