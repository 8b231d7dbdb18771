// The present: the game's picture shown in the window at the window's size. Why not the
// library's screen: Allegro 4's screen has the size given to set_gfx_mode, and opening the mode
// anew to follow the window unmaps and maps it again (the window manager then forgets its place
// and state, and the screen is null for a moment, or for good when it fails). So the mode is
// opened once; its drawing window, a child of the managed one, is unmapped, and the frame is
// the background pixmap of a window of ours in the middle of the managed one, no larger than the
// largest monitor: one copy to the server, and exposures repainted without the game.
#include "platform/window_present.h"

#include "platform/desktop_watch.h"
#include "platform/picture_scaler.h"
#include "platform/window.h"
#include "platform/window_keys.h"
#include "platform/window_pointer.h"
#include "platform/x_window.h"

#include <xalleg.h>  // after allegro.h; its Xlib macros stay in this file

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The game's picture, its place in the frame, and the frame that shows it: the background
// pixmap of a window of ours, and its pixels in memory.
struct WindowPicture {
    BITMAP *picture = nullptr;  // what the game draws
    BITMAP *shown = nullptr;    // what the window shows of it, at picture size
    Placement at;
    Size size;                  // the window's size as last granted
    Clock::time_point changed_at, repainted_at;  // the window's last change, and repaint
    // What ends the game when the window cannot be shown again (the shell's Erro 01 box).
    void (*failure_handler)() = nullptr;
    std::vector<uint32_t> pixels;
    int w = 0, h = 0;           // the frame's size
    Window window = 0;          // ours, inside the game's, the frame its background
    Pixmap pixmap = None;
    GC gc = nullptr;
    XImage *image = nullptr;  // over `pixels` when the visual takes 0x00RRGGBB as it is
    XImage *converted = nullptr;  // otherwise, pixel by pixel
};

WindowPicture xf;

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

// Makes the frame w x h (all black) the background of a window of ours inside the game's, in
// its middle, the game's own black around it, and hides the library's drawing window. False
// when the X server could not make it (the old frame stays) or the visual shows no true colour.
bool make_frame(int w, int h, int window_w, int window_h)
{
    XLOCK();
    Display *x = _xwin.display;
    if (!xf.window) {
        xf.window = XCreateSimpleWindow(x, _xwin.wm_window, 0, 0, w, h, 0, 0, 0);
        XSetWindowBackground(x, _xwin.wm_window, BlackPixel(x, _xwin.screen));
        XMapWindow(x, xf.window);
    }
    XMoveResizeWindow(x, xf.window, (window_w - w) / 2, (window_h - h) / 2, w, h);
    XClearWindow(x, _xwin.wm_window);
    Pixmap pixmap = None;
    XWindowAttributes attributes;
    XGetWindowAttributes(x, _xwin.wm_window, &attributes);
    const bool true_colour = attributes.visual->c_class == TrueColor && attributes.depth >= 15;
    if ((w != xf.w || h != xf.h || xf.pixmap == None) && true_colour)
        pixmap = XCreatePixmap(x, _xwin.wm_window, w, h, attributes.depth);
    if (pixmap == None) {
        XFlush(x);
        XUNLOCK();
        return xf.pixmap != None && w == xf.w && h == xf.h;
    }
    drop_images();
    if (xf.pixmap != None)
        XFreePixmap(x, xf.pixmap);
    if (!xf.gc)
        xf.gc = XCreateGC(x, pixmap, 0, nullptr);
    xf.pixmap = pixmap;
    xf.w = w;
    xf.h = h;
    // A fresh buffer, so that a smaller size gives the memory of a larger one back.
    std::vector<uint32_t>((size_t)w * h, 0).swap(xf.pixels);
    bool made = make_images(x, attributes.depth);
    XSetForeground(x, xf.gc, BlackPixel(x, _xwin.screen));
    XFillRectangle(x, pixmap, xf.gc, 0, 0, w, h);
    XSetWindowBackgroundPixmap(x, xf.window, pixmap);
    // The library's drawing window would cover the frame with its own stale screen.
    XUnmapWindow(x, _xwin.window);
    XClearWindow(x, xf.window);
    XFlush(x);
    XUNLOCK();
    return made;
}

