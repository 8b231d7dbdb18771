// Reader of the pixel art text format, with the checks that keep a bad picture out of the game.
#include "pixel_art.h"

#include "build_error.h"

#include <cctype>
#include <fstream>
#include <map>
#include <sstream>

namespace {

bool blank_or_comment(const std::string &line)
{
    size_t i = line.find_first_not_of(" \t\r");
    return i == std::string::npos || line[i] == '#';
}

std::string trimmed_right(std::string s)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.pop_back();
    return s;
}

bool parse_hex_colour(const std::string &word, Rgb &out)
{
    if (word.size() != 7 || word[0] != '#')
        return false;
    for (size_t i = 1; i < 7; i++)
        if (!std::isxdigit(static_cast<unsigned char>(word[i])))
            return false;
    out = Rgb(std::stoul(word.substr(1), nullptr, 16));
    return true;
}

// What the reader has met so far; `number` is the line being read, for errors.
struct ArtReader {
    std::string name;
    int want_width = 0, want_height = 0;  // 0: any
    int width = 0, height = 0;
    std::map<char, Rgb> palette;
    Image image;
    bool in_pixels = false;
    int rows_read = 0;
    int number = 0;
};

[[noreturn]] void fail(const ArtReader &art, const std::string &why)
{
    throw BuildError(art.name, art.number, why);
}

// "size W H": both positive and at most 4096, and the size asked for when one is.
void read_size(ArtReader &art, std::istringstream &words)
{
    if (!(words >> art.width >> art.height) || art.width <= 0 || art.height <= 0 ||
        art.width > 4096 || art.height > 4096)
        fail(art, "size needs a width and a height, both positive");
    if ((art.want_width && art.width != art.want_width) ||
        (art.want_height && art.height != art.want_height))
        fail(art, "picture is " + std::to_string(art.width) + " x " + std::to_string(art.height) +
                      ", must be " + std::to_string(art.want_width) + " x " +
                      std::to_string(art.want_height));
}

// "c #rrggbb": a palette character, defined once, in a colour that stays clear of the mask.
void read_palette_line(ArtReader &art, const std::string &key, std::istringstream &words)
{
    std::string colour_word;
    Rgb colour = 0;
    words >> colour_word;
    if (!parse_hex_colour(colour_word, colour))
        fail(art, "palette line needs a character and a colour #rrggbb");
    if (art.palette.count(key[0]))
        fail(art, "palette character '" + key + "' defined twice");
    if (turns_into_mask(colour))
        fail(art, "colour " + colour_word +
                      " turns into the pink mask at 16 bits; use #ff00ff or move it away "
                      "from pink");
    art.palette[key[0]] = colour;
}

// A line before the pixels: size, palette or the "pixels" line that ends them.
void read_heading_line(ArtReader &art, const std::string &line)
{
    std::istringstream words(line);
    std::string first;
    words >> first;
    if (first == "size") {
        read_size(art, words);
    } else if (first == "pixels") {
        if (art.width == 0)
            fail(art, "pixels before the size line");
        if (art.palette.empty())
            fail(art, "pixels before any palette line");
        art.image = Image(art.width, art.height);
        art.in_pixels = true;
    } else if (first.size() == 1) {
        read_palette_line(art, first, words);
    } else {
        fail(art, "unknown line '" + first + "'");
    }
}

// One row of pixels, each character from the palette; after the last row only blank and
// comment lines may follow.
void read_pixel_row(ArtReader &art, const std::string &line)
{
    if (art.rows_read == art.height) {
        if (!blank_or_comment(line))
            fail(art, "more than " + std::to_string(art.height) + " rows");
        return;
    }
    if (int(line.size()) != art.width)
        fail(art, "row has " + std::to_string(line.size()) + " pixels, expected " +
                      std::to_string(art.width));
    for (int x = 0; x < art.width; x++) {
        auto found = art.palette.find(line[x]);
        if (found == art.palette.end())
            fail(art, std::string("unknown palette character '") + line[x] + "' in column " +
                          std::to_string(x + 1));
        art.image.set(x, art.rows_read, found->second);
    }
    art.rows_read++;
}

}  // namespace

Image parse_pixel_art(std::istream &in, const std::string &name, int want_width, int want_height)
{
    ArtReader art;
    art.name = name;
    art.want_width = want_width;
    art.want_height = want_height;
    std::string line;
    while (std::getline(in, line)) {
        art.number++;
        line = trimmed_right(line);
        if (art.in_pixels)
            read_pixel_row(art, line);
        else if (!blank_or_comment(line))
            read_heading_line(art, line);
    }
    if (!art.in_pixels)
        throw BuildError(name, 0, "no pixels section");
    if (art.rows_read != art.height)
        fail(art, "has " + std::to_string(art.rows_read) + " rows, expected " +
                      std::to_string(art.height));
    return art.image;
}

Image read_pixel_art(const std::string &path, int want_width, int want_height)
{
    std::ifstream in(path);
    if (!in)
        throw BuildError(path, 0, "missing or unreadable");
    return parse_pixel_art(in, path, want_width, want_height);
}
