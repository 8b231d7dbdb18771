// The picture's whole-number scales and its copies to a window of any size.
#include "platform/picture_scale.h"

#include "platform/window.h"

#include <algorithm>
#include <cstring>

int largest_window_scale(const Desktop &desktop)
{
    // The frame's title bar and the task bar grow with the desktop (a 4K desktop draws them
    // at twice the size), so the room kept for them is a share of the screen: an eighth of
    // its height, a sixteenth of its width. A work area that the panels already shrank keeps
    // room for the frame alone.
    int room_w = std::min(desktop.width - desktop.width / 16,
                          desktop.work_width - desktop.width / 64);
    int room_h = std::min(desktop.height - desktop.height / 8,
                          desktop.work_height - desktop.height / 24);
    int scale = std::min(room_w / WINDOW_WIDTH, room_h / WINDOW_HEIGHT);
    return std::max(scale, 1);
}

Placement place_picture(int width, int height)
{
    Placement at;
    at.scale = std::max(1, std::min(width / WINDOW_WIDTH, height / WINDOW_HEIGHT));
    at.x = std::max(0, (width - WINDOW_WIDTH * at.scale) / 2);
    at.y = std::max(0, (height - WINDOW_HEIGHT * at.scale) / 2);
    return at;
}

int picture_coordinate(int at, int origin, int scale)
{
    int offset = at - origin;
    // Rounded down on both sides of the origin: -1 is left of the picture, not its column 0.
    return offset >= 0 ? offset / scale : -((-offset + scale - 1) / scale);
}

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

void present_rect(BITMAP *picture, BITMAP *shown, BITMAP *target, const Placement &at,
                  const PictureRect &area)
{
    if (area.w <= 0 || area.h <= 0)
        return;
    const int s = at.scale;
    if (s == 1)
        blit(picture, target, area.x, area.y, at.x + area.x, at.y + area.y, area.w, area.h);
    else  // the library's stretch is exact at whole scales: each pixel becomes an s x s square
        stretch_blit(picture, target, area.x, area.y, area.w, area.h, at.x + area.x * s,
                     at.y + area.y * s, area.w * s, area.h * s);
    blit(picture, shown, area.x, area.y, area.x, area.y, area.w, area.h);
}
