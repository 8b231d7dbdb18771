// The options board: its value cycles, the area passwords and their entry, and its loop.
#include "ui/options_board.h"

#include "level/cell_catalogue.h"
#include "platform/platform.h"
#include "ui/board.h"

#include <cctype>

OptionsState options_state;
std::atomic<bool> options_close_requested{false};

namespace {

struct Spot {
    int x, y;
};

// Where the three values and the password box are drawn; the hover boxes lie around them.
constexpr Spot SPEED_AT{365, 235};
constexpr Spot SOUND_AT{310, 250};
constexpr Spot DIFFICULTY_AT{325, 265};
constexpr Spot PASSWORD_AT{325, 280};

constexpr int OPTIONS_OK_X1 = 399, OPTIONS_OK_Y1 = 300, OPTIONS_OK_X2 = 465, OPTIONS_OK_Y2 = 316;

struct CycleStep {
    int value;
    const char *label;
};

constexpr CycleStep SPEED_CYCLE[] = {{70, "NORMAL"}, {50, "RAPIDA"}, {85, "LENTA"}};
constexpr CycleStep SOUND_CYCLE[] = {{1, "SIM"}, {0, "NAO"}};
constexpr CycleStep DIFFICULTY_CYCLE[] = {{1, "FACIL"}, {2, "MEDIO"}, {3, "DIFICIL"}};

// Shown once a password is accepted: three spaces after the number keep it as wide as the
// prompt it covers.
constexpr const char *AREA_TEXTS[AREA_COUNT] = {">>> Area 01   ", ">>> Area 02   ",
                                                ">>> Area 03   ", ">>> Area 04   ",
                                                ">>> Area 05   "};

// Blanks as wide as the widest label of a cycle or as the password messages.
constexpr const char *BLANK_6 = "      ";
constexpr const char *BLANK_7 = "       ";
constexpr const char *BLANK_14 = "              ";

void on_options_close() { options_close_requested = true; }

void advance_in(const CycleStep *cycle, int steps, int &value, const char *&label)
{
    for (int i = 0; i < steps; i++) {
        if (cycle[i].value == value) {
            const CycleStep &next = cycle[(i + 1) % steps];
            value = next.value;
            label = next.label;
            return;
        }
    }
}

int highlight_colour() { return makecol(229, 240, 31); }

bool clicked() { return pf_mouse_b() == 1; }

// True while the pointer is strictly inside the box around a value at `at`, reaching to
// at.x + right and at.y + bottom. Each comparison reads the pointer afresh.
bool pointer_in_box(Spot at, int right, int bottom)
{
    return at.x - 10 < pf_mouse_x() && pf_mouse_x() < at.x + right && at.y - 5 < pf_mouse_y() &&
           pf_mouse_y() < at.y + bottom;
}

// Waits for a typed key without blocking, so that a close request ends the board at once
// even in the middle of a password.
int wait_for_key()
{
    for (;;) {
        end_process_if_closed(options_close_requested);
        if (pf_keypressed())
            return pf_readkey();
        pf_idle();
    }
}

// Four keys, never shown, then the area they select or "Senha Invalida". The start level
// always follows the last accepted area.
void enter_password(OptionsState &state)
{
    const int x = PASSWORD_AT.x, y = PASSWORD_AT.y;
    const int message_colour = makecol(200, 200, 200);
    draw_board_text(x - 48, y + 25, message_colour, "Digite a senha");
    int keys[4];
    for (int i = 0; i < 4; i++) {
        pf_clear_keybuf();  // only keys typed from now on count
        keys[i] = wait_for_key();
        draw_board_text(x + 6 + 9 * i, y, makecol(180, 180, 180), "*");
    }
    int area = area_for_digest(password_digest(keys[0], keys[1], keys[2], keys[3]));
    if (area != 0) {
        draw_board_text(x - 48, y + 25, message_colour, AREA_TEXTS[area - 1]);
        state.password_area = area;
    } else {
        pf_rest_unless(250, options_close_requested);
        end_process_if_closed(options_close_requested);
        draw_board_text(x - 48, y + 25, message_colour, "Senha Invalida");
        pf_rest_unless(1750, options_close_requested);
        end_process_if_closed(options_close_requested);
        draw_board_text(x - 48, y + 25, message_colour, BLANK_14);
    }
    state.start_level = first_level_of_area(state.password_area);
}

// What one value place shows now, so that a pass draws it only when that changes. A null text
// means "not known": drawn at the next chance.
struct Shown {
    const char *text = nullptr;
    int colour = 0;
};

// The options board as it shows now: the four value places and the OK label.
struct OptionsView {
    Shown speed, sound, difficulty, password;
    OkButton ok{OPTIONS_OK_X1, OPTIONS_OK_Y1, OPTIONS_OK_X2, OPTIONS_OK_Y2};
    bool drew = false;  // something was drawn in this pass
};

// Draws `text` at `at` unless the place already shows it in that colour.
void show_value(OptionsView &view, Shown &shown, Spot at, int colour, const char *text)
{
    if (shown.text == text && shown.colour == colour)
        return;
    draw_board_text(at.x, at.y, colour, text);
    shown = Shown{text, colour};
    view.drew = true;
}

// One hover box: while the pointer stays in it the value shows highlighted; a click advances
// it and waits 200 ms (so a held button repeats), then `blank` clears a longer old label.
// Ends when the pointer leaves or the window is closed.
void hover_value(OptionsState &state, OptionsView &view, Shown &shown, Spot at, int right,
                 int bottom, const char *const &label, void (*advance)(OptionsState &),
                 const char *blank)
{
    while (!options_close_requested && pointer_in_box(at, right, bottom)) {
        view.drew = false;
        show_value(view, shown, at, highlight_colour(), label);
        if (clicked()) {
            advance(state);
            pf_rest_unless(200, options_close_requested);
            if (blank)
                show_value(view, shown, at, highlight_colour(), blank);
            else
                shown = Shown{};  // same width: the next drawing covers the old label
        } else if (!view.drew) {
            pf_idle();
        }
    }
}

// One pass over the board: the values, each hover box (a loop of its own while the pointer
// stays in it; a held button repeats every 200 ms), then the OK step. True when OK is clicked.
// Only what changed is drawn; a pass that drew nothing yields the processor.
bool options_pass(OptionsState &state, OptionsView &view)
{
    view.drew = false;
    const int value_colour = makecol(225, 170, 20);
    show_value(view, view.speed, SPEED_AT, value_colour, state.speed_label);
    show_value(view, view.sound, SOUND_AT, value_colour, state.sound_label);
    show_value(view, view.difficulty, DIFFICULTY_AT, value_colour, state.difficulty_label);
    show_value(view, view.password, PASSWORD_AT, makecol(255, 100, 20), "(    )");
    const bool drew_values = view.drew;

    // "LENTA" is shorter than the label it replaces; "SIM" and "NAO" are the same width.
    hover_value(state, view, view.speed, SPEED_AT, 65, 9, state.speed_label, advance_speed,
                BLANK_6);
    hover_value(state, view, view.sound, SOUND_AT, 30, 7, state.sound_label, advance_sound,
                nullptr);
    hover_value(state, view, view.difficulty, DIFFICULTY_AT, 60, 7, state.difficulty_label,
                advance_difficulty, BLANK_7);
    while (!options_close_requested && pointer_in_box(PASSWORD_AT, 60, 7)) {
        view.drew = false;
        show_value(view, view.password, PASSWORD_AT, highlight_colour(), "(    )");
        if (clicked()) {
            enter_password(state);
            view.password = Shown{};  // the stars are drawn over the box
        } else if (!view.drew) {
            pf_idle();
        }
    }
    view.drew = drew_values;
    bool ok = board_ok_step(view.ok, view.drew);
    if (!ok && !view.drew)
        pf_idle();
    return ok;
}

}  // namespace

