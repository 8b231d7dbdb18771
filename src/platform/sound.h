// The seam: sound. Starting it, and playing and stopping the tunes and samples the game loaded
// with plain Allegro.
#pragma once

#include <allegro.h>

// Where the build puts the MIDI instrument list (relative to the game folder). Its patch
// paths are relative to its own folder.
constexpr const char *MIDI_PATCH_LIST = "sons/patches/default.cfg";

// Call after pf_start_library and before pf_start_sound. When the patch list `list` exists,
// tells the library's MIDI player to use it (in the configuration in memory: nothing is
// written) and returns true; otherwise changes nothing and returns false (the tunes then stay
// silent and the game goes on).
bool pf_use_instruments(const char *list);

// Starts sound, tunes and samples both: 0, or a negative failure.
int pf_start_sound();

// Plays a tune (looped when loop is 1). A NULL tune plays nothing.
void pf_play_tune(MIDI *tune, int loop);

// Stops the tune playing, if any.
void pf_stop_tune();

// Pauses the tune playing where it is (true), or resumes it from there (false). With no tune
// playing nothing happens.
void pf_pause_tune(bool paused);

// Stops and frees a tune; NULL does nothing.
void pf_free_tune(MIDI *tune);

// Stops and frees a sample; NULL does nothing.
void pf_free_sample(SAMPLE *sample);

// Plays a sample at volume 0..255, pan 0 (left)..255 (right), frequency 1000 = own pitch.
// A NULL sample plays nothing.
void pf_play_sample(SAMPLE *sample, int volume, int pan, int frequency, int loop);
