// A short real game: "Iniciar" on tiny levels, one push into the basket, the level won.
#include "game_support.h"

#include <gtest/gtest.h>

TEST(GamePlay, OnePushIntoTheBasketWinsTheLevel)
{
    E2eSession s(GAME_DIR);
    ASSERT_TRUE(start_tiny_game(s)) << e2e_program_output(s);
    RgbImage before = e2e_grab_window(s);
    e2e_focus(s);
    e2e_key_down(s, XK_Right);
    bool won = e2e_wait_for(
        [&] { return pixels_changed(before, e2e_grab_window(s), MESSAGE_AREA) > 200; }, 5000);
    e2e_key_up(s, XK_Right);
    ASSERT_TRUE(won) << "no message at the top right";
    RgbImage after = e2e_grab_window(s);
    // The miner stands where the nugget was; the nugget is gone into the basket.
    PixelBox miner_start{160, 192, 175, 207}, nugget_start{176, 192, 191, 207};
    EXPECT_GT(pixels_changed(before, after, miner_start), 20);
    EXPECT_GT(pixels_changed(before, after, nugget_start), 20);
    int misfit = 0;
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++)
            if (!rgb_near(before.at(160 + x, 192 + y), after.at(176 + x, 192 + y)))
                misfit++;
    EXPECT_EQ(misfit, 0) << "the miner's picture did not move one cell right";

    e2e_request_close(s);  // during the message's pause: acted on when it is over
    EXPECT_EQ(e2e_wait_exit(s, 10000), 0);
}

