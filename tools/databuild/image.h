// An RGB picture in memory, the form every picture takes between its source and its file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// 0xRRGGBB. Allegro's mask colour: transparent wherever a sprite is drawn.
using Rgb = uint32_t;
constexpr Rgb PINK = 0xFF00FF;

constexpr int red_of(Rgb c) { return (c >> 16) & 0xFF; }
constexpr int green_of(Rgb c) { return (c >> 8) & 0xFF; }
constexpr int blue_of(Rgb c) { return c & 0xFF; }
constexpr Rgb rgb(int r, int g, int b)
{
    auto clamp = [](int v) { return v < 0 ? 0 : v > 255 ? 255 : v; };
    return (Rgb(clamp(r)) << 16) | (Rgb(clamp(g)) << 8) | Rgb(clamp(b));
}

// The colour the game shows for `c` at colour depth 16 (5-6-5 bits, each widened back to 8).
Rgb as_shown_at_16_bits(Rgb c);

// True when `c` is not pink yet becomes the mask colour at 16 bits, and so would vanish.
bool turns_into_mask(Rgb c);

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;  // row by row, top row first

    Image() = default;
    Image(int w, int h, Rgb fill = 0) : width(w), height(h), pixels(size_t(w) * h, fill) {}
    Rgb at(int x, int y) const { return pixels[size_t(y) * width + x]; }
    void set(int x, int y, Rgb c)
    {
        if (x >= 0 && y >= 0 && x < width && y < height)
            pixels[size_t(y) * width + x] = c;
    }
};

// Draws `sprite` at (x, y) the way Allegro's draw_sprite does: pink pixels leave `target` as it
// is. `zoom` repeats every pixel zoom × zoom times. Parts outside `target` are clipped.
void draw_sprite(Image &target, const Image &sprite, int x, int y, int zoom = 1);

// Fills a rectangle, clipped to the picture.
void fill_rect(Image &target, int x, int y, int w, int h, Rgb c);

// Blends `c` over the pixel at (x, y) with `alpha` 0..1.
void blend_pixel(Image &target, int x, int y, Rgb c, double alpha);
