// Helpers of the game's end-to-end tests: a start with a changed environment, menu pixels,
// and the title picture and tune read straight from their files.
#include "game_support.h"

#include <gtest/gtest.h>
#include <X11/Xlib.h>  // after GoogleTest, whose headers its macros break

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>

int box_mid_x(const PixelBox &box)
{
    return (box.x1 + box.x2) / 2;
}

int box_mid_y(const PixelBox &box)
{
    return (box.y1 + box.y2) / 2;
}

int count_near(const RgbImage &image, const PixelBox &box, Rgb colour)
{
    int count = 0;
    for (int y = box.y1; y <= box.y2 && y < image.height; y++)
        for (int x = box.x1; x <= box.x2 && x < image.width; x++)
            if (rgb_near(image.at(x, y), colour))
                count++;
    return count;
}

void start_pitlorex(E2eSession &s, const std::vector<std::string> &changes)
{
    e2e_start(s, "pitlorex", {}, changes);
}

bool menu_words_normal(const RgbImage &shot)
{
    if (shot.width == 0)
        return false;
    for (const PixelBox &box : MENU_BOXES)
        if (count_near(shot, box, WORD_NORMAL) < 40 || count_near(shot, box, WORD_HOVER) > 0)
            return false;
    return true;
}

void park_pointer(E2eSession &s)
{
    e2e_mouse_move_screen(s, 255, 191);
}

bool start_to_title(E2eSession &s)
{
    park_pointer(s);
    start_pitlorex(s);
    return wait_for_title(s);
}

static bool lit_alone(E2eSession &s, int word)
{
    RgbImage shot = e2e_grab_window(s);
    for (int i = 0; i < 4; i++)
        if ((count_near(shot, MENU_BOXES[i], WORD_HOVER) > 100) != (i == word))
            return false;
    return true;
}

static void pointer_position(E2eSession &s, int &x, int &y)
{
    ::Window root, child;
    int window_x, window_y;
    unsigned buttons;
    x = y = -1;
    XQueryPointer(s.x, DefaultRootWindow(s.x), &root, &child, &x, &y, &window_x, &window_y,
                  &buttons);
}

// Right after it installs its mouse, Allegro takes pointer motion as relative for a moment,
// sending the real pointer back to the window's middle every few motions; when the moment
// ends it puts the real pointer where its own is. Our absolute moves reach the game as meant
// only after that. So the pointer goes back and forth between "Iniciar" and a spot right of
// the menu until five moves in a row light the right word and leave the real pointer where
// it was put (within five moves it would have been sent to the middle if the moment lasted).
// Ends with the pointer on the spot right of the menu.
static bool settle_pointer(E2eSession &s)
{
    const int spots[2][2] = {{box_mid_x(START_BOX), box_mid_y(START_BOX)}, {480, 370}};
    int calm = 0, origin_x = 0, origin_y = 0;
    e2e_window_origin(s, origin_x, origin_y);
    const int middle_x = origin_x + 256, middle_y = origin_y + 192;
    for (int move = 0; move < 40; move++) {
        const int *spot = spots[move % 2];
        e2e_mouse_move(s, spot[0], spot[1]);
        bool seen = e2e_wait_for([&] { return lit_alone(s, move % 2 == 0 ? 0 : -1); }, 1000);
        int x, y;
        pointer_position(s, x, y);
        if (x == origin_x + spot[0] && y == origin_y + spot[1]) {
            calm = seen ? calm + 1 : 0;
        } else {
            calm = 0;
            if (x == middle_x && y == middle_y)  // sent to the middle: wait out the moment
                e2e_wait_for([&] {
                    int now_x, now_y;
                    pointer_position(s, now_x, now_y);
                    return now_x != x || now_y != y;
                }, 3000);
        }
        if (calm >= 5 && move % 2 == 1)
            return true;
    }
    return false;
}

