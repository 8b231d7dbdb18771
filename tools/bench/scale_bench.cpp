// The window at 1x, 2x, a fractional scale and 4x: the game's present of a wholly changed
// picture beside a plain smooth scale to the same size, and the period of a frame that rests
// 50 ms (timed by scale_probe in a window of its own on each desktop); then the processor that
// the waiting screens take at 2x, in fullscreen and at the fractional scale.
#include "bench_sections.h"
#include "game_support.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

void pause_ms(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

Figure value(double v)
{
    Figure f;
    f.known = v >= 0;
    f.min = f.median = v;
    return f;
}

struct Probe {
    int w = 0, h = 0;
    Figure present, floor, period;
};

// Runs the probe on its own X server of `screen` and reads its figures; unknown when it failed.
Probe run_probe(const char *screen)
{
    Probe p;
    XvfbServer server(screen);
    std::string command = "DISPLAY=" + server.display + " " BENCH_SCALE_PROBE +
                          std::string(pace.short_run ? " --short" : "") + " 2>/dev/null";
    FILE *out = popen(command.c_str(), "r");
    if (!out)
        return p;
    char line[128];
    while (std::fgets(line, sizeof line, out)) {
        double min, median;
        std::sscanf(line, "window %d %d", &p.w, &p.h);
        if (std::sscanf(line, "present %lf %lf", &min, &median) == 2)
            p.present = {min, median, true};
        if (std::sscanf(line, "floor %lf %lf", &min, &median) == 2)
            p.floor = {min, median, true};
        if (std::sscanf(line, "period %lf %lf", &min, &median) == 2)
            p.period = {min / 1000, median / 1000, true};
    }
    pclose(out);
    return p;
}

// The processor of the game and its X server on the menu and the help board, and in
// fullscreen when `fullscreen`, the window opened at `w` x `h` on `screen`.
void waiting_rows(const BenchPlaces &places, const char *screen, int w, int h, bool fullscreen,
                  const std::string &where, std::vector<Row> &rows)
{
    double menu = -1, menu_x = -1, help = -1, help_x = -1, full = -1, full_x = -1;
    {
        E2eSession g(places.game_dir, screen);
        e2e_mouse_move_screen(g, w / 2 - 1, h / 2 - 1);
        start_pitlorex(g);
        if (e2e_wait_window(g, "Pitlorex", 10000) && window_size_becomes(g, w, h, 10000)) {
            pause_ms(1500);
            cpu_over(g.program.pid, g.xvfb.pid, pace.cpu_seconds, menu, menu_x);
            // "Ajuda" where the picture shows it, filling the window's height.
            e2e_click(g, (w - h * 4 / 3) / 2 + box_mid_x(HELP_BOX) * h / 384,
                      box_mid_y(HELP_BOX) * h / 384);
            e2e_mouse_move(g, w * 7 / 8, h / 8);
            pause_ms(1000);
            cpu_over(g.program.pid, g.xvfb.pid, pace.cpu_seconds, help, help_x);
            e2e_click(g, (w - h * 4 / 3) / 2 + 432 * h / 384, 308 * h / 384);  // OK
            e2e_mouse_move(g, w - 20, h - 20);
            e2e_focus(g);
            if (fullscreen) {
                e2e_tap_key(g, XK_F11);
                pause_ms(1500);
                cpu_over(g.program.pid, g.xvfb.pid, pace.cpu_seconds, full, full_x);
            }
        } else {
            std::fprintf(stderr, "bench: the game's window did not open at %dx%d\n%s", w, h,
                         e2e_program_output(g).c_str());
        }
    }
    const std::string s = "the window " + where;
    auto cpu_rows = [&](const std::string &screen_name, double game, double server) {
        const std::string over = ", " + std::to_string(pace.cpu_seconds) + " s";
        rows.push_back({s, "CPU of the game, " + screen_name + over, "% core", value(game), "",
                        {}, 3, true});
        rows.push_back({s, "CPU of the X server, " + screen_name + over, "% core",
                        value(server), "", {}, 3, true});
    };
    cpu_rows("menu", menu, menu_x);
    cpu_rows("help board", help, help_x);
    if (fullscreen)
        cpu_rows("menu in fullscreen", full, full_x);
}

}  // namespace

void bench_scale(const BenchPlaces &places, std::vector<Row> &rows)
{
    std::printf("The window at 1x, 2x, 1.75x and 4x: presents and frames, then %d s of waiting "
                "screens...\n", 7 * pace.cpu_seconds);
    std::fflush(stdout);
    const char *s = "the window at each scale (Xvfb)";
    struct Desk {
        const char *screen, *name;
    };
    const Desk desks[] = {{"640x480x24", "1x (640x480)"},
                          {FULL_HD_SCREEN, "2x (1920x1080)"},
                          {"1366x768x24", "1.75x (1366x768)"},
                          {"3840x2160x24", "4x (3840x2160)"}};
    Probe one;
    for (const Desk &d : desks) {
        Probe p = run_probe(d.screen);
        std::string at = std::string(d.name) + ", window " + std::to_string(p.w) + "x" +
                         std::to_string(p.h);
        if (&d == &desks[0]) {
            one = p;
            rows.push_back({s, "frame period resting 50 ms, " + at, "ms", p.period, "", {}, 0});
        } else {
            rows.push_back({s, "frame period resting 50 ms, " + at, "ms", p.period,
                            "the same frame at 1x", one.period, 1.02});
        }
        if (p.w % 512 != 0)
            rows.push_back({s, "present of a changed picture, " + at, "us", p.present,
                            "plain bilinear scale + XPutImage, same size", p.floor, 1.3});
        else
            rows.push_back({s, "present of a changed picture, " + at, "us", p.present, "", {}, 0});
    }
    waiting_rows(places, FULL_HD_SCREEN, 1024, 768, true, "at 2x (Xvfb 1920x1080)", rows);
    waiting_rows(places, "1366x768x24", 896, 672, false, "at 1.75x (Xvfb 1366x768)", rows);
}
