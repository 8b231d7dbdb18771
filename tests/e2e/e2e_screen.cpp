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
static uint32_t crc32_of(const uint8_t *data, size_t size, uint32_t crc = 0)
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; n++) {
            uint32_t c = n;
            for (int k = 0; k < 8; k++)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < size; i++)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

static void put_be32(std::vector<uint8_t> &out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back((uint8_t)(v >> shift));
}

static void put_chunk(std::vector<uint8_t> &png, const char *type,
                      const std::vector<uint8_t> &data)
{
    put_be32(png, (uint32_t)data.size());
    size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    put_be32(png, crc32_of(&png[start], png.size() - start));
}

bool e2e_write_png(const RgbImage &image, const std::string &path)
{
    std::vector<uint8_t> header;
    put_be32(header, (uint32_t)image.width);
    put_be32(header, (uint32_t)image.height);
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace

    // Rows each behind a "no filter" byte, then a zlib stream of stored (uncompressed) blocks.
    std::vector<uint8_t> rows;
    size_t stride = (size_t)image.width * 3;
    for (int y = 0; y < image.height; y++) {
        rows.push_back(0);
        rows.insert(rows.end(), image.rgb.begin() + y * stride,
                    image.rgb.begin() + (y + 1) * stride);
    }
    std::vector<uint8_t> zlib{0x78, 0x01};
    size_t done = 0;
    do {
        size_t size = std::min<size_t>(rows.size() - done, 65535);
        bool last = done + size == rows.size();
        zlib.insert(zlib.end(), {(uint8_t)(last ? 1 : 0), (uint8_t)size, (uint8_t)(size >> 8),
                                 (uint8_t)~size, (uint8_t)(~size >> 8)});
        zlib.insert(zlib.end(), rows.begin() + done, rows.begin() + done + size);
        done += size;
    } while (done < rows.size());
    uint32_t a = 1, b = 0;  // Adler-32 of the uncompressed data
    for (uint8_t byte : rows) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    put_be32(zlib, (b << 16) | a);

    std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    put_chunk(png, "IHDR", header);
    put_chunk(png, "IDAT", zlib);
    put_chunk(png, "IEND", {});
    FILE *file = fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool written = fwrite(png.data(), 1, png.size(), file) == png.size();
    return fclose(file) == 0 && written;
}
