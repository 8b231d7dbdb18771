// The e2e rig proven on its demo program: window, pixels, mouse, keys, sound, close button,
// message boxes, files swapped in, time limits, and nothing left running afterwards.
#include "e2e_rig.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <signal.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>

static const Rgb START{200, 40, 40}, AFTER_CLICK{40, 80, 220}, AFTER_KEY{230, 200, 20};

// rgb_near at its default tolerance, for EXPECT_PRED2 to print both colours on failure.
static bool near(Rgb seen, Rgb wanted)
{
    return rgb_near(seen, wanted);
}

// A session with the demo's window up and painted in its start colour.
static void start_demo(E2eSession &s)
{
    e2e_start(s, "rig_demo");
    ASSERT_TRUE(e2e_wait_window(s, "Rig Demo", 10000)) << e2e_program_output(s);
    ASSERT_TRUE(e2e_wait_for([&] { return rgb_near(e2e_pixel(s, 10, 10), START); }, 5000))
        << "colour: " << ::testing::PrintToString(e2e_pixel(s, 10, 10));
}

static bool gone(pid_t pid)
{
    return kill(pid, 0) == -1 && errno == ESRCH;
}

static std::string file_text(const std::string &path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(RigWindow, ShowsTheDemoColourWhereTheWindowIs)
{
    E2eSession s(RIG_DEMO_DIR);
    start_demo(s);
    RgbImage shot = e2e_grab_window(s);
    ASSERT_EQ(shot.width, 512);
    ASSERT_EQ(shot.height, 384);
    // The white corner mark sits exactly in the last 16x16 pixels: the grab is not shifted.
    EXPECT_PRED2(near, shot.at(511, 383), (Rgb{255, 255, 255}));
    EXPECT_PRED2(near, shot.at(496, 368), (Rgb{255, 255, 255}));
    EXPECT_PRED2(near, shot.at(495, 383), START);
    EXPECT_PRED2(near, shot.at(511, 367), START);
    EXPECT_PRED2(near, shot.at(0, 0), START);
    EXPECT_EQ(e2e_find_window(s, "No Such Window"), 0u);
}

TEST(RigWindow, CloseRequestEndsTheProgramWithItsStatus)
{
    E2eSession s(RIG_DEMO_DIR);
    start_demo(s);
    EXPECT_TRUE(e2e_running(s));
    e2e_request_close(s);
    EXPECT_EQ(e2e_wait_exit(s, 5000), 3);
}

TEST(RigInput, ClickChangesTheColour)
{
    E2eSession s(RIG_DEMO_DIR);
    start_demo(s);
    e2e_click(s, 100, 100);
    EXPECT_TRUE(e2e_wait_for([&] { return rgb_near(e2e_pixel(s, 10, 10), AFTER_CLICK); }, 3000))
        << "colour: " << ::testing::PrintToString(e2e_pixel(s, 10, 10));
}

TEST(RigInput, KeyChangesTheColourAndBeepsOnceAfterIt)
{
    E2eSession s(RIG_DEMO_DIR);
    start_demo(s);
    // Let the capture run a while first, so that "no sound before the key" means something.
    ASSERT_TRUE(e2e_wait_for([&] { return e2e_audio_mark(s) > E2E_AUDIO_RATE / 2; }, 5000))
        << "no sound capture at " << s.capture_path;
    size_t before_key = e2e_audio_mark(s);
    e2e_mouse_move_screen(s, 639, 479);  // off the window: only the focus can route the key
    e2e_focus(s);
    e2e_tap_key(s, XK_space);
    EXPECT_TRUE(e2e_wait_for([&] { return rgb_near(e2e_pixel(s, 10, 10), AFTER_KEY); }, 3000))
        << "colour: " << ::testing::PrintToString(e2e_pixel(s, 10, 10));

    EXPECT_TRUE(e2e_sound_stretches(s, 0, before_key).empty());
    ASSERT_TRUE(e2e_wait_for([&] { return !e2e_sound_stretches(s, before_key).empty(); }, 3000));
    // Wait for a second of sound time past the beep, then it must still be the only one.
    size_t beep_end = e2e_sound_stretches(s, before_key).front().end_frame;
    ASSERT_TRUE(e2e_wait_for([&] { return e2e_audio_mark(s) > beep_end + E2E_AUDIO_RATE; },
                             5000));
    std::vector<SoundStretch> heard = e2e_sound_stretches(s);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_GE(heard[0].first_frame, before_key);
    double ms = e2e_frames_to_ms(heard[0].end_frame - heard[0].first_frame);
    EXPECT_GT(ms, 150);  // the beep lasts 200 ms
    EXPECT_LT(ms, 260);
    EXPECT_GT(heard[0].peak, 8000);
}

TEST(RigFiles, SwappedFileIsReadAndTheOriginalIsKept)
{
    E2eSession s(RIG_DEMO_DIR);
    e2e_put_file(s, "colours/start.txt", "10 200 10\n");
    e2e_start(s, "rig_demo");
    ASSERT_TRUE(e2e_wait_window(s, "Rig Demo", 10000));
    EXPECT_TRUE(e2e_wait_for(
        [&] { return rgb_near(e2e_pixel(s, 10, 10), Rgb{10, 200, 10}); }, 5000));
    EXPECT_EQ(file_text(RIG_DEMO_DIR "/colours/start.txt"), "200 40 40\n");
}

TEST(RigMessageBox, MissingFileBoxIsReadAndAnswered)
{
    E2eSession s(RIG_DEMO_DIR);
    e2e_remove_file(s, "colours/start.txt");
    e2e_start(s, "rig_demo");
    MessageBox box;
    ASSERT_TRUE(e2e_wait_message_box(s, box, 10000)) << e2e_program_output(s);
    EXPECT_EQ(box.title, "Rig Demo Error");
    EXPECT_EQ(box.text, "colours/start.txt is missing or unreadable");
    EXPECT_TRUE(e2e_running(s));
    e2e_answer_message_box(s, box);
    EXPECT_EQ(e2e_wait_exit(s, 5000), 10);  // 10: the box returned OK's 101
    EXPECT_EQ(file_text(RIG_DEMO_DIR "/colours/start.txt"), "200 40 40\n");
}

TEST(RigMessageBox, AllegroOwnBoxIsFoundByItsDefaultTitle)
{
    E2eSession s(RIG_DEMO_DIR);
    e2e_start(s, "rig_demo", {"allegro-box"});
    MessageBox box;
    ASSERT_TRUE(e2e_wait_message_box(s, box, 10000)) << e2e_program_output(s);
    EXPECT_EQ(box.title, "xmessage");
    EXPECT_EQ(box.text, "Hello from Allegro's own box");
    e2e_answer_message_box(s, box);
    EXPECT_EQ(e2e_wait_exit(s, 5000), 12);
}

TEST(RigProcess, HangingProgramIsKilledAtTheTimeLimit)
{
    E2eSession s(RIG_DEMO_DIR);
    e2e_start(s, "rig_demo", {"hang"});
    pid_t pid = s.program.pid;
    int status = 0;
    EXPECT_NONFATAL_FAILURE(status = e2e_wait_exit(s, 300), "did not exit within 300 ms");
    EXPECT_EQ(status, E2E_TIMED_OUT);
    EXPECT_FALSE(e2e_running(s));
    EXPECT_TRUE(gone(pid));
}

TEST(RigProcess, KillTakesTheProgramsBoxWithIt)
{
    E2eSession s(RIG_DEMO_DIR);
    e2e_remove_file(s, "colours/start.txt");
    e2e_start(s, "rig_demo");
    MessageBox box;
    ASSERT_TRUE(e2e_wait_message_box(s, box, 10000));
    e2e_kill(s);
    EXPECT_EQ(s.program.status, 128 + SIGKILL);
    EXPECT_TRUE(gone(box.pid));
    EXPECT_TRUE(gone(s.program.pid));
}

TEST(RigProcess, ParallelServersGetTheirOwnDisplays)
{
    pid_t first_pid;
    {
        XvfbServer first, second;
        first_pid = first.pid;
        EXPECT_NE(first.display, second.display);
        EXPECT_FALSE(gone(first.pid));
    }
    EXPECT_TRUE(gone(first_pid));
}

// Writes a capture by hand: silence, then tones at the given [start, end) milliseconds.
static void write_capture(const std::string &path, int total_ms,
                          std::vector<std::pair<int, int>> tones)
{
    std::ofstream out(path, std::ios::binary);
    size_t frames = (size_t)total_ms * E2E_AUDIO_RATE / 1000;
    for (size_t f = 0; f < frames; f++) {
        double ms = f * 1000.0 / E2E_AUDIO_RATE;
        int value = 0x8000;
        for (auto [start, end] : tones)
            if (ms >= start && ms < end)
                value += (f % 100 < 50) ? 3000 : -3000;
        for (int c = 0; c < E2E_AUDIO_CHANNELS; c++)
            out.put((char)(value & 0xFF)).put((char)(value >> 8));
    }
}

TEST(RigAudio, StretchesJoinShortGapsAndSplitLongOnes)
{
    E2eSession s(RIG_DEMO_DIR);
    EXPECT_EQ(e2e_audio_mark(s), 0u);  // nothing captured yet
    write_capture(s.capture_path, 2000, {{200, 300}, {340, 400}, {1000, 1500}});
    EXPECT_EQ(e2e_audio_mark(s), 2u * E2E_AUDIO_RATE);

    std::vector<SoundStretch> all = e2e_sound_stretches(s);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_NEAR(e2e_frames_to_ms(all[0].first_frame), 200, 10);
    EXPECT_NEAR(e2e_frames_to_ms(all[0].end_frame), 400, 10);
    EXPECT_NEAR(e2e_frames_to_ms(all[1].first_frame), 1000, 10);
    EXPECT_NEAR(e2e_frames_to_ms(all[1].end_frame), 1500, 10);
    EXPECT_EQ(all[1].peak, 3000);

    EXPECT_EQ(e2e_sound_stretches(s, 0, SIZE_MAX, 256, 20).size(), 3u);  // a 40 ms gap splits
    EXPECT_TRUE(e2e_sound_stretches(s, 0, SIZE_MAX, 3000).empty());     // too quiet for it
    size_t half = E2E_AUDIO_RATE / 2;  // 500 ms: after the first stretch
    std::vector<SoundStretch> later = e2e_sound_stretches(s, half);
    ASSERT_EQ(later.size(), 1u);
    EXPECT_EQ(later[0].first_frame, (size_t)E2E_AUDIO_RATE);
    std::vector<SoundStretch> cut = e2e_sound_stretches(s, 0, E2E_AUDIO_RATE * 5 / 4);
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_EQ(cut[1].end_frame, (size_t)E2E_AUDIO_RATE * 5 / 4);
}

TEST(RigScreen, PngIsReadBackByImageMagick)
{
    if (system("command -v convert >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    RgbImage image;
    image.width = 300;  // a few hundred colour steps a row: a wrong stride or cut row shows
    image.height = 80;
    for (int y = 0; y < image.height; y++)
        for (int x = 0; x < image.width; x++)
            image.rgb.insert(image.rgb.end(),
                             {(uint8_t)x, (uint8_t)(y * 3), (uint8_t)((x + y) & 0xFF)});
    std::string path = ::testing::TempDir() + "rig_png_test.png";
    ASSERT_TRUE(e2e_write_png(image, path));
    std::string command = "convert " + path + " -depth 8 rgb:-";
    FILE *pipe = popen(command.c_str(), "r");
    ASSERT_TRUE(pipe);
    std::vector<uint8_t> decoded(image.rgb.size() + 1);
    size_t got = fread(decoded.data(), 1, decoded.size(), pipe);
    pclose(pipe);
    remove(path.c_str());
    ASSERT_EQ(got, image.rgb.size());
    decoded.pop_back();
    EXPECT_TRUE(decoded == image.rgb);
}
