// The background tune of each area, started as play enters the area's first level.
#pragma once

#include <allegro.h>

// At the first level of an area (level 1, 5, 9, 13 or 17): sets game_state.area from the
// level and starts that area's tune looped, replacing the one playing. At any other level
// nothing happens and the tune already playing goes on. When the area's tune did not load,
// the tune playing is stopped and the area stays silent. Returns the tune started, NULL when
// none was (or the area's tune did not load).
MIDI *start_area_music();
