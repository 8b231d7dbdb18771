// The game's platform seam on the real Allegro library: its start without a settings file, a
// window, the keyboard, the mouse, the timer, sound and the X11 message box.
#include "platform/input.h"
#include "platform/input_queue.h"
#include "platform/process.h"
#include "platform/sound.h"
#include "platform/timing.h"
#include "platform/window.h"

#include "font/alfont.h"
#include "platform/background_thread.h"
#include "platform/desktop_watch.h"
#include "platform/window_keys.h"
#include "platform/window_pointer.h"
#include "platform/window_present.h"
#include "platform/x_window.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int ENDING_SIGNALS[] = {SIGTERM, SIGINT, SIGHUP};

// A waiting screen sleeps until the pointer, a key or the close button stirs. The longest
// wait only bounds one that no report ends: every input the waiting screens answer reports.
constexpr std::chrono::milliseconds LONGEST_IDLE{100};

void on_mouse(int flags)
{
    // mouse_pos holds x in its high half and y in its low one, each a signed 16-bit number.
    const int both = mouse_pos, buttons = mouse_b;
    const PointerAt at{static_cast<int16_t>(both >> 16), static_cast<int16_t>(both & 0xFFFF)};
    pf_post_pointer(at, buttons);
    // The button may be up again before the game looks: the click is queued where it went down.
    if ((flags & MOUSE_FLAG_LEFT_DOWN) && buttons == 1)
        pf_post_click(pointer_in_picture(at));
    note_input();
}

// The library's key buffer stays empty: typed keys go to the queue with the rest. The window's
// keys never come here (take_window_keys filters them out first).
int on_typed(int typed)
{
    pf_post_typed(typed);
    note_input();
    return 0;
}

void on_key(int scancode)
{
    // Every key goes in, window keys and modifiers too (the queue knows what each one is for),
    // but a held toggle key's repeat.
    if (window_key_passes(scancode & 0x7f, !(scancode & 0x80), key_shifts))
        pf_post_key(scancode & 0x7f, !(scancode & 0x80), pf_clock_ms(), key_shifts);
    note_input();
}

// Set by a close request, for a message box that waits in a child process: it ends at once
// then, as if answered.
std::atomic<bool> close_requested{false};

void on_close_button()
{
    close_requested = true;
    pf_post_close();
    note_input();
}

}  // namespace

int pf_start_library()
{
    struct sigaction before[3];
    for (int i = 0; i < 3; i++)
        sigaction(ENDING_SIGNALS[i], nullptr, &before[i]);
    // The library searches for allegro.cfg (game folder, ~/.allegrorc, /etc) when it starts
    // and writes the file it found back at exit if anything was set. A file named beforehand
    // replaces that search; it must have a name, since the library reloads it by name while
    // it starts, and /dev/null reads empty and swallows any write.
    set_config_file("/dev/null");
    use_calm_background_thread();
    int result = allegro_init();
    if (result == 0) {
        end_with_the_server();
        set_desktop_properties();
        // From the start: a close request answers an error box of start-up too.
        set_close_button_callback(on_close_button);
    }
    if (result == 0 && !calm_background_thread_in_use())
        std::fputs("pitlorex: this Allegro keeps its own background thread; going on with it, "
                   "at its higher idle cost\n", stderr);
    // From here on a nameless configuration in memory: nothing can be written even by mistake.
    set_config_data("", 0);
    // A window's game has nothing to restore on its way out: the X server drops the window and
    // the kernel closes the sound device. Ending at once, by the signal itself, is what the
    // shell and a desktop session expect; a box still open dies with the game (see the box).
    for (int i = 0; i < 3; i++)
        sigaction(ENDING_SIGNALS[i], &before[i], nullptr);
    return result;
}

void pf_set_color_depth(int depth) { set_color_depth(depth); }

int pf_start_font_engine() { return alfont_init(); }

bool pf_use_instruments(const char *list)
{
    // The library reads the list when sound is installed; an absolute path keeps it valid
    // whatever the library does with its own directory.
    char path[PATH_MAX];
    if (access(list, R_OK) != 0 || !realpath(list, path))
        return false;
    // In memory only, replacing what an earlier call added: set_config_string would have the
    // library save it at exit.
    std::string text = "[sound]\npatches = " + std::string(path) + "\n";
    override_config_data(text.c_str(), (int)text.size());
    return true;
}

int pf_start_sound() { return install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr); }

void pf_start_input()
{
    install_timer();
    install_keyboard();
    install_mouse();
    keyboard_lowlevel_callback = on_key;
    keyboard_callback = on_typed;
    mouse_callback = on_mouse;
    take_window_keys();
    on_mouse(0);  // where the pointer is before it first moves
}

// Mapped at each read, so that a change of scale moves no pointer.
PointerAt pf_pointer() { return pointer_in_picture(pf_recorded_pointer()); }
bool pf_button_held() { return pf_recorded_button_held(); }
bool pf_key_held(int scancode) { return pf_recorded_key_down(scancode); }
bool pf_take_typed_key(int &typed) { return pf_take_recorded_typed(typed); }
void pf_drop_typed_keys() { pf_drop_recorded_typed(); }

void pf_rest(int ms)
{
    rest(ms > 0 ? (unsigned int)ms : 0);
    pf_pump_input();
}

