// The MIDI patch set: freepats, linked into the game folder by the build.
#include "shell/midi_patches.h"

#include "shell/library_start.h"

#include <climits>
#include <cstdlib>
#include <string>
#include <unistd.h>

bool configure_midi_patches()
{
    // The library reads the list when sound is installed; an absolute path keeps it valid
    // whatever the library does with its own directory.
    char path[PATH_MAX];
    if (access(MIDI_PATCH_LIST, R_OK) != 0 || !realpath(MIDI_PATCH_LIST, path))
        return false;
    // In memory only: set_config_string would have the library save it at exit.
    set_library_settings(("[sound]\npatches = " + std::string(path) + "\n").c_str());
    return true;
}
