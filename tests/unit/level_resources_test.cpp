// Loading the game's pictures and tunes from a folder of generated files: mapping, replacement
// of an earlier set, missing pictures and tunes, and the Erro 05 box.
#include "level/game_resources.h"
#include "play/level_loop.h"
#include "play/game_state.h"
#include "shell/shell.h"

#include <malloc.h>

#include <gtest/gtest.h>

#include "bad_pictures.h"
#include "level_test_files.h"
#include "script_platform.h"

namespace {

// A distinct colour for each of the 34 pictures, exact at 16 bits.
int picture_colour(int index) { return makecol(8 * index, 252 - 4 * index, 64); }

// A MIDI file of one empty track: enough for load_midi.
const std::string TINY_MIDI = std::string("MThd\0\0\0\6\0\0\0\1\0\x60", 14) +
                              std::string("MTrk\0\0\0\4\0\xff\x2f\0", 12);

std::string tile_name(int i) { return std::string("tiles/t") + static_cast<char>('A' + i) + ".bmp"; }
std::string object_name(int i) { return std::string("objetos/o") + static_cast<char>('1' + i) + ".bmp"; }
std::string tune_name(int i) { return std::string("sons/area") + static_cast<char>('1' + i) + ".mid"; }

// A complete installation: 26 tiles, 8 objects (16 x 16, one flat colour each), 5 tunes.
void write_resources(const TempDir &dir)
{
    std::filesystem::create_directories(dir.at("tiles"));
    std::filesystem::create_directories(dir.at("objetos"));
    BITMAP *picture = create_bitmap(16, 16);
    for (int i = 0; i < 34; i++) {
        clear_to_color(picture, picture_colour(i));
        std::string name = i < 26 ? tile_name(i) : object_name(i - 26);
        ASSERT_EQ(save_bitmap(dir.at(name).c_str(), picture, nullptr), 0);
    }
    destroy_bitmap(picture);
    for (int i = 0; i < 5; i++)
        dir.write(tune_name(i), TINY_MIDI);
}

// Heap in use, counting the large blocks glibc maps on their own (the back buffer is one).
size_t heap_in_use()
{
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

class GameResources : public ::testing::Test {
protected:
    TempDir dir;
    void SetUp() override
    {
        script_reset(nullptr);
        write_resources(dir);
    }
    void TearDown() override { release_game_resources(); }
};

}  // namespace

TEST_F(GameResources, LoadsEachPictureUnderItsLetterOrDigit)
{
    ASSERT_EQ(try_load_game_resources(dir.path.string()), "");
    ASSERT_NE(back_buffer, nullptr);
    EXPECT_EQ(back_buffer->w, 512);
    EXPECT_EQ(back_buffer->h, 384);
    EXPECT_EQ(bitmap_color_depth(back_buffer), 16);
    for (int i = 0; i < 26; i++) {
        ASSERT_NE(tile_bitmaps[i], nullptr) << tile_name(i);
        EXPECT_EQ(bitmap_color_depth(tile_bitmaps[i]), 16);
        EXPECT_EQ(getpixel(tile_bitmap(static_cast<char>('A' + i)), 8, 8), picture_colour(i)) << tile_name(i);
    }
    for (int i = 0; i < 8; i++) {
        ASSERT_NE(object_bitmaps[i], nullptr) << object_name(i);
        EXPECT_EQ(getpixel(object_bitmap(static_cast<char>('1' + i)), 8, 8), picture_colour(26 + i));
    }
    for (MIDI *tune : area_music)
        EXPECT_NE(tune, nullptr);
}

TEST_F(GameResources, AMissingOrBrokenPictureIsNamedAndLeavesTheCurrentSet)
{
    ASSERT_EQ(try_load_game_resources(dir.path.string()), "");
    BITMAP *buffer = back_buffer, *tile_k = tile_bitmap('K');
    MIDI *tune = area_music[0];

    size_t before = heap_in_use();
    std::filesystem::remove(dir.at("tiles/tK.bmp"));
    EXPECT_EQ(try_load_game_resources(dir.path.string()), "tiles/tK.bmp");
    dir.write("objetos/o6.bmp", "BM not a picture at all");
    dir.write("tiles/tK.bmp", std::string(4000, '\0'));
    EXPECT_EQ(try_load_game_resources(dir.path.string()), "tiles/tK.bmp");
    write_resources(dir);
    dir.write("objetos/o6.bmp", "BM not a picture at all");
    EXPECT_EQ(try_load_game_resources(dir.path.string()), "objetos/o6.bmp");
    EXPECT_LT(heap_in_use(), before + 512 * 384);  // the half-loaded sets were freed

    // The set in use is complete and untouched, so nothing draws with a picture that failed.
    EXPECT_EQ(back_buffer, buffer);
    EXPECT_EQ(tile_bitmap('K'), tile_k);
    EXPECT_EQ(getpixel(tile_k, 0, 0), picture_colour('K' - 'A'));
    EXPECT_EQ(area_music[0], tune);
    EXPECT_FALSE(script_logged("destroy_midi"));
}

TEST_F(GameResources, AMissingTuneIsLeftOutAndTheGameGoesOn)
{
    std::filesystem::remove(dir.at("sons/area3.mid"));
    dir.write("sons/area5.mid", "MThd garbage");
    ASSERT_EQ(try_load_game_resources(dir.path.string()), "");
    EXPECT_NE(area_music[0], nullptr);
    EXPECT_NE(area_music[1], nullptr);
    EXPECT_EQ(area_music[2], nullptr);
    EXPECT_NE(area_music[3], nullptr);
    EXPECT_EQ(area_music[4], nullptr);
    pf_play_tune(area_music[2], 1);  // plays nothing
    EXPECT_FALSE(script_logged("play_midi"));

    // Entering area 3 stops area 2's tune rather than letting it play on there.
    game_state.level = 5;
    EXPECT_EQ(start_area_music(), area_music[1]);
    game_state.level = 9;
    EXPECT_EQ(start_area_music(), nullptr);
    std::vector<std::string> expected = {"play_midi 1", "stop_midi"};
    EXPECT_EQ(script.log, expected);
    game_state.level = 0;
}

TEST_F(GameResources, APictureOfAnotherSizeOrCutShortCountsAsMissing)
{
    ASSERT_EQ(try_load_game_resources(dir.path.string()), "");
    BITMAP *tile_c = tile_bitmap('C');
    for (const auto &bad : bad_pictures(16, 16, picture_colour(2))) {
        SCOPED_TRACE(bad.first);
        dir.write("tiles/tC.bmp", bad.second);
        dir.write("objetos/o8.bmp", bad.second);
        EXPECT_EQ(try_load_game_resources(dir.path.string()), "tiles/tC.bmp");
        write_resources(dir);
        dir.write("objetos/o8.bmp", bad.second);
        EXPECT_EQ(try_load_game_resources(dir.path.string()), "objetos/o8.bmp");
        write_resources(dir);
    }
    EXPECT_EQ(tile_bitmap('C'), tile_c);  // the set in use stays
}

TEST_F(GameResources, ANewGameFreesThePreviousSet)
{
    ASSERT_EQ(try_load_game_resources(dir.path.string()), "");
    size_t after_first = heap_in_use();
    for (int game = 0; game < 10; game++)
        ASSERT_EQ(try_load_game_resources(dir.path.string()), "");
    // Leaking even the back buffer alone would add 10 x 384 KiB.
    EXPECT_LT(heap_in_use(), after_first + 512 * 384 * 2);
    // Each replaced set's five tunes went through the platform, which stops a playing one.
    EXPECT_EQ(script_count_log("destroy_midi"), 50);
}

TEST_F(GameResources, TunesReleasedAtGameOverAreNotFreedTwice)
{
    ASSERT_EQ(try_load_game_resources(dir.path.string()), "");
    release_area_music();
    EXPECT_EQ(script_count_log("destroy_midi"), 5);
    for (MIDI *tune : area_music)
        EXPECT_EQ(tune, nullptr);
    release_area_music();
    ASSERT_EQ(try_load_game_resources(dir.path.string()), "");  // the next game
    EXPECT_EQ(script_count_log("destroy_midi"), 5);
    for (MIDI *tune : area_music)
        EXPECT_NE(tune, nullptr);  // a second game plays the tunes again
}

TEST_F(GameResources, TheGameStopsWithAnErrorBoxNamingTheMissingPicture)
{
    {
        WorkingDirectory in_dir(dir.path);
        EXPECT_EQ(load_game_resources(), "");
        EXPECT_NE(tile_bitmap('Z'), nullptr);
    }
    std::filesystem::remove(dir.at("objetos/o3.bmp"));
    WorkingDirectory in_dir(dir.path);
    title_music = load_midi("sons/area1.mid");
    ASSERT_NE(title_music, nullptr);
    const std::string missing = load_game_resources();
    ASSERT_NE(missing, "") << "the game went on without objetos/o3.bmp";
    try {
        end_with_missing_resource(missing);
    } catch (const ProcessExit &end) {
        EXPECT_EQ(end.status, 1);
    }
    // Out the way start-up's failures go: the shutdown frees the title tune and the keys.
    std::vector<std::string> expected = {
        "message Pitlorex - Erro 05|" + missing_resource_text("objetos/o3.bmp"), "destroy_midi",
        "clear_keybuf", "exit 1"};
    EXPECT_EQ(script.log, expected);
    EXPECT_NE(script.log[0].find("objetos/o3.bmp"), std::string::npos);
    EXPECT_EQ(title_music, nullptr);
}
