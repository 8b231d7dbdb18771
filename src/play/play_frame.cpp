// One frame: countdown, status line, the rules of a step with the arrow keys, picture, then
// the end-of-frame tests.
#include "play/play_frame.h"

#include "level/cell_catalogue.h"
#include "level/game_resources.h"
#include "platform/input.h"
#include "platform/sound.h"
#include "platform/timing.h"
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

void arm_countdown() { pf_start_ticks(tick_handler, 1000); }

void start_walking_afresh(FrameInput &input)
{
    input.walk_key = 0;
    input.walk_pressed_at = 0;
    pf_drop_input();
}

bool frame_direction(FrameInput &input, Direction &dir)
{
    int held = 0, held_key = 0;
    bool down[KEY_MAX] = {};
    for (int arrow : ARROW_KEYS)
        if (pf_key_held(arrow)) {
            held++;
            held_key = arrow;
            down[arrow] = true;
        }
    KeyPress press;
    if (pf_take_press(ARROW_KEYS, 4, press)) {
        input.walk_key = press.scancode;
        input.walk_pressed_at = press.at_ms;
        // Another arrow down with it is two arrows at once, and the miner stays: one down as
        // it went down, or one down now while it still is. A tap let go before the next arrow
        // went down is alone.
        for (int arrow : ARROW_KEYS)
            if (arrow != press.scancode &&
                (press.down_with[arrow] || (down[press.scancode] && down[arrow])))
                return false;
        return direction_of_key(press.scancode, dir);
    }
    if (held == 1 && held_key != input.walk_key && input.walk_key != 0) {
        // The arrow that stopped the walk was let go and the first is still down: it walks on
        // as a fresh hold, after the repeat's pause. (An arrow held into a fresh level, with
        // no walk, waits for a press.)
        input.walk_key = held_key;
        input.walk_pressed_at = pf_clock_ms();
        return false;
    }
    if (held == 1 && held_key == input.walk_key &&
        pf_clock_ms() - input.walk_pressed_at >= REPEAT_PAUSE_MS)
        return direction_of_key(held_key, dir);
    return false;
}

namespace {

// True when Escape gives up the level at the end of this frame: pressed since the last look
// (taken), or held, unless it is still the press that ended a message.
bool escape_pressed(FrameInput &input)
{
    const int escape = KEY_ESC;
    KeyPress press;
    bool tapped = pf_take_press(&escape, 1, press);
    bool held = pf_key_held(KEY_ESC);
    if (!held)
        input.escape_spent = false;
    return tapped || (held && !input.escape_spent);
}

// The end-of-frame tests, after the pause: a life lost, and the game over.
FrameReport end_of_frame(GameState &state, FrameInput &input)
{
    FrameReport report;
    // In this order, each read only when the one before did not cost the life, as the
    // countdown, Escape and the hazard were always tested.
    if (state.time == 0)
        report.cause = LossCause::time_up;
    else if (escape_pressed(input))
        report.cause = LossCause::escape;
    else if (state.hazard_touched)
        report.cause = LossCause::hazard;
    if (report.cause != LossCause::none) {
        state.life_lost = 1;
        report.end = FrameEnd::life_lost;
    }
    if (state.lives <= 0) {
        state.lives = 1;
        state.out_of_lives = 1;
    }
    return report;
}

// One tick for each of the countdown's last seconds that a frame shows, the sound on.
void tick_last_seconds(FrameInput &input, unsigned time)
{
    if (time == 0 || time > LAST_SECONDS || time == input.ticked)
        return;
    input.ticked = time;
    if (game_state.music_on)
        pf_play_sample(tick_sample, 255, 128, 1000, 0);
}

}  // namespace

void open_barriers(BITMAP *buffer, const GameState &state, LevelGrids &grids)
{
    FloorPaint paint{buffer, tile_bitmap(area_floor(state.area))};
    open_barriers(state, grids, paint_opened_cell, &paint);
}

FrameReport play_frame(FrameInput &input)
{
    GameState &state = game_state;
    arm_countdown();
    tick_last_seconds(input, state.time.load());
    draw_status_line();  // the values as they are before the move
    Direction dir;
    const bool held = frame_direction(input, dir);
    // The opened barriers are painted as they open, the step's cells after them: no cell is
    // painted by both but for a nugget's old cell on an opened barrier, floor either way.
    FloorPaint paint{back_buffer, tile_bitmap(area_floor(state.area))};
    StepReport step =
        play_step(state, level_grids, held ? &dir : nullptr, paint_opened_cell, &paint);
    paint_step(back_buffer, step, state.area);
    // The picture reads the player's cells only, so it may follow the cell-left rule.
    const int late_ms = present_frame();

    if (state.nuggets_remaining == 0)
        return FrameReport{FrameEnd::all_delivered, LossCause::none};
    // The only pace of play; a frame lasts as long at every scale.
    pf_rest(state.frame_delay - late_ms);
    return end_of_frame(state, input);
}
