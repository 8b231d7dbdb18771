// The title and the boards as a player waits on them: the game's pointer shown wherever the
// pointer rests, the close button answered at once wherever that is, and a hover seen quickly.
#include "game_support.h"

#include <gtest/gtest.h>
#include <X11/Xlib.h>  // after GoogleTest, whose headers its macros break
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

const Rgb VALUE_LIT{229, 240, 31};
const Rgb MASK{255, 0, 255};  // the sprite's transparent colour

// The X server draws the game's pointer itself (a hardware cursor), so no screenshot holds
// it: XFixes tells which picture the server shows at the pointer. True when that is the
// game's cursor picture: the opaque pixels of imagens/cursor.bmp in their colours, its
// magenta clear, its hot spot at the pointer, each of its pixels a scale x scale square.
// `why` says what differs.
bool shows_game_cursor(E2eSession &s, std::string &why, int scale = 1)
{
    int event_base, error_base;
    if (!XFixesQueryExtension(s.x, &event_base, &error_base)) {
        why = "the X server has no XFixes";
        return false;
    }
    RgbImage sprite = read_game_picture("imagens/cursor.bmp");
    if (sprite.width == 0) {
        why = "cannot read imagens/cursor.bmp";
        return false;
    }
    XFixesCursorImage *cursor = XFixesGetCursorImage(s.x);
    if (!cursor) {
        why = "no cursor image";
        return false;
    }
    ::Window root, child;
    int x, y, wx, wy;
    unsigned buttons;
    XQueryPointer(s.x, DefaultRootWindow(s.x), &root, &child, &x, &y, &wx, &wy, &buttons);
    why.clear();
    if (cursor->x != x || cursor->y != y)
        why = "cursor at (" + std::to_string(cursor->x) + ", " + std::to_string(cursor->y) +
              "), pointer at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
    int wrong = 0;
    for (int j = 0; j < std::max<int>(cursor->height, sprite.height * scale) && why.empty(); j++)
        for (int i = 0; i < std::max<int>(cursor->width, sprite.width * scale); i++) {
            bool in_sprite = i < sprite.width * scale && j < sprite.height * scale;
            bool in_cursor = i < cursor->width && j < cursor->height;
            unsigned long argb = in_cursor ? cursor->pixels[j * cursor->width + i] : 0;
            int alpha = (int)(argb >> 24 & 0xff);
            Rgb seen{(int)(argb >> 16 & 0xff), (int)(argb >> 8 & 0xff), (int)(argb & 0xff)};
            Rgb want = in_sprite ? sprite.at(i / scale, j / scale) : MASK;
            bool clear = !in_sprite || want == MASK;
            if (clear ? alpha != 0 : alpha != 255 || !rgb_near(seen, want))
                wrong++;
        }
    if (why.empty() && wrong)
        why = std::to_string(wrong) + " pixels of the cursor (" + std::to_string(cursor->width) +
              "x" + std::to_string(cursor->height) + ") differ from imagens/cursor.bmp";
    XFree(cursor);
    return why.empty();
}

// True when the cursor the server shows has no visible pixel: the pointer is hidden.
bool cursor_hidden(E2eSession &s)
{
    XFixesCursorImage *cursor = XFixesGetCursorImage(s.x);
    if (!cursor)
        return false;
    bool clear = true;
    for (int i = 0; i < cursor->width * cursor->height; i++)
        clear = clear && (cursor->pixels[i] >> 24 & 0xff) == 0;
    XFree(cursor);
    return clear;
}

// Pixels near `colour` in `box` of the window, read straight from the server: a small grab,
// so that the time it takes hardly counts in the hover's delay.
int box_pixels_near(E2eSession &s, const PixelBox &box, Rgb colour)
{
    int left, top;
    e2e_window_origin(s, left, top);
    int width = box.x2 - box.x1 + 1, height = box.y2 - box.y1 + 1;
    XImage *image = XGetImage(s.x, DefaultRootWindow(s.x), left + box.x1, top + box.y1, width,
                              height, AllPlanes, ZPixmap);
    if (!image)
        return 0;
    int count = 0;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            unsigned long pixel = XGetPixel(image, x, y);  // 24-bit TrueColor on the rig's Xvfb
            Rgb seen{(int)(pixel >> 16 & 0xff), (int)(pixel >> 8 & 0xff), (int)(pixel & 0xff)};
            count += rgb_near(seen, colour);
        }
    XDestroyImage(image);
    return count;
}

// Waits (up to 3 s) for the server to show the game's cursor at the pointer.
::testing::AssertionResult game_cursor_shown(E2eSession &s, const char *where, int scale = 1)
{
    std::string why;
    if (e2e_wait_for([&] { return shows_game_cursor(s, why, scale); }, 3000))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << where << ": " << why;
}

