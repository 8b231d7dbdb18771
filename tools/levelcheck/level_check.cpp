// One level pair checked from its files to a replayed solution.
#include "level_check.h"

#include <chrono>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "level/level_file.h"
#include "level_checks.h"
#include "level_figures.h"
#include "level_model.h"
#include "parking_search.h"
#include "play/game_state.h"
#include "push_solver.h"
#include "solution_replay.h"

std::string level_base_name(int level, bool tile_file)
{
    std::string name =
        level_file_name(level, tile_file ? TILE_FILE_TEMPLATE : OBJECT_FILE_TEMPLATE);
    return name.substr(name.find('/') + 1);
}

static bool read_text(const std::string &path, std::string &text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream all;
    all << in.rdbuf();
    text = all.str();
    return true;
}

// A fresh load of the level as a game at `difficulty` would start it.
static void load_fresh(const std::string &dir, int level, int difficulty, GameState &state,
                       LevelGrids &grids)
{
    GameSettings settings;
    settings.start_level = level;
    settings.difficulty = difficulty;
    apply_settings(state, settings);  // the game's own level, area and countdown rate
    load_level(state, grids, level, [&dir](const std::string &name) {
        return open_level_file(dir + "/" + name.substr(name.find('/') + 1));
    });
}

// Each file's shape; false when one cannot be read.
static bool check_files(const std::string &fases_dir, int level, Findings &findings)
{
    bool present = true;
    for (bool tile_file : {true, false}) {
        const std::string name = level_base_name(level, tile_file);
        std::string text;
        if (!read_text(fases_dir + "/" + name, text)) {
            findings.errors.push_back(name + " cannot be read");
            present = false;
            continue;
        }
        check_file_shape(name, text, tile_file, findings);
    }
    return present;
}

// The figures that tell how hard the level is, apart from the search for a solution.
static void measure_level(const LevelModel &model, const CheckOptions &options,
                          LevelReport &report)
{
    const DeadFloor dead = dead_floor(model);
    report.floor_cells = dead.floor_cells;
    report.dead_cells = dead.dead_cells;
    report.naive_wins = naive_strategy_wins(model);
    bool effort_solved = false;
    report.effort = breadth_first_effort(model, options.effort_cap, effort_solved);
    report.effort_capped = !effort_solved && report.effort >= options.effort_cap;
}

// Replays key letters from a fresh load of the level.
using ReplayFresh = std::function<ReplayResult(const std::string &frames)>;

// The solver's solution and the one with the fewest parkings, each replayed from a fresh load:
// keeps in `replay` and `solved` the one that parks no more than needed and, of those, walks
// less. An error when the two disagree with the search's figures, otherwise "".
static std::string keep_fewest_parkings(const ParkingResult &parked,
                                        const ReplayFresh &replay_fresh, ReplayResult &replay,
                                        SolveResult &solved)
{
    const ReplayResult fewest = replay_fresh(parked.frames);
    if (!fewest.won || fewest.parkings != parked.parkings)
        return "the solution with the fewest parkings parks " + std::to_string(fewest.parkings) +
               " times in play, " + std::to_string(parked.parkings) + " times in the search" +
               (fewest.won ? "" : ", and does not win: " + fewest.failure);
    if (replay.parkings < parked.parkings)
        return "the solver's solution parks " + std::to_string(replay.parkings) +
               " times, fewer than the fewest parkings found";
    if (replay.parkings > parked.parkings || fewest.frames < replay.frames) {
        replay = fewest;
        solved.frames = parked.frames;
        solved.pushes = parked.pushes;
    }
    return "";
}

// An error when `frames` at the checked pace take more than the share of the countdown the
// options grant, otherwise "".
static std::string countdown_error(int frames, int countdown, const CheckOptions &options)
{
    const long needed_ms = static_cast<long>(frames) * options.frame_delay_ms;
    const long granted_ms = static_cast<long>(countdown) * 1000 / options.countdown_share;
    if (needed_ms <= granted_ms)
        return "";
    return "the solution needs " + std::to_string(needed_ms / 1000) + " s at " +
           std::to_string(options.frame_delay_ms) + " ms a frame, more than " +
           std::to_string(granted_ms / 1000) + " s, 1/" +
           std::to_string(options.countdown_share) + " of the countdown of " +
           std::to_string(countdown) + " s";
}

