// The expected window icon, from the data builder's own drawing (kept apart from the rig's
// header: both name a colour type Rgb).
#include "game_data.h"
#include "game_icon.h"

#include <cstdint>
#include <string>
#include <vector>

std::vector<uint8_t> expected_window_icon(const std::string &data_dir, int size)
{
    Image icon = draw_game_icon(read_game_data(data_dir));
    Image art = enlarge(icon, size / icon.width);
    std::vector<uint8_t> rgba;
    for (Rgb c : art.pixels) {
        bool clear = c == PINK;
        rgba.push_back(uint8_t(clear ? 0 : red_of(c)));
        rgba.push_back(uint8_t(clear ? 0 : green_of(c)));
        rgba.push_back(uint8_t(clear ? 0 : blue_of(c)));
        rgba.push_back(uint8_t(clear ? 0 : 255));
    }
    return rgba;
}
