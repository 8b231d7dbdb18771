// A scripted stand-in for the platform seam: a virtual clock, mouse, keys and screen that a
// test sets, and a log of what the game asked of the sound and the process.
#pragma once

#include "platform/input.h"
#include "platform/input_queue.h"
#include "platform/process.h"
#include "platform/sound.h"
#include "platform/timing.h"
#include "platform/window.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

// Thrown by pf_end_process so that a test sees the status the process would have ended with.
struct ProcessExit {
    int status;
};

// Thrown when a loop polls or waits far longer than any script allows (a loop that never ends).
struct ScriptStalled {
    std::string where;
};

// What the scripted start-up calls answer (0 is success for each).
struct StartupAnswers {
    int library = 0;      // pf_start_library
    int font_engine = 0;  // pf_start_font_engine: 1 is failure
    int sound = 0;        // pf_start_sound
    int window = 0;       // pf_open_window
};

struct ScriptPlatform {
    long now_ms = 0;                 // virtual clock, advanced by pf_rest
    int pointer_x = 0, pointer_y = 0, buttons = 0;  // the pointer and the buttons held
    bool keys[KEY_MAX] = {};          // held keys; each change reaches the press latch
    bool latched_keys[KEY_MAX] = {};  // what the latch was last told
    std::multimap<long, int> timed_taps;  // time -> key tapped then, or a FOCUS_ event (pf_rest)
    std::deque<int> typed;           // what pf_take_typed_key hands out, oldest first
    BITMAP *screen = nullptr;        // the screen target (a memory bitmap)
    bool mouse_shown = false;
    BITMAP *mouse_target = nullptr;
    long rests = 0;                  // pf_rest calls so far
    long idles = 0;                  // pf_idle calls so far
    long presents = 0;               // pf_present calls so far
    bool log_presents = false;       // each present is logged as "present"
    int present_late_ms = 0;         // what pf_present says each present cost beyond 1x
    void (*tick_handler)() = nullptr;
    long tick_period_ms = 0;
    long next_tick_ms = 0;
    bool ticks_held = false;         // pf_hold_ticks
    long held_since_ms = 0;
    long polls = 0;                  // input reads so far
    long poll_limit = 2000000;       // past this a loop is taken to be stuck
    StartupAnswers answers;
    // "allegro_init", "set_color_depth 16", ... (each start-up call), "play_midi 1",
    // "midi_pause", "midi_resume", "play_sample 255 50 1000 0", "message ...", "allegro_exit"
    std::vector<std::string> log;
    // Called on every input read (mouse or key), so a test can move the pointer or press keys
    // while a busy loop spins.
    std::function<void(ScriptPlatform &)> on_poll;
    // Called each time the clock moves, with the new time.
    std::function<void(ScriptPlatform &)> on_time;
};

// Planned in timed_taps instead of a key: the window loses, or gains, the keyboard's focus then.
constexpr int FOCUS_OUT = -10, FOCUS_IN = -11;

extern ScriptPlatform script;

// Starts a fresh script over `screen` (may be NULL for tests that draw nothing).
void script_reset(BITMAP *screen);

// Tells the press latch of every key changed in `keys` since it last looked, as the library's
// keyboard callback would. Every input read does it; a hook that lets go of a key and presses
// it again before the next read calls it in between.
void script_latch_keys();

// A key pressed and let go between two looks of the game, now.
void script_tap(int scancode);

// A click of the left button so short that no look at the buttons sees it, where the pointer
// is now.
void script_click();

// Presses the window's close button: calls the handler in force, as the library would.
void script_press_close();

// True when some log line starts with `prefix`; count_log counts them.
bool script_logged(const std::string &prefix);
int script_count_log(const std::string &prefix);
