// Home-made 16 x 16 tile and object images for the picture tests: a distinct solid colour
// each, the overlays, baskets and objects with a pink (transparent) left half.
#pragma once

#include <allegro.h>

struct TestImages {
    BITMAP *screen = nullptr;  // 512 x 384, handed to the scripted platform

    // Creates the images, the back buffer and the screen and installs them as the game's.
    TestImages();
    // Destroys them and leaves the game's image slots empty.
    ~TestImages();
    TestImages(const TestImages &) = delete;
    TestImages &operator=(const TestImages &) = delete;
};

// The solid colour of a tile letter or object digit image.
int tile_colour(char letter);
int object_colour(char digit);

// True for images whose left half (x 0..7) is the mask colour.
bool has_pink_half(char letter_or_digit);

// The pixel a stack of images shows at (x, y) of a cell, the last one on top; `below` is what
// shows through when every layer is transparent there. Letters are tiles, digits objects.
int stacked_pixel(const char *layers, int x, int y, int below);

// True when cell (row, col) of `bmp` shows exactly `layers` over `below`; on failure says
// which pixel differs.
bool cell_shows(BITMAP *bmp, int row, int col, const char *layers, int below, char *why = nullptr);

// True when every pixel of cell (row, col) equals `colour`.
bool cell_is(BITMAP *bmp, int row, int col, int colour);
