// The list of everything the builder makes, and the reading of its sources.
#pragma once

#include "image.h"
#include "tune.h"

#include <map>
#include <string>
#include <vector>

// Every source read and checked, ready to be written.
struct GameData {
    std::map<char, Image> tiles;    // 'A'..'Z'
    std::map<char, Image> objects;  // '1'..'8'
    Image cursor;
    std::map<std::string, Image> title_art;  // data/imagens/titulo/<name>.art by name
    std::map<std::string, Tune> tunes;       // "inicio", "area1".."area5"
};

// The tune names, in the order the game uses them.
extern const std::vector<std::string> TUNE_NAMES;

// The pieces of art the title picture is drawn from.
extern const std::vector<std::string> TITLE_ART_NAMES;

// Reads every source below `data_dir` and checks it: sizes, palettes, notes, and the roles of
// the tiles (floors, walls and barriers opaque; overlays, baskets and objects with pink where
// what lies beneath shows). Throws BuildError on the first fault.
GameData read_game_data(const std::string &data_dir);

// Checks that every program and drum the tunes use has a patch; throws BuildError naming the
// tune's line otherwise.
struct PatchSet;
void check_tune_patches(const GameData &data, const PatchSet &patches);
