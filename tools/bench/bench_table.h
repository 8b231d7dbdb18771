// Timing of repeated work (min and median) and the table the benchmark prints.
#pragma once

#include <functional>
#include <string>
#include <vector>

// A figure: the smallest and the median of the repetitions, in the row's unit.
struct Figure {
    double min = 0, median = 0;
    bool known = false;  // false: could not be measured (printed as "n/a")
};

// The most repetitions any figure takes: the short run lowers it, as it only shows that every
// row gets a figure.
extern int max_repetitions;

// Times `work` `reps` times and gives min and median in microseconds. Work too short for the
// clock is run in batches, each batch timed whole and divided: `before` (untimed, may be
// empty) runs once ahead of every timed batch, to put the state back.
Figure time_us(const std::function<void()> &work, int reps = 201,
               const std::function<void()> &before = nullptr);

// The same when each timed piece of work does `per_call` units (pushes, draws): the figure is
// per unit.
Figure time_us_each(const std::function<void()> &work, int per_call, int reps,
                    const std::function<void()> &before);

// Times `work` and its `floor` in turns, `reps` times each, so that both meet the same load
// of a shared machine and their ratio holds while that load changes. `before` as above, for
// `work` only.
void time_pair_us(const std::function<void()> &work, const std::function<void()> &floor,
                  Figure &work_figure, Figure &floor_figure, int reps = 201,
                  const std::function<void()> &before = nullptr);

// Min and median of figures already taken.
Figure figure_of(std::vector<double> values);

// One line of the table: a figure beside its floor, with the target for the ratio of their
// medians (0: none).
struct Row {
    std::string section;  // printed as a heading when it changes
    std::string name;
    std::string unit;     // "us", "ms", "% core", "MB"
    Figure figure;
    std::string floor_name;  // "" : the row is a floor itself, or has none
    Figure floor;
    double target = 0;       // the ratio's ceiling; for rows without a floor, the figure's
    bool target_is_value = false;
};

// Prints the rows as a table, with the ratio of medians and whether each target is met.
void print_table(const std::vector<Row> &rows);

// Names on standard error each row whose figure, or floor, could not be measured; their count.
int rows_without_figures(const std::vector<Row> &rows);
