// Level file names, the presence check of the twenty pairs, and the positional reader with what
// it derives: barrier lists, nuggets, start cell and countdown.
#include "level/grid_reader.h"
#include "level/level_file.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

#include "level_test_files.h"
#include "play/game_state.h"

namespace {

// One level's worth of state, zero at first as the process-wide records are.
struct Loaded {
    GameState state;
    LevelGrids grids{};
    Loaded() { state.seconds_per_nugget = 36; }
};

std::unique_ptr<Loaded> fresh() { return std::make_unique<Loaded>(); }

// Tiles that differ in every row and column, including barrier letters, so a shifted, dropped
// or misplaced cell shows.
std::vector<std::string> varied_tiles()
{
    std::vector<std::string> rows;
    for (int r = 0; r < MAP_ROWS; r++) {
        std::string row;
        for (int c = 0; c < MAP_COLS; c++)
            row += static_cast<char>('A' + (r * 7 + c) % 26);
        rows.push_back(row);
    }
    return rows;
}

// Empty objects with nuggets on row 2 columns 0..11 and the miner at row 5, column 7.
std::vector<std::string> twelve_nuggets()
{
    std::vector<std::string> rows = uniform_rows('0');
    for (int c = 0; c < 12; c++)
        rows[2][c] = '2';
    rows[5][7] = '1';
    return rows;
}

void write_level(const TempDir &dir, int level, const std::string &tiles, const std::string &objects)
{
    dir.write(level_file_name(level, TILE_FILE_TEMPLATE), tiles);
    dir.write(level_file_name(level, OBJECT_FILE_TEMPLATE), objects);
}

std::string row_of(const char grid[MAP_ROWS][MAP_COLS], int row)
{
    return std::string(grid[row], MAP_COLS);
}

void expect_same_load(const Loaded &a, const Loaded &b)
{
    EXPECT_EQ(0, memcmp(a.grids.tile_map, b.grids.tile_map, sizeof a.grids.tile_map));
    EXPECT_EQ(0, memcmp(a.grids.object_map, b.grids.object_map, sizeof a.grids.object_map));
    const BarrierList *la[] = {&a.grids.w_barriers, &a.grids.x_barriers, &a.grids.uv_barriers};
    const BarrierList *lb[] = {&b.grids.w_barriers, &b.grids.x_barriers, &b.grids.uv_barriers};
    for (int i = 0; i < 3; i++) {
        ASSERT_EQ(la[i]->count, lb[i]->count);
        for (int k = 0; k < la[i]->count; k++) {
            EXPECT_EQ(la[i]->rows[k], lb[i]->rows[k]);
            EXPECT_EQ(la[i]->columns[k], lb[i]->columns[k]);
        }
    }
    EXPECT_EQ(a.state.nuggets_remaining, b.state.nuggets_remaining);
    EXPECT_EQ(a.state.player_row, b.state.player_row);
    EXPECT_EQ(a.state.player_col, b.state.player_col);
    EXPECT_EQ(a.state.time.load(), b.state.time.load());
}

int open_descriptors()
{
    int n = 0;
    for (auto &entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)entry;
        n++;
    }
    return n;
}

}  // namespace

TEST(LevelFileName, PutsTheLevelsTwoDigitsAtPositionsTenAndEleven)
{
    EXPECT_EQ(level_file_name(1, TILE_FILE_TEMPLATE), "fases/fase01.plt");
    EXPECT_EQ(level_file_name(9, OBJECT_FILE_TEMPLATE), "fases/fase09.plo");
    EXPECT_EQ(level_file_name(10, TILE_FILE_TEMPLATE), "fases/fase10.plt");
    EXPECT_EQ(level_file_name(19, OBJECT_FILE_TEMPLATE), "fases/fase19.plo");
    EXPECT_EQ(level_file_name(20, TILE_FILE_TEMPLATE), "fases/fase20.plt");
    EXPECT_EQ(level_file_name(0, TILE_FILE_TEMPLATE), "fases/fase00.plt");
    EXPECT_EQ(level_file_name(-7, OBJECT_FILE_TEMPLATE), "fases/fase00.plo");
    EXPECT_EQ(level_file_name(5, "short"), "short");
}

