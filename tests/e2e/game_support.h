// What the game's end-to-end tests share: starting pitlorex (also with a changed environment)
// up to a menu that follows the pointer, the menu's geometry and colours, tiny level files,
// board text in the built-in font, and the title picture and tune read from the game folder.
#pragma once

#include "e2e_rig.h"

#include <string>
#include <vector>

// A rectangle of window pixels, both corners included.
struct PixelBox {
    int x1, y1, x2, y2;
};

// The four menu words: where the pointer highlights each (the pixels inside its hover box).
constexpr PixelBox START_BOX{91, 181, 209, 219};    // "Iniciar"
constexpr PixelBox HELP_BOX{91, 226, 204, 264};     // "Ajuda"
constexpr PixelBox OPTIONS_BOX{91, 271, 219, 309};  // "Opcoes"
constexpr PixelBox QUIT_BOX{91, 316, 159, 354};     // "Sair"
constexpr PixelBox MENU_BOXES[4] = {START_BOX, HELP_BOX, OPTIONS_BOX, QUIT_BOX};

// A word's middle: the place to point at or click.
int box_mid_x(const PixelBox &box);
int box_mid_y(const PixelBox &box);

constexpr Rgb WORD_NORMAL{235, 235, 235};
constexpr Rgb WORD_HOVER{255, 255, 41};

// The status line's light grey across the bottom of the playfield.
constexpr Rgb STATUS_GREY{238, 238, 238};

// Pixels of `image` inside `box` whose colour is near `colour` (rgb_near's default tolerance).
int count_near(const RgbImage &image, const PixelBox &box, Rgb colour);

// Starts <work_dir>/pitlorex as e2e_start does (process group, output files, HOME and DISPLAY
// of the session), with the environment changed by `changes`: "NAME=value" sets a variable,
// a bare "NAME" removes it.
void start_pitlorex(E2eSession &s, const std::vector<std::string> &changes = {});

// Puts the pointer where the game's window will put its own pointer, (255, 191): Allegro takes
// pointer motion as relative for a moment after it installs its mouse, so the real and the
// game's pointer must agree from the start. Call before the window opens.
void park_pointer(E2eSession &s);

// Parks the pointer, starts pitlorex normally and waits for the title (wait_for_title).
bool start_to_title(E2eSession &s);

// Waits for the window named "Pitlorex" and its four menu words in their normal colour, makes
// sure the game's menu loop follows the pointer ("Iniciar" lights under it) and leaves the
// pointer right of the menu, at (480, 370). From then on e2e_mouse_move and e2e_click reach
// the game as they are, and a close request is not lost. False, with a non-fatal failure
// saying why, when any of that does not happen.
bool wait_for_title(E2eSession &s);

// True when all four words show in their normal colour and none in the hover colour.
bool menu_words_normal(const RgbImage &shot);

// The 24-bit title picture of the game folder, read from its BMP file; empty if it cannot be.
RgbImage read_title_picture();

// A 24-bit BMP picture of the game folder (as "imagens/cursor.bmp"); empty if it cannot be read.
RgbImage read_game_picture(const std::string &rel_path);

// Seconds from the start of the game's title tune (a standard MIDI file) to its last event;
// negative if the file cannot be read.
double title_tune_seconds();

// The mean loudness (mean distance from silence) of the left and right channels of the
// capture over frames [from, to).
void channel_loudness(const E2eSession &s, size_t from, size_t to, double &left, double &right);

// Writes a tiny level as all twenty level file pairs of the session's game folder: walls
// ('B') everywhere but row 12, where the miner ('1') stands on floor ('A') at column 10, a
// nugget ('2') lies on floor at column 11 and a basket ('Y') waits at column 12. One push to
// the right wins it.
void put_tiny_levels(E2eSession &s);

// Writes the level pair `tiles`, `objects` (24 lines of 32 letters each) as all twenty level
// file pairs of the session's game folder.
void put_every_level(E2eSession &s, const std::string &tiles, const std::string &objects);

// Clicks "Ajuda" or "Opcoes" on the title and waits (up to 5 s) for the board's panel.
bool open_help(E2eSession &s);
bool open_options(E2eSession &s);

// Clicks "Iniciar" on the title and waits (up to 5 s) for play's first frame: the status
// line's grey at both ends.
bool play_started(E2eSession &s);

// Starts pitlorex on the tiny levels and a game from the menu; waits for its first frame.
bool start_tiny_game(E2eSession &s);

// Sleeps the test for `ms` milliseconds.
void sleep_ms(int ms);

// Where the play messages and the area password show, over the walls at the top right.
constexpr PixelBox MESSAGE_AREA{272, 0, 511, 19};
constexpr PixelBox PASSWORD_AREA{325, 21, 511, 44};

// In a tiny game just started (focused): wins the four levels of area 1, ending the first
// three messages with Return, and waits for the area 2 password. `level` is the playfield as it
// was before. False, with a non-fatal failure saying why, otherwise.
bool reach_area_password(E2eSession &s, const RgbImage &level);

// Pixels of `box` whose colours differ (beyond rgb_near's tolerance) between two pictures.
int pixels_changed(const RgbImage &before, const RgbImage &after, const PixelBox &box);

// Which pixels of `text` the library's built-in 8 x 8 font inks, row by row: 8 per character
// across, 8 down. Rendered by Allegro in this process, on a memory bitmap.
std::vector<bool> builtin_font_ink(const std::string &text);

// True when the screen shows `text` at (x, y) in the built-in font: inked pixels near
// `colour` and every other pixel of its cells not near it.
bool shows_text(const RgbImage &shot, int x, int y, const std::string &text, Rgb colour);

// ---- The window at a larger scale ----------------------------------------------------------
// A desktop on which the game opens its window at twice the picture's size.
constexpr const char *FULL_HD_SCREEN = "1920x1080x24";

// What a window at `scale` shows as the game's picture: each scale x scale square of `shot`
// from (x, y) on read as one pixel (its top-left one). `uneven`, when given, counts the
// squares holding a pixel unlike that one.
RgbImage picture_of(const RgbImage &shot, int scale, int x = 0, int y = 0,
                    int *uneven = nullptr);

// s.window's size as the server has it; 0 x 0 when it is gone.
void window_size(E2eSession &s, int &width, int &height);

// Waits up to timeout_ms for s.window to measure width x height.
bool window_size_becomes(E2eSession &s, int width, int height, int timeout_ms);

// Starts pitlorex on a session whose screen is larger than the rig's usual one, waits for its
// window at `scale` times the picture with the four words in their normal colour, and makes
// sure the game follows the pointer there ("Iniciar" lights under it and goes out again, the
// pointer left right of the menu). False, with a non-fatal failure saying why, otherwise.
bool start_scaled_to_title(E2eSession &s, int scale);
