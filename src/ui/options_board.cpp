// The options board: its value cycles, the area passwords and their entry, and its loop.
#include "ui/options_board.h"

#include "level/cell_catalogue.h"
#include "platform/input.h"
#include "platform/timing.h"
#include "platform/window.h"
#include "ui/board.h"
#include "ui/pointer_box.h"

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

// The board's lines in the order Up and Down walk them.
enum Line { SPEED_LINE, SOUND_LINE, DIFFICULTY_LINE, PASSWORD_LINE, OK_LINE, LINE_COUNT };

// The strict box around a value or the password box drawn at `at`, reaching to at.x + right
// and at.y + bottom.
constexpr PointerBox around(Spot at, int right, int bottom)
{
    return {at.x - 10, at.y - 5, at.x + right, at.y + bottom, false};
}

// Each line's hover box, in line order; OK's is its button, edges included.
constexpr PointerBox LINE_BOXES[LINE_COUNT] = {
    around(SPEED_AT, 65, 9), around(SOUND_AT, 30, 7), around(DIFFICULTY_AT, 60, 7),
    around(PASSWORD_AT, 60, 7),
    {OPTIONS_OK_X1, OPTIONS_OK_Y1, OPTIONS_OK_X2, OPTIONS_OK_Y2, true},
};

constexpr int OPTION_KEYS[] = {KEY_UP,    KEY_DOWN,      KEY_LEFT,  KEY_RIGHT,
                               KEY_ENTER, KEY_ENTER_PAD, KEY_SPACE, KEY_ESC};
constexpr int OPTION_KEY_COUNT = 8;

bool option_key_waiting() { return pf_press_latched(OPTION_KEYS, OPTION_KEY_COUNT); }

// What wait_for_key answers for a click on OK during a password entry.
constexpr int OK_CLICKED = -1;

// Waits for a typed key, so that a close request ends the board at once even in the middle of
// a password; a click on OK answers OK_CLICKED, a click anywhere else is taken and means
// nothing.
int wait_for_key()
{
    const PointerBox &ok = LINE_BOXES[OK_LINE];
    int typed = 0;
    for (;;) {
        end_process_if_closed(options_close_requested);
        if (pf_take_typed_key(typed))
            return typed;
        if (clicked_box(&ok, 1, pointer_in(ok) ? 0 : -1) == 0)
            return OK_CLICKED;
        pf_wait_step(IDLE_STEP);
    }
}

// Four keys, never shown, then the area they select or "Senha Invalida". The start level
// always follows the last accepted area. Backspace takes back the last key; Escape, or a click
// on OK, gives the entry up (the prompt is cleared, the area stays). True when OK was clicked.
bool enter_password(OptionsState &state)
{
    const int x = PASSWORD_AT.x, y = PASSWORD_AT.y;
    const int message_colour = makecol(200, 200, 200);
    draw_board_text(x - 48, y + 25, message_colour, "Digite a senha");
    int keys[4];
    int typed = 0;
    while (typed < 4) {
        pf_drop_typed_keys();  // only keys typed from now on count
        int key = wait_for_key();
        if (key == OK_CLICKED || key >> 8 == KEY_ESC) {
            draw_board_text(x - 48, y + 25, message_colour, BLANK_14);
            draw_board_text(x, y, makecol(255, 100, 20), "(    )");
            pf_drop_input();  // that Escape ends the entry, not the board
            return key == OK_CLICKED;
        }
        if (key >> 8 == KEY_BACKSPACE) {
            if (typed > 0) {
                typed--;
                draw_board_text(x + 6 + 9 * typed, y, makecol(180, 180, 180), " ");
            }
            continue;
        }
        keys[typed] = key;
        draw_board_text(x + 6 + 9 * typed, y, makecol(180, 180, 180), "*");
        typed++;
    }
    pf_drop_input();  // the password's keys and clicks are not the board's
    int area = area_for_digest(password_digest(keys[0], keys[1], keys[2], keys[3]));
    if (area != 0) {
        draw_board_text(x - 48, y + 25, message_colour, AREA_TEXTS[area - 1]);
        state.password_area = area;
    } else {
        pf_wait_step(0);
        pf_rest_unless(250, options_close_requested);
        end_process_if_closed(options_close_requested);
        draw_board_text(x - 48, y + 25, message_colour, "Senha Invalida");
        pf_wait_step(0);
        pf_rest_unless(1750, options_close_requested);
        end_process_if_closed(options_close_requested);
        draw_board_text(x - 48, y + 25, message_colour, BLANK_14);
    }
    state.start_level = first_level_of_area(state.password_area);
    return false;
}

// What one value place shows now, so that a pass draws it only when that changes. A null text
// means "not known": drawn at the next chance.
struct Shown {
    const char *text = nullptr;
    int colour = 0;
};

// The three values' places, their cycles and the blank that clears a longer old label
// ("LENTA" is shorter than the label it replaces; "SIM" and "NAO" are the same width).
struct ValueLine {
    Spot at;
    void (*advance)(OptionsState &);
    int cycle_length;
    const char *blank;
};

