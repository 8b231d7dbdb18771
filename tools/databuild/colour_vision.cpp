// Simulated colour vision deficiencies and CIELAB differences, for checking the art.
#include "colour_vision.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace {

// Machado, Oliveira and Fernandes (2009), severity 1.0, on linear RGB; rows give R, G, B.
constexpr double MATRICES[3][3][3] = {
    {{0.367322, 0.860646, -0.227968},  // deuteranopia
     {0.280085, 0.672501, 0.047413},
     {-0.011820, 0.042940, 0.968881}},
    {{0.152286, 1.052583, -0.204868},  // protanopia
     {0.114503, 0.786281, 0.099216},
     {-0.003882, -0.048116, 1.051998}},
    {{1.255528, -0.076749, -0.178779},  // tritanopia
     {-0.078411, 0.930809, 0.147602},
     {0.004733, 0.691367, 0.303900}},
};

// sRGB's transfer curve, both ways, on 0..1.
double decode_srgb(int v)
{
    double s = v / 255.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
}

int encode_srgb(double linear)
{
    double l = std::clamp(linear, 0.0, 1.0);
    double s = l <= 0.0031308 ? 12.92 * l : 1.055 * std::pow(l, 1 / 2.4) - 0.055;
    return int(std::lround(s * 255));
}

// CIELAB's companding of a ratio to the white point.
double lab_f(double t)
{
    constexpr double e = 216.0 / 24389.0, k = 24389.0 / 27.0;
    return t > e ? std::cbrt(t) : (k * t + 16) / 116;
}

}  // namespace

const char *deficiency_name(Deficiency d)
{
    static const char *const NAMES[] = {"deuteranopia", "protanopia", "tritanopia"};
    return NAMES[d];
}

Rgb as_seen(Rgb c, Deficiency d)
{
    assert(d >= DEUTERANOPIA && d <= TRITANOPIA);
    const double in[3] = {decode_srgb(red_of(c)), decode_srgb(green_of(c)),
                          decode_srgb(blue_of(c))};
    int out[3];
    for (int row = 0; row < 3; row++) {
        const double *m = MATRICES[d][row];
        out[row] = encode_srgb(m[0] * in[0] + m[1] * in[1] + m[2] * in[2]);
    }
    return rgb(out[0], out[1], out[2]);
}

Lab lab_of(Rgb c)
{
    const double r = decode_srgb(red_of(c)), g = decode_srgb(green_of(c)),
                 b = decode_srgb(blue_of(c));
    // sRGB to XYZ, each divided by D65's white.
    const double x = (0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / 0.95047;
    const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
    const double z = (0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / 1.08883;
    const double fx = lab_f(x), fy = lab_f(y), fz = lab_f(z);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

double delta_e(Lab x, Lab y)
{
    return std::sqrt((x.l - y.l) * (x.l - y.l) + (x.a - y.a) * (x.a - y.a) +
                     (x.b - y.b) * (x.b - y.b));
}

int pixels_told_apart(const Image &x, const Image &y, Deficiency d)
{
    assert(x.width == y.width && x.height == y.height);
    int n = 0;
    for (size_t i = 0; i < x.pixels.size(); i++) {
        const Rgb p = x.pixels[i], q = y.pixels[i];
        if ((p == PINK) != (q == PINK)) {
            n++;
        } else if (p != PINK) {
            Lab a = lab_of(as_seen(as_shown_at_16_bits(p), d));
            Lab b = lab_of(as_seen(as_shown_at_16_bits(q), d));
            n += delta_e(a, b) > TOLD_APART_DELTA_E;
        }
    }
    return n;
}

Image image_as_seen(const Image &image, Deficiency d)
{
    Image out = image;
    for (Rgb &c : out.pixels)
        if (c != PINK)
            c = as_seen(c, d);
    return out;
}
