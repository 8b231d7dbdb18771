// The end-to-end rig: runs a real program in a real window on a private Xvfb, drives it with
// synthetic mouse and keys, reads its pixels, its sound and its message boxes, and its exit.
//
// A test builds one E2eSession, starts the program, and talks to it through the e2e_*
// functions below. Everything the session started (the X server, the program and whatever the
// program started) is stopped when the session ends, also when an assertion fails or an
// exception flies. When a test fails while a session is alive, a screenshot of the whole X
// screen is saved as <build>/e2e-shots/<Suite>.<Test>.png and the program's output is printed.
//
// Typical use:
//     E2eSession s(GAME_DIR);
//     e2e_put_file(s, "fases/fase01.txt", my_level);
//     e2e_start(s, "pitlorex");
//     ASSERT_TRUE(e2e_wait_window(s, "Pitlorex", 10000));
//     e2e_focus(s);
//     e2e_click(s, 250, 200);
//     EXPECT_EQ(e2e_wait_exit(s, 5000), 0);
#pragma once

#include <X11/keysym.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

// Xlib's own types, declared as Xlib does: its header defines macros (None, Bool, Status)
// that break GoogleTest's headers, so it stays out of this one.
typedef struct _XDisplay Display;
typedef unsigned long Window;
typedef unsigned long KeySym;

// ---- The session -------------------------------------------------------------------------
// The private X server's screen unless a test asks for another ("1920x1080x24").
// 640 x 480: the game opens at 1x there (on 800 x 600 it would open larger, at the 4:3 size
// that fills the screen).
constexpr const char *E2E_SCREEN = "640x480x24";

// A private X server: Xvfb on the first free display number (-displayfd), its screen `screen`.
// Started by the constructor (throws std::runtime_error if it does not come up within 10 s),
// stopped by the destructor. The server also dies with the test process.
struct XvfbServer {
    pid_t pid = -1;
    std::string display;  // ":N"

    explicit XvfbServer(const std::string &screen = E2E_SCREEN);
    ~XvfbServer();
    XvfbServer(const XvfbServer &) = delete;
    XvfbServer &operator=(const XvfbServer &) = delete;
};

// The program under test, once e2e_start ran it. Killed with its whole process group
// (message boxes included) by the destructor.
struct ProgramProcess {
    pid_t pid = -1;        // also its process group id
    bool reaped = false;   // its exit status has been collected
    int status = -1;       // exit status once reaped: 0..255, or 128 + signal number

    ProgramProcess() = default;
    ~ProgramProcess();
    ProgramProcess(const ProgramProcess &) = delete;
    ProgramProcess &operator=(const ProgramProcess &) = delete;
};

// One test's world. The constructor starts Xvfb (its screen `screen`), makes a fresh temporary folder holding
//   game/         the program's working directory, laid out like `game_dir`: every folder made
//                 anew, every executable file copied, every other file a symbolic link to the
//                 original (so replace files with e2e_put_file, never write through them);
//   home/         the program's HOME, with an .asoundrc sending the default ALSA output to
//   capture.raw   the program's mixed sound output;
//   stdout.txt, stderr.txt   the program's output;
// and connects to the X server. The destructor kills the program and its descendants, closes
// the connection, stops Xvfb and removes the folder. Throws std::runtime_error on failure.
// It also makes the test process a child subreaper, so that what the program leaves behind
// when it dies comes back to the test to be killed and collected.
struct E2eSession {
    XvfbServer xvfb;
    std::string temp_dir;      // the temporary folder above
    std::string work_dir;      // temp_dir + "/game"
    std::string home_dir;      // temp_dir + "/home"
    std::string capture_path;  // temp_dir + "/capture.raw"
    Display *x = nullptr;      // the session's own connection to the X server
    Window window = 0;         // the program's window, set by e2e_wait_window
    ProgramProcess program;

    explicit E2eSession(const std::string &game_dir, const std::string &screen = E2E_SCREEN);
    ~E2eSession();
    E2eSession(const E2eSession &) = delete;
    E2eSession &operator=(const E2eSession &) = delete;
};

