// The title screen: a fresh picture at every showing, with memory that stays flat.
#include "bad_pictures.h"
#include "font/alfont_extra.h"
#include "menu_fixture.h"

#include <malloc.h>

// The same start: the title already showing once.
using TitleScreen = MainMenu;

namespace {

// Pixels in the normal label colour, all four labels together.
int plain_label_pixels(BITMAP *b)
{
    return plain(b, 1) + plain(b, 2) + plain(b, 3) + plain(b, 4);
}

// Bytes the program holds from malloc, the large blocks it maps on its own included.
long heap_in_use()
{
    struct mallinfo2 info = mallinfo2();
    return (long)(info.uordblks + info.hblkhd);
}

}  // namespace

TEST_F(TitleScreen, ShowsThePictureWithTheFourLabels)
{
    EXPECT_EQ(getpixel(screen, 0, 0), picture_colour());
    EXPECT_EQ(getpixel(screen, 511, 383), picture_colour());
    EXPECT_EQ(getpixel(screen, 400, 250), picture_colour());  // right of the menu: bare picture
    EXPECT_GT(plain_label_pixels(screen), 400);
    // What the screen shows is the picture the labels were drawn into.
    for (int y = 0; y < 384; y += 7)
        for (int x = 0; x < 512; x += 5)
            ASSERT_EQ(getpixel(screen, x, y), getpixel(title_bitmap, x, y));
}

TEST_F(TitleScreen, ShowingItAgainClearsEveryHighlight)
{
    int normal = plain_label_pixels(screen);
    script.pointer_x = 120, script.pointer_y = 240, script.buttons = 1;
    ASSERT_EQ(poll_main_menu(light), MENU_HELP);
    ASSERT_LT(plain_label_pixels(title_bitmap), normal);  // "Ajuda" is highlighted

    rectfill(screen, 260, 0, 511, 383, makecol(0, 0, 0));  // a board beside the menu
    title_screen();
    EXPECT_EQ(plain_label_pixels(screen), normal);
    EXPECT_EQ(plain_label_pixels(title_bitmap), normal);
    EXPECT_EQ(getpixel(screen, 400, 250), picture_colour());
}

TEST_F(TitleScreen, ShowingItManyTimesKeepsMemoryFlat)
{
    title_screen();
    int fonts = alfont_font_count();
    long before = heap_in_use();
    for (int i = 0; i < 40; i++)
        title_screen();
    long grown = heap_in_use() - before;
    EXPECT_EQ(alfont_font_count(), fonts);
    // One picture left behind per showing would be 393,216 bytes each, 15 MB in all.
    EXPECT_LT(grown, 512 * 384 * 2);
}

TEST_F(TitleScreen, APictureThatCannotBeTheTitleGivesTheBlackTitle)
{
    for (const auto &bad : bad_pictures(512, 384, picture_colour())) {
        SCOPED_TRACE(bad.first);
        {
            std::ofstream out("imagens/inicio.bmp", std::ios::binary | std::ios::trunc);
            out << bad.second;
        }
        title_screen();
        EXPECT_EQ(getpixel(screen, 400, 250), makecol(0, 0, 0));
        EXPECT_EQ(getpixel(screen, 2, 2), makecol(0, 0, 0));
        expect_all_plain(screen);  // the menu works on black
    }
}
