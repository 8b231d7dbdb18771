// The game's icon: drawn from the game's art, and its XPM form reads back as the same picture
// whether one or two characters name a colour.
#include "game_data.h"
#include "game_icon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

namespace {

// Reads the XPM text that encode_xpm writes back into a picture: the header line, the
// colour lines, the rows; every quoted string in order.
Image read_xpm(const std::string &text)
{
    std::vector<std::string> strings;
    for (size_t at = text.find('"'); at != std::string::npos; at = text.find('"', at + 1)) {
        size_t end = text.find('"', at + 1);
        strings.push_back(text.substr(at + 1, end - at - 1));
        at = end;
    }
    std::istringstream header(strings.at(0));
    int width = 0, height = 0, colours = 0, per_pixel = 0;
    header >> width >> height >> colours >> per_pixel;
    std::map<std::string, Rgb> palette;
    for (int i = 1; i <= colours; i++) {
        const std::string &line = strings.at(i);
        if (line.substr(per_pixel) == " c None") {  // clear: the sprites' pink
            palette[line.substr(0, per_pixel)] = PINK;
            continue;
        }
        EXPECT_EQ(line.substr(per_pixel, 4), " c #") << line;
        palette[line.substr(0, per_pixel)] = Rgb(std::stoul(line.substr(per_pixel + 4), nullptr, 16));
    }
    EXPECT_EQ(palette.size(), size_t(colours)) << "two colours share a code";
    Image image(width, height);
    EXPECT_EQ(strings.size(), size_t(1 + colours + height));
    for (int y = 0; y < height; y++) {
        const std::string &row = strings.at(1 + colours + y);
        EXPECT_EQ(row.size(), size_t(width * per_pixel)) << "row " << y;
        for (int x = 0; x < width && size_t((x + 1) * per_pixel) <= row.size(); x++)
            image.set(x, y, palette.at(row.substr(x * per_pixel, per_pixel)));
    }
    return image;
}

}  // namespace

TEST(DatabuildIcon, XpmReadsBackAsThePictureWithOneOrTwoCharactersAColour)
{
    Image few(5, 3, 0x102030);
    few.set(1, 1, PINK);
    few.set(4, 2, 0xFFFFFF);
    Image many(40, 30);  // 1200 colours: more than one character can name
    for (int y = 0; y < many.height; y++)
        for (int x = 0; x < many.width; x++)
            many.set(x, y, rgb(x * 6, y * 8, (x + y) % 7));
    for (const Image *image : {&few, &many}) {
        std::string xpm = encode_xpm(*image, "icon_xpm");
        EXPECT_NE(xpm.find("static const char *icon_xpm[]"), std::string::npos);
        EXPECT_EQ(xpm.find('\\'), std::string::npos) << "a C escape in the XPM text";
        EXPECT_EQ(xpm.find(" c None") != std::string::npos, image == &few) << "pink not clear";
        Image back = read_xpm(xpm);
        EXPECT_EQ(back.width, image->width);
        EXPECT_EQ(back.height, image->height);
        EXPECT_TRUE(back.pixels == image->pixels);
    }
}

TEST(DatabuildIcon, TheMinerOnAClearBackgroundGrowsInSharpSquares)
{
    GameData data = read_game_data(DATA_SOURCES_DIR);
    Image icon = draw_game_icon(data);
    ASSERT_EQ(icon.width, 16);
    EXPECT_TRUE(icon.pixels == data.objects.at('1').pixels) << "the icon is not the miner";
    long clear = std::count(icon.pixels.begin(), icon.pixels.end(), PINK);
    EXPECT_GT(clear, 0) << "no clear background";
    EXPECT_LT(clear, 16 * 16);

    for (int size : ICON_SIZES) {
        Image big = enlarge(icon, size / 16);
        ASSERT_EQ(big.width, size);
        ASSERT_EQ(big.height, size);
        int wrong = 0;
        for (int y = 0; y < size; y++)
            for (int x = 0; x < size; x++)
                wrong += big.at(x, y) != icon.at(x * 16 / size, y * 16 / size);
        EXPECT_EQ(wrong, 0) << size << " px";
    }

}
