// The game's platform seam on the real Allegro library: a window, the keyboard, the mouse,
// the timer, sound and the X11 message box.
#include "platform/platform.h"

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>

int pf_mouse_x() { return mouse_x; }
int pf_mouse_y() { return mouse_y; }
int pf_mouse_b() { return mouse_b; }
bool pf_key_held(int scancode) { return key[scancode] != 0; }
int pf_readkey() { return readkey(); }
void pf_clear_keybuf() { clear_keybuf(); }

void pf_rest(int ms) { rest(ms); }
void pf_install_int_ex(void (*handler)(), long period) { install_int_ex(handler, period); }

BITMAP *pf_screen() { return screen; }
void pf_acquire_screen() { acquire_screen(); }
void pf_release_screen() { release_screen(); }
void pf_show_mouse(BITMAP *target) { show_mouse(target); }
void pf_set_close_button_callback(void (*handler)()) { set_close_button_callback(handler); }

void pf_play_midi(MIDI *tune, int loop)
{
    if (tune)
        play_midi(tune, loop);
}

void pf_stop_midi() { play_midi(nullptr, 0); }

void pf_destroy_midi(MIDI *tune)
{
    if (tune)
        destroy_midi(tune);
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
        execvp("xmessage", argv);
        _exit(NOT_RUN);
    }
    if (pid > 0) {
        int status = 0;
        pid_t ended;
        while ((ended = waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
        }
        // Every end of a box that ran is an answer: OK (101), Return, its close button
        // (status 1), or the box killed. A second box with the same text would only repeat it;
        // and had xmessage failed to reach the display, the library's box would fail too.
        if (ended == pid && !(WIFEXITED(status) && WEXITSTATUS(status) == NOT_RUN))
            return;
    }
    allegro_message("%s", text);
}

void pf_allegro_exit() { allegro_exit(); }

void pf_exit(int status) { exit(status); }
