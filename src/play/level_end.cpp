// Winning a level, losing a life and losing the game.
#include "play/level_end.h"

#include "level/cell_catalogue.h"
#include "level/game_resources.h"
#include "platform/timing.h"
#include "platform/window.h"
#include "play/game_state.h"

namespace {

constexpr int NO_BACKGROUND = -1;

// The keys that end a message's pause early; an arrow never does, so a walk held into the
// message cannot skip it.
constexpr int SKIP_KEYS[] = {KEY_ENTER, KEY_ENTER_PAD, KEY_SPACE, KEY_ESC};
constexpr int SKIP_KEY_COUNT = 4;
constexpr int MESSAGE_SHORTEST_MS = 500;
constexpr int PASSWORD_SHORTEST_MS = 2500;

// The countdown stops as a message comes up: the level it counted for is over, and the next
// one's first second starts with its first frame, which installs the handler afresh.
void stop_countdown() { pf_start_ticks(nullptr, 0); }

}  // namespace

ALFONT_FONT *message_font = nullptr;

void draw_play_text(const char *text, int x, int y, int colour)
{
    BITMAP *target = pf_screen();
    if (!target || !message_font)
        return;
    const int ring = makecol(MESSAGE_RING_RGB[0], MESSAGE_RING_RGB[1], MESSAGE_RING_RGB[2]);
    for (int dy = -1; dy <= 1; dy++)
        for (int dx = -1; dx <= 1; dx++)
            if (dx || dy)
                alfont_textout_aa_ex(target, message_font, text, x + dx, y + dy, ring,
                                     NO_BACKGROUND);
    alfont_textout_aa_ex(target, message_font, text, x, y, colour, NO_BACKGROUND);
}

std::string area_password_text(int area)
{
    // Area 1 has a password too, but a game starts there anyway: it is never shown.
    if (area < 2 || area > AREA_COUNT)
        return "";
    return std::string("SENHA: ") + AREA_PASSWORDS[area - 1];
}

bool show_play_message(const char *text)
{
    stop_countdown();
    // A close request cuts the pauses short: the level loop's head then ends the game.
    pf_rest_unless(100, game_state.close_requested);
    draw_play_text(text, MESSAGE_X, MESSAGE_Y, MESSAGE_COLOUR);
    // It stays until the player answers: a message that ended by itself let the key meant
    // for it reach the next level.
    return pf_rest_until_press(UNTIL_PRESS, MESSAGE_SHORTEST_MS, SKIP_KEYS, SKIP_KEY_COUNT,
                               game_state.close_requested) == KEY_ESC;
}

bool finish_won_level()
{
    GameState &state = game_state;
    bool escape = show_play_message(LEVEL_WON_TEXT);
    // Past the last level there is nothing to load; a level beyond it (never set by the game)
    // would otherwise be won over and over as an empty file.
    if (state.level >= LEVEL_COUNT) {
        state.completed = 1;
        return escape;
    }
    state.level++;
    if (starts_area(state.level)) {
        state.area = area_of_level(state.level);
        std::string password = area_password_text(state.area);
        if (!password.empty()) {
            draw_play_text(password.c_str(), PASSWORD_X, PASSWORD_Y, PASSWORD_COLOUR);
            // It must be written down: it stays until a key, whatever key, and at least 2.5 s.
            if (pf_rest_until_press(UNTIL_PRESS, PASSWORD_SHORTEST_MS, nullptr, 0,
                                    game_state.close_requested) == KEY_ESC)
                escape = true;
        }
    }
    reset_level_state(state, level_grids);
    load_level(state.level);
    return escape;
}

bool lose_life()
{
    bool escape = show_play_message(LIFE_LOST_TEXT);
    game_state.lives--;
    reset_level_state(game_state, level_grids);
    load_level(game_state.level);
    return escape;
}

void game_over()
{
    show_play_message(GAME_OVER_TEXT);
    reset_level_state(game_state, level_grids);
    // Through the resource loader, so that the next game start does not free them again.
    release_area_music();
    restore_game_over_defaults(game_state);
}
