// Screenshots as PNG files, written by the data builder's encoder (libpng underneath).
#include "build_error.h"
#include "picture_files.h"

#include <cstdint>
#include <cstdio>
#include <string>

bool write_png_file(const uint8_t *rgb, int width, int height, const std::string &path)
{
    Image image(width, height);
    for (size_t i = 0; i < image.pixels.size(); i++)
        image.pixels[i] = Rgb(rgb[3 * i]) << 16 | Rgb(rgb[3 * i + 1]) << 8 | rgb[3 * i + 2];
    Bytes png;
    try {
        png = encode_png(image);
    } catch (const BuildError &) {
        return false;  // an empty grab: a failed screenshot must not end the test run
    }
    FILE *file = fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool written = fwrite(png.data(), 1, png.size(), file) == png.size();
    return fclose(file) == 0 && written;
}
