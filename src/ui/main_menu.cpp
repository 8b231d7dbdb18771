// The title screen: the picture that fills the window, the main menu's four labels drawn
// over it, and the hover-and-click test over them.
#include "ui/main_menu.h"

#include "font/alfont_extra.h"
#include "level/picture_header.h"
#include "platform/input.h"
#include "platform/timing.h"
#include "platform/window.h"
#include "ui/pointer_box.h"

#include <algorithm>
#include <cstdio>

BITMAP *title_bitmap = nullptr;
BITMAP *title_picture = nullptr;
ALFONT_FONT *menu_font = nullptr;
std::atomic<bool> menu_close_requested{false};

namespace {

constexpr const char *TITLE_PICTURE = "imagens/inicio.bmp";
constexpr const char *MENU_FONT = "fontes/flame.ttf";
constexpr int MENU_FONT_SIZE = 40;

// Only raises the flag that the menu loop polls.
void request_menu_close() { menu_close_requested = true; }

// The labels, and their hover boxes: a label is drawn at its box's top left corner; all four
// bounds are strict.
constexpr const char *MENU_LABELS[] = {"Iniciar", "Ajuda", "Opcoes", "Sair"};
constexpr PointerBox MENU_BOXES[] = {
    {90, 180, 210, 220, false},
    {90, 225, 205, 265, false},
    {90, 270, 220, 310, false},
    {90, 315, 160, 355, false},
};

constexpr int NO_BACKGROUND = -1;
constexpr int ITEM_COUNT = 4;

int normal_colour() { return makecol(235, 235, 235); }
int lit_colour() { return makecol(255, 255, 41); }

// The lit word's mark, beside it on the left: the light must show without its colour too.
constexpr const char *LIT_MARK = ">";
constexpr int LIT_MARK_GAP = 22;  // from the mark's place to the word's

// Draws label i at its place in `colour`, its mark before it when `colour` is the light.
void draw_label_text(BITMAP *target, int i, int colour)
{
    const PointerBox &at = MENU_BOXES[i];
    if (colour == lit_colour())
        alfont_textout_aa_ex(target, menu_font, LIT_MARK, at.left - LIT_MARK_GAP, at.top, colour,
                             NO_BACKGROUND);
    alfont_textout_aa_ex(target, menu_font, MENU_LABELS[i], at.left, at.top, colour,
                         NO_BACKGROUND);
}

// The pixels a label's glyphs can touch, corners included.
struct Box {
    int x1, y1, x2, y2;
};

bool overlap(const Box &a, const Box &b)
{
    return a.x1 <= b.x2 && b.x1 <= a.x2 && a.y1 <= b.y2 && b.y1 <= a.y2;
}

// The keys the menu answers: Up and Down move the light, Return and Space choose.
constexpr int MENU_KEYS[] = {KEY_UP, KEY_DOWN, KEY_ENTER, KEY_ENTER_PAD, KEY_SPACE};

// Each label's box for the font they were measured with, and the colour each label shows in
// title_bitmap now.
Box label_boxes[ITEM_COUNT];
ALFONT_FONT *measured_font = nullptr;
int label_colour[ITEM_COUNT];

// Finds each label's box by drawing it once lit on black, mark included: every pixel it changes,
// and two pixels more all round for the faintest edge pixels, which on black may round to
// nothing.
void measure_labels()
{
    if (measured_font == menu_font)
        return;
    BITMAP *scratch = create_bitmap(WINDOW_WIDTH, WINDOW_HEIGHT);
    for (int i = 0; i < ITEM_COUNT; i++) {
        const int item_y = MENU_BOXES[i].top;
        clear_to_color(scratch, 0);
        draw_label_text(scratch, i, lit_colour());
        Box box{WINDOW_WIDTH, WINDOW_HEIGHT, -1, -1};
        // A 40-pixel font reaches at most a font size above or below its drawing position.
        for (int y = std::max(item_y - 40, 0); y < std::min(item_y + 80, WINDOW_HEIGHT); y++)
            for (int x = 0; x < WINDOW_WIDTH; x++)
                if (getpixel(scratch, x, y) != 0) {
                    box = {std::min(box.x1, x), std::min(box.y1, y), std::max(box.x2, x),
                           std::max(box.y2, y)};
                }
        if (box.x2 >= 0)
            box = {std::max(box.x1 - 2, 0), std::max(box.y1 - 2, 0),
                   std::min(box.x2 + 2, WINDOW_WIDTH - 1), std::min(box.y2 + 2, WINDOW_HEIGHT - 1)};
        label_boxes[i] = box;
    }
    destroy_bitmap(scratch);
    measured_font = menu_font;
}

// Draws label i in `colour` into title_bitmap. Its box is first put back as the picture has
// it, and every label reaching into the box is drawn again there in its own colour, in menu
// order: the box then holds exactly what one drawing of the menu on the fresh picture gives,
// however often the label was drawn before.
void draw_label(int i, int colour)
{
    label_colour[i] = colour;
    if (!title_bitmap || !title_picture)
        return;
    measure_labels();
    const Box &box = label_boxes[i];
    if (box.x2 < box.x1)
        return;  // a font that draws nothing
    blit(title_picture, title_bitmap, box.x1, box.y1, box.x1, box.y1, box.x2 - box.x1 + 1,
         box.y2 - box.y1 + 1);
    set_clip_rect(title_bitmap, box.x1, box.y1, box.x2, box.y2);
    for (int j = 0; j < ITEM_COUNT; j++)
        if (overlap(label_boxes[j], box))
            draw_label_text(title_bitmap, j, label_colour[j]);
    set_clip_rect(title_bitmap, 0, 0, title_bitmap->w - 1, title_bitmap->h - 1);
}

void show_title_bitmap()
{
    if (!title_bitmap)
        return;
    blit(title_bitmap, pf_screen(), 0, 0, 0, 0, WINDOW_WIDTH, WINDOW_HEIGHT);
}

// The one label lit now in title_bitmap; -1 when none is.
int lit_item()
{
    for (int i = 0; i < ITEM_COUNT; i++)
        if (label_colour[i] == lit_colour())
            return i;
    return -1;
}

// Lights label i (none when -1) and puts every other label back to normal, copying the picture
// once when anything changed. True when it drew.
bool light_only(int item)
{
    bool drew = false;
    for (int i = 0; i < ITEM_COUNT; i++) {
        int colour = i == item ? lit_colour() : normal_colour();
        if (label_colour[i] != colour) {
            draw_label(i, colour);
            drew = true;
        }
    }
    if (drew)
        show_title_bitmap();
    return drew;
}

// Plays the menu keys pressed since the last look, in order: Up and Down light the previous or
// next label (wrapping round; from none, the last or the first) and keep the light until the
// pointer moves; Return or Space chooses the lit label, and with none lit lights the first (so
// that a first press always answers; the next one chooses). Returns the item chosen, or
// MENU_NONE.
int play_menu_keys(KeyLight &light)
{
    KeyPress press;
    while (pf_take_press(MENU_KEYS, 5, press)) {
        // The keys' word, also when the title was drawn afresh since they lit it.
        const int lit = light.held ? light.line : lit_item();
        int to = 0;
        if (press.scancode == KEY_UP || press.scancode == KEY_DOWN) {
            const bool down = press.scancode == KEY_DOWN;
            int from = lit >= 0 ? lit : (down ? ITEM_COUNT - 1 : 0);
            to = (from + (down ? 1 : ITEM_COUNT - 1)) % ITEM_COUNT;
        } else if (lit >= 0) {
            return lit + 1;
        }
        light_only(to);
        keys_take_light(light, to);
    }
    return MENU_NONE;
}

// The item a click chose (clicked_box over the items, the pointer on `hovered`), lit as it is
// chosen; MENU_NONE when none was.
int clicked_item(int hovered)
{
    const int item = clicked_box(MENU_BOXES, ITEM_COUNT, hovered);
    if (item < 0)
        return MENU_NONE;
    light_only(item);
    return item + 1;
}

// The picture from its file at the window's size; a black one (with a word on standard error)
// when the file is missing, so that the menu still works.
BITMAP *load_title_picture()
{
    BITMAP *picture = bmp_has_size(TITLE_PICTURE, WINDOW_WIDTH, WINDOW_HEIGHT)
                          ? load_bitmap(TITLE_PICTURE, nullptr)
                          : nullptr;
    if (picture && picture->w == WINDOW_WIDTH && picture->h == WINDOW_HEIGHT)
        return picture;
    if (!picture)
        fprintf(stderr, "Title picture \"%s\" could not be loaded; showing a black title.\n",
                TITLE_PICTURE);
    BITMAP *fitted = create_bitmap(WINDOW_WIDTH, WINDOW_HEIGHT);
    clear_to_color(fitted, makecol(0, 0, 0));
    if (picture) {
        blit(picture, fitted, 0, 0, 0, 0, picture->w, picture->h);
        destroy_bitmap(picture);
    }
    return fitted;
}

void release_title_pictures()
{
    if (title_bitmap)
        destroy_bitmap(title_bitmap);
    title_bitmap = nullptr;
    if (title_picture)
        destroy_bitmap(title_picture);
    title_picture = nullptr;
}

}  // namespace

