// The shared board look: panel, title, OK button and body text on a memory screen, and the
// OK button's bounds, hover and click.
#include "ui/board.h"

#include <gtest/gtest.h>

#include "board_pixels.h"

namespace {

// The help board's geometry: panel (230, 40)-(480, 330), OK button (399, 300)-(465, 316).
void draw_help_frame()
{
    draw_board_frame(230, 40, 480, 330, "QUADRO DE AJUDA", 295, 399, 300, 465, 316);
}

struct Colours {
    int face = makecol(150, 160, 170);
    int edge = makecol(120, 130, 140);
    int button = makecol(100, 100, 100);
    int button_edge = makecol(20, 30, 40);
    int label = makecol(255, 255, 255);
    int label_lit = makecol(229, 240, 31);
    int dark = makecol(40, 40, 40);
};

}  // namespace

TEST(BoardFrame, PanelEdgeInnerAreaAndButton)
{
    BitmapPtr bmp = make_board_screen();
    Colours c;
    draw_help_frame();
    BITMAP *s = bmp.get();

    EXPECT_EQ(getpixel(s, 229, 100), c.dark);  // outside the panel: untouched
    EXPECT_EQ(getpixel(s, 481, 100), c.dark);
    EXPECT_EQ(getpixel(s, 230, 40), c.face);    // panel corners belong to it
    EXPECT_EQ(getpixel(s, 480, 330), c.face);
    EXPECT_EQ(getpixel(s, 231, 41), c.edge);    // edge line one pixel in, all four sides
    EXPECT_EQ(getpixel(s, 479, 200), c.edge);
    EXPECT_EQ(getpixel(s, 300, 329), c.edge);
    EXPECT_EQ(getpixel(s, 232, 100), c.face);   // face between the edge line and inner area
    EXPECT_EQ(getpixel(s, 239, 100), c.face);
    EXPECT_EQ(getpixel(s, 240, 50), PANEL_INK); // inner area, corners included
    EXPECT_EQ(getpixel(s, 470, 320), PANEL_INK);
    EXPECT_EQ(getpixel(s, 471, 320), c.face);
    EXPECT_EQ(getpixel(s, 470, 321), c.face);
    EXPECT_EQ(getpixel(s, 300, 200), 8);         // the raw pixel value, not a makecol

    EXPECT_EQ(getpixel(s, 398, 300), PANEL_INK);
    EXPECT_EQ(getpixel(s, 399, 300), c.button);
    EXPECT_EQ(getpixel(s, 465, 316), c.button);
    EXPECT_EQ(getpixel(s, 466, 316), PANEL_INK);
    EXPECT_EQ(getpixel(s, 400, 301), c.button_edge);
    EXPECT_EQ(getpixel(s, 464, 315), c.button_edge);
    EXPECT_EQ(getpixel(s, 401, 302), c.button);
    // The button's whole edge line, and nothing else of that colour on the board.
    EXPECT_EQ(count_colour(s, 230, 40, 480, 330, c.button_edge), 2 * 65 + 2 * 13);
}

TEST(BoardFrame, TitleInBlackOnTheFrameBand)
{
    BitmapPtr bmp = make_board_screen();
    Colours c;
    draw_help_frame();
    BITMAP *s = bmp.get();
    EXPECT_TRUE(text_shown(s, 295, 42, "QUADRO DE AJUDA", 0, -1));
    // Rows 42..49 lie between the edge line and the inner area: only face and black there.
    int width = 8 * 15;
    int black = count_colour(s, 295, 42, 295 + width - 1, 49, 0);
    int face = count_colour(s, 295, 42, 295 + width - 1, 49, c.face);
    EXPECT_GT(black, 0);
    EXPECT_EQ(black + face, width * 8);
}

TEST(BoardFrame, OkLabelInBothColoursWithNoBackground)
{
    BitmapPtr bmp = make_board_screen();
    Colours c;
    draw_help_frame();
    BITMAP *s = bmp.get();
    EXPECT_TRUE(text_shown(s, 405, 305, "  OK!", c.label, -1));
    // The two leading spaces paint nothing: the letters begin at bx1 + 22.
    EXPECT_EQ(count_colour(s, 405, 305, 420, 312, c.button), 16 * 8);
    EXPECT_EQ(count_colour(s, 421, 305, 444, 312, c.button) +
                  count_colour(s, 421, 305, 444, 312, c.label),
              24 * 8);

    draw_ok_label(399, 300, true);
    EXPECT_TRUE(text_shown(s, 405, 305, "  OK!", c.label_lit, -1));
    EXPECT_EQ(count_colour(s, 405, 305, 444, 312, c.label), 0);
    draw_ok_label(399, 300, false);
    EXPECT_TRUE(text_shown(s, 405, 305, "  OK!", c.label, -1));
    EXPECT_EQ(count_colour(s, 405, 305, 444, 312, c.label_lit), 0);
}

TEST(BoardText, EveryCellIsPaintedOnPanelInk)
{
    BitmapPtr bmp = make_board_screen();
    BITMAP *s = bmp.get();
    int colour = makecol(100, 150, 200);
    draw_board_text(20, 30, colour, "  a b  ");
    EXPECT_TRUE(text_shown(s, 20, 30, "  a b  ", colour, PANEL_INK));
    EXPECT_EQ(getpixel(s, 19, 30), makecol(40, 40, 40));
    EXPECT_EQ(getpixel(s, 20 + 8 * 7, 30), makecol(40, 40, 40));
    EXPECT_EQ(getpixel(s, 20, 38), makecol(40, 40, 40));
    // A '%' in a text is shown, not taken for a conversion.
    draw_board_text(20, 50, colour, "100%d");
    EXPECT_TRUE(text_shown(s, 20, 50, "100%d", colour, PANEL_INK));
}

TEST(OkButton, StepClicksOnlyWithTheLeftButtonAlone)
{
    BitmapPtr bmp = make_board_screen();
    Colours c;
    draw_help_frame();
    OkButton ok{399, 300, 465, 316};
    bool drew = false;
    script.pointer_x = 430;
    script.pointer_y = 308;
    for (int buttons : {0, 2, 3, 4}) {
        script.buttons = buttons;
        EXPECT_FALSE(board_ok_step(ok, drew)) << buttons;
        EXPECT_TRUE(text_shown(bmp.get(), 405, 305, "  OK!", c.label_lit, -1)) << buttons;
    }
    script.buttons = 1;
    EXPECT_TRUE(board_ok_step(ok, drew));

    // Off the button a held left button is no click, and the label returns to normal.
    script.pointer_x = 398;
    EXPECT_FALSE(board_ok_step(ok, drew));
    EXPECT_TRUE(text_shown(bmp.get(), 405, 305, "  OK!", c.label, -1));
}
