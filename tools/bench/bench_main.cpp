// The benchmark: the game's costs beside the machine's floors, measured in one run and
// printed as one table. Run through `make bench`; never part of the tests.
//
//   bench [--no-window | --scale-only] [--short] [--games N] [--full-pauses]
//     --no-window    only the figures on memory bitmaps (no Xvfb needed)
//     --short        every row once more briefly (about 2 minutes): CI's check that each row
//                    gets a figure; its figures are rough
//     --scale-only   only the window's scales (a few minutes)
//     --games N      games played for the resident size (50)
//     --full-pauses  play those games with the game's real timed waits
#include "bench_sections.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

BenchPace pace;

int main(int argc, char **argv)
{
    bool window = true, full_pauses = false, scale_only = false;
    int games = 50;
    for (int i = 1; i < argc; i++) {
        if (!std::strcmp(argv[i], "--no-window")) {
            window = false;
        } else if (!std::strcmp(argv[i], "--scale-only")) {
            scale_only = true;
        } else if (!std::strcmp(argv[i], "--short")) {
            pace = {2, 1, 2, true};
            max_repetitions = 15;
            games = 2;
        } else if (!std::strcmp(argv[i], "--full-pauses")) {
            full_pauses = true;
        } else if (!std::strcmp(argv[i], "--games") && i + 1 < argc) {
            games = std::atoi(argv[++i]);
            if (games < 1)
                games = 1;
        } else {
            std::fprintf(stderr, "usage: bench [--no-window | --scale-only] [--short] [--games N] "
                                 "[--full-pauses]\n");
            return 2;
        }
    }
    BenchPlaces places{BENCH_GAME_DIR, BENCH_DATA_DIR, BENCH_EMPTY_DIR, BENCH_PAUSE_SHIM};
    std::vector<Row> rows;
    if (!bench_setup(places))
        return 1;
    std::printf("Pitlorex benchmark: min and median of many repetitions, each beside its floor "
                "measured in this run\n(times in microseconds unless said; ratio = median / "
                "floor's median)\n\n");
    std::fflush(stdout);
    if (!scale_only) {
        Floors floors = bench_floors(rows);
        bench_drawing(rows);
        bench_rules(places, floors, rows);
    }
    if (window && !scale_only)
        bench_window(places, games, full_pauses, rows);
    if (window)
        bench_scale(places, rows);
    print_table(rows);
    if (window && !full_pauses && !scale_only)
        std::printf("\nThe games were played with the game's timed waits cut short (memory "
                    "does not depend\non them); --full-pauses plays them out.\n");
    // Every row must print a figure: a blind one is a fault of the bench or of the game.
    return rows_without_figures(rows) == 0 ? 0 : 1;
}
