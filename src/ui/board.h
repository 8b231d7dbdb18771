// The look shared by the help, options and victory boards: the framed panel, body text on the
// dark inner area, and the OK button with its hover and click.
#pragma once

#include <atomic>

// The dark blue of a board's inner area and of the background of its text. A raw 16-bit pixel
// (blue 8 of 31), passed to the drawing calls as it is, not made with makecol.
constexpr int PANEL_INK = 8;

// The credit line that the help and victory boards show under the game's name.
constexpr const char *CREDIT_LINE = "Por: Equipe Pitlorex";

// A text line of a board: its first character cell at (x, y), its colour as an RGB triple.
struct BoardLine {
    int x, y;
    int r, g, b;
    const char *text;
};

// Draws a board's frame onto the screen: the panel (x1, y1)-(x2, y2), its dark inner area,
// the OK button (bx1, by1)-(bx2, by2) with its label unlit, and `title` on the frame band at
// x = title_x. Corners are inclusive.
void draw_board_frame(int x1, int y1, int x2, int y2, const char *title, int title_x,
                      int bx1, int by1, int bx2, int by2);

// True when the pointer is on the button, bounds included.
bool ok_button_hit(int bx1, int by1, int bx2, int by2);

// The colour of whatever a board lights: the OK label under the pointer, the options board's
// line.
int lit_ink();

// Draws the OK button's label on its face (every button is 66 x 16), lit and framed inside the
// button when `highlighted`; no background, so the face shows through.
void draw_ok_label(int bx1, int by1, bool highlighted);

// The frame that marks a lit line of `chars` built-in font characters drawn at (x, y), two
// pixels clear of them; drawn in the panel's ink when not lit, which puts it out.
void draw_focus_frame(int x, int y, int chars, bool lit);

// Draws one body line onto the screen in the built-in font on PANEL_INK, spaces included.
void draw_board_text(int x, int y, int colour, const char *text);
void draw_board_line(const BoardLine &line);

// A board's OK button and the colour its label shows now (draw_board_frame draws it normal).
struct OkButton {
    int bx1, by1, bx2, by2;
    bool lit = false;
};

// The step that ends every pass of a board's loop: the label lit while the pointer is on the
// button, redrawn only when the pointer crossed its edge (`drew` is then set, so a board that
// waits without drawing knows). True when the button is clicked: pointer on it, then the left
// button alone, or a click too short for a look at the button to see (latched) that went down
// on it.
bool board_ok_step(OkButton &button, bool &drew);

// True when Return, Space or Escape was pressed since the last look (the press is taken): the
// keyboard's OK.
bool board_ok_key();

// A board that shows lines of text and waits for OK (the help and victory boards): its panel
// (x1, y1)-(x2, y2), the title on its frame band at title_x, its OK button, its lines in
// drawing order, and the flag its close handler sets.
struct BoardSheet {
    int x1, y1, x2, y2;
    const char *title;
    int title_x;
    OkButton ok;
    const BoardLine *lines;
    int line_count;
    const std::atomic<bool> &close_requested;
};

// Draws the whole board onto the screen: panel, title, OK button with its label unlit, lines.
void draw_board(const BoardSheet &board);

// Draws `board`, drops the keys and clicks made before it, and waits: true once OK is clicked
// or pressed, false once the board's close flag (or `also_closed`, when given) is seen set,
// looked at before every pass. A pass that drew nothing yields the processor.
bool run_board(const BoardSheet &board, const std::atomic<bool> *also_closed = nullptr);

// When `close_requested` is set: shuts the library down and ends the process with status 0.
// Otherwise returns at once.
void end_process_if_closed(const std::atomic<bool> &close_requested);
