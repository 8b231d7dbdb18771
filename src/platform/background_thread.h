// Inside the platform seam: the library's background thread replaced by one that wakes only
// for its hundred passes a second instead of every millisecond.
#pragma once

#include <chrono>

// The time between two passes of the thread.
constexpr std::chrono::milliseconds BACKGROUND_PERIOD{10};

// Call before allegro_init. From then on the library's input and sound callbacks run on a
// thread of the game's, every BACKGROUND_PERIOD.
void use_calm_background_thread();

// Call after allegro_init: true when the thread above is the one that runs the library's
// callbacks. False when the library kept its own (a build of it that binds its own manager
// never calls ours): the game works on, only at the library thread's higher idle cost.
bool calm_background_thread_in_use();

// When the pass after the one due at `last` is due, seen at `now`: a period after `last`, so
// that a late pass does not slow the rate; but a thread more than two periods behind (held
// off, or the machine stalled) starts again from `now` rather than run the missed passes back
// to back.
std::chrono::steady_clock::time_point next_pass(std::chrono::steady_clock::time_point last,
                                                std::chrono::steady_clock::time_point now);

// For the library's input callbacks (pointer, keys, close button), which run on that thread:
// notes that something stirred.
void note_input();

// Sleeps until a pass of the thread has met input (reported once the pass ends, so the key
// buffer and pointer state are up to date), or `longest` at most (1 ms when the thread is not
// running, so that a loop around it still polls).
void wait_for_input(std::chrono::milliseconds longest);
