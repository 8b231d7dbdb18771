// Reads a window's WM_CLASS, its WM_HINTS icon pixmap and its CARDINAL properties from the X
// server.
#include "package_window.h"

#include <X11/Xlib.h>
#include <X11/Xatom.h>
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

std::vector<unsigned long> cardinal_property(Display *x, Window w, const char *name)
{
    Atom type;
    int format;
    unsigned long count = 0, left = 0;
    unsigned char *data = nullptr;
    std::vector<unsigned long> values;
    if (XGetWindowProperty(x, w, XInternAtom(x, name, False), 0, 1 << 20, False, XA_CARDINAL,
                           &type, &format, &count, &left, &data) == Success && data) {
        // Format 32 comes back as longs, whatever their size, sign extended.
        const unsigned long *words = reinterpret_cast<const unsigned long *>(data);
        for (unsigned long i = 0; i < count; i++)
            values.push_back(words[i] & 0xFFFFFFFFul);
    }
    if (data)
        XFree(data);
    return values;
}
