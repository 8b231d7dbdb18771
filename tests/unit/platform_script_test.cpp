// The scripted clock must fire the one-second handler like the library does: re-arming with the
// same period keeps the phase, so a fast frame loop still counts one tick a second.
#include "script_platform.h"

#include <gtest/gtest.h>

static int ticks;
static void count_tick() { ticks++; }

TEST(ScriptPlatform, RearmingKeepsTheTickPhase)
{
    script_reset(nullptr);
    ticks = 0;
    for (int frame = 0; frame < 100; frame++) {  // 100 frames of 70 ms = 7 s
        pf_install_int_ex(count_tick, SECS_TO_TIMER(1));
        pf_rest(70);
    }
    EXPECT_EQ(ticks, 7);
}
