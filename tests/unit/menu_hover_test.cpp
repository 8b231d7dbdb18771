// The main menu's hover boxes and clicks, with a scripted pointer over a 16-bit memory screen,
// and the hover test it shares with the boards.
#include "menu_fixture.h"
#include "ui/help_board.h"
#include "ui/options_board.h"

#include <functional>

TEST_F(MainMenu, HoverBoxesAreStrictOnEverySide)
{
    struct Case {
        int x, y, item;
    } cases[] = {
        {90, 200, 0},  {91, 181, 1},  {209, 219, 1}, {210, 200, 0}, {100, 220, 0},
        {100, 180, 0}, {91, 226, 2},  {204, 264, 2}, {205, 240, 0}, {100, 265, 0},
        {91, 271, 3},  {219, 309, 3}, {220, 290, 0}, {100, 310, 0}, {91, 316, 4},
        {159, 354, 4}, {160, 330, 0}, {100, 355, 0}, {100, 315, 0},
    };
    for (const Case &c : cases) {
        point(c.x, c.y, 1);
        EXPECT_EQ(poll_main_menu(light), c.item) << "pointer at (" << c.x << ", " << c.y << ")";
    }
}

TEST_F(MainMenu, BetweenTwoItemsNothingLightsAndAClickIsNoChoice)
{
    for (int y : {222, 267, 312}) {
        point(100, y, 1);
        EXPECT_EQ(poll_main_menu(light), MENU_NONE) << "y " << y;
        expect_all_plain(screen);
    }
}

TEST_F(MainMenu, AButtonAlreadyHeldChoosesOnTheFirstPassInsideTheBox)
{
    point(150, 290, 1);  // on "Opcoes", left button down
    EXPECT_EQ(poll_main_menu(light), MENU_OPTIONS);
    // One pointer read each for the first two items, one more and the button for the third:
    // one highlighted drawing, copied to the screen, and straight out.
    EXPECT_EQ(script.polls, 4);
    EXPECT_GT(lit(screen, 3), 50);
    for (int item : {1, 2, 4})
        EXPECT_EQ(lit(screen, item), 0);
    // The choice stays highlighted in the picture too, until the title is drawn anew.
    EXPECT_GT(lit(title_bitmap, 3), 50);
}

TEST_F(MainMenu, OnlyTheLeftButtonAloneIsAClick)
{
    for (int buttons : {2, 3, 4, 5}) {
        point(120, 240, buttons);  // on "Ajuda"
        long start = script.polls;
        int seen_lit = -1;
        script.on_poll = [&](ScriptPlatform &s) {
            if (s.polls == start + 40) {
                seen_lit = lit(screen, 2);
                s.pointer_x = 400;  // leave, or the busy loop goes on for ever
            }
        };
        EXPECT_EQ(poll_main_menu(light), MENU_NONE) << "buttons " << buttons;
        EXPECT_GT(seen_lit, 50) << "highlighted while hovered";
        expect_all_plain(screen);
        script.on_poll = nullptr;
    }
}

