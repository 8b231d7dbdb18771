// One frame: countdown, status line, the rules of a step with the arrow keys, picture, then
// the end-of-frame tests.
#include "play/play_frame.h"

#include "level/cell_catalogue.h"
#include "level/game_resources.h"
#include "platform/input_latch.h"
#include "platform/platform.h"
#include "play/level_end.h"
#include "play/move_rules.h"
#include "play/playfield_render.h"

int arrow_key(Direction dir)
{
    switch (dir) {
    case Direction::up: return KEY_UP;
    case Direction::down: return KEY_DOWN;
    case Direction::left: return KEY_LEFT;
    case Direction::right: return KEY_RIGHT;
    }
    return KEY_UP;
}

namespace {

constexpr int ARROW_KEYS[] = {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT};

// Holding an arrow walks as a keyboard repeats: one step at the press, the next this long
// after it, then one a frame.
constexpr long REPEAT_PAUSE_MS = 200;

// The arrow whose press began the walk in progress, and when it was pressed (key 0: none).
struct Walk {
    int key = 0;
    long pressed_at = 0;
};

Walk walk;

// Escape that ended a message gives up nothing until it has been let go.
bool escape_spent = false;

bool direction_of_key(int scancode, Direction &dir)
{
    for (const DirectionStep &step : DIRECTION_STEPS)
        if (arrow_key(step.dir) == scancode) {
            dir = step.dir;
            return true;
        }
    return false;
}

struct FloorPaint {
    BITMAP *buffer;
    BITMAP *floor;
};

void paint_opened_cell(int row, int col, void *context)
{
    const FloorPaint *paint = static_cast<const FloorPaint *>(context);
    draw_cell_image(paint->buffer, paint->floor, row, col);
}

}  // namespace

void arm_countdown() { pf_install_int_ex(tick_handler, SECS_TO_TIMER(1)); }

void start_walking_afresh()
{
    walk = Walk{};
    pf_drop_presses();
}

void spend_escape() { escape_spent = true; }

bool frame_direction(Direction &dir)
{
    int held = 0, held_key = 0;
    for (int key : ARROW_KEYS)
        if (pf_key_held(key)) {
            held++;
            held_key = key;
        }
    KeyPress press;
    if (pf_take_press(ARROW_KEYS, 4, press)) {
        walk = Walk{press.scancode, press.at_ms};
        // Another arrow down with it is two arrows at once: the miner stays.
        if (held > 1 || (held == 1 && held_key != press.scancode))
            return false;
        return direction_of_key(press.scancode, dir);
    }
    if (held == 1 && held_key == walk.key && pf_clock_ms() - walk.pressed_at >= REPEAT_PAUSE_MS)
        return direction_of_key(held_key, dir);
    return false;
}

bool escape_pressed()
{
    const int escape = KEY_ESC;
    KeyPress press;
    bool tapped = pf_take_press(&escape, 1, press);
    bool held = pf_key_held(KEY_ESC);
    if (!held)
        escape_spent = false;
    return tapped || (held && !escape_spent);
}

void open_barriers(BITMAP *buffer, const GameState &state, LevelGrids &grids)
{
    FloorPaint paint{buffer, tile_bitmap(area_floor(state.area))};
    open_barriers(state, grids, paint_opened_cell, &paint);
}

FrameEnd play_frame()
{
    GameState &state = game_state;
    arm_countdown();
    draw_status_line();  // the values as they are before the move
    Direction dir;
    const bool held = frame_direction(dir);
    // The opened barriers are painted as they open, the step's cells after them: no cell is
    // painted by both but for a nugget's old cell on an opened barrier, floor either way.
    FloorPaint paint{back_buffer, tile_bitmap(area_floor(state.area))};
    StepReport step =
        play_step(state, level_grids, held ? &dir : nullptr, paint_opened_cell, &paint);
    paint_step(back_buffer, step, state.area);
    // The picture reads the player's cells only, so it may follow the cell-left rule.
    present_frame();

    if (state.nuggets_remaining == 0) {
        finish_won_level();
        return FrameEnd::level_won;
    }

    pf_rest(state.frame_delay);  // the only pace of play
    if (state.time == 0 || escape_pressed() || state.hazard_touched)
        state.life_lost = 1;
    if (state.lives <= 0) {
        state.lives = 1;
        state.out_of_lives = 1;
    }
    return FrameEnd::played;
}
