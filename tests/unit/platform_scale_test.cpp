// The picture at any window size: the scale each desktop gets, where the picture sits in a
// window, the pointer mapped back, and the copies of what changed, pixel by pixel.
#include "platform/picture_scaler.h"
#include "platform/window.h"
#include "platform/window_geometry.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

struct BitmapFree {
    void operator()(BITMAP *b) const { destroy_bitmap(b); }
};
using Bitmap = std::unique_ptr<BITMAP, BitmapFree>;

Bitmap picture_bitmap()
{
    return Bitmap(create_bitmap(WINDOW_WIDTH, WINDOW_HEIGHT));
}

// A picture in which neighbours differ, so that a copy off by one pixel shows: blue a
// checkerboard of full and none, red and green in steps.
void paint_pattern(BITMAP *b)
{
    for (int y = 0; y < b->h; y++)
        for (int x = 0; x < b->w; x++)
            putpixel(b, x, y, makecol(x * 7 & 255, y * 11 & 255, (x + y) % 2 * 255));
}

// The picture's pixel as the frame holds it (0x00RRGGBB).
uint32_t rgb_at(BITMAP *picture, int x, int y)
{
    int c = getpixel(picture, x, y);
    return (uint32_t)getr(c) << 16 | getg(c) << 8 | getb(c);
}

// Pixels of `frame` over the picture's place that are not what a sharp enlargement gives: the
// picture's pixel where the frame pixel lies inside one, and a value between its neighbours'
// (channel by channel) where it straddles their edge; and pixels around the picture not
// `around`. Plain nearest-neighbour would pass that: so a frame pixel straddling two unlike
// picture pixels that takes one of them whole counts too, beyond the few that barely straddle.
int wrong_pixels(BITMAP *picture, const Frame &frame, const Placement &at, uint32_t around)
{
    int wrong = 0, straddling = 0, taken_whole = 0;
    for (int y = 0; y < frame.h; y++)
        for (int x = 0; x < frame.w; x++) {
            uint32_t got = frame.pixels[y * frame.stride + x];
            int px = picture_coordinate(x, at.x, at.w, picture->w);
            int py = picture_coordinate(y, at.y, at.h, picture->h);
            if (px < 0 || py < 0 || px >= picture->w || py >= picture->h) {
                wrong += got != around;
                continue;
            }
            // The last picture pixel this frame pixel reaches into.
            int qx = std::min(picture->w - 1, picture_coordinate(x + 1, at.x, at.w, picture->w) -
                                                  ((x + 1 - at.x) * picture->w % at.w == 0));
            int qy = std::min(picture->h - 1, picture_coordinate(y + 1, at.y, at.h, picture->h) -
                                                  ((y + 1 - at.y) * picture->h % at.h == 0));
            for (int shift : {0, 8, 16}) {
                int lo = 255, hi = 0;
                for (int cy = py; cy <= qy; cy++)
                    for (int cx = px; cx <= qx; cx++) {
                        int v = rgb_at(picture, cx, cy) >> shift & 255;
                        lo = std::min(lo, v);
                        hi = std::max(hi, v);
                    }
                int v = got >> shift & 255;
                wrong += v < lo || v > hi || (px == qx && py == qy && lo != v);
                if (hi - lo > 128) {
                    straddling++;
                    taken_whole += v == lo || v == hi;
                }
            }
        }
    return wrong + (taken_whole * 20 > straddling ? taken_whole : 0);
}

}  // namespace

