// The pointer and the keys over a screen's boxes, shared by the main menu and the boards: "is
// the pointer in this box", a click there, and the light the keys hold until the pointer moves.
#pragma once

#include "platform/input.h"

// A box on the picture by its edges, and whether the edges themselves belong to it.
struct PointerBox {
    int left, top, right, bottom;
    bool edges_in;  // true: left <= x <= right, top <= y <= bottom; false: strictly between
};

// True when the pointer is in `box`. The pointer is read once, x and y at the same moment: a
// pointer on the move is never taken to be where its x from one place and its y from another
// would put it.
bool pointer_in(const PointerBox &box);

// True when `at` is in `box`.
bool box_holds(const PointerBox &box, PointerAt at);

// Which of the `count` boxes a click chose, or -1. A click counts where the button went down:
// the left button alone held now chooses the box the pointer is in (`hovered`, tested by the
// caller; -1 when it is in none, and the button is then not read); otherwise a click latched
// since the last look (one too short for a look at the button to see) chooses the box where it
// went down. A latched click is taken even when it fell in no box: it chooses nothing.
int clicked_box(const PointerBox *boxes, int count, int hovered);

// The line of a screen that the keys lit, and the pointer's place when they lit it: the keys
// keep the light there until the pointer moves or the left button is held. A record the
// screen's loop owns.
struct KeyLight {
    int line = -1;      // the line the keys lit, while they hold the light
    bool held = false;  // the keys hold the light
    PointerAt pointer{0, 0};
};

// The keys take the light to `line`, the pointer's place read now.
void keys_take_light(KeyLight &light, int line);

// True while the keys hold the light and keep it: the pointer is where it was when they took it
// and the left button is not held. Once either changes the keys let it go (held cleared) and
// the answer is false; false too when they held nothing.
bool keys_keep_light(KeyLight &light);