// Requests a close and returns the exit status, the time it took in `ms`.
int close_and_wait(E2eSession &s, long &ms)
{
    auto start = Clock::now();
    e2e_request_close(s);
    int status = e2e_wait_exit(s, 3000);
    ms = (long)std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start)
             .count();
    return status;
}

}  // namespace

TEST(GameWaiting, TheGamesPointerShowsOnTheTitleTheMenuAndTheBoards)
{
    E2eSession s(GAME_DIR);
    ASSERT_TRUE(start_to_title(s));
    EXPECT_TRUE(game_cursor_shown(s, "on the title"));
    e2e_mouse_move(s, box_mid_x(QUIT_BOX), box_mid_y(QUIT_BOX));
    EXPECT_TRUE(e2e_wait_for([&] { return count_near(e2e_grab_window(s), QUIT_BOX, WORD_HOVER) > 100; },
                             3000));
    EXPECT_TRUE(game_cursor_shown(s, "on a lit menu word"));

    ASSERT_TRUE(open_help(s));
    e2e_mouse_move(s, 350, 120);
    EXPECT_TRUE(game_cursor_shown(s, "on the help board"));
    e2e_click(s, 432, 308);  // OK
    e2e_mouse_move(s, 480, 370);
    ASSERT_TRUE(e2e_wait_for([&] { return menu_words_normal(e2e_grab_window(s)); }, 5000));
    EXPECT_TRUE(game_cursor_shown(s, "back on the title"));

    ASSERT_TRUE(open_options(s));
    e2e_mouse_move(s, 300, 220);
    EXPECT_TRUE(game_cursor_shown(s, "on the options board"));
}

TEST(GameWaiting, AtTwiceTheScaleThePointerIsTheGamesCursorTwiceAsLargeAndHidesInPlay)
{
    E2eSession s(GAME_DIR, FULL_HD_SCREEN);
    ASSERT_TRUE(start_scaled_to_title(s, 2));
    EXPECT_TRUE(game_cursor_shown(s, "on the title at 2x", 2));
    e2e_focus(s);
    e2e_tap_key(s, XK_F11);
    ASSERT_TRUE(window_size_becomes(s, 1920, 1080, 5000));
    // The game hides the pointer for play; a change of the window keeps it hidden. (The
    // picture fills the screen's height in fullscreen: 1440 x 1080 from x = 240.)
    e2e_mouse_move_screen(s, 240 + box_mid_x(START_BOX) * 1440 / 512,
                          box_mid_y(START_BOX) * 1080 / 384);
    e2e_mouse_down(s);
    EXPECT_TRUE(e2e_wait_for([&] { return cursor_hidden(s); }, 3000));
    e2e_mouse_up(s);
    e2e_tap_key(s, XK_F11);
    ASSERT_TRUE(window_size_becomes(s, 1024, 768, 5000));
    EXPECT_TRUE(e2e_wait_for([&] { return cursor_hidden(s); }, 3000));
}

// The close button ends the game with status 0 within a second on every screen, and in each
// place where the game once waited without looking at it: the pointer resting on a menu word,
// resting on an options value, and the wait for a password key. Each row opens its screen from
// the title (the tiny levels in the game's folder), then waits there as a player would.
TEST(GameWaiting, CloseIsAnsweredAtOnceOnEveryScreen)
{
    auto lit_within_3s = [](E2eSession &s, const std::function<bool(const RgbImage &)> &lit) {
        return e2e_wait_for([&] { return lit(e2e_grab_window(s)); }, 3000);
    };
    const struct {
        const char *where;
        bool (*open)(E2eSession &);              // from the title (none: stay there)
        std::function<bool(E2eSession &)> wait;  // false when the screen did not answer
    } places[] = {
        {"on the title", nullptr, nullptr},
        {"on the help board", open_help, nullptr},
        {"on the options board", open_options, nullptr},
        {"in play", play_started, nullptr},
        {"on a menu word", nullptr,
         [&](E2eSession &s) {
             e2e_mouse_move(s, box_mid_x(HELP_BOX), box_mid_y(HELP_BOX));
             return lit_within_3s(s, [](const RgbImage &shot) {
                 return count_near(shot, HELP_BOX, WORD_HOVER) > 100;
             });
         }},
        {"on an options value", open_options,
         [&](E2eSession &s) {
             e2e_mouse_move(s, 312, 252);  // on "SIM"
             return lit_within_3s(s, [](const RgbImage &shot) {
                 return shows_text(shot, 310, 250, "SIM", VALUE_LIT);
             });
         }},
        {"in the password's entry", open_options,
         [&](E2eSession &s) {
             e2e_click(s, 340, 281);  // the password box
             if (!lit_within_3s(s, [](const RgbImage &shot) {
                     return shows_text(shot, 277, 305, "Digite a senha", {200, 200, 200});
                 }))
                 return false;
             e2e_mouse_move(s, 300, 220);
             e2e_focus(s);
             e2e_tap_key(s, XK_k);  // one key of four: its star shows
             return lit_within_3s(s, [](const RgbImage &shot) {
                 return count_near(shot, PixelBox{331, 280, 338, 287}, {180, 180, 180}) > 3;
             });
         }},
    };
    for (const auto &place : places) {
        SCOPED_TRACE(place.where);
        E2eSession s(GAME_DIR);
        put_tiny_levels(s);
        ASSERT_TRUE(start_to_title(s));
        if (place.open && !place.open(s)) {
            ADD_FAILURE() << "the screen did not open";
            continue;
        }
        if (place.wait && !place.wait(s)) {
            ADD_FAILURE() << "the screen did not answer the pointer or the key";
            continue;
        }
        long ms = 0;
        EXPECT_EQ(close_and_wait(s, ms), 0);
        EXPECT_LT(ms, 1000) << "the close took " << ms << " ms";
    }
}

