// The help and victory boards: their text lines, their pictures, and how their loops end.
#include "ui/help_board.h"
#include "ui/victory_board.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "board_pixels.h"
#include "play/game_state.h"

namespace {

struct Box {
    int x1, y1, x2, y2;
};

Box cells_of(const BoardLine &line)
{
    int n = static_cast<int>(std::strlen(line.text));
    return {line.x, line.y, line.x + 8 * n - 1, line.y + 7};
}

bool inside(const Box &inner, const Box &b)
{
    return b.x1 >= inner.x1 && b.y1 >= inner.y1 && b.x2 <= inner.x2 && b.y2 <= inner.y2;
}

bool overlap(const Box &a, const Box &b)
{
    return a.x1 <= b.x2 && b.x1 <= a.x2 && a.y1 <= b.y2 && b.y1 <= a.y2;
}

// Every line stands inside the inner area, clear of the OK button and of every other line, so
// the drawing order cannot hide any of them.
template <size_t N>
void expect_lines_fit(const std::array<BoardLine, N> &lines, Box inner, Box button)
{
    for (size_t i = 0; i < N; i++) {
        Box b = cells_of(lines[i]);
        EXPECT_TRUE(inside(inner, b)) << lines[i].text;
        EXPECT_FALSE(overlap(b, button)) << lines[i].text;
        for (size_t j = 0; j < i; j++)
            EXPECT_FALSE(overlap(b, cells_of(lines[j]))) << lines[i].text << " / " << lines[j].text;
    }
}

// Every line drawn where it belongs, in its own colour, every cell on PANEL_INK.
void expect_lines_drawn(BITMAP *s, const BoardLine *lines, size_t count)
{
    for (size_t i = 0; i < count; i++)
        EXPECT_TRUE(text_shown(s, lines[i].x, lines[i].y, lines[i].text,
                               makecol(lines[i].r, lines[i].g, lines[i].b), PANEL_INK))
            << lines[i].text;
}

// The two boards, each as the tests drive it.
enum class Which { help, victory };

void run_board(Which board)
{
    if (board == Which::victory)
        run_victory_board();
    else
        show_help_board();
}

class HelpAndVictory : public ::testing::Test {
protected:
    void SetUp() override
    {
        bmp = make_board_screen();
        help_close_requested = false;
        victory_close_requested = false;
        game_state.close_requested = false;
    }
    // Runs a board; true when it returned, false when it kept spinning for `polls`.
    bool board_returns(Which board = Which::help, long polls = 3000)
    {
        script.poll_limit = polls;
        try {
            run_board(board);
            return true;
        } catch (const ScriptStalled &) {
            return false;
        }
    }
    bool label_lit(int bx1)
    {
        return text_shown(bmp.get(), bx1 + 6, 305, "  OK!", makecol(229, 240, 31), -1);
    }
    bool label_normal(int bx1)
    {
        return text_shown(bmp.get(), bx1 + 6, 305, "  OK!", makecol(255, 255, 255), -1);
    }
    bool body_shown(int x, int y, const char *text, int r, int g, int b)
    {
        return text_shown(bmp.get(), x, y, text, makecol(r, g, b), PANEL_INK);
    }

    BitmapPtr bmp;
};

}  // namespace

TEST_F(HelpAndVictory, OurOwnLinesHaveTheirWidthsAndNameNoPerson)
{
    const std::string credit = HELP_LINES[1].text;
    EXPECT_EQ(credit.size(), 20u);
    EXPECT_EQ(credit, VICTORY_LINES[1].text);
    EXPECT_NE(credit.find("Equipe Pitlorex"), std::string::npos);

    const std::string help_mail = HELP_LINES[16].text;
    EXPECT_EQ(help_mail.size(), 25u);
    EXPECT_NE(help_mail.find("@example.org"), std::string::npos);

    const std::string signature = VICTORY_LINES[10].text;
    EXPECT_EQ(signature.size(), 27u);
    EXPECT_NE(signature.find("Equipe Pitlorex"), std::string::npos);

    const std::string victory_mail = VICTORY_LINES[11].text;
    EXPECT_EQ(victory_mail.size(), 27u);
    size_t open = victory_mail.find('('), close = victory_mail.find(')');
    ASSERT_NE(open, std::string::npos);
    ASSERT_NE(close, std::string::npos);
    std::string address = victory_mail.substr(open + 1, close - open - 1);
    EXPECT_NE(address.find("@example.org"), std::string::npos);
    EXPECT_NE(help_mail.find(address), std::string::npos) << "one address on both boards";
}

