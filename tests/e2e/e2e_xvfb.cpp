// The rig's private X server: Xvfb on a display number it picks itself.
#include "e2e_rig.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <string>

// Ends a child we started: a polite signal first, the hard one if it lingers.
static void stop_child(pid_t pid, int grace_ms)
{
    kill(pid, SIGTERM);
    for (int waited = 0; waited < grace_ms; waited += 10) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

XvfbServer::XvfbServer(const std::string &screen)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error("Xvfb: cannot make a pipe");
    pid_t parent = getpid();
    pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        throw std::runtime_error("Xvfb: cannot fork");
    }
    if (pid == 0) {
        // The server must not outlive a test process that is killed by the harness.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(1);
        fcntl(fds[1], F_SETFD, 0);  // the one descriptor Xvfb inherits
        int null_fd = open("/dev/null", O_RDWR);
        dup2(null_fd, 0);
        dup2(null_fd, 1);
        dup2(null_fd, 2);
        std::string fd_text = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd_text.c_str(), "-screen", "0", screen.c_str(),
               "-nolisten", "tcp", (char *)nullptr);
        _exit(127);
    }
    close(fds[1]);

    // Xvfb writes the display number and a newline once it accepts connections.
    std::string number;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (number.empty() || number.back() != '\n') {
        int left = (int)std::chrono::duration_cast<std::chrono::milliseconds>(
                       deadline - std::chrono::steady_clock::now()).count();
        pollfd p{fds[0], POLLIN, 0};
        if (left <= 0 || poll(&p, 1, left) <= 0)
            break;
        char c;
        ssize_t got = read(fds[0], &c, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        number += c;
    }
    close(fds[0]);
    if (number.size() < 2 || number.back() != '\n') {
        stop_child(pid, 1000);
        pid = -1;
        throw std::runtime_error("Xvfb did not start (is the xvfb package installed?)");
    }
    number.pop_back();
    display = ":" + number;
}

XvfbServer::~XvfbServer()
{
    if (pid > 0)
        stop_child(pid, 2000);
}
