// Level reading, the move and barrier rules, and a whole game of the shipped solutions played
// through the scripted platform.
#include "bench_sections.h"
#include "script_platform.h"
#include "solution_player.h"

#include "font/alfont.h"
#include "font/alfont_extra.h"
#include "level/game_resources.h"
#include "level/level_file.h"
#include "play/game_start.h"
#include "play/level_end.h"
#include "play/move_rules.h"
#include "play/play_frame.h"
#include "shell/shell.h"
#include "ui/main_menu.h"

#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

double ms_since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// A level of floor with walls round it and nothing on it but the miner at (12, 2).
void open_floor(GameState &state, LevelGrids &grids)
{
    reset_level_state(state, grids);
    std::memset(grids.tile_map, 'A', sizeof grids.tile_map);
    std::memset(grids.object_map, '0', sizeof grids.object_map);
    for (int col = 0; col < MAP_COLS; col++)
        grids.tile_map[0][col] = grids.tile_map[MAP_ROWS - 1][col] = 'B';
    for (int row = 0; row < MAP_ROWS; row++)
        grids.tile_map[row][0] = grids.tile_map[row][MAP_COLS - 1] = 'B';
    state.player_row = 12;
    state.player_col = 2;
    grids.object_map[12][2] = '1';
}

// Reads a file whole, as the cheapest reading of a level file can.
size_t read_whole(const std::string &name)
{
    char bytes[4096];
    FILE *in = std::fopen(name.c_str(), "rb");
    if (!in)
        return 0;
    size_t n = std::fread(bytes, 1, sizeof bytes, in);
    std::fclose(in);
    return n;
}

SolutionPlayer player;

// One whole game from level 1 to the victory board's OK; false when it did not end there.
bool play_whole_game()
{
    script_reset(script.screen);
    script.poll_limit = 1L << 40;
    alfont_init();
    player.level = 0;
    player.frame = 0;
    player.last_ms = 0;
    player.frames = 0;
    // A game starts from a clean level state, as the first game of the process does.
    reset_level_state(game_state, level_grids);
    game_state.close_requested = false;
    player.highest_level = 0;
    int status = -1;
    try {
        status = play_stored_game(player);
    } catch (const ScriptStalled &stalled) {
        std::fprintf(stderr, "bench: the game stalled: %s\n", stalled.where.c_str());
    }
    // The victory board stopped the font engine, which freed every font.
    message_font = nullptr;
    menu_font = nullptr;
    script.on_time = nullptr;
    script.on_poll = nullptr;
    reset_level_state(game_state, level_grids);
    return status == 0 && player.level == LEVEL_COUNT;
}

const char *const RULES = "levels and rules";

// load_level of the level with the most cells recorded, beside reading both its files.
void bench_load_level(std::vector<Row> &rows)
{
    int level = game_state.level;
    std::string tiles = level_file_name(level, TILE_FILE_TEMPLATE);
    std::string objects = level_file_name(level, OBJECT_FILE_TEMPLATE);
    Figure load, read;
    size_t bytes = 0;
    time_pair_us([&] { load_level(level); },
                 [&] { bytes += read_whole(tiles) + read_whole(objects); }, load, read, 401,
                 [&] { reset_level_state(game_state, level_grids); });
    // A figure, no longer a target: a level loads once, in microseconds either way.
    rows.push_back({RULES, "load_level " + std::to_string(level), "us", load,
                    "reading both files", read, 0});
}

// One step by the rules: a walk back and forth, and a run of pushes along a row.
void bench_steps(const Floors &floors, std::vector<Row> &rows)
{
    GameState state;
    LevelGrids grids;
    open_floor(state, grids);
    Figure walk = time_us_each([&] {
        apply_step(state, grids, Direction::right);
        apply_step(state, grids, Direction::left);
    }, 2, 401, nullptr);
    constexpr int PUSHES = 20;
    Figure push = time_us_each(
        [&] {
            for (int i = 0; i < PUSHES; i++)
                apply_step(state, grids, Direction::right);
        },
        PUSHES, 401,
        [&] {
            open_floor(state, grids);
            grids.object_map[12][3] = '2';
            state.nuggets_remaining = 1;
        });
    rows.push_back({RULES, "one move by the rules", "us", walk, "one draw_sprite 16x16",
                    floors.sprite_cell, 0});
    rows.push_back({RULES, "one push by the rules", "us", push, "one draw_sprite 16x16",
                    floors.sprite_cell, 0});
}

// open_barriers with 500 U/V cells, all opening, and the floor drawn at each.
void bench_barriers(std::vector<Row> &rows)
{
    GameState state;
    LevelGrids grids;
    open_floor(state, grids);
    state.area = 1;
    state.uv_opened = 1;
    for (int i = 0; i < UV_BARRIER_CAPACITY; i++) {
        int row = 1 + i / 30, col = 1 + i % 30;
        grids.tile_map[row][col] = 'U';
        grids.uv_barriers.rows[i] = row;
        grids.uv_barriers.columns[i] = col;
    }
    grids.uv_barriers.count = UV_BARRIER_CAPACITY;
    grids.object_map[12][2] = '0';
    BITMAP *floor_tile = tile_bitmap('A');
    Figure barriers, barrier_draws;
    time_pair_us([&] { open_barriers(back_buffer, state, grids); },
                 [&] {
                     for (int i = 0; i < UV_BARRIER_CAPACITY; i++)
                         draw_sprite(back_buffer, floor_tile,
                                     grids.uv_barriers.columns[i] * CELL_SIZE,
                                     grids.uv_barriers.rows[i] * CELL_SIZE);
                 },
                 barriers, barrier_draws);
    rows.push_back({RULES, "open_barriers, 500 U/V cells", "us", barriers,
                    "its 500 draws, bare", barrier_draws, 0});
}

// A whole game of the stored solutions, level 1 to the victory board's OK, in turns with as
// many masked copies of a frame as it showed frames (its floor), so that both meet the same
// load.
void bench_whole_game(const BenchPlaces &places, std::vector<Row> &rows)
{
    load_solutions(player, places.data_dir);
    std::vector<double> games, copies;
    long frames = 0;
    BITMAP *copy_target = create_bitmap(WINDOW_WIDTH, WINDOW_HEIGHT);
    for (int rep = 0; rep < 7; rep++) {
        auto start = std::chrono::steady_clock::now();
        bool won = play_whole_game();
        games.push_back(ms_since(start));
        if (!won) {
            std::fprintf(stderr, "bench: the stored solutions stopped at level %d\n",
                         player.level);
            games.clear();
            break;
        }
        frames = player.frames;
        start = std::chrono::steady_clock::now();
        for (long f = 0; f < frames; f++)
            draw_sprite(copy_target, back_buffer, 0, 0);
        copies.push_back(ms_since(start));
    }
    destroy_bitmap(copy_target);
    rows.push_back({RULES, "whole game of the solutions (" + std::to_string(frames) + " frames)",
                    "ms", figure_of(games), "its frames' masked copies", figure_of(copies), 0});
}

}  // namespace

void bench_rules(const BenchPlaces &places, const Floors &floors, std::vector<Row> &rows)
{
    bench_load_level(rows);
    bench_steps(floors, rows);
    bench_barriers(rows);
    bench_whole_game(places, rows);
    // The game reloaded its pictures; the drawing rows ran before, so nothing else needs them.
    if (!alfont_font_count())
        alfont_init();
}
