// The shape of the game's sources: folders include only the folders below them, and only the
// platform folder calls the library's start, window, input, timer, sound and exit functions.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Each folder of src and its floor: a file may include its own folder and folders on lower
// floors. The platform starts the font engine with the library, so it stands above font.
const std::map<std::string, int> FLOORS = {
    {"shell", 5}, {"ui", 4}, {"play", 3}, {"level", 2}, {"platform", 1}, {"font", 0},
};

// The library's calls that belong behind the platform seam (the headers of src/platform), by what they
// reach. Drawing on bitmaps and loading pictures, tunes and sounds from files need no seam.
const char *const SEAM_CALLS =
    // the library's start and stop, its settings and the window
    "allegro_init|install_allegro|allegro_exit|allegro_message|set_config_\\w+|"
    "override_config_\\w+|set_gfx_mode|set_color_depth|set_window_title|"
    "set_close_button_callback|acquire_screen|release_screen|screen|"
    // input
    "install_keyboard|remove_keyboard|install_mouse|remove_mouse|readkey|ureadkey|keypressed|"
    "clear_keybuf|simulate_keypress|key|poll_keyboard|poll_mouse|mouse_x|mouse_y|mouse_b|"
    "show_mouse|scare_mouse|unscare_mouse|position_mouse|set_mouse_sprite|"
    "select_mouse_cursor|enable_hardware_cursor|"
    // the timer
    "install_timer|remove_timer|install_int|install_int_ex|remove_int|rest|rest_callback|"
    // sound
    "install_sound|remove_sound|play_midi|stop_midi|midi_pause|midi_resume|destroy_midi|"
    "play_sample|stop_sample|adjust_sample|destroy_sample|"
    // the end of the process
    "exit|_exit|quick_exit|abort";

std::string read_file(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

// The code alone: comments and the insides of string and character literals become spaces,
// line breaks stay, so that line numbers still match.
std::string code_only(const std::string &text)
{
    std::string out = text;
    for (size_t i = 0; i < out.size(); i++) {
        if (out.compare(i, 2, "//") == 0) {
            while (i < out.size() && out[i] != '\n')
                out[i++] = ' ';
        } else if (out.compare(i, 2, "/*") == 0) {
            size_t end = out.find("*/", i + 2);
            end = end == std::string::npos ? out.size() : end + 2;
            for (; i < end; i++)
                if (out[i] != '\n')
                    out[i] = ' ';
            i--;
        } else if (out[i] == '"' || out[i] == '\'') {
            const char quote = out[i++];
            for (; i < out.size() && out[i] != quote && out[i] != '\n'; i++) {
                if (out[i] == '\\' && i + 1 < out.size())
                    out[i++] = ' ';
                out[i] = ' ';
            }
        }
    }
    return out;
}

// "line N: name" for every use of a seam call in `code`: the name standing alone (not part of
// a longer name, not a member) and followed by '(' or '[', or the variables screen, mouse_x...
std::vector<std::string> seam_calls_in(const std::string &code)
{
    static const std::regex call(std::string("\\b(") + SEAM_CALLS +
                                 ")\\s*[(\\[]|\\b(screen|mouse_[xyb])\\b(?!\\s*[(\\[])");
    std::vector<std::string> found;
    std::istringstream lines(code);
    std::string line;
    for (int number = 1; std::getline(lines, line); number++)
        for (std::sregex_iterator it(line.begin(), line.end(), call), end; it != end; ++it) {
            const long at = it->position();
            if (at > 0 && (line[at - 1] == '.' || line[at - 1] == '>'))
                continue;  // a member of the same name
            found.push_back("line " + std::to_string(number) + ": " +
                            ((*it)[1].matched ? (*it)[1].str() : (*it)[2].str()));
        }
    return found;
}

std::vector<fs::path> game_sources()
{
    std::vector<fs::path> files;
    for (const auto &entry : fs::recursive_directory_iterator(fs::path(SOURCE_DIR) / "src")) {
        const std::string ext = entry.path().extension().string();
        if (entry.is_regular_file() && (ext == ".cpp" || ext == ".h" || ext == ".c"))
            files.push_back(entry.path());
    }
    return files;
}

std::string folder_of(const fs::path &file) { return file.parent_path().filename().string(); }

}  // namespace

