// The victory board: its text, its loop, and the end of the process after it.
#include "ui/victory_board.h"

#include "font/alfont.h"
#include "platform/input.h"
#include "platform/process.h"
#include "platform/timing.h"
#include "platform/window.h"
#include "play/game_state.h"

const std::array<BoardLine, 13> VICTORY_LINES = {{
    {202, 55, 255, 100, 20, "Pitlorex v1.0"},
    {175, 75, 255, 100, 20, CREDIT_LINE},
    {150, 95, 100, 150, 200, " PARABENS!  Jogo Terminado."},
    {150, 125, 100, 150, 200, "Espero que o Pitlorex tenha"},
    {150, 135, 100, 150, 200, "lhe  proporcionado  um  bom"},
    {150, 145, 100, 150, 200, "        divertimento.      "},
    {150, 175, 100, 150, 200, "Sinta-se a vontade para  me"},
    {150, 185, 100, 150, 200, "enviar  um  e-mail  falando"},
    {150, 195, 100, 150, 200, "       sobre o jogo.       "},
    {150, 235, 229, 240, 31, "       Atenciosamente,     "},
    {150, 245, 229, 240, 31, "      Equipe Pitlorex      "},
    {150, 280, 225, 225, 225, "(pitlorex.jogo@example.org)"},
    {155, 300, 255, 100, 20, "Carpe Diem! :]"},
}};

std::atomic<bool> victory_close_requested{false};

namespace {

const BoardSheet VICTORY_BOARD = {130, 40, 380, 330, "  FIM  DE  JOGO", 195,
                                  {299, 300, 365, 316}, VICTORY_LINES.data(),
                                  (int)VICTORY_LINES.size(), victory_close_requested};

// The game's handler would only set a flag that nobody reads once the level loop has handed
// over to this board, and the close button would do nothing; this one ends the board.
void on_victory_close() { victory_close_requested = true; }

}  // namespace

void draw_victory_board() { draw_board(VICTORY_BOARD); }

void run_victory_board()
{
    pf_set_close_handler(on_victory_close);
    pf_show_pointer(pf_screen());  // hidden during play
    clear_bitmap(pf_screen());
    pf_wait_step(0);
    pf_rest(100);
    // A close request made during the winning frame went to the game's flag: honour it too.
    run_board(VICTORY_BOARD, &game_state.close_requested);
}

void show_victory_board()
{
    run_victory_board();
    reset_level_state(game_state, level_grids);
    pf_drop_typed_keys();  // keys typed on the board are never acted on
    alfont_exit();
    // No pf_shut_down: the library shuts itself down in its exit handling.
    pf_end_process(0);
}
