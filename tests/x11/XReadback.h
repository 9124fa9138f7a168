// Reading an X window back from the X server, kept apart from the platform's names because
// Xlib's own (Font, Window, None, True) would clash with them.
#pragma once

#include <cstdint>
#include <vector>

namespace zo::x11test {

// The pixels of an X window as the server holds them, and where it sits on the root window.
struct XPixels {
    bool ok = false;
    int x = 0, y = 0, width = 0, height = 0;
    std::vector<std::uint32_t> rgb;  // 0xRRGGBB, row by row
};

// Opens its own connection to the X server named by DISPLAY; ok is false when the window is
// not viewable or cannot be read.
XPixels ReadXWindow(unsigned long xid);

}  // namespace zo::x11test
