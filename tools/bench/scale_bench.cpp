// The window at 2x on a 1920 x 1080 desktop: the game's scaled present beside a plain scaled
// copy (timed by scale_probe in a window of its own), and the processor that the waiting
// screens take there, windowed and covering the screen.
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

// Runs the probe on its own X server and reads its two figures; unknown when it failed.
void probe_present(Figure &present, Figure &floor, int &scale)
{
    XvfbServer server(FULL_HD_SCREEN);
    std::string command = "DISPLAY=" + server.display + " " BENCH_SCALE_PROBE " 2>/dev/null";
    FILE *out = popen(command.c_str(), "r");
    if (!out)
        return;
    char line[128];
    while (std::fgets(line, sizeof line, out)) {
        double min, median;
        std::sscanf(line, "scale %d", &scale);
        if (std::sscanf(line, "present %lf %lf", &min, &median) == 2)
            present = {min, median, true};
        if (std::sscanf(line, "floor %lf %lf", &min, &median) == 2)
            floor = {min, median, true};
    }
    pclose(out);
}

}  // namespace

void bench_scale(const BenchPlaces &places, std::vector<Row> &rows)
{
    std::printf("The window at 2x on 1920x1080: the present, then 30 s of waiting screens...\n");
    std::fflush(stdout);
    const char *s = "the window at 2x (Xvfb 1920x1080)";
    Figure present, floor;
    int scale = 0;
    probe_present(present, floor, scale);
    if (scale != 2)
        std::fprintf(stderr, "bench: the probe's window opened at %dx, not 2x\n", scale);
    rows.push_back({s, "present of a changed picture, scaled", "us", present,
                    "stretch_blit 512x384 to 2x", floor, 1.2});

    double menu = -1, menu_x = -1, help = -1, help_x = -1, full = -1, full_x = -1;
    {
        E2eSession g(places.game_dir, FULL_HD_SCREEN);
        if (start_scaled_to_title(g, 2)) {
            pause_ms(500);
            cpu_over(g.program.pid, g.xvfb.pid, 10, menu, menu_x);
            e2e_click(g, box_mid_x(HELP_BOX) * 2, box_mid_y(HELP_BOX) * 2);
            e2e_mouse_move(g, 700, 200);
            pause_ms(1000);
            cpu_over(g.program.pid, g.xvfb.pid, 10, help, help_x);
            e2e_click(g, 432 * 2, 308 * 2);  // OK
            e2e_mouse_move(g, 1800, 1000);
            e2e_focus(g);
            e2e_tap_key(g, XK_F11);
            if (window_size_becomes(g, 1920, 1080, 5000)) {
                pause_ms(1000);
                cpu_over(g.program.pid, g.xvfb.pid, 10, full, full_x);
            }
        } else {
            std::fprintf(stderr, "bench: the game's title did not come up at 2x\n%s",
                         e2e_program_output(g).c_str());
        }
    }
    auto cpu_rows = [&](const std::string &screen, double game, double server) {
        rows.push_back({s, "CPU of the game, " + screen + ", 10 s", "% core", value(game), "", {},
                        3, true});
        rows.push_back({s, "CPU of the X server, " + screen + ", 10 s", "% core", value(server),
                        "", {}, 3, true});
    };
    cpu_rows("menu at 2x", menu, menu_x);
    cpu_rows("help board at 2x", help, help_x);
    cpu_rows("menu in fullscreen", full, full_x);
}
