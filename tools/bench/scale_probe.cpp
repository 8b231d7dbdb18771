// For the benchmark, on a desktop where the game's window opens at some scale: the game's own
// present of a wholly changed picture (pf_present, as a play frame ends) timed in turns
// with its floor, a plain bilinear scale of a 512 x 384 picture to the same size put to the
// window the simplest way (one XPutImage); then the period of frames that change the whole
// picture, present it and rest 50 ms less its cost beyond 1x, as a play frame does. Each present waits for the X server (XSync). Prints
//   window W H
//   present MIN MEDIAN
//   floor MIN MEDIAN
//   period MIN MEDIAN
// in microseconds; exits with 1 when the window does not open. `--short`: fewer repetitions.
#include "bench_table.h"
#include "platform/process.h"
#include "platform/timing.h"
#include "platform/window.h"

#include <xalleg.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

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

void sync_server()
{
    XLOCK();
    XSync(_xwin.display, False);
    XUNLOCK();
}

// The floor: bilinear in fixed point, as plainly as it is written, from the picture read into
// 0x00RRGGBB, into an image of the window's size.
struct PlainScale {
    int w, h;
    std::vector<uint32_t> source, pixels;
    XImage *image;
};

PlainScale plain_scale(int w, int h)
{
    PlainScale p{w, h, std::vector<uint32_t>(WINDOW_WIDTH * WINDOW_HEIGHT),
                 std::vector<uint32_t>((size_t)w * h), nullptr};
    XLOCK();
    p.image = XCreateImage(_xwin.display, _xwin.visual, 24, ZPixmap, 0, (char *)p.pixels.data(),
                           w, h, 32, w * 4);
    XUNLOCK();
    return p;
}

uint32_t mix(uint32_t a, uint32_t b, uint32_t t)  // t of 256 towards b
{
    uint32_t rb = ((a & 0xFF00FF) * (256 - t) + (b & 0xFF00FF) * t) >> 8 & 0xFF00FF;
    uint32_t g = ((a & 0xFF00) * (256 - t) + (b & 0xFF00) * t) >> 8 & 0xFF00;
    return rb | g;
}

void scale_plainly(BITMAP *picture, PlainScale &p)
{
    for (int y = 0; y < WINDOW_HEIGHT; y++)
        for (int x = 0; x < WINDOW_WIDTH; x++) {
            int c = ((uint16_t *)picture->line[y])[x];
            p.source[y * WINDOW_WIDTH + x] = getr16(c) << 16 | getg16(c) << 8 | getb16(c);
        }
    const int step_x = (WINDOW_WIDTH << 16) / p.w, step_y = (WINDOW_HEIGHT << 16) / p.h;
    for (int y = 0; y < p.h; y++) {
        int fy = std::max(0, y * step_y + step_y / 2 - 32768);
        int y0 = fy >> 16, y1 = std::min(y0 + 1, WINDOW_HEIGHT - 1), ty = fy >> 8 & 255;
        for (int x = 0; x < p.w; x++) {
            int fx = std::max(0, x * step_x + step_x / 2 - 32768);
            int x0 = fx >> 16, x1 = std::min(x0 + 1, WINDOW_WIDTH - 1), tx = fx >> 8 & 255;
            const uint32_t *s = p.source.data();
            p.pixels[(size_t)y * p.w + x] =
                mix(mix(s[y0 * WINDOW_WIDTH + x0], s[y0 * WINDOW_WIDTH + x1], tx),
                    mix(s[y1 * WINDOW_WIDTH + x0], s[y1 * WINDOW_WIDTH + x1], tx), ty);
        }
    }
    XLOCK();
    XPutImage(_xwin.display, _xwin.wm_window, DefaultGC(_xwin.display, _xwin.screen), p.image,
              0, 0, 0, 0, p.w, p.h);
    XUNLOCK();
}

}  // namespace

int main(int argc, char **argv)
{
    const bool short_run = argc > 1 && std::string(argv[1]) == "--short";
    if (short_run)
        max_repetitions = 11;
    if (pf_start_library() != 0)
        return 1;
    pf_set_color_depth(16);
    if (pf_open_window() != 0)
        return 1;
    install_timer();
    BITMAP *pictures[2] = {pattern(0), pattern(1)};
    BITMAP *picture = pf_screen();
    int next = 0, next_floor = 0;
    auto change = [&] {
        next ^= 1;
        blit(pictures[next], picture, 0, 0, 0, 0, WINDOW_WIDTH, WINDOW_HEIGHT);
    };
    XWindowAttributes a;
    XLOCK();
    XGetWindowAttributes(_xwin.display, _xwin.wm_window, &a);
    XUNLOCK();
    // The floor fills the window's limiting side with the picture, as the game does.
    const int h = a.width * 3 >= a.height * 4 ? a.height : a.width * 3 / 4, w = h * 4 / 3;
    PlainScale plain = plain_scale(w, h);
    Figure present, floor;
    time_pair_us(
        [] {
            pf_present();
            sync_server();
        },
        [&] {
            next_floor ^= 1;
            scale_plainly(pictures[next_floor], plain);
            sync_server();
        },
        present, floor, 61, change);
    std::vector<double> periods;
    auto last = std::chrono::steady_clock::now();
    for (int frame = 0, frames = short_run ? 11 : 41; frame < frames; frame++) {
        change();
        pf_rest(50 - pf_present());  // as a play frame rests
        auto now = std::chrono::steady_clock::now();
        if (frame > 0)
            periods.push_back(std::chrono::duration<double, std::micro>(now - last).count());
        last = now;
    }
    Figure period = figure_of(periods);
    plain.image->data = nullptr;
    std::printf("window %d %d\npresent %.1f %.1f\nfloor %.1f %.1f\nperiod %.1f %.1f\n", a.width,
                a.height, present.min, present.median, floor.min, floor.median, period.min,
                period.median);
    // The library's exit handlers can wait for ever on its background thread (the X lock
    // against the thread's own lock): the figures are out, so the probe ends without them.
    std::fflush(stdout);
    _exit(0);
}
