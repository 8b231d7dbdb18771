// Reads a window's WM_CLASS and its WM_HINTS icon pixmap from the X server.
#include "package_window.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

std::string window_class(Display *x, Window w)
{
    XClassHint hint{};
    if (!XGetClassHint(x, w, &hint))
        return "";
    std::string both = std::string(hint.res_name ? hint.res_name : "") + "." +
                       (hint.res_class ? hint.res_class : "");
    XFree(hint.res_name);
    XFree(hint.res_class);
    return both;
}

RgbImage window_icon(Display *x, Window w)
{
    RgbImage icon;
    XWMHints *hints = XGetWMHints(x, w);
    if (!hints)
        return icon;
    Pixmap pixmap = (hints->flags & IconPixmapHint) ? hints->icon_pixmap : 0;
    XFree(hints);
    Window root;
    int px, py;
    unsigned width, height, border, depth;
    if (!pixmap || !XGetGeometry(x, pixmap, &root, &px, &py, &width, &height, &border, &depth))
        return icon;
    XImage *image = XGetImage(x, pixmap, 0, 0, width, height, AllPlanes, ZPixmap);
    if (!image)
        return icon;
    // The session's Xvfb is 24-bit TrueColor: red, green and blue are the pixel's three bytes.
    icon.width = int(width);
    icon.height = int(height);
    for (int row = 0; row < icon.height; row++)
        for (int col = 0; col < icon.width; col++) {
            unsigned long p = XGetPixel(image, col, row);
            icon.rgb.push_back(uint8_t(p >> 16));
            icon.rgb.push_back(uint8_t(p >> 8));
            icon.rgb.push_back(uint8_t(p));
        }
    XDestroyImage(image);
    return icon;
}
