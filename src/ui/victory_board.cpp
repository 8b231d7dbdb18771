// The victory board: its text, its loop, and the end of the process after it.
#include "ui/victory_board.h"

#include "font/alfont.h"
#include "platform/input_latch.h"
#include "platform/platform.h"
#include "play/game_state.h"

std::atomic<bool> victory_close_requested{false};

namespace {

constexpr int VICTORY_OK_X1 = 299, VICTORY_OK_Y1 = 300, VICTORY_OK_X2 = 365, VICTORY_OK_Y2 = 316;

// The game's handler would only set a flag that nobody reads once the level loop has handed
// over to this board, and the close button would do nothing; this one ends the board.
void on_victory_close() { victory_close_requested = true; }

}  // namespace

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

void draw_victory_board()
{
    draw_board_frame(130, 40, 380, 330, "  FIM  DE  JOGO", 195, VICTORY_OK_X1, VICTORY_OK_Y1,
                     VICTORY_OK_X2, VICTORY_OK_Y2);
    for (const BoardLine &line : VICTORY_LINES)
        draw_board_line(line);
}

void run_victory_board()
{
    pf_set_close_button_callback(on_victory_close);
    pf_show_mouse(pf_screen());  // hidden during play
    pf_scare_mouse();
    clear_bitmap(pf_screen());
    pf_unscare_mouse();
    pf_present();
    pf_rest(100);
    draw_victory_board();
    pf_drop_input();  // the arrows of the winning walk are no answer to the board
    OkButton ok{VICTORY_OK_X1, VICTORY_OK_Y1, VICTORY_OK_X2, VICTORY_OK_Y2};
    // A close request made during the winning frame went to the game's flag: honour it too.
    while (!victory_close_requested && !game_state.close_requested)
        if (board_ok_pass(ok))
            return;
}

void show_victory_board()
{
    run_victory_board();
    reset_level_state(game_state, level_grids);
    pf_clear_keybuf();  // keys typed on the board are never acted on
    alfont_exit();
    // No allegro_exit: the library shuts itself down in its exit handling.
    pf_exit(0);
}