// Difficulty DIFICIL (one life), a tiny game, Escape: a life lost, then the game-over
// message, during which the close button ends the game at once.
TEST(GameWaiting, CloseIsAnsweredDuringTheGameOverMessage)
{
    E2eSession s(GAME_DIR);
    put_tiny_levels(s);
    ASSERT_TRUE(start_to_title(s));
    ASSERT_TRUE(open_options(s));
    for (int click = 0; click < 2; click++) {  // FACIL -> MEDIO -> DIFICIL
        e2e_click(s, 330, 267, 1, 50);
        e2e_mouse_move(s, 300, 220);
        const char *want = click == 0 ? "MEDIO" : "DIFICIL";
        ASSERT_TRUE(e2e_wait_for(
            [&] { return shows_text(e2e_grab_window(s), 325, 265, want, {225, 170, 20}); }, 3000))
            << want;
    }
    e2e_click(s, 432, 308);  // OK
    e2e_mouse_move(s, 480, 370);
    ASSERT_TRUE(e2e_wait_for([&] { return menu_words_normal(e2e_grab_window(s)); }, 5000));
    ASSERT_TRUE(play_started(s));
    e2e_mouse_move(s, 300, 300);
    EXPECT_TRUE(e2e_wait_for([&] { return cursor_hidden(s); }, 3000)) << "a pointer over play";

    // The messages are black letters over the wall tiles at the top right.
    const PixelBox message_area{272, 0, 511, 24};
    RgbImage playing = e2e_grab_window(s);
    auto message_shown = [&] {
        return pixels_changed(playing, e2e_grab_window(s), message_area) > 200;
    };
    e2e_focus(s);
    e2e_tap_key(s, XK_Escape, 150);
    ASSERT_TRUE(e2e_wait_for(message_shown, 3000)) << "no life-lost message";
    sleep_ms(700);
    e2e_tap_key(s, XK_Return, 40);  // the message waits for it
    ASSERT_TRUE(e2e_wait_for([&] { return !message_shown(); }, 3000)) << "the level did not restart";
    ASSERT_TRUE(e2e_wait_for(message_shown, 3000)) << "no game-over message";
    long ms = 0;
    EXPECT_EQ(close_and_wait(s, ms), 0);
    EXPECT_LT(ms, 1000) << "the close took " << ms << " ms";
}

// Five moves onto a word and off it: each time the screen must show the change within 50 ms
// (the menu sleeps between passes until input wakes it; a wake-up that never came would show
// here as the longest sleep, 100 ms).
TEST(GameWaiting, AHoverIsOnScreenWithin50ms)
{
    E2eSession s(GAME_DIR);
    ASSERT_TRUE(start_to_title(s));
    std::vector<long> times;
    for (int round = 0; round < 5; round++) {
        for (bool onto : {true, false}) {
            auto start = Clock::now();
            if (onto)
                e2e_mouse_move(s, box_mid_x(START_BOX), box_mid_y(START_BOX));
            else
                e2e_mouse_move(s, 480, 370);
            bool seen = false;
            while (!seen && Clock::now() - start < std::chrono::seconds(2))
                seen = onto ? box_pixels_near(s, START_BOX, WORD_HOVER) > 100
                            : box_pixels_near(s, START_BOX, WORD_HOVER) == 0;
            ASSERT_TRUE(seen) << "round " << round << (onto ? ": not lit" : ": not back");
            times.push_back((long)std::chrono::duration_cast<std::chrono::microseconds>(
                                Clock::now() - start).count());
        }
    }
    std::sort(times.begin(), times.end());
    std::printf("hover seen after (us): min %ld, median %ld, max %ld\n", times.front(),
                times[times.size() / 2], times.back());
    // The median, so that one pass delayed by a busy machine does not decide.
    EXPECT_LT(times[times.size() / 2], 50000);
}
