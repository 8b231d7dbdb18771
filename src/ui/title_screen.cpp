// The title screen: the picture that fills the window, with the menu drawn over it.
#include "ui/main_menu.h"

#include "font/alfont_extra.h"
#include "level/picture_header.h"
#include "platform/platform.h"
#include "shell/shell.h"

#include <cstdio>

BITMAP *title_bitmap = nullptr;
ALFONT_FONT *menu_font = nullptr;

namespace {

constexpr const char *TITLE_PICTURE = "imagens/inicio.bmp";
constexpr const char *MENU_FONT = "fontes/flame.ttf";
constexpr int MENU_FONT_SIZE = 40;

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

}  // namespace

void title_screen()
{
    // A fresh picture each time, and the earlier one freed: the title may be shown any number
    // of times. The font never changes, so it is loaded once.
    BITMAP *fresh = load_title_picture();
    if (title_bitmap)
        destroy_bitmap(title_bitmap);
    title_bitmap = fresh;
    if (!menu_font) {
        menu_font = alfont_load_font(MENU_FONT);
        alfont_set_font_size(menu_font, MENU_FONT_SIZE);
    }
    blit(title_bitmap, pf_screen(), 0, 0, 0, 0, WINDOW_WIDTH, WINDOW_HEIGHT);
    draw_main_menu();
}

void release_title_screen()
{
    if (title_bitmap)
        destroy_bitmap(title_bitmap);
    title_bitmap = nullptr;
    if (menu_font)
        alfont_destroy_font(menu_font);
    menu_font = nullptr;
}
