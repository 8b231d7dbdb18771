// The expected window icon, from the data builder's own drawing (kept apart from the rig's
// header: both name a colour type Rgb).
#include "game_data.h"
#include "game_icon.h"

#include <string>
#include <vector>

std::vector<unsigned long> expected_window_icon(const std::string &data_dir, int size)
{
    Image icon = draw_game_icon(read_game_data(data_dir));
    std::vector<unsigned long> argb;
    for (Rgb c : enlarge(icon, size / icon.width).pixels)
        argb.push_back(c == PINK ? 0ul : 0xFF000000ul | c);
    return argb;
}
