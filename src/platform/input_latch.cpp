// The press latch behind input_latch.h. The library calls in from its background thread, the
// game takes from its main thread: a small ring under one lock.
#include "platform/input_latch.h"

#include <allegro.h>

#include <mutex>

namespace {

// More presses than a player makes in a few frames; past it the oldest go. The same for clicks.
constexpr int LATCH_SIZE = 32;
constexpr int CLICKS_KEPT = 8;

struct Latch {
    std::mutex lock;
    KeyPress ring[LATCH_SIZE];
    int first = 0, count = 0;
    bool down[KEY_MAX] = {};
    PointerAt clicks[CLICKS_KEPT] = {};  // oldest first
    int click_count = 0;
};

Latch latch;

}  // namespace

void latch_key_event(int scancode, bool down, long at_ms)
{
    if (scancode <= 0 || scancode >= KEY_MAX)
        return;
    std::lock_guard<std::mutex> held(latch.lock);
    bool was_down = latch.down[scancode];
    latch.down[scancode] = down;
    if (!down || was_down)
        return;  // a release, or the keyboard's own repeat
    if (latch.count == LATCH_SIZE) {
        latch.first = (latch.first + 1) % LATCH_SIZE;
        latch.count--;
    }
    latch.ring[(latch.first + latch.count) % LATCH_SIZE] = KeyPress{scancode, at_ms};
    latch.count++;
}

namespace {

// Takes the oldest click off the list. Called with the lock held, and a click latched.
PointerAt shift_click()
{
    PointerAt oldest = latch.clicks[0];
    for (int i = 0; i + 1 < latch.click_count; i++)
        latch.clicks[i] = latch.clicks[i + 1];
    latch.click_count--;
    return oldest;
}

// Where the oldest latched press of one of the keys lies in the ring's order; -1 when none.
// Called with the lock held.
int find_press(const int *scancodes, int count)
{
    for (int i = 0; i < latch.count; i++) {
        int scancode = latch.ring[(latch.first + i) % LATCH_SIZE].scancode;
        bool wanted = !scancodes;
        for (int k = 0; k < count; k++)
            wanted = wanted || scancodes[k] == scancode;
        if (wanted)
            return i;
    }
    return -1;
}

}  // namespace

bool pf_press_latched(const int *scancodes, int count)
{
    std::lock_guard<std::mutex> held(latch.lock);
    return find_press(scancodes, count) >= 0;
}

bool pf_take_press(const int *scancodes, int count, KeyPress &press)
{
    std::lock_guard<std::mutex> held(latch.lock);
    int i = find_press(scancodes, count);
    if (i >= 0) {
        const KeyPress &seen = latch.ring[(latch.first + i) % LATCH_SIZE];
        press = seen;
        // Close the gap: the presses after it move one place towards the front.
        for (int j = i; j + 1 < latch.count; j++)
            latch.ring[(latch.first + j) % LATCH_SIZE] =
                latch.ring[(latch.first + j + 1) % LATCH_SIZE];
        latch.count--;
        return true;
    }
    return false;
}

void latch_click(PointerAt at)
{
    std::lock_guard<std::mutex> held(latch.lock);
    if (latch.click_count == CLICKS_KEPT)
        shift_click();
    latch.clicks[latch.click_count++] = at;
}

void pf_drop_input()
{
    std::lock_guard<std::mutex> held(latch.lock);
    latch.count = 0;
    latch.click_count = 0;
}

bool pf_take_click(PointerAt &at)
{
    std::lock_guard<std::mutex> held(latch.lock);
    if (latch.click_count == 0)
        return false;
    at = shift_click();
    return true;
}

void reset_input_latch()
{
    std::lock_guard<std::mutex> held(latch.lock);
    latch.first = latch.count = latch.click_count = 0;
    for (bool &down : latch.down)
        down = false;
}
