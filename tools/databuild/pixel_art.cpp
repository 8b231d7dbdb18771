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

}  // namespace

Image parse_pixel_art(std::istream &in, const std::string &name, int want_width, int want_height)
{
    int width = 0, height = 0;
    std::map<char, Rgb> palette;
    Image image;
    int rows_read = 0;
    bool in_pixels = false;
    std::string line;
    int number = 0;

    while (std::getline(in, line)) {
        number++;
        line = trimmed_right(line);
        if (in_pixels) {
            if (rows_read == height) {
                if (blank_or_comment(line))
                    continue;
                throw BuildError(name, number, "more than " + std::to_string(height) + " rows");
            }
            if (int(line.size()) != width)
                throw BuildError(name, number,
                                 "row has " + std::to_string(line.size()) + " pixels, expected " +
                                     std::to_string(width));
            for (int x = 0; x < width; x++) {
                auto found = palette.find(line[x]);
                if (found == palette.end())
                    throw BuildError(name, number,
                                     std::string("unknown palette character '") + line[x] +
                                         "' in column " + std::to_string(x + 1));
                image.set(x, rows_read, found->second);
            }
            rows_read++;
            continue;
        }
        if (blank_or_comment(line))
            continue;

        std::istringstream words(line);
        std::string first;
        words >> first;
        if (first == "size") {
            if (!(words >> width >> height) || width <= 0 || height <= 0 || width > 4096 ||
                height > 4096)
                throw BuildError(name, number, "size needs a width and a height, both positive");
            if ((want_width && width != want_width) || (want_height && height != want_height))
                throw BuildError(name, number,
                                 "picture is " + std::to_string(width) + " x " +
                                     std::to_string(height) + ", must be " +
                                     std::to_string(want_width) + " x " +
                                     std::to_string(want_height));
        } else if (first == "pixels") {
            if (width == 0)
                throw BuildError(name, number, "pixels before the size line");
            if (palette.empty())
                throw BuildError(name, number, "pixels before any palette line");
            image = Image(width, height);
            in_pixels = true;
        } else if (first.size() == 1) {
            std::string colour_word;
            Rgb colour = 0;
            words >> colour_word;
            if (!parse_hex_colour(colour_word, colour))
                throw BuildError(name, number,
                                 "palette line needs a character and a colour #rrggbb");
            if (palette.count(first[0]))
                throw BuildError(name, number,
                                 std::string("palette character '") + first + "' defined twice");
            if (turns_into_mask(colour))
                throw BuildError(name, number,
                                 "colour " + colour_word +
                                     " turns into the pink mask at 16 bits; use #ff00ff or "
                                     "move it away from pink");
            palette[first[0]] = colour;
        } else {
            throw BuildError(name, number, "unknown line '" + first + "'");
        }
    }
    if (!in_pixels)
        throw BuildError(name, 0, "no pixels section");
    if (rows_read != height)
        throw BuildError(name, number,
                         "has " + std::to_string(rows_read) + " rows, expected " +
                             std::to_string(height));
    return image;
}

Image read_pixel_art(const std::string &path, int want_width, int want_height)
{
    std::ifstream in(path);
    if (!in)
        throw BuildError(path, 0, "missing or unreadable");
    return parse_pixel_art(in, path, want_width, want_height);
}
