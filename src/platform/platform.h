// The one seam between the game and Allegro's clock, input, screen target, sound, close
// button, message boxes and process end. The game calls only these for such things, so a test
// build can link platform_script.cpp instead of platform_allegro.cpp and script a whole game.
//
// Drawing itself (blit, draw_sprite, rectfill, textprintf_ex, ...) is plain Allegro on BITMAP*
// targets: memory bitmaps work with no display, so it needs no seam.
#pragma once

#include <allegro.h>

// ---- Input -------------------------------------------------------------------------------
// Current pointer position and buttons, read afresh on every call (Allegro's mouse_x,
// mouse_y, mouse_b).
int pf_mouse_x();
int pf_mouse_y();
int pf_mouse_b();

// True while the key with this scancode (KEY_UP, KEY_ESC, ...) is held (Allegro's key[]).
bool pf_key_held(int scancode);

// Waits for one typed key; returns (scancode << 8) | character code, as Allegro's readkey.
int pf_readkey();

// Drops every key typed and not yet read.
void pf_clear_keybuf();

// ---- Time --------------------------------------------------------------------------------
// Pauses the calling loop for ms milliseconds. The only pause the game takes.
void pf_rest(int ms);

// Installs (or re-arms, keeping its phase) a handler called every `period` timer ticks
// (Allegro's install_int_ex; SECS_TO_TIMER(1) is one second).
void pf_install_int_ex(void (*handler)(), long period);

// ---- Screen and pointer ------------------------------------------------------------------
// The visible screen as a drawing target.
BITMAP *pf_screen();

// Holds the screen while a frame is copied to it, then lets it go.
void pf_acquire_screen();
void pf_release_screen();

// Shows the mouse pointer over `target`; NULL hides it.
void pf_show_mouse(BITMAP *target);

// Makes `handler` the one called when the window's close button is pressed; it replaces the
// handler installed before. Handlers only set a flag: they run outside the main thread.
void pf_set_close_button_callback(void (*handler)());

// ---- Sound -------------------------------------------------------------------------------
// Plays a tune (looped when loop is 1). A NULL tune plays nothing.
void pf_play_midi(MIDI *tune, int loop);

// Stops the tune playing, if any (Allegro's play_midi(NULL, 0)).
void pf_stop_midi();

// Stops and frees a tune; NULL does nothing.
void pf_destroy_midi(MIDI *tune);

// Plays a sample at volume 0..255, pan 0 (left)..255 (right), frequency 1000 = own pitch.
// A NULL sample plays nothing.
void pf_play_sample(SAMPLE *sample, int volume, int pan, int frequency, int loop);

// ---- Message boxes and the end of the process --------------------------------------------
// Shows a blocking message box titled `caption`; returns when the player dismisses it (its
// button, Return, or its close button). The box never outlives the process.
void pf_message_box(const char *caption, const char *text);

// Shuts the library down (Allegro's allegro_exit).
void pf_allegro_exit();

// Ends the process with `status`. Never returns (a test build unwinds instead).
[[noreturn]] void pf_exit(int status);
