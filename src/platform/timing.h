// The seam: time and waits. The clock, the pauses, the waits that input or a key ends, and the
// one-second handler of the countdown.
#pragma once

#include <atomic>

// Milliseconds on a clock that only moves forward (the scripted twin's is its virtual clock).
long pf_clock_ms();

// Pauses the calling loop for ms milliseconds, never fewer.
void pf_rest(int ms);

// Pauses like pf_rest, but returns early (within a few milliseconds) once `stop` is set: a
// close request must not wait out a long message.
void pf_rest_unless(int ms, const std::atomic<bool> &stop);

// What a waiting screen does after a pass that changed nothing: sleeps until the pointer, a
// key or the close button stirs, or 100 ms at most. No pause the game's timing counts on (the
// scripted clock does not move).
void pf_idle();

// Sleeps until input comes or `ms` milliseconds have passed (a slice of a wait that a key may
// end); the scripted clock moves by it.
void pf_wait_input(int ms);

// Installs (or re-arms, keeping its phase) a handler called every `period` timer ticks
// (Allegro's install_int_ex; SECS_TO_TIMER(1) is one second).
void pf_install_int_ex(void (*handler)(), long period);

// Holds (true) the handler pf_install_int_ex installed, or lets it run on (false). No tick falls
// while it is held, and the period under way then resumes with the time it had left (to within
// 10 ms), so that a pause of play gives the countdown no second and takes none from it.
void pf_hold_ticks(bool held);

// Pauses `ms` milliseconds unless a fresh press of one of the `count` keys in `scancodes` (any
// key when `scancodes` is NULL) ends it; presses made in the first `shortest_ms` are dropped,
// so a key struck before then does not end the pause. A set `stop` ends it too, within a few
// milliseconds. Returns the key whose press ended it (that press is taken), else 0. The picture
// is presented once a pass. ms UNTIL_PRESS waits for a key however long it takes.
constexpr int UNTIL_PRESS = 0x7fffffff;
int pf_rest_until_press(int ms, int shortest_ms, const int *scancodes, int count,
                        const std::atomic<bool> &stop);
