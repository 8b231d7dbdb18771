// The help board: its text and its loop.
#include "ui/help_board.h"

#include "platform/input.h"

const std::array<BoardLine, 18> HELP_LINES = {{
    {302, 55, 255, 100, 20, "Pitlorex v1.0"},
    {275, 75, 255, 100, 20, CREDIT_LINE},
    {250, 95, 100, 150, 200, "Jogo do genero PUZZLE, com"},
    {250, 105, 100, 150, 200, "alguns elementos de ARCADE."},
    {250, 125, 100, 150, 200, "O jogador assume o papel de"},
    {250, 135, 100, 150, 200, "um minerador e deve coletar"},
    {250, 145, 100, 150, 200, "as pepitas de ouro nos mais"},
    {250, 155, 100, 150, 200, "     diversos lugares.     "},
    {253, 175, 100, 150, 200, "Conduza o minerador com as"},
    {255, 185, 100, 150, 200, "SETAS. Empurre as pepitas"},
    {262, 195, 100, 150, 200, "ate o cesto. Caso erre,"},
    {262, 205, 100, 150, 200, "aperte ESC e reinicie a"},
    {262, 215, 100, 150, 200, "fase (perda de 1 vida)."},
    {250, 235, 229, 240, 31, "Para mais informacoes, veja"},
    {250, 245, 229, 240, 31, "Ajuda.txt ou envie um email"},
    {250, 255, 229, 240, 31, "            para:          "},
    {255, 280, 225, 225, 225, "pitlorex.jogo@example.org"},
    {255, 300, 255, 100, 20, "Divirta-se!"},
}};

std::atomic<bool> help_close_requested{false};

namespace {

const BoardSheet HELP_BOARD = {230, 40, 480, 330, "QUADRO DE AJUDA", 295, {399, 300, 465, 316},
                               HELP_LINES.data(), (int)HELP_LINES.size(), help_close_requested};

void on_help_close() { help_close_requested = true; }

}  // namespace

void draw_help_board() { draw_board(HELP_BOARD); }

void show_help_board()
{
    pf_set_close_handler(on_help_close);
    run_board(HELP_BOARD);
    // A close request, also one that came with the click, wins over returning to the menu.
    end_process_if_closed(help_close_requested);
}
