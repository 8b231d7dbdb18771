// The test's world: server, temporary game folder, sound capture, X connection, and the
// screenshot and program output that a failing test leaves behind.
#include "e2e_rig.h"

#include <gtest/gtest.h>
#include <X11/Xlib.h>  // after GoogleTest, whose headers its macros break

#include <sys/prctl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <thread>

namespace fs = std::filesystem;

// The session a failure screenshot is taken of (one test runs one session at a time), and
// the test it belongs to, read when the session starts: while a failure is being reported
// GoogleTest holds the lock that current_test_info() takes.
static E2eSession *live_session = nullptr;
static std::string live_test;

// Takes one screenshot per failing test, at its first failure, while the screen still shows
// what went wrong.
class FailureShots : public ::testing::EmptyTestEventListener {
    std::string shot_test;

    void OnTestPartResult(const ::testing::TestPartResult &result) override
    {
        if (!result.failed() || !live_session || !live_session->x || live_test == shot_test)
            return;
        shot_test = live_test;
        std::error_code error;
        fs::create_directories(E2E_SHOT_DIR, error);
        std::string path = std::string(E2E_SHOT_DIR) + "/" + live_test + ".png";
        if (e2e_write_png(e2e_grab_screen(*live_session), path))
            std::cerr << "screenshot of the failure: " << path << "\n";
    }
};

// Xlib's default handler ends the process on any error; windows come and go under the
// rig's feet (a box closes while its tree is walked), so such errors are expected and ignored.
static int ignore_x_error(Display *, XErrorEvent *)
{
    return 0;
}

// Lays out `to` like `from`: folders made, executables copied (so the program sees its own
// folder as its home), everything else linked.
static void mirror_folder(const fs::path &from, const fs::path &to)
{
    fs::create_directories(to);
    for (const auto &entry : fs::recursive_directory_iterator(from)) {
        fs::path target = to / fs::relative(entry.path(), from);
        if (entry.is_directory()) {
            fs::create_directories(target);
        } else if (entry.is_regular_file() &&
                   (entry.status().permissions() & fs::perms::owner_exec) != fs::perms::none) {
            fs::copy_file(entry.path(), target);
        } else {
            fs::create_symlink(fs::canonical(entry.path()), target);
        }
    }
}

E2eSession::E2eSession(const std::string &game_dir, const std::string &screen) : xvfb(screen)
{
    static bool listening = false;
    if (!listening) {
        ::testing::UnitTest::GetInstance()->listeners().Append(new FailureShots);
        listening = true;
    }
    // Orphans of the program (a message box whose program died) come back to us to be killed.
    prctl(PR_SET_CHILD_SUBREAPER, 1);

    if (!fs::is_directory(game_dir))
        throw std::runtime_error("no game folder at " + game_dir);
    std::string pattern = (fs::temp_directory_path() / "pitlorex-e2e-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    temp_dir = pattern;
    work_dir = temp_dir + "/game";
    home_dir = temp_dir + "/home";
    capture_path = temp_dir + "/capture.raw";
    try {
        mirror_folder(game_dir, work_dir);
        fs::create_directories(home_dir);
        std::ofstream asoundrc(home_dir + "/.asoundrc");
        asoundrc << "pcm.!default { type file; slave.pcm \"null\"; file \"" << capture_path
                 << "\"; format \"raw\" }\n";
        if (!asoundrc.flush())
            throw std::runtime_error("cannot write " + home_dir + "/.asoundrc");
        x = XOpenDisplay(xvfb.display.c_str());
        if (!x)
            throw std::runtime_error("cannot connect to the X server at " + xvfb.display);
    } catch (...) {
        fs::remove_all(temp_dir);
        throw;
    }
    XSetErrorHandler(ignore_x_error);
    live_session = this;
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    live_test = test ? std::string(test->test_suite_name()) + "." + test->name() : "no-test";
}

E2eSession::~E2eSession()
{
    live_session = nullptr;
    bool failed = ::testing::Test::HasFailure();
    e2e_kill(*this);
    if (failed && !temp_dir.empty()) {
        std::string output = e2e_program_output(*this);
        if (!output.empty())
            std::cerr << "---- the program's output ----\n" << output << "---- end ----\n";
    }
    // The connection goes before the server: Xlib ends the process when its server vanishes.
    if (x)
        XCloseDisplay(x);
    std::error_code ignored;
    fs::remove_all(temp_dir, ignored);
}

bool e2e_wait_for(const std::function<bool()> &condition, int timeout_ms)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}
