// The program under test: its files, its start, its exit under a time limit, its output.
#include "e2e_rig.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

static int status_of(int wait_status)
{
    if (WIFEXITED(wait_status))
        return WEXITSTATUS(wait_status);
    if (WIFSIGNALED(wait_status))
        return 128 + WTERMSIG(wait_status);
    return -1;
}

// Kills the program's whole process group and collects every member that became our child.
// The test process is a child subreaper (set by the session), so what the program started
// comes back to us when the program dies, and is collected here too.
static void kill_program_group(ProgramProcess &p)
{
    if (p.pid <= 0)
        return;
    kill(-p.pid, SIGKILL);
    if (!p.reaped) {
        int st = 0;
        if (waitpid(p.pid, &st, 0) == p.pid)
            p.status = status_of(st);
        p.reaped = true;
    }
    while (waitpid(-p.pid, nullptr, 0) > 0) {
    }
}

ProgramProcess::~ProgramProcess()
{
    kill_program_group(*this);
}

void e2e_kill(E2eSession &s)
{
    kill_program_group(s.program);
}

void e2e_put_file(E2eSession &s, const std::string &rel_path, const std::string &contents)
{
    fs::path path = fs::path(s.work_dir) / rel_path;
    fs::create_directories(path.parent_path());
    fs::remove(path);  // a link to the original game folder must not be written through
    std::ofstream out(path, std::ios::binary);
    out << contents;
    if (!out.flush())
        throw std::runtime_error("cannot write " + path.string());
}

void e2e_remove_file(E2eSession &s, const std::string &rel_path)
{
    fs::path path = fs::path(s.work_dir) / rel_path;
    if (!fs::remove(path))
        throw std::runtime_error("nothing to remove at " + path.string());
}

static std::string variable_name(const std::string &entry)
{
    return entry.substr(0, entry.find('='));
}

void e2e_start(E2eSession &s, const std::string &program, const std::vector<std::string> &args,
               const std::vector<std::string> &env_changes)
{
    if (s.program.pid > 0)
        throw std::logic_error("e2e_start: the session already ran a program");
    std::string path = s.work_dir + "/" + program;
    if (access(path.c_str(), X_OK) != 0)
        throw std::runtime_error("e2e_start: no executable at " + path);

    // Everything the child needs is prepared before fork: after it, only plain system calls.
    std::map<std::string, std::string> env;
    for (char **e = environ; *e; e++)
        env[variable_name(*e)] = *e;
    env["DISPLAY"] = "DISPLAY=" + s.xvfb.display;
    env["HOME"] = "HOME=" + s.home_dir;
    for (const std::string &change : env_changes) {
        if (change.find('=') == std::string::npos)
            env.erase(change);
        else
            env[variable_name(change)] = change;
    }
    std::vector<std::string> env_text;
    for (auto &entry : env)
        env_text.push_back(entry.second);
    std::vector<char *> envp;
    for (auto &e : env_text)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> arg_text{path};
    arg_text.insert(arg_text.end(), args.begin(), args.end());
    std::vector<char *> argv;
    for (auto &a : arg_text)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::string out_path = s.temp_dir + "/stdout.txt", err_path = s.temp_dir + "/stderr.txt";

    pid_t parent = getpid();
    pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("e2e_start: cannot fork");
    if (pid == 0) {
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
        int in = open("/dev/null", O_RDONLY);
        int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0 || err < 0 || chdir(s.work_dir.c_str()) != 0)
            _exit(127);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    setpgid(pid, pid);  // also here, so that no kill can race the child's own call
    s.program.pid = pid;
    s.program.reaped = false;
}

bool e2e_running(E2eSession &s)
{
    ProgramProcess &p = s.program;
    if (p.pid <= 0 || p.reaped)
        return false;
    int st = 0;
    pid_t got = waitpid(p.pid, &st, WNOHANG);
    if (got == 0)
        return true;
    if (got == p.pid)
        p.status = status_of(st);
    p.reaped = true;
    return false;
}

int e2e_wait_exit(E2eSession &s, int timeout_ms)
{
    if (s.program.pid <= 0)
        throw std::logic_error("e2e_wait_exit: no program was started");
    if (e2e_wait_for([&] { return !e2e_running(s); }, timeout_ms))
        return s.program.status;
    kill_program_group(s.program);
    s.program.status = E2E_TIMED_OUT;
    ADD_FAILURE() << "the program did not exit within " << timeout_ms << " ms; killed it";
    return E2E_TIMED_OUT;
}

static std::string read_text(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string e2e_program_output(const E2eSession &s)
{
    return read_text(s.temp_dir + "/stdout.txt") + read_text(s.temp_dir + "/stderr.txt");
}
