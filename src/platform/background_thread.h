// Inside the platform seam: the library's background thread replaced by one that wakes a
// hundred times a second instead of a thousand.
#pragma once

// Call before allegro_init. From then on the library's input and sound callbacks run on a
// thread of the game's, every 10 ms.
void use_calm_background_thread();
