// Starting the area tunes.
#include "play/area_music.h"

#include "level/game_resources.h"
#include "platform/platform.h"
#include "play/game_state.h"

MIDI *start_area_music()
{
    int level = game_state.level;
    if (level < 1 || (level - 1) % 4 != 0)
        return nullptr;
    int area = (level - 1) / 4 + 1;
    // Only levels 1..20 have a tune; a level past them keeps its area as it is.
    if (area > 5)
        return nullptr;
    game_state.area = area;
    MIDI *tune = area_music[area - 1];
    // An area whose tune did not load plays none: the last area's tune must not go on in it.
    if (tune)
        pf_play_midi(tune, 1);
    else
        pf_stop_midi();
    return tune;
}
