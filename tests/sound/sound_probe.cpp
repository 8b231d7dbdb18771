// Plays one of the game's tunes or sounds the way the game does, or checks a capture of it.
//
//   sound_probe play FILE SECONDS   run in the game folder; FILE is .mid or .wav
//   sound_probe check CAPTURE       16-bit samples captured from ALSA: is there sound?
#include "platform/process.h"
#include "platform/sound.h"

#include <allegro.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

int play(const char *file, int seconds)
{
    pf_start_library();  // as the game: no allegro.cfg read or written
    if (!pf_use_instruments(MIDI_PATCH_LIST)) {
        std::fprintf(stderr, "no patch set at %s\n", MIDI_PATCH_LIST);
        return 3;
    }
    if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr) != 0) {
        std::fprintf(stderr, "install_sound failed: %s\n", allegro_error);
        return 3;
    }
    install_timer();
    std::printf("digital driver: %s, MIDI driver: %s\n", digi_driver->name, midi_driver->name);
    std::string name = file;
    bool is_midi = name.size() > 4 && name.substr(name.size() - 4) == ".mid";
    MIDI *tune = nullptr;
    SAMPLE *sample = nullptr;
    if (is_midi) {
        if (std::strcmp(midi_driver->name, "DIGMID") != 0) {
            std::fprintf(stderr, "the MIDI driver is not DIGMID: tunes would not use the patches\n");
            return 3;
        }
        tune = load_midi(file);
        if (!tune || play_midi(tune, 0) != 0) {
            std::fprintf(stderr, "%s does not load or play\n", file);
            return 3;
        }
    } else {
        sample = load_sample(file);
        if (!sample || play_sample(sample, 255, 50, 1000, 0) < 0) {
            std::fprintf(stderr, "%s does not load or play\n", file);
            return 3;
        }
    }
    rest(seconds * 1000);
    if (tune) {
        stop_midi();
        destroy_midi(tune);
    }
    if (sample)
        destroy_sample(sample);
    remove_sound();
    return 0;
}

// Silence is one constant value, whatever the sample format; sound spreads around it.
int check(const char *capture)
{
    FILE *f = std::fopen(capture, "rb");
    if (!f) {
        std::fprintf(stderr, "no capture at %s\n", capture);
        return 1;
    }
    std::vector<unsigned char> bytes;
    unsigned char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
    size_t count = bytes.size() / 2;
    if (count < 1000) {
        std::fprintf(stderr, "capture holds only %zu samples\n", count);
        return 1;
    }
    double sum = 0, sum2 = 0;
    size_t away = 0;
    for (size_t i = 0; i < count; i++) {
        int v = bytes[2 * i] | (bytes[2 * i + 1] << 8);
        sum += v;
        sum2 += double(v) * v;
        if (std::abs(v - 0x8000) > 512)
            away++;
    }
    double mean = sum / count;
    double spread = std::sqrt(std::max(0.0, sum2 / count - mean * mean));
    std::printf("%zu samples, spread %.1f, %.1f%% away from silence\n", count, spread,
                100.0 * away / count);
    if (spread < 200 || away < count / 100) {
        std::fprintf(stderr, "the capture is silence\n");
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && std::strcmp(argv[1], "play") == 0)
        return play(argv[2], std::atoi(argv[3]));
    if (argc == 3 && std::strcmp(argv[1], "check") == 0)
        return check(argv[2]);
    std::fprintf(stderr, "usage: sound_probe play FILE SECONDS | sound_probe check CAPTURE\n");
    return 2;
}
END_OF_MAIN()