TEST_F(HelpAndVictory, LinesFitTheirBoards)
{
    expect_lines_fit(HELP_LINES, {240, 50, 470, 320}, {399, 300, 465, 316});
    expect_lines_fit(VICTORY_LINES, {140, 50, 370, 320}, {299, 300, 365, 316});
}

// Each board's panel, title, unlit OK label and lines; the body lines named here are those
// whose spaces are part of the picture, and the game's name and the board's last word.
TEST_F(HelpAndVictory, BoardPictures)
{
    struct Body {
        int x, y;
        const char *text;
        int r, g, b;
    };
    const struct {
        Which board;
        void (*draw)();
        int x1, x2;  // the panel's sides; it runs from y 40 to 330
        const char *title;
        int title_x, bx1;
        const BoardLine *lines;
        size_t line_count;
        std::vector<Body> bodies;
    } boards[] = {
        {Which::help, draw_help_board, 230, 480, "QUADRO DE AJUDA", 295, 399, HELP_LINES.data(),
         HELP_LINES.size(),
         {{250, 155, "     diversos lugares.     ", 100, 150, 200},
          {250, 255, "            para:          ", 229, 240, 31},
          {302, 55, "Pitlorex v1.0", 255, 100, 20},
          {255, 300, "Divirta-se!", 255, 100, 20}}},
        {Which::victory, draw_victory_board, 130, 380, "  FIM  DE  JOGO", 195, 299,
         VICTORY_LINES.data(), VICTORY_LINES.size(),
         {{150, 95, " PARABENS!  Jogo Terminado.", 100, 150, 200},
          {150, 145, "        divertimento.      ", 100, 150, 200},
          {150, 235, "       Atenciosamente,     ", 229, 240, 31},
          {155, 300, "Carpe Diem! :]", 255, 100, 20}}},
    };
    for (const auto &b : boards) {
        SCOPED_TRACE(b.title);
        SetUp();
        b.draw();
        BITMAP *s = bmp.get();
        EXPECT_EQ(getpixel(s, b.x1, 40), makecol(150, 160, 170));
        EXPECT_EQ(getpixel(s, b.x1 - 1, 40), makecol(40, 40, 40));
        EXPECT_EQ(getpixel(s, b.x2 + 1, 330), makecol(40, 40, 40));
        EXPECT_EQ(getpixel(s, b.x1 + 10, 50), PANEL_INK);
        EXPECT_EQ(getpixel(s, b.bx1, 300), makecol(100, 100, 100));
        EXPECT_TRUE(text_shown(s, b.title_x, 42, b.title, 0, -1));
        EXPECT_TRUE(label_normal(b.bx1));
        expect_lines_drawn(s, b.lines, b.line_count);
        for (const Body &line : b.bodies)
            EXPECT_TRUE(body_shown(line.x, line.y, line.text, line.r, line.g, line.b))
                << line.text;
    }
}

// The left button alone, held on the button, bounds included, is OK on either board (the
// victory button is the help one 100 pixels to the left); nothing ends the process.
TEST_F(HelpAndVictory, OkOnItsButtonOnly)
{
    const struct {
        int x, y, b;  // on the help board
        bool ends;
    } cases[] = {{399, 300, 1, true},  {465, 316, 1, true},  {430, 308, 1, true},
                 {398, 305, 1, false}, {466, 305, 1, false}, {430, 299, 1, false},
                 {430, 317, 1, false}, {100, 225, 1, false}, {430, 308, 2, false},
                 {430, 308, 3, false}};
    for (const auto &c : cases)
        for (Which board : {Which::help, Which::victory}) {
            const int x = c.x - (board == Which::victory ? 100 : 0);
            SCOPED_TRACE(std::to_string(x) + "," + std::to_string(c.y) + " buttons " +
                         std::to_string(c.b) + (board == Which::victory ? " victory" : " help"));
            SetUp();
            script.pointer_x = x;
            script.pointer_y = c.y;
            script.buttons = c.b;
            EXPECT_EQ(board_returns(board), c.ends);
            EXPECT_FALSE(script_logged("exit"));
        }
}

