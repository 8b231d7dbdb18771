// What the game plays at start: the title tune once with the start-up sound over its first
// moments, and then nothing while the menu and its boards run.
#include "game_support.h"

#include <gtest/gtest.h>

#include <chrono>

// Sound stretches closer than this join: the tune's rests are shorter.
static constexpr int JOIN_GAP_MS = 1000;

static double seconds_since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// True once something was heard and the capture ran on silent for `quiet_ms` after it.
static bool heard_and_quiet_since(const E2eSession &s, int quiet_ms)
{
    std::vector<SoundStretch> heard = e2e_sound_stretches(s, 0, SIZE_MAX, 256, JOIN_GAP_MS);
    return !heard.empty() &&
           e2e_audio_mark(s) > heard.back().end_frame + (size_t)quiet_ms * E2E_AUDIO_RATE / 1000;
}

TEST(GameSound, TitleTunePlaysOnceFromTheStartAndThenTheMenuIsSilent)
{
    double tune = title_tune_seconds();
    ASSERT_GT(tune, 2) << "cannot read sons/inicio.mid of " GAME_DIR;
    E2eSession s(GAME_DIR);
    auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(start_to_title(s));
    // The tune keeps the wall clock's time while the capture runs ahead of it (sound is
    // mixed as fast as the null device takes it), so its length is read through the pace of
    // the capture over the same while.
    ASSERT_TRUE(e2e_wait_for([&] { return heard_and_quiet_since(s, 3000); },
                             (int)(tune * 1000) + 20000));
    double capture_pace = e2e_frames_to_ms(e2e_audio_mark(s)) / 1000 / seconds_since(start);
    std::vector<SoundStretch> heard = e2e_sound_stretches(s, 0, SIZE_MAX, 256, JOIN_GAP_MS);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_LT(e2e_frames_to_ms(heard[0].first_frame), 1000) << "no sound at the start";
    double played = e2e_frames_to_ms(heard[0].end_frame - heard[0].first_frame) / 1000 /
                    capture_pace;
    EXPECT_GT(played, tune - 1.5) << "capture pace " << capture_pace;
    EXPECT_LT(played, tune + 3) << "capture pace " << capture_pace;  // the last notes fade

    // The menu goes on without any sound, also after a visit to the help board: nothing is
    // started again, nothing loops.
    size_t quiet_from = heard[0].end_frame;
    e2e_click(s, box_mid_x(HELP_BOX), box_mid_y(HELP_BOX));
    ASSERT_TRUE(e2e_wait_for(
        [&] { return rgb_near(e2e_pixel(s, 235, 200), Rgb{150, 160, 170}); }, 5000))
        << "no help board";
    e2e_click(s, 432, 308);  // its OK button
    e2e_mouse_move(s, 480, 370);
    ASSERT_TRUE(e2e_wait_for([&] { return menu_words_normal(e2e_grab_window(s)); }, 5000));
    size_t until = e2e_audio_mark(s) + 6 * E2E_AUDIO_RATE;
    ASSERT_TRUE(e2e_wait_for([&] { return e2e_audio_mark(s) > until; }, 10000));
    EXPECT_TRUE(e2e_sound_stretches(s, quiet_from).empty());
    EXPECT_TRUE(e2e_running(s));
}

TEST(GameSound, StartupSoundLastsOneAndAHalfSecondsLeftOfCentre)
{
    E2eSession s(GAME_DIR);
    e2e_remove_file(s, "sons/inicio.mid");  // the start-up sound alone
    ASSERT_TRUE(start_to_title(s));
    ASSERT_TRUE(e2e_wait_for([&] { return heard_and_quiet_since(s, 2000); }, 10000));
    std::vector<SoundStretch> heard = e2e_sound_stretches(s, 0, SIZE_MAX, 256, JOIN_GAP_MS);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_LT(e2e_frames_to_ms(heard[0].first_frame), 1000) << "no sound at the start";
    // The sample is mixed, so its length holds in capture time.
    EXPECT_NEAR(e2e_frames_to_ms(heard[0].end_frame - heard[0].first_frame), 1500, 150);
    double left, right;
    channel_loudness(s, heard[0].first_frame, heard[0].end_frame, left, right);
    EXPECT_GT(left, 2.5 * right) << "pan 50 of 255 puts it well left of centre";
    EXPECT_GT(right, 0) << "but not all in the left";
}
