// Reading the arrow keys for the rules and painting what they changed.
#include "play/move_input.h"

#include "level/game_resources.h"
#include "platform/platform.h"
#include "play/move_rules.h"
#include "play/playfield_render.h"

static int arrow_key(Direction dir)
{
    switch (dir) {
    case Direction::up: return KEY_UP;
    case Direction::down: return KEY_DOWN;
    case Direction::left: return KEY_LEFT;
    case Direction::right: return KEY_RIGHT;
    }
    return KEY_UP;
}

// Two arrows held at once stop the miner: a step needs its key and no other arrow key.
static bool held_alone(Direction dir)
{
    bool alone = true;
    for (Direction other : STEP_ORDER) {
        bool held = pf_key_held(arrow_key(other));
        alone = alone && (other == dir ? held : !held);
    }
    return alone;
}

void apply_moves(GameState &state, LevelGrids &grids, BITMAP *buffer)
{
    for (Direction dir : STEP_ORDER)
        if (held_alone(dir))
            paint_step(buffer, apply_step(state, grids, dir), state.area);
}

void apply_moves() { apply_moves(game_state, level_grids, back_buffer); }
