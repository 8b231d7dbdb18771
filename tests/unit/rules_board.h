// A small board for the rule tests: a state and grids laid out from rows of text.
#pragma once

#include "level/level_data.h"
#include "play/game_state.h"

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

struct Board {
    GameState state;
    LevelGrids grids;

    // Every tile `tile`, every object `object`, the miner at (0, 0).
    explicit Board(char tile = 'B', char object = '0')
    {
        std::memset(grids.tile_map, tile, sizeof grids.tile_map);
        std::memset(grids.object_map, object, sizeof grids.object_map);
        state.area = 1;
    }

    // Lays rows of tiles and objects with their top-left cell at (row, col). A '1' among the
    // objects also puts the miner there.
    void lay(int row, int col, const std::vector<std::string> &tiles,
             const std::vector<std::string> &objects)
    {
        for (size_t r = 0; r < tiles.size(); r++)
            for (size_t c = 0; c < tiles[r].size(); c++)
                grids.tile_map[row + r][col + c] = tiles[r][c];
        for (size_t r = 0; r < objects.size(); r++)
            for (size_t c = 0; c < objects[r].size(); c++) {
                grids.object_map[row + r][col + c] = objects[r][c];
                if (objects[r][c] == '1') {
                    state.player_row = row + (int)r;
                    state.player_col = col + (int)c;
                }
            }
    }

    void put_miner(int row, int col)
    {
        state.player_row = row;
        state.player_col = col;
    }
};

// Every field of a state in one line, so that "nothing changed" is one comparison with a
// readable difference.
inline std::string describe(const GameState &s)
{
    std::ostringstream out;
    out << "area " << s.area << " level " << s.level << " lives " << s.lives << " name "
        << (s.difficulty_name ? s.difficulty_name : "-") << " spn " << s.seconds_per_nugget
        << " music " << int(s.music_on) << " delay " << s.frame_delay << " time " << s.time.load()
        << " player " << s.player_row << "," << s.player_col << " prev " << s.prev_row << ","
        << s.prev_col << " nuggets " << s.nuggets_remaining << " opened x" << int(s.x_opened)
        << " w" << int(s.w_opened) << " uv" << int(s.uv_opened) << " hazard "
        << int(s.hazard_touched) << " ends " << int(s.life_lost) << int(s.out_of_lives)
        << int(s.completed) << " close " << s.close_requested.load();
    return out.str();
}

inline bool same_grids(const LevelGrids &a, const LevelGrids &b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}
