// The built pictures and sound as Allegro loads them at colour depth 16, the game's depth.
#include "build_error.h"
#include "picture_files.h"
#include "startup_sound.h"

#include "shell/error_texts.h"

#include <allegro.h>
#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

namespace {

struct BitmapDeleter {
    void operator()(BITMAP *b) const { destroy_bitmap(b); }
};
using BitmapPtr = std::unique_ptr<BITMAP, BitmapDeleter>;

BitmapPtr load(const std::string &path)
{
    return BitmapPtr(load_bitmap(path.c_str(), nullptr));
}

int count_mask_pixels(BITMAP *b)
{
    int n = 0;
    for (int y = 0; y < b->h; y++)
        for (int x = 0; x < b->w; x++)
            n += getpixel(b, x, y) == bitmap_mask_color(b);
    return n;
}

}  // namespace

TEST(DatabuildFiles, BmpKeepsPinkAsTheMaskAtSixteenBits)
{
    Image img(5, 3, 0x204060);  // odd width: rows need padding
    img.set(0, 0, PINK);
    img.set(4, 2, 0xFFD232);
    std::string path = ::testing::TempDir() + "databuild_test.bmp";
    Bytes bmp = encode_bmp24(img);
    FILE *f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fwrite(bmp.data(), 1, bmp.size(), f);
    std::fclose(f);

    BitmapPtr b = load(path);
    ASSERT_TRUE(b);
    EXPECT_EQ(bitmap_color_depth(b.get()), 16);
    EXPECT_EQ(b->w, 5);
    EXPECT_EQ(b->h, 3);
    EXPECT_EQ(getpixel(b.get(), 0, 0), MASK_COLOR_16);
    EXPECT_EQ(getpixel(b.get(), 4, 2), makecol16(0xFF, 0xD2, 0x32));
    EXPECT_EQ(getpixel(b.get(), 1, 0), makecol16(0x20, 0x40, 0x60));
    std::remove(path.c_str());
}

TEST(DatabuildFiles, PngReadsBackPixelForPixelAndEmptyPicturesAreRefused)
{
    // Odd sizes and every channel different, so that a swapped channel, a wrong row stride
    // or a cut-off end shows.
    Image img(301, 257);
    for (int y = 0; y < img.height; y++)
        for (int x = 0; x < img.width; x++)
            img.set(x, y, rgb(x & 0xFF, (y * 7) & 0xFF, (x * y) & 0xFF));
    Bytes png = encode_png(img);
    ASSERT_GT(png.size(), 8u);
    EXPECT_LT(png.size(), img.pixels.size() * 3);  // compressed, not stored

    png_image read{};
    read.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&read, png.data(), png.size())) << read.message;
    EXPECT_EQ(read.width, 301u);
    EXPECT_EQ(read.height, 257u);
    read.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rows(PNG_IMAGE_SIZE(read));
    ASSERT_TRUE(png_image_finish_read(&read, nullptr, rows.data(), 0, nullptr)) << read.message;
    ASSERT_EQ(rows.size(), img.pixels.size() * 3);
    size_t wrong = 0;
    for (size_t i = 0; i < img.pixels.size(); i++)
        wrong += rgb(rows[3 * i], rows[3 * i + 1], rows[3 * i + 2]) != img.pixels[i];
    EXPECT_EQ(wrong, 0u);

    EXPECT_THROW(encode_png(Image(0, 0)), BuildError);
    EXPECT_THROW(encode_png(Image(12, 0)), BuildError);
}

TEST(DatabuildFiles, BuiltPicturesHaveTheirSizesAndMasks)
{
    const std::string game = GAME_DIR;
    for (char c = 'A'; c <= 'Z'; c++) {
        BitmapPtr b = load(game + "/tiles/t" + c + ".bmp");
        ASSERT_TRUE(b) << c;
        EXPECT_EQ(b->w, 16);
        EXPECT_EQ(b->h, 16);
        bool see_through = std::string("DHLPTYZ").find(c) != std::string::npos;
        EXPECT_EQ(count_mask_pixels(b.get()) > 0, see_through) << "tile " << c;
    }
    for (char c = '1'; c <= '8'; c++) {
        BitmapPtr b = load(game + "/objetos/o" + c + ".bmp");
        ASSERT_TRUE(b) << c;
        EXPECT_GT(count_mask_pixels(b.get()), 40) << "object " << c;
    }
    BitmapPtr title = load(game + "/imagens/inicio.bmp");
    ASSERT_TRUE(title);
    EXPECT_EQ(title->w, 512);
    EXPECT_EQ(title->h, 384);
    BitmapPtr cursor = load(game + "/imagens/cursor.bmp");
    ASSERT_TRUE(cursor);
    EXPECT_NE(getpixel(cursor.get(), 0, 0), MASK_COLOR_16);  // the tip is the hot spot
}

