// What the game leaves behind and how it ends from outside: no settings file written or
// obeyed, the ending signals, and the loss of its X server.
#include "game_support.h"

#include <gtest/gtest.h>
#include <X11/Xlib.h>  // after GoogleTest, whose headers its macros break

#include <sys/wait.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

// Every file under `dir` (links read through) with its bytes, by path.
static std::map<std::string, std::string> files_under(const std::string &dir)
{
    std::map<std::string, std::string> files;
    for (const auto &entry : fs::recursive_directory_iterator(dir)) {
        if (entry.is_directory())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        files[entry.path().string()] = bytes.str();
    }
    return files;
}

// Names the first difference between two sets of files.
static std::string first_change(const std::map<std::string, std::string> &before,
                                const std::map<std::string, std::string> &after)
{
    for (const auto &file : after) {
        auto was = before.find(file.first);
        if (was == before.end())
            return "new: " + file.first;
        if (was->second != file.second)
            return "changed: " + file.first;
    }
    for (const auto &file : before)
        if (!after.count(file.first))
            return "gone: " + file.first;
    return "";
}

static bool pixel_near(E2eSession &s, int x, int y, Rgb colour)
{
    return rgb_near(e2e_pixel(s, x, y), colour);
}

// Clicks at (x, y), moves the pointer off the menu and the board, and does it again until
// `done` holds (false after 10 s).
static bool click_until(E2eSession &s, int x, int y, const std::function<bool()> &done)
{
    for (int i = 0; i < 20; i++) {
        e2e_click(s, x, y);
        e2e_mouse_move(s, 480, 370);
        if (e2e_wait_for(done, 500))
            return true;
    }
    return false;
}

static const Rgb PANEL_FACE{150, 160, 170};

TEST(GameShell, ARunWritesNothingAndObeysNoSettingsFileLeftBeside)
{
    E2eSession s(GAME_DIR);
    put_tiny_levels(s);
    // What earlier builds or other Allegro programs may leave: each line would break the game.
    e2e_put_file(s, "allegro.cfg",
                 "[system]\nsystem = NONE\n[sound]\ndigi_card = 0\nmidi_card = 0\n"
                 "patches = /nonexistent/default.cfg\n");
    const std::string rc = "# the player's own\n[sound]\ndigi_volume = 200\n";
    std::ofstream(s.home_dir + "/.allegrorc") << rc;
    auto game_before = files_under(s.work_dir), home_before = files_under(s.home_dir);

    ASSERT_TRUE(start_to_title(s)) << e2e_program_output(s);
    // Help and options, each left with OK.
    ASSERT_TRUE(open_help(s));
    e2e_click(s, 432, 308);
    e2e_mouse_move(s, 480, 370);
    ASSERT_TRUE(e2e_wait_for([&] { return menu_words_normal(e2e_grab_window(s)); }, 5000));
    ASSERT_TRUE(open_options(s));
    // FACIL -> MEDIO -> DIFICIL: one life, a short game. A click right after another may fall
    // in the board's pause after a change, so each is repeated until it shows.
    ASSERT_TRUE(click_until(s, 340, 266, [&] {
        return shows_text(e2e_grab_window(s), 325, 265, "DIFICIL", Rgb{225, 170, 20});
    }));
    ASSERT_TRUE(click_until(s, 432, 308, [&] { return menu_words_normal(e2e_grab_window(s)); }));
    // A game given up with Escape, back to the title.
    ASSERT_TRUE(play_started(s));
    e2e_focus(s);
    e2e_tap_key(s, XK_Escape, 150);
    e2e_mouse_move(s, 480, 370);
    for (int i = 0; i < 2; i++) {  // "VIDA PERDIDA", then "FIM DE JOGO", each waits for a key
        sleep_ms(1500);
        e2e_tap_key(s, XK_Return, 40);
    }
    ASSERT_TRUE(e2e_wait_for([&] { return menu_words_normal(e2e_grab_window(s)); }, 20000))
        << "no game over";
    EXPECT_FALSE(e2e_sound_stretches(s).empty()) << "the left-over file silenced the game";
    e2e_click(s, box_mid_x(QUIT_BOX), box_mid_y(QUIT_BOX));
    ASSERT_EQ(e2e_wait_exit(s, 5000), 0);

    EXPECT_EQ(first_change(game_before, files_under(s.work_dir)), "");
    EXPECT_EQ(first_change(home_before, files_under(s.home_dir)), "");
    std::ifstream kept(s.home_dir + "/.allegrorc", std::ios::binary);
    std::ostringstream bytes;
    bytes << kept.rdbuf();
    EXPECT_EQ(bytes.str(), rc);
}

// Sends `signal` to the game and expects it to end at once, killed by that signal (the rig
// reports 128 + its number) and not by the library's abort (134, with a core dump).
static void expect_ended_by(E2eSession &s, int signal)
{
    ASSERT_EQ(kill(s.program.pid, signal), 0);
    EXPECT_EQ(e2e_wait_exit(s, 1000), 128 + signal) << e2e_program_output(s);
}

