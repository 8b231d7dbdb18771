// Pixel checks shared by the board tests: boards draw onto a 512 x 384 memory bitmap that
// stands in for the screen.
#pragma once

#include <allegro.h>

#include <memory>
#include <string>

#include "script_platform.h"

struct BitmapDeleter {
    void operator()(BITMAP *bmp) const { destroy_bitmap(bmp); }
};
using BitmapPtr = std::unique_ptr<BITMAP, BitmapDeleter>;

// A fresh scripted platform over a screen filled with a dark grey that no board uses.
inline BitmapPtr make_board_screen()
{
    BitmapPtr screen_bmp(create_bitmap(512, 384));
    clear_to_color(screen_bmp.get(), makecol(40, 40, 40));
    script_reset(screen_bmp.get());
    return screen_bmp;
}

// How many pixels of the inclusive rectangle have exactly `colour`.
inline int count_colour(BITMAP *bmp, int x1, int y1, int x2, int y2, int colour)
{
    int n = 0;
    for (int y = y1; y <= y2; y++)
        for (int x = x1; x <= x2; x++)
            n += getpixel(bmp, x, y) == colour;
    return n;
}

// True when `text` in the built-in 8 x 8 font stands at (x, y): every glyph pixel in `fg`
// and every other pixel of its cells in `bg`, or, when `bg` is -1, in anything but `fg`.
inline bool text_shown(BITMAP *bmp, int x, int y, const std::string &text, int fg, int bg)
{
    int width = 8 * static_cast<int>(text.size());
    BitmapPtr glyphs(create_bitmap(width, 8));
    clear_to_color(glyphs.get(), 0);
    textprintf_ex(glyphs.get(), font, 0, 0, 1, 0, "%s", text.c_str());
    for (int dy = 0; dy < 8; dy++) {
        for (int dx = 0; dx < width; dx++) {
            int pixel = getpixel(bmp, x + dx, y + dy);
            bool glyph = getpixel(glyphs.get(), dx, dy) == 1;
            if (glyph && pixel != fg)
                return false;
            if (!glyph && (bg == -1 ? pixel == fg : pixel != bg))
                return false;
        }
    }
    return true;
}

// Types `text` as typed keys: each key as a character code with a scancode above it.
inline void type_keys(const std::string &text)
{
    for (char c : text)
        script.typed.push_back((KEY_A << 8) | static_cast<unsigned char>(c));
}
