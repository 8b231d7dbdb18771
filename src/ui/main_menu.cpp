// The main menu's four labels and the busy hover-and-click test over them.
#include "ui/main_menu.h"

#include "platform/platform.h"
#include "shell/shell.h"

namespace {

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

void draw_label(const MenuItem &item, int colour)
{
    if (title_bitmap)
        alfont_textout_aa_ex(title_bitmap, menu_font, item.label, item.x, item.y, colour,
                             NO_BACKGROUND);
}

void show_title_bitmap()
{
    if (title_bitmap)
        blit(title_bitmap, pf_screen(), 0, 0, 0, 0, WINDOW_WIDTH, WINDOW_HEIGHT);
}

// Each comparison reads the pointer afresh, left edge, top, right, bottom, and stops at the
// first that fails: the pointer may move between two of them.
bool pointer_on(const MenuItem &item)
{
    return pf_mouse_x() > item.x && pf_mouse_y() > item.y && pf_mouse_x() < item.right &&
           pf_mouse_y() < item.bottom;
}

}  // namespace

void draw_main_menu()
{
    for (const MenuItem &item : MENU_ITEMS)
        draw_label(item, makecol(235, 235, 235));
    show_title_bitmap();
}

int poll_main_menu()
{
    for (int i = 0; i < 4; i++) {
        while (pointer_on(MENU_ITEMS[i])) {
            draw_label(MENU_ITEMS[i], makecol(255, 255, 41));
            show_title_bitmap();
            // A click is the left button alone, taken while it is held.
            if (pf_mouse_b() == 1)
                return i + 1;
        }
    }
    draw_main_menu();
    return MENU_NONE;
}
