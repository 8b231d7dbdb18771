// One frame of play: the countdown armed, the status line, the arrow keys driving the rules,
// the barriers opening and the picture shown.
#pragma once

#include <allegro.h>

#include "level/level_data.h"
#include "play/game_state.h"

// What the arrows and Escape leave from one frame to the next, for one game. The level loop
// owns it and hands it to every frame.
struct FrameInput {
    int walk_key = 0;          // the arrow whose press began the walk in progress (0: none)
    long walk_pressed_at = 0;  // when it was pressed, or became the one arrow held again
    bool escape_spent = false; // Escape that ended a message gives up nothing until let go
    unsigned ticked = 0;       // the last second whose tick sounded (0: none in this pass)
};

// What a frame saw happen.
enum class FrameEnd {
    played,         // the level goes on
    all_delivered,  // no nugget left: the level is won (the level loop runs what follows)
    life_lost,      // life lost is set in game_state, for the level loop
};

// Why a frame cost a life.
enum class LossCause { none, time_up, escape, hazard };

struct FrameReport {
    FrameEnd end = FrameEnd::played;
    LossCause cause = LossCause::none;  // set with life_lost
};

// Starts tick_handler's ticks (game_state.h) at one second. Called every frame: starting them
// again keeps their phase, so the countdown does not depend on the frame rate. A play message
// stops them (level_end.h): each level's first second starts with its first frame.
void arm_countdown();

// The direction of this frame's step, from the arrows' presses and the arrows held. The oldest
// press not yet played steps at once, even one already let go (a tap between two frames), unless
// another arrow was down as it went down, or is down with it now; an arrow held alone steps again every frame once 200 ms have
// passed since its press. When the arrow that stopped a walk is let go while the walk's arrow
// is still held, that one walks on as a fresh hold pressed now. False when the miner stays.
bool frame_direction(FrameInput &input, Direction &dir);

// Forgets the arrows' presses, the walk in progress and stale clicks: a level starts on fresh
// presses only, so an arrow held through a message walks nowhere until it is pressed again.
void start_walking_afresh(FrameInput &input);

// The arrow key (KEY_UP, ...) that steers the miner in `dir`.
int arrow_key(Direction dir);

// The barrier step of a frame alone: opens the groups whose switch was taken (move_rules.h)
// and draws the area's floor into `buffer` at every cell opened, again each frame while the
// flag stays set.
void open_barriers(BITMAP *buffer, const GameState &state, LevelGrids &grids);

// One frame over the game's globals: arms the countdown, sounds the tick of each of its last
// seconds (the sound on), paints the status line, plays the rules of the frame (play_step, the
// same the level checker replays) with frame_direction's step, paints what they changed and
// shows the picture. With no nugget left it reports
// all_delivered at once. Otherwise it pauses for the frame delay, then sets life lost on a
// countdown at 0, Escape (pressed since the last look, or held unless spent) or a hazard
// touched, and game over (lives back to 1) when no life is left.
FrameReport play_frame(FrameInput &input);
