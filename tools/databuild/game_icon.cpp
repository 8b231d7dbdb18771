// The game's icon: the same art for the icon theme (PNG) and the window (XPM compiled in).
#include "game_icon.h"

#include "output_file.h"
#include "picture_files.h"

#include <cstdio>
#include <map>

Image draw_game_icon(const GameData &data)
{
    return data.objects.at('1');
}

Image enlarge(const Image &image, int zoom)
{
    Image big(image.width * zoom, image.height * zoom);
    for (int y = 0; y < big.height; y++)
        for (int x = 0; x < big.width; x++)
            big.set(x, y, image.at(x / zoom, y / zoom));
    return big;
}

std::string encode_xpm(const Image &image, const std::string &name)
{
    // Printable characters that need no escaping inside a C string.
    static const std::string CHARS =
        ".#abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+-*/=<>!$%&()[]{}:;,_~^@|";
    std::map<Rgb, std::string> codes;
    for (Rgb c : image.pixels)
        codes.emplace(c, "");
    const size_t base = CHARS.size();
    const int per_pixel = codes.size() <= base ? 1 : 2;
    size_t n = 0;
    for (auto &[colour, code] : codes) {
        code = per_pixel == 1 ? std::string(1, CHARS[n]) : std::string{CHARS[n / base], CHARS[n % base]};
        n++;
    }
    std::string out = "/* XPM */\nstatic const char *" + name + "[] = {\n";
    char line[64];
    std::snprintf(line, sizeof line, "\"%d %d %zu %d\",\n", image.width, image.height,
                  codes.size(), per_pixel);
    out += line;
    for (const auto &[colour, code] : codes) {
        if (colour == PINK)
            std::snprintf(line, sizeof line, "\"%s c None\",\n", code.c_str());
        else
            std::snprintf(line, sizeof line, "\"%s c #%06X\",\n", code.c_str(), unsigned(colour));
        out += line;
    }
    for (int y = 0; y < image.height; y++) {
        out += '"';
        for (int x = 0; x < image.width; x++)
            out += codes[image.at(x, y)];
        out += y + 1 < image.height ? "\",\n" : "\"\n";
    }
    return out + "};\n";
}

std::string encode_argb_icons(const std::vector<Image> &images, const std::string &name)
{
    std::string body;
    size_t count = 0;
    char word[16];
    auto add = [&](unsigned long value) {
        std::snprintf(word, sizeof word, "0x%08lX,", value);
        body += word;
        body += ++count % 8 ? " " : "\n";
    };
    for (const Image &image : images) {
        add((unsigned long)image.width);
        add((unsigned long)image.height);
        for (Rgb c : image.pixels)
            add(c == PINK ? 0ul : 0xFF000000ul | c);
    }
    return "static const unsigned long " + name + "[] = {\n" + body + "\n};\n" +
           "static const int " + name + "_size = " + std::to_string(count) + ";\n";
}

void write_game_icons(const GameData &data, const std::string &dir)
{
    const Image icon = draw_game_icon(data);
    for (int size : ICON_SIZES) {
        std::string name = std::to_string(size) + "x" + std::to_string(size);
        write_file(dir + "/hicolor/" + name + "/apps/pitlorex.png",
                   encode_png(enlarge(icon, size / icon.width), PNG_PINK_CLEAR));
    }
    std::string xpm = encode_xpm(enlarge(icon, WINDOW_ICON_SIZE / icon.width), "pitlorex_icon_xpm");
    write_file(dir + "/pitlorex_icon.xpm", Bytes(xpm.begin(), xpm.end()));
    std::vector<Image> argb;
    for (int size : WINDOW_ARGB_SIZES)
        argb.push_back(enlarge(icon, size / icon.width));
    std::string argb_text = encode_argb_icons(argb, "pitlorex_icon_argb");
    write_file(dir + "/pitlorex_icon_argb.h", Bytes(argb_text.begin(), argb_text.end()));
}
