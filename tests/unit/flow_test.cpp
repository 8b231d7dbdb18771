// The screen flow: boards come and go over the title any number of times, and the close button
// in the menu ends the flow whenever it was pressed.
#include "menu_fixture.h"
#include "play/game_state.h"
#include "shell/shell.h"
#include "ui/help_board.h"
#include "ui/options_board.h"

namespace {

using MenuFlow = MainMenu;

// Who the close button would call now tells which screen is running.
struct ScreenWatcher {
    void (*handler)() = nullptr;
    int screens = 0;  // screens entered so far: menu, board, menu, board, ...
};

}  // namespace

TEST_F(MenuFlow, ACloseFromBeforeTheMenuLoopStillEndsIt)
{
    install_menu_close_handler();  // as start-up leaves it
    script_press_close();          // while the title and its tune come up
    main_menu();
    EXPECT_EQ(script.polls, 0);
    menu_close_requested = false;
}

TEST_F(MenuFlow, BoardsComeAndGoAndTheCloseButtonEndsTheMenu)
{
    static ScreenWatcher watch;
    watch = ScreenWatcher{};
    game_settings = GameSettings{9, 3, 0, 85};
    menu_close_requested = false;
    help_close_requested = false;  // as at process start: board tests may have set them
    options_close_requested = false;
    game_state.close_requested = false;
    options_state = OptionsState{};
    install_menu_close_handler();
    // Ajuda, OK, Opcoes, OK, Ajuda, OK, then the close button in the menu.
    script.on_poll = [](ScriptPlatform &s) {
        if (pf_close_handler() != watch.handler) {
            watch.handler = pf_close_handler();
            watch.screens++;
        }
        struct Target {
            int x, y;
        };
        static const Target steps[] = {{120, 245}, {430, 308}, {120, 290},
                                       {430, 308}, {120, 245}, {430, 308}};
        int step = watch.screens - 1;
        if (step < 6) {
            s.pointer_x = steps[step].x;
            s.pointer_y = steps[step].y;
            s.buttons = 1;
        } else {
            s.pointer_x = 400;  // away from every item
            s.pointer_y = 50;
            s.buttons = 0;
            script_press_close();
        }
    };
    main_menu();
    EXPECT_EQ(watch.screens, 7);
    EXPECT_FALSE(script_logged("exit"));
    // The options board's OK hands its own values back: the board starts at level 1, FACIL,
    // sound on, normal speed.
    EXPECT_EQ(game_settings.start_level, 1);
    EXPECT_EQ(game_settings.difficulty, 1);
    EXPECT_EQ(game_settings.sound, 1);
    EXPECT_EQ(game_settings.frame_delay, 70);
    expect_all_plain(screen);  // the last board is covered by a fresh title
}
