// Inside the platform seam: the library's background thread replaced by one that wakes a
// hundred times a second instead of a thousand.
#pragma once

#include <chrono>

// Call before allegro_init. From then on the library's input and sound callbacks run on a
// thread of the game's, every 10 ms.
void use_calm_background_thread();

// For the library's input callbacks (pointer, keys, close button), which run on that thread:
// notes that something stirred.
void note_input();

// Sleeps until a pass of the thread has met input (reported once the pass ends, so the key
// buffer and pointer state are up to date), or `longest` at most (1 ms when the thread is not
// running, so that a loop around it still polls).
void wait_for_input(std::chrono::milliseconds longest);
