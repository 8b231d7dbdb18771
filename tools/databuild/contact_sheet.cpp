// Composition of the contact sheet.
#include "contact_sheet.h"

#include "colour_vision.h"
#include "font_text.h"
#include "title_picture.h"

#include <algorithm>

namespace {

constexpr Rgb SHEET_BACKGROUND = 0x303036;

void draw_label(Image &sheet, const std::string &font, int size, const std::string &text, int x,
                int y, Rgb colour)
{
    TextMask m = render_text(font, size, text);
    for (int j = 0; j < m.height; j++)
        for (int i = 0; i < m.width; i++)
            blend_pixel(sheet, x + i, y + j, colour, m.at(i, j));
}

// The image as the game shows it: 16-bit colours, pink left as pink.
Image shown(const Image &image)
{
    Image out = image;
    for (Rgb &c : out.pixels)
        if (c != PINK)
            c = as_shown_at_16_bits(c);
    return out;
}

// One area's corner of a level: walls around, floor with the overlay, both baskets, the three
// barrier groups each beside its switch, the hazards, the miner and two nuggets.
const char *const SCENE_TILES[] = {
    "wwwwvwwwwvww",
    "wffffffffffw",
    "wffoffffffov",
    "wffffYffZffw",
    "vfUVffWffXfw",
    "wffffoffffff",
    "wwvwwwwvwwww",
};
const char *const SCENE_OBJECTS[] = {
    "000000000000",
    "012002000060",
    "000000000000",
    "000000000700",
    "000050300408",
    "020000000000",
    "000000000000",
};

Image draw_scene(const GameData &data, int area)
{
    const int cols = 12, rows = 7;
    char floor = char('A' + 4 * area), wall = char(floor + 1), wall2 = char(floor + 2),
         overlay = char(floor + 3);
    Image scene(cols * 16, rows * 16);
    for (int r = 0; r < rows; r++)
        for (int c = 0; c < cols; c++) {
            char t = SCENE_TILES[r][c];
            char base = 0, image = 0;
            switch (t) {
            case 'f': image = floor; break;
            case 'w': image = wall; break;
            case 'v': image = wall2; break;
            case 'o': base = floor; image = overlay; break;
            case 'Y': base = floor; image = 'Y'; break;
            case 'Z': base = 'E'; image = 'Z'; break;
            default: image = t; break;
            }
            if (base)
                draw_sprite(scene, data.tiles.at(base), c * 16, r * 16);
            draw_sprite(scene, data.tiles.at(image), c * 16, r * 16);
            char o = SCENE_OBJECTS[r][c];
            if (o != '0')
                draw_sprite(scene, data.objects.at(o), c * 16, r * 16);
        }
    return shown(scene);
}

constexpr int ZOOM = 4, CELL = 16 * ZOOM, GAP = 10;
constexpr int SCENE_ZOOM = 2, SCENE_W = 12 * 16 * SCENE_ZOOM, SCENE_H = 7 * 16 * SCENE_ZOOM;
constexpr int TILES_H = 40 + 7 * (CELL + 26);
constexpr int SCENES_H = 3 * (SCENE_H + 34);

// Raw tiles and objects, pink shown as pink: five area blocks, the specials, the objects and
// the cursor beside them.
void draw_cell_rows(Image &sheet, const GameData &data, const std::string &font)
{
    const std::string rows[] = {"ABCD", "EFGH", "IJKL", "MNOP", "QRST", "UVWXYZ", "12345678"};
    const char *row_names[] = {"area 1", "area 2", "area 3", "area 4", "area 5",
                               "barriers, baskets", "objects"};
    int y = 20;
    for (int r = 0; r < 7; r++) {
        draw_label(sheet, font, 18, row_names[r], 20, y, 0xE0E0E0);
        int x = 130;
        for (char c : rows[r]) {
            const Image &img = r == 6 ? data.objects.at(c) : data.tiles.at(c);
            fill_rect(sheet, x - 2, y - 2, CELL + 4, CELL + 4, 0x101014);
            Image raw = shown(img);
            for (int j = 0; j < 16; j++)
                for (int i = 0; i < 16; i++)
                    fill_rect(sheet, x + i * ZOOM, y + j * ZOOM, ZOOM, ZOOM, raw.at(i, j));
            draw_label(sheet, font, 14, std::string(1, c), x + CELL + 3, y + CELL - 16, 0xB0B0B0);
            x += CELL + GAP + 12;
        }
        if (r == 6) {
            fill_rect(sheet, x - 2, y - 2, data.cursor.width * ZOOM + 4,
                      data.cursor.height * ZOOM + 4, 0x101014);
            draw_sprite(sheet, shown(data.cursor), x, y, ZOOM);
        }
        y += CELL + 26;
    }
}

// Each area as in play, two to a row.
void draw_area_scenes(Image &sheet, const GameData &data, const std::string &font)
{
    for (int area = 0; area < 5; area++) {
        int sx = 40 + (area % 2) * (SCENE_W + 30);
        int sy = TILES_H + (area / 2) * (SCENE_H + 34);
        draw_label(sheet, font, 18, "area " + std::to_string(area + 1), sx, sy, 0xE0E0E0);
        draw_sprite(sheet, draw_scene(data, area), sx, sy + 22, SCENE_ZOOM);
    }
}

// In the free place after the five areas: each switch beside its bars, as seen with each
// deficiency, so that an artist sees at once whether the marks and the shades carry them.
void draw_barriers_as_seen(Image &sheet, const GameData &data, const std::string &font)
{
    const char *const pictures[] = {"o4", "tX", "o3", "tW", "o5", "tU", "tV"};
    const int sx = 40 + SCENE_W + 30, sy = TILES_H + 2 * (SCENE_H + 34);
    draw_label(sheet, font, 18, "switches and bars without colour vision", sx, sy, 0xE0E0E0);
    int y = sy + 26;
    for (Deficiency d : DEFICIENCIES) {
        draw_label(sheet, font, 14, deficiency_name(d), sx, y + 8, 0xB0B0B0);
        int x = sx + 90;
        for (const char *name : pictures) {
            Image cell = data.tiles.at('A');  // the switches on area 1's earth
            const bool object = name[0] == 'o';
            draw_sprite(cell, object ? data.objects.at(name[1]) : data.tiles.at(name[1]), 0, 0);
            draw_sprite(sheet, image_as_seen(shown(cell), d), x, y, 2);
            x += 32 + (object ? 4 : 12);
        }
        y += 32 + 16;
    }
}

// The title with the menu words, the hover boxes outlined, "Ajuda" highlighted; beside it the
// title alone.
void draw_title_with_menu(Image &sheet, const Image &title, const std::string &font)
{
    int tx = 40, ty = TILES_H + SCENES_H + 20;
    Image t = title;
    const char *words[] = {"Iniciar", "Ajuda", "Opcoes", "Sair"};
    const int box_right[] = {210, 205, 220, 160};
    for (int i = 0; i < 4; i++) {
        int wy = 180 + 45 * i;
        draw_label(t, font, 40, words[i], 90, wy, i == 1 ? 0xFFFF29 : 0xEBEBEB);
        for (int x = 90; x <= box_right[i]; x++) {
            blend_pixel(t, x, wy, 0x60A0FF, 0.5);
            blend_pixel(t, x, wy + 40, 0x60A0FF, 0.5);
        }
        for (int yy = wy; yy <= wy + 40; yy++) {
            blend_pixel(t, 90, yy, 0x60A0FF, 0.5);
            blend_pixel(t, box_right[i], yy, 0x60A0FF, 0.5);
        }
    }
    draw_sprite(sheet, shown(t), tx, ty);
    draw_label(sheet, font, 18, "title, menu words and their hover boxes", tx + TITLE_WIDTH + 20,
               ty, 0xE0E0E0);
    draw_sprite(sheet, shown(title), tx + TITLE_WIDTH + 20, ty + 30, 1);
}

}  // namespace

Image draw_contact_sheet(const GameData &data, const Image &title, const std::string &font)
{
    const int width = std::max(40 + 2 * SCENE_W + 30 + 40, 40 + 2 * TITLE_WIDTH + 20 + 40);
    Image sheet(width, TILES_H + SCENES_H + TITLE_HEIGHT + 80, SHEET_BACKGROUND);
    draw_cell_rows(sheet, data, font);
    draw_area_scenes(sheet, data, font);
    draw_barriers_as_seen(sheet, data, font);
    draw_title_with_menu(sheet, title, font);
    return sheet;
}
