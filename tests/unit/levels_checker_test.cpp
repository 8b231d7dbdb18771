// The level checker: the broken levels it refuses, and a search that neither misses a solution
// that needs a careful order nor accepts a level that cannot be won.
#include "level_check.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "level_test_files.h"
#include "solution_replay.h"

namespace {

// Lays a small map at row 1, column 1 of a level whose other cells are wall 'B' with no
// object, and writes it as level 1 in `dir`. Map characters: '#' wall, '.' floor, '@' miner,
// 'o' nugget, 'Y' basket, 'W' barrier, '3' its switch, '6' hazard; anything else is copied
// to the tile file as it is.
void write_map(const TempDir &dir, const std::vector<std::string> &map)
{
    std::vector<std::string> tiles = uniform_rows('B'), objects = uniform_rows('0');
    for (size_t r = 0; r < map.size(); r++)
        for (size_t c = 0; c < map[r].size(); c++) {
            char &tile = tiles[r + 1][c + 1];
            char &object = objects[r + 1][c + 1];
            switch (map[r][c]) {
            case '#': tile = 'B'; break;
            case '.': tile = 'A'; break;
            case '@': tile = 'A'; object = '1'; break;
            case 'o': tile = 'A'; object = '2'; break;
            case '3': case '6': tile = 'A'; object = map[r][c]; break;
            default: tile = map[r][c]; break;
            }
        }
    dir.write("fase01.plt", level_text(tiles));
    dir.write("fase01.plo", level_text(objects));
}

LevelReport check_map(const std::vector<std::string> &map, CheckOptions options = {})
{
    TempDir dir;
    write_map(dir, map);
    return check_level(dir.path.string(), 1, options);
}

// Every error of `report` in one text, for messages and substring tests.
std::string errors_of(const LevelReport &report)
{
    std::string all;
    for (const std::string &e : report.errors)
        all += e + "\n";
    return all;
}

}  // namespace

TEST(LevelChecker, SolvesAStraightPushAndReplaysIt)
{
    LevelReport report = check_map({"#######", "#@.o.Y#", "#######"});
    ASSERT_TRUE(report.passed()) << errors_of(report);
    EXPECT_EQ(report.nuggets, 1);
    EXPECT_EQ(report.pushes, 2);
    EXPECT_EQ(report.solution, "RRR");  // one step to the nugget, two pushes into the basket
    EXPECT_EQ(report.frames, 3);
    EXPECT_EQ(report.countdown, 33);
    EXPECT_TRUE(report.warnings.empty());
}