TEST_F(HelpAndVictory, HelpLabelFollowsThePointer)
{
    long polls = 0;
    bool lit_on_button = false, normal_after_leaving = false;
    script.on_poll = [&](ScriptPlatform &s) {
        polls++;
        if (polls == 1) {
            s.pointer_x = 430;
            s.pointer_y = 308;
        } else if (polls == 100) {
            lit_on_button = label_lit(399);
            s.pointer_x = 300;  // off the button, over the board's text
        } else if (polls == 200) {
            normal_after_leaving = label_normal(399);
            s.pointer_x = 420;  // back on it, the left button already held
            s.buttons = 1;
        }
    };
    EXPECT_TRUE(board_returns());
    EXPECT_TRUE(lit_on_button);
    EXPECT_TRUE(normal_after_leaving);
    EXPECT_TRUE(label_lit(399));  // drawn lit once before the click was taken
    // The same pass took the click: its pointer read saw the move, then the button.
    EXPECT_EQ(polls, 200 + 1);
}

TEST_F(HelpAndVictory, HelpBoardAtRestRedrawsNothingAndYields)
{
    // On the button with no click: the label is lit once, a pixel of it changed afterwards
    // stays changed, and the passes yield; the click is still taken.
    script.pointer_x = 430;
    script.pointer_y = 308;
    const int mark = makecol(1, 2, 3);
    int mark_x = -1, mark_y = -1;
    bool kept = false;
    script.on_poll = [&](ScriptPlatform &s) {
        if (s.polls == 10)
            for (int y = 305; y < 313 && mark_x < 0; y++)
                for (int x = 405; x < 445 && mark_x < 0; x++)
                    if (getpixel(bmp.get(), x, y) == makecol(229, 240, 31)) {
                        mark_x = x, mark_y = y;
                        putpixel(bmp.get(), x, y, mark);
                    }
        if (s.polls == 1000) {
            kept = getpixel(bmp.get(), mark_x, mark_y) == mark;
            s.buttons = 1;
        }
    };
    EXPECT_TRUE(board_returns());
    ASSERT_GE(mark_x, 0) << "the OK label was never lit";
    EXPECT_TRUE(kept);
    EXPECT_GT(script.idles, 150);
}

TEST_F(HelpAndVictory, HelpCloseEndsTheProcess)
{
    // Pressed while the pointer wanders over the board: ends at the start of the next pass.
    long polls = 0;
    script.on_poll = [&](ScriptPlatform &s) {
        if (++polls == 50) {
            s.pointer_x = 300;
            script_press_close();
        }
    };
    script.pointer_x = 430;
    script.pointer_y = 308;
    try {
        show_help_board();
        ADD_FAILURE() << "help board returned";
    } catch (const ProcessExit &e) {
        EXPECT_EQ(e.status, 0);
    }
    ASSERT_EQ(script.log.size(), 2u);
    EXPECT_EQ(script.log[0], "allegro_exit");
    EXPECT_EQ(script.log[1], "exit 0");
    EXPECT_LE(polls, 50 + 5);
}

TEST_F(HelpAndVictory, HelpCloseWithTheOkClickStillEnds)
{
    // The close request arrives while the click is being read.
    script.pointer_x = 430;
    script.pointer_y = 308;
    script.on_poll = [](ScriptPlatform &s) {
        if (s.polls == 5) {
            s.buttons = 1;
            script_press_close();
        }
    };
    EXPECT_THROW(show_help_board(), ProcessExit);
    EXPECT_TRUE(script_logged("allegro_exit"));

    // A flag left set by an earlier close is never cleared: the next opening ends at once.
    SetUp();
    help_close_requested = true;
    EXPECT_THROW(show_help_board(), ProcessExit);
}

