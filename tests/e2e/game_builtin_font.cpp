// The library's built-in 8 x 8 font, rendered in the test process to compare board text with.
#include "game_support.h"

#include <allegro.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

std::vector<bool> builtin_font_ink(const std::string &text)
{
    // No window: memory bitmaps only, as the unit tests draw them.
    static bool installed = install_allegro(SYSTEM_NONE, &errno, atexit) == 0;
    if (!installed)
        throw std::runtime_error("Allegro does not start in the test process");
    set_color_depth(8);
    int width = 8 * (int)text.size();
    BITMAP *cells = create_bitmap(width, 8);
    if (!cells)
        throw std::runtime_error("no memory bitmap for the font");
    clear_to_color(cells, 0);
    textout_ex(cells, font, text.c_str(), 0, 0, 1, 0);
    std::vector<bool> ink((size_t)width * 8);
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < width; x++)
            ink[(size_t)y * width + x] = getpixel(cells, x, y) == 1;
    destroy_bitmap(cells);
    return ink;
}
