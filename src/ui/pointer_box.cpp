// The shared hover test, click and key light of the menu and the boards.
#include "ui/pointer_box.h"

#include "platform/input.h"

bool box_holds(const PointerBox &box, PointerAt at)
{
    if (box.edges_in)
        return box.left <= at.x && at.x <= box.right && box.top <= at.y && at.y <= box.bottom;
    return box.left < at.x && at.x < box.right && box.top < at.y && at.y < box.bottom;
}

bool pointer_in(const PointerBox &box) { return box_holds(box, pf_pointer()); }

int clicked_box(const PointerBox *boxes, int count, int hovered)
{
    PointerAt at{0, 0};
    const bool latched = pf_take_click(at);
    if (hovered >= 0 && pf_button_held())
        return hovered;
    for (int i = 0; latched && i < count; i++)
        if (box_holds(boxes[i], at))
            return i;
    return -1;
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
    if (pf_pointer() == light.pointer && !pf_button_held())
        return true;
    light.held = false;
    return false;
}
