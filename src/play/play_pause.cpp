// The pause of play: the countdown and the tune held, "PAUSA" shown, and the way back.
#include "play/play_pause.h"

#include "platform/input.h"
#include "platform/sound.h"
#include "platform/timing.h"
#include "platform/window.h"
#include "play/game_state.h"
#include "play/level_end.h"
#include "play/play_frame.h"
#include "play/playfield_render.h"

namespace {

constexpr int PAUSE_KEY = KEY_P;
// The keys that end the pause; an arrow or a click never does, so the one that brings the
// window back is not taken for a wish to play on.
constexpr int RESUME_KEYS[] = {KEY_P, KEY_ENTER, KEY_ENTER_PAD, KEY_SPACE};
constexpr int RESUME_KEY_COUNT = 4;
// How long a look at the window waits while it has not got the focus (the game then has
// nothing to do but notice the player's return).
constexpr int AWAY_LOOK_MS = 100;

bool asked_to_pause()
{
    // Both looks are taken: a loss and a P pressed in the same frame make one pause.
    const bool lost = pf_take_focus_loss();
    KeyPress press;
    const bool pressed = pf_take_press(&PAUSE_KEY, 1, press);
    return lost || pressed || !pf_window_focused();
}

// Waits for a resume key struck while the window has the focus; answers the close button at
// once. Keys that reached the window while it was away do not count.
void wait_for_resume()
{
    pf_drop_input();  // a Return struck with the P, or before the focus went, ends nothing
    KeyPress press;
    while (!game_state.close_requested) {
        if (!pf_window_focused()) {
            pf_drop_input();
            pf_wait_step(AWAY_LOOK_MS);
            continue;
        }
        if (pf_take_press(RESUME_KEYS, RESUME_KEY_COUNT, press))
            return;
        pf_wait_step(UNTIL_PRESS);
    }
}

}  // namespace

bool pause_if_asked(FrameInput &input)
{
    if (!asked_to_pause())
        return false;
    pf_hold_ticks(true);
    pf_pause_tune(true);
    // The level as it stands: at a level's start the screen still holds the last message.
    draw_status_line();
    present_frame();
    // The picture under the word comes back as it was: nothing of the level moved meanwhile.
    BITMAP *target = pf_screen();
    BITMAP *before = target ? create_bitmap(target->w, target->h) : nullptr;
    if (before)
        blit(target, before, 0, 0, 0, 0, target->w, target->h);
    draw_play_text(PAUSE_TEXT, MESSAGE_X, MESSAGE_Y, MESSAGE_COLOUR);
    wait_for_resume();
    if (before) {
        blit(before, target, 0, 0, 0, 0, target->w, target->h);
        destroy_bitmap(before);
    }
    pf_take_focus_loss();  // a loss during the pause was this pause's
    pf_hold_ticks(false);
    // Closed meanwhile, the game ends at the level loop's head: no tune for that moment.
    if (!game_state.close_requested)
        pf_pause_tune(false);
    start_walking_afresh(input);  // drops the presses made meanwhile, the arrows' included
    input.escape_spent = true;
    return true;
}