TEST(LevelReader, LineBreakStylesAndTrailingLinesLoadIdentically)
{
    TempDir dir;
    std::vector<std::string> tiles = varied_tiles(), objects = twelve_nuggets();
    std::vector<std::string> tiles_and_more = tiles, objects_and_more = objects;
    tiles_and_more.push_back(std::string(MAP_COLS, 'W'));  // ignored: no 25th row
    objects_and_more.push_back(std::string(MAP_COLS, '2'));
    write_level(dir, 1, level_text(tiles), level_text(objects));
    write_level(dir, 2, level_text(tiles, "\n", false), level_text(objects, "\n", false));
    write_level(dir, 3, level_text(tiles, "\r\n"), level_text(objects, "\r\n"));
    write_level(dir, 4, level_text(tiles, "\r\n", false), level_text(objects, "\r\n", false));
    write_level(dir, 5, level_text(tiles_and_more), level_text(objects_and_more, "\r\n"));

    auto reference = fresh();
    load_level(reference->state, reference->grids, 1, dir.opener());
    for (int r = 0; r < MAP_ROWS; r++) {
        ASSERT_EQ(row_of(reference->grids.tile_map, r), tiles[r]) << "row " << r;
        ASSERT_EQ(row_of(reference->grids.object_map, r), objects[r]) << "row " << r;
    }
    EXPECT_EQ(reference->state.nuggets_remaining, 12);
    EXPECT_EQ(reference->state.time.load(), 432);  // FACIL: 36 s a nugget
    EXPECT_EQ(reference->state.player_row, 5);
    EXPECT_EQ(reference->state.player_col, 7);
    for (int level = 2; level <= 5; level++) {
        SCOPED_TRACE(level);
        auto other = fresh();
        load_level(other->state, other->grids, level, dir.opener());
        expect_same_load(*reference, *other);
    }
}

TEST(LevelReader, StoresEveryCharacterWhereItStands)
{
    TempDir dir;
    std::vector<std::string> tiles = uniform_rows('A');
    tiles[0] = std::string("..az09\t") + '\0' + "\xff\x80" + std::string(22, 'B');
    tiles[1] = std::string(10, 'A') + "\r" + std::string(21, 'A');  // a lone CR is a cell
    tiles[2] = std::string(31, 'C') + "\r";  // CR, then the row's LF: one line break too few
    write_level(dir, 1, level_text(tiles), level_text(uniform_rows('0')));

    auto loaded = fresh();
    load_level(loaded->state, loaded->grids, 1, dir.opener());
    EXPECT_EQ(row_of(loaded->grids.tile_map, 0), tiles[0]);
    EXPECT_EQ(row_of(loaded->grids.tile_map, 1), tiles[1]);
    // Row 2's CR LF became its 32nd cell; row 3's first 'A' is then taken as row 2's line
    // break, and from there on every row ends in the line break of the row before.
    EXPECT_EQ(row_of(loaded->grids.tile_map, 2), std::string(31, 'C') + "\n");
    for (int r = 3; r < MAP_ROWS; r++)
        EXPECT_EQ(row_of(loaded->grids.tile_map, r), std::string(31, 'A') + "\n") << "row " << r;
}

TEST(LevelReader, ALineTooLongShiftsTheRestOfTheFileRight)
{
    TempDir dir;
    std::vector<std::string> tiles = varied_tiles();
    std::vector<std::string> long_line = tiles;
    long_line[3] += 'Z';  // 33 cells: the 'Z' is taken as the line break
    write_level(dir, 1, level_text(long_line), level_text(uniform_rows('0')));

    auto loaded = fresh();
    load_level(loaded->state, loaded->grids, 1, dir.opener());
    for (int r = 0; r <= 3; r++)
        EXPECT_EQ(row_of(loaded->grids.tile_map, r), tiles[r]);
    for (int r = 4; r < MAP_ROWS; r++)
        EXPECT_EQ(row_of(loaded->grids.tile_map, r), "\n" + tiles[r].substr(0, 31)) << "row " << r;
}

TEST(LevelReader, AShortFileLeavesTheRowsItDoesNotReach)
{
    TempDir dir;
    write_level(dir, 1, level_text(uniform_rows('B', 10)), level_text(uniform_rows('2', 10), "\n", false));
    auto loaded = fresh();
    memset(loaded->grids.tile_map, '#', sizeof loaded->grids.tile_map);
    load_level(loaded->state, loaded->grids, 1, dir.opener());
    for (int r = 0; r < MAP_ROWS; r++) {
        EXPECT_EQ(row_of(loaded->grids.tile_map, r), std::string(MAP_COLS, r < 10 ? 'B' : '#'));
        // Never loaded before: the rest stays zero characters.
        EXPECT_EQ(row_of(loaded->grids.object_map, r), std::string(MAP_COLS, r < 10 ? '2' : '\0'));
    }
    EXPECT_EQ(loaded->state.nuggets_remaining, 320);
    EXPECT_EQ(loaded->state.time.load(), 320 * 36);
}

