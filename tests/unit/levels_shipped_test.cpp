// The twenty shipped levels: every stored solution, replayed key by key through the frame rules
// from a fresh load, wins its level within the hardest countdown, and every level keeps its
// area's floor and a closed outer edge.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "level/cell_catalogue.h"
#include "level/level_file.h"
#include "play/game_state.h"
#include "play/move_rules.h"
#include "solution_replay.h"

namespace {

const std::string DATA_DIR = LEVELS_DATA_DIR;

struct ShippedLevel {
    GameState state;
    LevelGrids grids{};
};

// Level `level` from data/fases as the game starts it at the hardest difficulty.
std::unique_ptr<ShippedLevel> load_shipped(int level)
{
    auto shipped = std::make_unique<ShippedLevel>();
    shipped->state.level = level;
    shipped->state.area = (level - 1) / 4 + 1;
    apply_difficulty(shipped->state, 3);
    load_level(shipped->state, shipped->grids, level,
               [](const std::string &name) { return open_level_file(DATA_DIR + "/" + name); });
    return shipped;
}

std::string solution_path(int level)
{
    char name[32];
    std::snprintf(name, sizeof name, "/solutions/fase%02d.txt", level);
    return DATA_DIR + name;
}

Direction key_direction(char key)
{
    switch (key) {
    case 'U': return Direction::up;
    case 'D': return Direction::down;
    case 'L': return Direction::left;
    default: return Direction::right;
    }
}

}  // namespace

TEST(ShippedLevels, EveryStoredSolutionWinsWithinTheHardestCountdown)
{
    for (int level = 1; level <= LEVEL_COUNT; level++) {
        SCOPED_TRACE("level " + std::to_string(level));
        auto shipped = load_shipped(level);
        GameState &state = shipped->state;
        ASSERT_GT(state.nuggets_remaining, 0);
        std::string keys, error;
        ASSERT_TRUE(read_solution_file(solution_path(level), keys, error)) << error;

        size_t frames = 0;
        while (frames < keys.size() && state.nuggets_remaining > 0) {
            play_step(state, shipped->grids, key_direction(keys[frames++]));
            ASSERT_FALSE(state.hazard_touched) << "hazard at frame " << frames;
        }
        EXPECT_EQ(state.nuggets_remaining, 0);
        EXPECT_EQ(frames, keys.size()) << "keys left over after the win";
        // At the slowest speed (85 ms a frame) a third of the countdown at 33 s a nugget must
        // suffice.
        EXPECT_LE(frames * 85, state.time * 1000u / 3);
    }
}

TEST(ShippedLevels, KeepTheirAreaFloorAndAClosedEdge)
{
    for (int level = 1; level <= LEVEL_COUNT; level++) {
        SCOPED_TRACE("level " + std::to_string(level));
        auto shipped = load_shipped(level);
        const char floor = area_floor(shipped->state.area);
        for (int row = 0; row < MAP_ROWS; row++)
            for (int col = 0; col < MAP_COLS; col++) {
                const char tile = shipped->grids.tile_map[row][col];
                if (is_floor_tile(tile)) {
                    EXPECT_EQ(tile, floor) << "row " << row << " column " << col;
                }
                // Row 23 lies under the status line; the other edges frame the level.
                if (row == 0 || row == MAP_ROWS - 1 || col == 0 || col == MAP_COLS - 1) {
                    EXPECT_EQ(tile_role(tile), TILE_BLOCKING) << "row " << row << " column " << col;
                }
            }
    }
}
