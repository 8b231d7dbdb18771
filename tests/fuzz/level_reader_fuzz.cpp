// Fuzz target over the level reader: any bytes, as one level file pair or a bare stream, must
// load without touching memory outside the grids and lists, and leave them consistent.
//
// Input: byte 0 the level number (signed), byte 1 the seconds per nugget, byte 2 flags (1: no
// tile file, 2: no object file, 4: load twice without clearing), bytes 3-4 where the tile file
// ends and the object file begins (little-endian, clamped), then the two files' bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "level/grid_reader.h"
#include "level/level_file.h"
#include "play/game_state.h"

namespace {

void check(bool ok)
{
    if (!ok)
        abort();
}

// Guard bytes around the grids catch a write past either end even without a sanitizer.
struct Guarded {
    unsigned char before[64];
    LevelGrids grids{};
    unsigned char after[64];
};

void check_list(const BarrierList &list, int capacity)
{
    check(list.capacity == capacity);
    check(list.count >= 0 && list.count <= capacity);
    for (int i = 0; i < list.count; i++)
        check(list.rows[i] >= 0 && list.rows[i] < MAP_ROWS && list.columns[i] >= 0 &&
              list.columns[i] < MAP_COLS);
}

// The bare reader: it must stop at the end of its source and never ask for more. Returns the
// grid it filled, which a stream of the same bytes must fill alike.
std::unique_ptr<LevelGrids> read_bare(const uint8_t *data, size_t size)
{
    auto grids = std::make_unique<LevelGrids>();
    size_t at = 0;
    bool ended = false;
    int cells = 0;
    read_grid(
        [&]() -> int {
            check(!ended);
            if (at >= size) {
                ended = true;
                return EOF;
            }
            return data[at++];
        },
        grids->tile_map,
        [&](int row, int col, char cell) {
            check(row >= 0 && row < MAP_ROWS && col >= 0 && col < MAP_COLS);
            check(grids->tile_map[row][col] == cell);
            cells++;
        });
    check(cells <= MAP_ROWS * MAP_COLS);
    // 24 rows of 33 less the last line break, each character at most a CR LF pair, plus the
    // look past a final CR.
    check(at <= static_cast<size_t>(2 * (MAP_ROWS * (MAP_COLS + 1) - 1) + 1));
    return grids;
}

bool same_grid(const char a[MAP_ROWS][MAP_COLS], const char b[MAP_ROWS][MAP_COLS])
{
    return memcmp(a, b, MAP_ROWS * MAP_COLS) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    read_bare(data, size);
    if (size < 5)
        return 0;

    int level = static_cast<int8_t>(data[0]);
    int seconds = data[1];
    int flags = data[2];
    size_t split = data[3] | (data[4] << 8);
    const uint8_t *files = data + 5;
    size_t files_size = size - 5;
    if (split > files_size)
        split = files_size;

    LevelFileOpener open = [&](const std::string &name) -> FILE * {
        bool tiles = name == level_file_name(level, TILE_FILE_TEMPLATE);
        if ((tiles && (flags & 1)) || (!tiles && (flags & 2)))
            return nullptr;
        const uint8_t *start = tiles ? files : files + split;
        size_t length = tiles ? split : files_size - split;
        if (length == 0)
            return fopen("/dev/null", "rb");
        return fmemopen(const_cast<uint8_t *>(start), length, "rb");
    };

    auto guarded = std::make_unique<Guarded>();
    memset(guarded->before, 0x5A, sizeof guarded->before);
    memset(guarded->after, 0x5A, sizeof guarded->after);
    auto state = std::make_unique<GameState>();
    state->seconds_per_nugget = seconds;
    int loads = (flags & 4) ? 2 : 1;
    for (int i = 0; i < loads; i++)
        check(load_level(*state, guarded->grids, level, open) == 0);

    for (unsigned char b : guarded->before)
        check(b == 0x5A);
    for (unsigned char b : guarded->after)
        check(b == 0x5A);
    check_list(guarded->grids.w_barriers, W_BARRIER_CAPACITY);
    check_list(guarded->grids.x_barriers, X_BARRIER_CAPACITY);
    check_list(guarded->grids.uv_barriers, UV_BARRIER_CAPACITY);
    check(state->nuggets_remaining >= 0 && state->nuggets_remaining <= loads * MAP_ROWS * MAP_COLS);
    check(state->player_row >= 0 && state->player_row < MAP_ROWS);
    check(state->player_col >= 0 && state->player_col < MAP_COLS);
    check(state->time.load() == static_cast<uint16_t>(state->nuggets_remaining * seconds));

    // The file reader fills each grid as the bare reader does over the same bytes.
    auto tiles = (flags & 1) ? std::make_unique<LevelGrids>() : read_bare(files, split);
    auto objects = (flags & 2) ? std::make_unique<LevelGrids>()
                               : read_bare(files + split, files_size - split);
    check(same_grid(guarded->grids.tile_map, tiles->tile_map));
    check(same_grid(guarded->grids.object_map, objects->tile_map));
    return 0;
}
