// Start-up through the scripted platform: the order of the steps, the four error paths with
// their exact boxes, and the whole program from the title to its end.
#include "bad_pictures.h"
#include "play/game_state.h"
#include "script_platform.h"
#include "shell/shell.h"
#include "startup_game_folder.h"
#include "ui/main_menu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

// What the scripted start-up calls answer; every call is written to the script's log, so that
// library calls, message boxes and the end of the process appear there in one sequence.
StartupAnswers &answers = script.answers;

const std::string ERRO_01 = "message Pitlorex - Erro 01|\t Problema de Video. \n Para mais informacoes, veja a Ajuda.";
const std::string ERRO_02 = "message Pitlorex - Erro 02|Nao foi possivel carregar as fontes do jogo. \n Para mais informacoes, consulte a Ajuda.";
const std::string ERRO_04 = "message Pitlorex - Erro 04|\t Som nao detectado. \n Consulte a Ajuda para mais detalhes.";

class Startup : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = std::make_unique<GameFolder>();
        screen = create_bitmap(512, 384);
        script_reset(screen);
        script.pointer_x = 400;
        game_settings = GameSettings{};
        menu_close_requested = false;  // as at process start
    }
    void TearDown() override
    {
        free_leftovers();
        release_title_screen();
        alfont_exit();
        script_reset(nullptr);
        destroy_bitmap(screen);
        folder.reset();
    }
    // Whatever a start-up that did not end left behind.
    void free_leftovers()
    {
        if (startup_sample)
            destroy_sample(startup_sample);
        startup_sample = nullptr;
        if (title_music)
            destroy_midi(title_music);
        title_music = nullptr;
    }
    // The exit status of a start-up that ends the process, or -1 when it returns.
    int exit_status_of_init()
    {
        try {
            init_system();
        } catch (const ProcessExit &end) {
            return end.status;
        }
        return -1;
    }
    std::vector<std::string> log_from(const std::string &first)
    {
        auto at = std::find(script.log.begin(), script.log.end(), first);
        return std::vector<std::string>(at, script.log.end());
    }
    std::unique_ptr<GameFolder> folder;
    BITMAP *screen = nullptr;
};

}  // namespace

TEST_F(Startup, BringsTheSystemUpInOrder)
{
    EXPECT_EQ(exit_status_of_init(), -1);
    std::vector<std::string> expected = {
        "allegro_init",  "set_color_depth 16",        "alfont_init",
        "midi patches",  "install_sound",             "set_gfx_mode",
        "set_window_title Pitlorex", "timer keyboard mouse", "load cursor",
        "set_mouse_sprite cursor",
    };
    EXPECT_EQ(script.log, expected);
    EXPECT_NE(startup_sample, nullptr);  // loaded once the library is up
    EXPECT_TRUE(script.mouse_shown);
    EXPECT_EQ(script.mouse_target, screen);

    // The menu's close handler is the one in force: it only raises the menu's flag.
    menu_close_requested = false;
    script_press_close();
    EXPECT_TRUE(menu_close_requested);
}

// A damaged pointer picture is never handed to the library's reader: the game starts with the
// library's own arrow, as with no picture at all.
TEST_F(Startup, ADamagedPointerPictureLeavesTheLibrarysArrow)
{
    for (const auto &bad : bad_pictures(8, 8, makecol(255, 255, 0))) {
        if (bad.first == "1 x 1" || bad.first == "too large")
            continue;  // 1 x 1 and 32 x 32 are pointers too
        GameFolder::write_bytes("imagens/cursor.bmp",
                                (const unsigned char *)bad.second.data(), bad.second.size());
        script_reset(screen);
        EXPECT_EQ(exit_status_of_init(), -1) << bad.first;
        EXPECT_EQ(std::count(script.log.begin(), script.log.end(), "load cursor"), 0)
            << bad.first;
        EXPECT_TRUE(script.mouse_shown) << bad.first;
        free_leftovers();
    }
}

TEST_F(Startup, AFontEngineThatFailsEndsItBeforeSoundAndWindow)
{
    answers.font_engine = 1;
    EXPECT_EQ(exit_status_of_init(), 1);
    std::vector<std::string> expected = {"alfont_init", ERRO_02, "clear_keybuf", "exit 1"};
    EXPECT_EQ(log_from("alfont_init"), expected);
    EXPECT_EQ(startup_sample, nullptr);  // freed on the way out
}

