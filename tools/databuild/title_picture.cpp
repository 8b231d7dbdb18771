// Drawing of the title picture, by code plus a few pieces of pixel art.
#include "title_picture.h"

#include "build_error.h"
#include "font_text.h"

#include <algorithm>
#include <cmath>

namespace {

// A repeatable pseudo-random value 0..1 for a pixel.
double hash01(int x, int y, int salt = 0)
{
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + uint32_t(salt) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / double(0xFFFFFF);
}

// Smooth value noise 0..1 with cells `scale` pixels wide.
double smooth_noise(double x, double y, double scale, int salt)
{
    double fx = x / scale, fy = y / scale;
    int ix = int(std::floor(fx)), iy = int(std::floor(fy));
    double tx = fx - ix, ty = fy - iy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    double a = hash01(ix, iy, salt), b = hash01(ix + 1, iy, salt);
    double c = hash01(ix, iy + 1, salt), d = hash01(ix + 1, iy + 1, salt);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

Rgb mix(Rgb a, Rgb b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return rgb(int(red_of(a) + (red_of(b) - red_of(a)) * t + 0.5),
               int(green_of(a) + (green_of(b) - green_of(a)) * t + 0.5),
               int(blue_of(a) + (blue_of(b) - blue_of(a)) * t + 0.5));
}

Rgb scale(Rgb c, double f)
{
    return rgb(int(red_of(c) * f + 0.5), int(green_of(c) * f + 0.5), int(blue_of(c) * f + 0.5));
}

// Adds warm light falling off from (cx, cy).
void add_glow(Image &img, double cx, double cy, double radius, Rgb colour, double strength)
{
    for (int y = int(cy - radius); y <= int(cy + radius); y++)
        for (int x = int(cx - radius); x <= int(cx + radius); x++) {
            if (x < 0 || y < 0 || x >= img.width || y >= img.height)
                continue;
            double d = std::hypot(x - cx, y - cy) / radius;
            if (d >= 1)
                continue;
            double f = strength * (1 - d) * (1 - d);
            Rgb o = img.at(x, y);
            img.set(x, y, rgb(int(red_of(o) + red_of(colour) * f), int(green_of(o) + green_of(colour) * f),
                              int(blue_of(o) + blue_of(colour) * f)));
        }
}

void draw_sky(Image &img)
{
    const Rgb top = 0x060818, middle = 0x141634, horizon = 0x3a2446;
    for (int y = 0; y < img.height; y++) {
        double t = y / 250.0;
        Rgb c = t < 0.7 ? mix(top, middle, t / 0.7) : mix(middle, horizon, (t - 0.7) / 0.3);
        for (int x = 0; x < img.width; x++)
            img.set(x, y, c);
    }
    // Stars, fewer towards the horizon.
    for (int y = 0; y < 200; y++)
        for (int x = 0; x < img.width; x++) {
            double h = hash01(x, y, 7);
            if (h > 0.9965 - y * 0.000004) {
                double b = 0.35 + 0.65 * hash01(x, y, 8);
                img.set(x, y, mix(img.at(x, y), 0xFFF6DD, b));
                if (b > 0.93) {  // a few bright ones with a cross
                    blend_pixel(img, x - 1, y, 0xFFF6DD, 0.4);
                    blend_pixel(img, x + 1, y, 0xFFF6DD, 0.4);
                    blend_pixel(img, x, y - 1, 0xFFF6DD, 0.4);
                    blend_pixel(img, x, y + 1, 0xFFF6DD, 0.4);
                }
            }
        }
    // A thin moon, high on the right.
    for (int y = 14; y < 70; y++)
        for (int x = 440; x < 500; x++) {
            double d1 = std::hypot(x - 470.0, y - 42.0), d2 = std::hypot(x - 480.0, y - 36.0);
            if (d1 < 17 && d2 > 15)
                img.set(x, y, mix(0xF4E7B8, 0xCDBF94, (x - 453) / 34.0));
        }
    add_glow(img, 470, 42, 46, 0x2A2A44, 0.5);
}

void draw_mountains(Image &img)
{
    for (int x = 0; x < img.width; x++) {
        double top = 200 - 26 * std::sin(x * 0.013 + 1.2) - 12 * std::sin(x * 0.037 + 0.4) -
                     5 * std::sin(x * 0.11);
        for (int y = int(top); y < img.height; y++) {
            double shade = 0.9 + 0.1 * smooth_noise(x, y, 9, 3);
            img.set(x, y, scale(0x211c36, shade));
        }
    }
}

// The dark cliff behind the menu on the left, and the hill the mine is dug into on the right.
void draw_rock(Image &img)
{
    for (int x = 0; x < img.width; x++) {
        double cliff = 150 + 8 * std::sin(x * 0.09) + 4 * std::sin(x * 0.31) + (x > 230 ? (x - 230) * 1.6 : 0);
        double hill = 255 - (x - 260) * 0.55 + 6 * std::sin(x * 0.07) + 3 * std::sin(x * 0.23);
        double top = std::min(cliff, x >= 260 ? hill : 1e9);
        for (int y = int(top); y < img.height; y++) {
            double depth = y - top;
            double grain = smooth_noise(x, y, 6, 11) * 0.6 + smooth_noise(x, y, 2.5, 12) * 0.4;
            Rgb base = mix(0x1a1418, 0x211a1a, grain);
            if (depth < 3)  // moonlit rim
                base = mix(base, 0x4a3e4c, 0.6 * (1 - depth / 3));
            img.set(x, y, base);
        }
    }
    // Ground in front of the mine: gravel that catches a little light.
    for (int y = 300; y < img.height; y++)
        for (int x = 240; x < img.width; x++) {
            double edge = std::clamp((x - 240) / 60.0, 0.0, 1.0) * std::clamp((y - 300) / 12.0, 0.0, 1.0);
            double g = smooth_noise(x, y, 3, 21);
            Rgb gravel = mix(0x2a2018, 0x3c2e22, g);
            if (hash01(x, y, 22) > 0.985)
                gravel = 0x56463a;
            img.set(x, y, mix(img.at(x, y), gravel, edge));
        }
}

void draw_beam(Image &img, int x0, int y0, int w, int h, bool vertical)
{
    for (int y = y0; y < y0 + h; y++)
        for (int x = x0; x < x0 + w; x++) {
            double across = vertical ? double(x - x0) / (w - 1) : double(y - y0) / (h - 1);
            double along = vertical ? y : x;
            double grain = smooth_noise(vertical ? x * 4.0 : along, vertical ? along : y * 4.0, 7, 31);
            Rgb c = mix(0x5a3a20, 0x8a5e34, grain);
            c = scale(c, 1.15 - 0.55 * across);  // light from the upper left
            if ((vertical ? x - x0 : y - y0) == 0)
                c = mix(c, 0xB88a55, 0.5);
            img.set(x, y, c);
        }
}

void draw_mine_entrance(Image &img)
{
    // The dark mouth, with a rounded top.
    for (int y = 196; y < 300; y++)
        for (int x = 336; x < 426; x++) {
            double dx = (x - 381) / 45.0, dy = (y - 226) / 30.0;
            if (y < 226 && dx * dx + dy * dy > 1)
                continue;
            double depth = std::min({x - 336, 425 - x, y - 196}) / 18.0;
            img.set(x, y, mix(0x120c0a, 0x040303, std::clamp(depth, 0.0, 1.0)));
        }
    draw_beam(img, 324, 200, 13, 102, true);
    draw_beam(img, 425, 200, 13, 102, true);
    draw_beam(img, 314, 186, 134, 15, false);
    // Bolts on the lintel.
    for (int bx : {330, 431})
        for (int dy = 0; dy < 2; dy++)
            for (int dx = 0; dx < 2; dx++)
                img.set(bx + dx, 192 + dy, dx + dy == 0 ? 0xA8A8B0 : 0x3a3a44);
}

void draw_rails(Image &img)
{
    // Perspective: the track narrows from the bottom of the picture to the mouth.
    auto left_rail = [](double y) { return 360 - (y - 296) * 0.55; };
    auto right_rail = [](double y) { return 402 + (y - 296) * 0.85; };
    // Sleepers, closer together towards the mine.
    for (double y = 298, step = 5; y < 384; y += step, step *= 1.22) {
        int h = std::max(2, int(step * 0.45));
        for (int yy = int(y); yy < int(y) + h && yy < 384; yy++) {
            double l = left_rail(yy) - 6 - (yy - 296) * 0.08, r = right_rail(yy) + 6 + (yy - 296) * 0.08;
            for (int x = int(l); x <= int(r); x++) {
                double g = smooth_noise(x, yy * 3, 5, 41);
                Rgb c = mix(0x3e2816, 0x5e3e22, g);
                if (yy == int(y))
                    c = mix(c, 0x8a6238, 0.5);
                img.set(x, yy, c);
            }
        }
    }
    for (int y = 296; y < 384; y++) {
        int width = 1 + (y - 296) / 30;
        for (double rail : {left_rail(y), right_rail(y)}) {
            int x = int(rail);
            for (int k = 0; k < width + 1; k++)
                img.set(x + k, y, k == 0 ? 0xC8CCD8 : 0x6a6e7e);
        }
    }
}

// The box round a mask's ink (coverage over a half).
struct InkBox {
    int min_x, max_x, min_y, max_y;
};

InkBox ink_box(const TextMask &m)
{
    InkBox box{m.width, 0, m.height, 0};
    for (int y = 0; y < m.height; y++)
        for (int x = 0; x < m.width; x++)
            if (m.at(x, y) > 0.5f) {
                box.min_x = std::min(box.min_x, x);
                box.max_x = std::max(box.max_x, x);
                box.min_y = std::min(box.min_y, y);
                box.max_y = std::max(box.max_y, y);
            }
    return box;
}

// The mask grown by `r` pixels: the strongest coverage within that distance of (x, y).
float dilated(const TextMask &m, int x, int y, int r)
{
    float best = 0;
    for (int dy = -r; dy <= r; dy++)
        for (int dx = -r; dx <= r; dx++)
            if (dx * dx + dy * dy <= r * r + 1)
                best = std::max(best, m.at(x + dx, y + dy));
    return best;
}

// The gold at height `t` of the ink (0 top, 1 bottom), given the coverage two pixels above and
// below: a gradient from pale top to deep amber, a band of shine just above the middle as on
// polished metal, and edges facing up catching the light while edges facing down fall into shade.
Rgb gold_at(double t, double up, double down)
{
    Rgb c = t < 0.45 ? mix(0xFFF4B0, 0xF6C83A, t / 0.45)
                     : mix(0xF6C83A, 0xA8620E, (t - 0.45) / 0.55);
    if (t > 0.40 && t < 0.47)
        c = mix(c, 0xFFFBE0, 0.55);
    if (up < 0.4)
        c = mix(c, 0xFFFFF0, 0.7);
    else if (down < 0.4)
        c = mix(c, 0x6a3a08, 0.6);
    return c;
}

// A four-pointed sparkle centred on (sx, sy).
void draw_sparkle(Image &img, int sx, int sy)
{
    for (int k = -6; k <= 6; k++) {
        double f = 1 - std::abs(k) / 7.0;
        blend_pixel(img, sx + k, sy, 0xFFFFFF, f);
        blend_pixel(img, sx, sy + k, 0xFFFFFF, f);
    }
    for (int k = -2; k <= 2; k++) {
        blend_pixel(img, sx + k, sy + k, 0xFFFFFF, 0.5);
        blend_pixel(img, sx + k, sy - k, 0xFFFFFF, 0.5);
    }
}

// The name in gold, centred: drop shadow, outline, the gold itself, sparkles on it.
void draw_name(Image &img, const std::string &font)
{
    TextMask m = render_text(font, 112, "Pitlorex");
    const InkBox ink = ink_box(m);
    int ox = 256 - (ink.min_x + ink.max_x) / 2, oy = 22 - ink.min_y;
    double ink_h = std::max(1, ink.max_y - ink.min_y);
    for (int y = -8; y < m.height + 8; y++)
        for (int x = -8; x < m.width + 8; x++)
            blend_pixel(img, x + ox + 4, y + oy + 6, 0x000000, 0.65 * dilated(m, x, y, 3));
    for (int y = -6; y < m.height + 6; y++)
        for (int x = -6; x < m.width + 6; x++)
            blend_pixel(img, x + ox, y + oy, 0x2a1404, dilated(m, x, y, 3));
    for (int y = 0; y < m.height; y++)
        for (int x = 0; x < m.width; x++) {
            float a = m.at(x, y);
            if (a > 0)
                blend_pixel(img, x + ox, y + oy,
                            gold_at((y - ink.min_y) / ink_h, m.at(x, y - 2), m.at(x, y + 2)), a);
        }
    const int sparks[][2] = {{ink.min_x + 18, ink.min_y + 10},
                             {ink.max_x - 30, ink.min_y + 36},
                             {(ink.min_x + ink.max_x) / 2 + 6, ink.min_y + 4}};
    for (auto &spark : sparks)
        draw_sparkle(img, spark[0] + ox, spark[1] + oy);
}

// The name is a plain string: a std::string made for the call would look, to g++ 14, like the
// key the returned reference dangles from.
const Image &piece(const std::map<std::string, Image> &art, const char *name)
{
    auto found = art.find(name);
    if (found == art.end())
        throw BuildError(std::string("imagens/titulo/") + name + ".art", 0, "missing piece of title art");
    return found->second;
}

// Bayer-dithers every pixel to the 5-6-5 levels the game shows, so gradients stay smooth.
void dither_to_16_bits(Image &img)
{
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    for (int y = 0; y < img.height; y++)
        for (int x = 0; x < img.width; x++) {
            Rgb c = img.at(x, y);
            double d = (bayer[y & 3][x & 3] + 0.5) / 16.0;
            auto level = [d](int v, int bits) {
                int steps = (1 << bits) - 1;
                double s = v / 255.0 * steps;
                int q = std::min(steps, int(std::floor(s + d)));
                return bits == 5 ? (q << 3) | (q >> 2) : (q << 2) | (q >> 4);
            };
            img.set(x, y, rgb(level(red_of(c), 5), level(green_of(c), 6), level(blue_of(c), 5)));
        }
}

}  // namespace

void measure_menu_area(const Image &picture, double &brightest, double &spread)
{
    MenuArea area;
    double sum = 0, sum2 = 0;
    int n = 0;
    brightest = 0;
    for (int y = area.top; y <= area.bottom; y++)
        for (int x = area.left; x <= area.right; x++) {
            Rgb c = picture.at(x, y);
            double l = 0.299 * red_of(c) + 0.587 * green_of(c) + 0.114 * blue_of(c);
            brightest = std::max(brightest, l);
            sum += l;
            sum2 += l * l;
            n++;
        }
    double mean = sum / n;
    spread = std::sqrt(std::max(0.0, sum2 / n - mean * mean));
}

Image draw_title_picture(const std::map<std::string, Image> &art, const std::string &name_font)
{
    Image img(TITLE_WIDTH, TITLE_HEIGHT);
    draw_sky(img);
    draw_mountains(img);
    draw_rock(img);
    draw_mine_entrance(img);
    draw_rails(img);

    const Image &lantern = piece(art, "lantern");
    const Image &cart = piece(art, "cart");
    const Image &miner = piece(art, "miner");
    const Image &pick = piece(art, "pick");
    // Lamp light on the frame and the ground first, then what stands in it.
    add_glow(img, 318, 228, 90, 0x6a3c10, 0.55);
    add_glow(img, 478, 262, 70, 0x5a4a20, 0.45);
    draw_sprite(img, lantern, 306, 201, 3);
    draw_sprite(img, pick, 292, 262, 3);
    draw_sprite(img, cart, 333, 250, 3);
    draw_sprite(img, miner, 440, 258, 3);
    add_glow(img, 318, 232, 16, 0xFFC060, 0.5);

    draw_name(img, name_font);

    // Darken the corners a little to hold the eye on the middle.
    for (int y = 0; y < img.height; y++)
        for (int x = 0; x < img.width; x++) {
            double dx = (x - 256) / 300.0, dy = (y - 192) / 240.0;
            double v = std::clamp(1.15 - 0.5 * (dx * dx + dy * dy), 0.0, 1.0);
            img.set(x, y, scale(img.at(x, y), v));
        }
    dither_to_16_bits(img);

    double brightest = 0, spread = 0;
    measure_menu_area(img, brightest, spread);
    if (brightest > 90 || spread > 12)
        throw BuildError("imagens/inicio.bmp", 0,
                         "the menu area x 90..220, y 180..355 is too bright or busy (brightest " +
                             std::to_string(int(brightest)) + ", spread " +
                             std::to_string(int(spread)) + "): the menu words would not read");
    return img;
}
