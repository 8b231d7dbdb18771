// For the benchmark, on a desktop where the game's window opens at 2x: the game's own present
// of a changed picture (pf_present, as a play frame ends) timed in turns with its floor,
// a plain stretch_blit of a 512 x 384 picture to the same size on the same screen. Prints
//   scale S
//   present MIN MEDIAN
//   floor MIN MEDIAN
// in microseconds; exits with 1 when the window does not open.
#include "bench_table.h"
#include "platform/process.h"
#include "platform/window.h"

#include <cstdio>

namespace {

// Two pictures unlike in every pixel, so that each present copies the whole picture.
BITMAP *pattern(int shift)
{
    BITMAP *b = create_bitmap(WINDOW_WIDTH, WINDOW_HEIGHT);
    for (int y = 0; y < b->h; y++)
        for (int x = 0; x < b->w; x++)
            putpixel(b, x, y, makecol((x + shift) * 5 & 255, (y + shift) * 3 & 255, 128 + shift));
    return b;
}

}  // namespace

int main()
{
    if (pf_start_library() != 0)
        return 1;
    pf_set_color_depth(16);
    if (pf_open_window() != 0)
        return 1;
    BITMAP *pictures[2] = {pattern(0), pattern(1)};
    BITMAP *picture = pf_screen();
    int next = 0, next_floor = 0;
    Figure present, floor;
    time_pair_us(
        [] { pf_present(); },
        [&] {
            next_floor ^= 1;
            stretch_blit(pictures[next_floor], screen, 0, 0, WINDOW_WIDTH, WINDOW_HEIGHT, 0, 0,
                         SCREEN_W, SCREEN_H);
        },
        present, floor, 201,
        [&] {
            next ^= 1;
            blit(pictures[next], picture, 0, 0, 0, 0, WINDOW_WIDTH, WINDOW_HEIGHT);
        });
    std::printf("scale %d\npresent %.1f %.1f\nfloor %.1f %.1f\n", SCREEN_W / WINDOW_WIDTH,
                present.min, present.median, floor.min, floor.median);
    return 0;
}
