// Reading what the screen shows, and writing it out as a PNG picture.
#include "e2e_rig.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ostream>

bool rgb_near(Rgb a, Rgb b, int tolerance)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

void PrintTo(const Rgb &c, std::ostream *out)
{
    *out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

Rgb RgbImage::at(int x, int y) const
{
    const uint8_t *p = &rgb[((size_t)y * width + x) * 3];
    return Rgb{p[0], p[1], p[2]};
}

// A rectangle of the root window: what is on the screen there, whichever window shows it.
static RgbImage grab_root(E2eSession &s, int x, int y, int width, int height)
{
    RgbImage image;
    XImage *raw = XGetImage(s.x, DefaultRootWindow(s.x), x, y, width, height, AllPlanes,
                            ZPixmap);
    if (!raw)
        return image;
    image.width = width;
    image.height = height;
    image.rgb.resize((size_t)width * height * 3);
    // The server's visual (TrueColor, 24 bits on our Xvfb) says where each channel sits.
    auto channel = [](unsigned long pixel, unsigned long mask) {
        if (!mask)
            return 0;
        int shift = 0;
        while (!((mask >> shift) & 1))
            shift++;
        unsigned long max = mask >> shift;
        return (int)(((pixel & mask) >> shift) * 255 / max);
    };
    uint8_t *out = image.rgb.data();
    for (int row = 0; row < height; row++)
        for (int col = 0; col < width; col++) {
            unsigned long pixel = XGetPixel(raw, col, row);
            *out++ = channel(pixel, raw->red_mask);
            *out++ = channel(pixel, raw->green_mask);
            *out++ = channel(pixel, raw->blue_mask);
        }
    XDestroyImage(raw);
    return image;
}

RgbImage e2e_grab_window(E2eSession &s)
{
    XWindowAttributes a;
    if (!s.window || !XGetWindowAttributes(s.x, s.window, &a) || a.map_state != IsViewable)
        return RgbImage{};
    int x, y;
    e2e_window_origin(s, x, y);
    return grab_root(s, x, y, a.width, a.height);
}

RgbImage e2e_grab_screen(E2eSession &s)
{
    Screen *screen = DefaultScreenOfDisplay(s.x);
    return grab_root(s, 0, 0, WidthOfScreen(screen), HeightOfScreen(screen));
}

Rgb e2e_pixel(E2eSession &s, int x, int y)
{
    int left, top;
    e2e_window_origin(s, left, top);
    RgbImage one = grab_root(s, left + x, top + y, 1, 1);
    return one.width ? one.at(0, 0) : Rgb{-1, -1, -1};
}

// ---- PNG ---------------------------------------------------------------------------------
// The data builder's PNG writer, behind a plain byte interface (its Rgb and ours differ).
bool write_png_file(const uint8_t *rgb, int width, int height, const std::string &path);

bool e2e_write_png(const RgbImage &image, const std::string &path)
{
    return write_png_file(image.rgb.data(), image.width, image.height, path);
}
