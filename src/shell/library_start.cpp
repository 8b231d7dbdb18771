// Allegro's start without a settings file and without its signal handlers.
#include "shell/library_start.h"

#include <allegro.h>

#include <csignal>
#include <cstring>

namespace {

constexpr int ENDING_SIGNALS[] = {SIGTERM, SIGINT, SIGHUP};

}  // namespace

int start_library()
{
    struct sigaction before[3];
    for (int i = 0; i < 3; i++)
        sigaction(ENDING_SIGNALS[i], nullptr, &before[i]);
    // The library searches for allegro.cfg (game folder, ~/.allegrorc, /etc) when it starts
    // and writes the file it found back at exit if anything was set. A file named beforehand
    // replaces that search; it must have a name, since the library reloads it by name while
    // it starts, and /dev/null reads empty and swallows any write.
    set_config_file("/dev/null");
    int result = allegro_init();
    // From here on a nameless configuration in memory: nothing can be written even by mistake.
    set_config_data("", 0);
    // A window's game has nothing to restore on its way out: the X server drops the window and
    // the kernel closes the sound device. Ending at once, by the signal itself, is what the
    // shell and a desktop session expect; a box still open dies with the game (see the box).
    for (int i = 0; i < 3; i++)
        sigaction(ENDING_SIGNALS[i], &before[i], nullptr);
    return result;
}

void set_library_settings(const char *text)
{
    override_config_data(text, (int)std::strlen(text));
}
