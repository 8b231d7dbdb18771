// The picture at whole-number scales: the scale each desktop gets, where the picture sits in a
// window, the pointer mapped back, and the copies of what changed, pixel by pixel.
#include "platform/picture_scale.h"
#include "platform/window.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

struct BitmapFree {
    void operator()(BITMAP *b) const { destroy_bitmap(b); }
};
using Bitmap = std::unique_ptr<BITMAP, BitmapFree>;

Bitmap picture_bitmap()
{
    return Bitmap(create_bitmap(WINDOW_WIDTH, WINDOW_HEIGHT));
}

// A picture in which neighbours differ, so that a copy off by one pixel shows.
void paint_pattern(BITMAP *b)
{
    for (int y = 0; y < b->h; y++)
        for (int x = 0; x < b->w; x++)
            putpixel(b, x, y, makecol(x * 7 & 255, y * 11 & 255, (x + y) * 5 & 255));
}

// Pixels of `target` that are not the picture's pixel for the square they lie in, over the
// picture's place; and pixels outside that place not of colour `around`.
int wrong_squares(BITMAP *picture, BITMAP *target, const Placement &at, int around)
{
    int wrong = 0;
    for (int y = 0; y < target->h; y++)
        for (int x = 0; x < target->w; x++) {
            int px = picture_coordinate(x, at.x, at.scale);
            int py = picture_coordinate(y, at.y, at.scale);
            bool inside = px >= 0 && py >= 0 && px < picture->w && py < picture->h;
            int want = inside ? getpixel(picture, px, py) : around;
            if (getpixel(target, x, y) != want)
                wrong++;
        }
    return wrong;
}

}  // namespace

TEST(PictureScale, EachDesktopGetsTheLargestScaleThatLeavesRoomForFrameAndTaskBar)
{
    struct Case {
        Desktop desktop;
        int scale;
    };
    const Case cases[] = {
        {{1920, 1080, 1920, 1080}, 2},
        {{2560, 1440, 2560, 1440}, 3},
        {{3840, 2160, 3840, 2160}, 4},
        {{1366, 768, 1366, 768}, 1},
        {{800, 600, 800, 600}, 1},
        {{640, 480, 640, 480}, 1},   // smaller than the picture: still 1
        {{1280, 1024, 1280, 1024}, 2},
        {{3840, 1080, 3840, 1080}, 2},  // two screens side by side: the height decides
        {{1920, 1080, 1920, 1032}, 2},  // a task bar the window manager reports
        {{2560, 1440, 2560, 1180}, 2},  // panels that leave too little for 3x
        {{2560, 1440, 1500, 1440}, 2},  // a side panel that leaves too little width
    };
    for (const Case &c : cases)
        EXPECT_EQ(largest_window_scale(c.desktop), c.scale)
            << c.desktop.width << "x" << c.desktop.height << ", work area "
            << c.desktop.work_width << "x" << c.desktop.work_height;
}

TEST(PictureScale, PictureSitsCentredAndThePointerMapsBackToItsPixels)
{
    struct Place {
        int width, height, scale, x, y;
    };
    const Place places[] = {
        {512, 384, 1, 0, 0},      {1024, 768, 2, 0, 0},   {1920, 1080, 2, 448, 156},
        {800, 600, 1, 144, 108},  {2560, 1440, 3, 512, 144}, {3840, 2160, 5, 640, 120},
        {1535, 1151, 2, 255, 191},  // one short of 3x each way
        {400, 300, 1, 0, 0},       // smaller than the picture: 1x at the corner
    };
    for (const Place &p : places) {
        Placement at = place_picture(p.width, p.height);
        EXPECT_EQ(at.scale, p.scale) << p.width << "x" << p.height;
        EXPECT_EQ(at.x, p.x) << p.width << "x" << p.height;
        EXPECT_EQ(at.y, p.y) << p.width << "x" << p.height;
    }
    struct Point {
        int at, origin, scale, picture;
    };
    const Point points[] = {
        {0, 0, 1, 0},    {511, 0, 1, 511}, {1, 0, 2, 0},     {2, 0, 2, 1},  {1023, 0, 2, 511},
        {448, 448, 2, 0}, {447, 448, 2, -1}, {446, 448, 2, -1}, {445, 448, 2, -2},
        {1472, 448, 2, 512}, {5, 0, 3, 1},  {-1, 0, 3, -1},
    };
    for (const Point &p : points)
        EXPECT_EQ(picture_coordinate(p.at, p.origin, p.scale), p.picture)
            << p.at << " from " << p.origin << " at " << p.scale << "x";
}

TEST(PictureScale, CopiesEveryPixelAsAnExactSquareAndThenOnlyWhatChanged)
{
    Bitmap picture = picture_bitmap(), shown = picture_bitmap();
    paint_pattern(picture.get());
    const int black = makecol(0, 0, 0);
    clear_to_color(shown.get(), black);
    for (int scale = 1; scale <= 3; scale++) {
        SCOPED_TRACE(testing::Message() << scale << "x");
        // A window a little wider and taller than the picture: black around it, centred.
        Bitmap target(create_bitmap(WINDOW_WIDTH * scale + 10, WINDOW_HEIGHT * scale + 6));
        clear_to_color(target.get(), black);
        clear_to_color(shown.get(), black);
        Placement at = place_picture(target->w, target->h);
        ASSERT_EQ(at.scale, scale);
        PictureRect all = changed_rect(picture.get(), shown.get());
        EXPECT_EQ(all.x, 0);
        EXPECT_EQ(all.y, 0);
        EXPECT_EQ(all.w, WINDOW_WIDTH);
        EXPECT_EQ(all.h, WINDOW_HEIGHT);
        present_rect(picture.get(), shown.get(), target.get(), at, all);
        EXPECT_EQ(wrong_squares(picture.get(), target.get(), at, black), 0);
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
        const int mark = makecol(255, 0, 255);
        rectfill(target.get(), at.x + 100 * scale, at.y, at.x + 200 * scale, at.y + 5 * scale,
                 mark);
        present_rect(picture.get(), shown.get(), target.get(), at, changed);
        EXPECT_EQ(getpixel(target.get(), at.x + 40 * scale + scale - 1, at.y + 300 * scale),
                  makecol(255, 255, 255));
        EXPECT_EQ(getpixel(target.get(), at.x + 7 * scale, at.y + 12 * scale + scale - 1),
                  makecol(0, 0, 255));
        EXPECT_EQ(getpixel(target.get(), at.x + 150 * scale, at.y + 2 * scale), mark);
        EXPECT_EQ(changed_rect(picture.get(), shown.get()).w, 0);
        paint_pattern(picture.get());
    }
}
