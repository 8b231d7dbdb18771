// The one test of "is the pointer in this box", shared by the main menu and the boards.
#pragma once

// A box on the picture by its edges, and whether the edges themselves belong to it.
struct PointerBox {
    int left, top, right, bottom;
    bool edges_in;  // true: left <= x <= right, top <= y <= bottom; false: strictly between
};

// True when the pointer is in `box`. The pointer is read once, x and y at the same moment: a
// pointer on the move is never taken to be where its x from one place and its y from another
// would put it.
bool pointer_in(const PointerBox &box);
