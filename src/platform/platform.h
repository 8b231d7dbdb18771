// The one seam between the game and the library's start and stop, window, clock, input,
// screen target, sound, close button, message boxes and process end. The game calls only these
// for such things, so a test build links tests/support/script_platform.cpp instead of
// platform_allegro.cpp and scripts a whole game, start-up included.
//
// Drawing itself (blit, draw_sprite, rectfill, textprintf_ex, load_bitmap, ...) and loading
// tunes and sounds from files are plain Allegro on BITMAP*, MIDI* and SAMPLE*: they work with
// no display and no sound card, so they need no seam.
#pragma once

#include <allegro.h>

#include <atomic>

// ---- Start and stop ----------------------------------------------------------------------
// The game's picture in pixels; the window shows it at a whole scale (1x, 2x, ...).
constexpr int WINDOW_WIDTH = 512;
constexpr int WINDOW_HEIGHT = 384;

// Starts the library (allegro_init) with two changes to what it does on its own. Its
// configuration is an empty one held in memory: an allegro.cfg beside the game or a
// ~/.allegrorc is never read (a stale "[system] system = NONE" would otherwise turn every
// start into Erro 01) and nothing is saved at exit. And SIGTERM, SIGINT and SIGHUP keep what
// they did before (normally: end the process), instead of the library's handler, which shuts
// the library down inside the signal and aborts with a core dump when the screen is held.
// Returns 0 when the library started, anything else when it did not (no display).
int pf_start_library();

// The colour depth of bitmaps created from now on, the window's included.
void pf_set_color_depth(int depth);

// Starts the outline-font engine with the library (font/alfont.h's alfont_init): 1 is failure.
int pf_start_font_engine();

// Where the build puts the MIDI instrument list (relative to the game folder). Its patch
// paths are relative to its own folder.
constexpr const char *MIDI_PATCH_LIST = "sons/patches/default.cfg";

// Call after pf_start_library and before pf_install_sound. When the patch list `list` exists,
// tells the library's MIDI player to use it (in the configuration in memory: nothing is
// written) and returns true; otherwise changes nothing and returns false (the tunes then stay
// silent and the game goes on).
bool pf_use_midi_patches(const char *list);

// Installs sound, both drivers autodetected: 0, or a negative failure.
int pf_install_sound();

// Opens the window at the largest whole scale of the picture that fits the desktop, smaller
// down to 1x when that fails: 0, or a negative failure. From then on, on every screen, F11 or
// Alt+Return toggles fullscreen and Ctrl+Plus or Ctrl+Minus steps the scale.
int pf_open_window();

// Makes `handler` the one called, on the main thread, when the window cannot be opened again
// after a change of its scale or of fullscreen (every attempt refused): it tells the player and
// ends the process. Without one, or should it return, the process ends with status 1.
void pf_set_window_failure_handler(void (*handler)());

// Puts `title` on the window's title bar.
void pf_set_window_title(const char *title);

// Installs the timer, the keyboard and the mouse, in this order.
void pf_install_input();

// Loads the pointer's picture from `path` and makes it the mouse sprite; returns it (the
// caller frees it), or NULL when it did not load (the library's arrow is used then).
BITMAP *pf_install_pointer(const char *path);

// ---- Input -------------------------------------------------------------------------------
// Where the pointer is, in picture pixels.
struct PointerAt {
    int x, y;
    bool operator==(const PointerAt &other) const { return x == other.x && y == other.y; }
    bool operator!=(const PointerAt &other) const { return !(*this == other); }
};

// The pointer's position now, x and y read at one moment (Allegro's mouse_pos, which the
// library writes whole), so that a pointer on the move is never seen at an x from one place and
// a y from another; mapped back from the window's scale.
PointerAt pf_pointer();

// The buttons held now (Allegro's mouse_b), read afresh on every call.
int pf_mouse_b();

// True while the key with this scancode (KEY_UP, KEY_ESC, ...) is held (Allegro's key[]).
bool pf_key_held(int scancode);