bool wait_for_title(E2eSession &s)
{
    if (!e2e_wait_window(s, "Pitlorex", 10000)) {
        ADD_FAILURE() << "no window named Pitlorex:\n" << e2e_program_output(s);
        return false;
    }
    // The window opens before the game installs its mouse; the menu is drawn after that.
    if (!e2e_wait_for([&] { return menu_words_normal(e2e_grab_window(s)); }, 10000)) {
        ADD_FAILURE() << "the four menu words did not appear in their normal colour";
        return false;
    }
    // A word lit under the pointer also means the menu loop runs: the game clears the menu's
    // close flag when it enters that loop, after the title is drawn, so a close request made
    // before would be lost.
    if (!settle_pointer(s)) {
        ADD_FAILURE() << "the game does not follow the pointer";
        return false;
    }
    return true;
}

static std::string game_file(const std::string &rel_path)
{
    std::ifstream in(std::string(GAME_DIR) + "/" + rel_path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

static uint32_t little_endian(const std::string &bytes, size_t at, int count)
{
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; i--)
        value = value << 8 | (uint8_t)bytes[at + i];
    return value;
}

RgbImage read_title_picture()
{
    return read_game_picture("imagens/inicio.bmp");
}

RgbImage read_game_picture(const std::string &rel_path)
{
    std::string bmp = game_file(rel_path);
    RgbImage image;
    if (bmp.size() < 54 || bmp.compare(0, 2, "BM") != 0 || little_endian(bmp, 28, 2) != 24 ||
        little_endian(bmp, 30, 4) != 0)
        return image;
    uint32_t data = little_endian(bmp, 10, 4);
    int width = (int)little_endian(bmp, 18, 4);
    int height = (int)little_endian(bmp, 22, 4);  // positive: rows stored bottom up
    size_t row_bytes = ((size_t)width * 3 + 3) / 4 * 4;
    if (width <= 0 || height <= 0 || data + row_bytes * height > bmp.size())
        return image;
    image.width = width;
    image.height = height;
    image.rgb.resize((size_t)width * height * 3);
    for (int y = 0; y < height; y++) {
        const char *row = &bmp[data + row_bytes * (height - 1 - y)];
        for (int x = 0; x < width; x++)
            for (int c = 0; c < 3; c++)  // stored blue, green, red
                image.rgb[((size_t)y * width + x) * 3 + c] = (uint8_t)row[x * 3 + 2 - c];
    }
    return image;
}

// A MIDI variable-length number at `at`, which moves past it.
static uint32_t midi_number(const std::string &bytes, size_t &at)
{
    uint32_t value = 0;
    while (at < bytes.size()) {
        uint8_t byte = (uint8_t)bytes[at++];
        value = value << 7 | (byte & 0x7F);
        if (!(byte & 0x80))
            break;
    }
    return value;
}

static uint32_t big_endian(const std::string &bytes, size_t at, int count)
{
    uint32_t value = 0;
    for (int i = 0; i < count; i++)
        value = value << 8 | (uint8_t)bytes[at + i];
    return value;
}

double title_tune_seconds()
{
    std::string midi = game_file("sons/inicio.mid");
    if (midi.size() < 14 || midi.compare(0, 4, "MThd") != 0)
        return -1;
    int tracks = (int)big_endian(midi, 10, 2);
    int division = (int)big_endian(midi, 12, 2);
    if (division <= 0 || division >= 0x8000)
        return -1;  // SMPTE time is not used by the game's tunes
    std::map<uint64_t, uint32_t> tempo_at{{0, 500000}};  // tick -> microseconds per beat
    uint64_t last_tick = 0;
    size_t chunk = 8 + big_endian(midi, 4, 4);
    for (int t = 0; t < tracks && chunk + 8 <= midi.size(); t++) {
        size_t end = chunk + 8 + big_endian(midi, chunk + 4, 4);
        if (midi.compare(chunk, 4, "MTrk") != 0 || end > midi.size())
            return -1;
        size_t at = chunk + 8;
        uint64_t tick = 0;
        uint8_t status = 0;
        while (at < end) {
            tick += midi_number(midi, at);
            if ((uint8_t)midi[at] & 0x80)
                status = (uint8_t)midi[at++];
            if (status == 0xFF) {
                uint8_t type = (uint8_t)midi[at++];
                uint32_t length = midi_number(midi, at);
                if (type == 0x51 && length == 3)
                    tempo_at[tick] = big_endian(midi, at, 3);
                at += length;
            } else if (status == 0xF0 || status == 0xF7) {
                at += midi_number(midi, at);
            } else {
                int kind = status >> 4;
                at += (kind == 0xC || kind == 0xD) ? 1 : 2;
            }
            last_tick = std::max(last_tick, tick);
        }
        chunk = end;
    }
    double seconds = 0;
    for (auto it = tempo_at.begin(); it != tempo_at.end() && it->first < last_tick; ++it) {
        auto next = std::next(it);
        uint64_t until = (next == tempo_at.end() || next->first > last_tick) ? last_tick
                                                                             : next->first;
        seconds += (double)(until - it->first) * it->second / 1e6 / division;
    }
    return seconds;
}

void channel_loudness(const E2eSession &s, size_t from, size_t to, double &left, double &right)
{
    left = right = 0;
    std::ifstream in(s.capture_path, std::ios::binary);
    in.seekg((std::streamoff)(from * 4));
    double sums[2] = {0, 0};
    size_t frames = 0;
    uint8_t bytes[4];
    for (size_t f = from; f < to && in.read((char *)bytes, 4); f++, frames++)
        for (int c = 0; c < 2; c++)
            sums[c] += std::abs((bytes[2 * c] | bytes[2 * c + 1] << 8) - 0x8000);
    if (frames) {
        left = sums[0] / frames;
        right = sums[1] / frames;
    }
}

void put_tiny_levels(E2eSession &s)
{
    std::string tiles, objects;
    for (int row = 0; row < 24; row++) {
        std::string tile_row(32, 'B'), object_row(32, '0');
        if (row == 12) {
            tile_row.replace(10, 3, "AAY");
            object_row.replace(10, 2, "12");
        }
        tiles += tile_row + "\n";
        objects += object_row + "\n";
    }
    put_every_level(s, tiles, objects);
}

void put_every_level(E2eSession &s, const std::string &tiles, const std::string &objects)
{
    for (int level = 1; level <= 20; level++) {
        char name[32];
        snprintf(name, sizeof name, "fases/fase%02d", level);
        e2e_put_file(s, std::string(name) + ".plt", tiles);
        e2e_put_file(s, std::string(name) + ".plo", objects);
    }
}

// Clicks the word in `box` and waits for a board's panel face at (x, y).
static bool open_board(E2eSession &s, const PixelBox &box, int x, int y)
{
    const Rgb panel_face{150, 160, 170};
    e2e_click(s, box_mid_x(box), box_mid_y(box));
    return e2e_wait_for([&] { return rgb_near(e2e_pixel(s, x, y), panel_face); }, 5000);
}

bool open_help(E2eSession &s) { return open_board(s, HELP_BOX, 235, 200); }
bool open_options(E2eSession &s) { return open_board(s, OPTIONS_BOX, 265, 250); }

bool play_started(E2eSession &s)
{
    e2e_click(s, box_mid_x(START_BOX), box_mid_y(START_BOX));
    return e2e_wait_for([&] {
        RgbImage shot = e2e_grab_window(s);
        return shot.width == 512 && rgb_near(shot.at(300, 379), STATUS_GREY) &&
               rgb_near(shot.at(20, 376), STATUS_GREY);
    }, 5000);
}

bool start_tiny_game(E2eSession &s)
{
    put_tiny_levels(s);
    return start_to_title(s) && play_started(s);
}

void sleep_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool reach_area_password(E2eSession &s, const RgbImage &level)
{
    auto message_shown = [&] {
        return pixels_changed(level, e2e_grab_window(s), MESSAGE_AREA) > 200;
    };
    for (int won = 1; won <= 4; won++) {
        e2e_tap_key(s, XK_Right, 40);
        if (!e2e_wait_for(message_shown, 3000)) {
            ADD_FAILURE() << "no message after level " << won;
            return false;
        }
        sleep_ms(700);
        auto struck = std::chrono::steady_clock::now();
        e2e_tap_key(s, XK_Return, 40);
        if (won == 4)
            break;
        if (!e2e_wait_for([&] { return !message_shown(); }, 3000)) {
            ADD_FAILURE() << "Return did not end the message of level " << won;
            return false;
        }
        EXPECT_LT(std::chrono::steady_clock::now() - struck, std::chrono::milliseconds(1500))
            << "Return ended the message";
    }
    // Level 4's message ends with its Return too, then the area 2 password stays until a key.
    bool shown = e2e_wait_for(
        [&] { return pixels_changed(level, e2e_grab_window(s), PASSWORD_AREA) > 100; }, 8000);
    EXPECT_TRUE(shown) << "no area password";
    return shown;
}

int pixels_changed(const RgbImage &before, const RgbImage &after, const PixelBox &box)
{
    int changed = 0;
    for (int y = box.y1; y <= box.y2; y++)
        for (int x = box.x1; x <= box.x2; x++)
            if (!rgb_near(before.at(x, y), after.at(x, y)))
                changed++;
    return changed;
}

bool shows_text(const RgbImage &shot, int x, int y, const std::string &text, Rgb colour)
{
    std::vector<bool> ink = builtin_font_ink(text);
    int width = 8 * (int)text.size();
    if (shot.width < x + width || shot.height < y + 8)
        return false;
    for (int j = 0; j < 8; j++)
        for (int i = 0; i < width; i++)
            if (rgb_near(shot.at(x + i, y + j), colour) != ink[(size_t)j * width + i])
                return false;
    return true;
}

RgbImage picture_of(const RgbImage &shot, int scale, int x, int y, int *uneven)
{
    RgbImage picture;
    picture.width = std::max(0, std::min(512, (shot.width - x) / scale));
    picture.height = std::max(0, std::min(384, (shot.height - y) / scale));
    picture.rgb.resize((size_t)picture.width * picture.height * 3);
    if (uneven)
        *uneven = 0;
    for (int py = 0; py < picture.height; py++)
        for (int px = 0; px < picture.width; px++) {
            Rgb first = shot.at(x + px * scale, y + py * scale);
            bool even = true;
            for (int j = 0; j < scale && even; j++)
                for (int i = 0; i < scale; i++)
                    even = even && shot.at(x + px * scale + i, y + py * scale + j) == first;
            if (uneven && !even)
                ++*uneven;
            uint8_t *out = &picture.rgb[((size_t)py * picture.width + px) * 3];
            out[0] = (uint8_t)first.r;
            out[1] = (uint8_t)first.g;
            out[2] = (uint8_t)first.b;
        }
    return picture;
}

void window_size(E2eSession &s, int &width, int &height)
{
    XWindowAttributes attributes;
    width = height = 0;
    if (s.window && XGetWindowAttributes(s.x, s.window, &attributes)) {
        width = attributes.width;
        height = attributes.height;
    }
}

bool window_size_becomes(E2eSession &s, int width, int height, int timeout_ms)
{
    return e2e_wait_for([&] {
        int w, h;
        window_size(s, w, h);
        return w == width && h == height;
    }, timeout_ms);
}

bool start_scaled_to_title(E2eSession &s, int scale)
{
    // Where the game puts its pointer when it installs the mouse: the window's middle.
    e2e_mouse_move_screen(s, 256 * scale - 1, 192 * scale - 1);
    start_pitlorex(s);
    if (!e2e_wait_window(s, "Pitlorex", 10000) ||
        !window_size_becomes(s, 512 * scale, 384 * scale, 10000)) {
        ADD_FAILURE() << "no window of " << 512 * scale << "x" << 384 * scale << ":\n"
                      << e2e_program_output(s);
        return false;
    }
    auto picture = [&] { return picture_of(e2e_grab_window(s), scale); };
    if (!e2e_wait_for([&] { return menu_words_normal(picture()); }, 10000)) {
        ADD_FAILURE() << "the four menu words did not appear in their normal colour";
        return false;
    }
    for (int move = 0; move < 20; move++) {
        e2e_mouse_move(s, box_mid_x(START_BOX) * scale + move % 2, box_mid_y(START_BOX) * scale);
        if (!e2e_wait_for([&] { return count_near(picture(), START_BOX, WORD_HOVER) > 100; },
                          500))
            continue;
        e2e_mouse_move(s, 480 * scale, 370 * scale);
        if (e2e_wait_for([&] { return menu_words_normal(picture()); }, 2000))
            return true;
    }
    ADD_FAILURE() << "the game does not follow the pointer at " << scale << "x";
    return false;
}
