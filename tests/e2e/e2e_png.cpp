// Screenshots as PNG files, written by the data builder's encoder.
#include "picture_files.h"

#include <cstdint>
#include <cstdio>
#include <string>

bool write_png_file(const uint8_t *rgb, int width, int height, const std::string &path)
{
    Image image(width, height);
    for (size_t i = 0; i < image.pixels.size(); i++)
        image.pixels[i] = Rgb(rgb[3 * i]) << 16 | Rgb(rgb[3 * i + 1]) << 8 | rgb[3 * i + 2];
    Bytes png = encode_png(image);
    FILE *file = fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool written = fwrite(png.data(), 1, png.size(), file) == png.size();
    return fclose(file) == 0 && written;
}
