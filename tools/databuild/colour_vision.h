// Pictures as players without full colour vision see them, and how far apart two pictures look.
#pragma once

#include "image.h"

// The three dichromacies, each as a full loss of one kind of cone.
enum Deficiency { DEUTERANOPIA, PROTANOPIA, TRITANOPIA };
constexpr Deficiency DEFICIENCIES[] = {DEUTERANOPIA, PROTANOPIA, TRITANOPIA};

// The deficiency's name in English, for messages and labels.
const char *deficiency_name(Deficiency d);

// The colour `c` as it looks with `d`: Machado, Oliveira and Fernandes's (2009) matrix at full
// severity applied to the linear RGB of `c`, clamped, and coded back to sRGB.
Rgb as_seen(Rgb c, Deficiency d);

// A colour in CIELAB, white point D65.
struct Lab {
    double l, a, b;
};
Lab lab_of(Rgb c);

// CIE76 colour difference: the straight distance in CIELAB.
double delta_e(Lab x, Lab y);

// Two colours further apart than this read as different at a glance.
constexpr double TOLD_APART_DELTA_E = 20.0;

// The number of pixels where two pictures of the same size differ for a player with `d`,
// each picture in the colours the game shows at 16 bits: pixels where one is pink (see-through)
// and the other is not, and pixels whose colours as seen are more than TOLD_APART_DELTA_E apart.
int pixels_told_apart(const Image &x, const Image &y, Deficiency d);

// `image` as seen with `d`, pink (see-through) left as it is.
Image image_as_seen(const Image &image, Deficiency d);
