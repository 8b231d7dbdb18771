// The level loop tests' rig: game folder, message probe, pause log and scripted player.
#include "loop_test_game.h"

#include "font/alfont.h"
#include "font/alfont_extra.h"
#include "font_test_font.h"
#include "level/game_resources.h"
#include "play/game_start.h"
#include "play/game_state.h"
#include "play/level_end.h"
#include "play/play_pause.h"
#include "render_test_images.h"
#include "startup_game_folder.h"
#include "ui/main_menu.h"

#include <sstream>
#include <stdexcept>

const std::vector<std::string> ONE_PUSH_RIGHT = {
    "######",
    "#@$.o#",
    "######",
};

void write_level(const TempDir &dir, int number, const std::vector<std::string> &picture)
{
    std::vector<std::string> tiles = uniform_rows('B'), objects = uniform_rows('0');
    for (size_t r = 0; r < picture.size(); r++)
        for (size_t c = 0; c < picture[r].size(); c++) {
            char p = picture[r][c], tile = 'A', object = '0';
            switch (p) {
            case '#': tile = 'B'; break;
            case '.': break;
            case '@': object = '1'; break;
            case '$': object = '2'; break;
            case 'o': tile = 'Y'; break;
            case 'z': tile = 'Z'; break;
            case 'X': case 'W': case 'U': tile = p; break;
            case '&': tile = 'X'; object = '2'; break;
            default:
                if (p >= '3' && p <= '8')
                    object = p;
                else
                    throw std::invalid_argument(std::string("picture character ") + p);
            }
            tiles[r][c] = tile;
            objects[r][c] = object;
        }
    dir.write(level_file_name(number, TILE_FILE_TEMPLATE), level_text(tiles));
    dir.write(level_file_name(number, OBJECT_FILE_TEMPLATE), level_text(objects));
}

void write_area_tunes(const TempDir &dir)
{
    // A format 0 file with one empty track: just what the loader needs.
    static const char tune[] = "MThd\0\0\0\6\0\0\0\1\0\x60"
                               "MTrk\0\0\0\4\0\xFF\x2F\0";
    for (int area = 1; area <= 5; area++)
        dir.write("sons/area" + std::to_string(area) + ".mid", std::string(tune, sizeof tune - 1));
}

static void save_image(const TempDir &dir, const std::string &name, int w, int h, int colour,
                       bool pink_half)
{
    BITMAP *bmp = create_bitmap(w, h);
    clear_to_color(bmp, colour);
    if (pink_half)
        rectfill(bmp, 0, 0, w / 2 - 1, h - 1, bitmap_mask_color(bmp));
    std::filesystem::create_directories((dir.path / name).parent_path());
    int failed = save_bitmap(dir.at(name).c_str(), bmp, nullptr);
    destroy_bitmap(bmp);
    if (failed)
        throw std::runtime_error("cannot write " + name);
}

int title_colour() { return makecol(0, 128, 255); }

void write_game_pictures(const TempDir &dir)
{
    for (char c = 'A'; c <= 'Z'; c++)
        save_image(dir, std::string("tiles/t") + c + ".bmp", 16, 16, tile_colour(c),
                   has_pink_half(c));
    for (char c = '1'; c <= '8'; c++)
        save_image(dir, std::string("objetos/o") + c + ".bmp", 16, 16, object_colour(c),
                   has_pink_half(c));
    save_image(dir, "imagens/inicio.bmp", 512, 384, title_colour(), false);
    if (const char *typeface = test_font_path()) {
        std::filesystem::create_directories(dir.path / "fontes");
        std::filesystem::copy_file(typeface, dir.path / "fontes/AIRLOCK.ttf");
    }
}

MessageProbe::MessageProbe()
{
    const char *path = test_font_path();
    if (!path)
        return;
    ALFONT_FONT *typeface = alfont_load_font(path);
    alfont_set_font_size(typeface, 20);
    struct Place {
        std::string text;
        int x, y, colour;
    };
    std::vector<Place> places = {{LEVEL_WON_TEXT, MESSAGE_X, MESSAGE_Y, 0},
                                 {LIFE_LOST_TEXT, MESSAGE_X, MESSAGE_Y, 0},
                                 {GAME_OVER_TEXT, MESSAGE_X, MESSAGE_Y, 0},
                                 {PAUSE_TEXT, MESSAGE_X, MESSAGE_Y, 0}};
    for (int area = 2; area <= 5; area++)
        places.push_back({area_password_text(area), PASSWORD_X, PASSWORD_Y, PASSWORD_COLOUR});
    BITMAP *page = create_bitmap(512, 384);
    for (const Place &place : places) {
        clear_to_color(page, makecol(255, 255, 255));
        alfont_textout_aa_ex(page, typeface, place.text.c_str(), place.x, place.y, place.colour,
                             -1);
        Message message{place.text, {}, {}, place.colour};
        int white = makecol(255, 255, 255);
        for (int y = 0; y < 384; y++)
            for (int x = 0; x < 512; x++) {
                int pixel = getpixel(page, x, y);
                if (pixel == place.colour)
                    message.ink.push_back({x, y});
                else if (pixel == white && x >= place.x && x < place.x + 100 &&
                         y >= place.y && y < place.y + 20)
                    message.gaps.push_back({x, y});
            }
        if (message.ink.size() < 50)
            throw std::runtime_error("the test font drew almost nothing of " + place.text);
        messages.push_back(message);
    }
    destroy_bitmap(page);
    alfont_destroy_font(typeface);
}