void title_screen()
{
    // A fresh picture each time, and the earlier one freed: the title may be shown any number
    // of times. The font never changes, so it is loaded once.
    BITMAP *fresh = load_title_picture();
    release_title_pictures();
    title_picture = fresh;
    title_bitmap = create_bitmap(fresh->w, fresh->h);
    blit(fresh, title_bitmap, 0, 0, 0, 0, fresh->w, fresh->h);
    if (!menu_font) {
        menu_font = alfont_load_font(MENU_FONT);
        alfont_set_font_size(menu_font, MENU_FONT_SIZE);
    }
    blit(title_bitmap, pf_screen(), 0, 0, 0, 0, WINDOW_WIDTH, WINDOW_HEIGHT);
    draw_main_menu();
    pf_wait_step(0);  // in the window before the title's tune starts
    pf_drop_input();  // keys struck and clicks made on a board or in a game are not the menu's
}

void release_title_screen()
{
    release_title_pictures();
    if (menu_font)
        alfont_destroy_font(menu_font);
    menu_font = nullptr;
    // A font loaded later may get the freed one's address: its labels must be measured anew.
    measured_font = nullptr;
}

void install_menu_close_handler() { pf_set_close_handler(request_menu_close); }

void draw_main_menu()
{
    for (int i = 0; i < ITEM_COUNT; i++)
        label_colour[i] = normal_colour();
    for (int i = 0; i < ITEM_COUNT; i++)
        draw_label(i, normal_colour());
    show_title_bitmap();
}

