// Reading the program's captured sound and finding the stretches where something plays.
#include "e2e_rig.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

static constexpr size_t FRAME_BYTES = 2 * E2E_AUDIO_CHANNELS;
static constexpr size_t BLOCK_FRAMES = E2E_AUDIO_RATE / 100;  // 10 ms

size_t e2e_audio_mark(const E2eSession &s)
{
    struct stat st;
    if (stat(s.capture_path.c_str(), &st) != 0)
        return 0;  // nothing played yet: ALSA makes the file on the first write
    return (size_t)st.st_size / FRAME_BYTES;
}

double e2e_frames_to_ms(size_t frames)
{
    return frames * 1000.0 / E2E_AUDIO_RATE;
}

// Largest distance from silence over frames [from, from + count) of the open capture.
static int block_peak(FILE *capture, size_t from, size_t count)
{
    static uint8_t bytes[BLOCK_FRAMES * FRAME_BYTES];
    if (fseek(capture, (long)(from * FRAME_BYTES), SEEK_SET) != 0)
        return 0;
    size_t got = fread(bytes, 1, count * FRAME_BYTES, capture) / 2;
    int peak = 0;
    for (size_t i = 0; i < got; i++) {
        int sample = bytes[2 * i] | bytes[2 * i + 1] << 8;
        peak = std::max(peak, std::abs(sample - 0x8000));
    }
    return peak;
}

std::vector<SoundStretch> e2e_sound_stretches(const E2eSession &s, size_t from, size_t to,
                                              int threshold, int min_gap_ms)
{
    std::vector<SoundStretch> stretches;
    to = std::min(to, e2e_audio_mark(s));
    FILE *capture = fopen(s.capture_path.c_str(), "rb");
    if (!capture)
        return stretches;
    size_t max_gap = (size_t)min_gap_ms * E2E_AUDIO_RATE / 1000;
    for (size_t block = from; block < to; block += BLOCK_FRAMES) {
        size_t count = std::min(BLOCK_FRAMES, to - block);
        int peak = block_peak(capture, block, count);
        if (peak <= threshold)
            continue;
        if (!stretches.empty() && block - stretches.back().end_frame < max_gap) {
            stretches.back().end_frame = block + count;
            stretches.back().peak = std::max(stretches.back().peak, peak);
        } else {
            stretches.push_back(SoundStretch{block, block + count, peak});
        }
    }
    fclose(capture);
    return stretches;
}