// Sends `r` of the frame to the X server and shows it in the window.
void show_frame(const FrameRect &r)
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
        XClearArea(x, xf.window, r.x, r.y, r.w, r.h, False);
        XFlush(x);
    }
    XUNLOCK();
}


// Copies `area` of the picture to the window; returns what that cost beyond 1x, in microseconds.
long present(const PictureRect &area)
{
    if (area.w <= 0)
        return 0;
    const Clock::time_point start = Clock::now();
    FrameRect painted =
        present_rect(xf.picture, xf.shown, {xf.pixels.data(), xf.w, xf.h, xf.w}, xf.at, area);
    show_frame(painted);
    const long spent = (long)std::chrono::duration_cast<std::chrono::microseconds>(
                           Clock::now() - start).count();
    const long window_pixels = (long)painted.w * painted.h;
    if (window_pixels <= 0)
        return 0;
    return spent - spent * ((long)area.w * area.h) / window_pixels;
}

// A compositing window manager (mutter on X11) may take the window's picture only from what
// is drawn after it has made ready for the window, mapped or resized, and shows it black till
// then: so for a second after each change the X server repaints the whole frame, ten times a
// second at most, from the pixmap it holds.
void repaint_while_settling()
{
    const Clock::time_point now = Clock::now();
    if (now - xf.changed_at > std::chrono::seconds(1) ||
        now - xf.repainted_at < std::chrono::milliseconds(100))
        return;
    xf.repainted_at = now;
    XLOCK();
    XClearWindow(_xwin.display, xf.window);
    XFlush(_xwin.display);
    XUNLOCK();
}

}  // namespace

bool make_picture()
{
    if (!xf.picture) {
        xf.picture = create_bitmap(WINDOW_WIDTH, WINDOW_HEIGHT);
        xf.shown = create_bitmap(WINDOW_WIDTH, WINDOW_HEIGHT);
        if (!xf.picture || !xf.shown)
            return false;
        clear_to_color(xf.picture, makecol(0, 0, 0));
        clear_to_color(xf.shown, makecol(0, 0, 0));
    }
    return true;
}

bool show_at_size(int w, int h)
{
    // The frame never grows past the largest monitor: a larger window shows it in its middle.
    Size most;
    for (const Monitor &m : list_monitors())
        most = {std::max(most.w, m.area.w), std::max(most.h, m.area.h)};
    const int frame_w = std::min(w, most.w), frame_h = std::min(h, most.h);
    if (w <= 0 || h <= 0 || !make_frame(frame_w, frame_h, w, h))
        return false;
    xf.size = {w, h};
    xf.changed_at = Clock::now();
    xf.at = place_picture(frame_w, frame_h);
    set_mouse_range(0, 0, w - 1, h - 1);
    Placement in_window = xf.at;
    in_window.x += (w - frame_w) / 2;
    in_window.y += (h - frame_h) / 2;
    scale_pointer(in_window);
    present_rect(xf.picture, xf.shown, {xf.pixels.data(), xf.w, xf.h, xf.w}, xf.at,
                 {0, 0, WINDOW_WIDTH, WINDOW_HEIGHT});
    show_frame({0, 0, frame_w, frame_h});
    return true;
}

long present_window()
{
    if (!xf.picture || xf.size.w == 0)
        return 0;
    if (carry_out_window_keys()) {
        // A frame the X server will not make at a new size leaves no picture to show: that goes
        // the way of no window at all (the shell's Erro 01), never on to a window that shows
        // nothing.
        const ScreenRect now = window_rect();
        if ((now.w != xf.size.w || now.h != xf.size.h) && !show_at_size(now.w, now.h)) {
            std::fprintf(stderr, "The window's picture could not be made at %d x %d\n", now.w,
                         now.h);
            if (xf.failure_handler)
                xf.failure_handler();
            end_for_lost_desktop("the window could not be shown again");
        }
        follow_pointer();
        xf.changed_at = Clock::now();
    }
    repaint_while_settling();
    return present(changed_rect(xf.picture, xf.shown));
}

BITMAP *pf_screen() { return xf.picture; }

void pf_set_window_failure_handler(void (*handler)()) { xf.failure_handler = handler; }
