// The scripted clock must fire the one-second handler like the library does: re-arming with the
// same period keeps the phase, so a fast frame loop still counts one tick a second.
#include "script_platform.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

static int ticks;
static void count_tick() { ticks++; }

TEST(ScriptPlatform, RearmingKeepsTheTickPhase)
{
    script_reset(nullptr);
    ticks = 0;
    for (int frame = 0; frame < 100; frame++) {  // 100 frames of 70 ms = 7 s
        pf_start_ticks(count_tick, 1000);
        pf_rest(70);
    }
    EXPECT_EQ(ticks, 7);
}

// The press latch behind every key the game answers: fresh presses in order, never a repeat of
// a key still down, each taken once; other keys' presses wait for their reader.
TEST(InputLatch, FreshPressesInOrderEachTakenOnce)
{
    pf_reset_input();
    const int arrows[] = {KEY_LEFT, KEY_RIGHT};
    const int enter = KEY_ENTER;
    pf_post_key(KEY_LEFT, true, 10);
    pf_post_key(KEY_LEFT, true, 40);  // the keyboard's repeat
    pf_post_key(KEY_ENTER, true, 50);
    pf_post_key(KEY_LEFT, false, 60);
    pf_post_key(KEY_RIGHT, true, 70);
    pf_post_key(KEY_RIGHT, false, 75);
    pf_post_key(KEY_LEFT, true, 80);  // down again after its release: a press
    KeyPress press;
    std::vector<std::pair<int, long>> taken;
    EXPECT_TRUE(pf_press_latched(&enter, 1));
    while (pf_take_press(arrows, 2, press))
        taken.push_back({press.scancode, press.at_ms});
    EXPECT_EQ(taken, (std::vector<std::pair<int, long>>{
                         {KEY_LEFT, 10}, {KEY_RIGHT, 70}, {KEY_LEFT, 80}}));
    ASSERT_TRUE(pf_take_press(nullptr, 0, press)) << "Return waited for its reader";
    EXPECT_EQ(press.scancode, KEY_ENTER);
    EXPECT_FALSE(pf_take_press(nullptr, 0, press));

    // Past the ring's room the oldest presses go; a drop empties it.
    for (int i = 0; i < 40; i++) {
        pf_post_key(KEY_A, true, 100 + i);
        pf_post_key(KEY_A, false, 100 + i);
    }
    ASSERT_TRUE(pf_take_press(nullptr, 0, press));
    EXPECT_EQ(press.at_ms, 108) << "32 kept, the newest";
    pf_drop_input();
    EXPECT_FALSE(pf_press_latched(nullptr, 0));

    // A click too short for a look at the buttons is seen once.
    pf_post_click({7, 9});
    PointerAt at{};
    EXPECT_TRUE(pf_take_click(at));
    EXPECT_EQ(at, (PointerAt{7, 9}));
    EXPECT_FALSE(pf_take_click(at));
}

static int closes_seen;
static void count_close() { closes_seen++; }

// The one queue the latches read: the window's keys and lone modifiers never become presses,
// presses and clicks go together, the close request and the focus come out once, in order.
TEST(InputLatch, TheQueueKeepsTheWindowsKeysAndModifiersOutAndDropsPressesWithClicks)
{
    pf_reset_input();
    const struct {
        int scancode, shifts;
    } never_pressed[] = {
        {KEY_F11, 0},           {KEY_ENTER, KB_ALT_FLAG},  {KEY_ENTER_PAD, KB_ALT_FLAG},
        {KEY_EQUALS, KB_CTRL_FLAG}, {KEY_MINUS_PAD, KB_CTRL_FLAG}, {KEY_LSHIFT, 0},
        {KEY_LCONTROL, KB_CTRL_FLAG}, {KEY_ALT, KB_ALT_FLAG},
    };
    for (const auto &tried : never_pressed) {
        pf_post_key(tried.scancode, true, 5, tried.shifts);
        pf_post_key(tried.scancode, false, 6, tried.shifts);
        EXPECT_FALSE(pf_press_latched(nullptr, 0)) << "scancode " << tried.scancode;
    }
    pf_post_key(KEY_MINUS, true, 7);  // without Ctrl it is the game's
    EXPECT_TRUE(pf_press_latched(nullptr, 0));

    pf_post_click({1, 2});
    pf_drop_input();
    PointerAt at{};
    EXPECT_FALSE(pf_take_click(at)) << "a click outlived the drop of the presses";

    closes_seen = 0;
    pf_set_close_handler(count_close);
    pf_post_focus(false);
    pf_post_close();
    pf_post_focus(true);
    EXPECT_EQ(closes_seen, 0) << "nothing is read before the main thread pumps";
    EXPECT_TRUE(pf_take_focus_loss());
    EXPECT_EQ(closes_seen, 1);
    EXPECT_TRUE(pf_window_focused());
    EXPECT_FALSE(pf_take_focus_loss());
    pf_set_close_handler(nullptr);
}
