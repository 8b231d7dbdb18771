// The game's error boxes in a real window: what each says, what comes after it, and the exit
// status, for a failing font engine, no display, no sound, missing levels and a missing tile.
#include "game_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

static const std::string ERRO_01 =
    "Pitlorex - Erro 01\n\t Problema de Video. \n Para mais informacoes, veja a Ajuda.\n";
static const std::string ERRO_02_TEXT =
    "Nao foi possivel carregar as fontes do jogo. \n Para mais informacoes, consulte a Ajuda.";
static const std::string ERRO_04_TEXT =
    "\t Som nao detectado. \n Consulte a Ajuda para mais detalhes.";

// Viewable windows on the screen that are not part of `box`.
static std::vector<Window> windows_besides(E2eSession &s, const MessageBox &box)
{
    std::vector<Window> of_box = e2e_window_tree(s, box.window), others;
    std::vector<Window> all = e2e_window_tree(s);
    for (size_t i = 1; i < all.size(); i++)  // all[0] is the root
        if (std::find(of_box.begin(), of_box.end(), all[i]) == of_box.end() &&
            e2e_viewable(s, all[i]))
            others.push_back(all[i]);
    return others;
}

TEST(GameErrorBox, FailingFontEngineGivesErro02BeforeAnyWindowOrSound)
{
    E2eSession s(GAME_DIR);
    start_pitlorex(s, {"LD_PRELOAD=" NO_FREETYPE_SHIM});
    MessageBox box;
    ASSERT_TRUE(e2e_wait_message_box(s, box, 10000)) << e2e_program_output(s);
    EXPECT_EQ(box.title, "Pitlorex - Erro 02");
    EXPECT_EQ(box.text, ERRO_02_TEXT);
    EXPECT_TRUE(windows_besides(s, box).empty()) << "a window opened besides the box";
    EXPECT_EQ(e2e_audio_mark(s), 0u) << "a sound driver was started";
    EXPECT_TRUE(e2e_running(s)) << "the game did not wait for the box";

    e2e_answer_message_box(s, box);
    EXPECT_EQ(e2e_wait_exit(s, 5000), 1) << e2e_program_output(s);
    EXPECT_EQ(e2e_audio_mark(s), 0u);
}

TEST(GameErrorBox, NoDisplayGivesErro01OnStandardErrorAndStatusOne)
{
    // No DISPLAY at all, and one that names a server that is not there.
    for (const char *display : {"DISPLAY", "DISPLAY=:99999"}) {
        SCOPED_TRACE(display);
        E2eSession s(GAME_DIR);
        start_pitlorex(s, {display});
        EXPECT_EQ(e2e_wait_exit(s, 10000), 1);  // not a crash's 128 + signal
        std::string output = e2e_program_output(s);
        EXPECT_NE(output.find(ERRO_01), std::string::npos) << output;
    }
}

// Starts the game with the session's HOME as the test left it, expects the Erro 04 box before
// the window, answers it, and expects the title and a working menu after it.
static void expect_no_sound_box_then_title(E2eSession &s)
{
    start_pitlorex(s);
    MessageBox box;
    ASSERT_TRUE(e2e_wait_message_box(s, box, 10000)) << e2e_program_output(s);
    EXPECT_EQ(box.title, "Pitlorex - Erro 04");
    EXPECT_EQ(box.text, ERRO_04_TEXT);
    EXPECT_TRUE(windows_besides(s, box).empty()) << "the window opened before the box";

    e2e_answer_message_box(s, box);
    park_pointer(s);
    ASSERT_TRUE(wait_for_title(s));  // the window, named "Pitlorex" again, with the menu
    EXPECT_EQ(e2e_window_name(s, s.window), "Pitlorex");
    e2e_request_close(s);
    EXPECT_EQ(e2e_wait_exit(s, 5000), 0);
}

