// The pixel scaler: the copies that show the game's picture enlarged in the window's frame.
#include "platform/picture_scaler.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// How each frame pixel along one axis takes from the picture: the first picture pixel it
// covers, and that pixel's share of it out of 256 (the rest is the next pixel's). Enlarged, a
// frame pixel is never wider than a picture pixel, so it covers two at most.
struct Tap {
    int first;
    int share;
};

Tap tap_at(int at, int shown, int picture)
{
    if (shown < picture)  // shrunk: the picture pixel under the frame pixel's middle
        return {(int)(((long)at * 2 + 1) * picture / (2 * shown)), 256};
    // The frame pixel spans [at, at + 1) * picture / shown in picture pixels.
    long start = (long)at * picture, end = (long)(at + 1) * picture;  // in 1/shown
    int first = (int)(start / shown);
    long boundary = (long)(first + 1) * shown;
    if (end <= boundary)
        return {first, 256};
    return {first, (int)(((boundary - start) * 256 + picture / 2) / picture)};
}

// 0x00RRGGBB of every 16-bit colour, for the pixel format the library uses now.
const uint32_t *rgb_of_16()
{
    // Made again only when the library's pixel format changes.
    static struct {
        std::vector<uint32_t> rgb;
        int shifts = -1;
    } table;
    int now = _rgb_r_shift_16 | _rgb_g_shift_16 << 8 | _rgb_b_shift_16 << 16;
    if (table.shifts != now) {
        table.rgb.resize(65536);
        for (int c = 0; c < 65536; c++)
            table.rgb[c] = (uint32_t)getr16(c) << 16 | getg16(c) << 8 | getb16(c);
        table.shifts = now;
    }
    return table.rgb.data();
}

// Picture row `y`, columns [x0, x1), as 0x00RRGGBB into `out`.
void read_row(BITMAP *picture, int y, int x0, int x1, uint32_t *out)
{
    const int depth = bitmap_color_depth(picture);
    if (depth == 16) {
        const uint32_t *rgb = rgb_of_16();
        const uint16_t *row = (const uint16_t *)picture->line[y];
        for (int x = x0; x < x1; x++)
            out[x - x0] = rgb[row[x]];
        return;
    }
    for (int x = x0; x < x1; x++) {
        int c = getpixel(picture, x, y);
        out[x - x0] = (uint32_t)getr_depth(depth, c) << 16 | getg_depth(depth, c) << 8 |
                      getb_depth(depth, c);
    }
}

// `a` weighted share/256, `b` the rest, channel by channel (two channels a multiply).
uint32_t blend(uint32_t a, uint32_t b, int share)
{
    const uint32_t s = share, t = 256 - share;
    uint32_t rb = ((a & 0xFF00FF) * s + (b & 0xFF00FF) * t) >> 8 & 0xFF00FF;
    uint32_t g = ((a & 0x00FF00) * s + (b & 0x00FF00) * t) >> 8 & 0x00FF00;
    return rb | g;
}

// Frame pixels [first, last] along one axis that picture pixels [from, to] reach, clipped to
// what the frame holds of the shown picture from `origin`.
void reach(int from, int to, int shown, int picture, int origin, int frame_size, int &first,
           int &last)
{
    first = (int)((long)from * shown / picture);
    last = (int)(((long)(to + 1) * shown + picture - 1) / picture) - 1;
    first = std::max(first, -origin);
    last = std::min(last, frame_size - origin - 1);
}

}  // namespace

PictureRect changed_rect(BITMAP *picture, BITMAP *shown)
{
    const int bytes = (bitmap_color_depth(picture) + 7) / 8;
    const int row_bytes = picture->w * bytes;
    int left = picture->w, right = -1, top = -1, bottom = -1;
    for (int y = 0; y < picture->h; y++) {
        const unsigned char *a = picture->line[y], *b = shown->line[y];
        if (std::memcmp(a, b, row_bytes) == 0)
            continue;
        int first = 0, last = row_bytes - 1;
        while (a[first] == b[first])
            first++;
        while (a[last] == b[last])
            last--;
        left = std::min(left, first / bytes);
        right = std::max(right, last / bytes);
        if (top < 0)
            top = y;
        bottom = y;
    }
    if (top < 0)
        return {};
    return {left, top, right - left + 1, bottom - top + 1};
}

FrameRect present_rect(BITMAP *picture, BITMAP *shown, const Frame &frame, const Placement &at,
                       const PictureRect &area)
{
    if (area.w <= 0 || area.h <= 0)
        return {};
    blit(picture, shown, area.x, area.y, area.x, area.y, area.w, area.h);
    int x0, x1, y0, y1;  // frame pixels reached, relative to the picture's corner
    reach(area.x, area.x + area.w - 1, at.w, picture->w, at.x, frame.w, x0, x1);
    reach(area.y, area.y + area.h - 1, at.h, picture->h, at.y, frame.h, y0, y1);
    if (x1 < x0 || y1 < y0)
        return {};
    std::vector<Tap> columns(x1 - x0 + 1);
    for (int x = x0; x <= x1; x++)
        columns[x - x0] = tap_at(x, at.w, picture->w);
    // The picture columns those frame pixels take from, read a row at a time.
    const int c0 = columns.front().first;
    const int c1 = std::min(picture->w - 1, columns.back().first + 1);
    std::vector<uint32_t> source(c1 - c0 + 1), upper(x1 - x0 + 1), lower(x1 - x0 + 1);
    int upper_row = -1, lower_row = -1;
    auto scaled_row = [&](int row, std::vector<uint32_t> &out) {
        read_row(picture, row, c0, c1 + 1, source.data());
        for (size_t i = 0; i < columns.size(); i++) {
            const Tap t = columns[i];
            const int k = t.first - c0;
            out[i] = t.share == 256 ? source[k] : blend(source[k], source[k + 1], t.share);
        }
    };
    for (int y = y0; y <= y1; y++) {
        const Tap t = tap_at(y, at.h, picture->h);
        if (upper_row != t.first) {
            if (lower_row == t.first) {
                std::swap(upper, lower);
                std::swap(upper_row, lower_row);
            } else {
                scaled_row(t.first, upper);
                upper_row = t.first;
            }
        }
        uint32_t *out = frame.pixels + (long)(at.y + y) * frame.stride + at.x + x0;
        if (t.share == 256 || t.first + 1 >= picture->h) {
            std::memcpy(out, upper.data(), upper.size() * sizeof(uint32_t));
            continue;
        }
        if (lower_row != t.first + 1) {
            scaled_row(t.first + 1, lower);
            lower_row = t.first + 1;
        }
        for (size_t i = 0; i < upper.size(); i++)
            out[i] = blend(upper[i], lower[i], t.share);
    }
    return {at.x + x0, at.y + y0, x1 - x0 + 1, y1 - y0 + 1};
}
