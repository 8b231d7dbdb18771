// The three parts of the benchmark, each adding its rows to the table.
#pragma once

#include "bench_table.h"

#include <sys/types.h>

#include <string>
#include <vector>

// What every part needs to know: where the built game and the shipped data are.
struct BenchPlaces {
    std::string game_dir;    // the built game folder (executable, fases/, tiles/, ...)
    std::string data_dir;    // the source data folder (solutions/)
    std::string empty_dir;   // the folder of the empty Allegro program
    std::string pause_shim;  // the preload that shortens the game's long pauses
};

// How much the window parts measure: the full run, or the short one CI makes once, which only
// shows that every row gets a figure.
struct BenchPace {
    int starts = 7;        // starts of each program for the start rows
    int cpu_rounds = 3;    // rounds of the waiting screens
    int cpu_seconds = 10;  // one reading of the processor
    bool short_run = false;
};
extern BenchPace pace;

// The machine's floors, measured once and shared by the rows that compare with them.
struct Floors {
    Figure memcpy_frame;   // memcpy of one 512 x 384 x 16-bit frame
    Figure blit_frame;     // blit of 512 x 384
    Figure sprite_frame;   // draw_sprite of 512 x 384: the masked copy
    Figure sprites_1536;   // 1,536 draw_sprite calls of 16 x 16
    Figure sprite_cell;    // one draw_sprite of 16 x 16
};

// Starts Allegro without a display at depth 16, with the scripted platform's screen, the
// font engine and the game's pictures loaded from the game folder (the working directory
// from then on). False, with a word on standard error, when something is missing.
bool bench_setup(const BenchPlaces &places);

// Measures the floors and adds their rows.
Floors bench_floors(std::vector<Row> &rows);

// The game's drawing on memory bitmaps, as the unit tests draw, each figure timed in turns
// with its own floor.
void bench_drawing(std::vector<Row> &rows);

// Level reading, the rules and a whole game through the scripted platform.
void bench_rules(const BenchPlaces &places, const Floors &floors, std::vector<Row> &rows);

// The real game in a real window under its own Xvfb. `games` is the number of games played
// for the resident size (50 normally).
void bench_window(const BenchPlaces &places, int games, bool full_pauses, std::vector<Row> &rows);

// Per cent of one core that each of two processes (the game and its X server) took over
// `seconds`, from the scheduler's counts; -1 for a process that is gone.
void cpu_over(pid_t a, pid_t b, int seconds, double &a_percent, double &b_percent);

// The window at 1x, 2x, a fractional scale and 4x: the present (the fractional one beside a
// plain smooth scale) and the frame's period; the processor the waiting screens take at 2x,
// in fullscreen and at the fractional scale.
void bench_scale(const BenchPlaces &places, std::vector<Row> &rows);