TEST(GameShell, TermIntAndHupEndTheGameAtOnceAndTakeAnOpenBoxWithIt)
{
    {
        SCOPED_TRACE("SIGTERM in the menu");
        E2eSession s(GAME_DIR);
        ASSERT_TRUE(start_to_title(s));
        e2e_mouse_move(s, box_mid_x(START_BOX), box_mid_y(START_BOX));  // redrawn every pass
        expect_ended_by(s, SIGTERM);
    }
    {
        SCOPED_TRACE("SIGINT in play");
        E2eSession s(GAME_DIR);
        ASSERT_TRUE(start_tiny_game(s));
        expect_ended_by(s, SIGINT);
    }
    {
        SCOPED_TRACE("SIGHUP with the Erro 04 box open");
        E2eSession s(GAME_DIR);
        std::ofstream(s.home_dir + "/.asoundrc") << "pcm.!default { type hw; card 29; device 0 }\n";
        start_pitlorex(s);
        MessageBox box;
        ASSERT_TRUE(e2e_wait_message_box(s, box, 10000)) << e2e_program_output(s);
        expect_ended_by(s, SIGHUP);
        EXPECT_TRUE(e2e_wait_for([&] { return !e2e_viewable(s, box.window); }, 2000))
            << "the box stayed on the screen";
    }
}

// Ends the session's X server with `signal` as a closing desktop session (SIGTERM) or a crash
// (SIGKILL) would, after dropping the rig's own connection, which Xlib would otherwise end
// the test process over.
static void end_x_server(E2eSession &s, int signal)
{
    XCloseDisplay(s.x);
    s.x = nullptr;
    kill(s.xvfb.pid, signal);
    waitpid(s.xvfb.pid, nullptr, 0);
    s.xvfb.pid = -1;
}

// True when nothing of the game's process group is left, once its dead are collected.
static bool group_gone(pid_t group)
{
    while (waitpid(-group, nullptr, WNOHANG) > 0) {
    }
    return kill(-group, 0) != 0 && errno == ESRCH;
}

// The screen a row of the table below is ended on, reached from the title.
static bool on_help(E2eSession &s)
{
    e2e_click(s, box_mid_x(HELP_BOX), box_mid_y(HELP_BOX));
    return e2e_wait_for([&] { return pixel_near(s, 235, 200, PANEL_FACE); }, 5000);
}

static bool in_play(E2eSession &s)
{
    e2e_click(s, box_mid_x(START_BOX), box_mid_y(START_BOX));
    return e2e_wait_for([&] { return pixel_near(s, 300, 379, STATUS_GREY); }, 5000);
}

// In play, `key` tapped until a play message shows ("NIVEL CONCLUIDO" after Right, "VIDA
// PERDIDA" after Escape, and after three of those the game over), each message ended by Return.
static bool in_message(E2eSession &s, KeySym key, int messages)
{
    if (!in_play(s))
        return false;
    e2e_focus(s);
    sleep_ms(200);
    RgbImage level = e2e_grab_window(s);
    auto shown = [&] { return pixels_changed(level, e2e_grab_window(s), MESSAGE_AREA) > 200; };
    for (int i = 0; i < messages; i++) {
        if (i > 0) {
            sleep_ms(700);
            e2e_tap_key(s, XK_Return, 40);  // a message waits for its key
            if (!e2e_wait_for([&] { return !shown(); }, 3000))
                return false;
        }
        e2e_tap_key(s, key, 60);
        if (!e2e_wait_for(shown, 3000))
            return false;
    }
    return true;
}

static bool on_area_password(E2eSession &s)
{
    if (!in_play(s))
        return false;
    e2e_focus(s);
    sleep_ms(200);
    return reach_area_password(s, e2e_grab_window(s));
}

// Destroys the game's window from another client, as a crashed compositor or a session tool
// does.
static void destroy_window(E2eSession &s, int)
{
    XDestroyWindow(s.x, s.window);
    XSync(s.x, False);
}

// Every screen, every way the desktop goes: the game ends by itself within 2 s, status 1, never
// by a signal, with nothing of it left running.
TEST(GameShell, LosingTheXServerEndsTheGameWithinTwoSecondsWhateverTheScreen)
{
    const struct {
        const char *screen;
        void (*end)(E2eSession &, int);
        int signal;
        std::function<bool(E2eSession &)> reach;  // from the title (none: stay there)
    } cases[] = {
        {"the menu, server ended", end_x_server, SIGTERM, nullptr},
        {"the help board, server crashed", end_x_server, SIGKILL, on_help},
        {"play, server crashed", end_x_server, SIGKILL, in_play},
        {"level won, server crashed", end_x_server, SIGKILL,
         [](E2eSession &s) { return in_message(s, XK_Right, 1); }},
        {"life lost, server crashed", end_x_server, SIGKILL,
         [](E2eSession &s) { return in_message(s, XK_Escape, 1); }},
        {"game over, server crashed", end_x_server, SIGKILL,
         [](E2eSession &s) { return in_message(s, XK_Escape, 4); }},
        {"area password, server crashed", end_x_server, SIGKILL, on_area_password},
        {"the menu, window destroyed", destroy_window, 0, nullptr},
        {"play, window destroyed", destroy_window, 0, in_play},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.screen);
        E2eSession s(GAME_DIR);
        put_tiny_levels(s);
        ASSERT_TRUE(start_to_title(s)) << e2e_program_output(s);
        if (c.reach && !c.reach(s)) {
            ADD_FAILURE() << "the screen was not reached";
            continue;
        }
        c.end(s, c.signal);
        EXPECT_EQ(e2e_wait_exit(s, 2000), 1) << e2e_program_output(s);
        EXPECT_TRUE(group_gone(s.program.pid)) << "a process of the game was left running";
    }
}
