// Inside the platform seam: the frame the game's window shows, held by the X server as the
// window's background, so that the server repaints any part the desktop uncovers by itself.
#pragma once

#include "platform/picture_scale.h"

// Makes the frame w x h (all black) and the window's background, and hides the library's own
// drawing window inside it. False when the X server could not make it (the old frame stays).
bool frame_resize(int w, int h);

// The frame in memory: paint into it, then frame_show what changed.
Frame frame_pixels();

// Sends `r` of the frame to the X server and shows it in the window.
void frame_show(const FrameRect &r);
