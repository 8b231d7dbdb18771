// The twenty shipped levels: every stored solution, replayed key by key through the frame rules
// from a fresh load, wins its level within a third of the hardest countdown; every level keeps
// its area's floor and a closed outer edge; the set keeps its ramp and its variety.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "level/cell_catalogue.h"
#include "level/level_file.h"
#include "play/game_state.h"
#include "play/move_rules.h"
#include "level_check.h"
#include "level_figures.h"
#include "solution_replay.h"

namespace {

const std::string DATA_DIR = LEVELS_DATA_DIR;

// A tile that neither the miner nor a nugget can ever be on ('.', lower case, walls...).
bool blocks(char tile)
{
    return !is_floor_tile(tile) && !is_barrier_tile(tile) && !is_basket_tile(tile);
}

struct ShippedLevel {
    GameState state;
    LevelGrids grids{};
};

// Level `level` from data/fases as the game starts it at the hardest difficulty.
std::unique_ptr<ShippedLevel> load_shipped(int level)
{
    auto shipped = std::make_unique<ShippedLevel>();
    GameSettings settings;
    settings.start_level = level;
    settings.difficulty = 3;
    apply_settings(shipped->state, settings);
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
                    EXPECT_TRUE(blocks(tile)) << "row " << row << " column " << col;
                }
            }
    }
}

namespace {

// What the set asks of the levels from `first` to `last`: a plan, measured by the fewest
// parkings a solution needs, and a room of at least `room` floor cells the miner may stand on.
struct LevelTarget {
    int first, last;
    int parkings;
    int room;
};
const LevelTarget LEVEL_TARGETS[] = {
    {5, LEVEL_COUNT, 1, 0},
    {9, LEVEL_COUNT, 1, 40},
    {13, LEVEL_COUNT, 2, 40},
    {LEVEL_COUNT, LEVEL_COUNT, 3, 40},
};
// Rooms that use the board: at least this many levels of at least 90 floor cells.
constexpr int LARGE_ROOM = 90, LARGE_ROOMS = 4;

// Every level's figures: from the report of the level checker's own test where ctest names it
// (LEVEL_REPORT), else checked here.
std::vector<LevelReport> checked_levels()
{
    std::vector<LevelReport> reports;
    if (const char *path = std::getenv("LEVEL_REPORT")) {
        std::ifstream in(path);
        std::string line;
        LevelReport r;
        while (std::getline(in, line) && read_report_line(line, r))
            reports.push_back(r);
        return reports;
    }
    for (int level = 1; level <= LEVEL_COUNT; level++)
        reports.push_back(check_level(DATA_DIR + "/fases", level, {}));
    return reports;
}

}  // namespace

