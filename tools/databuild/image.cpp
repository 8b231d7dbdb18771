// Pixel operations shared by the tiles, the title picture and the contact sheet.
#include "image.h"

Rgb as_shown_at_16_bits(Rgb c)
{
    int r = red_of(c) >> 3, g = green_of(c) >> 2, b = blue_of(c) >> 3;
    return rgb((r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2));
}

bool turns_into_mask(Rgb c)
{
    return c != PINK && (red_of(c) >> 3) == 31 && (green_of(c) >> 2) == 0 && (blue_of(c) >> 3) == 31;
}

void draw_sprite(Image &target, const Image &sprite, int x, int y, int zoom)
{
    for (int sy = 0; sy < sprite.height; sy++)
        for (int sx = 0; sx < sprite.width; sx++) {
            Rgb c = sprite.at(sx, sy);
            if (c == PINK)
                continue;
            fill_rect(target, x + sx * zoom, y + sy * zoom, zoom, zoom, c);
        }
}

void fill_rect(Image &target, int x, int y, int w, int h, Rgb c)
{
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++)
            target.set(i, j, c);
}

void blend_pixel(Image &target, int x, int y, Rgb c, double alpha)
{
    if (x < 0 || y < 0 || x >= target.width || y >= target.height || alpha <= 0)
        return;
    if (alpha > 1)
        alpha = 1;
    Rgb o = target.at(x, y);
    auto mix = [alpha](int a, int b) { return int(a + (b - a) * alpha + 0.5); };
    target.set(x, y, rgb(mix(red_of(o), red_of(c)), mix(green_of(o), green_of(c)),
                         mix(blue_of(o), blue_of(c))));
}
