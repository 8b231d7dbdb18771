// Points Allegro's MIDI player at the patch set the build laid beside the tunes.
#pragma once

// Where the build puts the instrument list (relative to the game folder). Its patch paths are
// relative to its own folder.
constexpr const char *MIDI_PATCH_LIST = "sons/patches/default.cfg";

// Call after start_library and before install_sound. When the patch list exists, tells the
// library's MIDI player to use it and returns true; otherwise changes nothing and returns false
// (the tunes then stay silent and the game goes on).
bool configure_midi_patches();