TEST(LevelChecker, RefusesBrokenLevels)
{
    struct Case {
        const char *what;
        std::vector<std::string> map;
        const char *error;
    } cases[] = {
        {"no miner", {"#######", "#..o.Y#", "#######"}, "no miner"},
        {"two miners", {"#######", "#@.o@Y#", "#######"}, "2 miners"},
        {"no basket", {"#######", "#@.o..#", "#######"}, "no basket"},
        {"no nugget", {"#######", "#@...Y#", "#######"}, "no nugget"},
        {"nugget cornered",
         {"#######", "#o..@.#", "#....Y#", "#######"},
         "can never reach a basket"},
        {"no way behind the nugget", {"#######", "#@#.oY#", "#######"}, "no solution"},
        {"hazard on the only way", {"#########", "#@6..o.Y#", "#########"}, "unsolvable"},
        {"switch behind its own barrier",
         {"########", "#@.o.WY#", "#####W##", "#####3##", "########"},
         "unsolvable"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        LevelReport report = check_map(c.map);
        EXPECT_FALSE(report.passed());
        EXPECT_NE(errors_of(report).find(c.error), std::string::npos) << errors_of(report);
    }

    // Objects where they can never work: a nugget in a wall, a switch on a barrier.
    struct Raw {
        const char *tiles, *objects, *error;
    } raws[] = {
        {"AAABY", "12020", "nugget lies on a non-floor tile"},
        {"AAAWY", "12030", "keeps it shut"},
    };
    for (const Raw &raw : raws) {
        SCOPED_TRACE(raw.error);
        TempDir dir;
        std::vector<std::string> tiles = uniform_rows('B'), objects = uniform_rows('0');
        tiles[1].replace(1, 5, raw.tiles);
        objects[1].replace(1, 5, raw.objects);
        dir.write("fase01.plt", level_text(tiles));
        dir.write("fase01.plo", level_text(objects));
        EXPECT_NE(errors_of(check_level(dir.path.string(), 1, {})).find(raw.error),
                  std::string::npos);
    }
}

TEST(LevelChecker, RefusesFilesOfTheWrongShapeOrCharacters)
{
    const std::vector<std::string> good_tiles = uniform_rows('B'), good_objects = uniform_rows('0');
    struct Case {
        const char *what;
        std::string tiles, objects;
        const char *error;
    } cases[] = {
        {"23 lines", level_text(uniform_rows('B', 23)), level_text(good_objects), "23 lines"},
        {"a long line", "B" + level_text(good_tiles), level_text(good_objects),
         "line 1 has 33 characters"},
        {"a lower-case tile", level_text(uniform_rows('b')), level_text(good_objects),
         "unknown character 'b'"},
        {"a digit 9", level_text(good_tiles), level_text(uniform_rows('9')),
         "unknown character '9'"},
        {"barrier on the top row",
         level_text(uniform_rows('W', 1)) + level_text(uniform_rows('B', 23)),
         level_text(good_objects), "outer edge"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        dir.write("fase01.plt", c.tiles);
        dir.write("fase01.plo", c.objects);
        LevelReport report = check_level(dir.path.string(), 1, {});
        EXPECT_FALSE(report.passed());
        EXPECT_NE(errors_of(report).find(c.error), std::string::npos) << errors_of(report);
    }

    TempDir empty;
    LevelReport missing = check_level(empty.path.string(), 1, {});
    EXPECT_NE(errors_of(missing).find("fase01.plt cannot be read"), std::string::npos);
    EXPECT_NE(errors_of(missing).find("fase01.plo cannot be read"), std::string::npos);
}

TEST(LevelChecker, FindsAnOrderThatNeedsAPassingBay)
{
    // The first nugget must go exactly one cell into the bay's mouth so that the miner can
    // slip past it; one cell further and both nuggets are stuck.
    LevelReport report =
        check_map({"############", "#@..o..o..Y#", "####...#####", "############"});
    ASSERT_TRUE(report.passed()) << errors_of(report);
    EXPECT_EQ(report.nuggets, 2);

    LevelReport no_bay = check_map({"############", "#@..o..o..Y#", "############"});
    EXPECT_NE(errors_of(no_bay).find("no solution"), std::string::npos) << errors_of(no_bay);
}

TEST(LevelChecker, NeverVisitsMoreStatesThanItsBound)
{
    // The passing bay makes the search branch and nest run searches inside its states.
    const std::vector<std::string> bay = {"############", "#@..o..o..Y#", "####...#####",
                                          "############"};
    LevelReport unbounded = check_map(bay);
    ASSERT_TRUE(unbounded.passed()) << errors_of(unbounded);
    const long needed = unbounded.states;
    ASSERT_GT(needed, 4);

    for (long bound : {1L, 2L, needed / 2, needed - 1}) {
        SCOPED_TRACE("bound " + std::to_string(bound));
        CheckOptions options;
        options.max_states = bound;
        LevelReport report = check_map(bay, options);
        EXPECT_LE(report.states, bound);
        EXPECT_NE(errors_of(report).find("gave up"), std::string::npos) << errors_of(report);
    }
    CheckOptions exact;
    exact.max_states = needed;
    LevelReport report = check_map(bay, exact);
    EXPECT_TRUE(report.passed()) << errors_of(report);
    EXPECT_EQ(report.states, needed);
}

TEST(LevelChecker, TakesSwitchesAndWalksAroundHazards)
{
    // The switch opens the barrier between the nugget and the basket; the straight way to the
    // switch crosses a hazard, the way round does not.
    LevelReport report =
        check_map({"#########", "#@6.3...#", "#...#.oW#", "#####..Y#", "#########"});
    ASSERT_TRUE(report.passed()) << errors_of(report);
}

TEST(LevelChecker, NamesASwitchThatOnlyAHazardLeadsTo)
{
    auto hazard_warnings = [](const LevelReport &report) {
        std::string all;
        for (const std::string &w : report.warnings)
            if (w.find("across a hazard") != std::string::npos)
                all += w + "\n";
        return all;
    };
    // The switch below the hazard is never taken, but the level needs no switch: it passes,
    // with a warning naming the switch's cell (row 4, column 3 once the map is laid out).
    LevelReport spare =
        check_map({"########", "#@.o.Y##", "##6#####", "##3#####", "########"});
    EXPECT_TRUE(spare.passed()) << errors_of(spare);
    EXPECT_NE(hazard_warnings(spare).find("switch '3' at row 4, column 3"), std::string::npos)
        << hazard_warnings(spare);

    // The same switch guards the only way to the basket: refused, and the refusal says why.
    LevelReport needed =
        check_map({"########", "#@.o.WY#", "##6#####", "##3#####", "########"});
    EXPECT_FALSE(needed.passed());
    EXPECT_NE(errors_of(needed).find("the switch at row 4, column 3 lies beyond a hazard"),
              std::string::npos)
        << errors_of(needed);

    // A way round the hazard: no warning.
    EXPECT_EQ(hazard_warnings(
                  check_map({"#########", "#@6.3...#", "#...#.oW#", "#####..Y#", "#########"})),
              "");
}

TEST(LevelChecker, MeasuresEffortNaivePlayAndDeadFloor)
{
    // Start, one push, the win: the uninformed search looks at three states.
    LevelReport straight = check_map({"#######", "#@.o.Y#", "#######"});
    ASSERT_TRUE(straight.passed()) << errors_of(straight);
    EXPECT_EQ(straight.effort, 3);
    EXPECT_FALSE(straight.effort_capped);
    EXPECT_TRUE(straight.naive_wins);
    EXPECT_DOUBLE_EQ(straight.walk_ratio(), 3.0 / 2);

    // The nugget nearer the basket is behind the other: the naive player walks into it.
    LevelReport bay =
        check_map({"############", "#@..o..o..Y#", "####...#####", "############"});
    ASSERT_TRUE(bay.passed()) << errors_of(bay);
    EXPECT_FALSE(bay.naive_wins);
    CheckOptions capped;
    capped.effort_cap = 5;
    LevelReport short_of_breath =
        check_map({"############", "#@..o..o..Y#", "####...#####", "############"}, capped);
    EXPECT_EQ(short_of_breath.effort, 5);
    EXPECT_TRUE(short_of_breath.effort_capped);
    EXPECT_GT(bay.effort, 5);

    // A switch he can walk to is the first thing he takes; a barrier he cannot open yet leaves
    // him without a plan even when the switch is one push away.
    EXPECT_TRUE(check_map({"#########", "#@6.3...#", "#...#.oW#", "#####..Y#", "#########"})
                    .naive_wins);
    LevelReport locked = check_map({"#########", "#@o..W.Y#", "##.######", "##3######", "#########"});
    ASSERT_TRUE(locked.passed()) << errors_of(locked);
    EXPECT_FALSE(locked.naive_wins);

    // The top row of this room can never go down, nor the cell in the bottom-left corner:
    // six of nine floor cells are dead.
    LevelReport corner = check_map({"#######", "#o..@.#", "#....Y#", "#######"}, capped);
    EXPECT_EQ(corner.floor_cells, 9);
    EXPECT_EQ(corner.dead_cells, 6);
}

TEST(LevelChecker, CountsTheFewestParkingsAndKeepsASolutionWithNoMore)
{
    // The corridor's nuggets block the miner's way to the ones beyond them: each must be nudged
    // into a bay's mouth, left there while the miner slips round it, and finished last.
    const std::vector<std::string> two_bays = {"#################", "#@..o...o...o..Y#",
                                               "####...#...######", "#################"};
    struct Case {
        const char *what;
        std::vector<std::string> map;
        int parkings;
        const char *one_at_a_time;
    } cases[] = {
        {"one nugget", {"#######", "#@.o.Y#", "#######"}, 0, "wins"},
        {"a switch fetched half-way",
         {"#########", "#@o..W.Y#", "##.######", "##3######", "#########"}, 0, "wins"},
        {"two baskets, either order", {"#######", "#Y.o@.#", "#..o..#", "#....Y#", "#######"}, 0,
         "wins"},
        {"one bay", {"############", "#@..o..o..Y#", "####...#####", "############"}, 1, "fails"},
        {"two bays", two_bays, 2, "fails"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        LevelReport report = check_map(c.map);
        ASSERT_TRUE(report.passed()) << errors_of(report);
        EXPECT_EQ(report.parkings, c.parkings);
        EXPECT_STREQ(report.one_at_a_time(), c.one_at_a_time);
        EXPECT_EQ(report.solution_parkings, c.parkings);
    }

    // Short of states, the search says what it proved; the solver's solution is still proved.
    CheckOptions short_of_states;
    for (long bound : {1L, 40L, 100L}) {
        SCOPED_TRACE("bound " + std::to_string(bound));
        short_of_states.parking_states = bound;
        LevelReport report = check_map(two_bays, short_of_states);
        EXPECT_TRUE(report.passed()) << errors_of(report);
        EXPECT_EQ(report.parkings, -1);
        EXPECT_LE(report.parking_states, bound);
        EXPECT_LE(report.parkings_at_least, 2);
        EXPECT_STREQ(report.one_at_a_time(), report.parkings_at_least > 0 ? "fails" : "?");
        if (bound == 1) {
            EXPECT_STREQ(report.one_at_a_time(), "?");
        }
    }
}

TEST(LevelChecker, ReplayCountsEachNuggetLeftPartWay)
{
    // In the one-bay corridor: nudge the first nugget, slip round it, push the second (one
    // parking), come back and push the first again (two), which now runs into the second.
    TempDir dir;
    write_map(dir, {"############", "#@..o..o..Y#", "####...#####", "############"});
    GameState state;
    auto grids = std::make_unique<LevelGrids>();
    GameSettings settings;
    apply_settings(state, settings);
    load_level(state, *grids, 1, [&dir](const std::string &name) {
        return open_level_file(dir.at(name.substr(name.find('/') + 1)));
    });
    ASSERT_EQ(state.nuggets_remaining, 2);
    ReplayResult replay = replay_solution(state, *grids, "RRRDRRURLDLLURRR");
    EXPECT_FALSE(replay.won);
    EXPECT_EQ(replay.parkings, 2);
}

TEST(LevelChecker, RefusesASolutionLongerThanAThirdOfTheCountdown)
{
    // Four frames; one nugget grants 33 s, of which a fair level needs at most 11.
    const std::vector<std::string> map = {"########", "#@..o.Y#", "########"};
    for (int delay_ms : {10000, 3000}) {  // 40 s, beyond the countdown; 12 s, within it
        SCOPED_TRACE(delay_ms);
        CheckOptions slow;
        slow.frame_delay_ms = delay_ms;
        LevelReport report = check_map(map, slow);
        EXPECT_NE(errors_of(report).find("more than 11 s, 1/3 of the countdown of 33 s"),
                  std::string::npos)
            << errors_of(report);
    }
    CheckOptions fits;
    fits.frame_delay_ms = 2750;  // 11 s exactly
    EXPECT_TRUE(check_map(map, fits).passed());
}

TEST(LevelChecker, WarnsWhenTheMinerCanWalkUnderTheStatusLine)
{
    TempDir dir;
    std::vector<std::string> tiles = uniform_rows('B'), objects = uniform_rows('0');
    tiles[21].replace(1, 4, "AAAY");
    tiles[22][1] = tiles[23][1] = 'A';
    objects[21][1] = '1';
    objects[21][2] = '2';
    dir.write("fase01.plt", level_text(tiles));
    dir.write("fase01.plo", level_text(objects));
    LevelReport report = check_level(dir.path.string(), 1, {});
    EXPECT_TRUE(report.passed()) << errors_of(report);
    ASSERT_EQ(report.warnings.size(), 1u);
    EXPECT_NE(report.warnings[0].find("row 23"), std::string::npos);
}

TEST(LevelChecker, SolutionFilesKeepTheirLettersAndRefuseOthers)
{
    TempDir dir;
    const std::string letters(150, 'U');
    ASSERT_TRUE(write_solution_file(dir.at("a.txt"), letters + "DLR"));
    std::string read, error;
    ASSERT_TRUE(read_solution_file(dir.at("a.txt"), read, error)) << error;
    EXPECT_EQ(read, letters + "DLR");

    dir.write("b.txt", "UUD\nLXR\n");
    EXPECT_FALSE(read_solution_file(dir.at("b.txt"), read, error));
    EXPECT_NE(error.find("'X'"), std::string::npos);
    EXPECT_FALSE(read_solution_file(dir.at("missing.txt"), read, error));
}
