// What the font layer tells beyond the five game calls: text width, freeing one font, and the
// counts that tests and benchmarks watch.
#pragma once

#include "font/alfont.h"

// Width in pixels of `text` drawn with `font` at its current size, kerning included; 0 for a
// font that did not load.
int alfont_text_length(ALFONT_FONT *font, const char *text);

// Frees one font and its glyph cache. The handle is invalid afterwards; NULL does nothing.
void alfont_destroy_font(ALFONT_FONT *font);

// Glyphs rasterised since the program started (a cache hit does not count).
long alfont_rasterised_glyphs();

// Fonts currently held by the engine, loaded or not.
int alfont_font_count();
