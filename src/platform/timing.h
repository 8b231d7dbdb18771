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

// Starts the ticks of the countdown: `handler` called every `period_ms` milliseconds. Starting
// them again with the same handler and period keeps their phase; a null handler stops them.
void pf_start_ticks(void (*handler)(), long period_ms);

// Holds (true) the handler pf_start_ticks installed, or lets it run on (false). No tick falls
// while it is held, and the period under way then resumes with the time it had left (to within
// 10 ms), so that a pause of play gives the countdown no second and takes none from it.
void pf_hold_ticks(bool held);

// One step of every waiting screen, and the only way one shows its picture: the picture
// presented (input pumped first), then a sleep until input comes or `ms` have passed. 0 does not
// sleep (the step drew something: look again at once); IDLE_STEP is the sleep of a screen that
// keeps no time of its own (100 ms at most, and the scripted clock does not move); UNTIL_PRESS
// sleeps as long as input takes to come.
constexpr int IDLE_STEP = -1;
constexpr int UNTIL_PRESS = 0x7fffffff;
void pf_wait_step(int ms);

// Pauses `ms` milliseconds unless a fresh press of one of the `count` keys in `scancodes` (any
// key when `scancodes` is NULL) ends it; presses made in the first `shortest_ms` are dropped,
// so a key struck before then does not end the pause. A set `stop` ends it too, within a few
// milliseconds. Returns the key whose press ended it (that press is taken), else 0. It waits in
// steps (pf_wait_step). ms UNTIL_PRESS waits for a key however long it takes.
int pf_rest_until_press(int ms, int shortest_ms, const int *scancodes, int count,
                        const std::atomic<bool> &stop);
