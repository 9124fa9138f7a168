// Choosing the display, the off-screen display with its hand-driven clock, input injection,
// message pumping for tests and tools, and screen snapshots.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/Controls.h"
#include "platform/GdiInternal.h"
#include "platform/Image.h"
#include "platform/display/Backend.h"
#include "platform/window/WindowInternal.h"

namespace zo::plat {

namespace {

// The off-screen display: the framebuffer is the screen, time passes only when told to.
class OffscreenBackend final : public DisplayBackend {
public:
    DisplayKind Kind() const override { return DisplayKind::Offscreen; }
    DWORD Now() override { return now_; }
    void Poll() override {}
    bool Wait(bool hasDeadline, DWORD deadline) override {
        // Nothing but a timer can happen while the program waits: jump to it.
        if (!hasDeadline) return false;
        if (static_cast<std::int32_t>(deadline - now_) > 0) now_ = deadline;
        return true;
    }
    void Advance(DWORD ms) { now_ += ms; }

private:
    DWORD now_ = 0;
};

bool Before(DWORD a, DWORD b) {
    return static_cast<std::int32_t>(a - b) < 0;
}

void ResetWindowState() {
    WindowState& s = WinState();
    // Leftover windows are destroyed the ordinary way, so their procedures can clean up.
    for (int guard = 0; guard < 1000 && !s.topLevels.empty(); ++guard) {
        const HWND h = s.topLevels.front();
        if (!DestroyWindow(h)) std::erase(s.topLevels, h);
    }
    s.posted.clear();
    s.input.clear();
    s.quitPending = false;
    s.quitCode = 0;
    s.timers.clear();
    s.capture = s.focus = s.active = s.trackLeave = s.lastMouseWindow = 0;
    s.cursor = 0;
    s.cursorPos = POINT{};
    std::memset(s.asyncKeys, 0, sizeof s.asyncKeys);
    std::memset(s.syncKeys, 0, sizeof s.syncKeys);
    s.lastDownValid = false;
    s.lastMessageTime = 0;
    s.lastMessagePos = POINT{};
}

void StartScreen(int width, int height) {
    WindowState& s = WinState();
    s.screenWidth = width;
    s.screenHeight = height;
    SetScreenSize(width, height);
    PaintBareScreen(Region(RECT{0, 0, width, height}));
}

}  // namespace

DisplayBackend& Backend() {
    WindowState& s = WinState();
    if (!s.backend) s.backend = std::make_unique<OffscreenBackend>();
    return *s.backend;
}

bool InitDisplay(DisplayKind kind, int width, int height) {
    ResetWindowState();
    WindowState& s = WinState();
    s.backend.reset();
    const bool validW = width > 0 && width <= 16384;
    const bool validH = height > 0 && height <= 16384;
    if (kind == DisplayKind::X11) {
        int w = validW ? width : 0;
        int h = validH ? height : 0;
        s.backend = CreateX11Backend(&w, &h);
        if (s.backend) {
            StartScreen(w, h);
            return true;
        }
    }
    s.backend = std::make_unique<OffscreenBackend>();
    StartScreen(validW ? width : 1024, validH ? height : 768);
    return kind == DisplayKind::Offscreen;
}

bool InitDisplayFromEnvironment(int width, int height) {
    const char* v = std::getenv("ZO_DISPLAY");
    const bool x11 = v != nullptr && (std::strcmp(v, "x11") == 0 || std::strcmp(v, "X11") == 0);
    return InitDisplay(x11 ? DisplayKind::X11 : DisplayKind::Offscreen, width, height);
}

void ShutdownDisplay() {
    const WindowState& s = WinState();
    InitDisplay(DisplayKind::Offscreen, s.screenWidth, s.screenHeight);
}

DisplayKind CurrentDisplayKind() {
    return Backend().Kind();
}

SIZE ScreenSize() {
    const WindowState& s = WinState();
    return SIZE{s.screenWidth, s.screenHeight};
}

void InjectMouseMove(int x, int y) {
    QueueMouseMove(POINT{x, y}, GetTickCount());
}

void InjectMouseButton(int vkButton, bool down) {
    QueueMouseButton(vkButton, down, GetTickCount());
}

void InjectKey(UINT vk, bool down) {
    QueueKey(vk, down, GetTickCount());
}

void InjectClick(int x, int y, int vkButton) {
    InjectMouseMove(x, y);
    InjectMouseButton(vkButton, true);
    InjectMouseButton(vkButton, false);
}

bool AdvanceClock(DWORD ms) {
    auto* off = dynamic_cast<OffscreenBackend*>(&Backend());
    if (off == nullptr) return false;
    off->Advance(ms);
    return true;
}

int PumpMessages(int limit) {
    int n = 0;
    MSG m;
    while (n < limit && PeekMessageA(&m, 0, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
            // The quit request belongs to the program's own loop: leave it for that loop.
            PostQuitMessage(static_cast<int>(m.wParam));
            break;
        }
        // As a program's loop does: keys inside a dialog go through its keyboard interface.
        if (m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST) {
            const HWND dialog = GetDialogOf(m.hwnd);
            if (dialog != 0 && IsDialogMessageA(dialog, &m)) {
                ++n;
                continue;
            }
        }
        TranslateMessage(&m);
        DispatchMessageA(&m);
        ++n;
    }
    return n;
}

void RunFor(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    auto* off = dynamic_cast<OffscreenBackend*>(&Backend());
    for (int guard = 0; guard < 1000000; ++guard) {
        PumpMessages();
        const DWORD now = GetTickCount();
        if (!Before(now, end)) break;
        DWORD next = end;
        DWORD due = 0;
        if (NextTimerDue(0, &due) && Before(due, end)) next = Before(due, now) ? now : due;
        if (off != nullptr) {
            if (next == now) break;  // a due timer that pumping did not take: avoid spinning
            off->Advance(next - now);
        } else {
            Backend().Flush();
            Backend().Wait(true, next);
        }
    }
    if (off != nullptr && Before(GetTickCount(), end)) off->Advance(end - GetTickCount());
    PumpMessages();
    Backend().Flush();
}

std::vector<std::uint32_t> ReadScreenPixels(const RECT& area) {
    const LONG w = area.right > area.left ? area.right - area.left : 0;
    const LONG h = area.bottom > area.top ? area.bottom - area.top : 0;
    std::vector<std::uint32_t> out(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    GdiObject* o = GetGdi(ScreenBitmap(), GdiKind::Bitmap);
    if (o == nullptr) return out;
    const Bitmap& b = o->bitmap;
    for (LONG y = 0; y < h; ++y) {
        const LONG sy = area.top + y;
        if (sy < 0 || sy >= b.height) continue;
        for (LONG x = 0; x < w; ++x) {
            const LONG sx = area.left + x;
            if (sx < 0 || sx >= b.width) continue;
            out[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) +
                static_cast<std::size_t>(x)] =
                b.pixels[static_cast<std::size_t>(sy) * static_cast<std::size_t>(b.width) +
                         static_cast<std::size_t>(sx)];
        }
    }
    return out;
}

bool SnapshotScreen(const char* pngPath) {
    if (pngPath == nullptr) return false;
    const SIZE sz = ScreenSize();
    const auto pixels = ReadScreenPixels(RECT{0, 0, sz.cx, sz.cy});
    return WritePng(pngPath, sz.cx, sz.cy, pixels, PngChannels::Rgb).ok();
}

bool SnapshotWindow(HWND hwnd, const char* pngPath) {
    RECT r;
    if (pngPath == nullptr || !GetWindowRect(hwnd, &r) || r.right <= r.left || r.bottom <= r.top)
        return false;
    const auto pixels = ReadScreenPixels(r);
    return WritePng(pngPath, r.right - r.left, r.bottom - r.top, pixels, PngChannels::Rgb).ok();
}

unsigned long X11WindowOf(HWND hwnd) {
    return Backend().NativeWindow(hwnd);
}

}  // namespace zo::plat
