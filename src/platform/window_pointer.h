// Inside the platform seam: the pointer over the window, its picture drawn by X at the
// picture's scale, and its place mapped back to picture pixels.
#pragma once

#include "platform/input.h"
#include "platform/window_geometry.h"

// The pointer at `at` in the window's pixels, as the library reported it, in picture pixels
// (beyond the picture's edges in the black around it).
PointerAt pointer_in_picture(PointerAt at);

// Call when the picture's place in the window changed: the pointer's picture follows its scale.
void scale_pointer(const Placement &at);

// Call when the window changed its size, place or state: the library hears of the pointer only
// when it moves, so its place in the window is asked of the X server, and holds until it moves.
void follow_pointer();
