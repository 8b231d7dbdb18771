// The picture tests' images, put in the game's image slots.
#include "render_test_images.h"

#include "level/game_resources.h"
#include "script_platform.h"

#include <cstdio>

// Red steps of 8 keep 32 colours apart in the 5-bit red channel; green tells the groups apart.
static int image_colour(int index) { return makecol(8 * (index % 32), 96 + 64 * (index / 32), 40); }

int tile_colour(char letter) { return image_colour(letter - 'A'); }
int object_colour(char digit) { return image_colour(26 + digit - '1'); }

bool has_pink_half(char c)
{
    return (c >= '1' && c <= '8') || c == 'D' || c == 'H' || c == 'L' || c == 'P' || c == 'T' ||
           c == 'Y' || c == 'Z';
}

static BITMAP *make_image(char c, int colour)
{
    BITMAP *bmp = create_bitmap(16, 16);
    clear_to_color(bmp, colour);
    if (has_pink_half(c))
        rectfill(bmp, 0, 0, 7, 15, bitmap_mask_color(bmp));
    return bmp;
}

TestImages::TestImages()
{
    for (char c = 'A'; c <= 'Z'; c++)
        tile_bitmaps[c - 'A'] = make_image(c, tile_colour(c));
    for (char c = '1'; c <= '8'; c++)
        object_bitmaps[c - '1'] = make_image(c, object_colour(c));
    back_buffer = create_bitmap(512, 384);
    clear_to_color(back_buffer, makecol(0, 0, 0));
    screen = create_bitmap(512, 384);
    clear_to_color(screen, makecol(0, 0, 0));
    script_reset(screen);
}

TestImages::~TestImages()
{
    for (BITMAP *&bmp : tile_bitmaps) {
        if (bmp)
            destroy_bitmap(bmp);
        bmp = nullptr;
    }
    for (BITMAP *&bmp : object_bitmaps) {
        if (bmp)
            destroy_bitmap(bmp);
        bmp = nullptr;
    }
    destroy_bitmap(back_buffer);
    back_buffer = nullptr;
    script_reset(nullptr);
    destroy_bitmap(screen);
}

int stacked_pixel(const char *layers, int x, int /*y*/, int below)
{
    int shown = below;
    for (const char *c = layers; *c; c++) {
        bool transparent = has_pink_half(*c) && x < 8;
        if (!transparent)
            shown = (*c >= 'A' && *c <= 'Z') ? tile_colour(*c) : object_colour(*c);
    }
    return shown;
}

bool cell_shows(BITMAP *bmp, int row, int col, const char *layers, int below, char *why)
{
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++) {
            int want = stacked_pixel(layers, x, y, below);
            int got = getpixel(bmp, col * 16 + x, row * 16 + y);
            if (got != want) {
                if (why)
                    std::sprintf(why, "cell %d,%d pixel %d,%d is %#x, not %#x (%s)", row, col, x, y,
                                 got, want, layers);
                return false;
            }
        }
    return true;
}

bool cell_is(BITMAP *bmp, int row, int col, int colour)
{
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++)
            if (getpixel(bmp, col * 16 + x, row * 16 + y) != colour)
                return false;
    return true;
}
