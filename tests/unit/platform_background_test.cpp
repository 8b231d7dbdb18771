// The thread that runs the library's input and sound callbacks in the game's place, driven
// through the entries the library itself calls.
#include "platform/background_thread.h"

#include <allegro.h>
#include <allegro/platform/aintunix.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

std::atomic<int> calls{0};
std::atomic<bool> inside{false};
std::atomic<bool> report_input{false};

// Like the library's callbacks: an input callback reports before the pass has finished its
// work (the key buffer is filled after the key's callback).
void count_call(int)
{
    inside = true;
    if (report_input.exchange(false))
        note_input();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    calls++;
    inside = false;
}

bool calls_pass(int count)
{
    for (int waited = 0; waited < 2000; waited++) {
        if (calls > count)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

// What the library's way out does when Xlib loses the X server while a callback reads X's
// events: it runs on the thread itself, removes the callbacks and stops the thread.
std::atomic<int> endings{0};
void end_from_inside(int)
{
    bg_manager &thread = _bg_man_pthreads;
    thread.unregister_func(end_from_inside);
    thread.disable_interrupts();
    thread.enable_interrupts();
    thread.exit();
    endings++;
}

bool waits_for(const std::atomic<int> &count, int value)
{
    for (int waited = 0; waited < 2000 && count < value; waited++)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return count >= value;
}

void pause_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Puts the library's own entries back whatever the test's outcome.
struct ManagerSwap {
    bg_manager saved = _bg_man_pthreads;
    ManagerSwap() { use_calm_background_thread(); }
    ~ManagerSwap() { _bg_man_pthreads = saved; }
};

}  // namespace

TEST(BackgroundThread, RunsItsCallbacksOnlyWhileNotHeldOffAndNeverAfterStopping)
{
    ManagerSwap swap;
    bg_manager &thread = _bg_man_pthreads;
    ASSERT_EQ(thread.multi_threaded, 1) << "the library locks X only for a threaded manager";
    ASSERT_EQ(thread.init(), 0);
    ASSERT_EQ(thread.register_func(count_call), 0);
    ASSERT_TRUE(calls_pass(calls + 3)) << "the callback does not run on its own";
    EXPECT_TRUE(calm_background_thread_in_use());

    // Holding off waits out a pass under way (tried over several passes), and the calls nest.
    for (int i = 0; i < 60; i++) {
        thread.disable_interrupts();
        EXPECT_FALSE(inside) << "held off in the middle of a pass";
        thread.enable_interrupts();
        pause_ms(1);
    }
    thread.disable_interrupts();
    thread.disable_interrupts();
    thread.enable_interrupts();
    EXPECT_EQ(thread.interrupts_disabled(), 1);
    int held = calls;
    pause_ms(50);
    EXPECT_EQ(calls, held) << "ran while held off";
    thread.enable_interrupts();
    EXPECT_TRUE(calls_pass(held)) << "did not run again once let";

    // A waiting game wakes on input once the pass that met it is over, and not before.
    auto before = std::chrono::steady_clock::now();
    wait_for_input(std::chrono::milliseconds(30));
    EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(30))
        << "woke with no input";
    int passes = calls;
    report_input = true;
    before = std::chrono::steady_clock::now();
    wait_for_input(std::chrono::seconds(5));
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(1));
    EXPECT_GT(calls, passes) << "woke in the middle of the pass";

    // A callback taken off is not called again; nor is anything once the thread has stopped.
    EXPECT_EQ(thread.unregister_func(count_call), 0);
    int removed = calls;
    pause_ms(50);
    EXPECT_EQ(calls, removed);
    ASSERT_EQ(thread.register_func(count_call), 0);
    ASSERT_TRUE(calls_pass(calls));
    thread.exit();
    int stopped = calls;
    EXPECT_FALSE(inside);
    pause_ms(50);
    EXPECT_EQ(calls, stopped);

    // Stopped from inside a callback, it neither waits on itself nor runs another pass, and
    // starts again afterwards.
    ASSERT_EQ(thread.init(), 0);
    ASSERT_EQ(thread.register_func(count_call), 0);
    ASSERT_EQ(thread.register_func(end_from_inside), 0);
    ASSERT_TRUE(waits_for(endings, 1)) << "the thread hung on its own lock";
    stopped = calls;
    pause_ms(50);
    EXPECT_EQ(calls, stopped);
    EXPECT_EQ(endings, 1);
    ASSERT_EQ(thread.init(), 0);
    ASSERT_EQ(thread.register_func(count_call), 0);
    EXPECT_TRUE(calls_pass(calls));
    thread.exit();

    // A library that keeps its own thread runs the callbacks there, and ours is told unused.
    ASSERT_EQ(swap.saved.init(), 0);
    ASSERT_EQ(swap.saved.register_func(count_call), 0);
    EXPECT_TRUE(calls_pass(calls));
    EXPECT_FALSE(calm_background_thread_in_use());
    swap.saved.exit();
}

TEST(BackgroundThread, PassesKeepTheirRateAndResyncWhenFarBehind)
{
    using ms = std::chrono::milliseconds;
    const std::chrono::steady_clock::time_point last{std::chrono::seconds(100)};
    const struct {
        const char *when;
        ms now_after_last, due_after_last;
    } cases[] = {
        {"early", ms(2), ms(10)},
        {"a pass late", ms(17), ms(10)},
        {"two periods late", ms(30), ms(10)},
        {"far behind", ms(250), ms(250)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(next_pass(last, last + c.now_after_last) - last, c.due_after_last) << c.when;
}
