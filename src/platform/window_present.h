// Inside the platform seam: the present, the game's one picture shown in the window at the
// window's size, as large as fits (window_geometry.h), the copies sharp (picture_scaler.h).
#pragma once

// Makes the picture the game draws on (pf_screen), black; false when it could not.
bool make_picture();

// Shows the picture in a window w x h: placed anew, drawn whole, black around it (the frame no
// larger than the largest monitor). False when the X server could not make the frame at that
// size (the old one stays), or shows no true colour.
bool show_at_size(int w, int h);

// Carries out the window keys pressed since the last call (window_keys.h), follows the size
// the window was granted when it may have changed, then copies to the window what changed in
// the picture since the last copy. Returns the microseconds the copy took beyond what it costs
// at 1x (enlarging is paid by the picture's size in the window).
long present_window();
