// The installed game as a player meets it: the package unpacked into a temporary root, its
// pitlorex command run from an unrelated folder, the title in a window that carries the
// game's class and icon, "Sair" ending it with status 0, and nothing written in the tree.
#include "game_support.h"
#include "package_window.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// A folder of the test's own, removed at the end.
struct TempDir {
    std::string path;
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "pitlorex-package-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            path = pattern;
    }
    ~TempDir()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

// Every entry below `root` with its kind, size, mode, time and link target: what a write,
// a new file or a changed mode would change.
std::map<std::string, std::string> tree_state(const std::string &root)
{
    std::map<std::string, std::string> state;
    for (const auto &entry : fs::recursive_directory_iterator(root)) {
        struct stat st;
        if (lstat(entry.path().c_str(), &st) != 0)
            continue;
        std::ostringstream line;
        line << std::oct << st.st_mode << std::dec << ' ' << st.st_size << ' ' << st.st_mtim.tv_sec
             << '.' << st.st_mtim.tv_nsec;
        if (entry.is_symlink())
            line << " -> " << fs::read_symlink(entry.path()).string();
        state[fs::relative(entry.path(), root).string()] = line.str();
    }
    return state;
}

}  // namespace

TEST(PackageLauncher, StartsTheGameFromElsewhereWithItsIconAndClassAndQuitsCleanly)
{
    TempDir root, elsewhere;
    ASSERT_FALSE(root.path.empty());
    ASSERT_FALSE(elsewhere.path.empty());
    std::string unpack = "dpkg-deb -x '" PACKAGE_DEB "' '" + root.path + "'";
    ASSERT_EQ(std::system(unpack.c_str()), 0) << unpack;
    const auto before = tree_state(root.path);

    // The session's working folder is empty: the command must find the game on its own. It is
    // reached through a link, as a player's own shortcut would.
    E2eSession s(elsewhere.path);
    fs::create_symlink(root.path + "/usr/games/pitlorex", s.work_dir + "/pitlorex");
    park_pointer(s);
    e2e_start(s, "pitlorex");
    ASSERT_TRUE(wait_for_title(s));

    // The title picture of the installed data folder fills the window around the menu.
    RgbImage picture = read_title_picture();
    RgbImage shot = e2e_grab_window(s);
    ASSERT_EQ(shot.width, picture.width);
    int same = 0;
    for (int y = 0; y < 170; y++)
        for (int x = 0; x < 512; x++)
            same += rgb_near(shot.at(x, y), picture.at(x, y));
    EXPECT_EQ(same, 170 * 512) << "the top of the window is not the title picture";

    // Docks group the window by its class and show its icon: the game's, not the library's, on
    // a clear background, in the title bar's hints and as the pictures docks read; and they
    // tie the window to its process.
    EXPECT_EQ(window_class(s.x, s.window), "pitlorex.pitlorex");
    const struct {
        const char *where;
        IconPicture icon;
        int size;
    } icons[] = {
        {"WM_HINTS", hints_icon(s.x, s.window), 48},
        {"_NET_WM_ICON 16", net_wm_icon(s.x, s.window, 16), 16},
        {"_NET_WM_ICON 48", net_wm_icon(s.x, s.window, 48), 48},
    };
    for (const auto &shown : icons) {
        ASSERT_EQ(shown.icon.width, shown.size) << shown.where << ": no icon of that size";
        EXPECT_TRUE(shown.icon.rgba == expected_window_icon(DATA_DIR, shown.size))
            << shown.where << ": not the game's icon on a clear background";
    }
    EXPECT_EQ(window_pid(s.x, s.window), long(s.program.pid));

    e2e_click(s, box_mid_x(QUIT_BOX), box_mid_y(QUIT_BOX));
    EXPECT_EQ(e2e_wait_exit(s, 5000), 0);
    const auto after = tree_state(root.path);
    std::string changed;
    for (const auto &[path, state] : after)
        if (!before.count(path) || before.at(path) != state)
            changed += " " + path;
    for (const auto &[path, state] : before)
        if (!after.count(path))
            changed += " " + path + " (gone)";
    EXPECT_EQ(changed, "") << "the run changed the unpacked package";
}
