// The tile and object layers, step repaints, the status line and the copy of the playfield to
// the screen.
#include "play/playfield_render.h"

#include "level/cell_catalogue.h"
#include "level/game_resources.h"
#include "platform/window.h"

void draw_cell_image(BITMAP *target, BITMAP *image, int row, int col)
{
    if (target && image)
        draw_sprite(target, image, col * CELL_SIZE, row * CELL_SIZE);
}

static BITMAP *tile_image(char letter) { return letter ? tile_bitmap(letter) : nullptr; }

void draw_tile_layer(BITMAP *buffer, const LevelGrids &grids, int area)
{
    for (int row = 0; row < MAP_ROWS; row++)
        for (int col = 0; col < MAP_COLS; col++) {
            TileDrawing drawing = tile_drawing(grids.tile_map[row][col], area);
            draw_cell_image(buffer, tile_image(drawing.base), row, col);
            draw_cell_image(buffer, tile_image(drawing.image), row, col);
        }
}

void draw_tile_layer() { draw_tile_layer(back_buffer, level_grids, game_state.area); }

void draw_object_layer(BITMAP *buffer, const LevelGrids &grids)
{
    for (int row = 0; row < MAP_ROWS; row++)
        for (int col = 0; col < MAP_COLS; col++) {
            char image = object_image(grids.object_map[row][col]);
            if (image)
                draw_cell_image(buffer, object_bitmap(image), row, col);
        }
}

void draw_object_layer() { draw_object_layer(back_buffer, level_grids); }

void paint_step(BITMAP *buffer, const StepReport &report, int area)
{
    for (int i = 0; i < report.paint_count; i++) {
        const PaintedCell &cell = report.paints[i];
        BITMAP *image = cell.paint == CellPaint::nugget ? object_bitmap('2')
                                                         : tile_bitmap(area_floor(area));
        draw_cell_image(buffer, image, cell.row, cell.col);
    }
}

int present_frame(BITMAP *buffer, const GameState &state)
{
    // Plain area floor wipes the miner's last image and whatever he walked off.
    draw_cell_image(buffer, tile_bitmap(area_floor(state.area)), state.prev_row, state.prev_col);
    draw_cell_image(buffer, object_bitmap('1'), state.player_row, state.player_col);
    BITMAP *screen_target = pf_screen();
    if (screen_target && buffer)
        draw_sprite(screen_target, buffer, 0, 0);
    return pf_present();
}

int present_frame() { return present_frame(back_buffer, game_state); }

void draw_status_line(BITMAP *buffer, const GameState &state)
{
    if (!buffer)
        return;
    const int light_grey = makecol(238, 238, 238);
    // The bar goes first so that a shorter value never leaves digits of a longer one behind.
    textprintf_ex(buffer, font, 0, STATUS_Y, makecol(175, 175, 175), light_grey, "%s", STATUS_BAR);
    const unsigned time = state.time.load();
    const char *name = state.difficulty_name ? state.difficulty_name : "";
    textprintf_ex(buffer, font, 1, STATUS_Y, 0, light_grey, "Fase: %d", state.level);
    textprintf_ex(buffer, font, 99, STATUS_Y, 0, light_grey, "Area: %d", state.area);
    textprintf_ex(buffer, font, 188, STATUS_Y, 0, light_grey, "Nivel: %s", name);
    textprintf_ex(buffer, font, 335, STATUS_Y, 0, light_grey, "Vidas: %d", state.lives);
    textprintf_ex(buffer, font, 430, STATUS_Y, 0, light_grey, "Tempo: %d", (int)time);
    if (time <= LAST_SECONDS) {
        // Light on black, so that it stands out without colour; "Tempo:" joins in every other
        // second, so that the line changes as each second goes.
        const bool whole = time % 2 == 1;
        textprintf_ex(buffer, font, whole ? 430 : 486, STATUS_Y, light_grey, 0,
                      whole ? "Tempo: %d" : "%d", (int)time);
    }
}

void draw_status_line() { draw_status_line(back_buffer, game_state); }