TEST(PictureScale, EachDesktopGetsTheLargestScaleThatLeavesRoomAndOpensFillingTwoThirds)
{
    struct Case {
        int width, height, work_width, work_height;
        int scale;
        int open_w, open_h;
    };
    const Case cases[] = {
        {1920, 1080, 1920, 1080, 2, 1024, 768},  // 2x fills 71 % of the height: kept
        {2560, 1440, 2560, 1440, 3, 1536, 1152},
        {3840, 2160, 3840, 2160, 4, 2048, 1536},
        {1366, 768, 1366, 768, 1, 896, 672},     // 1x would fill 50 %
        {1366, 768, 1366, 728, 1, 896, 672},     // with a task bar
        {800, 600, 800, 600, 1, 700, 525},
        {640, 480, 640, 480, 1, 512, 384},
        {1280, 1024, 1280, 1024, 2, 1024, 768},
        {3840, 1080, 3840, 1080, 2, 1024, 768},  // two screens side by side: the height decides
        {1920, 1080, 1920, 1032, 2, 1024, 768},  // a task bar the window manager reports
        {2560, 1440, 2560, 1180, 2, 1493, 1120},  // panels that leave too little for 3x
        {2560, 1440, 1500, 1440, 2, 1460, 1095},  // a side panel that leaves too little width
    };
    for (const Case &c : cases) {
        const Monitor d{{0, 0, c.width, c.height}, {0, 0, c.work_width, c.work_height}};
        // Ctrl+Minus then Ctrl+Plus gives the opening size back; Minus stops at the picture's.
        const Size open = opening_size(d), down = step_size(d, open, -1);
        EXPECT_EQ(step_size(d, down, 1).w, c.open_w);
        EXPECT_EQ(step_size(d, open, -9).w, 512);
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << ", work area "
                                        << c.work_width << "x" << c.work_height);
        EXPECT_EQ(largest_window_scale(d), c.scale);
        EXPECT_EQ(open.w, c.open_w);
        EXPECT_EQ(open.h, c.open_h);
    }
    // From a window of any shape: Plus never smaller, Minus never larger, on either side.
    const Monitor hd{{0, 0, 1920, 1080}, {0, 0, 1920, 1080}}, uhd{{0, 0, 3840, 2160}, {0, 0, 3840, 2160}};
    struct Step {
        const Monitor &monitor;
        int from_w, from_h, steps, w, h;
    };
    const Step steps[] = {{hd, 1200, 700, 1, 1200, 700},   {hd, 1200, 700, -1, 512, 384},
                          {hd, 1000, 760, 1, 1024, 768},   {uhd, 2048, 1536, -2, 1024, 768},
                          {uhd, 1100, 800, 3, 2048, 1536}};
    for (const Step &t : steps) {
        const Size got = step_size(t.monitor, {t.from_w, t.from_h}, t.steps);
        EXPECT_TRUE(got.w == t.w && got.h == t.h) << t.from_w << "x" << t.from_h << " by " << t.steps;
    }
}

