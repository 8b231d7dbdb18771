// Anti-aliased text on 16-bit memory bitmaps: colour, coverage, the -1 background, clipping and
// kerning.
#include "font/alfont_extra.h"
#include "font/text_walk.h"
#include "font_test_font.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <utility>
#include <vector>

namespace {

// Pixel values of the 16-bit format in force (its red and blue may sit either way round).
int BLUE, RED, GREEN, GREY;

class FontDraw : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char *path = test_font_path();
        if (!path)
            GTEST_SKIP() << "no DejaVu Sans on this machine";
        BLUE = makecol16(0, 0, 255), RED = makecol16(255, 0, 0);
        GREEN = makecol16(0, 255, 0), GREY = makecol16(128, 128, 128);
        ASSERT_NE(alfont_init(), 1);
        font = alfont_load_font(path);
        ASSERT_EQ(alfont_set_font_size(font, 40), 0);
        bmp = create_bitmap(240, 80);
        clear_to_color(bmp, BLUE);
    }
    void TearDown() override
    {
        if (bmp)
            destroy_bitmap(bmp);
        alfont_exit();
    }
    ALFONT_FONT *font = nullptr;
    BITMAP *bmp = nullptr;
};

int count_pixels(BITMAP *b, const std::function<bool(int x, int y, int c)> &match)
{
    int n = 0;
    for (int y = 0; y < b->h; y++)
        for (int x = 0; x < b->w; x++)
            n += match(x, y, getpixel(b, x, y)) ? 1 : 0;
    return n;
}

// Rightmost column holding a pixel other than `bg`, or -1.
int rightmost_ink(BITMAP *b, int bg)
{
    int right = -1;
    count_pixels(b, [&](int x, int, int c) {
        if (c != bg && x > right)
            right = x;
        return false;
    });
    return right;
}

void checker(BITMAP *b)
{
    for (int y = 0; y < b->h; y++)
        for (int x = 0; x < b->w; x++)
            putpixel(b, x, y, ((x ^ y) & 1) ? GREY : BLUE);
}

}  // namespace

TEST_F(FontDraw, GlyphsAreBlendedInTheGivenColourInsideTheTextBox)
{
    alfont_textout_aa_ex(bmp, font, "Hex", 10, 5, RED, -1);
    int right = 10 + alfont_text_length(font, "Hex");
    int bottom = 5 + font_line_height(font);
    int solid = count_pixels(bmp, [](int, int, int c) { return c == RED; });
    int edges = count_pixels(bmp, [](int, int, int c) { return c != RED && c != BLUE; });
    EXPECT_GT(solid, 100);  // stems of a 40-pixel H
    EXPECT_GT(edges, 20);   // anti-aliased rims
    // Every touched pixel lies between the background and the text colour, channel by channel,
    // and inside the line's box.
    EXPECT_EQ(count_pixels(bmp, [&](int x, int y, int c) {
                  if (c == BLUE)
                      return false;
                  bool blend = getg16(c) == 0 && getr16(c) > 0 && getb16(c) < 255;
                  bool inside = x >= 10 && x < right && y >= 5 && y < bottom;
                  return !(blend && inside);
              }),
              0);
}

TEST_F(FontDraw, NoBackgroundLeavesPixelsAroundTheGlyphsUntouched)
{
    // What the text does to each of the two plain backgrounds...
    alfont_textout_aa_ex(bmp, font, "o ho", 10, 5, RED, -1);
    BITMAP *ink_on_blue = create_bitmap(bmp->w, bmp->h);
    blit(bmp, ink_on_blue, 0, 0, 0, 0, bmp->w, bmp->h);
    BITMAP *on_grey = create_bitmap(bmp->w, bmp->h);
    clear_to_color(on_grey, GREY);
    alfont_textout_aa_ex(on_grey, font, "o ho", 10, 5, RED, -1);

    // ...is what it does to a checker of both: every pixel is blended with its own background
    // alone, and no pixel that a plain background kept is touched.
    checker(bmp);
    alfont_textout_aa_ex(bmp, font, "o ho", 10, 5, RED, -1);
    int changed = 0;
    EXPECT_EQ(count_pixels(bmp, [&](int x, int y, int c) {
                  bool grey = (x ^ y) & 1;
                  int plain = grey ? getpixel(on_grey, x, y) : getpixel(ink_on_blue, x, y);
                  changed += c != (grey ? GREY : BLUE);
                  return c != plain;
              }),
              0);
    EXPECT_GT(changed, 100);

    // A real background fills the text's box and nothing beyond it.
    checker(bmp);
    alfont_textout_aa_ex(bmp, font, "o ho", 10, 5, RED, GREEN);
    int right = 10 + alfont_text_length(font, "o ho");
    int bottom = 5 + font_line_height(font);
    EXPECT_EQ(getpixel(bmp, 10, 5), GREEN);
    EXPECT_EQ(getpixel(bmp, right - 1, bottom - 1), GREEN);
    EXPECT_EQ(getpixel(bmp, 30, 20), GREEN);  // inside the o's hole
    EXPECT_EQ(count_pixels(bmp, [&](int x, int y, int c) {
                  bool in_box = x >= 10 && x < right && y >= 5 && y < bottom;
                  return !in_box && c != (((x ^ y) & 1) ? GREY : BLUE);
              }),
              0);
    destroy_bitmap(ink_on_blue);
    destroy_bitmap(on_grey);
}

