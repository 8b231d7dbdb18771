// The font engine's life: glyph cache per font and size, fonts that fail to load, and exit.
#include "font/alfont_extra.h"
#include "font_test_font.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

class FontEngine : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = test_font_path();
        ASSERT_NE(alfont_init(), 1);
        bmp = create_bitmap(200, 60);
        clear_to_color(bmp, 0);
    }
    void TearDown() override
    {
        destroy_bitmap(bmp);
        alfont_exit();
    }
    bool untouched()
    {
        for (int y = 0; y < bmp->h; y++)
            for (int x = 0; x < bmp->w; x++)
                if (getpixel(bmp, x, y) != 0)
                    return false;
        return true;
    }
    const char *path = nullptr;
    BITMAP *bmp = nullptr;
};

TEST_F(FontEngine, SameWordsAgainRasteriseNothing)
{
    if (!path)
        GTEST_SKIP() << "no DejaVu Sans on this machine";
    ALFONT_FONT *typeface = alfont_load_font(path);
    alfont_set_font_size(typeface, 40);
    long before = alfont_rasterised_glyphs();
    alfont_textout_aa_ex(bmp, typeface, "Opcoes", 0, 0, 0xFFFF, -1);
    EXPECT_EQ(alfont_rasterised_glyphs() - before, 6);  // O p c o e s: six glyphs
    before = alfont_rasterised_glyphs();
    alfont_textout_aa_ex(bmp, typeface, "Opcoes", 3, 4, 0x1234, -1);
    alfont_textout_aa_ex(bmp, typeface, "cose", 3, 4, 0x1234, 0);
    EXPECT_EQ(alfont_rasterised_glyphs(), before);

    // Another size is another set of glyphs; coming back finds the first set still there.
    alfont_set_font_size(typeface, 20);
    alfont_textout_aa_ex(bmp, typeface, "Opcoes", 0, 0, 0xFFFF, -1);
    EXPECT_GT(alfont_rasterised_glyphs(), before);
    before = alfont_rasterised_glyphs();
    alfont_set_font_size(typeface, 40);
    alfont_textout_aa_ex(bmp, typeface, "Opcoes", 0, 0, 0xFFFF, -1);
    EXPECT_EQ(alfont_rasterised_glyphs(), before);

    // A second load of the same file is a font of its own, with its own cache.
    ALFONT_FONT *again = alfont_load_font(path);
    alfont_set_font_size(again, 40);
    alfont_textout_aa_ex(bmp, again, "Opcoes", 0, 0, 0xFFFF, -1);
    EXPECT_GT(alfont_rasterised_glyphs(), before);
}

TEST_F(FontEngine, AFontThatDidNotLoadDrawsNothing)
{
    std::string junk = std::string(P_tmpdir) + "/pitlorex-not-a-font.ttf";
    FILE *f = fopen(junk.c_str(), "w");
    ASSERT_TRUE(f);
    fputs("this is no font\n", f);
    fclose(f);

    for (const char *name : {"fontes/nao-existe.ttf", junk.c_str(), ""}) {
        ALFONT_FONT *typeface = alfont_load_font(name);
        ASSERT_NE(typeface, nullptr) << name;
        EXPECT_NE(alfont_set_font_size(typeface, 40), 0);
        alfont_textout_aa_ex(bmp, typeface, "Iniciar", 10, 10, 0xFFFF, -1);
        alfont_textout_aa_ex(bmp, typeface, "Iniciar", 10, 10, 0xFFFF, 0x1234);
        EXPECT_EQ(alfont_text_length(typeface, "Iniciar"), 0);
        EXPECT_TRUE(untouched()) << name;
    }
    remove(junk.c_str());
}

TEST_F(FontEngine, BadArgumentsAreRefused)
{
    if (!path)
        GTEST_SKIP() << "no DejaVu Sans on this machine";
    ALFONT_FONT *typeface = alfont_load_font(path);
    EXPECT_EQ(alfont_set_font_size(typeface, 20), 0);
    EXPECT_NE(alfont_set_font_size(typeface, 0), 0);
    EXPECT_NE(alfont_set_font_size(typeface, -3), 0);
    EXPECT_NE(alfont_set_font_size(typeface, 1000000), 0);
    EXPECT_NE(alfont_set_font_size(nullptr, 20), 0);
    int width = alfont_text_length(typeface, "Sair");
    EXPECT_GT(width, 20);  // still size 20: the refused sizes changed nothing
    EXPECT_LT(width, 60);
    alfont_textout_aa_ex(nullptr, typeface, "Sair", 0, 0, 0xFFFF, -1);
    alfont_textout_aa_ex(bmp, nullptr, "Sair", 0, 0, 0xFFFF, -1);
    alfont_textout_aa_ex(bmp, typeface, nullptr, 0, 0, 0xFFFF, -1);
    alfont_textout_aa_ex(bmp, typeface, "", 0, 0, 0xFFFF, 0x1234);
    EXPECT_TRUE(untouched());
}

TEST_F(FontEngine, ExitFreesEveryFontAndMayBeRepeated)
{
    int held = alfont_font_count();
    alfont_load_font(path ? path : "missing.ttf");
    alfont_load_font("missing.ttf");
    ALFONT_FONT *third = alfont_load_font("missing.ttf");
    EXPECT_EQ(alfont_font_count(), held + 3);
    alfont_destroy_font(third);
    EXPECT_EQ(alfont_font_count(), held + 2);
    alfont_exit();
    EXPECT_EQ(alfont_font_count(), 0);
    alfont_exit();  // after exit, or after a failed start: harmless

    // The engine starts again and loads as before.
    ASSERT_NE(alfont_init(), 1);
    if (path) {
        ALFONT_FONT *typeface = alfont_load_font(path);
        alfont_set_font_size(typeface, 30);
        alfont_textout_aa_ex(bmp, typeface, "Ajuda", 0, 0, 0xFFFF, -1);
        EXPECT_FALSE(untouched());
    }
}
