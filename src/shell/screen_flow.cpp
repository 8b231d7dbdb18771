// The screen flow: the main-menu loop and the screens each menu choice leads to.
#include "platform/platform.h"
#include "shell/shell.h"
#include "level/level_file.h"
#include "play/game_start.h"
#include "play/game_state.h"
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

// Coming back to the menu from a board or a game: its flag cleared first and then its own
// close handler in force again, so that no request can fall between the two. Done before the
// title is drawn again, so that a close pressed meanwhile reaches the menu.
static void enter_menu()
{
    menu_close_requested = false;
    install_menu_close_handler();
}

// A close pressed on a board or in a game just before the menu's handler took over set that
// screen's flag, which nobody reads any more: it still ends the flow. (Those flags are never
// cleared, and only a close request sets them.)
static bool close_left_behind()
{
    return help_close_requested || options_close_requested || game_state.close_requested;
}

// "Iniciar": every level pair must open before anything of a game is loaded.
static bool start_chosen_game()
{
    if (check_level_files() == 1) {
        show_error_box(ERRO_03_CAPTION, ERRO_03_TEXT);
        shutdown_system(1);
    }
    pf_show_mouse(nullptr);
    if (start_game(game_settings) == GameOutcome::closed)
        return true;
    enter_menu();  // game over drew the title under the game's handler
    return close_left_behind();
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
                return;  // the window was closed during the game or its game-over message
            break;       // game over: the title screen is showing again
        case MENU_HELP:
            show_help_board();
            enter_menu();
            title_screen();
            break;
        case MENU_OPTIONS:
            game_settings = run_options_board();
            enter_menu();
            title_screen();
            break;
        case MENU_QUIT:
            shutdown_system(0);
        default:
            continue;  // no click: poll again (the poll rested if nothing changed)
        }
        if (close_left_behind())
            return;
    }
}
