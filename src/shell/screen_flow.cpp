// The screen flow: the main-menu loop and the screens each menu choice leads to.
#include "platform/platform.h"
#include "shell/shell.h"
#include "level/level_file.h"
#include "play/game_start.h"
#include "shell/error_texts.h"
#include "ui/help_board.h"
#include "ui/main_menu.h"
#include "ui/options_board.h"

std::atomic<bool> menu_close_requested{false};

namespace {

// Runs on the library's thread: only raises the flag that the menu loop polls.
void request_menu_close() { menu_close_requested = true; }

}  // namespace

void install_menu_close_handler() { pf_set_close_button_callback(request_menu_close); }

// Coming back to the menu from a board or a game: its own close handler in force again and its
// flag cleared first, so that no request can fall between the two. The title screen is showing.
static void enter_menu()
{
    menu_close_requested = false;
    install_menu_close_handler();
}

// "Iniciar": every level pair must open before anything of a game is loaded.
static bool start_chosen_game()
{
    if (check_level_files() == 1) {
        show_error_box(ERRO_03_CAPTION, ERRO_03_TEXT);
        shutdown_system(1);
    }
    pf_show_mouse(nullptr);
    return start_game(game_settings) == GameOutcome::closed;
}

void main_menu()
{
    // One loop over the screens: each choice runs its screen to the end and comes back here,
    // so no screen is ever started from inside another and nothing is left pending.
    // The menu's handler has been in force since start-up; its flag is not cleared here, so a
    // close pressed while the title and its tune were coming up still ends the game.
    install_menu_close_handler();
    for (;;) {
        if (menu_close_requested)
            return;
        switch (poll_main_menu()) {
        case MENU_START:
            if (start_chosen_game())
                return;  // the window was closed during the game
            break;       // game over: the title screen is showing again
        case MENU_HELP:
            show_help_board();
            title_screen();
            break;
        case MENU_OPTIONS:
            game_settings = run_options_board();
            title_screen();
            break;
        case MENU_QUIT:
            shutdown_system(0);
        default:
            continue;  // no click: poll again at once
        }
        enter_menu();  // back from a board or a game over, over a fresh title screen
    }
}
