// The start-up sound: a pick striking rock, then a sparkle of gold; and the countdown's tick.
// Synthesised, not recorded.
#pragma once

#include "output_file.h"

#include <vector>

constexpr int STARTUP_RATE = 22050;

// The sound as signed 16-bit mono samples at STARTUP_RATE, about 1.5 seconds long.
std::vector<int16_t> synthesise_startup_sound();

// The tick of a level's last ten seconds: a short, dry knock on metal, 120 ms long, at
// STARTUP_RATE.
std::vector<int16_t> synthesise_tick_sound();

// A PCM WAV file (RIFF, format 1, 16-bit mono) holding `samples` at `rate`.
Bytes encode_wav(const std::vector<int16_t> &samples, int rate);
