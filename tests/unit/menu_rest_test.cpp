// The menu at rest: a word drawn any number of times looks as it did the first time, and a
// pointer that does not move makes the menu copy nothing and yield instead.
#include "menu_fixture.h"
#include "shell/shell.h"

#include <vector>

namespace {

// The menu column of the title picture, where the words and their edges are.
std::vector<int> menu_column(BITMAP *b)
{
    std::vector<int> pixels;
    for (int y = 170; y < 384; y++)
        for (int x = 80; x < 320; x++)
            pixels.push_back(getpixel(b, x, y));
    return pixels;
}

// A pixel no drawing of the menu produces: a copy to the screen replaces it.
constexpr int MARK_X = 5, MARK_Y = 5;
void mark(BITMAP *b) { putpixel(b, MARK_X, MARK_Y, makecol(1, 2, 3)); }
bool marked(BITMAP *b) { return getpixel(b, MARK_X, MARK_Y) == makecol(1, 2, 3); }

}  // namespace

TEST_F(MainMenu, AWordLooksTheSameAfterAThousandHoversAsAfterOne)
{
    // Each round lights "Ajuda" (the word whose "j" reaches towards "Opcoes"), takes the
    // picture while it is lit, and leaves it, which draws it normal again.
    std::vector<int> lit_picture, plain_picture;
    auto hover_once = [&] {
        point(120, 245);
        long leave_at = script.polls + 9;  // "Iniciar"'s box, "Ajuda"'s box, the button
        script.on_poll = [&, leave_at](ScriptPlatform &s) {
            if (s.polls == leave_at) {
                lit_picture = menu_column(title_bitmap);
                s.pointer_x = 400;
            }
        };
        EXPECT_EQ(poll_main_menu(light), MENU_NONE);
        plain_picture = menu_column(title_bitmap);
    };
    hover_once();
    const std::vector<int> lit_first = lit_picture, plain_first = plain_picture;
    const std::vector<int> fresh = menu_column(title_bitmap);
    for (int round = 1; round < 1000; round++)
        hover_once();
    EXPECT_TRUE(lit_first != plain_first) << "the word was never lit";
    EXPECT_TRUE(lit_picture == lit_first) << "the lit word drifted";
    EXPECT_TRUE(plain_picture == plain_first) << "the normal word drifted";
    // And normal after a thousand rounds is normal as the title first showed it.
    title_screen();
    EXPECT_TRUE(menu_column(title_bitmap) == fresh);
}

TEST_F(MainMenu, APointerAtRestCopiesNothingAndYields)
{
    // Away from the words: a hundred polls, no copy to the screen, one yield each.
    mark(screen);
    for (int i = 0; i < 100; i++)
        ASSERT_EQ(poll_main_menu(light), MENU_NONE);
    EXPECT_TRUE(marked(screen));
    EXPECT_EQ(script.idles, 100);

    // On a word: the first pass lights it and copies once; then the passes only yield, until
    // the click, which is still taken.
    point(120, 290);
    script.polls = 0;
    // One pointer read each for "Iniciar" and "Ajuda", then two a pass for "Opcoes": the
    // pointer and the button, read after the lit word is copied.
    script.on_poll = [&](ScriptPlatform &s) {
        if (s.polls == 4)
            mark(screen);  // the first pass's button read, after its copy
        if (s.polls == 4 + 2 * 199)
            s.buttons = 1;  // the 200th pass
    };
    script.idles = 0;
    EXPECT_EQ(poll_main_menu(light), MENU_OPTIONS);
    EXPECT_TRUE(marked(screen));
    EXPECT_GT(lit(screen, 3), 50);
    EXPECT_EQ(script.idles, 198);  // all but the first pass and the click
}

TEST_F(MainMenu, ACloseWhileThePointerRestsOnAWordEndsTheHover)
{
    point(120, 200);  // on "Iniciar", no button
    script.on_poll = [](ScriptPlatform &s) {
        if (s.polls == 50)
            script_press_close();
    };
    install_menu_close_handler();
    menu_close_requested = false;
    main_menu();  // returns: the flow ends
    EXPECT_LE(script.polls, 60);
    menu_close_requested = false;
}
