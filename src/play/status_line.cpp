// The status line, painted into the back buffer at the start of every frame.
#include "play/status_line.h"

#include "level/game_resources.h"

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
}

void draw_status_line() { draw_status_line(back_buffer, game_state); }
