// The options board: game speed, sound, difficulty and the start area chosen by password; the
// passwords' digests (the passwords themselves are in level/cell_catalogue.h, with the areas).
#pragma once

#include <atomic>
#include <cstdint>

#include "play/game_state.h"

// What the options board shows and yields; lives for the whole process, so a second visit
// shows the choices of the first.
struct OptionsState {
    uint8_t sound = 1;                        // 1 = sound and music on
    int start_level = 1;                      // first_level_of_area(password_area)
    int frame_delay = 70;                     // ms: 50, 70 or 85
    int difficulty = 1;                       // 1, 2 or 3
    const char *speed_label = "NORMAL";       // names frame_delay
    const char *sound_label = "SIM";          // names sound
    const char *difficulty_label = DIFFICULTY_TABLE[0].name;  // names difficulty
    int password_area = 1;                    // area of the last accepted password
};

extern OptionsState options_state;

// The value compared when four keys have been typed: (k1 * k0) + k2 - k3, where each k is the
// character code (the low 8 bits) of a typed key, 0 for keys that have none.
int password_digest(int k0, int k1, int k2, int k3);

// The digest of a four-character password typed as written (lower_case false) or with its
// letters in small letters (true); digits and '+' are the same either way.
int password_text_digest(const char *password, bool lower_case);

// The area (1 to 5) whose password, in capital or in small letters, has this digest; 0 when
// none has.
int area_for_digest(int digest);


// Set by the options board's close handler. Never cleared by the game: once set, the next look
// at it ends the process.
extern std::atomic<bool> options_close_requested;

// One click on a value: moves it and its label to the next step of its cycle
// (speed 70 NORMAL -> 50 RAPIDA -> 85 LENTA, sound 1 SIM <-> 0 NAO,
// difficulty 1 FACIL -> 2 MEDIO -> 3 DIFICIL). A value outside its cycle stays as it is.
void advance_speed(OptionsState &state);
void advance_sound(OptionsState &state);
void advance_difficulty(OptionsState &state);

// Draws the options board over the screen and runs it on options_state until OK is clicked,
// then returns the settings a game starts from. Installs its own close handler; when the
// window's close button is pressed it shuts the library down and ends the process with
// status 0 instead (during a password entry, once the fourth key is typed).
GameSettings run_options_board();