TEST_F(HelpAndVictory, VictoryBoardShowsAfterClearingAndPausing)
{
    BITMAP *s = bmp.get();
    bool black_during_pause = false;
    script.on_time = [&](ScriptPlatform &) {
        black_during_pause = count_colour(s, 0, 0, 511, 383, 0) == 512 * 384;
    };
    script.typed.push_back('x');
    script.present_late_ms = 4;  // as at 2x: no rest outside play is shortened
    script.pointer_x = 330;
    script.pointer_y = 310;
    script.buttons = 1;
    run_victory_board();
    EXPECT_TRUE(black_during_pause);
    EXPECT_EQ(script.now_ms, 100);
    EXPECT_TRUE(script.mouse_shown);
    EXPECT_EQ(script.mouse_target, s);
    EXPECT_EQ(getpixel(s, 129, 100), 0);  // left of the panel: cleared
    EXPECT_EQ(getpixel(s, 500, 370), 0);
    expect_lines_drawn(s, VICTORY_LINES.data(), VICTORY_LINES.size());
    EXPECT_TRUE(label_lit(299));
    EXPECT_EQ(script.typed.size(), 1u);  // keys are not read
    EXPECT_FALSE(script_logged("exit"));
}

TEST_F(HelpAndVictory, VictoryCloseEndsTheBoard)
{
    // The board's own handler, pressed while the board spins.
    script.pointer_x = 200;
    script.pointer_y = 200;
    script.on_poll = [](ScriptPlatform &s) {
        if (s.polls == 20)
            script_press_close();
    };
    run_victory_board();
    EXPECT_TRUE(victory_close_requested);
    EXPECT_LE(script.polls, 21);
    EXPECT_FALSE(script_logged("allegro_exit"));

    // A close request that reached the game's handler in the winning frame ends it as well.
    SetUp();
    game_state.close_requested = true;
    script.pointer_x = 200;
    script.pointer_y = 200;
    script.poll_limit = 10;
    EXPECT_NO_THROW(run_victory_board());
}

// Return, Space and Escape are both boards' OK, once the board is up; other keys, keys struck
// and clicks made before it (during play, on the spot where OK comes), and short clicks off
// the button are not; a short click on the button is.
TEST_F(HelpAndVictory, KeysAndShortClicksThatAreOk)
{
    const struct {
        int key;              // tapped once the board spins (0: none)
        bool before;          // tapped or clicked before the board came up instead
        int click_x;          // a short click there (0: none)
        bool ok;
    } cases[] = {
        {KEY_ENTER, false, 0, true}, {KEY_SPACE, false, 0, true}, {KEY_ESC, false, 0, true},
        {KEY_ENTER_PAD, false, 0, true}, {KEY_A, false, 0, false}, {KEY_ENTER, true, 0, false},
        {0, false, 430, true},       {0, false, 200, false},      {0, true, 430, false},
    };
    for (const auto &c : cases) {
        for (Which board : {Which::help, Which::victory}) {
            const bool victory = board == Which::victory;
            SCOPED_TRACE(std::to_string(c.key) + (c.before ? " before" : "") + " click " +
                         std::to_string(c.click_x) + (victory ? " victory" : " help"));
            SetUp();
            script_reset(bmp.get());
            script.pointer_x = 200;
            script.pointer_y = 100;
            auto act = [&c, victory](ScriptPlatform &s) {
                if (c.key)
                    script_tap(c.key);
                if (c.click_x) {
                    s.pointer_x = c.click_x - (victory ? 100 : 0);
                    s.pointer_y = 308;
                    script_click();
                }
            };
            if (c.before)
                act(script);
            script.on_poll = [&c, act](ScriptPlatform &s) {
                if (s.polls == 20 && !c.before)
                    act(s);
            };
            EXPECT_EQ(board_returns(board), c.ok);
        }
    }
}