// Finds a solution, proves it by replaying its letters frame by frame through the game's
// rules from a fresh load, and keeps it in the report; the first error ends the check.
static void solve_and_prove(const std::string &fases_dir, int level, const CheckOptions &options,
                            const LevelModel &model, const Findings &findings,
                            LevelReport &report)
{
    SolveResult solved = solve_level(model, options.max_states);
    report.states = solved.states;
    report.pushes = solved.pushes;
    if (!solved.solved) {
        std::string why = "unsolvable: " + solved.failure;
        // A switch beyond a hazard is the likely cause: say where it is.
        for (int cell : findings.switches_beyond_hazards)
            why += "; the switch at " + cell_name(cell) + " lies beyond a hazard";
        report.errors.push_back(why);
        return;
    }
    // The solution kept is one with the fewest parkings, when that search gets there.
    const ParkingResult parked = fewest_parkings(model, options.parking_states);
    report.parkings = parked.parkings;
    report.parkings_at_least = parked.at_least;
    report.parking_states = parked.states;
    if (parked.unsolvable) {
        report.errors.push_back("the parking search finds no solution where the solver found one");
        return;
    }
    auto replay_fresh = [&](const std::string &frames) {
        GameState replay_state;
        auto replay_grids = std::make_unique<LevelGrids>();
        load_fresh(fases_dir, level, options.difficulty, replay_state, *replay_grids);
        return replay_solution(replay_state, *replay_grids, frames);
    };
    ReplayResult replay = replay_fresh(solved.frames);
    std::string error = replay.won ? "" : "the solution does not replay: " + replay.failure;
    if (error.empty() && parked.known())
        error = keep_fewest_parkings(parked, replay_fresh, replay, solved);
    report.pushes = solved.pushes;
    if (error.empty()) {
        report.frames = replay.frames;
        report.solution_parkings = replay.parkings;
        error = countdown_error(replay.frames, report.countdown, options);
    }
    if (!error.empty()) {
        report.errors.push_back(error);
        return;
    }
    report.solution = solved.frames.substr(0, replay.frames);
}

// Every check in order; the first that finds errors ends the run.
static void run_checks(const std::string &fases_dir, int level, const CheckOptions &options,
                       LevelReport &report)
{
    Findings findings;
    const bool present = check_files(fases_dir, level, findings);
    report.errors = findings.errors;
    if (!present || !report.errors.empty())
        return;

    GameState state;
    auto grids = std::make_unique<LevelGrids>();
    load_fresh(fases_dir, level, options.difficulty, state, *grids);
    report.area = state.area;
    report.nuggets = state.nuggets_remaining;
    report.countdown = state.time;
    const LevelModel model =
        build_level_model(*grids, state.player_row, state.player_col, state.area);
    check_level_content(*grids, model, findings);
    report.errors = findings.errors;
    report.warnings = findings.warnings;
    if (!report.errors.empty())
        return;
    measure_level(model, options, report);
    solve_and_prove(fases_dir, level, options, model, findings, report);
}

LevelReport check_level(const std::string &fases_dir, int level, const CheckOptions &options)
{
    const auto started = std::chrono::steady_clock::now();
    LevelReport report;
    report.level = level;
    run_checks(fases_dir, level, options, report);
    report.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return report;
}

std::string report_line(const LevelReport &r)
{
    std::ostringstream line;
    line << r.level << ' ' << r.area << ' ' << r.passed() << ' ' << r.effort << ' '
         << r.naive_wins << ' ' << r.parkings << ' ' << r.parkings_at_least << ' '
         << r.floor_cells << ' ' << r.frames << ' ' << r.pushes;
    return line.str();
}

bool read_report_line(const std::string &line, LevelReport &r)
{
    std::istringstream in(line);
    bool passed = false;
    r = LevelReport{};
    in >> r.level >> r.area >> passed >> r.effort >> r.naive_wins >> r.parkings >>
        r.parkings_at_least >> r.floor_cells >> r.frames >> r.pushes;
    if (!in)
        return false;
    if (!passed)
        r.errors.push_back("the checker's run failed this level");
    return true;
}
