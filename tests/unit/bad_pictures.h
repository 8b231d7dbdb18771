// BMP files that load, or seem to, but cannot be the picture the game wants: for the tests of
// the tile, object and title pictures.
#pragma once

#include <allegro.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

// The bytes of a w x h BMP file in one colour, as Allegro saves it.
inline std::string bmp_bytes(int w, int h, int colour)
{
    BITMAP *picture = create_bitmap(w, h);
    clear_to_color(picture, colour);
    std::string path = std::string(P_tmpdir) + "/pitlorex-bad-picture.bmp";
    save_bitmap(path.c_str(), picture, nullptr);
    destroy_bitmap(picture);
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::remove(path.c_str());
    return bytes.str();
}

// Named variants of a picture that should be w x h: the wrong size either way, cut short,
// run-length coded with codes that write outside it, and a small file whose header claims
// 20,000 x 20,000 pixels.
inline std::vector<std::pair<std::string, std::string>> bad_pictures(int w, int h, int colour)
{
    std::string right = bmp_bytes(w, h, colour);
    std::string huge = right;
    for (int at : {18, 22}) {  // width and height, 32-bit little-endian
        huge[at] = char(20000 & 0xff);
        huge[at + 1] = char(20000 >> 8);
    }
    // Run-length coded, its codes jumping 255 pixels right and up, past the picture's memory.
    std::string coded = right.substr(0, 54);
    coded[28] = 8;  // bits per pixel
    coded[30] = 1;  // run-length coded, 8 bits
    for (int i = 0; i < 64; i++)
        coded += std::string("\x00\x02\xff\xff\x01\x07", 6);
    return {{"1 x 1", bmp_bytes(1, 1, colour)},
            {"run-length coded, codes running off the picture", coded},
            {"too large", bmp_bytes(w * 4, h * 4, colour)},
            {"half a file", right.substr(0, right.size() / 2)},
            {"pixels cut by one byte", right.substr(0, right.size() - 1)},
            {"claims 20000 x 20000", huge}};
}
