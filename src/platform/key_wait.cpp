// The waiting step and the pauses that a key ends: one implementation for the game and the
// scripted twin, on the seam's clock, present and sleeps.
#include "platform/input.h"
#include "platform/input_queue.h"
#include "platform/timing.h"
#include "platform/window.h"

#include <algorithm>

void pf_wait_step(int ms)
{
    pf_present();
    if (ms == IDLE_STEP)
        pf_idle();
    else if (ms > 0)
        pf_wait_input(ms);
}

int pf_rest_until_press(int ms, int shortest_ms, const int *scancodes, int count,
                        const std::atomic<bool> &stop)
{
    const long start = pf_clock_ms();
    bool dropped = false;
    KeyPress press;
    for (long gone = 0; !stop && gone < ms; gone = pf_clock_ms() - start) {
        if (gone < shortest_ms) {
            // Keys struck before the shortest time cannot end it.
            pf_wait_step(0);
            pf_rest_unless((int)(shortest_ms - gone), stop);
            continue;
        }
        if (!dropped)
            pf_drop_input();  // struck too early, or before the pause
        dropped = true;
        if (pf_take_press(scancodes, count, press))
            return press.scancode;
        pf_wait_step((int)std::min<long>(ms - gone, UNTIL_PRESS));
    }
    return 0;
}
