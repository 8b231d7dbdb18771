// The font engine on FreeType: start and stop, loading fonts, sizes and the glyph cache.
#include "font/alfont_extra.h"
#include "font/font_face.h"

#include <cstdio>
#include <memory>

namespace {

// Pixel size of a font until alfont_set_font_size says otherwise.
constexpr int DEFAULT_SIZE = 8;
// Larger sizes are refused: one glyph would take megabytes and the window is 384 pixels high.
constexpr int MAX_SIZE = 1000;

struct FontDeleter {
    void operator()(ALFONT_FONT *typeface) const
    {
        if (typeface->face)
            FT_Done_Face(typeface->face);
        delete typeface;
    }
};

FT_Library library = nullptr;
// Every font handed out, so that alfont_exit frees them all.
std::vector<std::unique_ptr<ALFONT_FONT, FontDeleter>> fonts;
long rasterised = 0;

// Copies FreeType's rendered bitmap into a glyph, as 8-bit coverage.
void copy_coverage(const FT_Bitmap &bitmap, GlyphImage &glyph)
{
    glyph.width = (int)bitmap.width;
    glyph.rows = (int)bitmap.rows;
    glyph.coverage.assign((size_t)glyph.width * glyph.rows, 0);
    int grays = bitmap.num_grays > 1 ? bitmap.num_grays - 1 : 255;
    for (int y = 0; y < glyph.rows; y++) {
        const unsigned char *row = bitmap.buffer + (long)y * bitmap.pitch;
        unsigned char *out = &glyph.coverage[(size_t)y * glyph.width];
        for (int x = 0; x < glyph.width; x++) {
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
                out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
            else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY)
                out[x] = (unsigned char)(row[x] * 255 / grays);
        }
    }
}

}  // namespace

int alfont_init()
{
    if (library)
        return 0;
    if (FT_Init_FreeType(&library) != 0) {
        library = nullptr;
        return 1;
    }
    return 0;
}

ALFONT_FONT *alfont_load_font(const char *path)
{
    fonts.emplace_back(new ALFONT_FONT);
    ALFONT_FONT *typeface = fonts.back().get();
    typeface->size = DEFAULT_SIZE;
    FT_Error error = library ? FT_New_Face(library, path, 0, &typeface->face) : 1;
    if (error != 0) {
        typeface->face = nullptr;
        fprintf(stderr, "Font \"%s\" could not be loaded (FreeType error %d); its text stays blank.\n",
                path ? path : "", (int)error);
        return typeface;
    }
    FT_Set_Pixel_Sizes(typeface->face, 0, DEFAULT_SIZE);
    return typeface;
}

int alfont_set_font_size(ALFONT_FONT *typeface, int size)
{
    if (!typeface || size <= 0 || size > MAX_SIZE)
        return -1;
    if (!typeface->face) {
        typeface->size = size;
        return -1;
    }
    if (FT_Set_Pixel_Sizes(typeface->face, 0, (FT_UInt)size) != 0) {
        FT_Set_Pixel_Sizes(typeface->face, 0, (FT_UInt)typeface->size);
        return -1;
    }
    typeface->size = size;
    return 0;
}

void alfont_destroy_font(ALFONT_FONT *typeface)
{
    for (auto it = fonts.begin(); it != fonts.end(); ++it) {
        if (it->get() == typeface) {
            fonts.erase(it);
            return;
        }
    }
}

void alfont_exit()
{
    fonts.clear();  // faces first: they belong to the library
    if (library)
        FT_Done_FreeType(library);
    library = nullptr;
}

long alfont_rasterised_glyphs() { return rasterised; }

int alfont_font_count() { return (int)fonts.size(); }

const GlyphImage *font_glyph(ALFONT_FONT *typeface, FT_UInt index)
{
    auto glyph_key = std::make_pair(typeface->size, index);
    auto found = typeface->glyphs.find(glyph_key);
    if (found != typeface->glyphs.end())
        return &found->second;

    FT_GlyphSlot slot = typeface->face->glyph;
    if (FT_Load_Glyph(typeface->face, index, FT_LOAD_DEFAULT) != 0 ||
        FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        return nullptr;
    rasterised++;
    GlyphImage &glyph = typeface->glyphs[glyph_key];
    copy_coverage(slot->bitmap, glyph);
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.advance = slot->advance.x;
    return &glyph;
}

const CharGlyph &font_char(ALFONT_FONT *typeface, unsigned char c)
{
    if (typeface->chars_size != typeface->size) {
        for (CharGlyph &entry : typeface->chars)
            entry = CharGlyph{};
        typeface->chars_size = typeface->size;
    }
    CharGlyph &entry = typeface->chars[c];
    if (!entry.known) {
        entry.index = FT_Get_Char_Index(typeface->face, c);
        entry.glyph = font_glyph(typeface, entry.index);
        // A glyph FreeType cannot render is asked again next time, as before the cache.
        entry.known = entry.glyph != nullptr;
    }
    return entry;
}

long font_kerning(ALFONT_FONT *typeface, FT_UInt left, FT_UInt right)
{
    FT_Vector delta{0, 0};
    if (left == 0 || right == 0 || !FT_HAS_KERNING(typeface->face) ||
        FT_Get_Kerning(typeface->face, left, right, FT_KERNING_DEFAULT, &delta) != 0)
        return 0;
    return delta.x;
}

int font_ascent(const ALFONT_FONT *typeface)
{
    return typeface->face ? (int)((typeface->face->size->metrics.ascender + 63) >> 6) : 0;
}

int font_line_height(const ALFONT_FONT *typeface)
{
    if (!typeface->face)
        return 0;
    const FT_Size_Metrics &m = typeface->face->size->metrics;
    return (int)((m.ascender - m.descender + 63) >> 6);
}
