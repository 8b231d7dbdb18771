// The pictures, tunes and sound a game draws and plays, loaded at every game start.
#pragma once

#include <allegro.h>

#include <string>

extern BITMAP *back_buffer;         // 512 x 384 off-screen playfield
extern BITMAP *tile_bitmaps[26];    // 'A'..'Z'
extern BITMAP *object_bitmaps[8];   // '1'..'8'
extern MIDI *area_music[5];         // areas 1..5; NULL when a tune did not load
extern SAMPLE *tick_sample;         // the tick of a level's last seconds; NULL when not loaded

// The bitmap of tile letter 'A'..'Z' or object digit '1'..'8'.
inline BITMAP *tile_bitmap(char letter) { return tile_bitmaps[letter - 'A']; }
inline BITMAP *object_bitmap(char digit) { return object_bitmaps[digit - '1']; }

// Loads a set from the folder `dir` ("" is the working directory): a fresh back buffer, the
// tiles 'A'..'Z' ("tiles/tA.bmp" ...), the objects '1'..'8' ("objetos/o1.bmp" ...), the
// tunes of areas 1..5 ("sons/area1.mid" ...) and the tick ("sons/tique.wav"). When every
// picture loaded, the new set replaces the current one, which is freed, and the result is "".
// Otherwise the current set stays as it was, whatever was loaded is freed, and the result
// names the first picture that did not load as the game names it ("tiles/tK.bmp"). A tune or
// the tick that does not load is left NULL: the game plays on without it.
std::string try_load_game_resources(const std::string &dir);

// The game's form, from the working directory: "" when the set is complete, else the name of
// the first picture that did not load (the screen flow then ends the game with the Erro 05
// box, so that a missing picture is never drawn).
std::string load_game_resources();

// Stops and frees the area tunes and sets them to NULL. The game-over sequence calls this
// rather than destroying them itself, so that nothing is freed twice. Harmless when repeated.
void release_area_music();

// Frees the back buffer, the pictures, the tunes and the tick and sets every pointer to NULL.
void release_game_resources();
