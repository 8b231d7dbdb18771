// The real window: start-up times beside an empty Allegro program, the processor taken by the
// waiting screens and the X server, and the game's resident size over many games. Each run
// has its own Xvfb through the end-to-end rig.
#include "bench_sections.h"
#include "game_support.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void pause_ms(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Pixels of the "Iniciar" hover box near `colour`, read straight off the root window (the
// window sits at the screen's origin with no window manager): cheap enough to poll often.
int start_box_pixels(E2eSession &s, Rgb colour)
{
    const PixelBox &box = START_BOX;
    int w = box.x2 - box.x1 + 1, h = box.y2 - box.y1 + 1;
    XImage *image = XGetImage(s.x, DefaultRootWindow(s.x), box.x1, box.y1, w, h, AllPlanes,
                              ZPixmap);
    if (!image)
        return 0;
    int count = 0;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            unsigned long p = XGetPixel(image, x, y);
            // Xvfb's 24-bit TrueColor: red, green and blue bytes from the top.
            Rgb c{(int)(p >> 16 & 255), (int)(p >> 8 & 255), (int)(p & 255)};
            if (rgb_near(c, colour))
                count++;
        }
    XDestroyImage(image);
    return count;
}

// Milliseconds from exec to the menu's first word on screen and to its first answered hover.
struct StartTimes {
    double on_screen = -1, hover = -1;
};

StartTimes time_start(const std::string &folder, const std::string &program)
{
    StartTimes t;
    E2eSession s(folder);
    park_pointer(s);
    auto start = Clock::now();
    e2e_start(s, program);
    // The pointer is moved inside "Iniciar" on every look: a program sees a hover only when
    // the pointer moves.
    for (int look = 0; ms_since(start) < 20000 && e2e_running(s); look++) {
        e2e_mouse_move_screen(s, box_mid_x(START_BOX) + look % 2 * 2, box_mid_y(START_BOX));
        if (t.on_screen < 0 && start_box_pixels(s, WORD_NORMAL) >= 40)
            t.on_screen = ms_since(start);
        if (start_box_pixels(s, WORD_HOVER) >= 100) {
            t.hover = ms_since(start);
            if (t.on_screen < 0)
                t.on_screen = t.hover;
            break;
        }
        pause_ms(1);
    }
    return t;
}

}  // namespace

// Processor time a process's threads have taken so far, in nanoseconds (the scheduler's own
// count, far finer than the 10 ms ticks of /proc/PID/stat); -1 when it is gone.
static long long cpu_ns(pid_t pid)
{
    std::error_code error;
    long long total = 0;
    std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    for (const auto &task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream in(task.path() / "schedstat");
        long long ns = 0;
        if (in >> ns)
            total += ns;
    }
    return error ? -1 : total;
}

// Per cent of one core that each of two processes took over `seconds`.
void cpu_over(pid_t a, pid_t b, int seconds, double &a_percent, double &b_percent)
{
    long long a0 = cpu_ns(a), b0 = cpu_ns(b);
    auto start = Clock::now();
    pause_ms(seconds * 1000);
    long long a1 = cpu_ns(a), b1 = cpu_ns(b);
    double ns = ms_since(start) * 1e6;
    a_percent = a0 < 0 || a1 < 0 ? -1 : 100.0 * (a1 - a0) / ns;
    b_percent = b0 < 0 || b1 < 0 ? -1 : 100.0 * (b1 - b0) / ns;
}

namespace {

// The resident size of a process in megabytes; -1 when it is gone.
double resident_mb(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line))
        if (line.compare(0, 6, "VmRSS:") == 0)
            return std::stol(line.substr(6)) / 1024.0;
    return -1;
}

Figure value(double v)
{
    Figure f;
    f.known = v >= 0;
    f.min = f.median = v;
    return f;
}

bool pixel_near(E2eSession &s, int x, int y, Rgb colour)
{
    return rgb_near(e2e_pixel(s, x, y), colour);
}

const Rgb PANEL_FACE{150, 160, 170};
constexpr int OK_X = 432, OK_Y = 308;
constexpr int AWAY_X = 480, AWAY_Y = 370;  // right of the menu, below the boards

bool title_back(E2eSession &s, int timeout_ms)
{
    return e2e_wait_for([&] { return menu_words_normal(e2e_grab_window(s)); }, timeout_ms);
}

// Opens a board from its word, leaves the pointer off it, measures, and OKs back to the title.
bool board_cpu(E2eSession &s, const PixelBox &word, int panel_x, int panel_y, double &game,
               double &server)
{
    e2e_click(s, box_mid_x(word), box_mid_y(word));
    if (!e2e_wait_for([&] { return pixel_near(s, panel_x, panel_y, PANEL_FACE); }, 5000))
        return false;
    e2e_mouse_move(s, AWAY_X, AWAY_Y);
    pause_ms(300);
    cpu_over(s.program.pid, s.xvfb.pid, pace.cpu_seconds, game, server);
    e2e_click(s, OK_X, OK_Y);
    e2e_mouse_move(s, AWAY_X, AWAY_Y);
    return title_back(s, 5000);
}