TEST(ShippedLevels, RampUpAskForThoughtAndStoreSolutionsThatParkNoMoreThanNeeded)
{
    std::vector<long> efforts[std::size(FLOOR_BY_AREA)];
    int naive_wins_in_area_1 = 0, large_rooms = 0;
    long hardest_before_last = 0;  // the last level asks the most effort of all
    const std::vector<LevelReport> reports = checked_levels();
    ASSERT_EQ(reports.size(), size_t(LEVEL_COUNT));
    for (int level = 1; level <= LEVEL_COUNT; level++) {
        SCOPED_TRACE("level " + std::to_string(level));
        const LevelReport &r = reports[level - 1];
        ASSERT_EQ(r.level, level);
        ASSERT_TRUE(r.passed()) << (r.errors.empty() ? "" : r.errors[0]);
        ASSERT_GE(r.area, 1);
        efforts[r.area - 1].push_back(r.effort);

        ASSERT_GE(r.parkings, 0) << "the parking search gave up at " << r.parkings_at_least;
        std::string keys, error;
        ASSERT_TRUE(read_solution_file(solution_path(level), keys, error)) << error;
        auto shipped = load_shipped(level);
        EXPECT_EQ(replay_solution(shipped->state, shipped->grids, keys).parkings, r.parkings)
            << "the stored solution parks where the level needs no parking";
        for (const LevelTarget &t : LEVEL_TARGETS)
            if (level >= t.first && level <= t.last) {
                EXPECT_GE(r.parkings, t.parkings) << "a level won one nugget at a time";
                EXPECT_GE(r.floor_cells, t.room) << "a room too small";
            }
        large_rooms += r.floor_cells >= LARGE_ROOM;
        if (level < LEVEL_COUNT)
            hardest_before_last = std::max(hardest_before_last, r.effort);
        else
            EXPECT_GT(r.effort, hardest_before_last) << "the last level is not the hardest";
        if (r.area == 1) {
            naive_wins_in_area_1 += r.naive_wins;
            continue;
        }
        EXPECT_FALSE(r.naive_wins) << "a level the naive player wins needs no thought";
        EXPECT_LE(r.walk_ratio(), 3.0) << r.frames << " moves for " << r.pushes << " pushes";
    }
    EXPECT_LE(naive_wins_in_area_1, 2);
    EXPECT_GE(large_rooms, LARGE_ROOMS);
    for (size_t area = 1; area < std::size(efforts); area++)
        EXPECT_GT(median(efforts[area]), median(efforts[area - 1])) << "area " << area + 1;
}

namespace {

// The cells of a level the miner or a nugget could ever be on (floor, barriers, baskets), moved
// to the top-left corner, in each of the eight turns and mirrors; the smallest of the eight
// names the plan whatever way it is turned.
std::vector<std::pair<int, int>> plan_of(const LevelGrids &grids)
{
    std::vector<std::pair<int, int>> best;
    for (int turn = 0; turn < 8; turn++) {
        std::vector<std::pair<int, int>> cells;
        for (int row = 0; row < MAP_ROWS; row++)
            for (int col = 0; col < MAP_COLS; col++) {
                if (blocks(grids.tile_map[row][col]))
                    continue;
                int r = turn & 1 ? -row : row, c = turn & 2 ? -col : col;
                if (turn & 4)
                    std::swap(r, c);
                cells.emplace_back(r, c);
            }
        const auto corner = *std::min_element(cells.begin(), cells.end());
        int min_c = cells[0].second;
        for (const auto &cell : cells)
            min_c = std::min(min_c, cell.second);
        for (auto &cell : cells)
            cell = {cell.first - corner.first, cell.second - min_c};
        std::sort(cells.begin(), cells.end());
        if (best.empty() || cells < best)
            best = cells;
    }
    return best;
}

}  // namespace

TEST(ShippedLevels, UseEveryElementTwiceAndNoPlanTwice)
{
    const std::string elements = "345678UVWXYZ";
    int levels_with[12] = {};
    int levels_with_scenery = 0;
    std::set<std::vector<std::pair<int, int>>> plans;
    for (int level = 1; level <= LEVEL_COUNT; level++) {
        SCOPED_TRACE("level " + std::to_string(level));
        auto shipped = load_shipped(level);
        const LevelGrids &g = shipped->grids;
        std::set<char> seen;
        for (int row = 0; row < MAP_ROWS; row++)
            for (int col = 0; col < MAP_COLS; col++) {
                seen.insert(g.tile_map[row][col]);
                seen.insert(g.object_map[row][col]);
            }
        for (size_t i = 0; i < elements.size(); i++)
            levels_with[i] += seen.count(elements[i]) > 0;
        levels_with_scenery += std::any_of(seen.begin(), seen.end(), [](char c) {
            return c == 'D' || c == 'H' || c == 'L' || c == 'P' || c == 'T';
        });
        EXPECT_TRUE(plans.insert(plan_of(g)).second) << "the plan of an earlier level";
    }
    for (size_t i = 0; i < elements.size(); i++)
        EXPECT_GE(levels_with[i], 2) << "'" << elements[i] << "'";
    EXPECT_GE(levels_with_scenery, 2);
}
