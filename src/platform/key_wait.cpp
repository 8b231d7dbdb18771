// Pauses that a key can end, on the library's clock.
#include "platform/input_latch.h"
#include "platform/platform.h"

#include <allegro.h>

#include <algorithm>

int pf_rest_until_press(int ms, int shortest_ms, const int *scancodes, int count,
                         const std::atomic<bool> &stop)
{
    const long start = pf_clock_ms();
    bool dropped = false;
    KeyPress press;
    for (;;) {
        long gone = pf_clock_ms() - start;
        if (stop || gone >= ms)
            return 0;
        if (gone >= shortest_ms) {
            if (!dropped)
                pf_drop_input();  // struck too early, or before the pause
            dropped = true;
            if (pf_take_press(scancodes, count, press))
                return press.scancode;
        }
        // Slices short enough that a press ends the pause at once, to the eye.
        pf_rest((int)std::min<long>(10, ms - gone));
    }
}
