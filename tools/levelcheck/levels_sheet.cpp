// levels_sheet: one PNG with every level drawn by the game's own playfield painter and pictures,
// at half size, one area a row, each labelled with its number and the checker's figures.
//
//   levels_sheet GAME_DIR FASES_DIR OUT.png
#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "level/cell_catalogue.h"
#include "level/game_resources.h"
#include "level/level_file.h"
#include "level_check.h"
#include "picture_files.h"
#include "play/game_state.h"
#include "play/playfield_render.h"

namespace {

constexpr int HALF_W = MAP_COLS * CELL_SIZE / 2, HALF_H = MAP_ROWS * CELL_SIZE / 2;
constexpr int GAP = 8, LABEL_H = 32, PER_ROW = LEVELS_PER_AREA;

// Three label lines of at most 32 characters of the built-in 8 x 8 font, the picture's width.
void draw_label(BITMAP *sheet, int x, int y, int level, const LevelReport &r)
{
    char lines[3][48];
    std::snprintf(lines[0], sizeof lines[0], "%02d%s park %s  pushes %d  moves %d", level,
                  r.passed() ? "" : " FAILED", r.parkings_text().c_str(), r.pushes, r.frames);
    std::snprintf(lines[1], sizeof lines[1], "walk %.2f  effort %s%ld", r.walk_ratio(),
                  r.effort_capped ? ">" : "", r.effort);
    std::snprintf(lines[2], sizeof lines[2], "room %d  dead %.0f%%  naive %s", r.floor_cells,
                  100 * r.dead_share(), r.naive_wins ? "wins" : "fails");
    for (int i = 0; i < 3; i++)
        textprintf_ex(sheet, font, x, y + 10 * i, makecol(230, 230, 230), -1, "%s", lines[i]);
}

// The level as the game paints it when the level starts: tiles, then objects.
void paint_level(BITMAP *playfield, const std::string &fases_dir, int level)
{
    GameState state;
    GameSettings settings;
    settings.start_level = level;
    apply_settings(state, settings);
    auto grids = std::make_unique<LevelGrids>();
    load_level(state, *grids, level, [&fases_dir](const std::string &name) {
        return open_level_file(fases_dir + "/" + name.substr(name.find('/') + 1));
    });
    clear_to_color(playfield, makecol(0, 0, 0));
    draw_tile_layer(playfield, *grids, state.area);
    draw_object_layer(playfield, *grids);
}

Image as_image(BITMAP *bitmap)
{
    Image image(bitmap->w, bitmap->h);
    for (int y = 0; y < bitmap->h; y++)
        for (int x = 0; x < bitmap->w; x++) {
            const int c = getpixel(bitmap, x, y);
            image.set(x, y, rgb(getr(c), getg(c), getb(c)));
        }
    return image;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: levels_sheet GAME_DIR FASES_DIR OUT.png\n");
        return 2;
    }
    const std::string game_dir = argv[1], fases_dir = argv[2], out = argv[3];
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        return 1;
    set_color_depth(16);
    const std::string missing = try_load_game_resources(game_dir);
    if (!missing.empty()) {
        std::fprintf(stderr, "levels_sheet: %s/%s does not load\n", game_dir.c_str(),
                     missing.c_str());
        return 1;
    }

    const int rows = AREA_COUNT;
    BITMAP *sheet = create_bitmap(GAP + PER_ROW * (HALF_W + GAP),
                                  GAP + rows * (HALF_H + LABEL_H + GAP));
    BITMAP *playfield = create_bitmap(MAP_COLS * CELL_SIZE, MAP_ROWS * CELL_SIZE);
    clear_to_color(sheet, makecol(48, 48, 54));
    int failed = 0;
    for (int level = 1; level <= LEVEL_COUNT; level++) {
        const int area = area_of_level(level);
        const int x = GAP + (level - first_level_of_area(area)) * (HALF_W + GAP);
        const int y = GAP + (area - 1) * (HALF_H + LABEL_H + GAP);
        paint_level(playfield, fases_dir, level);
        stretch_blit(playfield, sheet, 0, 0, playfield->w, playfield->h, x, y, HALF_W, HALF_H);
        const LevelReport report = check_level(fases_dir, level, {});
        failed += !report.passed();
        draw_label(sheet, x, y + HALF_H + 2, level, report);
    }

    const Bytes png = encode_png(as_image(sheet));
    FILE *file = std::fopen(out.c_str(), "wb");
    const bool written = file && std::fwrite(png.data(), 1, png.size(), file) == png.size();
    if (file)
        std::fclose(file);
    destroy_bitmap(playfield);
    destroy_bitmap(sheet);
    release_game_resources();
    if (!written) {
        std::fprintf(stderr, "levels_sheet: cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("levels_sheet: %s%s\n", out.c_str(), failed ? " (some levels fail the checker)" : "");
    return failed ? 1 : 0;
}
