// The program shell: start-up, error boxes, shutdown and the screen flow.
#pragma once

// Shows a blocking error box with `caption` on it and `text` inside, after printing both to
// standard error so that a player who started the game from a terminal sees them too.
// The window title keeps the caption afterwards.
void show_error_box(const char *caption, const char *text);