TEST_F(FontDraw, DrawingStaysInsideTheBitmapAndItsClip)
{
    // A sub-bitmap: its parent outside it must stay as it was.
    BITMAP *sub = create_sub_bitmap(bmp, 50, 20, 40, 30);
    alfont_textout_aa_ex(sub, font, "WMW", -20, -15, RED, -1);
    alfont_textout_aa_ex(sub, font, "WMW", 20, 10, RED, -1);
    EXPECT_GT(count_pixels(sub, [](int, int, int c) { return c != BLUE; }), 50);
    EXPECT_EQ(count_pixels(bmp, [](int x, int y, int c) {
                  return c != BLUE && (x < 50 || x >= 90 || y < 20 || y >= 50);
              }),
              0);
    destroy_bitmap(sub);

    // A clipping rectangle, with and without a background.
    clear_to_color(bmp, BLUE);
    set_clip_rect(bmp, 30, 10, 59, 39);
    alfont_textout_aa_ex(bmp, font, "WMW", 0, 0, RED, GREEN);
    alfont_textout_aa_ex(bmp, font, "WMW", 40, 20, RED, -1);
    EXPECT_GT(count_pixels(bmp, [](int, int, int c) { return c == RED; }), 30);
    EXPECT_EQ(count_pixels(bmp, [](int x, int y, int c) {
                  return c != BLUE && (x < 30 || x > 59 || y < 10 || y > 39);
              }),
              0);

    // Far away, at the ends of the integer range: nothing drawn, nothing broken.
    set_clip_rect(bmp, 0, 0, bmp->w - 1, bmp->h - 1);
    clear_to_color(bmp, BLUE);
    alfont_textout_aa_ex(bmp, font, "WMW", INT_MAX - 5, 10, RED, -1);
    alfont_textout_aa_ex(bmp, font, "WMW", INT_MIN, INT_MIN, RED, -1);
    alfont_textout_aa_ex(bmp, font, "WMW", 10, bmp->h + 1000, RED, -1);
    alfont_textout_aa_ex(bmp, font, "WMW", -1000, 10, RED, -1);
    EXPECT_EQ(count_pixels(bmp, [](int, int, int c) { return c != BLUE; }), 0);
}

TEST_F(FontDraw, KerningPullsAVTogether)
{
    int a = alfont_text_length(font, "A");
    int v = alfont_text_length(font, "V");
    EXPECT_LT(alfont_text_length(font, "AV"), a + v);

    alfont_textout_aa_ex(bmp, font, "AV", 10, 5, RED, -1);
    int kerned = rightmost_ink(bmp, BLUE);
    clear_to_color(bmp, BLUE);
    alfont_textout_aa_ex(bmp, font, "A", 10, 5, RED, -1);
    alfont_textout_aa_ex(bmp, font, "V", 10 + a, 5, RED, -1);
    int apart = rightmost_ink(bmp, BLUE);
    EXPECT_EQ(apart - kerned, a + v - alfont_text_length(font, "AV"));
    EXPECT_GT(apart - kerned, 0);
}

TEST_F(FontDraw, OtherColourDepthsBlendToo)
{
    BITMAP *deep = create_bitmap_ex(32, 60, 60);
    clear_to_color(deep, makecol32(0, 0, 255));
    alfont_textout_aa_ex(deep, font, "H", 5, 5, makecol32(255, 0, 0), -1);
    EXPECT_GT(count_pixels(deep, [](int, int, int c) { return c == makecol32(255, 0, 0); }), 100);
    EXPECT_GT(count_pixels(deep, [](int, int, int c) {
                  return getr32(c) > 0 && getr32(c) < 255 && getb32(c) > 0 && getg32(c) == 0;
              }),
              10);
    destroy_bitmap(deep);
}

