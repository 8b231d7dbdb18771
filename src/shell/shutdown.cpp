// The one orderly way out of the process.
#include "font/alfont.h"
#include "platform/platform.h"
#include "shell/shell.h"
#include "ui/main_menu.h"

void shutdown_system(int status)
{
    // Each step checks what exists, so any point of start-up may end here.
    if (startup_sample) {
        destroy_sample(startup_sample);
        startup_sample = nullptr;
    }
    if (title_music) {
        pf_destroy_midi(title_music);
        title_music = nullptr;
    }
    pf_clear_keybuf();
    // The menu font dies with the engine; the title screen lets go of it first.
    release_title_screen();
    alfont_exit();
    pf_exit(status);
}
