// The caret: a small inverted rectangle a text window shows where typing goes. There is one per
// thread. It is drawn by inverting the window's pixels, so it is taken off before the window
// paints (BeginPaint) and put back afterwards (EndPaint); a thread timer on the display's clock
// makes it blink.
#include "platform/Controls.h"
#include "platform/Gdi.h"
#include "platform/window/WindowInternal.h"

namespace zo::plat {

namespace {

struct Caret {
    HWND hwnd = 0;
    int width = 0;
    int height = 0;
    bool grey = false;
    POINT pos;
    int hidden = 1;      // a new caret is hidden until ShowCaret
    bool drawn = false;  // its pixels are inverted on the window now
    bool painting = false;
    UINT_PTR timer = 0;
};

struct CaretModule {
    Caret caret;
    UINT blink = 530;
};

CaretModule& Mod() {
    thread_local CaretModule m;
    return m;
}

void Invert(const Caret& c) {
    const HDC dc = GetDC(c.hwnd);
    if (dc == 0) return;
    if (c.grey) {
        // The same checkerboard the focus rectangle uses.
        static const BYTE rows[16] = {0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0,
                                      0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0};
        const HBITMAP bits = CreateBitmap(8, 8, 1, 1, rows);
        const HBRUSH brush = CreatePatternBrush(bits);
        const HGDIOBJ old = SelectObject(dc, brush);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        PatBlt(dc, c.pos.x, c.pos.y, c.width, c.height, PATINVERT);
        SelectObject(dc, old);
        DeleteObject(brush);
        DeleteObject(bits);
    } else {
        PatBlt(dc, c.pos.x, c.pos.y, c.width, c.height, DSTINVERT);
    }
    ReleaseDC(c.hwnd, dc);
}

void SetDrawn(Caret& c, bool on) {
    if (c.drawn == on || c.hwnd == 0) return;
    // A window on its way out is not drawn on: what it covered is repainted anyway.
    const Wnd* w = GetWnd(c.hwnd);
    if (w == nullptr || w->destroying) {
        c.drawn = false;
        return;
    }
    if (on && (c.hidden > 0 || c.painting || !IsWindowVisible(c.hwnd))) return;
    Invert(c);
    c.drawn = on;
}

void BlinkProc(HWND, UINT, UINT_PTR, DWORD) {
    Caret& c = Mod().caret;
    SetDrawn(c, !c.drawn);
}

// Shown afresh (not mid-blink) after a move or ShowCaret, as a typist expects.
void RestartBlink(Caret& c) {
    if (c.timer != 0) KillTimer(0, c.timer);
    c.timer = 0;
    if (c.hwnd == 0 || c.hidden > 0) return;
    SetDrawn(c, true);
    c.timer = SetTimer(0, 0, Mod().blink, &BlinkProc);
}

}  // namespace

BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height) {
    if (GetWnd(hwnd) == nullptr || bitmap > 1) return FALSE;
    DestroyCaret();
    Caret& c = Mod().caret;
    c = Caret{};
    c.hwnd = hwnd;
    c.grey = bitmap == 1;
    c.width = width > 0 ? width : GetSystemMetrics(SM_CXBORDER);
    c.height = height > 0 ? height : GetSystemMetrics(SM_CYBORDER);
    return TRUE;
}

BOOL DestroyCaret() {
    Caret& c = Mod().caret;
    if (c.hwnd == 0) return FALSE;
    SetDrawn(c, false);
    if (c.timer != 0) KillTimer(0, c.timer);
    c = Caret{};
    return TRUE;
}

BOOL ShowCaret(HWND hwnd) {
    Caret& c = Mod().caret;
    if (c.hwnd == 0 || (hwnd != 0 && hwnd != c.hwnd) || c.hidden == 0) return FALSE;
    if (--c.hidden == 0) RestartBlink(c);
    return TRUE;
}

BOOL HideCaret(HWND hwnd) {
    Caret& c = Mod().caret;
    if (c.hwnd == 0 || (hwnd != 0 && hwnd != c.hwnd)) return FALSE;
    ++c.hidden;
    SetDrawn(c, false);
    if (c.timer != 0) KillTimer(0, c.timer);
    c.timer = 0;
    return TRUE;
}

BOOL SetCaretPos(int x, int y) {
    Caret& c = Mod().caret;
    if (c.hwnd == 0) return FALSE;
    if (c.pos.x == x && c.pos.y == y) return TRUE;
    SetDrawn(c, false);
    c.pos = POINT{x, y};
    RestartBlink(c);
    return TRUE;
}

BOOL GetCaretPos(POINT* pt) {
    if (pt == nullptr) return FALSE;
    *pt = Mod().caret.pos;
    return TRUE;
}

UINT GetCaretBlinkTime() {
    return Mod().blink;
}

BOOL SetCaretBlinkTime(UINT ms) {
    if (ms == 0) return FALSE;
    Mod().blink = ms;
    RestartBlink(Mod().caret);
    return TRUE;
}

void CaretBeforePaint(HWND hwnd) {
    Caret& c = Mod().caret;
    if (c.hwnd != hwnd) return;
    SetDrawn(c, false);
    c.painting = true;
}

void CaretAfterPaint(HWND hwnd) {
    Caret& c = Mod().caret;
    if (c.hwnd != hwnd || !c.painting) return;
    c.painting = false;
    if (c.timer != 0) SetDrawn(c, true);
}

void CaretWindowDestroyed(HWND hwnd) {
    if (Mod().caret.hwnd == hwnd) DestroyCaret();
}

}  // namespace zo::plat
