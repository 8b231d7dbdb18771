// Outline fonts drawn anti-aliased onto Allegro bitmaps, on FreeType.
#pragma once

#include <allegro.h>

struct ALFONT_FONT;  // opaque; valid until alfont_exit

// Starts the font engine. Returns 1 on failure, any other value when ready.
int alfont_init();

// Loads an outline font file. Never NULL: a file that does not load gives a handle that draws
// nothing.
ALFONT_FONT *alfont_load_font(const char *path);

// Sets the pixel size of later text drawn with `font`. Returns 0 on success.
int alfont_set_font_size(ALFONT_FONT *font, int size);

// Draws `text` with its top-left corner at (x, y), anti-aliased in `colour` (a pixel value of
// the bitmap's format); `background` -1 leaves the pixels around the glyphs untouched,
// any other value fills the text's box first. Clipped to the bitmap's clipping rectangle.
void alfont_textout_aa_ex(BITMAP *bmp, ALFONT_FONT *font, const char *text, int x, int y,
                          int colour, int background);

// Frees every font and the engine. No font call follows it.
void alfont_exit();