// A topic (a file's folder and name without its extension) leads to each topic it includes: no
// topic may lead back to itself, so that no two files call each other in a loop either.
bool leads_back(const std::map<std::string, std::set<std::string>> &includes,
                const std::string &from, const std::string &to, std::set<std::string> &seen)
{
    auto next = includes.find(from);
    for (const std::string &topic : next == includes.end() ? std::set<std::string>{} : next->second)
        if (topic == to || (seen.insert(topic).second && leads_back(includes, topic, to, seen)))
            return true;
    return false;
}

TEST(Sources, EachFolderIncludesOnlyItselfAndTheFloorsBelowAndNothingInALoop)
{
    const std::regex include("^\\s*#\\s*include\\s*\"(([a-z_]+)/[^\".]+)\\.h\"");
    std::map<std::string, std::set<std::string>> includes;
    int includes_seen = 0;
    for (const fs::path &file : game_sources()) {
        auto floor = FLOORS.find(folder_of(file));
        ASSERT_NE(floor, FLOORS.end()) << file << " is in a folder with no floor";
        std::istringstream lines(read_file(file));
        std::string line;
        for (int number = 1; std::getline(lines, line); number++) {
            std::smatch m;
            if (!std::regex_search(line, m, include))
                continue;
            includes_seen++;
            auto target = FLOORS.find(m[2].str());
            ASSERT_NE(target, FLOORS.end()) << file << ":" << number << " includes " << m[2];
            EXPECT_LE(target->second, floor->second)
                << file << ":" << number << ": " << floor->first << " includes " << m[2]
                << ", a higher folder";
            const std::string topic = folder_of(file) + "/" + file.stem().string();
            if (m[1].str() != topic)
                includes[topic].insert(m[1].str());
        }
    }
    EXPECT_GT(includes_seen, 50);  // the sources were found and read
    for (const auto &topic : includes) {
        std::set<std::string> seen;
        EXPECT_FALSE(leads_back(includes, topic.first, topic.first, seen))
            << topic.first << " includes, through others, what includes it";
    }
}

TEST(Sources, OnlyThePlatformCallsTheLibrarysWindowInputTimerSoundAndExit)
{
    // The scan itself: calls found, the seam's own names, members and comments passed over.
    const std::string sample = "pf_rest(1);\n  rest(5); script.mouse_x = 1;\n"
                               "// install_timer();\n"
                               "int x = mouse_b; key[KEY_UP]; show_mouse(screen);\n"
                               "f(\"exit(1)\"); std::exit(2);\n";
    const std::vector<std::string> expected = {"line 2: rest",       "line 4: mouse_b",
                                               "line 4: key",        "line 4: show_mouse",
                                               "line 4: screen",     "line 5: exit"};
    EXPECT_EQ(seam_calls_in(code_only(sample)), expected);

    for (const fs::path &file : game_sources()) {
        if (folder_of(file) == "platform")
            continue;
        for (const std::string &use : seam_calls_in(code_only(read_file(file))))
            ADD_FAILURE() << file << ", " << use << ": outside the platform seam";
    }
}

TEST(Sources, EverySourceFileIsListedInItsBuild)
{
    // Sources are listed by name, so a file added without its line would silently not build
    // (and a test file not run).
    const fs::path root(SOURCE_DIR);
    const std::string top = read_file(root / "CMakeLists.txt");
    const std::string tests = read_file(root / "tests" / "CMakeLists.txt");
    std::vector<fs::path> files = game_sources();
    for (const auto &entry : fs::directory_iterator(root / "tests" / "unit"))
        files.push_back(entry.path());
    for (const fs::path &file : files) {
        if (file.extension() != ".cpp")
            continue;
        const std::string name = file.filename().string();
        const bool unit_test = folder_of(file) == "unit";
        const std::string listing =
            unit_test ? tests : read_file(file.parent_path() / "CMakeLists.txt") + top;
        const std::regex listed("(^|[\\s/])" + std::regex_replace(name, std::regex("\\."), "\\.") +
                                "($|[\\s)])");
        EXPECT_TRUE(std::regex_search(listing, listed)) << file << " is in no source list";
    }
}