// Waits for one typed key; returns (scancode << 8) | character code, as Allegro's readkey.
int pf_readkey();

// True when a typed key waits to be read, so that a loop can wait for one without blocking.
bool pf_keypressed();

// Drops every key typed and not yet read.
void pf_clear_keybuf();

// ---- Time --------------------------------------------------------------------------------
// Pauses the calling loop for ms milliseconds.
void pf_rest(int ms);

// Pauses like pf_rest, but returns early (within a few milliseconds) once `stop` is set: a
// close request must not wait out a long message.
void pf_rest_unless(int ms, const std::atomic<bool> &stop);

// What a waiting screen does after a pass that changed nothing: sleeps until the pointer, a
// key or the close button stirs, or 100 ms at most. No pause the game's timing counts on (the
// scripted clock does not move).
void pf_idle();

// Sleeps until input comes or `ms` milliseconds have passed (a slice of a wait that a key may
// end); the scripted clock moves by it.
void pf_wait_input(int ms);

// Installs (or re-arms, keeping its phase) a handler called every `period` timer ticks
// (Allegro's install_int_ex; SECS_TO_TIMER(1) is one second).
void pf_install_int_ex(void (*handler)(), long period);

// Holds (true) the handler pf_install_int_ex installed, or lets it run on (false). No tick falls
// while it is held, and the period under way then resumes with the time it had left (to within
// 10 ms), so that a pause of play gives the countdown no second and takes none from it.
void pf_hold_ticks(bool held);

// ---- Screen and pointer ------------------------------------------------------------------
// The picture as a drawing target. What is drawn on it shows in the window at the next
// pf_present.
BITMAP *pf_screen();

// Shows the picture in the window: what was drawn on pf_screen() since the last call reaches
// the window, scaled, and the window keys pressed since are carried out. Called once per frame
// and once per pass of every waiting loop; no other call shows the picture.
void pf_present();

// Shows the mouse pointer over `target`; NULL hides it. Asks for the system's own cursor (drawn
// by X with the sprite's picture) first, so that copies to the screen cannot wipe it.
void pf_show_mouse(BITMAP *target);

// Around a drawing onto the screen: hides a pointer that the library draws itself, then
// shows it again over the new picture. Nothing happens when the system draws the cursor.
void pf_scare_mouse();
void pf_unscare_mouse();

// Makes `handler` the one called when the window's close button is pressed; it replaces the
// handler installed before. Handlers only set a flag: they run outside the main thread.
void pf_set_close_button_callback(void (*handler)());

// ---- Sound -------------------------------------------------------------------------------
// Plays a tune (looped when loop is 1). A NULL tune plays nothing.
void pf_play_midi(MIDI *tune, int loop);

// Stops the tune playing, if any (Allegro's play_midi(NULL, 0)).
void pf_stop_midi();

// Pauses the tune playing where it is (true), or resumes it from there (false): Allegro's
// midi_pause and midi_resume. With no tune playing nothing happens.
void pf_pause_music(bool paused);

// Stops and frees a tune; NULL does nothing.
void pf_destroy_midi(MIDI *tune);

// Stops and frees a sample; NULL does nothing.
void pf_destroy_sample(SAMPLE *sample);

// Plays a sample at volume 0..255, pan 0 (left)..255 (right), frequency 1000 = own pitch.
// A NULL sample plays nothing.
void pf_play_sample(SAMPLE *sample, int volume, int pan, int frequency, int loop);

// ---- Message boxes and the end of the process --------------------------------------------
// Shows a blocking message box titled `caption`; returns when the player dismisses it (its
// button, Return, or its close button). The window's title takes the caption too and keeps it
// afterwards. The box never outlives the process.
void pf_message_box(const char *caption, const char *text);

// Shuts the library down (Allegro's allegro_exit).
void pf_allegro_exit();

// Ends the process with `status`. Never returns (a test build unwinds instead).
[[noreturn]] void pf_exit(int status);
