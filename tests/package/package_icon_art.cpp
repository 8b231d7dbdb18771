// The expected window icon, from the data builder's own drawing (kept apart from the rig's
// header: both name a colour type Rgb).
#include "game_data.h"
#include "game_icon.h"

#include <cstdint>
#include <string>
#include <vector>

std::vector<uint8_t> expected_window_icon(const std::string &data_dir, int &width, int &height)
{
    Image icon = draw_game_icon(read_game_data(data_dir));
    Image art = enlarge(icon, WINDOW_ICON_SIZE / icon.width);
    width = art.width;
    height = art.height;
    std::vector<uint8_t> rgb;
    for (Rgb c : art.pixels) {
        rgb.push_back(uint8_t(red_of(c)));
        rgb.push_back(uint8_t(green_of(c)));
        rgb.push_back(uint8_t(blue_of(c)));
    }
    return rgb;
}