// Calls `condition` every 10 ms until it returns true (then true) or timeout_ms pass (then
// false). The way to wait in these tests: never sleep for a fixed time to let a thing happen.
bool e2e_wait_for(const std::function<bool()> &condition, int timeout_ms);

// ---- Files and the process ---------------------------------------------------------------
// Writes `contents` to work_dir/rel_path, replacing what was there (a link is removed, never
// written through) and making missing folders.
void e2e_put_file(E2eSession &s, const std::string &rel_path, const std::string &contents);

// Removes work_dir/rel_path (a file or a link) so that the program finds it missing.
void e2e_remove_file(E2eSession &s, const std::string &rel_path);

// Starts work_dir/program with `args`, working directory work_dir, DISPLAY set to the
// session's server, HOME set to home_dir, stdin from /dev/null and stdout/stderr into the
// session's files. `env_changes` then adjust the environment: "NAME=value" sets NAME, a bare
// "NAME" removes it (e.g. "DISPLAY" to start with no display). The program leads a new process
// group and is killed if the test process dies. One program per session. Throws
// std::runtime_error if it cannot be started.
void e2e_start(E2eSession &s, const std::string &program,
               const std::vector<std::string> &args = {},
               const std::vector<std::string> &env_changes = {});

// True while the started program has not exited (collects its status once it has).
bool e2e_running(E2eSession &s);

// Waits up to timeout_ms for the program to exit and returns its status (0..255, or 128 +
// signal number if a signal ended it). On timeout the program and its descendants are killed,
// the test gets a non-fatal failure naming the limit, and E2E_TIMED_OUT is returned.
constexpr int E2E_TIMED_OUT = -1;
int e2e_wait_exit(E2eSession &s, int timeout_ms);

// Kills the program and everything it started, at once, and collects them. The session's end
// does this anyway; a test calls it to look at what was left behind.
void e2e_kill(E2eSession &s);

// What the program wrote to stdout and stderr so far (stdout first).
std::string e2e_program_output(const E2eSession &s);

// ---- Windows -----------------------------------------------------------------------------
// `top` and every window under it, parents before children; top 0 means the root window.
std::vector<Window> e2e_window_tree(E2eSession &s, Window top = 0);

// The window's WM_NAME; "" if it has none or is gone.
std::string e2e_window_name(E2eSession &s, Window w);

// True while the window exists and is mapped with all its ancestors.
bool e2e_viewable(E2eSession &s, Window w);

// The first viewable window, anywhere in the window tree, whose WM_NAME is exactly `name`;
// 0 if there is none.
Window e2e_find_window(E2eSession &s, const std::string &name);

// Waits up to timeout_ms for a viewable window named `name`, makes it s.window and returns
// true; false (s.window unchanged) if none appeared in time.
bool e2e_wait_window(E2eSession &s, const std::string &name, int timeout_ms);

// Gives s.window the keyboard focus: keys reach Allegro only after this.
void e2e_focus(E2eSession &s);

// Asks s.window to close as a window manager's close button does: a WM_PROTOCOLS client
// message carrying WM_DELETE_WINDOW (the window itself is left alone).
void e2e_request_close(E2eSession &s);

// Position of s.window's top-left corner on the screen, read from the server.
void e2e_window_origin(E2eSession &s, int &x, int &y);

// ---- Mouse and keys (XTest) ---------------------------------------------------------------
// Moves the pointer to (x, y) in s.window's coordinates.
void e2e_mouse_move(E2eSession &s, int x, int y);

// Moves the pointer to (x, y) on the screen (root window coordinates).
void e2e_mouse_move_screen(E2eSession &s, int x, int y);

// Presses or releases a mouse button (1 left, 2 middle, 3 right) where the pointer is.
void e2e_mouse_down(E2eSession &s, int button = 1);
void e2e_mouse_up(E2eSession &s, int button = 1);

// Moves to (x, y) in s.window's coordinates, presses `button`, holds it hold_ms (long enough
// for a polling loop to see it), releases it.
void e2e_click(E2eSession &s, int x, int y, int button = 1, int hold_ms = 100);

