// The shared hover test of the menu and the boards.
#include "ui/pointer_box.h"

#include "platform/platform.h"

bool pointer_in(const PointerBox &box)
{
    const PointerAt at = pf_pointer();
    if (box.edges_in)
        return box.left <= at.x && at.x <= box.right && box.top <= at.y && at.y <= box.bottom;
    return box.left < at.x && at.x < box.right && box.top < at.y && at.y < box.bottom;
}
