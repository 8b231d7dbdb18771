// The floor of the window figures: the least program that starts and waits as the game does.
// Through the game's own platform seam it starts the library, installs sound with the game's
// patch list, opens the 512 x 384 window at depth 16 and the timer, keyboard and mouse; it
// fills the window with the menu words' colour, answers a hover over the "Iniciar" box and
// otherwise rests as the game's waiting screens rest, until its window is closed.
#include "platform/input.h"
#include "platform/process.h"
#include "platform/sound.h"
#include "platform/timing.h"
#include "platform/window.h"

#include <atomic>

namespace {

std::atomic<bool> close_requested{false};
void on_close() { close_requested = true; }

bool pointer_in_box()
{
    const PointerAt p = pf_pointer();
    return p.x > 90 && p.y > 180 && p.x < 210 && p.y < 220;
}

}  // namespace

int main()
{
    if (pf_start_library() != 0)
        return 1;
    pf_set_color_depth(16);
    // As the game: no patch list or no sound leaves it silent, and it goes on.
    pf_use_instruments(BENCH_PATCH_LIST);
    pf_start_sound();
    if (pf_open_window() != 0)
        return 1;
    pf_set_window_title("Pitlorex vazio");
    pf_start_input();
    pf_set_close_handler(on_close);
    const int normal = makecol(235, 235, 235), hover = makecol(255, 255, 41);
    clear_to_color(pf_screen(), normal);
    bool lit = false;
    // As the game's waiting screens: each step shows the picture, then sleeps until input.
    while (!close_requested) {
        pf_wait_step(IDLE_STEP);
        bool in = pointer_in_box();
        if (in != lit) {
            lit = in;
            rectfill(pf_screen(), 91, 181, 209, 219, lit ? hover : normal);
        }
    }
    return 0;
}
END_OF_MAIN()
