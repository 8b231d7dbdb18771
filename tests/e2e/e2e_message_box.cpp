// Finding, reading and answering the xmessage boxes that the program shows.
#include "e2e_rig.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <dirent.h>

#include <chrono>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

// Every process whose parent chain leads to `ancestor`, read from /proc.
static std::vector<pid_t> descendants_of(pid_t ancestor)
{
    std::multimap<pid_t, pid_t> children;
    DIR *proc = opendir("/proc");
    if (!proc)
        return {};
    while (dirent *entry = readdir(proc)) {
        pid_t pid = (pid_t)atoi(entry->d_name);
        if (pid <= 0)
            continue;
        std::ifstream stat_file("/proc/" + std::to_string(pid) + "/stat");
        std::string stat_text;
        std::getline(stat_file, stat_text);
        // "pid (name) state ppid ...": the name may hold spaces and parentheses.
        size_t close = stat_text.rfind(')');
        if (close == std::string::npos)
            continue;
        std::istringstream rest(stat_text.substr(close + 1));
        char state;
        pid_t parent;
        if (rest >> state >> parent && state != 'Z')
            children.emplace(parent, pid);
    }
    closedir(proc);
    std::vector<pid_t> found{ancestor};
    for (size_t i = 0; i < found.size(); i++) {
        auto range = children.equal_range(found[i]);
        for (auto it = range.first; it != range.second; ++it)
            found.push_back(it->second);
    }
    found.erase(found.begin());
    return found;
}

static std::vector<std::string> command_line_of(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/cmdline", std::ios::binary);
    std::vector<std::string> args;
    std::string arg;
    while (std::getline(in, arg, '\0'))
        args.push_back(arg);
    return args;
}

static bool is_xmessage_window(E2eSession &s, Window w, const std::string &title)
{
    XClassHint hint{};
    if (!XGetClassHint(s.x, w, &hint))
        return false;
    bool xmessage = hint.res_class && std::string(hint.res_class) == "Xmessage";
    XFree(hint.res_name);
    XFree(hint.res_class);
    return xmessage && e2e_window_name(s, w) == title && e2e_viewable(s, w);
}

// One look for a box; fills `box` and returns true if one is on the screen.
static bool find_message_box(E2eSession &s, MessageBox &box)
{
    if (s.program.pid <= 0)
        return false;
    for (pid_t pid : descendants_of(s.program.pid)) {
        std::vector<std::string> args = command_line_of(pid);
        if (args.size() < 2 || args[0].substr(args[0].rfind('/') + 1) != "xmessage")
            continue;
        std::string title = "xmessage";
        for (size_t i = 1; i + 1 < args.size(); i++)
            if (args[i] == "-title")
                title = args[i + 1];
        for (Window w : e2e_window_tree(s)) {
            if (is_xmessage_window(s, w, title)) {
                std::string text = args.back();
                while (!text.empty() && text.back() == '\n')
                    text.pop_back();  // Allegro's own box ends its text with one
                box = MessageBox{w, pid, title, text};
                return true;
            }
        }
    }
    return false;
}

bool e2e_wait_message_box(E2eSession &s, MessageBox &box, int timeout_ms)
{
    return e2e_wait_for([&] { return find_message_box(s, box); }, timeout_ms);
}

void e2e_answer_message_box(E2eSession &s, const MessageBox &box)
{
    // xmessage's tree: shell > form > (text > scroll bar, button). The button is the innermost
    // window whose bottom edge lies lowest.
    Window button = 0;
    int button_bottom = -1, x = 0, y = 0, width = 0, height = 0;
    Window root = DefaultRootWindow(s.x);
    for (Window w : e2e_window_tree(s, box.window)) {
        Window parent, *children = nullptr, child;
        unsigned count = 0;
        XWindowAttributes a;
        if (!XQueryTree(s.x, w, &root, &parent, &children, &count))
            continue;
        if (children)
            XFree(children);
        int wx, wy;
        if (count || !XGetWindowAttributes(s.x, w, &a) ||
            !XTranslateCoordinates(s.x, w, root, 0, 0, &wx, &wy, &child))
            continue;
        if (wy + a.height > button_bottom) {
            button = w;
            button_bottom = wy + a.height;
            x = wx, y = wy, width = a.width, height = a.height;
        }
    }
    if (!button)
        return;
    e2e_mouse_move_screen(s, x + width / 2, y + height / 2);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    e2e_mouse_down(s, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    e2e_mouse_up(s, 1);
}