TEST(LevelReader, FullBarrierListsKeepTheirFirstCellsInReadingOrder)
{
    TempDir dir;
    std::vector<std::string> tiles = uniform_rows('A');
    for (int r = 0; r < MAP_ROWS; r++)  // 25 'W': column 3, and (0, 4), the 2nd in reading order
        tiles[r][3] = 'W';
    tiles[0][4] = 'W';
    for (int c = 5; c < MAP_COLS; c++)
        tiles[0][c] = tiles[1][c] = 'X';  // 27 + 27 'X'
    for (int r = 2; r < MAP_ROWS; r++)     // 22 x 27 = 594 'U'/'V', and 4 on row 1 below
        for (int c = 5; c < MAP_COLS; c++)
            tiles[r][c] = (c % 2) ? 'U' : 'V';
    tiles[1][0] = tiles[1][1] = tiles[1][2] = 'U';
    tiles[1][4] = 'V';
    write_level(dir, 1, level_text(tiles), level_text(uniform_rows('0')));

    auto loaded = fresh();
    load_level(loaded->state, loaded->grids, 1, dir.opener());
    const LevelGrids &g = loaded->grids;
    ASSERT_EQ(g.w_barriers.count, W_BARRIER_CAPACITY);
    ASSERT_EQ(g.x_barriers.count, X_BARRIER_CAPACITY);
    ASSERT_EQ(g.uv_barriers.count, UV_BARRIER_CAPACITY);
    // Walk the grid in reading order and compare with what each list recorded.
    int w = 0, x = 0, uv = 0;
    for (int r = 0; r < MAP_ROWS; r++) {
        for (int c = 0; c < MAP_COLS; c++) {
            char t = g.tile_map[r][c];
            const BarrierList *list = t == 'W' ? &g.w_barriers : t == 'X' ? &g.x_barriers
                                     : (t == 'U' || t == 'V') ? &g.uv_barriers : nullptr;
            int *k = t == 'W' ? &w : t == 'X' ? &x : &uv;
            if (!list)
                continue;
            if (*k < list->count) {
                EXPECT_EQ(list->rows[*k], r);
                EXPECT_EQ(list->columns[*k], c);
            }
            ++*k;
        }
    }
    EXPECT_EQ(w, 25);  // every letter is still in the grid, recorded or not
    EXPECT_EQ(x, 54);
    EXPECT_EQ(uv, 594 + 4);
    EXPECT_EQ(g.w_barriers.rows[1], 0);
    EXPECT_EQ(g.w_barriers.columns[1], 4);
}

TEST(LevelReader, ObjectsGiveNuggetsStartCellAndCountdown)
{
    TempDir dir;
    std::vector<std::string> two_miners = twelve_nuggets();
    two_miners[20][30] = '1';
    std::vector<std::string> no_miner = uniform_rows('0');
    no_miner[9] = std::string(MAP_COLS, '2');
    std::vector<std::string> crowded = uniform_rows('2');  // 768 nuggets
    write_level(dir, 1, level_text(uniform_rows('A')), level_text(uniform_rows('0')));
    write_level(dir, 2, level_text(uniform_rows('A')), level_text(two_miners));
    write_level(dir, 3, level_text(uniform_rows('A')), level_text(no_miner));
    write_level(dir, 4, level_text(uniform_rows('A')), level_text(crowded));

    auto empty = fresh();
    empty->state.time = 999;
    load_level(empty->state, empty->grids, 1, dir.opener());
    EXPECT_EQ(empty->state.nuggets_remaining, 0);
    EXPECT_EQ(empty->state.time.load(), 0);

    auto two = fresh();
    load_level(two->state, two->grids, 2, dir.opener());
    EXPECT_EQ(two->state.player_row, 20);  // the later '1' is the start cell
    EXPECT_EQ(two->state.player_col, 30);
    EXPECT_EQ(two->grids.object_map[5][7], '1');  // the earlier one stays in the grid

    auto none = fresh();
    load_level(none->state, none->grids, 3, dir.opener());
    EXPECT_EQ(none->state.player_row, 0);
    EXPECT_EQ(none->state.player_col, 0);
    EXPECT_EQ(none->state.time.load(), 32 * 36);

    // Loads add to the nuggets: clearing them is reset_level_state's job.
    load_level(none->state, none->grids, 3, dir.opener());
    EXPECT_EQ(none->state.nuggets_remaining, 64);
    EXPECT_EQ(none->state.time.load(), 64 * 36);

    auto hard = fresh();
    hard->state.seconds_per_nugget = 33;
    load_level(hard->state, hard->grids, 4, dir.opener());
    EXPECT_EQ(hard->state.time.load(), 768 * 33);
    hard->state.seconds_per_nugget = 100;  // a product past 16 bits keeps its low 16 bits
    load_level(hard->state, hard->grids, 1, dir.opener());
    EXPECT_EQ(hard->state.time.load(), (768 * 100) % 65536);
}

