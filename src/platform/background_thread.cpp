// The library's background thread, run at the pace a waiting game needs.
//
// On Unix, Allegro reads X's events (pointer, keys, the close button) and refills the sound
// device from callbacks that one background thread runs. The library's own thread wakes about
// a thousand times a second whether anything happened or not, which alone cost the idle menu
// 2 to 3 % of a core. This one runs the same callbacks, with the same rules for holding them
// off, every BACKGROUND_PERIOD:
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
#include <mutex>

namespace {

constexpr std::chrono::milliseconds BACKGROUND_PERIOD{10};
constexpr int MAX_CALLBACKS = 16;  // as many as the library's own thread keeps

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

void *run_callbacks(void *)
{
    // Signals go to the game's main thread, never here (the library's thread does the same).
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, nullptr);

    std::unique_lock<std::mutex> held(bg.lock);
    while (bg.running) {
        auto due = std::chrono::steady_clock::now() + BACKGROUND_PERIOD;
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
        std::lock_guard<std::mutex> held(bg.lock);
        was_running = bg.running;
        bg.running = false;
    }
    bg.wake.notify_all();
    if (was_running)
        pthread_join(bg.thread, nullptr);
}

int add_callback(bg_func callback)
{
    std::lock_guard<std::mutex> held(bg.lock);
    for (bg_func &slot : bg.callbacks)
        if (!slot) {
            slot = callback;
            return 0;
        }
    return -1;
}

int remove_callback(bg_func callback)
{
    std::lock_guard<std::mutex> held(bg.lock);
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
        std::lock_guard<std::mutex> held(bg.lock);
        if (bg.held_off > 0)
            bg.held_off--;
    }
    bg.wake.notify_all();
}

void hold_off()
{
    std::lock_guard<std::mutex> held(bg.lock);
    bg.held_off++;
}

int held_off()
{
    std::lock_guard<std::mutex> held(bg.lock);
    return bg.held_off;
}

}  // namespace

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
    _bg_man_pthreads = bg_manager{1, start, stop, add_callback, remove_callback,
                                  let_run, hold_off, held_off};
}
