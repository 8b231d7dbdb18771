// The library calls of start-up that do not pass through the platform seam, gathered so that
// tests can stand in for them and watch the order of start-up and its failure paths.
#pragma once

#include <allegro.h>

struct StartupCalls {
    int (*init_library)();                 // start_library: 0, or a failure (no display)
    void (*set_color_depth)(int depth);
    int (*font_engine_init)();             // alfont_init: 1 is failure
    void (*configure_midi_patches)();
    int (*install_sound)();                // both drivers autodetected: 0 or a negative failure
    int (*set_window_mode)();              // the 512 x 384 window: 0 or a negative failure
    void (*set_window_title)(const char *title);
    void (*install_input)();               // timer, keyboard and mouse, in this order
    BITMAP *(*load_cursor)();              // the pointer image, or nullptr
    void (*set_mouse_sprite)(BITMAP *sprite);
};

// The real calls on Allegro, FreeType and X11.
extern const StartupCalls library_startup;

// init_system and pitlorex_main over the given calls.
int init_system(const StartupCalls &calls);
int pitlorex_main(const StartupCalls &calls);
