// The system outline font the font and menu tests draw with (DejaVu Sans: it has kerning).
#pragma once

#include <unistd.h>

// Its path, or nullptr when the build found none or it is gone (the test then skips).
inline const char *test_font_path()
{
#ifdef TEST_FONT
    if (access(TEST_FONT, R_OK) == 0)
        return TEST_FONT;
#endif
    return nullptr;
}
