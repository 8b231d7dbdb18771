// BMP and PNG encoders; neither needs a library.
#include "picture_files.h"

#include <algorithm>
#include <array>

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

namespace {

uint32_t crc32_of(const uint8_t *data, size_t size, uint32_t crc = 0)
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

void put_chunk(Bytes &out, const char *type, const Bytes &body)
{
    put_be32(out, uint32_t(body.size()));
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    out.insert(out.end(), typed.begin(), typed.end());
    put_be32(out, crc32_of(typed.data(), typed.size()));
}

}  // namespace

Bytes encode_png(const Image &image)
{
    Bytes raw;  // filter byte 0, then the row's RGB
    for (int y = 0; y < image.height; y++) {
        raw.push_back(0);
        for (int x = 0; x < image.width; x++) {
            Rgb c = image.at(x, y);
            raw.push_back(uint8_t(red_of(c)));
            raw.push_back(uint8_t(green_of(c)));
            raw.push_back(uint8_t(blue_of(c)));
        }
    }
    Bytes z = {0x78, 0x01};
    uint32_t a = 1, b = 0;
    for (uint8_t v : raw) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    for (size_t pos = 0; pos < raw.size() || pos == 0;) {
        size_t n = std::min<size_t>(65535, raw.size() - pos);
        bool last = pos + n >= raw.size();
        z.push_back(last ? 1 : 0);
        put_le16(z, uint32_t(n));
        put_le16(z, uint32_t(~n & 0xFFFF));
        z.insert(z.end(), raw.begin() + long(pos), raw.begin() + long(pos + n));
        pos += n;
        if (last)
            break;
    }
    put_be32(z, (b << 16) | a);

    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    put_be32(header, uint32_t(image.width));
    put_be32(header, uint32_t(image.height));
    header.insert(header.end(), {8, 2, 0, 0, 0});
    put_chunk(out, "IHDR", header);
    put_chunk(out, "IDAT", z);
    put_chunk(out, "IEND", {});
    return out;
}
