// Reads a window's WM_CLASS, its icons (WM_HINTS and _NET_WM_ICON) and its _NET_WM_PID from
// the X server.
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

// The pixels of a drawable, `width` x `height`, as XGetPixel gives them; empty on failure.
static std::vector<unsigned long> drawable_pixels(Display *x, Drawable d, unsigned &width,
                                                  unsigned &height)
{
    Window root;
    int px, py;
    unsigned border, depth;
    std::vector<unsigned long> pixels;
    if (!d || !XGetGeometry(x, d, &root, &px, &py, &width, &height, &border, &depth))
        return pixels;
    XImage *image = XGetImage(x, d, 0, 0, width, height, AllPlanes, ZPixmap);
    if (!image)
        return pixels;
    for (unsigned row = 0; row < height; row++)
        for (unsigned col = 0; col < width; col++)
            pixels.push_back(XGetPixel(image, int(col), int(row)));
    XDestroyImage(image);
    return pixels;
}

// Appends a pixel given as 0xAARRGGBB; a clear one as all 0.
static void push_argb(IconPicture &icon, unsigned long argb)
{
    if ((argb >> 24 & 0xff) == 0)
        argb = 0;
    icon.rgba.insert(icon.rgba.end(), {uint8_t(argb >> 16), uint8_t(argb >> 8), uint8_t(argb),
                                       uint8_t(argb >> 24)});
}

IconPicture hints_icon(Display *x, Window w)
{
    IconPicture icon;
    XWMHints *hints = XGetWMHints(x, w);
    if (!hints)
        return icon;
    Pixmap pixmap = (hints->flags & IconPixmapHint) ? hints->icon_pixmap : 0;
    Pixmap mask = (hints->flags & IconMaskHint) ? hints->icon_mask : 0;
    XFree(hints);
    unsigned width = 0, height = 0, mask_width = 0, mask_height = 0;
    std::vector<unsigned long> colour = drawable_pixels(x, pixmap, width, height);
    std::vector<unsigned long> shape = drawable_pixels(x, mask, mask_width, mask_height);
    if (colour.empty())
        return icon;
    // The session's Xvfb is 24-bit TrueColor: red, green and blue are the pixel's three bytes.
    // No mask leaves every pixel opaque.
    bool masked = mask_width == width && mask_height == height;
    icon.width = int(width);
    icon.height = int(height);
    for (size_t i = 0; i < colour.size(); i++)
        push_argb(icon, (masked && !shape[i] ? 0ul : 0xFF000000ul) | (colour[i] & 0xFFFFFF));
    return icon;
}

IconPicture net_wm_icon(Display *x, Window w, int size)
{
    IconPicture icon;
    Atom type;
    int format;
    unsigned long count = 0, left = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(x, w, XInternAtom(x, "_NET_WM_ICON", False), 0, 1 << 20, False,
                           XA_CARDINAL, &type, &format, &count, &left, &data) != Success ||
        !data)
        return icon;
    // Format 32 comes back as longs: pictures one after another, each width, height, pixels.
    const unsigned long *words = reinterpret_cast<const unsigned long *>(data);
    for (unsigned long at = 0; at + 2 <= count && icon.width == 0;) {
        unsigned long width = words[at], height = words[at + 1];
        if (at + 2 + width * height > count)
            break;
        if (width == unsigned(size) && height == unsigned(size)) {
            icon.width = icon.height = size;
            for (unsigned long i = 0; i < width * height; i++)
                push_argb(icon, words[at + 2 + i] & 0xFFFFFFFF);
        }
        at += 2 + width * height;
    }
    XFree(data);
    return icon;
}

long window_pid(Display *x, Window w)
{
    Atom type;
    int format;
    unsigned long count = 0, left = 0;
    unsigned char *data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(x, w, XInternAtom(x, "_NET_WM_PID", False), 0, 1, False,
                           XA_CARDINAL, &type, &format, &count, &left, &data) == Success &&
        data && count == 1)
        pid = *reinterpret_cast<const long *>(data);
    if (data)
        XFree(data);
    return pid;
}
