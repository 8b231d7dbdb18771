// databuild: turns the text sources in data/ into the pictures, tunes and sounds the game reads.
//
//   databuild --data DIR --game DIR --title-font FONT [--patches CFG] [--sheet PNG --label-font FONT]
//   databuild --data DIR --icons DIR
//
// Everything is read and checked before anything is written; a fault stops the build with a
// message naming the file and line.
#include "build_error.h"
#include "contact_sheet.h"
#include "game_data.h"
#include "game_icon.h"
#include "patch_set.h"
#include "picture_files.h"
#include "startup_sound.h"
#include "title_picture.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>

namespace {

struct Options {
    std::string data, game, title_font, patches, sheet, label_font, icons;
};

bool parse_options(int argc, char **argv, Options &o)
{
    std::map<std::string, std::string *> flags = {
        {"--data", &o.data},       {"--game", &o.game},   {"--title-font", &o.title_font},
        {"--patches", &o.patches}, {"--sheet", &o.sheet}, {"--label-font", &o.label_font},
        {"--icons", &o.icons}};
    for (int i = 1; i < argc; i++) {
        auto found = flags.find(argv[i]);
        if (found == flags.end() || i + 1 >= argc)
            return false;
        *found->second = argv[++i];
    }
    bool pictures = !o.game.empty() || !o.sheet.empty();  // these need the title drawn
    return !o.data.empty() && (pictures || !o.icons.empty()) &&
           (!pictures || !o.title_font.empty()) && (o.sheet.empty() || !o.label_font.empty());
}

void write_game_files(const GameData &data, const Image &title, const Options &o)
{
    for (const auto &[letter, image] : data.tiles)
        write_file(o.game + "/tiles/t" + letter + ".bmp", encode_bmp24(image));
    for (const auto &[digit, image] : data.objects)
        write_file(o.game + "/objetos/o" + digit + ".bmp", encode_bmp24(image));
    write_file(o.game + "/imagens/cursor.bmp", encode_bmp24(data.cursor));
    write_file(o.game + "/imagens/inicio.bmp", encode_bmp24(title));
    for (const auto &[name, tune] : data.tunes)
        write_file(o.game + "/sons/" + name + ".mid", encode_midi(tune));
    write_file(o.game + "/sons/pitlorex.wav",
               encode_wav(synthesise_startup_sound(), STARTUP_RATE));
    write_file(o.game + "/sons/tique.wav", encode_wav(synthesise_tick_sound(), STARTUP_RATE));
}

}  // namespace

int main(int argc, char **argv)
{
    Options o;
    if (!parse_options(argc, argv, o)) {
        std::fprintf(stderr,
                     "usage: databuild --data DIR --game DIR --title-font FONT [--patches CFG]\n"
                     "                 [--sheet PNG --label-font FONT]\n"
                     "       databuild --data DIR --icons DIR\n");
        return 2;
    }
    try {
        GameData data = read_game_data(o.data);
        if (!o.icons.empty())
            write_game_icons(data, o.icons);
        if (o.game.empty() && o.sheet.empty())
            return 0;
        Image title = draw_title_picture(data.title_art, o.title_font);
        if (!o.game.empty()) {
            // Without the patch set the game plays no tunes and goes on; so does the build.
            std::string patch_dir = o.game + "/sons/patches";
            if (!o.patches.empty() && std::filesystem::exists(o.patches)) {
                PatchSet set = lay_out_patch_set(o.patches, patch_dir);
                check_tune_patches(data, set);
            } else {
                std::error_code ignored;
                std::filesystem::remove_all(patch_dir, ignored);
                std::fprintf(stderr, "databuild: no MIDI patch set (%s): the tunes will be silent\n",
                             o.patches.empty() ? "none given" : o.patches.c_str());
            }
            write_game_files(data, title, o);
        }
        if (!o.sheet.empty())
            write_file(o.sheet, encode_png(draw_contact_sheet(data, title, o.label_font)));
    } catch (const BuildError &e) {
        std::fprintf(stderr, "databuild: error: %s\n", e.what());
        return 1;
    }
    return 0;
}
