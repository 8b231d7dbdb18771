// The window's frame on Xlib. Why not the library's screen: Allegro 4's screen has the size
// given to set_gfx_mode, and opening the mode anew to follow the window unmaps and maps it
// again (the window manager then forgets its place and state, and the screen is null for a
// moment, or for good when it fails). So the mode is opened once; its drawing window, a child
// of the managed one, is unmapped, and the frame is presented on the managed window itself, as
// its background pixmap: one copy to the server, and exposures repainted without the game.
#include "platform/window_present.h"

#include <allegro.h>
#include <xalleg.h>  // after allegro.h; its Xlib macros stay in this file

#include <cstdlib>
#include <vector>

namespace {

struct XFrame {
    std::vector<uint32_t> pixels;
    int w = 0, h = 0;
    Pixmap pixmap = None;
    GC gc = nullptr;
    XImage *image = nullptr;  // over `pixels` when the visual takes 0x00RRGGBB as it is
    XImage *converted = nullptr;  // otherwise, pixel by pixel
};

XFrame xf;

bool takes_rgb_as_is(const XImage *image)
{
    return image->bits_per_pixel == 32 && image->red_mask == 0xFF0000 &&
           image->green_mask == 0x00FF00 && image->blue_mask == 0x0000FF;
}

void drop_images()
{
    if (xf.image) {
        xf.image->data = nullptr;  // the vector's, not Xlib's
        XDestroyImage(xf.image);
        xf.image = nullptr;
    }
    if (xf.converted) {
        XDestroyImage(xf.converted);
        xf.converted = nullptr;
    }
}

// The image that carries the frame to the server, in the window's visual.
bool make_images(Display *x, int depth)
{
    xf.image = XCreateImage(x, _xwin.visual, depth, ZPixmap, 0, (char *)xf.pixels.data(), xf.w,
                            xf.h, 32, xf.w * 4);
    if (!xf.image)
        return false;
    const int one = 1;
    xf.image->byte_order = *(const char *)&one ? LSBFirst : MSBFirst;
    if (takes_rgb_as_is(xf.image))
        return true;
    xf.image->data = nullptr;
    XDestroyImage(xf.image);
    xf.image = nullptr;
    xf.converted = XCreateImage(x, _xwin.visual, depth, ZPixmap, 0, nullptr, xf.w, xf.h, 32, 0);
    if (!xf.converted)
        return false;
    xf.converted->data = (char *)malloc((size_t)xf.converted->bytes_per_line * xf.h);
    return xf.converted->data != nullptr;
}

// The rarely needed path for a visual of another layout: each pixel through XPutPixel.
void convert(const FrameRect &r)
{
    XImage *img = xf.converted;
    auto place = [](unsigned long mask, uint32_t channel) {
        if (!mask)
            return 0UL;
        int shift = 0, bits = 0;
        while (!(mask >> shift & 1))
            shift++;
        while (mask >> (shift + bits) & 1)
            bits++;
        return (unsigned long)(bits >= 8 ? channel << (bits - 8) : channel >> (8 - bits)) << shift;
    };
    for (int y = r.y; y < r.y + r.h; y++)
        for (int x = r.x; x < r.x + r.w; x++) {
            uint32_t p = xf.pixels[(size_t)y * xf.w + x];
            XPutPixel(img, x, y,
                      place(img->red_mask, p >> 16 & 255) | place(img->green_mask, p >> 8 & 255) |
                          place(img->blue_mask, p & 255));
        }
}

}  // namespace

bool frame_resize(int w, int h)
{
    if (w == xf.w && h == xf.h && xf.pixmap != None)
        return true;
    XLOCK();
    Display *x = _xwin.display;
    XWindowAttributes attributes;
    XGetWindowAttributes(x, _xwin.wm_window, &attributes);
    Pixmap pixmap = XCreatePixmap(x, _xwin.wm_window, w, h, attributes.depth);
    if (pixmap == None) {
        XUNLOCK();
        return false;
    }
    drop_images();
    if (xf.pixmap != None)
        XFreePixmap(x, xf.pixmap);
    if (!xf.gc)
        xf.gc = XCreateGC(x, pixmap, 0, nullptr);
    xf.pixmap = pixmap;
    xf.w = w;
    xf.h = h;
    xf.pixels.assign((size_t)w * h, 0);
    bool made = make_images(x, attributes.depth);
    XSetForeground(x, xf.gc, BlackPixel(x, _xwin.screen));
    XFillRectangle(x, pixmap, xf.gc, 0, 0, w, h);
    XSetWindowBackgroundPixmap(x, _xwin.wm_window, pixmap);
    // The library's drawing window would cover the frame with its own stale screen.
    XUnmapWindow(x, _xwin.window);
    XClearWindow(x, _xwin.wm_window);
    XFlush(x);
    XUNLOCK();
    return made;
}

Frame frame_pixels() { return {xf.pixels.data(), xf.w, xf.h, xf.w}; }

void frame_show(const FrameRect &r)
{
    if (r.w <= 0 || r.h <= 0 || xf.pixmap == None)
        return;
    XLOCK();
    Display *x = _xwin.display;
    if (xf.converted)
        convert(r);
    XImage *image = xf.image ? xf.image : xf.converted;
    if (image) {
        XPutImage(x, xf.pixmap, xf.gc, image, r.x, r.y, r.x, r.y, r.w, r.h);
        XClearArea(x, _xwin.wm_window, r.x, r.y, r.w, r.h, False);
        XFlush(x);
    }
    XUNLOCK();
}