// One game from the menu to its game over: "Iniciar", then Escape tapped (one life a tap)
// until the title is back.
bool play_one_game(E2eSession &s, int timeout_ms)
{
    e2e_click(s, box_mid_x(START_BOX), box_mid_y(START_BOX));
    e2e_mouse_move(s, AWAY_X, AWAY_Y);  // the pointer comes back at the game over
    auto start = Clock::now();
    while (ms_since(start) < timeout_ms) {
        pause_ms(250);
        if (menu_words_normal(e2e_grab_window(s)))
            return true;
        e2e_tap_key(s, XK_Escape, 100);
    }
    return false;
}

// The waiting screens measured, the empty window's first.
enum Screen { EMPTY, MENU, HELP, OPTIONS, QUIET, SCREEN_COUNT };

// Readings, per cent of a core, of a program and of its X server.
struct CpuReadings {
    std::vector<double> game, server;
    void add(double game_percent, double server_percent)
    {
        if (game_percent >= 0)
            game.push_back(game_percent);
        if (server_percent >= 0)
            server.push_back(server_percent);
    }
};

// One reading of the empty window resting with its pointer off its box; returns its resident
// size (-1 when it did not start).
double empty_cpu_round(const BenchPlaces &places, CpuReadings &readings)
{
    E2eSession e(places.empty_dir);
    park_pointer(e);
    e2e_start(e, "empty_window");
    if (!e2e_wait_window(e, "Pitlorex vazio", 10000))
        return -1;
    e2e_mouse_move(e, AWAY_X, AWAY_Y);
    pause_ms(500);
    double game = -1, server = -1;
    cpu_over(e.program.pid, e.xvfb.pid, pace.cpu_seconds, game, server);
    readings.add(game, server);
    return resident_mb(e.program.pid);
}

// One reading of each of the game's waiting screens: the menu while the title tune plays, the
// help board, the options board, and the menu again once the tune is over.
void game_cpu_round(const BenchPlaces &places, CpuReadings readings[SCREEN_COUNT])
{
    E2eSession g(places.game_dir);
    park_pointer(g);
    e2e_start(g, "pitlorex");
    if (!wait_for_title(g)) {
        std::fprintf(stderr, "bench: the game's title did not come up\n%s",
                     e2e_program_output(g).c_str());
        return;
    }
    auto title = Clock::now();
    pause_ms(500);
    double game = -1, server = -1;
    cpu_over(g.program.pid, g.xvfb.pid, pace.cpu_seconds, game, server);
    readings[MENU].add(game, server);
    if (!board_cpu(g, HELP_BOX, 235, 200, game, server))
        return;
    readings[HELP].add(game, server);
    if (!board_cpu(g, OPTIONS_BOX, 265, 250, game, server))
        return;
    readings[OPTIONS].add(game, server);
    double tune_ms = std::max(0.0, title_tune_seconds() * 1000);
    pause_ms((int)std::max(0.0, tune_ms + 1000 - ms_since(title)));
    cpu_over(g.program.pid, g.xvfb.pid, pace.cpu_seconds, game, server);
    readings[QUIET].add(game, server);
}

const char *const WINDOW = "the real window (Xvfb)";

// Starts of each program (seven in the full run), the empty window's first in each pair.
void bench_start_times(const BenchPlaces &places, std::vector<Row> &rows)
{
    std::vector<double> game_screen, game_hover, empty_screen, empty_hover;
    for (int rep = 0; rep < pace.starts; rep++) {
        StartTimes empty = time_start(places.empty_dir, "empty_window");
        StartTimes game = time_start(places.game_dir, "pitlorex");
        if (empty.on_screen >= 0)
            empty_screen.push_back(empty.on_screen);
        if (empty.hover >= 0)
            empty_hover.push_back(empty.hover);
        if (game.on_screen >= 0)
            game_screen.push_back(game.on_screen);
        if (game.hover >= 0)
            game_hover.push_back(game.hover);
    }
    rows.push_back({WINDOW, "exec to the title on screen", "ms", figure_of(game_screen),
                    "empty window on screen", figure_of(empty_screen), 2});
    rows.push_back({WINDOW, "exec to the first answered hover", "ms", figure_of(game_hover),
                    "empty window's first hover", figure_of(empty_hover), 0});
}

// The waiting, in rounds: the empty program, then the game, each freshly started, so that a
// change of the machine's load meets both. Returns the empty window's resident size of the
// first round.
double cpu_rounds(const BenchPlaces &places, CpuReadings readings[SCREEN_COUNT])
{
    double empty_rss = -1;
    for (int round = 0; round < pace.cpu_rounds; round++) {
        double rss = empty_cpu_round(places, readings[EMPTY]);
        if (round == 0)
            empty_rss = rss;
        game_cpu_round(places, readings);
    }
    return empty_rss;
}

