// The machine's floors and the game's own drawing, timed on memory bitmaps.
#include "bench_sections.h"
#include "script_platform.h"

#include "font/alfont.h"
#include "font/alfont_extra.h"
#include "font/text_walk.h"
#include "level/cell_catalogue.h"
#include "level/game_resources.h"
#include "level/level_file.h"
#include "play/game_state.h"
#include "play/playfield_render.h"
#include "ui/main_menu.h"

#include <allegro.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int FRAME_W = 512, FRAME_H = 384;
const char *const MENU_WORDS[4] = {"Iniciar", "Ajuda", "Opcoes", "Sair"};
const int MENU_WORD_Y[4] = {180, 225, 270, 315};
constexpr int MENU_WORD_X = 90;

BITMAP *bench_screen = nullptr;

// One draw_sprite the level paint makes: the image and where.
struct Draw {
    BITMAP *image;
    int x, y;
};

// The draws draw_tile_layer and draw_object_layer make for `grids`, in their order.
std::vector<Draw> paint_draws(const LevelGrids &grids, int area)
{
    std::vector<Draw> draws;
    for (int row = 0; row < MAP_ROWS; row++)
        for (int col = 0; col < MAP_COLS; col++) {
            TileDrawing d = tile_drawing(grids.tile_map[row][col], area);
            for (char letter : {d.base, d.image})
                if (letter && tile_bitmap(letter))
                    draws.push_back({tile_bitmap(letter), col * CELL_SIZE, row * CELL_SIZE});
        }
    for (int row = 0; row < MAP_ROWS; row++)
        for (int col = 0; col < MAP_COLS; col++) {
            char image = object_image(grids.object_map[row][col]);
            if (image && object_bitmap(image))
                draws.push_back({object_bitmap(image), col * CELL_SIZE, row * CELL_SIZE});
        }
    return draws;
}

// The shipped level whose paint makes the most draws, loaded into level_grids and game_state.
int load_largest_level(size_t &draw_count)
{
    int largest = 1;
    draw_count = 0;
    for (int level = 1; level <= LEVEL_COUNT; level++) {
        reset_level_state(game_state, level_grids);
        load_level(level);
        size_t n = paint_draws(level_grids, area_of_level(level)).size();
        if (n > draw_count) {
            draw_count = n;
            largest = level;
        }
    }
    reset_level_state(game_state, level_grids);
    game_state.level = largest;
    game_state.area = area_of_level(largest);
    load_level(largest);
    return largest;
}

// One glyph blend that drawing a text makes: the glyph and its top left corner.
struct GlyphBlend {
    const GlyphImage *glyph;
    long x, y;
};

// The glyph blends alfont_textout_aa_ex makes for `text` at (x, y), placed as it places them.
void add_glyph_blends(ALFONT_FONT *typeface, const char *text, int x, int y,
                      std::vector<GlyphBlend> &blends)
{
    long baseline = (long)y + font_ascent(typeface);
    walk_text(typeface, text, [&](const GlyphImage &glyph, long pen) {
        blends.push_back({&glyph, x + (pen >> 6) + glyph.left, baseline - glyph.top});
    });
}

}  // namespace

bool bench_setup(const BenchPlaces &places)
{
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "bench: Allegro does not start\n");
        return false;
    }
    set_color_depth(16);
    if (chdir(places.game_dir.c_str()) != 0) {
        std::fprintf(stderr, "bench: no game folder at %s (build it first)\n",
                     places.game_dir.c_str());
        return false;
    }
    bench_screen = create_bitmap(FRAME_W, FRAME_H);
    clear_to_color(bench_screen, makecol(0, 0, 0));
    script_reset(bench_screen);
    script.poll_limit = 1L << 40;
    if (alfont_init() == 1) {
        std::fprintf(stderr, "bench: the font engine does not start\n");
        return false;
    }
    std::string missing = try_load_game_resources("");
    if (!missing.empty()) {
        std::fprintf(stderr, "bench: %s does not load\n", missing.c_str());
        return false;
    }
    apply_settings(game_state, GameSettings{});
    return true;
}

Floors bench_floors(std::vector<Row> &rows)
{
    Floors f;
    BITMAP *source = create_bitmap(FRAME_W, FRAME_H);
    BITMAP *target = create_bitmap(FRAME_W, FRAME_H);
    BITMAP *tile = tile_bitmap('A');
    for (int y = 0; y < FRAME_H; y += CELL_SIZE)
        for (int x = 0; x < FRAME_W; x += CELL_SIZE)
            blit(tile, source, 0, 0, x, y, CELL_SIZE, CELL_SIZE);
    std::vector<uint16_t> from(FRAME_W * FRAME_H, 0x1234), to(FRAME_W * FRAME_H);

    f.memcpy_frame = time_us([&] {
        std::memcpy(to.data(), from.data(), to.size() * sizeof to[0]);
        asm volatile("" : : "r"(to.data()) : "memory");  // the copy must really happen
    });
    f.blit_frame = time_us([&] { blit(source, target, 0, 0, 0, 0, FRAME_W, FRAME_H); });
    f.sprite_frame = time_us([&] { draw_sprite(target, source, 0, 0); });
    f.sprites_1536 = time_us([&] {
        for (int i = 0; i < 1536; i++)
            draw_sprite(target, tile, (i % 32) * CELL_SIZE, (i / 32 % 24) * CELL_SIZE);
    });
    f.sprite_cell = time_us([&] { draw_sprite(target, tile, 160, 160); }, 401);
    destroy_bitmap(source);
    destroy_bitmap(target);

    const char *s = "floors";
    rows.push_back({s, "memcpy of a 512x384x16-bit frame", "us", f.memcpy_frame, "", {}, 0});
    rows.push_back({s, "blit 512x384", "us", f.blit_frame, "memcpy of the frame", f.memcpy_frame,
                    0});
    rows.push_back({s, "draw_sprite 512x384 (masked copy)", "us", f.sprite_frame,
                    "memcpy of the frame", f.memcpy_frame, 0});
    rows.push_back({s, "1,536 draw_sprite 16x16", "us", f.sprites_1536, "", {}, 0});
    rows.push_back({s, "one draw_sprite 16x16", "us", f.sprite_cell, "", {}, 0});
    return f;
}

