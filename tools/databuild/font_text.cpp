// FreeType rendering of one line of text.
#include "font_text.h"

#include "build_error.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>

TextMask render_text(const std::string &font_path, int pixel_size, const std::string &text)
{
    FT_Library raw_lib = nullptr;
    if (FT_Init_FreeType(&raw_lib))
        throw BuildError(font_path, 0, "FreeType does not start");
    std::unique_ptr<FT_LibraryRec_, decltype(&FT_Done_FreeType)> lib(raw_lib, FT_Done_FreeType);
    FT_Face raw_face = nullptr;
    if (FT_New_Face(lib.get(), font_path.c_str(), 0, &raw_face))
        throw BuildError(font_path, 0, "not a font FreeType can load");
    std::unique_ptr<FT_FaceRec_, decltype(&FT_Done_Face)> face(raw_face, FT_Done_Face);
    FT_Set_Pixel_Sizes(face.get(), 0, FT_UInt(pixel_size));

    int ascender = int(face->size->metrics.ascender >> 6);
    int descender = int(-(face->size->metrics.descender >> 6));
    int width = 0;
    for (char c : text) {
        FT_Load_Char(face.get(), FT_ULong(static_cast<unsigned char>(c)), FT_LOAD_DEFAULT);
        width += int(face->glyph->advance.x >> 6);
    }
    TextMask mask;
    mask.width = width + pixel_size / 4;
    mask.height = ascender + descender + 2;
    mask.baseline = ascender;
    mask.coverage.assign(size_t(mask.width) * mask.height, 0.f);
    int pen = 0;
    for (char c : text) {
        if (FT_Load_Char(face.get(), FT_ULong(static_cast<unsigned char>(c)), FT_LOAD_RENDER))
            continue;
        FT_GlyphSlot g = face->glyph;
        for (unsigned row = 0; row < g->bitmap.rows; row++)
            for (unsigned col = 0; col < g->bitmap.width; col++) {
                int x = pen + g->bitmap_left + int(col);
                int y = ascender - g->bitmap_top + int(row);
                if (x < 0 || y < 0 || x >= mask.width || y >= mask.height)
                    continue;
                float v = g->bitmap.buffer[row * unsigned(g->bitmap.pitch) + col] / 255.f;
                float &cell = mask.coverage[size_t(y) * mask.width + x];
                cell = std::max(cell, v);
            }
        pen += int(g->advance.x >> 6);
    }
    return mask;
}
