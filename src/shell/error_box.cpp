// The shell's error box.
#include "shell/shell.h"

#include "platform/platform.h"

#include <cstdio>

void show_error_box(const char *caption, const char *text)
{
    fprintf(stderr, "%s\n%s\n", caption, text);
    set_window_title(caption);
    pf_message_box(caption, text);
}
