// The whole program's flow: start-up, the title with its tune and sound, the main-menu loop and
// the screens each menu choice leads to, the end of a game included.
#include "level/level_file.h"
#include "platform/process.h"
#include "platform/sound.h"
#include "platform/window.h"
#include "play/game_start.h"
#include "play/game_state.h"
#include "shell/error_texts.h"
#include "shell/shell.h"
#include "ui/help_board.h"
#include "ui/main_menu.h"
#include "ui/options_board.h"
#include "ui/victory_board.h"

namespace {

constexpr const char *TITLE_TUNE = "sons/inicio.mid";

// The title tune once and the start-up sound left of centre, together. Neither is ever started
// again.
void play_title_sounds()
{
    title_music = load_midi(TITLE_TUNE);
    pf_play_tune(title_music, 0);
    pf_play_sample(startup_sample, 255, 50, 1000, 0);
}

}  // namespace

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

GameOutcome show_game_end(const GameResult &game)
{
    switch (game.outcome) {
    case GameOutcome::resources_missing:
        end_with_missing_resource(game.missing_resource);
    case GameOutcome::completed:
        show_victory_board();  // ends the process
    case GameOutcome::closed:
        // Also a close during the game-over message: the request was made to this game, and
        // the menu would not see it. No title is drawn.
        break;
    case GameOutcome::lost:
        pf_show_pointer(pf_screen());
        title_screen();  // under the game's close handler, as the game-over message was
        break;
    }
    return game.outcome;
}

// "Iniciar": every level pair must open before anything of a game is loaded.
static bool start_chosen_game()
{
    if (check_level_files() == 1) {
        show_error_box(ERRO_03_CAPTION, ERRO_03_TEXT);
        shutdown_system(1);
    }
    pf_show_pointer(nullptr);
    if (show_game_end(start_game(game_settings)) == GameOutcome::closed)
        return true;
    enter_menu();  // game over: the title was drawn under the game's handler, as always
    return close_left_behind();
}

void main_menu()
{
    // One loop over the screens: each choice runs its screen to the end and comes back here,
    // so no screen is ever started from inside another and nothing is left pending.
    // The menu's handler has been in force since start-up; its flag is not cleared here, so a
    // close pressed while the title and its tune were coming up still ends the game.
    install_menu_close_handler();
    KeyLight light;  // the word the keys lit, kept while a board shows
    for (;;) {
        if (menu_close_requested)
            return;
        switch (poll_main_menu(light)) {
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

int pitlorex_main()
{
    init_system();
    title_screen();
    if (game_settings.sound)
        play_title_sounds();
    main_menu();
    pf_shut_down();
    return 0;
}
