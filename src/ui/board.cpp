// The shared board look and OK button. Boards draw straight onto the screen, pointer shown.
#include "ui/board.h"

#include "platform/input.h"
#include "platform/process.h"
#include "platform/timing.h"
#include "platform/window.h"
#include "ui/pointer_box.h"

namespace {

int button_face() { return makecol(100, 100, 100); }

}  // namespace

int lit_ink() { return makecol(229, 240, 31); }

void draw_board_frame(int x1, int y1, int x2, int y2, const char *title, int title_x,
                      int bx1, int by1, int bx2, int by2)
{
    BITMAP *target = pf_screen();
    rectfill(target, x1, y1, x2, y2, makecol(150, 160, 170));
    rect(target, x1 + 1, y1 + 1, x2 - 1, y2 - 1, makecol(120, 130, 140));
    rectfill(target, x1 + 10, y1 + 10, x2 - 10, y2 - 10, PANEL_INK);
    rectfill(target, bx1, by1, bx2, by2, button_face());
    rect(target, bx1 + 1, by1 + 1, bx2 - 1, by2 - 1, makecol(20, 30, 40));
    draw_ok_label(bx1, by1, false);
    // Black on the frame band, between the edge line and the inner area.
    textprintf_ex(target, font, title_x, y1 + 2, 0, -1, "%s", title);
}

bool ok_button_hit(int bx1, int by1, int bx2, int by2)
{
    return pointer_in({bx1, by1, bx2, by2, true});
}

void draw_ok_label(int bx1, int by1, bool highlighted)
{
    // White reads on the grey face at better than 4.5 : 1; the lit label is framed too, so that
    // the light shows without its colour.
    int colour = highlighted ? lit_ink() : makecol(255, 255, 255);
    BITMAP *target = pf_screen();
    rect(target, bx1 + 3, by1 + 3, bx1 + 63, by1 + 13,
         highlighted ? colour : button_face());
    textprintf_ex(target, font, bx1 + 6, by1 + 5, colour, -1, "%s", "  OK!");
}

void draw_focus_frame(int x, int y, int chars, bool lit)
{
    rect(pf_screen(), x - 2, y - 2, x + 8 * chars + 1, y + 9, lit ? lit_ink() : PANEL_INK);
}

void draw_board_text(int x, int y, int colour, const char *text)
{
    // "%s" rather than the text as the format: a '%' in a text can never be read as a
    // conversion.
    textprintf_ex(pf_screen(), font, x, y, colour, PANEL_INK, "%s", text);
}

void draw_board_line(const BoardLine &line)
{
    draw_board_text(line.x, line.y, makecol(line.r, line.g, line.b), line.text);
}

bool board_ok_step(OkButton &button, bool &drew)
{
    const PointerBox box{button.bx1, button.by1, button.bx2, button.by2, true};
    bool hit = ok_button_hit(button.bx1, button.by1, button.bx2, button.by2);
    if (hit != button.lit) {
        draw_ok_label(button.bx1, button.by1, hit);
        button.lit = hit;
        drew = true;
    }
    // A short click counts where it went down: one latched elsewhere was not on the button.
    return clicked_box(&box, 1, hit ? 0 : -1) == 0;
}

bool board_ok_key()
{
    static const int OK_KEYS[] = {KEY_ENTER, KEY_ENTER_PAD, KEY_SPACE, KEY_ESC};
    KeyPress press;
    return pf_take_press(OK_KEYS, 4, press);
}

void draw_board(const BoardSheet &board)
{
    const OkButton &ok = board.ok;
    draw_board_frame(board.x1, board.y1, board.x2, board.y2, board.title, board.title_x, ok.bx1,
                     ok.by1, ok.bx2, ok.by2);
    for (int i = 0; i < board.line_count; i++)
        draw_board_line(board.lines[i]);
}

bool run_board(const BoardSheet &board, const std::atomic<bool> *also_closed)
{
    draw_board(board);
    pf_drop_input();  // keys struck and clicks made before the board are no answer to it
    OkButton ok = board.ok;
    while (!board.close_requested && !(also_closed && *also_closed)) {
        bool drew = false;
        if (board_ok_step(ok, drew) || board_ok_key())
            return true;
        pf_wait_step(drew ? 0 : IDLE_STEP);
    }
    return false;
}

void end_process_if_closed(const std::atomic<bool> &close_requested)
{
    if (close_requested) {
        pf_shut_down();
        pf_end_process(0);
    }
}