int poll_main_menu(KeyLight &light)
{
    int chosen = play_menu_keys(light);
    if (chosen != MENU_NONE)
        return chosen;
    // A short click counts where it went down, whatever the keys lit since.
    chosen = clicked_item(-1);
    if (chosen != MENU_NONE)
        return chosen;
    if (keys_keep_light(light)) {
        // Lit again if the title was drawn afresh (a board closed) since the keys lit it.
        pf_wait_step(light_only(light.line) ? 0 : IDLE_STEP);
        return MENU_NONE;
    }
    for (int i = 0; i < ITEM_COUNT; i++) {
        while (!menu_close_requested && pointer_in(MENU_BOXES[i])) {
            // Only this label lit: one lit on the way from another is put back at once.
            bool drew = light_only(i);
            chosen = clicked_item(i);
            if (chosen != MENU_NONE)
                return chosen;
            chosen = play_menu_keys(light);
            if (chosen != MENU_NONE || light.held)
                return chosen;
            pf_wait_step(drew ? 0 : IDLE_STEP);
        }
    }
    // On no label: every label back to normal, copied once if any was lit. A short click made
    // meanwhile is taken by the next pass.
    pf_wait_step(light_only(-1) ? 0 : IDLE_STEP);
    return MENU_NONE;
}