const ValueLine VALUE_LINES[3] = {
    {SPEED_AT, advance_speed, 3, BLANK_6},
    {SOUND_AT, advance_sound, 2, nullptr},
    {DIFFICULTY_AT, advance_difficulty, 3, BLANK_7},
};

const char *value_label(const OptionsState &state, int line)
{
    switch (line) {
    case SPEED_LINE: return state.speed_label;
    case SOUND_LINE: return state.sound_label;
    default: return state.difficulty_label;
    }
}

// The options board as it shows now: the four value places and the OK label, and which line
// is lit and by what.
struct OptionsView {
    Shown values[3];
    Shown password;
    OkButton ok{OPTIONS_OK_X1, OPTIONS_OK_Y1, OPTIONS_OK_X2, OPTIONS_OK_Y2};
    bool drew = false;  // something was drawn in this pass
    int framed = -1;      // the value line whose focus frame shows, or -1
    KeyLight light;       // the line the keys lit, until the pointer moves
    int hover_line = -1;  // the line whose hover a key interrupted
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

// The OK label lit or not, drawn when that changes.
void light_ok(OptionsView &view, bool lit)
{
    if (view.ok.lit == lit)
        return;
    draw_ok_label(view.ok.bx1, view.ok.by1, lit);
    view.ok.lit = lit;
    view.drew = true;
}

// The widest text each value line shows, in characters: its focus frame goes round that.
constexpr int LINE_CHARS[] = {6, 3, 7, 6};
constexpr Spot LINE_SPOTS[] = {SPEED_AT, SOUND_AT, DIFFICULTY_AT, PASSWORD_AT};

// The focus frame round value line `line` alone (none for -1 or OK_LINE), drawn when that
// changes.
void frame_line(OptionsView &view, int line)
{
    if (line == OK_LINE)
        line = -1;
    if (view.framed == line)
        return;
    if (view.framed >= 0)
        draw_focus_frame(LINE_SPOTS[view.framed].x, LINE_SPOTS[view.framed].y,
                         LINE_CHARS[view.framed], false);
    if (line >= 0)
        draw_focus_frame(LINE_SPOTS[line].x, LINE_SPOTS[line].y, LINE_CHARS[line], true);
    view.framed = line;
    view.drew = true;
}

// Every value place with only `lit` highlighted and framed, so that no line stays lit when
// another lights; a line lit (OK_LINE lights the OK label) also puts the OK label out. With -1
// the values show normal and the OK label is left to the pointer's test. Draws only what
// changed.
void show_lines(const OptionsState &state, OptionsView &view, int lit)
{
    const int value_colour = makecol(225, 170, 20);
    frame_line(view, lit);
    for (int line = 0; line < 3; line++)
        show_value(view, view.values[line], VALUE_LINES[line].at,
                   line == lit ? lit_ink() : value_colour, value_label(state, line));
    show_value(view, view.password, PASSWORD_AT,
               lit == PASSWORD_LINE ? lit_ink() : makecol(255, 100, 20), "(    )");
    if (lit >= 0)
        light_ok(view, lit == OK_LINE);
}

// One step of a value's cycle, forwards or back, the old label blanked when longer.
void cycle_value(OptionsState &state, OptionsView &view, int line, bool back)
{
    const ValueLine &value = VALUE_LINES[line];
    for (int i = back ? value.cycle_length - 1 : 1; i > 0; i--)
        value.advance(state);
    if (value.blank)
        draw_board_text(value.at.x, value.at.y, lit_ink(), value.blank);
    view.values[line] = Shown{};  // drawn anew by the next show_lines
}

// The keys pressed since the last look, in order: Up and Down light the previous or next line
// (wrapping), Left and Right cycle the lit value back or forth, Return and Space cycle it
// forth, start the password entry or press OK; Escape presses OK. With no line lit by the
// keys, the line under the pointer is the one they act on; with none there either, Return and
// Space light the first line. True when OK was pressed.
bool play_option_keys(OptionsState &state, OptionsView &view)
{
    KeyPress press;
    while (pf_take_press(OPTION_KEYS, OPTION_KEY_COUNT, press)) {
        const int key = press.scancode;
        if (key == KEY_ESC)
            return true;
        int line = view.light.held ? view.light.line : view.hover_line;
        if (key == KEY_UP || key == KEY_DOWN) {
            if (line < 0)
                line = key == KEY_DOWN ? LINE_COUNT - 1 : 0;
            line = (line + (key == KEY_DOWN ? 1 : LINE_COUNT - 1)) % LINE_COUNT;
        } else if (line < 0) {
            if (key == KEY_LEFT || key == KEY_RIGHT)
                continue;  // nothing lit: nothing to cycle
            line = SPEED_LINE;  // Return or Space answers: the first line lights, and waits
            keys_take_light(view.light, line);
            show_lines(state, view, line);
            continue;
        }
        keys_take_light(view.light, line);
        view.hover_line = -1;
        if (key == KEY_UP || key == KEY_DOWN) {
            show_lines(state, view, line);
        } else if (line < PASSWORD_LINE) {
            cycle_value(state, view, line, key == KEY_LEFT);
            show_lines(state, view, line);
        } else if (line == PASSWORD_LINE) {
            if (enter_password(state))
                return true;
            view.password = Shown{};  // the stars are drawn over the box
            show_lines(state, view, line);
        } else {
            return true;
        }
    }
    return false;
}

// What a click on `line` does: a value takes its next step and the board waits 200 ms (so
// that a held button repeats), a blank clearing a longer old label; the password box starts an
// entry; OK ends the board. True when the board ends (OK, also OK clicked during an entry).
bool click_line(OptionsState &state, OptionsView &view, int line)
{
    if (line == OK_LINE)
        return true;
    if (line == PASSWORD_LINE) {
        if (enter_password(state))
            return true;
        view.password = Shown{};  // the stars are drawn over the box
        return false;
    }
    const ValueLine &value = VALUE_LINES[line];
    value.advance(state);
    pf_wait_step(0);
    pf_rest_unless(200, options_close_requested);
    if (value.blank)
        show_value(view, view.values[line], value.at, lit_ink(), value.blank);
    else
        view.values[line] = Shown{};  // same width: the next drawing covers the old label
    return false;
}

// One hover box, a value's or the password's: while the pointer stays in it the line shows
// highlighted (and no other), and a click acts where it went down (click_line). Ends when the
// pointer leaves, a key the board answers is pressed (hover_line is then set) or the window
// is closed. True when a click ended the board.
bool hover_line(OptionsState &state, OptionsView &view, int line)
{
    while (!options_close_requested && pointer_in(LINE_BOXES[line])) {
        if (option_key_waiting()) {
            view.hover_line = line;
            return false;
        }
        view.drew = false;
        show_lines(state, view, line);
        const int clicked = clicked_box(LINE_BOXES, LINE_COUNT, line);
        if (clicked >= 0) {
            if (click_line(state, view, clicked))
                return true;
        } else {
            pf_wait_step(view.drew ? 0 : IDLE_STEP);
        }
    }
    return false;
}

// One pass over the board: the keys pressed, a short click made since the last pass (where it
// went down, whatever the keys lit), the values, each hover box (a loop of its own while the
// pointer stays in it; a held button repeats every 200 ms), then the OK button. True when OK
// is pressed or clicked. Only what changed is drawn; a pass that drew nothing yields the
// processor.
bool options_pass(OptionsState &state, OptionsView &view)
{
    view.drew = false;
    if (play_option_keys(state, view))
        return true;
    view.hover_line = -1;
    const int clicked = clicked_box(LINE_BOXES, LINE_COUNT, -1);
    if (clicked >= 0)
        return click_line(state, view, clicked);
    const bool keys_held = view.light.held;
    if (keys_keep_light(view.light)) {
        show_lines(state, view, view.light.line);
        pf_wait_step(view.drew ? 0 : IDLE_STEP);
        return false;
    }
    if (keys_held)
        light_ok(view, false);  // the pointer's test lights it again if it is on the button
    show_lines(state, view, -1);
    const bool drew_values = view.drew;

    for (int line = 0; line < OK_LINE && view.hover_line < 0; line++)
        if (hover_line(state, view, line))
            return true;
    if (view.hover_line >= 0)
        return false;  // a key came: the next pass plays it
    view.drew = drew_values;
    const bool on_ok = pointer_in(LINE_BOXES[OK_LINE]);
    light_ok(view, on_ok);
    const int ok_clicked = clicked_box(LINE_BOXES, LINE_COUNT, on_ok ? OK_LINE : -1);
    if (ok_clicked >= 0)
        return click_line(state, view, ok_clicked);
    pf_wait_step(view.drew ? 0 : IDLE_STEP);
    return false;
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
    // The names are the game's difficulty table's, in its order.
    const int difficulty = state.difficulty;
    if (difficulty < 1 || difficulty > 3)
        return;
    state.difficulty = difficulty % 3 + 1;
    state.difficulty_label = DIFFICULTY_TABLE[state.difficulty - 1].name;
}

GameSettings run_options_board()
{
    OptionsState &state = options_state;
    pf_set_close_handler(on_options_close);
    draw_board_frame(260, 200, 480, 330, "QUADRO DE OPCOES", 305, OPTIONS_OK_X1, OPTIONS_OK_Y1,
                     OPTIONS_OK_X2, OPTIONS_OK_Y2);
    const int heading_colour = makecol(255, 100, 20);
    draw_board_text(275, 235, heading_colour, "VELOCIDADE:");
    draw_board_text(275, 250, heading_colour, "SOM:");
    draw_board_text(275, 265, heading_colour, "NIVEL:");
    draw_board_text(275, 280, heading_colour, "SENHA:");

    bool ok = false;
    OptionsView view;
    pf_drop_input();  // the key or click that opened the board is not the board's
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