int password_digest(int k0, int k1, int k2, int k3)
{
    k0 &= 0xff;
    k1 &= 0xff;
    k2 &= 0xff;
    k3 &= 0xff;
    return k1 * k0 + k2 - k3;
}

int password_text_digest(const char *password, bool lower_case)
{
    int k[4];
    for (int i = 0; i < 4; i++) {
        unsigned char c = static_cast<unsigned char>(password[i]);
        k[i] = lower_case ? std::tolower(c) : c;
    }
    return password_digest(k[0], k[1], k[2], k[3]);
}

int area_for_digest(int digest)
{
    for (int area = 1; area <= AREA_COUNT; area++) {
        const char *password = AREA_PASSWORDS[area - 1];
        if (digest == password_text_digest(password, false) ||
            digest == password_text_digest(password, true))
            return area;
    }
    return 0;
}

void advance_speed(OptionsState &state)
{
    advance_in(SPEED_CYCLE, 3, state.frame_delay, state.speed_label);
}

void advance_sound(OptionsState &state)
{
    int sound = state.sound;
    advance_in(SOUND_CYCLE, 2, sound, state.sound_label);
    state.sound = static_cast<uint8_t>(sound);
}

void advance_difficulty(OptionsState &state)
{
    advance_in(DIFFICULTY_CYCLE, 3, state.difficulty, state.difficulty_label);
}

GameSettings run_options_board()
{
    OptionsState &state = options_state;
    pf_set_close_button_callback(on_options_close);
    draw_board_frame(260, 200, 480, 330, "QUADRO DE OPCOES", 305, OPTIONS_OK_X1, OPTIONS_OK_Y1,
                     OPTIONS_OK_X2, OPTIONS_OK_Y2);
    const int heading_colour = makecol(255, 100, 20);
    draw_board_text(275, 235, heading_colour, "VELOCIDADE:");
    draw_board_text(275, 250, heading_colour, "SOM:");
    draw_board_text(275, 265, heading_colour, "NIVEL:");
    draw_board_text(275, 280, heading_colour, "SENHA:");

    bool ok = false;
    OptionsView view;
    while (!ok) {
        end_process_if_closed(options_close_requested);
        ok = options_pass(state, view);
    }
    end_process_if_closed(options_close_requested);

    GameSettings settings;
    settings.start_level = state.start_level;
    settings.difficulty = state.difficulty;
    settings.sound = state.sound ? 1 : 0;
    settings.frame_delay = state.frame_delay;
    return settings;
}
