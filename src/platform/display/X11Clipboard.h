// The X CLIPBOARD selection for the X11 display: the program owns it through a hidden window
// and answers other programs' requests from its event loop, or asks the owner for UTF-8 text
// and waits a short while for the answer. Text crosses as UTF-8 and is Windows-1252 inside.
#pragma once

#include <string>

// Xlib's types, declared here so that this header brings in none of Xlib's macros.
struct _XDisplay;
union _XEvent;

namespace zo::plat {

class X11Clipboard {
public:
    explicit X11Clipboard(_XDisplay* dpy);
    ~X11Clipboard();
    X11Clipboard(const X11Clipboard&) = delete;
    X11Clipboard& operator=(const X11Clipboard&) = delete;

    bool Set(const std::string& ansi);
    bool Get(std::string* ansi);
    // Selection requests and losses; false for every other event.
    bool Handle(const _XEvent& ev);

private:
    void Answer(const _XEvent& request);

    _XDisplay* dpy_;
    unsigned long window_ = 0;     // Window
    unsigned long clipboard_ = 0;  // Atoms
    unsigned long targets_ = 0;
    unsigned long utf8_ = 0;
    unsigned long property_ = 0;
    bool owner_ = false;
    std::string utf8Text_;
};

}  // namespace zo::plat