// Every pixel of every 16-bit field value, blended exactly: field + (ink - field) * a / 255,
// rounded toward zero, with `a` the glyph's coverage there (0 outside it). Placed whole, cut by
// the bitmap's right edge, and cut by a clip whose right edge runs through the glyph, so that
// drawing several pixels at once never spills past a row's ink, the bitmap or the clip. Drawn
// as text, and as the glyph blended bare (the bench's floor for the menu words).
TEST_F(FontDraw, EveryPixelIsItsBackgroundBlendedFieldByFieldWithItsCoverage)
{
    const GlyphImage *glyph = font_char(font, '@').glyph;
    ASSERT_TRUE(glyph);
    const int top = font_ascent(font) - glyph->top;
    auto background = [](int x, int y) { return (x * 1237 + y * 4099 + x * y * 31) & 0xFFFF; };
    struct Place {
        int x, clip_right;  // clip_right: the clip's last column, -1 for none
        bool bare;          // font_blend_glyph instead of the text
    };
    const int cut = bmp->w - glyph->width / 2 - glyph->left,
              clip = 60 + glyph->left + glyph->width / 2;
    const Place places[] = {{10, -1, false}, {cut, -1, false}, {60, clip, false},
                            {10, -1, true},  {cut, -1, true},  {60, clip, true}};
    for (int colour : {0, 0xFFFF, makecol16(255, 255, 41), makecol16(100, 150, 200)}) {
        for (const Place &place : places) {
            for (int y = 0; y < bmp->h; y++)
                for (int x = 0; x < bmp->w; x++)
                    putpixel(bmp, x, y, background(x, y));
            if (place.clip_right >= 0)
                set_clip_rect(bmp, 0, 0, place.clip_right, bmp->h - 1);
            if (place.bare)
                font_blend_glyph(bmp, *glyph, place.x + glyph->left, 5 + top, colour);
            else
                alfont_textout_aa_ex(bmp, font, "@", place.x, 5, colour, -1);
            set_clip_rect(bmp, 0, 0, bmp->w - 1, bmp->h - 1);
            int wrong = 0;
            for (int y = 0; y < bmp->h; y++)
                for (int x = 0; x < bmp->w; x++) {
                    int gx = x - place.x - glyph->left, gy = y - 5 - top, a = 0;
                    bool clipped = place.clip_right >= 0 && x > place.clip_right;
                    if (!clipped && gx >= 0 && gx < glyph->width && gy >= 0 && gy < glyph->rows)
                        a = glyph->coverage[(size_t)gy * glyph->width + gx];
                    int c = background(x, y), expected = 0;
                    for (auto [shift, bits] : {std::pair{11, 31}, {5, 63}, {0, 31}}) {
                        int field = (c >> shift) & bits, ink = (colour >> shift) & bits;
                        expected |= (field + (ink - field) * a / 255) << shift;
                    }
                    wrong += getpixel(bmp, x, y) != expected;
                }
            EXPECT_EQ(wrong, 0) << "colour " << colour << " at x " << place.x
                                << (place.bare ? ", glyph blended bare" : "");
        }
    }
}

// A font drawn at one size, then another, then the first again, draws what a fresh font draws
// at each size: nothing looked up at one size is used at another.
TEST_F(FontDraw, SwitchingSizesDrawsWhatAFreshFontDrawsAtEachSize)
{
    auto picture = [&](ALFONT_FONT *f) {
        clear_to_color(bmp, BLUE);
        alfont_textout_aa_ex(bmp, f, "AVa@", 3, 3, RED, -1);
        std::vector<int> pixels;
        for (int y = 0; y < bmp->h; y++)
            for (int x = 0; x < bmp->w; x++)
                pixels.push_back(getpixel(bmp, x, y));
        return pixels;
    };
    for (int size : {40, 20, 40, 13}) {
        ASSERT_EQ(alfont_set_font_size(font, size), 0);
        std::vector<int> switched = picture(font);
        ALFONT_FONT *fresh = alfont_load_font(test_font_path());
        ASSERT_EQ(alfont_set_font_size(fresh, size), 0);
        EXPECT_EQ(switched, picture(fresh)) << "size " << size;
        EXPECT_EQ(alfont_text_length(font, "AVa@"), alfont_text_length(fresh, "AVa@"));
        alfont_destroy_font(fresh);
    }
}