// Holds or releases the key producing `keysym` (XK_space, XK_Left, XK_Escape, XK_a, ...).
// Throws std::runtime_error for a keysym that has no key on the server's keyboard.
void e2e_key_down(E2eSession &s, KeySym keysym);
void e2e_key_up(E2eSession &s, KeySym keysym);

// Presses a key, holds it hold_ms, releases it.
void e2e_tap_key(E2eSession &s, KeySym keysym, int hold_ms = 100);

// ---- Pixels and screenshots --------------------------------------------------------------
struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb &o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb &o) const { return !(*this == o); }
};

// True when each channel differs by at most `tolerance`. A 16-bit program's colours come back
// with their low bits cut (255 may read 248), so compare with this, not ==.
bool rgb_near(Rgb a, Rgb b, int tolerance = 8);

// Prints as (r, g, b) in assertion messages.
void PrintTo(const Rgb &c, std::ostream *out);

// A picture read from the screen, rows top to bottom, 3 bytes (r, g, b) a pixel.
struct RgbImage {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;

    // The pixel at (x, y); (x, y) must lie inside the picture.
    Rgb at(int x, int y) const;
};

// What the screen shows over s.window's area (its size, 512x384 for the game), message boxes
// on top included. Empty (0x0) if s.window is not set or no longer viewable.
RgbImage e2e_grab_window(E2eSession &s);

// The whole screen.
RgbImage e2e_grab_screen(E2eSession &s);

// One pixel at (x, y) in s.window's coordinates, as the screen shows it; (-1, -1, -1) if that
// point is off the screen.
Rgb e2e_pixel(E2eSession &s, int x, int y);

// Writes `image` as an 8-bit RGB PNG (compressed by libpng). False if the picture cannot be
// encoded or the file cannot be written.
bool e2e_write_png(const RgbImage &image, const std::string &path);

// ---- Sound -------------------------------------------------------------------------------
// The capture holds Allegro's mixed output as ALSA gets it: 16-bit unsigned little-endian
// samples, 2 interleaved channels, 44100 frames a second; silence is exactly 0x8000.
// With the null slave the capture runs ahead of the wall clock (about twice as fast), so tie
// sound to test actions through marks taken before and after them, not through wall time.
constexpr int E2E_AUDIO_RATE = 44100;
constexpr int E2E_AUDIO_CHANNELS = 2;

// Frames captured so far: a mark to compare stretches against.
size_t e2e_audio_mark(const E2eSession &s);

// A stretch of sound, in frames from the start of the capture: [first_frame, end_frame).
struct SoundStretch {
    size_t first_frame = 0, end_frame = 0;
    int peak = 0;  // largest distance from silence in it, 0..32768
};

// Converts a frame count into milliseconds of sound.
double e2e_frames_to_ms(size_t frames);

// The stretches of sound between frames `from` and `to` (to is clipped to the capture). Sound
// is any 10 ms block whose peak distance from silence exceeds `threshold`; blocks closer than
// `min_gap_ms` of silence join into one stretch. A stretch that crosses `from` or `to` is cut
// there.
std::vector<SoundStretch> e2e_sound_stretches(const E2eSession &s, size_t from = 0,
                                              size_t to = SIZE_MAX, int threshold = 256,
                                              int min_gap_ms = 100);

// ---- Message boxes -----------------------------------------------------------------------
// An xmessage box shown by the program (or anything it started).
struct MessageBox {
    Window window = 0;
    pid_t pid = -1;      // the xmessage process
    std::string title;   // the box's WM_NAME: the caption, or "xmessage" for Allegro's own box
    std::string text;    // the message: xmessage's last argument, less trailing newlines
};

// Waits up to timeout_ms for an xmessage process among the program's descendants whose box is
// viewable on the screen, and fills `box`. False if none appeared in time.
bool e2e_wait_message_box(E2eSession &s, MessageBox &box, int timeout_ms);

// Clicks the box's button (the lowest innermost window of the box: its only button, OK).
void e2e_answer_message_box(E2eSession &s, const MessageBox &box);
