// shutdown_system at any point of the process's life: it frees what exists and nothing else.
#include "font/alfont_extra.h"
#include "script_platform.h"
#include "shell/shell.h"
#include "startup_game_folder.h"
#include "ui/main_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

int status_of_shutdown(int status)
{
    try {
        shutdown_system(status);
    } catch (const ProcessExit &end) {
        return end.status;
    }
    return -1;
}

}  // namespace

TEST(Shutdown, WithNothingStartedItOnlyEndsTheProcess)
{
    // Before the keyboard exists and after a font engine that never started.
    script_reset(nullptr);
    alfont_exit();
    EXPECT_EQ(status_of_shutdown(1), 1);
    std::vector<std::string> expected = {"clear_keybuf", "exit 1"};
    EXPECT_EQ(script.log, expected);
}

TEST(Shutdown, FreesTheSoundsTheTitleAndTheFonts)
{
    GameFolder folder;
    BITMAP *canvas = create_bitmap(512, 384);
    script_reset(canvas);
    ASSERT_NE(alfont_init(), 1);
    title_screen();
    startup_sample = load_sample("sons/pitlorex.wav");
    title_music = load_midi("sons/inicio.mid");
    ASSERT_NE(startup_sample, nullptr);
    ASSERT_NE(title_music, nullptr);

    EXPECT_EQ(status_of_shutdown(0), 0);
    std::vector<std::string> expected = {"destroy_midi", "clear_keybuf", "exit 0"};
    EXPECT_EQ(script.log, expected);
    EXPECT_EQ(startup_sample, nullptr);
    EXPECT_EQ(title_music, nullptr);
    EXPECT_EQ(title_bitmap, nullptr);
    EXPECT_EQ(menu_font, nullptr);
    EXPECT_EQ(alfont_font_count(), 0);

    // Shutting down twice frees nothing twice.
    script_reset(canvas);
    EXPECT_EQ(status_of_shutdown(0), 0);
    script_reset(nullptr);
    destroy_bitmap(canvas);
}
