// The pictures and tunes a game draws and plays, loaded at every game start.
#pragma once

#include <allegro.h>

extern BITMAP *back_buffer;         // 512 x 384 off-screen playfield
extern BITMAP *tile_bitmaps[26];    // 'A'..'Z'
extern BITMAP *object_bitmaps[8];   // '1'..'8'
extern MIDI *area_music[5];         // areas 1..5

// The bitmap of tile letter 'A'..'Z' or object digit '1'..'8'.
inline BITMAP *tile_bitmap(char letter) { return tile_bitmaps[letter - 'A']; }
inline BITMAP *object_bitmap(char digit) { return object_bitmaps[digit - '1']; }

// Creates the back buffer and loads the 26 tiles, 8 objects and 5 area tunes, replacing (and
// freeing) those of an earlier game. Always 0.
int load_game_resources();