std::string MessageProbe::shown(BITMAP *canvas) const
{
    std::string texts;
    for (const Message &message : messages) {
        bool all = true, gap = false;
        for (const auto &pixel : message.ink)
            all = all && getpixel(canvas, pixel.first, pixel.second) == message.colour;
        for (const auto &pixel : message.gaps)
            gap = gap || getpixel(canvas, pixel.first, pixel.second) != message.colour;
        if (all && gap)
            texts += (texts.empty() ? "" : "|") + message.text;
    }
    return texts;
}

void PauseLog::record(const MessageProbe &probe, const ScriptPlatform &s)
{
    std::string shown = probe.ready() && s.screen ? probe.shown(s.screen) : "";
    // A wait is cut into slices where input might end it: one message shown on is one pause.
    if (!shown.empty() && !pauses.empty() && pauses.back().shown == shown) {
        pauses.back().length += s.now_ms - last_ms;
        last_ms = s.now_ms;
        return;
    }
    pauses.push_back({s.now_ms - last_ms, shown, game_state.level, game_state.lives,
                      game_state.time.load(), game_state.player_col});
    last_ms = s.now_ms;
}

std::string PauseLog::summary() const
{
    std::ostringstream out;
    for (size_t i = 0; i < pauses.size();) {
        size_t run = 1;
        while (pauses[i].shown.empty() && i + run < pauses.size() &&
               pauses[i + run].length == pauses[i].length && pauses[i + run].shown.empty())
            run++;
        out << (i ? " " : "") << pauses[i].length;
        if (run > 1)
            out << "*" << run;
        if (!pauses[i].shown.empty())
            out << "[" << pauses[i].shown << "]";
        i += run;
    }
    return out.str();
}

// Lets go of every key, and tells the press latch at once: a key held on through the next
// pause is pressed afresh, so it steps every frame as a held key did before the repeat delay.
static void let_go(ScriptPlatform &s)
{
    for (bool &held : s.keys)
        held = false;
    script_latch_keys();
}

void ScriptedPlayer::react(ScriptPlatform &s)
{
    if (!active)
        return;
    if (game_state.nuggets_remaining == 0) {
        let_go(s);
        return;
    }
    if (game_state.level != level || game_state.lives != lives) {
        level = game_state.level;
        lives = game_state.lives;
        attempt = attempts[level]++;
        plan_start = s.now_ms;
    }
    auto found = plans.find(level);
    if (found == plans.end() || attempt >= (int)found->second.size()) {
        let_go(s);
        return;
    }
    long elapsed = s.now_ms - plan_start, until = 0;
    let_go(s);
    for (const Press &press : found->second[attempt]) {
        until += press.ms;
        if (elapsed < until) {
            if (press.key == CLOSE_WINDOW)
                script_press_close();
            else if (press.key > 0)
                s.keys[press.key] = true;
            return;
        }
    }
}

LoopRig::LoopRig()
{
    write_game_pictures(dir);
    write_area_tunes(dir);
    GameFolder::write_sound("sons/tique.wav");  // the tick of the last seconds
    screen = create_bitmap(512, 384);
    clear_to_color(screen, makecol(0, 0, 0));
    script_reset(screen);
    if (alfont_init() == 1)
        throw std::runtime_error("the font engine does not start");
    probe = new MessageProbe;
    reset_level_state(game_state, level_grids);
    game_state.close_requested = false;
    script.on_time = [this](ScriptPlatform &s) {
        pauses.record(*probe, s);
        player.react(s);
    };
}

void release_test_game()
{
    release_game_resources();
    // The victory board shuts the font engine down itself, which frees every font with it.
    if (alfont_font_count() == 0)
        menu_font = nullptr;
    release_title_screen();
    alfont_exit();
    message_font = nullptr;
    reset_level_state(game_state, level_grids);
    game_state.close_requested = false;
    script_reset(nullptr);
}

LoopRig::~LoopRig()
{
    delete probe;
    release_test_game();
    destroy_bitmap(screen);
}

void LoopRig::load_resources()
{
    if (!try_load_game_resources("").empty())
        throw std::runtime_error("the rig's pictures do not load");
    message_font = alfont_load_font("fontes/AIRLOCK.ttf");
    alfont_set_font_size(message_font, 20);
    pf_set_close_handler(game_close_handler);
}

void LoopRig::start_at(int level, int difficulty, bool music, int frame_delay)
{
    apply_settings(game_state, GameSettings{level, difficulty, uint8_t(music ? 1 : 0), frame_delay});
    reset_level_state(game_state, level_grids);
    load_level(level);
}
