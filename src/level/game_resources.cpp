// Loading and freeing the game's back buffer, tile and object pictures, area tunes and tick.
#include "level/game_resources.h"

#include "level/picture_header.h"
#include "platform/sound.h"
#include "platform/window.h"

BITMAP *back_buffer = nullptr;
BITMAP *tile_bitmaps[26] = {};
BITMAP *object_bitmaps[8] = {};
MIDI *area_music[5] = {};
SAMPLE *tick_sample = nullptr;

namespace {

// Every tile and object picture fills one cell.
constexpr int CELL_PICTURE_SIZE = 16;

// One complete set, gathered before it replaces the current one.
struct ResourceSet {
    BITMAP *buffer = nullptr;
    BITMAP *tiles[26] = {};
    BITMAP *objects[8] = {};
    MIDI *tunes[5] = {};
    SAMPLE *tick = nullptr;
};

void free_set(ResourceSet &set)
{
    if (set.buffer)
        destroy_bitmap(set.buffer);
    set.buffer = nullptr;
    for (BITMAP *&tile : set.tiles) {
        if (tile)
            destroy_bitmap(tile);
        tile = nullptr;
    }
    for (BITMAP *&object : set.objects) {
        if (object)
            destroy_bitmap(object);
        object = nullptr;
    }
    for (MIDI *&tune : set.tunes) {
        pf_free_tune(tune);  // stops it first if it is the one playing
        tune = nullptr;
    }
    pf_free_sample(set.tick);
    set.tick = nullptr;
}

ResourceSet take_current()
{
    ResourceSet set;
    set.buffer = back_buffer;
    back_buffer = nullptr;
    for (int i = 0; i < 26; i++) {
        set.tiles[i] = tile_bitmaps[i];
        tile_bitmaps[i] = nullptr;
    }
    for (int i = 0; i < 8; i++) {
        set.objects[i] = object_bitmaps[i];
        object_bitmaps[i] = nullptr;
    }
    for (int i = 0; i < 5; i++) {
        set.tunes[i] = area_music[i];
        area_music[i] = nullptr;
    }
    set.tick = tick_sample;
    tick_sample = nullptr;
    return set;
}

void make_current(const ResourceSet &set)
{
    back_buffer = set.buffer;
    for (int i = 0; i < 26; i++)
        tile_bitmaps[i] = set.tiles[i];
    for (int i = 0; i < 8; i++)
        object_bitmaps[i] = set.objects[i];
    for (int i = 0; i < 5; i++)
        area_music[i] = set.tunes[i];
    tick_sample = set.tick;
}

std::string in_dir(const std::string &dir, const std::string &name)
{
    return dir.empty() ? name : dir + "/" + name;
}

// Loads `count` pictures named prefix + character + ".bmp", the characters counting up from
// `first`, into `slots`. The name of the first that does not load, or "" when all did.
std::string load_pictures(const std::string &dir, const char *prefix, char first, int count,
                          BITMAP **slots)
{
    for (int i = 0; i < count; i++) {
        std::string name = prefix + std::string(1, char(first + i)) + ".bmp";
        std::string path = in_dir(dir, name);
        // A picture of another size would be drawn over its neighbours, and one that claims
        // a huge size would take memory and seconds to load: such a file counts as missing.
        if (bmp_has_size(path.c_str(), CELL_PICTURE_SIZE, CELL_PICTURE_SIZE))
            slots[i] = load_bitmap(path.c_str(), nullptr);
        if (!slots[i])
            return name;
    }
    return "";
}

}  // namespace

std::string try_load_game_resources(const std::string &dir)
{
    ResourceSet fresh;
    fresh.buffer = create_bitmap(WINDOW_WIDTH, WINDOW_HEIGHT);
    if (!fresh.buffer)
        return "back_buffer (512 x 384)";
    std::string missing = load_pictures(dir, "tiles/t", 'A', 26, fresh.tiles);
    if (missing.empty())
        missing = load_pictures(dir, "objetos/o", '1', 8, fresh.objects);
    if (!missing.empty()) {
        free_set(fresh);
        return missing;
    }
    for (int i = 0; i < 5; i++) {
        std::string name = std::string("sons/area") + static_cast<char>('1' + i) + ".mid";
        fresh.tunes[i] = load_midi(in_dir(dir, name).c_str());
    }
    fresh.tick = load_sample(in_dir(dir, "sons/tique.wav").c_str());
    ResourceSet old = take_current();
    free_set(old);
    make_current(fresh);
    return "";
}

std::string load_game_resources() { return try_load_game_resources(""); }

void release_area_music()
{
    for (MIDI *&tune : area_music) {
        pf_free_tune(tune);
        tune = nullptr;
    }
}

void release_game_resources()
{
    ResourceSet current = take_current();
    free_set(current);
}
