// Pauses that a key can end: one implementation for the game and the scripted twin, on the
// seam's clock, input wait and present.
#include "platform/input.h"
#include "platform/timing.h"
#include "platform/window.h"

#include <algorithm>

int pf_rest_until_press(int ms, int shortest_ms, const int *scancodes, int count,
                         const std::atomic<bool> &stop)
{
    const long start = pf_clock_ms();
    bool dropped = false;
    KeyPress press;
    for (;;) {
        pf_present();
        const long gone = pf_clock_ms() - start;
        if (stop || gone >= ms)
            return 0;
        if (gone >= shortest_ms) {
            if (!dropped)
                pf_drop_input();  // struck too early, or before the pause
            dropped = true;
            if (pf_take_press(scancodes, count, press))
                return press.scancode;
        }
        // Keys struck before the shortest time cannot end it; after, any input may.
        if (gone < shortest_ms)
            pf_rest_unless((int)(shortest_ms - gone), stop);
        else
            pf_wait_input((int)std::min<long>(ms - gone, UNTIL_PRESS));
    }
}
