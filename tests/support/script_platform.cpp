// The scripted platform seam used by the tests: nothing here touches a window or a clock.
#include "script_platform.h"

#include <algorithm>

ScriptPlatform script;

void script_reset(BITMAP *canvas)
{
    script.~ScriptPlatform();
    new (&script) ScriptPlatform();
    script.screen = canvas;
    pf_reset_input();
}

void script_latch_keys()
{
    for (int k = 0; k < KEY_MAX; k++)
        if (script.keys[k] != script.latched_keys[k]) {
            script.latched_keys[k] = script.keys[k];
            pf_post_key(k, script.keys[k], script.now_ms);
        }
}

void script_tap(int scancode)
{
    script_latch_keys();
    pf_post_key(scancode, true, script.now_ms);
    pf_post_key(scancode, script.keys[scancode], script.now_ms);
}

void script_click() { pf_post_click({script.pointer_x, script.pointer_y}); }

long pf_clock_ms() { return script.now_ms; }

void script_press_close()
{
    pf_post_close();
    pf_pump_input();
}

bool script_logged(const std::string &prefix) { return script_count_log(prefix) > 0; }

int script_count_log(const std::string &prefix)
{
    int n = 0;
    for (const std::string &line : script.log)
        if (line.compare(0, prefix.size(), prefix) == 0)
            n++;
    return n;
}

// Start-up: each call is logged under the library's name for it and answers as told. The
// pointer's picture is really loaded, so that the game can free it.
int pf_start_library()
{
    script.log.push_back("allegro_init");
    return script.answers.library;
}

void pf_set_color_depth(int depth)
{
    script.log.push_back("set_color_depth " + std::to_string(depth));
}

int pf_start_font_engine()
{
    script.log.push_back("alfont_init");
    return script.answers.font_engine;
}

bool pf_use_instruments(const char *)
{
    script.log.push_back("midi patches");
    return true;
}

int pf_start_sound()
{
    script.log.push_back("install_sound");
    return script.answers.sound;
}

int pf_open_window()
{
    script.log.push_back("set_gfx_mode");
    return script.answers.window;
}

void pf_set_window_title(const char *title)
{
    script.log.push_back(std::string("set_window_title ") + title);
}

void pf_start_input() { script.log.push_back("timer keyboard mouse"); }

BITMAP *pf_load_pointer(const char *path)
{
    script.log.push_back("load cursor");
    // Kept until the next pointer, as the library keeps its mouse sprite: the game never frees
    // it.
    static BITMAP *sprite = nullptr;
    if (sprite)
        destroy_bitmap(sprite);
    sprite = load_bitmap(path, nullptr);
    script.log.push_back(sprite ? "set_mouse_sprite cursor" : "set_mouse_sprite none");
    return sprite;
}

// The player's turn at each look at the input now: the hook, then what the keys and the pointer
// are, posted as the library's callbacks would post them.
static void poll()
{
    if (++script.polls > script.poll_limit)
        throw ScriptStalled{"input polled " + std::to_string(script.polls) + " times"};
    if (script.on_poll)
        script.on_poll(script);
    script_latch_keys();
    pf_post_pointer({script.pointer_x, script.pointer_y}, script.buttons);
}

PointerAt pf_pointer()
{
    poll();
    return pf_recorded_pointer();
}

bool pf_button_held()
{
    poll();
    return pf_recorded_button_held();
}

bool pf_key_held(int scancode)
{
    poll();
    return pf_recorded_key_down(scancode);
}

// One key of `typed` is typed at each look for one, pressed too as the library would have it.
bool pf_take_typed_key(int &typed)
{
    poll();
    if (!script.typed.empty()) {
        const int k = script.typed.front();
        script.typed.pop_front();
        script_tap(k >> 8);
        pf_post_typed(k);
    }
    return pf_take_recorded_typed(typed);
}

void pf_drop_typed_keys()
{
    script.log.push_back("clear_keybuf");
    pf_drop_recorded_typed();
}

