// Asks an X window to close as a window manager does: a WM_PROTOCOLS client message carrying
// WM_DELETE_WINDOW. xdotool cannot send it (its windowclose destroys the window outright). As a
// window manager, it asks only a window that lists WM_DELETE_WINDOW in its WM_PROTOCOLS: any other
// one a window manager would kill.
// usage: x11_send_close WINDOW-ID
#include <X11/Xlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: x11_send_close WINDOW-ID\n", stderr);
        return 2;
    }
    Display* dpy = XOpenDisplay(nullptr);
    if (dpy == nullptr) {
        std::fputs("x11_send_close: cannot open the display\n", stderr);
        return 1;
    }
    const Window window = std::strtoul(argv[1], nullptr, 0);
    const Atom deleteWindow = XInternAtom(dpy, "WM_DELETE_WINDOW", False);
    Atom* protocols = nullptr;
    int count = 0;
    bool takesDelete = false;
    if (XGetWMProtocols(dpy, window, &protocols, &count) != 0) {
        takesDelete = std::find(protocols, protocols + count, deleteWindow) != protocols + count;
        XFree(protocols);
    }
    if (!takesDelete) {
        std::fputs("x11_send_close: the window does not take WM_DELETE_WINDOW\n", stderr);
        XCloseDisplay(dpy);
        return 1;
    }
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = window;
    ev.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = static_cast<long>(deleteWindow);
    ev.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(dpy, ev.xclient.window, False, NoEventMask, &ev);
    XSync(dpy, False);
    XCloseDisplay(dpy);
    return sent != 0 ? 0 : 1;
}
