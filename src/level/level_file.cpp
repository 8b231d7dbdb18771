// Level file pairs: names, the presence check and the positional reader.
#include "level/level_file.h"
#include "level/grid_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "level/cell_catalogue.h"

LevelGrids level_grids;

std::string level_file_name(int level, const char *name_template)
{
    std::string name = name_template;
    if (name.size() < 12)
        return name;
    // Counting up from "00" gives the quotient and remainder by ten; anything past 99 is a
    // non-digit tens character, which no level file has.
    int n = level > 0 ? level : 0;
    name[10] = static_cast<char>(static_cast<unsigned char>('0' + n / 10));
    name[11] = static_cast<char>('0' + n % 10);
    return name;
}

FILE *open_level_file(const std::string &name)
{
    // O_NONBLOCK so that a named pipe put where a level file belongs cannot hang the open.
    int fd = open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return nullptr;
    }
    // Left non-blocking: that changes nothing for a regular file, the only kind handed out.
    // Binary mode: the reader itself takes CR LF as one line break, on every platform alike.
    FILE *stream = fdopen(fd, "rb");
    if (!stream)
        close(fd);
    return stream;
}

int check_level_files(const LevelFileOpener &open)
{
    for (int level = 1; level <= LEVEL_COUNT; level++) {
        FILE *tiles = open(level_file_name(level, TILE_FILE_TEMPLATE));
        FILE *objects = open(level_file_name(level, OBJECT_FILE_TEMPLATE));
        bool both = tiles && objects;
        if (tiles)
            fclose(tiles);
        if (objects)
            fclose(objects);
        if (!both)
            return 1;
    }
    return 0;
}

int check_level_files() { return check_level_files(open_level_file); }

namespace {

// Hands out a file's characters with CR LF folded into LF. The reader stops at the first EOF
// it is handed, and an EOF met while looking past a CR waits as pending, so the source is
// never asked again after its end: a terminal or a pipe would otherwise wait for more.
struct LineBreakFolder {
    const ByteSource &next;
    bool has_pending = false;
    int pending = EOF;

    int take()
    {
        if (has_pending) {
            has_pending = false;
            return pending;
        }
        int c = next();
        return c < 0 ? EOF : c & 0xFF;
    }

    int get()
    {
        int c = take();
        if (c != '\r')
            return c;
        int after = take();
        if (after == '\n')
            return '\n';
        pending = after;  // a lone CR is an ordinary character; keep what followed it
        has_pending = true;
        return c;
    }
};

}  // namespace

void read_grid(const ByteSource &next, char grid[MAP_ROWS][MAP_COLS], const CellRecorder &record)
{
    LineBreakFolder in{next};
    for (int row = 0; row < MAP_ROWS; row++) {
        for (int col = 0; col < MAP_COLS; col++) {
            int c = in.get();
            if (c == EOF)
                return;
            grid[row][col] = static_cast<char>(c);
            record(row, col, static_cast<char>(c));
        }
        // The row's line break, dropped whatever it is. The last row's is not even read:
        // everything after row 23 is ignored anyway.
        if (row + 1 < MAP_ROWS && in.get() == EOF)
            return;
    }
}

// Appends a barrier cell while the list has room; later cells keep their letter but are
// never opened.
static void record_barrier(BarrierList &list, int row, int col)
{
    if (list.count < 0 || list.count >= list.capacity || list.count >= UV_BARRIER_CAPACITY)
        return;
    list.rows[list.count] = row;
    list.columns[list.count] = col;
    list.count++;
}

LevelContents read_level(LevelGrids &grids, int level, const LevelFileOpener &open)
{
    LevelContents found;
    // The tile file is read and closed before the object file is opened.
    if (FILE *tiles = open(level_file_name(level, TILE_FILE_TEMPLATE))) {
        read_grid([tiles]() { return getc(tiles); }, grids.tile_map,
                  [&grids](int row, int col, char cell) {
                      BarrierGroup group = barrier_group(cell);
                      if (group != BARRIER_NONE)
                          record_barrier(grids.*BARRIER_GROUPS[group].cells, row, col);
                  });
        fclose(tiles);
    }
    if (FILE *objects = open(level_file_name(level, OBJECT_FILE_TEMPLATE))) {
        read_grid([objects]() { return getc(objects); }, grids.object_map,
                  [&found](int row, int col, char cell) {
                      if (cell == '2') {
                          found.nuggets++;
                      } else if (cell == '1') {
                          found.has_miner = true;
                          found.miner_row = row;
                          found.miner_col = col;
                      }
                  });
        fclose(objects);
    }
    return found;
}