TEST(PictureScale, PictureFillsAnyWindowSharplyAndThePointerMapsBackToItsPixels)
{
    struct Place {
        int width, height, scale, x, y, w, h;  // scale 0: fractional
    };
    const Place places[] = {
        {512, 384, 1, 0, 0, 512, 384},       {1024, 768, 2, 0, 0, 1024, 768},
        {1920, 1080, 0, 240, 0, 1440, 1080},  // fullscreen on 1080p fills the height
        {800, 600, 0, 0, 0, 800, 600},        {1100, 825, 2, 38, 28, 1024, 768},  // 93 %
        {3840, 2160, 5, 640, 120, 2560, 1920},  // 5x fills 89 % of the height
        {2560, 1440, 0, 320, 0, 1920, 1440},    // 3x would fill 80 %
        {1200, 700, 0, 133, 0, 933, 700},       // resized by hand, the height limits
        {1200, 2000, 2, 88, 616, 1024, 768},    // the width limits; 2x fills 85 %
        {1210, 2000, 0, 0, 546, 1210, 907},     // and here 84.6 %
        {1535, 1151, 0, 0, 0, 1534, 1151},     // one short of 3x each way
        {1536, 1152, 3, 0, 0, 1536, 1152},
        {640, 360, 0, 80, 0, 480, 360},         // smaller than the picture: shrunk whole
        {400, 300, 0, 0, 0, 400, 300},
    };
    for (const Place &p : places) {
        Placement at = place_picture(p.width, p.height);
        EXPECT_EQ(at.scale, p.scale) << p.width << "x" << p.height;
        EXPECT_EQ(at.x, p.x) << p.width << "x" << p.height;
        EXPECT_EQ(at.y, p.y) << p.width << "x" << p.height;
        EXPECT_EQ(at.w, p.w) << p.width << "x" << p.height;
        EXPECT_EQ(at.h, p.h) << p.width << "x" << p.height;
    }
    struct Point {
        int at, origin, shown, picture;
    };
    const Point points[] = {
        {0, 0, 512, 0},     {511, 0, 512, 511},  {1, 0, 1024, 0},     {2, 0, 1024, 1},
        {1023, 0, 1024, 511}, {448, 448, 1024, 0}, {447, 448, 1024, -1}, {445, 448, 1024, -2},
        {1472, 448, 1024, 512}, {5, 0, 1536, 1},  {-1, 0, 1536, -1},
        {240, 240, 1440, 0}, {242, 240, 1440, 0}, {243, 240, 1440, 1},  // 2.8125x
        {1679, 240, 1440, 511}, {1680, 240, 1440, 512}, {239, 240, 1440, -1},
    };
    for (const Point &p : points)
        EXPECT_EQ(picture_coordinate(p.at, p.origin, p.shown, 512), p.picture)
            << p.at << " from " << p.origin << " shown " << p.shown << " long";
}

TEST(PictureScale, CopiesEveryPixelSharplyAtEveryScaleAndThenOnlyWhatChanged)
{
    Bitmap picture = picture_bitmap(), shown = picture_bitmap();
    paint_pattern(picture.get());
    const int black = makecol(0, 0, 0);
    // Windows a little wider and taller than 1x, 2x and 3x, and two fractional ones.
    const int sizes[][2] = {{522, 390}, {1034, 774}, {1546, 1158}, {770, 578}, {1440, 1080}};
    for (auto [width, height] : sizes) {
        SCOPED_TRACE(testing::Message() << width << "x" << height);
        std::vector<uint32_t> pixels(width * height, 0);
        Frame frame{pixels.data(), width, height, width};
        clear_to_color(shown.get(), black);
        Placement at = place_picture(width, height);
        PictureRect all = changed_rect(picture.get(), shown.get());
        EXPECT_EQ(all.w, WINDOW_WIDTH);
        EXPECT_EQ(all.h, WINDOW_HEIGHT);
        FrameRect painted = present_rect(picture.get(), shown.get(), frame, at, all);
        EXPECT_EQ(painted.x, at.x);
        EXPECT_EQ(painted.w, at.w);
        EXPECT_EQ(painted.h, at.h);
        EXPECT_EQ(wrong_pixels(picture.get(), frame, at, 0), 0);
        EXPECT_EQ(changed_rect(picture.get(), shown.get()).w, 0) << "shown keeps the copy";

        // Two pixels change, far apart: the rectangle holds both and nothing more, and a copy
        // of it leaves the rest of the window as it was (marked to tell).
        putpixel(picture.get(), 40, 300, makecol(255, 255, 255));
        putpixel(picture.get(), 7, 12, makecol(0, 0, 255));
        PictureRect changed = changed_rect(picture.get(), shown.get());
        EXPECT_EQ(changed.x, 7);
        EXPECT_EQ(changed.y, 12);
        EXPECT_EQ(changed.w, 34);
        EXPECT_EQ(changed.h, 289);
        auto middle = [&](int px, int py) -> uint32_t & {
            int x = at.x + (2 * px + 1) * at.w / (2 * WINDOW_WIDTH);
            int y = at.y + (2 * py + 1) * at.h / (2 * WINDOW_HEIGHT);
            return pixels[y * width + x];
        };
        const uint32_t mark = 0xFF00FF, was = middle(150, 2);
        middle(150, 2) = mark;
        present_rect(picture.get(), shown.get(), frame, at, changed);
        EXPECT_EQ(middle(150, 2), mark);
        middle(150, 2) = was;
        EXPECT_EQ(wrong_pixels(picture.get(), frame, at, 0), 0) << "the two pixels, shown";
        EXPECT_EQ(changed_rect(picture.get(), shown.get()).w, 0);
        paint_pattern(picture.get());
    }
}

