// The X CLIPBOARD selection (see X11Clipboard.h).
#include <poll.h>

#include <chrono>

#include "platform/Text.h"
#include "platform/display/X11Clipboard.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace zo::plat {

namespace {

constexpr int kAnswerWaitMs = 1000;  // an owner that does not answer by then has no text for us

}  // namespace

X11Clipboard::X11Clipboard(_XDisplay* dpy) : dpy_(dpy) {
    window_ = XCreateSimpleWindow(dpy_, DefaultRootWindow(dpy_), -10, -10, 1, 1, 0, 0, 0);
    clipboard_ = XInternAtom(dpy_, "CLIPBOARD", False);
    targets_ = XInternAtom(dpy_, "TARGETS", False);
    utf8_ = XInternAtom(dpy_, "UTF8_STRING", False);
    property_ = XInternAtom(dpy_, "ZO_CLIPBOARD", False);
}

X11Clipboard::~X11Clipboard() {
    XDestroyWindow(dpy_, window_);
}

bool X11Clipboard::Set(const std::string& ansi) {
    utf8Text_ = AnsiToUtf8(ansi);
    XSetSelectionOwner(dpy_, clipboard_, window_, CurrentTime);
    owner_ = XGetSelectionOwner(dpy_, clipboard_) == window_;
    XFlush(dpy_);
    return owner_;
}

bool X11Clipboard::Get(std::string* ansi) {
    // Asked of the server: the SelectionClear that says another client took it over may still
    // wait in the queue.
    const Window owner = XGetSelectionOwner(dpy_, clipboard_);
    owner_ = owner == window_;
    if (owner_) {
        *ansi = Utf8ToAnsi(utf8Text_);
        return true;
    }
    if (owner == None) return false;
    XDeleteProperty(dpy_, window_, property_);
    XConvertSelection(dpy_, clipboard_, utf8_, property_, window_, CurrentTime);
    XFlush(dpy_);
    // Only the answer is taken from the queue; every other event waits for the loop.
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kAnswerWaitMs);
    XEvent ev;
    for (;;) {
        if (XCheckTypedWindowEvent(dpy_, window_, SelectionNotify, &ev)) break;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              end - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) return false;
        pollfd p{ConnectionNumber(dpy_), POLLIN, 0};
        ::poll(&p, 1, static_cast<int>(left));
        XEventsQueued(dpy_, QueuedAfterReading);
    }
    if (ev.xselection.property == None) return false;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(dpy_, window_, property_, 0, 1 << 24, True,
                                          AnyPropertyType, &type, &format, &count, &after, &data);
    bool ok =
        status == Success && data != nullptr && format == 8 && (type == utf8_ || type == XA_STRING);
    if (ok) {
        const std::string raw(reinterpret_cast<const char*>(data), count);
        // STRING is Latin-1, which Windows-1252 holds byte for byte in that range.
        *ansi = type == utf8_ ? Utf8ToAnsi(raw) : raw;
    }
    if (data != nullptr) XFree(data);
    return ok;
}

bool X11Clipboard::Handle(const _XEvent& ev) {
    if (ev.type == SelectionClear && ev.xselectionclear.window == window_) {
        owner_ = false;
        return true;
    }
    if (ev.type == SelectionRequest && ev.xselectionrequest.owner == window_) {
        Answer(ev);
        return true;
    }
    return false;
}

void X11Clipboard::Answer(const XEvent& request) {
    const XSelectionRequestEvent& req = request.xselectionrequest;
    XSelectionEvent reply{};
    reply.type = SelectionNotify;
    reply.display = req.display;
    reply.requestor = req.requestor;
    reply.selection = req.selection;
    reply.target = req.target;
    reply.time = req.time;
    // Old clients name no property: the target's name is used then.
    const Atom into = req.property != None ? req.property : req.target;
    reply.property = None;
    if (owner_ && req.selection == clipboard_) {
        if (req.target == targets_) {
            const Atom offered[] = {targets_, utf8_, XA_STRING};
            XChangeProperty(dpy_, req.requestor, into, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(offered), 3);
            reply.property = into;
        } else if (req.target == utf8_ || req.target == XA_STRING) {
            const std::string text = req.target == utf8_ ? utf8Text_ : Utf8ToAnsi(utf8Text_);
            XChangeProperty(dpy_, req.requestor, into, req.target, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(text.data()),
                            static_cast<int>(text.size()));
            reply.property = into;
        }
    }
    XSendEvent(dpy_, req.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
    XFlush(dpy_);
}

}  // namespace zo::plat
