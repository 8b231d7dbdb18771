// The pointer over the game's window: X's own cursor drawn with the game's pointer picture
// at the picture's scale, and the pointer's place in picture pixels.
#include "platform/window_pointer.h"

#include "platform/input_queue.h"
#include "platform/window.h"
#include "platform/x_window.h"

#include <allegro.h>

#include <atomic>
#include <cstdint>

namespace {

struct Pointer {
    Placement at;                     // the picture's place in the window
    BITMAP *sprite = nullptr;         // the pointer at picture size
    BITMAP *scaled_sprite = nullptr;  // and at the picture's scale in the window (owned here)
    BITMAP *own_sprite = nullptr;     // a copy of the library's arrow, when it is the pointer
    int focus_x = 0, focus_y = 0;
    bool shown = false;
    // The pointer's place in the window after the window changed, and the place the library
    // had last reported then (as mouse_pos packs it): it holds while the library reports that
    // place. Read on the library's thread too.
    std::atomic<PointerAt> asked{PointerAt{0, 0}};
    std::atomic<int> reported_then{0};
    std::atomic<bool> asked_holds{false};
};

Pointer pointer;

// The pointer at the picture's scale in the window, shown or hidden as the game last asked.
void apply_pointer()
{
    if (pointer.scaled_sprite) {
        destroy_bitmap(pointer.scaled_sprite);
        pointer.scaled_sprite = nullptr;
    }
    BITMAP *sprite = pointer.sprite;
    auto scaled = [](int n) { return n * pointer.at.w / WINDOW_WIDTH; };
    if (sprite && pointer.at.w != WINDOW_WIDTH) {
        pointer.scaled_sprite = create_bitmap(scaled(sprite->w), scaled(sprite->h));
        if (pointer.scaled_sprite) {
            stretch_blit(sprite, pointer.scaled_sprite, 0, 0, sprite->w, sprite->h, 0, 0,
                         pointer.scaled_sprite->w, pointer.scaled_sprite->h);
            sprite = pointer.scaled_sprite;
        }
    }
    if (sprite) {
        set_mouse_sprite_focus(scaled(pointer.focus_x), scaled(pointer.focus_y));
        set_mouse_sprite(sprite);
        set_mouse_sprite_focus(scaled(pointer.focus_x), scaled(pointer.focus_y));
    }
    if (pointer.shown) {
        select_mouse_cursor(MOUSE_CURSOR_ALLEGRO);
        enable_hardware_cursor();
        show_mouse(screen);
    } else {
        // show_mouse(NULL) leaves X's cursor on the window: an invisible one hides it.
        select_mouse_cursor(MOUSE_CURSOR_NONE);
        show_mouse(nullptr);
    }
    mirror_cursor();
}

}  // namespace

void scale_pointer(const Placement &at)
{
    pointer.at = at;
    apply_pointer();
}

namespace {

int packed(PointerAt at) { return (int)((unsigned)(at.x & 0xFFFF) << 16 | (at.y & 0xFFFF)); }

}  // namespace

PointerAt pointer_in_picture(PointerAt at)
{
    if (pointer.asked_holds && packed(at) == pointer.reported_then)
        at = pointer.asked;
    else
        pointer.asked_holds = false;
    return {picture_coordinate(at.x, pointer.at.x, pointer.at.w, WINDOW_WIDTH),
            picture_coordinate(at.y, pointer.at.y, pointer.at.h, WINDOW_HEIGHT)};
}

void follow_pointer()
{
    const PointerPlace at = pointer_place();
    pointer.reported_then = packed(pf_recorded_pointer());
    pointer.asked = PointerAt{at.window_x, at.window_y};
    pointer.asked_holds = true;
}

BITMAP *pf_load_pointer(const char *path)
{
    BITMAP *const loaded = load_bitmap(path, nullptr);
    BITMAP *sprite = loaded;
    if (pointer.own_sprite) {
        destroy_bitmap(pointer.own_sprite);
        pointer.own_sprite = nullptr;
    }
    set_mouse_sprite(sprite);
    pointer.focus_x = mouse_x_focus;
    pointer.focus_y = mouse_y_focus;
    if (!sprite && mouse_sprite) {
        // The library's arrow is replaced by its scaled copy later: keep one of our own.
        pointer.own_sprite = create_bitmap(mouse_sprite->w, mouse_sprite->h);
        if (pointer.own_sprite)
            blit(mouse_sprite, pointer.own_sprite, 0, 0, 0, 0, mouse_sprite->w, mouse_sprite->h);
        sprite = pointer.own_sprite;
    }
    pointer.sprite = sprite;
    apply_pointer();
    return loaded;
}

void pf_show_pointer(BITMAP *target)
{
    // A pointer drawn by the library lives in the screen's pixels: every copy of the title
    // over it wiped it. X's own cursor floats above them.
    pointer.shown = target != nullptr;
    apply_pointer();
}

