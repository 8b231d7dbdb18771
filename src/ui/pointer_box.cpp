// The shared hover test, click and key light of the menu and the boards.
#include "ui/pointer_box.h"

#include "platform/input_latch.h"

bool pointer_in(const PointerBox &box)
{
    const PointerAt at = pf_pointer();
    if (box.edges_in)
        return box.left <= at.x && at.x <= box.right && box.top <= at.y && at.y <= box.bottom;
    return box.left < at.x && at.x < box.right && box.top < at.y && at.y < box.bottom;
}

bool pointer_clicked()
{
    bool latched = pf_take_click();
    return pf_mouse_b() == 1 || latched;
}

void keys_take_light(KeyLight &light, int line)
{
    light.line = line;
    light.held = true;
    light.pointer = pf_pointer();
}

bool keys_keep_light(KeyLight &light)
{
    if (!light.held)
        return false;
    if (pf_pointer() == light.pointer && pf_mouse_b() != 1)
        return true;
    light.held = false;
    return false;
}