// The rows of the waiting screens, each beside the empty window's reading.
void add_cpu_rows(const CpuReadings readings[SCREEN_COUNT], std::vector<Row> &rows)
{
    const char *screen_names[SCREEN_COUNT] = {"", "menu, tune on", "help board", "options board",
                                              "menu, tune over"};
    std::string rounds = ", " + std::to_string(pace.cpu_rounds) + " x " +
                         std::to_string(pace.cpu_seconds) + " s";
    rows.push_back({WINDOW, "empty window CPU, resting" + rounds, "% core",
                    figure_of(readings[EMPTY].game), "", {}, 0});
    rows.push_back({WINDOW, "X server CPU, empty window" + rounds, "% core",
                    figure_of(readings[EMPTY].server), "", {}, 0});
    for (int screen = MENU; screen < SCREEN_COUNT; screen++) {
        std::string what = screen_names[screen] + rounds;
        rows.push_back({WINDOW, "game CPU, " + what, "% core", figure_of(readings[screen].game),
                        "empty window idle", figure_of(readings[EMPTY].game), 3, true});
        rows.push_back({WINDOW, "X server CPU, " + what, "% core",
                        figure_of(readings[screen].server), "X server, empty window",
                        figure_of(readings[EMPTY].server), 3, true});
    }
}

// The game's resident size in megabytes at the menu, after its first game and after all of
// them; -1 where it was not reached.
struct ResidentSizes {
    double menu = -1, one = -1, all = -1;
};

// The game's memory over many games, in a run of its own.
ResidentSizes resident_over_games(const BenchPlaces &places, int games, bool full_pauses)
{
    ResidentSizes rss;
    E2eSession g(places.game_dir);
    std::vector<std::string> env;
    if (!full_pauses)
        env.push_back("LD_PRELOAD=" + places.pause_shim);
    park_pointer(g);
    e2e_start(g, "pitlorex", {}, env);
    if (!wait_for_title(g)) {
        std::fprintf(stderr, "bench: the game's title did not come up\n%s",
                     e2e_program_output(g).c_str());
        return rss;
    }
    pause_ms(500);
    rss.menu = resident_mb(g.program.pid);
    e2e_focus(g);
    int limit = full_pauses ? 60000 : 15000;
    int played;
    for (played = 0; played < games; played++) {
        if (!play_one_game(g, limit)) {
            std::fprintf(stderr, "bench: game %d did not come back to the title\n", played + 1);
            break;
        }
        if (played == 0)
            rss.one = resident_mb(g.program.pid);
    }
    if (played == games)
        rss.all = resident_mb(g.program.pid);
    return rss;
}

// The rows of the resident sizes, the menu's beside the empty window's.
void add_resident_rows(const ResidentSizes &rss, double empty_rss, int games,
                       std::vector<Row> &rows)
{
    rows.push_back({WINDOW, "resident size at the menu", "MB", value(rss.menu), "empty window",
                    value(empty_rss), 0});
    rows.push_back({WINDOW, "resident size after 1 game", "MB", value(rss.one), "", {}, 0});
    rows.push_back({WINDOW, "resident size after " + std::to_string(games) + " games", "MB",
                    value(rss.all), "", {}, 0});
    // A size that fell is a growth below 0, not a figure missing.
    Figure growth = value(rss.all >= 0 && rss.one >= 0 ? 0 : -1);
    growth.min = growth.median = rss.all - rss.one;
    rows.push_back({WINDOW, "resident growth, game 1 to game " + std::to_string(games), "MB",
                    growth, "", {}, 1, true});
}

}  // namespace

void bench_window(const BenchPlaces &places, int games, bool full_pauses, std::vector<Row> &rows)
{
    // A round: the empty window's reading, then the game's three screens and, once the title
    // tune is over, the menu again.
    int round_s = 2 + pace.cpu_seconds + (int)std::max(title_tune_seconds() + 1, 33.0) +
                  pace.cpu_seconds + 1;
    std::printf("The real window: %d starts of each program, %d rounds of the waiting "
                "screens, %d games (about %d s)...\n",
                pace.starts, pace.cpu_rounds, games,
                3 * pace.starts + pace.cpu_rounds * round_s + games * (full_pauses ? 21 : 2));
    std::fflush(stdout);
    bench_start_times(places, rows);
    CpuReadings readings[SCREEN_COUNT];
    double empty_rss = cpu_rounds(places, readings);
    ResidentSizes rss = resident_over_games(places, games, full_pauses);
    add_cpu_rows(readings, rows);
    add_resident_rows(rss, empty_rss, games, rows);
}
