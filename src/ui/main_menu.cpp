// The title screen: the picture that fills the window, the main menu's four labels drawn
// over it, and the hover-and-click test over them.
#include "ui/main_menu.h"

#include "font/alfont_extra.h"
#include "level/picture_header.h"
#include "platform/input_latch.h"
#include "platform/platform.h"
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

// Runs on the library's thread: only raises the flag that the menu loop polls.
void request_menu_close() { menu_close_requested = true; }

// A label, where it is drawn, and the far edges of its hover box. The box's near edges are the
// drawing position itself; all four bounds are strict.
struct MenuItem {
    const char *label;
    int x, y;
    int right, bottom;
};

constexpr MenuItem MENU_ITEMS[] = {
    {"Iniciar", 90, 180, 210, 220},
    {"Ajuda", 90, 225, 205, 265},
    {"Opcoes", 90, 270, 220, 310},
    {"Sair", 90, 315, 160, 355},
};

constexpr int NO_BACKGROUND = -1;
constexpr int ITEM_COUNT = 4;

int normal_colour() { return makecol(235, 235, 235); }
int lit_colour() { return makecol(255, 255, 41); }

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

// The one label lit now (-1: none). While the keys hold the light, the pointer's place when
// they took it: the pointer takes the light back once it moves.
int lit_item = -1;
bool keys_hold_light = false;
PointerAt pointer_at_keys{0, 0};

// Each label's box for the font they were measured with, and the colour each label shows in
// title_bitmap now.
Box label_boxes[ITEM_COUNT];
ALFONT_FONT *measured_font = nullptr;
int label_colour[ITEM_COUNT];

// Finds each label's box by drawing it once on black: every pixel it changes, and two pixels
// more all round for the faintest edge pixels, which on black may round to nothing.
void measure_labels()
{
    if (measured_font == menu_font)
        return;
    BITMAP *scratch = create_bitmap(WINDOW_WIDTH, WINDOW_HEIGHT);
    for (int i = 0; i < ITEM_COUNT; i++) {
        const MenuItem &item = MENU_ITEMS[i];
        clear_to_color(scratch, 0);
        alfont_textout_aa_ex(scratch, menu_font, item.label, item.x, item.y,
                             makecol(255, 255, 255), NO_BACKGROUND);
        Box box{WINDOW_WIDTH, WINDOW_HEIGHT, -1, -1};
        // A 40-pixel font reaches at most a font size above or below its drawing position.
        for (int y = std::max(item.y - 40, 0); y < std::min(item.y + 80, WINDOW_HEIGHT); y++)
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
            alfont_textout_aa_ex(title_bitmap, menu_font, MENU_ITEMS[j].label, MENU_ITEMS[j].x,
                                 MENU_ITEMS[j].y, label_colour[j], NO_BACKGROUND);
    set_clip_rect(title_bitmap, 0, 0, title_bitmap->w - 1, title_bitmap->h - 1);
}

void show_title_bitmap()
{
    if (!title_bitmap)
        return;
    pf_scare_mouse();
    blit(title_bitmap, pf_screen(), 0, 0, 0, 0, WINDOW_WIDTH, WINDOW_HEIGHT);
    pf_unscare_mouse();
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
    lit_item = item;
    return drew;
}

// Plays the menu keys pressed since the last look, in order: Up and Down light the previous or
// next label (wrapping round; from none, the last or the first) and keep the light until the
// pointer moves; Return or Space chooses the lit label. Returns the item chosen, or MENU_NONE.
int play_menu_keys()
{
    KeyPress press;
    while (pf_take_press(MENU_KEYS, 5, press)) {
        if (press.scancode == KEY_UP || press.scancode == KEY_DOWN) {
            const bool down = press.scancode == KEY_DOWN;
            int from = lit_item >= 0 ? lit_item : (down ? ITEM_COUNT - 1 : 0);
            int step = down ? 1 : ITEM_COUNT - 1;
            light_only((from + step) % ITEM_COUNT);
            keys_hold_light = true;
            pointer_at_keys = pf_pointer();
        } else if (lit_item >= 0) {
            return lit_item + 1;
        }
    }
    return MENU_NONE;
}

// A click: the left button alone held now, or pressed and let go since the last look.
bool menu_clicked()
{
    PointerAt click_at{};
    bool latched = pf_take_click(click_at);
    return pf_mouse_b() == 1 || latched;
}

bool pointer_on(const MenuItem &item)
{
    return pointer_in({item.x, item.y, item.right, item.bottom, false});
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
    pf_scare_mouse();
    blit(title_bitmap, pf_screen(), 0, 0, 0, 0, WINDOW_WIDTH, WINDOW_HEIGHT);
    pf_unscare_mouse();
    draw_main_menu();
    pf_drop_input();  // keys struck on a board or in a game are not the menu's
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

void install_menu_close_handler() { pf_set_close_button_callback(request_menu_close); }

void draw_main_menu()
{
    lit_item = -1;
    keys_hold_light = false;
    for (int i = 0; i < ITEM_COUNT; i++)
        label_colour[i] = normal_colour();
    for (int i = 0; i < ITEM_COUNT; i++)
        draw_label(i, normal_colour());
    show_title_bitmap();
}

int poll_main_menu()
{
    int chosen = play_menu_keys();
    if (chosen != MENU_NONE)
        return chosen;
    if (keys_hold_light) {
        // The lit label stays the keys' until the pointer moves or clicks.
        if (pf_pointer() == pointer_at_keys && pf_mouse_b() != 1) {
            PointerAt ignored;
            pf_take_click(ignored);
            pf_present();
            pf_idle();
            return MENU_NONE;
        }
        keys_hold_light = false;
    }
    for (int i = 0; i < ITEM_COUNT; i++) {
        while (!menu_close_requested && pointer_on(MENU_ITEMS[i])) {
            // Only this label lit: one lit on the way from another is put back at once.
            bool drew = light_only(i);
            if (menu_clicked())
                return i + 1;
            chosen = play_menu_keys();
            if (chosen != MENU_NONE || keys_hold_light)
                return chosen;
            pf_present();
            if (!drew)
                pf_idle();  // the same picture: no copy, let the processor rest
        }
    }
    // On no label: every label back to normal, copied once if any was lit; a click there, or
    // one latched before the pointer came, chooses nothing.
    PointerAt ignored;
            pf_take_click(ignored);
    bool drew = light_only(-1);
    pf_present();
    if (!drew)
        pf_idle();
    return MENU_NONE;
}