long pf_clock_ms()
{
    using namespace std::chrono;
    return (long)duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void pf_rest_unless(int ms, const std::atomic<bool> &stop)
{
    // Slices short enough to answer a close well within 0.2 s.
    for (int left = ms; left > 0 && !stop; left -= 10) {
        rest(left < 10 ? left : 10);
        pf_pump_input();
    }
}

void pf_wait_input(int ms)
{
    wait_for_input(std::chrono::milliseconds(ms < LONGEST_IDLE.count() ? ms : LONGEST_IDLE.count()));
    pf_pump_input();
}

void pf_idle() { pf_wait_input(LONGEST_IDLE.count()); }

int pf_present()
{
    pf_pump_input();
    return (int)(present_window() / 1000);
}

// The game's periodic handler runs from a short timer of the seam's own, which counts the time
// that passes while the handler is not held and calls it each time a whole period has run.
// Removing the library's timer for a pause and installing it again would start the period
// under way afresh: up to a whole second of the countdown given or taken at every pause.
namespace {

constexpr long TICK_SLICE = MSEC_TO_TIMER(10);

struct Ticks {
    std::atomic<void (*)()> handler{nullptr};
    std::atomic<long> period{0};
    std::atomic<bool> held{false};
    std::atomic<bool> restart{false};  // a new handler: its first period starts now
    long counted = 0;                  // time run in the period under way; the timer thread's
};

Ticks ticks;

// On the library's timer thread, once a slice (the library calls it as often as slices fell,
// so the count keeps the true time however late the thread runs).
void tick_slice()
{
    if (ticks.restart.exchange(false))
        ticks.counted = 0;
    void (*handler)() = ticks.handler;
    const long period = ticks.period;
    if (ticks.held || !handler || period <= 0)
        return;
    ticks.counted += TICK_SLICE;
    while (ticks.counted >= period) {
        ticks.counted -= period;
        handler();
    }
}

}  // namespace

void pf_start_ticks(void (*handler)(), long period_ms)
{
    const long period = MSEC_TO_TIMER(period_ms);
    if (handler == ticks.handler && period == ticks.period)
        return;
    const bool fresh = handler != ticks.handler;
    ticks.handler = handler;
    ticks.period = period;
    if (fresh)
        ticks.restart = true;
    install_int_ex(tick_slice, TICK_SLICE);
}

void pf_hold_ticks(bool held) { ticks.held = held; }

void pf_play_tune(MIDI *tune, int loop)
{
    if (tune)
        play_midi(tune, loop);
}

void pf_stop_tune() { play_midi(nullptr, 0); }

void pf_pause_tune(bool paused)
{
    if (paused)
        midi_pause();
    else
        midi_resume();
}

void pf_free_tune(MIDI *tune)
{
    if (tune)
        destroy_midi(tune);
}

void pf_free_sample(SAMPLE *sample)
{
    if (sample)
        destroy_sample(sample);
}

void pf_play_sample(SAMPLE *sample, int volume, int pan, int frequency, int loop)
{
    if (sample)
        play_sample(sample, volume, pan, frequency, loop);
}

// Allegro's own box on X11 is xmessage titled "xmessage"; running xmessage ourselves puts the
// caption on the box. Without xmessage (or a display for it) Allegro's box is the fallback.
void pf_message_box(const char *caption, const char *text)
{
    set_window_title(caption);
    // -default OK: Return answers the box, as in the library's own.
    char *const argv[] = {(char *)"xmessage", (char *)"-title", (char *)caption,
                          (char *)"-center", (char *)"-buttons", (char *)"OK:101",
                          (char *)"-default", (char *)"OK", (char *)text, nullptr};
    constexpr int NOT_RUN = 127;
    pid_t game = getpid();
    pid_t pid = getenv("DISPLAY") ? fork() : -1;
    if (pid == 0) {
        // The box must not outlive the game, whatever ends it (a signal, a kill): it is closed
        // when the game's main thread goes. Only calls that are safe after fork from here on.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != game)  // the game ended before the request was made
            _exit(NOT_RUN);
        // Xlib's own lines about a lost server are not the game's: the game says its one line.
        const int null_fd = open("/dev/null", O_WRONLY);
        if (null_fd >= 0)
            dup2(null_fd, STDERR_FILENO);
        execvp("xmessage", argv);
        _exit(NOT_RUN);
    }
    if (pid > 0) {
        // A close request for the game's window answers the box: the game ends as it would.
        int status = 0;
        pid_t ended;
        close_requested = false;
        while ((ended = waitpid(pid, &status, WNOHANG)) == 0 || (ended < 0 && errno == EINTR)) {
            if (close_requested.exchange(false))
                kill(pid, SIGTERM);
            usleep(10000);
        }
        // Every end of a box that ran is an answer: OK (101), Return, its close button
        // (status 1), or the box killed. A second box with the same text would only repeat it;
        // and had xmessage failed to reach the display, the library's box would fail too.
        if (ended == pid && !(WIFEXITED(status) && WEXITSTATUS(status) == NOT_RUN))
            return;
    }
    allegro_message("%s", text);
}

void pf_shut_down()
{
    unwatch_desktop();
    allegro_exit();
}

void pf_end_process(int status) { exit(status); }
