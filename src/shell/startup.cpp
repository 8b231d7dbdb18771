// Start-up and shut-down: the library, the font engine, sound, the window, input and the
// pointer; the error boxes; and shutdown_system, the way out after "Sair" and after an error
// box. The process also ends at three other places: when main returns after the window was
// closed in the menu or a game, on a board's close button (board.cpp) and on the victory
// board's OK.
#include "font/alfont.h"
#include "level/picture_header.h"
#include "platform/input.h"
#include "platform/process.h"
#include "platform/sound.h"
#include "platform/window.h"
#include "shell/error_texts.h"
#include "shell/shell.h"
#include "ui/main_menu.h"

#include <cstdio>

SAMPLE *startup_sample = nullptr;
MIDI *title_music = nullptr;

namespace {

constexpr const char *STARTUP_SOUND = "sons/pitlorex.wav";
constexpr const char *CURSOR_IMAGE = "imagens/cursor.bmp";
constexpr int LARGEST_POINTER = 64;  // width and height, in pixels

}  // namespace

void show_error_box(const char *caption, const char *text)
{
    fprintf(stderr, "%s\n%s\n", caption, text);
    pf_message_box(caption, text);
}

std::string missing_resource_text(const std::string &name)
{
    return "Nao foi possivel carregar: " + name + " \n Para mais informacoes, consulte a Ajuda.";
}

void end_with_missing_resource(const std::string &name)
{
    show_error_box(ERRO_05_CAPTION, missing_resource_text(name).c_str());
    shutdown_system(1);  // the way out of start-up's own failures: the sounds and fonts go too
}

namespace {

// The window lost after a change of scale or fullscreen is the same failure as no window at all.
void end_without_window()
{
    show_error_box(ERRO_01_CAPTION, ERRO_01_TEXT);
    shutdown_system(1);
}

}  // namespace

int init_system()
{
    // The library fails to start when there is no display to reach, and going on then crashes
    // it inside install_timer or install_sound; there is no box to show the error in either.
    if (pf_start_library() != 0) {
        fprintf(stderr, "%s\n%s\n", ERRO_01_CAPTION, ERRO_01_TEXT);
        shutdown_system(1);
    }
    // Loaded here rather than before main: this library crashes in load_sample until
    // allegro_init has run. A missing file leaves it NULL, and nothing plays.
    startup_sample = load_sample(STARTUP_SOUND);
    pf_set_color_depth(16);
    if (pf_start_font_engine() == 1) {
        show_error_box(ERRO_02_CAPTION, ERRO_02_TEXT);
        shutdown_system(1);
    }
    pf_use_instruments(MIDI_PATCH_LIST);
    if (pf_start_sound() != 0)
        show_error_box(ERRO_04_CAPTION, ERRO_04_TEXT);
    if (pf_open_window() != 0) {
        show_error_box(ERRO_01_CAPTION, ERRO_01_TEXT);
        shutdown_system(1);
    }
    pf_set_window_failure_handler(end_without_window);
    pf_set_window_title("Pitlorex");
    pf_start_input();
    // A damaged picture leaves the library's own arrow, as a missing one does. The pointer's
    // picture stays the mouse sprite until the process ends, so it is never freed.
    if (bmp_fits(CURSOR_IMAGE, LARGEST_POINTER, LARGEST_POINTER))
        pf_load_pointer(CURSOR_IMAGE);
    pf_show_pointer(pf_screen());
    install_menu_close_handler();
    return 0;
}

void shutdown_system(int status)
{
    // Each step checks what exists, so any point of start-up may end here.
    pf_free_sample(startup_sample);
    startup_sample = nullptr;
    pf_free_tune(title_music);
    title_music = nullptr;
    pf_drop_typed_keys();
    // The menu font dies with the engine; the title screen lets go of it first.
    release_title_screen();
    alfont_exit();
    pf_end_process(status);
}
