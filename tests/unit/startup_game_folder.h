// A throw-away game folder for the start-up and menu tests: made in the temporary directory
// with the files the title needs, entered for the test's lifetime, then removed.
#pragma once

#include "font_test_font.h"

#include <allegro.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

// The title picture's one colour.
inline int picture_colour() { return makecol(0, 64, 96); }

class GameFolder {
public:
    // `with_files` false leaves the folder empty: every load of the game then fails.
    explicit GameFolder(bool with_files = true)
    {
        previous_ = fs::current_path();
        char name[] = "/tmp/pitlorex-game-XXXXXX";
        root_ = mkdtemp(name);
        fs::current_path(root_);
        if (!with_files)
            return;
        fs::create_directories("imagens");
        fs::create_directories("sons");
        fs::create_directories("fontes");
        BITMAP *picture = create_bitmap(512, 384);
        clear_to_color(picture, picture_colour());
        save_bitmap("imagens/inicio.bmp", picture, nullptr);
        destroy_bitmap(picture);
        BITMAP *pointer = create_bitmap(8, 8);
        clear_to_color(pointer, makecol(255, 255, 0));
        save_bitmap("imagens/cursor.bmp", pointer, nullptr);
        destroy_bitmap(pointer);
        if (const char *typeface = test_font_path())
            fs::create_symlink(typeface, "fontes/flame.ttf");
        write_tune("sons/inicio.mid");
        write_sound("sons/pitlorex.wav");
    }
    ~GameFolder()
    {
        fs::current_path(previous_);
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    // A MIDI file of one empty track.
    static void write_tune(const char *path)
    {
        static const unsigned char tune[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,
                                             'M', 'T', 'r', 'k', 0, 0, 0, 4, 0, 0xFF, 0x2F, 0};
        write_bytes(path, tune, sizeof tune);
    }

    // A WAV file of 64 silent 8-bit samples.
    static void write_sound(const char *path)
    {
        unsigned char wav[44 + 64] = {'R', 'I', 'F', 'F', 36 + 64, 0, 0, 0, 'W', 'A', 'V', 'E',
                                      'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 1, 0,
                                      0x11, 0x2B, 0, 0, 0x11, 0x2B, 0, 0, 1, 0, 8, 0,
                                      'd', 'a', 't', 'a', 64, 0, 0, 0};
        for (int i = 44; i < 44 + 64; i++)
            wav[i] = 128;
        write_bytes(path, wav, sizeof wav);
    }

    static void write_bytes(const char *path, const unsigned char *bytes, size_t size)
    {
        FILE *f = fopen(path, "wb");
        if (f) {
            fwrite(bytes, 1, size, f);
            fclose(f);
        }
    }

private:
    fs::path previous_, root_;
};
