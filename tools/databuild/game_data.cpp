// Reading and checking all the builder's sources.
#include "game_data.h"

#include "build_error.h"
#include "patch_set.h"
#include "pixel_art.h"

const std::vector<std::string> TUNE_NAMES = {"inicio", "area1", "area2", "area3", "area4", "area5"};

const std::vector<std::string> TITLE_ART_NAMES = {"miner", "cart", "lantern", "pick"};

namespace {

bool has_pink(const Image &image)
{
    for (Rgb c : image.pixels)
        if (c == PINK)
            return true;
    return false;
}

// Floors, walls and barriers cover their cell whole; overlays, baskets and objects let what
// lies beneath show through pink.
void check_role(char letter, const Image &image, const std::string &path)
{
    bool see_through = letter == 'D' || letter == 'H' || letter == 'L' || letter == 'P' ||
                       letter == 'T' || letter == 'Y' || letter == 'Z' ||
                       (letter >= '1' && letter <= '8');
    if (see_through && !has_pink(image))
        throw BuildError(path, 0, "needs pink (#ff00ff) where what lies beneath shows");
    if (!see_through && has_pink(image))
        throw BuildError(path, 0, "must cover its whole cell: no pink allowed");
}

}  // namespace

GameData read_game_data(const std::string &data_dir)
{
    GameData data;
    for (char c = 'A'; c <= 'Z'; c++) {
        std::string path = data_dir + "/tiles/t" + c + ".art";
        data.tiles[c] = read_pixel_art(path, 16, 16);
        check_role(c, data.tiles[c], path);
    }
    for (char c = '1'; c <= '8'; c++) {
        std::string path = data_dir + "/objetos/o" + c + ".art";
        data.objects[c] = read_pixel_art(path, 16, 16);
        check_role(c, data.objects[c], path);
    }
    std::string cursor_path = data_dir + "/imagens/cursor.art";
    data.cursor = read_pixel_art(cursor_path);
    if (data.cursor.width > 32 || data.cursor.height > 32 || !has_pink(data.cursor))
        throw BuildError(cursor_path, 0, "a pointer is at most 32 x 32, pink around it");
    for (const auto &name : TITLE_ART_NAMES)
        data.title_art[name] = read_pixel_art(data_dir + "/imagens/titulo/" + name + ".art");
    for (const auto &name : TUNE_NAMES) {
        Tune tune = read_tune(data_dir + "/sons/" + name + ".tune");
        bool wants_loop = name != "inicio";
        if (tune.loop != wants_loop)
            throw BuildError(tune.name, 0,
                             wants_loop ? "an area tune plays looped: add a 'loop' line"
                                        : "the title tune plays once: no 'loop' line");
        data.tunes[name] = tune;
    }
    return data;
}

void check_tune_patches(const GameData &data, const PatchSet &patches)
{
    for (const auto &[name, tune] : data.tunes)
        for (const auto &part : tune.parts) {
            if (part.channel != 9 && !patches.programs.count(part.program))
                throw BuildError(tune.name, part.line,
                                 program_name(part.program) + " has no patch in the patch set");
            if (part.channel == 9)
                for (const auto &note : part.notes)
                    if (!patches.drums.count(note.key))
                        throw BuildError(tune.name, note.line,
                                         "drum key " + std::to_string(note.key) +
                                             " has no patch in the patch set");
        }
}
