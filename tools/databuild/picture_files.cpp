// BMP and PNG encoders: the BMP by hand (a header and rows), the PNG through libpng.
#include "picture_files.h"

#include "build_error.h"

#include <png.h>

#include <string>

Bytes encode_bmp24(const Image &image)
{
    const uint32_t row_bytes = (uint32_t(image.width) * 3 + 3) & ~3u;
    const uint32_t data_size = row_bytes * uint32_t(image.height);
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    put_le32(out, 14 + 40 + data_size);
    put_le32(out, 0);
    put_le32(out, 14 + 40);
    put_le32(out, 40);  // BITMAPINFOHEADER
    put_le32(out, uint32_t(image.width));
    put_le32(out, uint32_t(image.height));
    put_le16(out, 1);
    put_le16(out, 24);
    put_le32(out, 0);  // no compression
    put_le32(out, data_size);
    put_le32(out, 2835);  // 72 dpi
    put_le32(out, 2835);
    put_le32(out, 0);
    put_le32(out, 0);
    for (int y = image.height - 1; y >= 0; y--) {
        size_t start = out.size();
        for (int x = 0; x < image.width; x++) {
            Rgb c = image.at(x, y);
            out.push_back(uint8_t(blue_of(c)));
            out.push_back(uint8_t(green_of(c)));
            out.push_back(uint8_t(red_of(c)));
        }
        while (out.size() - start < row_bytes)
            out.push_back(0);
    }
    return out;
}

Bytes encode_png(const Image &image, PngAlpha alpha)
{
    const bool with_alpha = alpha == PNG_PINK_CLEAR;
    Bytes rows;
    rows.reserve(image.pixels.size() * (with_alpha ? 4 : 3));
    for (Rgb c : image.pixels) {
        const bool clear = with_alpha && c == PINK;
        if (clear)
            c = 0;
        rows.insert(rows.end(), {uint8_t(red_of(c)), uint8_t(green_of(c)), uint8_t(blue_of(c))});
        if (with_alpha)
            rows.push_back(clear ? 0 : 0xFF);
    }

    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = png_uint_32(image.width);
    png.height = png_uint_32(image.height);
    png.format = with_alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    // Room for the worst case, so one pass does it; the unused end is cut off below.
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(png);
    Bytes out(size);
    if (!png_image_write_to_memory(&png, out.data(), &size, 0, rows.data(), 0, nullptr))
        throw BuildError("libpng", 0, std::string("refuses the picture: ") + png.message);
    out.resize(size);
    return out;
}