TEST(DatabuildFiles, StartupSoundLoadsAsOneToTwoSecondsOfSound)
{
    std::string path = std::string(GAME_DIR) + "/sons/pitlorex.wav";
    SAMPLE *s = load_sample(path.c_str());
    ASSERT_TRUE(s);
    EXPECT_EQ(s->bits, 16);
    EXPECT_EQ(s->freq, STARTUP_RATE);
    double seconds = double(s->len) / s->freq;
    EXPECT_GE(seconds, 1.0);
    EXPECT_LE(seconds, 2.0);
    // Not silence: Allegro keeps 16-bit samples unsigned, silence at 0x8000.
    const uint16_t *data = static_cast<const uint16_t *>(s->data);
    int loud = 0;
    for (unsigned long i = 0; i < s->len; i++)
        loud += std::abs(int(data[i]) - 0x8000) > 4000;
    EXPECT_GT(loud, int(s->len / 20));
    destroy_sample(s);
}

TEST(DatabuildFiles, TitleKeepsTheMenuAreaDarkAndCalm)
{
    BitmapPtr title = load(std::string(GAME_DIR) + "/imagens/inicio.bmp");
    ASSERT_TRUE(title);
    // Where the menu words go (x 90..220, y 180..355), near-white and yellow must both read.
    double brightest = 0, sum = 0, sum2 = 0;
    int n = 0;
    for (int y = 180; y <= 355; y++)
        for (int x = 90; x <= 220; x++) {
            int c = getpixel(title.get(), x, y);
            double l = 0.299 * getr16(c) + 0.587 * getg16(c) + 0.114 * getb16(c);
            brightest = std::max(brightest, l);
            sum += l;
            sum2 += l * l;
            n++;
        }
    double mean = sum / n;
    EXPECT_LT(brightest, 90);
    EXPECT_LT(std::sqrt(sum2 / n - mean * mean), 12);
    // The rest of the picture is not all dark: the name and the scene are there.
    int bright = 0;
    for (int y = 0; y < 384; y += 2)
        for (int x = 0; x < 512; x += 2) {
            int c = getpixel(title.get(), x, y);
            bright += getr16(c) > 200 && getg16(c) > 150;
        }
    EXPECT_GT(bright, 500);
}

// The help file that the help board and every error box send the player to: in the game
// folder, plain ASCII in lines that fit a terminal, a word on each error box the game shows,
// and each switch's mark.
TEST(DatabuildFiles, TheGameFolderHoldsTheHelpFile)
{
    std::ifstream in(std::string(GAME_DIR) + "/Ajuda.txt", std::ios::binary);
    ASSERT_TRUE(in) << "no Ajuda.txt in " GAME_DIR;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); number++) {
        EXPECT_LE(line.size(), 78u) << "line " << number;
        for (unsigned char c : line)
            ASSERT_TRUE(c >= 32 && c < 127) << "line " << number << " holds byte " << int(c);
    }
    for (const char *caption : {ERRO_01_CAPTION, ERRO_02_CAPTION, ERRO_03_CAPTION,
                                ERRO_04_CAPTION, "Pitlorex - Erro 05"})
        EXPECT_NE(text.find(std::string(caption).substr(std::string("Pitlorex - ").size())),
                  std::string::npos)
            << caption;
    for (const char *topic : {"SETAS", "ESC", "F11", "SENHA", "VELOCIDADE", "SOM", "NIVEL", "vidas",
                              "com um ponto", "com um anel", "com uma barra"})
        EXPECT_NE(text.find(topic), std::string::npos) << topic;
}
