// The end of the process after the victory board, kept apart from the board itself so that
// the board can be exercised without the play state and the font engine.
#include "ui/victory_board.h"

#include "font/alfont.h"
#include "platform/platform.h"
#include "play/game_state.h"

void show_victory_board()
{
    run_victory_board();
    reset_level_state(game_state, level_grids);
    pf_clear_keybuf();  // keys typed on the board are never acted on
    alfont_exit();
    // No allegro_exit: the library shuts itself down in its exit handling.
    pf_exit(0);
}
