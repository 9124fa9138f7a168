// The seam between the window manager and a display: where time comes from, how the message
// loop waits for device input, and where finished pixels go. The off-screen display and the
// X11 display implement it.
#pragma once

#include <memory>
#include <string>

#include "platform/Display.h"
#include "platform/Types.h"

namespace zo::plat {

class DisplayBackend {
public:
    virtual ~DisplayBackend() = default;
    virtual DisplayKind Kind() const = 0;
    // Milliseconds of the display's clock (GetTickCount).
    virtual DWORD Now() = 0;
    // Turns device events that are already waiting into queued input; never blocks.
    virtual void Poll() = 0;
    // Blocks until device input arrives or the clock reaches `deadline` (when hasDeadline).
    // Returns false when nothing can ever arrive, so the message loop must not wait.
    virtual bool Wait(bool hasDeadline, DWORD deadline) = 0;
    // A top-level window was created, moved, resized, shown, hidden or retitled.
    virtual void WindowChanged(HWND) {}
    virtual void WindowDestroyed(HWND) {}
    // Pixels of the screen framebuffer changed inside this rectangle.
    virtual void ScreenDirty(const RECT&) {}
    // Shows what changed since the last flush.
    virtual void Flush() {}
    virtual void CursorMoved(POINT) {}
    virtual void CursorShapeChanged(HCURSOR) {}
    // The native window that shows a top-level window (X11), or 0.
    virtual unsigned long NativeWindow(HWND) const { return 0; }
    // The system clipboard, in Windows-1252 text. False when the display has none (the
    // platform then keeps the text itself) or, for reading, when it holds no text.
    virtual bool SetClipboardText(const std::string&) { return false; }
    virtual bool GetClipboardText(std::string*) { return false; }
};

// The X11 display, or nullptr when no X server can be reached. width and height are the screen
// size to use (0: the X screen's), updated to what was chosen.
std::unique_ptr<DisplayBackend> CreateX11Backend(int* width, int* height);

}  // namespace zo::plat
