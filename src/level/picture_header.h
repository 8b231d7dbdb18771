// A look at a BMP file's header before the library loads it.
#pragma once

// True when `path` is a BMP file whose header says `width` x `height` pixels and whose length
// holds all the pixels that header announces. A missing or unreadable file, another format, a
// file cut short, a run-length coded one (the library's reader of those can write past the
// picture) or any other size is false. Reads the header alone, so a file that claims a huge
// picture costs nothing.
bool bmp_has_size(const char *path, int width, int height);

// The same check for a picture of any size from 1 x 1 up to `width` x `height`.
bool bmp_fits(const char *path, int width, int height);
