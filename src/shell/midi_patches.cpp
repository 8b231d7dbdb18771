// The MIDI patch set: freepats, linked into the game folder by the build.
#include "shell/midi_patches.h"

#include <allegro.h>

#include <climits>
#include <cstdlib>
#include <unistd.h>

bool configure_midi_patches()
{
    // The library reads the list when sound is installed; an absolute path keeps it valid
    // whatever the library does with its own directory.
    char path[PATH_MAX];
    if (access(MIDI_PATCH_LIST, R_OK) != 0 || !realpath(MIDI_PATCH_LIST, path))
        return false;
    set_config_string("sound", "patches", path);
    return true;
}
