// Text rendered with FreeType into a coverage mask, for the title name and the sheet's preview.
#pragma once

#include <string>
#include <vector>

struct TextMask {
    int width = 0;
    int height = 0;
    std::vector<float> coverage;  // 0..1, row by row
    int baseline = 0;             // row of the baseline
    float at(int x, int y) const
    {
        return (x < 0 || y < 0 || x >= width || y >= height) ? 0.f
                                                              : coverage[size_t(y) * width + x];
    }
};

// Renders `text` in the font at `font_path`, FT_Set_Pixel_Sizes(0, pixel_size), with the
// top of the mask at the font's ascender (as our font layer places text). Throws BuildError
// when the font does not load.
TextMask render_text(const std::string &font_path, int pixel_size, const std::string &text);
