// Repetition timing and the printed table of the benchmark.
#include "bench_table.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

double now_us()
{
    using namespace std::chrono;
    return duration<double, std::micro>(steady_clock::now().time_since_epoch()).count();
}

// Below this a single run is lost in the clock's own cost; such work runs in batches.
constexpr double SHORTEST_BATCH_US = 20;

}  // namespace

int max_repetitions = 1 << 20;

Figure figure_of(std::vector<double> values)
{
    Figure f;
    if (values.empty())
        return f;
    std::sort(values.begin(), values.end());
    f.min = values.front();
    f.median = values[values.size() / 2];
    f.known = true;
    return f;
}

namespace {

// A piece of work ready to be timed: how many runs make one timed batch.
struct Timed {
    const std::function<void()> &work;
    int per_call;
    const std::function<void()> &before;
    int batch = 1;

    // A warm-up run, which also tells how many runs a batch needs. A `before` that resets
    // state must run ahead of every run, so such work is never batched.
    void calibrate()
    {
        if (before)
            before();
        double start = now_us();
        work();
        double once = std::max(now_us() - start, 0.01);
        batch = before || once >= SHORTEST_BATCH_US ? 1 : (int)(SHORTEST_BATCH_US / once) + 1;
    }

    // One timed batch, per unit of work.
    double sample() const
    {
        if (before)
            before();
        double start = now_us();
        for (int i = 0; i < batch; i++)
            work();
        return (now_us() - start) / batch / per_call;
    }
};

}  // namespace

Figure time_us_each(const std::function<void()> &work, int per_call, int reps,
                    const std::function<void()> &before)
{
    reps = std::min(reps, max_repetitions);
    Timed timed{work, per_call, before};
    timed.calibrate();
    std::vector<double> values;
    for (int r = 0; r < reps; r++)
        values.push_back(timed.sample());
    return figure_of(values);
}

Figure time_us(const std::function<void()> &work, int reps, const std::function<void()> &before)
{
    return time_us_each(work, 1, reps, before);
}

void time_pair_us(const std::function<void()> &work, const std::function<void()> &floor,
                  Figure &work_figure, Figure &floor_figure, int reps,
                  const std::function<void()> &before)
{
    reps = std::min(reps, max_repetitions);
    Timed a{work, 1, before}, b{floor, 1, nullptr};
    a.calibrate();
    b.calibrate();
    std::vector<double> as, bs;
    for (int r = 0; r < reps; r++) {
        as.push_back(a.sample());
        bs.push_back(b.sample());
    }
    work_figure = figure_of(as);
    floor_figure = figure_of(bs);
}

static std::string number(double v)
{
    char text[32];
    if (v >= 1000)
        std::snprintf(text, sizeof text, "%.0f", v);
    else if (v >= 10)
        std::snprintf(text, sizeof text, "%.1f", v);
    else
        std::snprintf(text, sizeof text, "%.2f", v);
    return text;
}

void print_table(const std::vector<Row> &rows)
{
    std::string section;
    std::printf("%-44s %-7s %9s %9s   %-30s %9s %7s  %s\n", "figure", "unit", "min", "median",
                "floor (same run)", "median", "ratio", "target");
    for (const Row &row : rows) {
        if (row.section != section) {
            section = row.section;
            std::printf("\n-- %s\n", section.c_str());
        }
        std::string min = row.figure.known ? number(row.figure.min) : "n/a";
        std::string median = row.figure.known ? number(row.figure.median) : "n/a";
        std::string floor_median, ratio_text, target_text;
        double ratio = 0;
        bool have_ratio = !row.floor_name.empty() && row.figure.known && row.floor.known &&
                          row.floor.median > 0;
        if (!row.floor_name.empty())
            floor_median = row.floor.known ? number(row.floor.median) : "n/a";
        if (have_ratio) {
            ratio = row.figure.median / row.floor.median;
            ratio_text = number(ratio) + "x";
        }
        if (row.target > 0) {
            bool met;
            if (row.target_is_value) {
                met = row.figure.known && row.figure.median < row.target;
                target_text = "< " + number(row.target) + " " + row.unit;
            } else {
                met = have_ratio && ratio <= row.target;
                target_text = "<= " + number(row.target) + "x";
            }
            bool known = row.target_is_value ? row.figure.known : have_ratio;
            target_text += known ? (met ? "  met" : "  MISSED") : "  n/a";
        }
        std::printf("%-44s %-7s %9s %9s   %-30s %9s %7s  %s\n", row.name.c_str(),
                    row.unit.c_str(), min.c_str(), median.c_str(), row.floor_name.c_str(),
                    floor_median.c_str(), ratio_text.c_str(), target_text.c_str());
    }
    std::fflush(stdout);
}

int rows_without_figures(const std::vector<Row> &rows)
{
    int missing = 0;
    for (const Row &row : rows)
        if (!row.figure.known || (!row.floor_name.empty() && !row.floor.known)) {
            std::fprintf(stderr, "bench: no figure for \"%s\"%s\n", row.name.c_str(),
                         row.figure.known ? " (its floor)" : "");
            missing++;
        }
    return missing;
}
