// Reads an X window's pixels with XGetImage over a connection of its own.
#include "x11/XReadback.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>

namespace zo::x11test {

namespace {

int ReportXError(Display*, XErrorEvent* e) {
    std::printf("X error %d on request %d\n", e->error_code, e->request_code);
    return 0;
}

// A channel of a pixel scaled to 0..255 from however many bits the visual gives it.
std::uint32_t Channel(unsigned long px, unsigned long mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    const unsigned long max = mask >> shift;
    return static_cast<std::uint32_t>((((px & mask) >> shift) * 255 + max / 2) / max);
}

}  // namespace

XPixels ReadXWindow(unsigned long xid) {
    XPixels out;
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr) return out;
    XSetErrorHandler(ReportXError);
    XWindowAttributes at{};
    Window child = 0;
    if (XGetWindowAttributes(d, xid, &at) != 0 && at.map_state == IsViewable &&
        XTranslateCoordinates(d, xid, DefaultRootWindow(d), 0, 0, &out.x, &out.y, &child)) {
        out.width = at.width;
        out.height = at.height;
        XImage* img = XGetImage(d, xid, 0, 0, static_cast<unsigned>(at.width),
                                static_cast<unsigned>(at.height), AllPlanes, ZPixmap);
        if (img != nullptr) {
            const Visual* v = at.visual;
            out.rgb.reserve(static_cast<std::size_t>(at.width) *
                            static_cast<std::size_t>(at.height));
            for (int y = 0; y < at.height; ++y)
                for (int x = 0; x < at.width; ++x) {
                    const unsigned long px = XGetPixel(img, x, y);
                    out.rgb.push_back((Channel(px, v->red_mask) << 16) |
                                      (Channel(px, v->green_mask) << 8) |
                                      Channel(px, v->blue_mask));
                }
            XDestroyImage(img);
            out.ok = true;
        }
    }
    XCloseDisplay(d);
    return out;
}

}  // namespace zo::x11test