TEST_F(Startup, OtherFontEngineAnswersMeanReady)
{
    for (int answer : {0, 2, -1}) {
        script_reset(screen);
        answers.font_engine = answer;
        EXPECT_EQ(exit_status_of_init(), -1) << answer;
        free_leftovers();
    }
}

TEST_F(Startup, NoSoundIsToldAndTheGameGoesOn)
{
    answers.sound = -1;
    EXPECT_EQ(exit_status_of_init(), -1);
    std::vector<std::string> expected = {"install_sound", ERRO_04, "set_gfx_mode",
                                         "set_window_title Pitlorex"};
    std::vector<std::string> seen = log_from("install_sound");
    seen.resize(std::min<size_t>(seen.size(), 4));
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(script.mouse_shown);
}

TEST_F(Startup, ARefusedWindowEndsIt)
{
    answers.window = -2;
    EXPECT_EQ(exit_status_of_init(), 1);
    std::vector<std::string> expected = {"set_gfx_mode", ERRO_01, "clear_keybuf", "exit 1"};
    EXPECT_EQ(log_from("set_gfx_mode"), expected);
}

TEST_F(Startup, NoDisplayIsToldOnStandardErrorBeforeAnythingElse)
{
    answers.library = -1;
    testing::internal::CaptureStderr();
    int status = exit_status_of_init();
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, 1);
    EXPECT_EQ(said, "Pitlorex - Erro 01\n\t Problema de Video. \n Para mais informacoes, veja a Ajuda.\n");
    // No box (there is no display to show it on), no sample loaded, no other library call.
    std::vector<std::string> expected = {"allegro_init", "clear_keybuf", "exit 1"};
    EXPECT_EQ(script.log, expected);
    EXPECT_EQ(startup_sample, nullptr);
}

TEST_F(Startup, TheTitleComesUpWithTuneAndSoundTogetherAndSairEndsWithZero)
{
    std::vector<std::string> at_first_poll;
    script.log_presents = true;
    script.on_poll = [&](ScriptPlatform &s) {
        if (s.polls == 1)
            at_first_poll = s.log;
        s.pointer_x = 100, s.pointer_y = 330, s.buttons = 1;  // "Sair"
    };
    int status = -1;
    try {
        pitlorex_main();
    } catch (const ProcessExit &end) {
        status = end.status;
    }
    EXPECT_EQ(status, 0);
    EXPECT_EQ(getpixel(screen, 0, 0), picture_colour());
    // Both sounds started after the title reached the window and before the menu first looked
    // at the pointer, the tune not looped, the sample at full volume, left of centre, at its
    // own pitch.
    ASSERT_GE(at_first_poll.size(), 3u);
    EXPECT_EQ(at_first_poll[at_first_poll.size() - 3], "present");
    EXPECT_EQ(at_first_poll[at_first_poll.size() - 2], "play_midi 0");
    EXPECT_EQ(at_first_poll.back(), "play_sample 255 50 1000 0");
    std::vector<std::string> tail(script.log.end() - 3, script.log.end());
    std::vector<std::string> expected = {"destroy_midi", "clear_keybuf", "exit 0"};
    EXPECT_EQ(tail, expected);
    EXPECT_EQ(startup_sample, nullptr);
    EXPECT_EQ(title_music, nullptr);
}

TEST_F(Startup, ClosingTheWindowInTheMenuEndsTheProgramWithZero)
{
    script.on_poll = [](ScriptPlatform &s) {
        if (s.polls == 50)
            script_press_close();
    };
    EXPECT_EQ(pitlorex_main(), 0);
    EXPECT_EQ(script.log.back(), "allegro_exit");
    EXPECT_EQ(script_count_log("play_midi"), 1);
    EXPECT_EQ(script_count_log("play_sample"), 1);
    EXPECT_FALSE(script_logged("exit"));
}

TEST_F(Startup, MissingSoundFilesPlayNothing)
{
    fs::remove("sons/inicio.mid");
    fs::remove("sons/pitlorex.wav");
    script.on_poll = [](ScriptPlatform &) { script_press_close(); };
    EXPECT_EQ(pitlorex_main(), 0);
    EXPECT_FALSE(script_logged("play_"));
    EXPECT_EQ(title_music, nullptr);
}