TEST(GameErrorBox, BrokenDefaultSoundDeviceGivesErro04AndTheGameGoesOn)
{
    E2eSession s(GAME_DIR);
    std::ofstream(s.home_dir + "/.asoundrc") << "pcm.!default { type hw; card 29; device 0 }\n";
    expect_no_sound_box_then_title(s);
}

TEST(GameErrorBox, NoSoundCardGivesErro04AndTheGameGoesOn)
{
    std::ifstream cards("/proc/asound/cards");
    std::string first_line;
    if (std::getline(cards, first_line) && first_line.find("no soundcards") == std::string::npos)
        GTEST_SKIP() << "this machine has a sound card";
    E2eSession s(GAME_DIR);
    ASSERT_EQ(std::remove((s.home_dir + "/.asoundrc").c_str()), 0);
    expect_no_sound_box_then_title(s);
}

// Removes `file`, clicks "Iniciar" on the title and waits for the box that follows.
static bool start_game_without(E2eSession &s, const std::string &file, MessageBox &box)
{
    put_tiny_levels(s);
    e2e_remove_file(s, file);
    if (!start_to_title(s))
        return false;
    e2e_click(s, box_mid_x(START_BOX), box_mid_y(START_BOX));
    return e2e_wait_message_box(s, box, 5000);
}

TEST(GameErrorBox, MissingLevelFileGivesErro03WhenAGameStarts)
{
    E2eSession s(GAME_DIR);
    MessageBox box;
    ASSERT_TRUE(start_game_without(s, "fases/fase13.plo", box)) << e2e_program_output(s);
    EXPECT_EQ(box.title, "Pitlorex - Erro 03");
    EXPECT_EQ(box.text, " Fase(s) inexistente(s). \n    Consulte a Ajuda.");
    EXPECT_EQ(e2e_window_name(s, s.window), "Pitlorex - Erro 03");
    e2e_answer_message_box(s, box);
    EXPECT_EQ(e2e_wait_exit(s, 5000), 1);
}

TEST(GameErrorBox, MissingTilePictureGivesErro05NamingItWhenAGameStarts)
{
    E2eSession s(GAME_DIR);
    MessageBox box;
    ASSERT_TRUE(start_game_without(s, "tiles/tM.bmp", box)) << e2e_program_output(s);
    EXPECT_EQ(box.title, "Pitlorex - Erro 05");
    EXPECT_EQ(box.text,
              "Nao foi possivel carregar: tiles/tM.bmp \n Para mais informacoes, consulte a Ajuda.");
    e2e_answer_message_box(s, box);
    EXPECT_EQ(e2e_wait_exit(s, 5000), 1);
}

// The Erro 04 box answered without its button: closed from the window manager (xmessage then
// ends with status 1) or with Return. Either is an answer: the game goes on to its title, and
// no second box repeats the text.
TEST(GameErrorBox, ClosingTheBoxOrPressingReturnAnswersIt)
{
    for (bool close_it : {true, false}) {
        SCOPED_TRACE(close_it ? "closed" : "Return");
        E2eSession s(GAME_DIR);
        std::ofstream(s.home_dir + "/.asoundrc") << "pcm.!default { type hw; card 29; device 0 }\n";
        start_pitlorex(s);
        MessageBox box;
        ASSERT_TRUE(e2e_wait_message_box(s, box, 10000)) << e2e_program_output(s);
        s.window = box.window;
        if (close_it) {
            e2e_request_close(s);
        } else {
            e2e_focus(s);
            e2e_tap_key(s, XK_Return);
        }
        s.window = 0;
        park_pointer(s);
        ASSERT_TRUE(wait_for_title(s));
        EXPECT_EQ(e2e_find_window(s, "xmessage"), 0u) << "a second box";
        EXPECT_FALSE(e2e_wait_message_box(s, box, 300)) << "a second box: " << box.title;
        e2e_request_close(s);
        EXPECT_EQ(e2e_wait_exit(s, 5000), 0);
    }
}
