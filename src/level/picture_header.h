// A look at a BMP file's header before the library loads it.
#pragma once

// True when `path` is a BMP file whose header says `width` x `height` pixels and whose length
// holds all the pixels that header announces (an uncompressed file cut short fails; a
// compressed one is only checked to start its pixels inside the file). A missing or unreadable
// file, another format, or any other size is false. Reads the header alone, so a file that
// claims a huge picture costs nothing.
bool bmp_has_size(const char *path, int width, int height);
