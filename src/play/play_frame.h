// One frame of play: the countdown armed, the status line, the arrow keys driving the rules,
// the barriers opening and the picture shown.
#pragma once

#include <allegro.h>

#include "level/level_data.h"
#include "play/game_state.h"

// How a frame ended.
enum class FrameEnd {
    played,     // the level goes on (an end flag may have been set for the level loop)
    level_won,  // the won-level sequence ran: the level loop starts a fresh pass
};

// Installs tick_handler (game_state.h) at one second. Called every frame: re-installing it
// with the same period keeps its phase, so the countdown does not depend on the frame rate.
// It is never removed and keeps counting through messages, boards and menus.
void arm_countdown();

// The direction of this frame's step, from the arrows' presses and the arrows held. The oldest
// press not yet played steps at once, even one already let go (a tap between two frames), unless
// another arrow is down with it; an arrow held alone steps again every frame once 200 ms have
// passed since its press. False when the miner stays.
bool frame_direction(Direction &dir);

// Forgets the arrows' presses and the walk in progress: a level starts on fresh presses only,
// so an arrow held through a message walks nowhere until it is pressed again.
void start_walking_afresh();

// True when Escape gives up the level at the end of this frame: pressed since the last look
// (taken), or held, unless it is still the press that ended a message (spend_escape).
bool escape_pressed();
void spend_escape();

// The arrow key (KEY_UP, ...) that steers the miner in `dir`.
int arrow_key(Direction dir);

// The barrier step of a frame alone: opens the groups whose switch was taken (move_rules.h)
// and draws the area's floor into `buffer` at every cell opened, again each frame while the
// flag stays set.
void open_barriers(BITMAP *buffer, const GameState &state, LevelGrids &grids);

// One frame over the game's globals: arms the countdown, paints the status line, plays the
// rules of the frame (play_step, the same the level checker replays) with frame_direction's
// step, paints what they changed and shows the picture. With no nugget left it runs the
// won-level sequence and returns level_won. Otherwise it pauses for the frame delay, then
// sets life lost on a countdown at 0, Escape (escape_pressed) or a hazard touched, and game
// over (lives back to 1) when no life is left.
FrameEnd play_frame();
