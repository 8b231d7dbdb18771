// The library's background thread, run at the pace a waiting game needs.
//
// On Unix, Allegro reads X's events (pointer, keys, the close button) and refills the sound
// device from callbacks that one background thread runs. The library's own thread sleeps 1 ms
// at a time and runs the callbacks once 10 ms have passed: measured with the game's window
// open, it woke 880 to 1,010 times a second and ran the callbacks 98 to 100 times a second, so
// nine wake-ups in ten find nothing to do; those alone cost the idle menu 2 to 3 % of a core.
// This one runs the same callbacks, with the same rules for holding them off, at the same
// rate, and wakes only for them: one pass every BACKGROUND_PERIOD, each due a period after the
// last (measured: 99 to 100 passes and about 200 wake-ups a second, the second wake-up of a
// pass being the wait for the X server's answer to the round trip the library's X callback
// makes every time).
// - X's events are answered within 10 ms, well inside a 20 ms answer to a hover or a click;
// - the sound device holds about 116 ms (5 periods of 1,024 frames at 44.1 kHz) and each call
//   refills one period of 23 ms, so calls every 10 ms keep it full with room to spare.
#include "platform/background_thread.h"

#include <allegro.h>
#include <allegro/platform/aintunix.h>

#include <pthread.h>
#include <signal.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <iterator>
#include <mutex>

namespace {

constexpr int MAX_CALLBACKS = 16;  // as many as the library's own thread keeps

// The entries this file fills, in the installed header's order. A header that grew a member
// would leave it unset in the record handed to the library: stop the build instead.
struct FilledManager {
    int multi_threaded;
    int (*init)();
    void (*exit)();
    int (*register_func)(bg_func);
    int (*unregister_func)(bg_func);
    void (*enable_interrupts)();
    void (*disable_interrupts)();
    int (*interrupts_disabled)();
};
static_assert(sizeof(bg_manager) == sizeof(FilledManager),
              "the installed Allegro's bg_manager has members this file does not fill");

// True on the thread below only. The library's way out (exit -> allegro_exit -> removing its
// callbacks, stopping this thread) can run on it, inside a pass that already holds the lock:
// when Xlib loses the X server while a callback reads X's events, it calls exit right there.
// Like the library's own thread, the entries then skip the lock instead of waiting on
// themselves for ever.
thread_local bool on_background_thread = false;

struct BackgroundThread {
    std::mutex lock;                 // held while the callbacks run and while they change
    std::condition_variable wake;    // an exit, or the callbacks let run again
    bg_func callbacks[MAX_CALLBACKS] = {};
    int held_off = 0;                // nested disable_interrupts calls not yet undone
    bool running = false;
    pthread_t thread{};  // not std::thread, whose destructor would end a process left running
    // Input met during a pass is told to the waiting game once the pass is over, when the
    // library has also filled its key buffer and pointer state.
    std::atomic<bool> input_in_pass{false};
    bool input_pending = false;
    std::condition_variable input_told;
};

BackgroundThread bg;

std::unique_lock<std::mutex> lock_unless_on_background_thread()
{
    if (on_background_thread)
        return std::unique_lock<std::mutex>(bg.lock, std::defer_lock);
    return std::unique_lock<std::mutex>(bg.lock);
}

void *run_callbacks(void *)
{
    // Signals go to the game's main thread, never here (the library's thread does the same).
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, nullptr);

    on_background_thread = true;

    std::unique_lock<std::mutex> held(bg.lock);
    auto due = std::chrono::steady_clock::now();
    while (bg.running) {
        due = next_pass(due, std::chrono::steady_clock::now());
        bg.wake.wait_until(held, due, [] { return !bg.running; });
        bg.wake.wait(held, [] { return !bg.running || bg.held_off == 0; });
        if (!bg.running)
            break;
        for (bg_func callback : bg.callbacks)
            if (callback)
                callback(1);
        if (bg.input_in_pass.exchange(false)) {
            bg.input_pending = true;
            bg.input_told.notify_all();
        }
    }
    return nullptr;
}

int start()
{
    std::lock_guard<std::mutex> held(bg.lock);
    for (bg_func &callback : bg.callbacks)
        callback = nullptr;
    bg.held_off = 0;
    bg.running = pthread_create(&bg.thread, nullptr, run_callbacks, nullptr) == 0;
    return bg.running ? 0 : -1;
}

void stop()
{
    bool was_running;
    {
        auto held = lock_unless_on_background_thread();
        was_running = bg.running;
        bg.running = false;
    }
    bg.wake.notify_all();
    if (!was_running)
        return;
    // A thread cannot wait for its own end: stopped from inside, it ends after this pass.
    if (on_background_thread)
        pthread_detach(bg.thread);
    else
        pthread_join(bg.thread, nullptr);
}

int add_callback(bg_func callback)
{
    auto held = lock_unless_on_background_thread();
    for (bg_func &slot : bg.callbacks)
        if (!slot) {
            slot = callback;
            return 0;
        }
    return -1;
}

int remove_callback(bg_func callback)
{
    auto held = lock_unless_on_background_thread();
    for (bg_func &slot : bg.callbacks)
        if (slot == callback) {
            slot = nullptr;
            return 0;
        }
    return -1;
}

// The library holds the callbacks off around work they must not interrupt; the calls nest and
// may come from any thread. Holding off waits for a pass under way to end.
void let_run()
{
    {
        auto held = lock_unless_on_background_thread();
        if (bg.held_off > 0)
            bg.held_off--;
    }
    bg.wake.notify_all();
}

void hold_off()
{
    auto held = lock_unless_on_background_thread();
    bg.held_off++;
}

int held_off()
{
    auto held = lock_unless_on_background_thread();
    return bg.held_off;
}

}  // namespace

std::chrono::steady_clock::time_point next_pass(std::chrono::steady_clock::time_point last,
                                                std::chrono::steady_clock::time_point now)
{
    auto due = last + BACKGROUND_PERIOD;
    return now - due > 2 * BACKGROUND_PERIOD ? now : due;
}

bool calm_background_thread_in_use()
{
    // Our thread runs every callback in our table: the library uses it if it started it and
    // registered its callbacks (X's events, at least, once allegro_init has run) there.
    std::lock_guard<std::mutex> held(bg.lock);
    return bg.running && std::any_of(std::begin(bg.callbacks), std::end(bg.callbacks),
                                     [](bg_func callback) { return callback != nullptr; });
}

void note_input() { bg.input_in_pass = true; }

void wait_for_input(std::chrono::milliseconds longest)
{
    std::unique_lock<std::mutex> held(bg.lock);
    // Had the library not started this thread (a build of it without threads), nothing would
    // report: poll as the library's own thread would, every millisecond.
    if (!bg.running)
        longest = std::min(longest, std::chrono::milliseconds(1));
    bg.input_told.wait_for(held, longest, [] { return bg.input_pending; });
    bg.input_pending = false;
}

void use_calm_background_thread()
{
    // The library starts the manager named _bg_man_pthreads when allegro_init runs; replacing
    // its entries beforehand makes this thread the one it starts, stops and registers with.
    bg_manager calm{};
    calm.multi_threaded = 1;
    calm.init = start;
    calm.exit = stop;
    calm.register_func = add_callback;
    calm.unregister_func = remove_callback;
    calm.enable_interrupts = let_run;
    calm.disable_interrupts = hold_off;
    calm.interrupts_disabled = held_off;
    _bg_man_pthreads = calm;
}
