// levelcheck: checks and solves every level pair of a folder, writes the solutions and prints
// a table; exits 1 naming each level that fails.
//
//   levelcheck [--solutions DIR] [--report FILE] [--level N] [--max-states N]
//              [--effort-cap N] [--parking-states N] FASES_DIR
//
// Per level: pushes and moves (frames) of the solution found and moves per push; the seconds
// it needs at the slowest speed beside a third of the countdown; the effort of an uninformed
// search (the difficulty score, '>' when capped); whether the naive player wins; the fewest
// parkings a solution needs ('>=' when that search gave up) and so whether the one-nugget-at-a-
// time player wins; the room (floor the miner may reach) and the share of it that is dead for
// a nugget; the states of the solver and of the parking search, and the time. `--report`
// writes each level's figures a line, for the tests of the shipped set.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "level/cell_catalogue.h"
#include "level/level_file.h"
#include "level_check.h"
#include "level_figures.h"
#include "solution_replay.h"

static int usage()
{
    std::fprintf(stderr,
                 "usage: levelcheck [--solutions DIR] [--report FILE] [--level N]\n"
                 "                  [--max-states N] [--effort-cap N] [--parking-states N]"
                 " FASES_DIR\n");
    return 2;
}

// What the command line asks for.
struct Arguments {
    std::string fases_dir, solutions_dir, report_file;
    int only_level = 0;  // 0: every level
    CheckOptions options;
};

// Reads the command line into `args`; false when it is not one levelcheck understands.
static bool read_arguments(int argc, char **argv, Arguments &args)
{
    CheckOptions &options = args.options;
    for (int i = 1; i < argc; i++) {
        const bool has_value = i + 1 < argc;
        if (!std::strcmp(argv[i], "--solutions") && has_value)
            args.solutions_dir = argv[++i];
        else if (!std::strcmp(argv[i], "--report") && has_value)
            args.report_file = argv[++i];
        else if (!std::strcmp(argv[i], "--level") && has_value)
            args.only_level = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--max-states") && has_value)
            options.max_states = std::atol(argv[++i]);
        else if (!std::strcmp(argv[i], "--effort-cap") && has_value)
            options.effort_cap = std::atol(argv[++i]);
        else if (!std::strcmp(argv[i], "--parking-states") && has_value)
            options.parking_states = std::atol(argv[++i]);
        else if (argv[i][0] == '-' || !args.fases_dir.empty())
            return false;
        else
            args.fases_dir = argv[i];
    }
    return !args.fases_dir.empty() && args.only_level >= 0 && args.only_level <= LEVEL_COUNT &&
           options.max_states > 0 && options.effort_cap > 0 && options.parking_states > 0;
}

// The level's row of the table, then its warnings and errors.
static void print_report(const LevelReport &r, const CheckOptions &options)
{
    std::printf("fase%02d %7d %6d %5d %5.2f %8.1f %8d %c%8ld %5s %4s %4s %4d %5.1f %9ld %8ld"
                " %7.2f%s\n",
                r.level, r.nuggets, r.pushes, r.frames, r.walk_ratio(),
                r.frames * options.frame_delay_ms / 1000.0,
                r.countdown / options.countdown_share, r.effort_capped ? '>' : ' ', r.effort,
                r.naive_wins ? "wins" : "fails", r.parkings_text().c_str(), r.one_at_a_time(),
                r.floor_cells, 100 * r.dead_share(), r.states, r.parking_states, r.seconds,
                r.passed() ? "" : "  FAILED");
    for (const std::string &w : r.warnings)
        std::printf("  warning: fase%02d: %s\n", r.level, w.c_str());
    for (const std::string &e : r.errors)
        std::printf("  error: fase%02d: %s\n", r.level, e.c_str());
}

// Writes a passed level's solution into `solutions_dir`; false (said on the table) when it
// cannot.
static bool save_solution(const std::string &solutions_dir, const LevelReport &r)
{
    char name[32];
    std::snprintf(name, sizeof name, "/fase%02d.txt", r.level);
    if (write_solution_file(solutions_dir + name, r.solution))
        return true;
    std::printf("  error: fase%02d: cannot write %s%s\n", r.level, solutions_dir.c_str(), name);
    return false;
}

static bool write_text_file(const std::string &path, const std::string &text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

int main(int argc, char **argv)
{
    Arguments args;
    if (!read_arguments(argc, argv, args))
        return usage();
    const CheckOptions &options = args.options;
    if (!args.solutions_dir.empty()) {
        std::error_code error;
        std::filesystem::create_directories(args.solutions_dir, error);
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);  // a line at a time, for a long run in a pipe
    std::printf("level  nuggets pushes moves  walk needs(s) third(s)    effort naive park 1by1"
                " room dead%%    states  parking time(s)\n");
    std::string failed, report;
    double total_seconds = 0;
    std::vector<long> area_efforts[AREA_COUNT];
    for (int level = 1; level <= LEVEL_COUNT; level++) {
        if (args.only_level && level != args.only_level)
            continue;
        const LevelReport r = check_level(args.fases_dir, level, options);
        total_seconds += r.seconds;
        print_report(r, options);
        report += report_line(r) + "\n";
        if (r.area >= 1)
            area_efforts[r.area - 1].push_back(r.effort);
        if (!r.passed() || (!args.solutions_dir.empty() && !save_solution(args.solutions_dir, r)))
            failed += " fase" + std::string(level < 10 ? "0" : "") + std::to_string(level);
    }
    std::printf("median effort by area:");
    for (const std::vector<long> &efforts : area_efforts)
        if (!efforts.empty())
            std::printf(" %.0f", median(efforts));
    std::printf("\ntotal %.2f s (countdown of difficulty %d, frames of %d ms)\n", total_seconds,
                options.difficulty, options.frame_delay_ms);
    if (!args.report_file.empty() && !write_text_file(args.report_file, report))
        failed += " (cannot write " + args.report_file + ")";
    if (!failed.empty()) {
        std::printf("levelcheck: failed:%s\n", failed.c_str());
        return 1;
    }
    return 0;
}