TEST(LevelReader, AFileThatNoLongerOpensReadsAsEmpty)
{
    TempDir dir;
    write_level(dir, 1, level_text(uniform_rows('W')), level_text(twelve_nuggets()));
    std::filesystem::remove(dir.at(level_file_name(1, TILE_FILE_TEMPLATE)));
    auto loaded = fresh();
    memset(loaded->grids.tile_map, 'Q', sizeof loaded->grids.tile_map);
    load_level(loaded->state, loaded->grids, 1, dir.opener());
    EXPECT_EQ(row_of(loaded->grids.tile_map, 0), std::string(MAP_COLS, 'Q'));
    EXPECT_EQ(loaded->grids.w_barriers.count, 0);
    EXPECT_EQ(loaded->state.nuggets_remaining, 12);
    EXPECT_EQ(loaded->state.time.load(), 432);
}

TEST(LevelReader, NeverAsksItsSourceAgainAfterTheEnd)
{
    // 40 characters then the end (a read error looks the same), then more that must not be read.
    for (int end_mark : {EOF, -2}) {
        int calls = 0, calls_after_end = 0;
        bool ended = false;
        ByteSource source = [&]() {
            calls++;
            if (ended) {
                calls_after_end++;
                return int('Z');
            }
            if (calls > 40) {
                ended = true;
                return end_mark;
            }
            return int('B');
        };
        auto loaded = fresh();
        int recorded = 0;
        read_grid(source, loaded->grids.tile_map, [&](int, int, char) { recorded++; });
        EXPECT_EQ(calls_after_end, 0);
        EXPECT_EQ(recorded, 39);  // row 0, its line break, then 7 cells of row 1
        EXPECT_EQ(row_of(loaded->grids.tile_map, 1), std::string(7, 'B') + std::string(25, '\0'));
    }

    // An endless source: exactly 24 rows of 33 are taken, less the last line break.
    int calls = 0;
    auto loaded = fresh();
    read_grid([&]() { calls++; return int('\r'); }, loaded->grids.tile_map, [](int, int, char) {});
    EXPECT_EQ(loaded->grids.tile_map[23][31], '\r');
    EXPECT_EQ(calls, MAP_ROWS * (MAP_COLS + 1) - 1 + 1);  // + the look past the last CR
}

TEST(LevelReader, BadInputStaysInsideTheGridsAndLists)
{
    // Guard bytes on both sides catch a write outside the grids or the lists.
    struct Guarded {
        unsigned char before[256];
        LevelGrids grids{};
        unsigned char after[256];
    };
    std::vector<std::string> inputs = {
        "",
        std::string(1 << 20, 'U'),                      // one line of a megabyte
        std::string(5000, '\0'),                        // NUL bytes
        std::string(5000, '\r'),                        // CRs with no LF
        level_text(uniform_rows('W'), "\r\r\n"),
        level_text(uniform_rows('V'), "\n\n"),
    };
    std::mt19937 random(20240611);
    for (int size : {1, 33, 791, 792, 793, 4096}) {  // binary junk
        std::string junk(size, '\0');
        for (char &c : junk)
            c = static_cast<char>(random());
        inputs.push_back(junk);
    }

    TempDir dir;
    for (size_t i = 0; i < inputs.size(); i++) {
        SCOPED_TRACE(i);
        write_level(dir, 1, inputs[i], inputs[(i + 3) % inputs.size()]);
        auto guarded = std::make_unique<Guarded>();
        memset(guarded->before, 0xA5, sizeof guarded->before);
        memset(guarded->after, 0xA5, sizeof guarded->after);
        GameState state;
        state.seconds_per_nugget = 36;
        for (int again = 0; again < 3; again++)  // lists fill up over repeated loads too
            load_level(state, guarded->grids, 1, dir.opener());
        for (unsigned char b : guarded->before)
            ASSERT_EQ(b, 0xA5);
        for (unsigned char b : guarded->after)
            ASSERT_EQ(b, 0xA5);
        EXPECT_LE(guarded->grids.w_barriers.count, W_BARRIER_CAPACITY);
        EXPECT_LE(guarded->grids.x_barriers.count, X_BARRIER_CAPACITY);
        EXPECT_LE(guarded->grids.uv_barriers.count, UV_BARRIER_CAPACITY);
        EXPECT_LE(state.nuggets_remaining, 3 * MAP_ROWS * MAP_COLS);
        EXPECT_TRUE(state.player_row >= 0 && state.player_row < MAP_ROWS);
        EXPECT_TRUE(state.player_col >= 0 && state.player_col < MAP_COLS);
    }
}

