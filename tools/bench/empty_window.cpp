// The floor of the window figures: an Allegro program that opens the game's 512 x 384 window
// at depth 16, fills it with the menu words' colour, answers a hover over the "Iniciar" box
// and otherwise waits, resting, until its window is closed.
#include <allegro.h>

namespace {

volatile int close_requested = 0;
void on_close() { close_requested = 1; }

bool pointer_in_box() { return mouse_x > 90 && mouse_y > 180 && mouse_x < 210 && mouse_y < 220; }

}  // namespace

int main()
{
    if (allegro_init() != 0)
        return 1;
    set_color_depth(16);
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, 512, 384, 0, 0) != 0)
        return 1;
    set_window_title("Pitlorex vazio");
    install_timer();
    install_keyboard();
    install_mouse();
    set_close_button_callback(on_close);
    const int normal = makecol(235, 235, 235), hover = makecol(255, 255, 41);
    clear_to_color(screen, normal);
    bool lit = false;
    while (!close_requested) {
        bool in = pointer_in_box();
        if (in != lit) {
            lit = in;
            rectfill(screen, 91, 181, 209, 219, lit ? hover : normal);
        }
        rest(1);
    }
    return 0;
}
END_OF_MAIN()
