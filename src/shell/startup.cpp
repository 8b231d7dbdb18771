// Start-up: the library, the font engine, sound, the window, input and the pointer, then the
// title with its tune and sound, and the screen flow.
#include "shell/startup.h"

#include "font/alfont.h"
#include "platform/platform.h"
#include "play/game_state.h"
#include "shell/error_texts.h"
#include "shell/library_start.h"
#include "shell/midi_patches.h"
#include "shell/shell.h"
#include "ui/main_menu.h"

#include <cstdio>

SAMPLE *startup_sample = nullptr;
MIDI *title_music = nullptr;
BITMAP *cursor_bitmap = nullptr;

namespace {

constexpr const char *STARTUP_SOUND = "sons/pitlorex.wav";
constexpr const char *TITLE_TUNE = "sons/inicio.mid";
constexpr const char *CURSOR_IMAGE = "imagens/cursor.bmp";

int library_init() { return start_library(); }
void library_color_depth(int depth) { set_color_depth(depth); }
void library_midi_patches() { configure_midi_patches(); }
int library_sound() { return install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr); }
int library_window()
{
    return set_gfx_mode(GFX_AUTODETECT_WINDOWED, WINDOW_WIDTH, WINDOW_HEIGHT, 0, 0);
}
void library_title(const char *title) { set_window_title(title); }
void library_input()
{
    install_timer();
    install_keyboard();
    install_mouse();
}
BITMAP *library_cursor() { return load_bitmap(CURSOR_IMAGE, nullptr); }
void library_mouse_sprite(BITMAP *sprite) { set_mouse_sprite(sprite); }

// The title tune once and the start-up sound left of centre, together. Neither is ever started
// again.
void play_title_sounds()
{
    title_music = load_midi(TITLE_TUNE);
    pf_play_midi(title_music, 0);
    pf_play_sample(startup_sample, 255, 50, 1000, 0);
}

}  // namespace

const StartupCalls library_startup = {
    library_init,   library_color_depth, alfont_init,    library_midi_patches,
    library_sound,  library_window,      library_title,  library_input,
    library_cursor, library_mouse_sprite,
};

int init_system() { return init_system(library_startup); }

int init_system(const StartupCalls &calls)
{
    // The library fails to start when there is no display to reach, and going on then crashes
    // it inside install_timer or install_sound; there is no box to show the error in either.
    if (calls.init_library() != 0) {
        fprintf(stderr, "%s\n%s\n", ERRO_01_CAPTION, ERRO_01_TEXT);
        shutdown_system(1);
    }
    // Loaded here rather than before main: this library crashes in load_sample until
    // allegro_init has run. A missing file leaves it NULL, and nothing plays.
    startup_sample = load_sample(STARTUP_SOUND);
    calls.set_color_depth(16);
    if (calls.font_engine_init() == 1) {
        show_error_box(ERRO_02_CAPTION, ERRO_02_TEXT);
        shutdown_system(1);
    }
    calls.configure_midi_patches();
    if (calls.install_sound() != 0)
        show_error_box(ERRO_04_CAPTION, ERRO_04_TEXT);
    if (calls.set_window_mode() != 0) {
        show_error_box(ERRO_01_CAPTION, ERRO_01_TEXT);
        shutdown_system(1);
    }
    calls.set_window_title("Pitlorex");
    calls.install_input();
    cursor_bitmap = calls.load_cursor();
    calls.set_mouse_sprite(cursor_bitmap);
    pf_show_mouse(pf_screen());
    install_menu_close_handler();
    return 0;
}

int pitlorex_main() { return pitlorex_main(library_startup); }

int pitlorex_main(const StartupCalls &calls)
{
    init_system(calls);
    title_screen();
    if (game_settings.sound)
        play_title_sounds();
    main_menu();
    pf_allegro_exit();
    return 0;
}
