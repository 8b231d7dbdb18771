// The scripted platform seam used by the tests: nothing here touches a window or a clock.
#include "script_platform.h"

#include <algorithm>

ScriptPlatform script;

void script_reset(BITMAP *canvas)
{
    script.~ScriptPlatform();
    new (&script) ScriptPlatform();
    script.screen = canvas;
    reset_input_latch();
}

void script_latch_keys()
{
    for (int k = 0; k < KEY_MAX; k++)
        if (script.keys[k] != script.latched_keys[k]) {
            script.latched_keys[k] = script.keys[k];
            latch_key_event(k, script.keys[k], script.now_ms);
        }
}

void script_tap(int scancode)
{
    script_latch_keys();
    latch_key_event(scancode, true, script.now_ms);
    latch_key_event(scancode, script.keys[scancode], script.now_ms);
}

void script_click() { latch_click(); }

long pf_clock_ms() { return script.now_ms; }

void script_press_close()
{
    if (script.close_handler)
        script.close_handler();
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

bool pf_use_midi_patches(const char *)
{
    script.log.push_back("midi patches");
    return true;
}

int pf_install_sound()
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

void pf_install_input() { script.log.push_back("timer keyboard mouse"); }

BITMAP *pf_install_pointer(const char *path)
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

static void poll()
{
    if (++script.polls > script.poll_limit)
        throw ScriptStalled{"input polled " + std::to_string(script.polls) + " times"};
    if (script.on_poll)
        script.on_poll(script);
    script_latch_keys();
}

PointerAt pf_pointer() { poll(); return {script.mouse_x, script.mouse_y}; }
int pf_mouse_b() { poll(); return script.mouse_b; }

bool pf_key_held(int scancode)
{
    poll();
    return scancode >= 0 && scancode < KEY_MAX && script.keys[scancode];
}

int pf_readkey()
{
    poll();
    if (script.typed.empty())
        throw ScriptStalled{"readkey with no key left to type"};
    int k = script.typed.front();
    script.typed.pop_front();
    // A typed key was pressed too: the latch sees it as the library's callback would.
    script_tap(k >> 8);
    return k;
}

bool pf_keypressed()
{
    poll();
    return !script.typed.empty();
}

void pf_clear_keybuf() { script.log.push_back("clear_keybuf"); }

// Advances the virtual clock, firing the tick handler at each whole period it passes.
void pf_rest(int ms)
{
    script.rests++;
    long end = script.now_ms + (ms > 0 ? ms : 0);
    while (script.tick_handler && script.tick_period_ms > 0 && script.next_tick_ms <= end) {
        script.now_ms = script.next_tick_ms;
        script.next_tick_ms += script.tick_period_ms;
        script.tick_handler();
    }
    // Taps planned within the pause, each latched at its own time.
    while (!script.timed_taps.empty() && script.timed_taps.begin()->first <= end) {
        auto tap = script.timed_taps.begin();
        script_latch_keys();
        latch_key_event(tap->second, true, tap->first);
        latch_key_event(tap->second, script.keys[tap->second], tap->first);
        script.timed_taps.erase(tap);
    }
    script.now_ms = end;
    if (script.on_time)
        script.on_time(script);
}

// A pause that a set flag cuts short: skipped when the flag is already set, else one whole
// pause, so that the clock moves as it would with pf_rest.
void pf_rest_unless(int ms, const std::atomic<bool> &stop)
{
    if (!stop)
        pf_rest(ms);
}

// A pause with no planned tap inside is one pf_rest, as a plain pause; planned taps split it
// at their times, so that a test sees where a key ended it. A wait for any key with none
// planned is answered by a prompt player: Return as soon as it counts.
int pf_rest_until_press(int ms, int shortest_ms, const int *scancodes, int count,
                        const std::atomic<bool> &stop)
{
    if (stop)
        return 0;
    const long end = script.now_ms + ms;
    auto tap = script.timed_taps.upper_bound(script.now_ms);
    if (tap == script.timed_taps.end() || tap->first > end) {
        bool prompt = ms == UNTIL_PRESS && !scancodes;
        pf_rest(prompt ? shortest_ms : ms);
        return prompt ? KEY_ENTER : 0;
    }
    pf_rest(shortest_ms);
    pf_drop_presses();
    KeyPress press;
    while (!stop) {
        if (pf_take_press(scancodes, count, press))
            return press.scancode;
        if (script.now_ms >= end)
            return 0;
        tap = script.timed_taps.upper_bound(script.now_ms);
        long next = tap == script.timed_taps.end() ? end : std::min(end, tap->first);
        pf_rest(int(next - script.now_ms));
    }
    return 0;
}

void pf_idle() { script.idles++; }

void pf_install_int_ex(void (*handler)(), long period)
{
    long period_ms = period * 1000 / TIMERS_PER_SECOND;
    if (handler == script.tick_handler && period_ms == script.tick_period_ms)
        return;  // re-arming with the same period keeps the phase
    script.tick_handler = handler;
    script.tick_period_ms = period_ms;
    script.next_tick_ms = script.now_ms + period_ms;
}

BITMAP *pf_screen() { return script.screen; }
void pf_acquire_screen() {}
void pf_release_screen() {}

void pf_show_mouse(BITMAP *target)
{
    script.mouse_shown = target != nullptr;
    script.mouse_target = target;
}

void pf_scare_mouse() { script.mouse_scared++; }
void pf_unscare_mouse() { script.mouse_scared--; }

void pf_set_close_button_callback(void (*handler)()) { script.close_handler = handler; }

void pf_play_midi(MIDI *tune, int loop)
{
    if (tune)
        script.log.push_back("play_midi " + std::to_string(loop));
}

void pf_stop_midi() { script.log.push_back("stop_midi"); }

void pf_destroy_midi(MIDI *tune)
{
    if (tune) {
        script.log.push_back("destroy_midi");
        destroy_midi(tune);
    }
}

// Not logged: freeing a sample is nothing a player hears.
void pf_destroy_sample(SAMPLE *sample)
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

void pf_allegro_exit() { script.log.push_back("allegro_exit"); }

void pf_exit(int status)
{
    script.log.push_back("exit " + std::to_string(status));
    throw ProcessExit{status};
}