TEST(PictureScale, TheWindowBelongsToOneMonitorAndKeepsItsPlaceThere)
{
    // Two 1080p monitors side by side, a task bar on the left one; two stacked above a third.
    const ScreenRect workarea{0, 0, 3840, 1040};
    const std::vector<Monitor> side{{{0, 0, 1920, 1080}, work_share({0, 0, 1920, 1080}, workarea)},
                                    {{1920, 0, 1920, 1080}, {1920, 0, 1920, 1080}}};
    EXPECT_EQ(side[0].work.h, 1040);
    EXPECT_EQ(work_share({0, 0, 1920, 1080}, {}).h, 1080) << "no work area known";
    EXPECT_EQ(work_share({0, 1080, 1920, 1080}, {0, 0, 1920, 1040}).y, 1080) << "none here";
    const std::vector<Monitor> stacked{{{0, 0, 1920, 1080}, {}}, {{0, 1080, 1920, 1080}, {}},
                                       {{1920, 500, 1280, 1024}, {}}};
    struct Choice {
        const std::vector<Monitor> *monitors;
        ScreenRect window;  // w == 0: a point, the pointer at start
        int monitor;
    };
    const Choice choices[] = {
        {&side, {100, 100}, 0},        {&side, {1920, 5}, 1},     {&side, {3839, 1079}, 1},
        {&side, {5000, 200}, 1},       // beyond the screen: the nearest
        {&side, {1500, 100, 1024, 768}, 1},  // more of it on the right
        {&side, {1000, 100, 1024, 768}, 0},
        {&stacked, {100, 1070, 1024, 768}, 1}, {&stacked, {1930, 400, 200, 200}, 2},
        {&stacked, {1930, 100, 100, 100}, 0},  // in the gap right of the top one: the nearest
    };
    for (const Choice &c : choices) {
        const ScreenRect &w = c.window;
        int got = w.w ? monitor_of_window(*c.monitors, w) : monitor_at(*c.monitors, w.x, w.y);
        EXPECT_EQ(got, c.monitor) << w.x << "," << w.y << " " << w.w << "x" << w.h;
    }

    struct Move {
        ScreenRect window;
        int w, h;
        ScreenRect bounds, want;
    };
    const ScreenRect right{1920, 0, 1920, 1040};
    const Move moves[] = {
        {{2300, 200, 1024, 768}, 512, 384, right, {2556, 392, 512, 384}},  // centre kept
        {{2556, 392, 512, 384}, 1024, 768, right, {2300, 200, 1024, 768}},  // and back
        {{2700, 100, 1024, 768}, 1536, 1152, right, {2304, 0, 1536, 1152}},  // too tall: the top
        {{1930, 500, 1024, 768}, 1024, 768, right, {1930, 272, 1024, 768}},  // up, inside
        {{1800, 10, 1024, 768}, 1024, 768, right, {1920, 10, 1024, 768}},  // off the left edge
        {{3000, 300, 777, 583}, 1024, 768, right, {2816, 207, 1024, 768}},  // right edge; odd
    };
    for (const Move &m : moves) {
        ScreenRect got = keep_place(m.window, m.w, m.h, m.bounds);
        EXPECT_EQ(got.x, m.want.x) << m.window.x << "," << m.window.y << " to " << m.w;
        EXPECT_EQ(got.y, m.want.y) << m.window.x << "," << m.window.y << " to " << m.w;
        EXPECT_EQ(got.w, m.w);
        EXPECT_EQ(got.h, m.h);
    }
}