namespace {

const char *const DRAWING = "the game's drawing (memory bitmaps)";

// The whole-level paint of the loaded level beside the very draws it makes, replayed bare.
void bench_level_paint(int level, size_t draw_count, std::vector<Row> &rows)
{
    int area = game_state.area;
    std::vector<Draw> draws = paint_draws(level_grids, area);
    Figure paint, bare;
    time_pair_us(
        [&] {
            draw_tile_layer(back_buffer, level_grids, area);
            draw_object_layer(back_buffer, level_grids);
        },
        [&] {
            for (const Draw &d : draws)
                draw_sprite(back_buffer, d.image, d.x, d.y);
        },
        paint, bare);
    rows.push_back({DRAWING, "whole-level paint, level " + std::to_string(level) + " (" +
                                 std::to_string(draw_count) + " draws)",
                    "us", paint, "its draws, replayed bare", bare, 1.2});
}

// One play frame: the status line, the two cells of a push, the floor and the miner, and the
// masked copy to the screen.
void bench_play_frame(std::vector<Row> &rows)
{
    game_state.lives = 3;
    game_state.time = 432;
    StepReport push;
    push.kind = StepKind::pushed;
    push.paint_count = 2;
    push.paints[0] = {game_state.player_row, game_state.player_col, CellPaint::area_floor};
    push.paints[1] = {game_state.player_row, game_state.player_col + 1, CellPaint::nugget};
    game_state.prev_row = game_state.player_row;
    game_state.prev_col = game_state.player_col;
    int area = game_state.area;
    Figure frame, copy;
    time_pair_us(
        [&] {
            draw_status_line(back_buffer, game_state);
            paint_step(back_buffer, push, area);
            present_frame(back_buffer, game_state);
        },
        [&] { draw_sprite(bench_screen, back_buffer, 0, 0); }, frame, copy);
    rows.push_back({DRAWING, "play frame (status, push cells, copy)", "us", frame,
                    "its masked copy alone", copy, 1.2});
}

// The four menu words drawn in `typeface` onto the title picture.
void draw_menu_words(ALFONT_FONT *typeface, int colour)
{
    for (int i = 0; i < 4; i++)
        alfont_textout_aa_ex(title_bitmap, typeface, MENU_WORDS[i], MENU_WORD_X, MENU_WORD_Y[i],
                             colour, -1);
}

// The menu words, with their glyphs cached (warm) and from a fresh font (cold), beside the very
// glyph blends they make, replayed bare. (A blit of their boxes is no floor for them: it copies
// memory, where the words do arithmetic on every inked pixel, and a busy machine slows the two
// differently.)
void bench_menu_words(std::vector<Row> &rows)
{
    title_screen();
    int normal = makecol(235, 235, 235);
    std::vector<GlyphBlend> blends;
    for (int i = 0; i < 4; i++)
        add_glyph_blends(menu_font, MENU_WORDS[i], MENU_WORD_X, MENU_WORD_Y[i], blends);
    Figure warm, bare_blends;
    time_pair_us([&] { draw_menu_words(menu_font, normal); },
                 [&] {
                     for (const GlyphBlend &b : blends)
                         font_blend_glyph(title_bitmap, *b.glyph, b.x, b.y, normal);
                 },
                 warm, bare_blends);
    ALFONT_FONT *fresh = nullptr;
    Figure cold = time_us([&] { draw_menu_words(fresh, normal); }, 51,
                          [&] {
                              alfont_destroy_font(fresh);
                              fresh = alfont_load_font("fontes/flame.ttf");
                              alfont_set_font_size(fresh, 40);
                          });
    alfont_destroy_font(fresh);
    std::string blends_name = "its " + std::to_string(blends.size()) + " glyph blends, bare";
    // A figure, no longer a target: a hover redraws one word, in microseconds either way.
    rows.push_back(
        {DRAWING, "menu words, warm (4 words)", "us", warm, blends_name, bare_blends, 0});
    rows.push_back({DRAWING, "menu words, cold (fresh glyph cache)", "us", cold, blends_name,
                    bare_blends, 0});
}

// The title screen: picture from its file, its copies and the words, beside the picture's load
// and the two copies the screen takes.
void bench_title_screen(std::vector<Row> &rows)
{
    Figure title, title_floor;
    time_pair_us([&] { title_screen(); },
                 [&] {
                     BITMAP *picture = load_bitmap("imagens/inicio.bmp", nullptr);
                     blit(picture, bench_screen, 0, 0, 0, 0, FRAME_W, FRAME_H);
                     blit(picture, bench_screen, 0, 0, 0, 0, FRAME_W, FRAME_H);
                     destroy_bitmap(picture);
                 },
                 title, title_floor, 51);
    rows.push_back(
        {DRAWING, "title_screen", "us", title, "load_bitmap + 2 blits", title_floor, 0});
}

}  // namespace

void bench_drawing(std::vector<Row> &rows)
{
    size_t draw_count = 0;
    int level = load_largest_level(draw_count);
    bench_level_paint(level, draw_count, rows);
    bench_play_frame(rows);
    bench_menu_words(rows);
    bench_title_screen(rows);
}
