// The freepats list converted for DIGMID: each program and drum must reach its own patch.
#include "build_error.h"
#include "patch_set.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace {

const char *const TIMIDITY_LIST = "dir /usr/share/midi/freepats\n"
                                  "# a comment\n"
                                  "drumset 0\n"
                                  " 35\tDrum_000/035_Kick_1.pat amp=100\n"
                                  " 42\tDrum_000/042_Hi-Hat_Closed.pat\n"
                                  "bank 0\n"
                                  " 0\tTone_000/000_Acoustic_Grand_Piano.pat amp=120 pan=center\n"
                                  " 33\tTone_000/033_Finger_Bass.pat\n"
                                  "bank 1\n"
                                  " 0\tTone_001/000_Other_Piano.pat\n";

// Reads a patch list the way Allegro's DIGMID does: the first word a number; programs count
// from 1; inside "N begin_multipatch" .. "end_multipatch" keys count from N - 1.
// Returns patch slot (0..255, drums at 128 + key) -> file.
std::map<int, std::string> read_as_digmid(const std::string &list)
{
    std::map<int, std::string> slots;
    std::istringstream in(list);
    std::string line;
    bool drums = false;
    int drum_start = 0;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string a, b;
        if (!(words >> a) || a[0] == '#')
            continue;
        words >> b;
        bool number = a.find_first_not_of("0123456789-") == std::string::npos;
        if (number && b == "begin_multipatch") {
            drums = true;
            drum_start = std::stoi(a) - 1;
        } else if (number && !b.empty()) {
            int n = std::stoi(a);
            slots[drums ? n + drum_start : n - 1] = b;
        } else if (a == "end_multipatch") {
            drums = false;
        }
    }
    return slots;
}

}  // namespace

TEST(DatabuildPatchSet, EveryProgramAndDrumReachesItsOwnPatch)
{
    std::istringstream in(TIMIDITY_LIST);
    PatchSet set = convert_patch_list(in, "freepats.cfg", "/etc/timidity");
    EXPECT_EQ(set.folder, "/usr/share/midi/freepats");
    EXPECT_EQ(set.programs, (std::set<int>{0, 33}));
    EXPECT_EQ(set.drums, (std::set<int>{35, 42}));
    EXPECT_EQ(set.top_dirs, (std::set<std::string>{"Drum_000", "Tone_000"}));

    std::map<int, std::string> slots = read_as_digmid(set.allegro_list);
    EXPECT_EQ(slots.size(), 4u);
    EXPECT_EQ(slots[0], "Tone_000/000_Acoustic_Grand_Piano.pat");
    EXPECT_EQ(slots[33], "Tone_000/033_Finger_Bass.pat");
    EXPECT_EQ(slots[128 + 35], "Drum_000/035_Kick_1.pat");
    EXPECT_EQ(slots[128 + 42], "Drum_000/042_Hi-Hat_Closed.pat");
}

TEST(DatabuildPatchSet, TheTimidityListReadAsItIsWouldMixUpThePatches)
{
    // Why the list is converted: DIGMID reading timidity's list puts drums on programs and
    // shifts every program by one.
    std::map<int, std::string> slots = read_as_digmid(TIMIDITY_LIST);
    EXPECT_EQ(slots[34], "Drum_000/035_Kick_1.pat");
    EXPECT_EQ(slots.count(128 + 35), 0u);
    EXPECT_EQ(slots[32], "Tone_000/033_Finger_Bass.pat");
}

TEST(DatabuildPatchSet, FaultsNameTheLine)
{
    std::istringstream too_big("bank 0\n 128 Tone_000/x.pat\n");
    EXPECT_THROW(convert_patch_list(too_big, "p.cfg", "/"), BuildError);
    std::istringstream no_file("bank 0\n 3\n");
    try {
        convert_patch_list(no_file, "p.cfg", "/");
        FAIL();
    } catch (const BuildError &e) {
        EXPECT_STREQ(e.what(), "p.cfg:2: patch line without a file");
    }
    std::istringstream empty("dir /x\n");
    EXPECT_THROW(convert_patch_list(empty, "p.cfg", "/"), BuildError);
}
