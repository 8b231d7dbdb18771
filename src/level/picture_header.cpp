// The BMP header check: size and length, without decoding a pixel.
#include "level/picture_header.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

uint32_t le16(const unsigned char *p) { return p[0] | (p[1] << 8); }
uint32_t le32(const unsigned char *p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | ((uint32_t)p[3] << 24);
}

// Compression values of the Windows header that store one fixed-size row per line.
constexpr uint32_t BI_RGB = 0, BI_BITFIELDS = 3;

// The size the header of `path` announces, when the file is a BMP the library reads safely and
// long enough for all its pixels; false otherwise. Only the header is read: the pixels' room is
// judged from the file's length.
bool read_bmp_header_size(const char *path, long &w, long &h)
{
    FILE *f = std::fopen(path, "rb");
    if (!f)
        return false;
    unsigned char head[14 + 40] = {};
    size_t got = std::fread(head, 1, sizeof head, f);
    long length = std::fseek(f, 0, SEEK_END) == 0 ? std::ftell(f) : -1;
    std::fclose(f);
    if (got < 14 + 12 || head[0] != 'B' || head[1] != 'M' || length < 0)
        return false;

    uint32_t pixels_at = le32(head + 10), info_size = le32(head + 14);
    uint32_t bits, compression = BI_RGB;
    if (info_size == 12) {  // the old OS/2 header: 16-bit sizes
        w = le16(head + 18);
        h = le16(head + 20);
        bits = le16(head + 24);
    } else if (info_size >= 40 && got >= 14 + 40) {
        w = (int32_t)le32(head + 18);
        h = std::labs((int32_t)le32(head + 22));  // negative: rows stored top down
        bits = le16(head + 28);
        compression = le32(head + 30);
    } else {
        return false;
    }
    if (w < 1 || h < 1 || w > 0xffff || h > 0xffff)  // bounds the pixel count below
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    if (pixels_at < 14 + info_size || pixels_at >= (uint64_t)length)
        return false;
    // The library's reader of run-length coded pictures follows the codes wherever they point,
    // past the picture's own memory: a damaged one would corrupt the game's. The game's
    // pictures are never coded so.
    if (compression != BI_RGB && compression != BI_BITFIELDS)
        return false;
    uint64_t row = ((uint64_t)w * bits + 31) / 32 * 4;  // rows are padded to 4 bytes
    return pixels_at + row * (uint64_t)h <= (uint64_t)length;
}

}  // namespace

bool bmp_has_size(const char *path, int width, int height)
{
    long w = 0, h = 0;
    return read_bmp_header_size(path, w, h) && w == width && h == height;
}

bool bmp_fits(const char *path, int width, int height)
{
    long w = 0, h = 0;
    return read_bmp_header_size(path, w, h) && w <= width && h <= height;
}