// The pointer jumps between two places on every read, the left button held: one place has a
// word's x, the other its y, neither is on it. A screen that took x and y from two reads would
// see the pointer on the word and choose it.
TEST_F(MainMenu, APointerOnTheMoveChoosesNoWordItWasNeverOn)
{
    struct Case {
        const char *word;
        int x1, y1, x2, y2;
        std::function<bool()> chooses;  // runs the screen; true when it chose something
    };
    auto stalls = [](const std::function<void()> &run) {
        try {
            run();
            return false;
        } catch (const ScriptStalled &) {
            return true;
        }
    };
    const Case cases[] = {
        {"Iniciar, strict bounds", 100, 50, 400, 200,
         [&] { return !stalls([&] { while (poll_main_menu(light) == MENU_NONE) {} }); }},
        {"help OK, bounds included", 430, 100, 100, 308,
         [&] { return !stalls(show_help_board); }},
        {"options speed, strict bounds", 370, 100, 100, 238,
         [&] {
             bool stalled = stalls([] { run_options_board(); });
             return !stalled || options_state.frame_delay != OptionsState{}.frame_delay;
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.word);
        options_state = OptionsState{};
        help_close_requested = options_close_requested = false;
        script.polls = 0;
        script.poll_limit = 3000;
        script.buttons = 1;
        script.on_poll = [&c](ScriptPlatform &s) {
            const bool first = s.polls % 2;
            s.pointer_x = first ? c.x1 : c.x2;
            s.pointer_y = first ? c.y1 : c.y2;
        };
        EXPECT_FALSE(c.chooses());
    }
}

TEST_F(MainMenu, AQuickMoveDownLightsOnlyTheItemUnderThePointer)
{
    point(100, 200);  // on "Iniciar"
    int first = -1, second = -1;
    script.on_poll = [&](ScriptPlatform &s) {
        if (s.polls == 10)
            s.pointer_y = 240;  // straight onto "Ajuda", past the rows between
        if (s.polls == 30) {
            first = lit(screen, 1);
            second = lit(screen, 2);
            s.pointer_x = 400;  // off every box
        }
    };
    EXPECT_EQ(poll_main_menu(light), MENU_NONE);
    EXPECT_EQ(first, 0);
    EXPECT_GT(second, 50);
    expect_all_plain(screen);
}

TEST_F(MainMenu, AMoveUpIsSeenOnlyByTheNextPoll)
{
    point(100, 240);  // on "Ajuda"
    script.on_poll = [](ScriptPlatform &s) {
        if (s.polls == 12)
            s.pointer_y = 200;  // up onto "Iniciar", already tested in this pass
    };
    EXPECT_EQ(poll_main_menu(light), MENU_NONE);
    expect_all_plain(screen);
    script.on_poll = nullptr;
    script.buttons = 1;
    EXPECT_EQ(poll_main_menu(light), MENU_START);
    EXPECT_GT(lit(screen, 1), 50);
}

TEST(MainMenuWithoutFiles, AMissingPictureAndFontLeaveAWorkingBlackMenu)
{
    GameFolder empty(false);
    BITMAP *canvas = create_bitmap(512, 384);
    clear_to_color(canvas, makecol(255, 0, 255));
    script_reset(canvas);
    ASSERT_NE(alfont_init(), 1);
    title_screen();
    EXPECT_EQ(getpixel(canvas, 0, 0), makecol(0, 0, 0));
    EXPECT_EQ(getpixel(canvas, 511, 383), makecol(0, 0, 0));
    script.pointer_x = 100, script.pointer_y = 330, script.buttons = 1;
    KeyLight light;
    EXPECT_EQ(poll_main_menu(light), MENU_QUIT);
    release_title_screen();
    alfont_exit();
    script_reset(nullptr);
    destroy_bitmap(canvas);
}

// Up and Down move one light over the words, wrapping, and Return or Space chooses the lit
// word, also once a board closed and the title came back; the pointer takes the light back
// once it moves; a click too short to see counts where it went down.
TEST_F(MainMenu, KeysLightOneWordAtATimeAndChooseIt)
{
    const int TITLE = -1;  // the title drawn afresh, as when a board closes
    struct Step {
        int key;     // tapped before the poll (0: none)
        int lit;     // the one word lit after it
        int chosen;  // what the poll returns
    } steps[] = {
        {KEY_DOWN, 1, MENU_NONE}, {KEY_DOWN, 2, MENU_NONE}, {KEY_UP, 1, MENU_NONE},
        {KEY_UP, 4, MENU_NONE},   {0, 4, MENU_NONE},        {KEY_DOWN, 1, MENU_NONE},
        {KEY_DOWN, 2, MENU_NONE}, {KEY_ENTER, 2, MENU_HELP}, {TITLE, 2, MENU_NONE},
        {KEY_UP, 1, MENU_NONE},   {KEY_A, 1, MENU_NONE},    {KEY_SPACE, 1, MENU_START},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.key);
        if (step.key == TITLE)
            title_screen();
        else if (step.key)
            script_tap(step.key);
        EXPECT_EQ(poll_main_menu(light), step.chosen);
        for (int item = 1; item <= 4; item++)
            EXPECT_EQ(lit(screen, item) > 50, item == step.lit) << "item " << item;
    }
    script_tap(KEY_UP);
    script_tap(KEY_ENTER);
    EXPECT_EQ(poll_main_menu(light), MENU_QUIT) << "two keys between polls, played in order";

    // The pointer moves onto "Opcoes": only it is lit, the keys' word goes back to normal.
    title_screen();
    script_tap(KEY_DOWN);
    EXPECT_EQ(poll_main_menu(light), MENU_NONE);
    point(120, 290);
    long start = script.polls;
    int seen_lit_1 = -1, seen_lit_3 = -1;
    script.on_poll = [&](ScriptPlatform &s) {
        if (s.polls == start + 30) {
            seen_lit_1 = lit(screen, 1);
            seen_lit_3 = lit(screen, 3);
            script_click();  // short, while on the word
        }
    };
    EXPECT_EQ(poll_main_menu(light), MENU_OPTIONS);
    EXPECT_EQ(seen_lit_1, 0);
    EXPECT_GT(seen_lit_3, 50);

    // Down while the pointer rests on "Opcoes" lights "Sair"; a short click where the pointer
    // still rests then chooses "Opcoes".
    script.on_poll = [&](ScriptPlatform &s) {
        if (s.polls == start + 40)
            script_tap(KEY_DOWN);
    };
    EXPECT_EQ(poll_main_menu(light), MENU_NONE);
    EXPECT_GT(lit(screen, 4), 50);
    script_click();
    EXPECT_EQ(poll_main_menu(light), MENU_OPTIONS);

    // A short click off every word chooses nothing, and is not kept for later.
    script.on_poll = nullptr;
    title_screen();
    point(400, 50);
    script_click();
    EXPECT_EQ(poll_main_menu(light), MENU_NONE);
    point(120, 290);
    script.on_poll = [&](ScriptPlatform &s) {
        if (s.polls > 200)
            s.pointer_x = 400;
    };
    EXPECT_EQ(poll_main_menu(light), MENU_NONE);
}