TEST(LevelFileOpener, RefusesFoldersAndPipesInsteadOfWaiting)
{
    TempDir dir;
    dir.write("fases/fase01.plt", "A");
    std::filesystem::create_directories(dir.at("fases/fase01.plo"));
    ASSERT_EQ(mkfifo(dir.at("fases/fase02.plt").c_str(), 0600), 0);
    LevelFileOpener open = dir.opener();
    FILE *regular = open("fases/fase01.plt");
    ASSERT_NE(regular, nullptr);
    EXPECT_EQ(fgetc(regular), 'A');
    fclose(regular);
    EXPECT_EQ(open("fases/fase01.plo"), nullptr);
    EXPECT_EQ(open("fases/fase02.plt"), nullptr);  // would block for a writer otherwise
    EXPECT_EQ(open("fases/fase03.plt"), nullptr);
}

TEST(CheckLevelFiles, OpensThePairsInOrderAndStopsAtTheFirstMissingFile)
{
    TempDir dir;
    for (int level = 1; level <= LEVEL_COUNT; level++)
        write_level(dir, level, "A", "0");
    std::vector<std::string> opened;
    LevelFileOpener open_in_dir = dir.opener();
    LevelFileOpener recording = [&](const std::string &name) {
        opened.push_back(name);
        return open_in_dir(name);
    };
    int descriptors = open_descriptors();

    EXPECT_EQ(check_level_files(recording), 0);
    ASSERT_EQ(opened.size(), 40u);
    for (int level = 1; level <= LEVEL_COUNT; level++) {
        EXPECT_EQ(opened[2 * level - 2], level_file_name(level, TILE_FILE_TEMPLATE));
        EXPECT_EQ(opened[2 * level - 1], level_file_name(level, OBJECT_FILE_TEMPLATE));
    }

    std::filesystem::remove(dir.at("fases/fase13.plo"));
    opened.clear();
    EXPECT_EQ(check_level_files(recording), 1);
    ASSERT_EQ(opened.size(), 26u);  // levels 1..13, none of 14..20
    EXPECT_EQ(opened[24], "fases/fase13.plt");
    EXPECT_EQ(opened[25], "fases/fase13.plo");

    std::filesystem::remove(dir.at("fases/fase01.plt"));
    opened.clear();
    EXPECT_EQ(check_level_files(recording), 1);
    EXPECT_EQ(opened.size(), 2u);  // the object file is still opened, then both tested

    EXPECT_EQ(open_descriptors(), descriptors);  // everything opened was closed
}

TEST(LevelFileGameForms, ReadFromTheWorkingDirectoryIntoTheGlobals)
{
    TempDir dir;
    WorkingDirectory in_dir(dir.path);
    EXPECT_EQ(check_level_files(), 1);
    for (int level = 1; level <= LEVEL_COUNT; level++)
        write_level(dir, level, level_text(uniform_rows('X')), level_text(twelve_nuggets()));
    EXPECT_EQ(check_level_files(), 0);

    int spn = game_state.seconds_per_nugget;
    game_state.seconds_per_nugget = 34;
    load_level(7);
    EXPECT_EQ(level_grids.tile_map[23][31], 'X');
    EXPECT_EQ(level_grids.x_barriers.count, X_BARRIER_CAPACITY);
    EXPECT_EQ(game_state.nuggets_remaining, 12);
    EXPECT_EQ(game_state.time.load(), 12 * 34);

    // Leave the process-wide records as the next test expects them: untouched.
    level_grids = LevelGrids{};
    game_state.seconds_per_nugget = spn;
    game_state.nuggets_remaining = 0;
    game_state.player_row = game_state.player_col = 0;
    game_state.time = 0;
}
