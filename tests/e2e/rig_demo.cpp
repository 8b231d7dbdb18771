// A small Allegro program that the end-to-end rig's own tests drive: a window in a known
// colour that answers a click, a key and the close button, an error box, and a hang.
//
//   rig_demo             the window; its colour comes from colours/start.txt ("r g b")
//   rig_demo allegro-box a window, then Allegro's own message box
//   rig_demo hang        never ends, not even on SIGTERM
//
// Exit statuses: 3 window closed, 10 error box answered with OK, 11 error box closed some
// other way, 12 after Allegro's box, 2 no window.
#include <allegro.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>

extern char **environ;

static volatile int close_requested = 0;
static void on_close() { close_requested = 1; }

// Starts the library in the game's order: sound before the timer.
static bool open_window()
{
    if (allegro_init() != 0)
        return false;
    set_color_depth(16);
    install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr);  // no sound is not a failure here
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, 512, 384, 0, 0) != 0)
        return false;
    set_window_title("Rig Demo");
    install_timer();
    install_keyboard();
    install_mouse();
    set_close_button_callback(on_close);
    return true;
}

// A 200 ms 440 Hz beep, made here so the demo ships no sound file.
static SAMPLE *make_beep()
{
    const int rate = 22050, length = rate / 5;
    SAMPLE *beep = create_sample(16, 0, rate, length);
    if (!beep)
        return nullptr;
    auto *data = static_cast<unsigned short *>(beep->data);
    for (int i = 0; i < length; i++)
        data[i] = (unsigned short)(0x8000 + 16000 * std::sin(2 * M_PI * 440 * i / rate));
    return beep;
}

static void paint(int colour)
{
    rectfill(screen, 0, 0, 511, 383, colour);
    rectfill(screen, 496, 368, 511, 383, makecol(255, 255, 255));  // corner mark
}

// Shows the error box the way the game does; returns xmessage's exit status.
static int error_box(const char *caption, const char *text)
{
    char *const argv[] = {(char *)"xmessage", (char *)"-title", (char *)caption,
                          (char *)"-center", (char *)"-buttons", (char *)"OK:101",
                          (char *)text, nullptr};
    pid_t pid;
    int status = 0;
    if (posix_spawnp(&pid, "xmessage", nullptr, nullptr, argv, environ) != 0 ||
        waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

static int run_window()
{
    if (!open_window())
        return 2;
    int r, g, b;
    FILE *colours = fopen("colours/start.txt", "r");
    bool read = colours && fscanf(colours, "%d %d %d", &r, &g, &b) == 3;
    if (colours)
        fclose(colours);
    if (!read)
        return error_box("Rig Demo Error", "colours/start.txt is missing or unreadable") == 101
                   ? 10 : 11;

    SAMPLE *beep = make_beep();
    paint(makecol(r, g, b));
    int last_buttons = 0;
    while (!close_requested) {
        int buttons = mouse_b;
        if ((buttons & 1) && !(last_buttons & 1))
            paint(makecol(40, 80, 220));
        last_buttons = buttons;
        if (keypressed()) {
            readkey();
            paint(makecol(230, 200, 20));
            if (beep)
                play_sample(beep, 255, 128, 1000, 0);
        }
        rest(5);
    }
    return 3;
}

int main(int argc, char **argv)
{
    if (argc > 1 && strcmp(argv[1], "hang") == 0) {
        signal(SIGTERM, SIG_IGN);
        for (;;)
            pause();
    }
    if (argc > 1 && strcmp(argv[1], "allegro-box") == 0) {
        if (!open_window())
            return 2;
        allegro_message("Hello from Allegro's own box");
        return 12;
    }
    return run_window();
}
END_OF_MAIN()
