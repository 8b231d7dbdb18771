// The pause of play: taken when the window loses the keyboard's focus or the player presses P,
// held until the player, back at the window, presses P, Return or Space.
#pragma once

#include "play/play_frame.h"

// The one word over the playfield while play is paused, drawn like the play messages.
constexpr const char *PAUSE_TEXT = "PAUSA";

// At the head of a frame. When the window lost the keyboard's focus since the last look, has
// not got it, or P was pressed: the countdown and the area tune stop where they are and
// PAUSE_TEXT shows at the play messages' place until, with the focus back, P, Return, Space or
// the keypad's Enter is pressed (or the close button, which ends the game at the level loop's
// head). Play then goes on with the countdown and the tune from where they stopped and the
// picture as it was; every press made meanwhile is dropped and an Escape still held is spent, so
// that neither the key nor the click that brings the window back moves the miner or costs a
// life (`input` walks afresh and its Escape is spent). True when play was paused.
bool pause_if_asked(FrameInput &input);
