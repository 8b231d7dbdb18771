// The installed game as a player meets it: the package unpacked into a temporary root, its
// pitlorex command run from an unrelated folder, the title in a window that carries the
// game's class and icon, "Sair" ending it with status 0, and nothing written in the tree.
#include "game_support.h"
#include "package_window.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
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

    // Docks group the window by its class, tie it to its process and show its icon: the game's,
    // not the library's. The title bar's pixmap (WM_HINTS) leaves the clear pixels to its
    // mask; _NET_WM_ICON holds them clear at each of its sizes.
    EXPECT_EQ(window_class(s.x, s.window), "pitlorex.pitlorex");
    EXPECT_EQ(cardinal_property(s.x, s.window, "_NET_WM_PID"),
              std::vector<unsigned long>{(unsigned long)s.program.pid});
    std::vector<unsigned long> art = expected_window_icon(DATA_DIR, 48);
    RgbImage icon = window_icon(s.x, s.window);
    ASSERT_EQ(icon.width * icon.height, int(art.size())) << "no window icon of the game's size";
    int wrong = 0;
    for (size_t i = 0; i < art.size(); i++)
        wrong += art[i] && Rgb{int(art[i] >> 16 & 255), int(art[i] >> 8 & 255), int(art[i] & 255)} !=
                               icon.at(int(i) % icon.width, int(i) / icon.width);
    EXPECT_EQ(wrong, 0) << "the window icon is not the game's icon";
    std::vector<unsigned long> pictures = cardinal_property(s.x, s.window, "_NET_WM_ICON");
    size_t at = 0;
    for (unsigned long size : {16, 32, 48}) {
        art = expected_window_icon(DATA_DIR, int(size));
        ASSERT_GE(pictures.size(), at + 2 + art.size()) << "no " << size << " px _NET_WM_ICON";
        EXPECT_EQ(pictures[at], size);
        EXPECT_EQ(pictures[at + 1], size);
        EXPECT_TRUE(std::equal(art.begin(), art.end(), pictures.begin() + at + 2)) << size;
        at += 2 + art.size();
    }

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