// Advances the virtual clock, firing the tick handler at each whole period it passes.
void pf_rest(int ms)
{
    script.rests++;
    long end = script.now_ms + (ms > 0 ? ms : 0);
    while (script.tick_handler && script.tick_period_ms > 0 && !script.ticks_held &&
           script.next_tick_ms <= end) {
        script.now_ms = script.next_tick_ms;
        script.next_tick_ms += script.tick_period_ms;
        script.tick_handler();
    }
    // Taps planned within the pause, each latched at its own time.
    while (!script.timed_taps.empty() && script.timed_taps.begin()->first <= end) {
        auto tap = script.timed_taps.begin();
        script_latch_keys();
        if (tap->second == FOCUS_OUT || tap->second == FOCUS_IN) {
            pf_post_focus(tap->second == FOCUS_IN);
        } else {
            pf_post_key(tap->second, true, tap->first);
            pf_post_key(tap->second, script.keys[tap->second], tap->first);
        }
        script.timed_taps.erase(tap);
    }
    script.now_ms = end;
    if (script.on_time)
        script.on_time(script);
    pf_pump_input();
}

// A pause that a set flag cuts short: skipped when the flag is already set, else one whole
// pause, so that the clock moves as it would with pf_rest.
void pf_rest_unless(int ms, const std::atomic<bool> &stop)
{
    if (!stop)
        pf_rest(ms);
}

// A slice of a wait that a key may end: up to the next planned tap, or `ms`. An endless wait
// with no tap planned is answered by a prompt player: Return, at once.
void pf_wait_input(int ms)
{
    auto tap = script.timed_taps.upper_bound(script.now_ms);
    if (ms >= UNTIL_PRESS / 2 && tap == script.timed_taps.end()) {
        script_tap(KEY_ENTER);
        pf_pump_input();
        return;
    }
    long next = script.now_ms + ms;
    if (tap != script.timed_taps.end() && tap->first < next)
        next = tap->first;
    pf_rest(int(next - script.now_ms));
}

int pf_present()
{
    script.presents++;
    if (script.log_presents)
        script.log.push_back("present");
    return script.present_late_ms;
}

void pf_set_window_failure_handler(void (*)()) {}

void pf_idle()
{
    script.idles++;
    pf_pump_input();
}

void pf_start_ticks(void (*handler)(), long period_ms)
{
    if (handler == script.tick_handler && period_ms == script.tick_period_ms)
        return;  // re-arming with the same period keeps the phase
    script.tick_handler = handler;
    script.tick_period_ms = period_ms;
    script.next_tick_ms = script.now_ms + period_ms;
}

// The next tick moves on by the time held, so the period under way resumes where it stopped.
void pf_hold_ticks(bool held)
{
    if (held == script.ticks_held)
        return;
    script.ticks_held = held;
    if (held)
        script.held_since_ms = script.now_ms;
    else
        script.next_tick_ms += script.now_ms - script.held_since_ms;
}

BITMAP *pf_screen() { return script.screen; }

void pf_show_pointer(BITMAP *target)
{
    script.mouse_shown = target != nullptr;
    script.mouse_target = target;
}

void pf_play_tune(MIDI *tune, int loop)
{
    if (tune)
        script.log.push_back("play_midi " + std::to_string(loop));
}

void pf_stop_tune() { script.log.push_back("stop_midi"); }

void pf_pause_tune(bool paused) { script.log.push_back(paused ? "midi_pause" : "midi_resume"); }

void pf_free_tune(MIDI *tune)
{
    if (tune) {
        script.log.push_back("destroy_midi");
        destroy_midi(tune);
    }
}

// Not logged: freeing a sample is nothing a player hears.
void pf_free_sample(SAMPLE *sample)
{
    if (sample)
        destroy_sample(sample);
}

void pf_play_sample(SAMPLE *sample, int volume, int pan, int frequency, int loop)
{
    if (sample)
        script.log.push_back("play_sample " + std::to_string(volume) + " " + std::to_string(pan) +
                             " " + std::to_string(frequency) + " " + std::to_string(loop));
}

void pf_message_box(const char *caption, const char *text)
{
    script.log.push_back(std::string("message ") + caption + "|" + text);
}

void pf_shut_down() { script.log.push_back("allegro_exit"); }

void pf_end_process(int status)
{
    script.log.push_back("exit " + std::to_string(status));
    throw ProcessExit{status};
}
