// The level loop: one pass per level start, frames until a flag ends the pass; and the area
// tunes started as play enters an area.
#include "play/level_loop.h"

#include "level/cell_catalogue.h"
#include "level/game_resources.h"
#include "platform/sound.h"
#include "play/level_end.h"
#include "play/play_frame.h"
#include "play/play_pause.h"
#include "play/playfield_render.h"

namespace {

// What ended a pass of the level loop.
enum class PassEnd { restart, closed, lost, completed };

// Frames until a flag ends the pass, and every end of a level run here: the won level when
// a frame reports all nuggets delivered, a lost life and the game over from the flags the
// frames set. The flags are tested in a fixed order at the head of every frame: a close
// request first, so that it wins over anything else pending.
PassEnd run_level_pass(FrameInput &input)
{
    GameState &state = game_state;
    for (;;) {
        if (state.close_requested)
            return PassEnd::closed;
        if (state.life_lost) {
            input.escape_spent |= lose_life();
            return PassEnd::restart;
        }
        if (state.out_of_lives) {
            game_over();
            // A close during the game-over message belongs to this game, not to the menu.
            return state.close_requested ? PassEnd::closed : PassEnd::lost;
        }
        if (state.completed)
            return PassEnd::completed;  // the screen flow shows the victory board
        if (pause_if_asked(input))
            continue;  // back to the head: a close during the pause ends the game
        if (play_frame(input).end == FrameEnd::all_delivered) {
            input.escape_spent |= finish_won_level();
            return PassEnd::restart;  // the next level, or completed at the next head
        }
    }
}

}  // namespace

MIDI *start_area_music()
{
    int level = game_state.level;
    if (!starts_area(level))
        return nullptr;
    int area = area_of_level(level);
    // Only levels 1..20 have a tune; a level past them keeps its area as it is.
    if (area > AREA_COUNT)
        return nullptr;
    game_state.area = area;
    MIDI *tune = area_music[area - 1];
    // An area whose tune did not load plays none: the last area's tune must not go on in it.
    if (tune)
        pf_play_tune(tune, 1);
    else
        pf_stop_tune();
    return tune;
}

GameOutcome level_loop()
{
    // Each level start, restart after a lost life, or next level is a fresh pass of this
    // loop: nothing of the finished pass stays pending on the stack. The frame input lasts the
    // whole game.
    FrameInput input;
    for (;;) {
        draw_tile_layer();
        draw_object_layer();  // nothing is shown before the pass's first frame
        if (game_state.music_on)
            start_area_music();
        start_walking_afresh(input);
        input.ticked = 0;  // a level started afresh ticks its last seconds again
        switch (run_level_pass(input)) {
        case PassEnd::restart: break;
        case PassEnd::closed: return GameOutcome::closed;
        case PassEnd::lost: return GameOutcome::lost;
        case PassEnd::completed: return GameOutcome::completed;
        }
    }
}
