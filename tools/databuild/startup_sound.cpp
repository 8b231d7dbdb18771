// Additive synthesis of the start-up sound and the WAV writer.
#include "startup_sound.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr double PI = 3.14159265358979323846;

// A struck metal bar: inharmonic partials that die away at different speeds.
void add_strike(std::vector<double> &out, double at, double base, double gain)
{
    static const double ratio[] = {1.0, 2.76, 5.40, 8.93};
    static const double decay[] = {9.0, 14.0, 22.0, 30.0};
    static const double level[] = {1.0, 0.55, 0.30, 0.18};
    size_t start = size_t(at * STARTUP_RATE);
    for (size_t i = start; i < out.size(); i++) {
        double t = double(i - start) / STARTUP_RATE;
        double v = 0;
        for (int k = 0; k < 4; k++)
            v += level[k] * std::exp(-decay[k] * t) * std::sin(2 * PI * base * ratio[k] * t);
        out[i] += gain * v;
    }
}

// A short burst of noise for the grit of the rock, from a fixed seed.
void add_grit(std::vector<double> &out, double at, double gain)
{
    uint32_t seed = 0x2545F491u;
    size_t start = size_t(at * STARTUP_RATE);
    double low = 0;
    for (size_t i = start; i < out.size() && i < start + STARTUP_RATE / 8; i++) {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        double noise = double(seed) / 4294967295.0 * 2 - 1;
        low += 0.35 * (noise - low);  // soften the hiss
        double t = double(i - start) / STARTUP_RATE;
        out[i] += gain * low * std::exp(-40 * t);
    }
}

// A bell-like tone: a sine with a little shimmer and a soft attack.
void add_bell(std::vector<double> &out, double at, double freq, double length, double gain)
{
    size_t start = size_t(at * STARTUP_RATE);
    size_t end = std::min(out.size(), start + size_t(length * STARTUP_RATE));
    for (size_t i = start; i < end; i++) {
        double t = double(i - start) / STARTUP_RATE;
        double attack = std::min(1.0, t / 0.004);
        double tail = std::min(1.0, double(end - i) / (0.02 * STARTUP_RATE));
        double env = attack * tail * std::exp(-4.5 * t);
        double v = std::sin(2 * PI * freq * t) + 0.35 * std::sin(2 * PI * freq * 2.0 * t) * std::exp(-6 * t) +
                   0.12 * std::sin(2 * PI * freq * 3.01 * t);
        out[i] += gain * env * v;
    }
}

// The mix scaled to 85 % of full scale at its peak, its last `fade_s` seconds faded out.
std::vector<int16_t> normalised(const std::vector<double> &mix, double fade_s)
{
    double peak = 0;
    for (double v : mix)
        peak = std::max(peak, std::fabs(v));
    std::vector<int16_t> samples;
    samples.reserve(mix.size());
    for (size_t i = 0; i < mix.size(); i++) {
        double fade = std::min(1.0, double(mix.size() - i) / (fade_s * STARTUP_RATE));
        samples.push_back(int16_t(std::lround(mix[i] / peak * 0.85 * fade * 32767)));
    }
    return samples;
}

}  // namespace

std::vector<int16_t> synthesise_tick_sound()
{
    // High and short, so that it marks the second without covering the tune.
    std::vector<double> mix(size_t(0.12 * STARTUP_RATE), 0.0);
    add_strike(mix, 0.0, 1760, 1.0);
    add_grit(mix, 0.0, 0.4);
    return normalised(mix, 0.02);
}

std::vector<int16_t> synthesise_startup_sound()
{
    std::vector<double> mix(size_t(1.5 * STARTUP_RATE), 0.0);
    add_strike(mix, 0.00, 880, 0.7);
    add_grit(mix, 0.00, 0.5);
    add_strike(mix, 0.22, 990, 0.5);
    add_grit(mix, 0.22, 0.35);
    // The gold answers: a rising major arpeggio, C6 E6 G6 C7, then a high sparkle.
    const double notes[] = {1046.5, 1318.5, 1568.0, 2093.0};
    for (int k = 0; k < 4; k++)
        add_bell(mix, 0.45 + 0.09 * k, notes[k], 1.5 - 0.45 - 0.09 * k, 0.33);
    add_bell(mix, 0.86, 2637.0, 0.62, 0.15);

    return normalised(mix, 0.05);
}

Bytes encode_wav(const std::vector<int16_t> &samples, int rate)
{
    uint32_t data_size = uint32_t(samples.size() * 2);
    Bytes out = {'R', 'I', 'F', 'F'};
    put_le32(out, 36 + data_size);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put_le32(out, 16);
    put_le16(out, 1);  // PCM
    put_le16(out, 1);  // mono
    put_le32(out, uint32_t(rate));
    put_le32(out, uint32_t(rate * 2));
    put_le16(out, 2);
    put_le16(out, 16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put_le32(out, data_size);
    for (int16_t s : samples)
        put_le16(out, uint16_t(s));
    return out;
}
