// Mouse and keyboard: queued device input, its routing to windows when it is retrieved (the
// capture window or the window under the pointer; the focus window for keys), double clicks,
// mouse-leave tracking, capture, focus, activation, key state and the cursor.
#include <algorithm>
#include <cstdlib>

#include "platform/display/Backend.h"
#include "platform/window/WindowInternal.h"

namespace zo::plat {

namespace {

constexpr DWORD kDoubleClickTime = 500;
// The double-click rectangle is 4 px wide and high, centred on the first press.
constexpr int kDoubleClickHalf = 2;

bool Down(const BYTE* keys, int vk) {
    return (keys[vk & 0xFF] & 0x80) != 0;
}

WPARAM CurrentMk(const BYTE* keys) {
    WPARAM mk = 0;
    if (Down(keys, VK_LBUTTON)) mk |= MK_LBUTTON;
    if (Down(keys, VK_RBUTTON)) mk |= MK_RBUTTON;
    if (Down(keys, VK_MBUTTON)) mk |= MK_MBUTTON;
    if (Down(keys, VK_SHIFT)) mk |= MK_SHIFT;
    if (Down(keys, VK_CONTROL)) mk |= MK_CONTROL;
    return mk;
}

// Scan codes (set 1) of a US keyboard and whether the key is an extended one.
void ScanOf(UINT vk, UINT* scan, bool* extended) {
    static const char row1[] = "1234567890";
    static const char rowQ[] = "QWERTYUIOP";
    static const char rowA[] = "ASDFGHJKL";
    static const char rowZ[] = "ZXCVBNM";
    *extended = false;
    *scan = 0;
    auto find = [&](const char* row, UINT base) {
        for (UINT i = 0; row[i] != '\0'; ++i)
            if (static_cast<UINT>(row[i]) == vk) {
                *scan = base + i;
                return true;
            }
        return false;
    };
    if (find(row1, 0x02) || find(rowQ, 0x10) || find(rowA, 0x1E) || find(rowZ, 0x2C)) return;
    struct Entry {
        UINT vk, scan;
        bool ext;
    };
    static const Entry table[] = {
        {VK_ESCAPE, 0x01, false},     {VK_OEM_MINUS, 0x0C, false}, {VK_OEM_PLUS, 0x0D, false},
        {VK_BACK, 0x0E, false},       {VK_TAB, 0x0F, false},       {VK_OEM_4, 0x1A, false},
        {VK_OEM_6, 0x1B, false},      {VK_RETURN, 0x1C, false},    {VK_CONTROL, 0x1D, false},
        {VK_OEM_1, 0x27, false},      {VK_OEM_7, 0x28, false},     {VK_OEM_3, 0x29, false},
        {VK_SHIFT, 0x2A, false},      {VK_OEM_5, 0x2B, false},     {VK_OEM_COMMA, 0x33, false},
        {VK_OEM_PERIOD, 0x34, false}, {VK_OEM_2, 0x35, false},     {VK_MULTIPLY, 0x37, false},
        {VK_MENU, 0x38, false},       {VK_SPACE, 0x39, false},     {VK_CAPITAL, 0x3A, false},
        {VK_HOME, 0x47, true},        {VK_UP, 0x48, true},         {VK_PRIOR, 0x49, true},
        {VK_LEFT, 0x4B, true},        {VK_RIGHT, 0x4D, true},      {VK_END, 0x4F, true},
        {VK_DOWN, 0x50, true},        {VK_NEXT, 0x51, true},       {VK_INSERT, 0x52, true},
        {VK_DELETE, 0x53, true},      {VK_SUBTRACT, 0x4A, false},  {VK_ADD, 0x4E, false},
        {VK_DECIMAL, 0x53, false},    {VK_DIVIDE, 0x35, true},     {VK_LSHIFT, 0x2A, false},
        {VK_RSHIFT, 0x36, false},     {VK_LCONTROL, 0x1D, false},  {VK_RCONTROL, 0x1D, true},
        {VK_LMENU, 0x38, false},      {VK_RMENU, 0x38, true}};
    for (const Entry& e : table)
        if (e.vk == vk) {
            *scan = e.scan;
            *extended = e.ext;
            return;
        }
    if (vk >= VK_F1 && vk <= VK_F1 + 9) *scan = 0x3B + (vk - VK_F1);
    if (vk == VK_F1 + 10) *scan = 0x57;
    if (vk == VK_F12) *scan = 0x58;
    static const UINT numpad[] = {0x52, 0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) *scan = numpad[vk - VK_NUMPAD0];
}

// The generic modifier a left/right key also counts as.
int GenericOf(UINT vk) {
    switch (vk) {
        case VK_LSHIFT:
        case VK_RSHIFT:
            return VK_SHIFT;
        case VK_LCONTROL:
        case VK_RCONTROL:
            return VK_CONTROL;
        case VK_LMENU:
        case VK_RMENU:
            return VK_MENU;
        default:
            return 0;
    }
}

void SetKey(BYTE* keys, UINT vk, bool down, bool toggle) {
    BYTE& k = keys[vk & 0xFF];
    if (down && toggle && !(k & 0x80)) k ^= 0x01;
    k = static_cast<BYTE>(down ? (k | 0x80) : (k & ~0x80));
}

void ApplyKey(BYTE* keys, UINT vk, bool down) {
    SetKey(keys, vk, down, true);
    const int g = GenericOf(vk);
    if (g == 0) return;
    // The generic key is down while either side is.
    const bool any = down ||
                     Down(keys, g == VK_SHIFT     ? VK_LSHIFT
                                : g == VK_CONTROL ? VK_LCONTROL
                                                  : VK_LMENU) ||
                     Down(keys, g == VK_SHIFT     ? VK_RSHIFT
                                : g == VK_CONTROL ? VK_RCONTROL
                                                  : VK_RMENU);
    SetKey(keys, static_cast<UINT>(g), any, false);
}

UINT ButtonBase(int vk) {
    switch (vk) {
        case VK_LBUTTON:
            return WM_LBUTTONDOWN;
        case VK_RBUTTON:
            return WM_RBUTTONDOWN;
        case VK_MBUTTON:
            return WM_MBUTTONDOWN;
        default:
            return 0;
    }
}

bool PointInClient(const Wnd& w, POINT pt) {
    const RECT c = ClientRectOnScreen(w);
    return pt.x >= c.left && pt.x < c.right && pt.y >= c.top && pt.y < c.bottom;
}

void EndLeaveTracking(HWND under, bool inClient) {
    WindowState& s = WinState();
    if (s.trackLeave == 0) return;
    if (s.trackLeave == under && inClient) return;
    const HWND t = s.trackLeave;
    s.trackLeave = 0;
    PostMessageA(t, WM_MOUSELEAVE, 0, 0);
}

bool TranslateMouse(const InputEvent& e, MSG* out, bool commit) {
    WindowState& s = WinState();
    if (s.capture != 0 && GetWnd(s.capture) == nullptr) s.capture = 0;
    const HWND under = WindowFromPoint(e.pt);
    Wnd* uw = GetWnd(under);
    const bool underClient = uw != nullptr && PointInClient(*uw, e.pt);
    if (commit) {
        EndLeaveTracking(under, underClient);
        s.lastMouseWindow = under;
        if (e.kind == InputEvent::Kind::Button)
            SetKey(s.syncKeys, static_cast<UINT>(e.button), e.down, true);
        SetKey(s.syncKeys, VK_SHIFT, (e.mk & MK_SHIFT) != 0, false);
        SetKey(s.syncKeys, VK_CONTROL, (e.mk & MK_CONTROL) != 0, false);
    }
    HWND target = s.capture != 0 ? s.capture : under;
    Wnd* w = GetWnd(target);
    if (w == nullptr) return false;
    if (s.capture == 0) {
        // Input to a disabled window (or one inside a disabled top-level window) is dropped.
        if ((w->style & WS_DISABLED) || !IsWindowEnabled(GetAncestorTopLevel(target))) return false;
    }
    const bool client = s.capture != 0 || underClient;
    UINT msg = WM_MOUSEMOVE;
    if (e.kind == InputEvent::Kind::Button) {
        const UINT base = ButtonBase(e.button);
        if (base == 0) return false;
        msg = e.down ? base : base + 1;
        if (e.down) {
            const bool dbl = (w->cls->wc.style & CS_DBLCLKS) && s.lastDownValid &&
                             s.lastDownButton == e.button && s.lastDownWindow == target &&
                             e.time - s.lastDownTime <= kDoubleClickTime &&
                             std::abs(e.pt.x - s.lastDownPt.x) <= kDoubleClickHalf &&
                             std::abs(e.pt.y - s.lastDownPt.y) <= kDoubleClickHalf;
            if (dbl) msg = base + 2;
            if (commit) {
                // A double click ends the sequence: the next press starts a new one.
                s.lastDownValid = !dbl;
                s.lastDownButton = e.button;
                s.lastDownTime = e.time;
                s.lastDownPt = e.pt;
                s.lastDownWindow = target;
            }
        }
    }
    MSG m;
    m.hwnd = target;
    m.time = e.time;
    m.pt = e.pt;
    if (client) {
        const POINT o = ClientOriginOnScreen(*w);
        m.message = msg;
        m.wParam = e.mk;
        m.lParam = MAKELPARAM(e.pt.x - o.x, e.pt.y - o.y);
    } else {
        m.message = msg - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
        m.wParam = HTBORDER;
        m.lParam = MAKELPARAM(e.pt.x, e.pt.y);
    }
    if (commit) {
        if (e.kind == InputEvent::Kind::Button && e.down) {
            const HWND top = GetAncestorTopLevel(target);
            Wnd* tw = GetWnd(top);
            if (tw != nullptr && s.active != top && !(tw->exStyle & WS_EX_NOACTIVATE))
                SetActiveWindow(top);
        }
        if (GetWnd(target) == nullptr) return false;
        if (s.capture == 0 && msg == WM_MOUSEMOVE)
            SendMessageA(target, WM_SETCURSOR, target,
                         MAKELPARAM(client ? HTCLIENT : HTBORDER, static_cast<int>(msg)));
        if (GetWnd(target) == nullptr) return false;
    }
    *out = m;
    return true;
}

bool TranslateKey(const InputEvent& e, MSG* out, bool commit) {
    WindowState& s = WinState();
    if (commit) ApplyKey(s.syncKeys, e.vk, e.down);
    const HWND target = s.focus;
    if (GetWnd(target) == nullptr) return false;
    LPARAM lp = 1 | static_cast<LPARAM>((e.scan & 0xFF) << 16);
    if (e.extended) lp |= LPARAM{1} << 24;
    if (e.alt) lp |= LPARAM{1} << 29;
    if (!e.down || e.repeat) lp |= LPARAM{1} << 30;
    if (!e.down) lp |= LPARAM{1} << 31;
    const bool sys = e.alt && !(e.mk & MK_CONTROL);
    UINT msg = e.down ? WM_KEYDOWN : WM_KEYUP;
    if (sys) msg += WM_SYSKEYDOWN - WM_KEYDOWN;
    *out =
        MSG{target, msg, e.vk, static_cast<LPARAM>(static_cast<std::uint32_t>(lp)), e.time, e.pt};
    return true;
}

}  // namespace

bool TranslateInput(const InputEvent& e, MSG* out, bool commit) {
    return e.kind == InputEvent::Kind::Key ? TranslateKey(e, out, commit)
                                           : TranslateMouse(e, out, commit);
}

void QueueMouseMove(POINT screen, DWORD time) {
    WindowState& s = WinState();
    // A move to where the pointer already is is no movement: no WM_MOUSEMOVE, so a click
    // (which displays report with its position) does not bring a move of its own.
    if (screen == s.cursorPos) return;
    s.cursorPos = screen;
    InputEvent e;
    e.kind = InputEvent::Kind::Move;
    e.pt = screen;
    e.mk = CurrentMk(s.asyncKeys);
    e.time = time;
    // Moves are coalesced: only the latest position of a run of moves is delivered.
    if (!s.input.empty() && s.input.back().kind == InputEvent::Kind::Move &&
        s.input.back().mk == e.mk)
        s.input.back() = e;
    else
        s.input.push_back(e);
}

void QueueMouseButton(int vkButton, bool down, DWORD time) {
    if (ButtonBase(vkButton) == 0) return;
    WindowState& s = WinState();
    SetKey(s.asyncKeys, static_cast<UINT>(vkButton), down, true);
    InputEvent e;
    e.kind = InputEvent::Kind::Button;
    e.pt = s.cursorPos;
    e.button = vkButton;
    e.down = down;
    e.mk = CurrentMk(s.asyncKeys);
    e.time = time;
    s.input.push_back(e);
}

void QueueKey(UINT vk, bool down, DWORD time) {
    if (vk == 0 || vk > 0xFE) return;
    WindowState& s = WinState();
    InputEvent e;
    e.kind = InputEvent::Kind::Key;
    e.vk = vk;
    e.down = down;
    e.repeat = down && Down(s.asyncKeys, static_cast<int>(vk));
    ApplyKey(s.asyncKeys, vk, down);
    ScanOf(vk, &e.scan, &e.extended);
    e.pt = s.cursorPos;
    e.mk = CurrentMk(s.asyncKeys);
    e.alt = Down(s.asyncKeys, VK_MENU);
    e.time = time;
    s.input.push_back(e);
}

void PointerLeftDisplay() {
    EndLeaveTracking(0, false);
}

void ForgetWindowInput(HWND hwnd, bool notify) {
    WindowState& s = WinState();
    auto within = [&](HWND h) { return h != 0 && (h == hwnd || IsChild(hwnd, h)); };
    if (within(s.capture)) {
        if (notify)
            ReleaseCapture();
        else
            s.capture = 0;
    }
    if (within(s.focus)) {
        if (notify)
            SetFocus(0);
        else
            s.focus = 0;
    }
    if (within(s.active)) s.active = 0;
    if (within(s.trackLeave)) s.trackLeave = 0;
    if (within(s.lastMouseWindow)) s.lastMouseWindow = 0;
    if (within(s.lastDownWindow)) s.lastDownValid = false;
}

HWND SetCapture(HWND hwnd) {
    WindowState& s = WinState();
    if (hwnd != 0 && GetWnd(hwnd) == nullptr) return 0;
    const HWND old = GetWnd(s.capture) != nullptr ? s.capture : 0;
    s.capture = hwnd;
    // The loser always hears of it, even when it captures again.
    if (old != 0) SendMessageA(old, WM_CAPTURECHANGED, 0, static_cast<LPARAM>(hwnd));
    return old;
}

BOOL ReleaseCapture() {
    WindowState& s = WinState();
    const HWND old = s.capture;
    s.capture = 0;
    if (GetWnd(old) != nullptr) SendMessageA(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() {
    WindowState& s = WinState();
    return GetWnd(s.capture) != nullptr ? s.capture : 0;
}

HWND SetFocus(HWND hwnd) {
    WindowState& s = WinState();
    if (GetWnd(s.focus) == nullptr) s.focus = 0;
    const HWND prev = s.focus;
    if (hwnd != 0) {
        Wnd* w = GetWnd(hwnd);
        if (w == nullptr || w->destroying) return 0;
        // No focus inside a disabled window.
        for (HWND h = hwnd; h != 0; h = IsTopLevel(*GetWnd(h)) ? 0 : GetWnd(h)->parent)
            if (GetWnd(h)->style & WS_DISABLED) return 0;
        if (hwnd == prev) return prev;
        const HWND top = GetAncestorTopLevel(hwnd);
        if (s.active != top) SetActiveWindow(top);
        if (GetWnd(hwnd) == nullptr) return 0;
        if (s.focus == hwnd) return prev;
    }
    const HWND old = s.focus;
    if (old == hwnd) return prev;
    s.focus = hwnd;
    if (old != 0) SendMessageA(old, WM_KILLFOCUS, hwnd, 0);
    if (hwnd != 0 && s.focus == hwnd) SendMessageA(hwnd, WM_SETFOCUS, old, 0);
    return prev;
}

HWND GetFocus() {
    WindowState& s = WinState();
    return GetWnd(s.focus) != nullptr ? s.focus : 0;
}

HWND SetActiveWindow(HWND hwnd) {
    WindowState& s = WinState();
    if (GetWnd(s.active) == nullptr) s.active = 0;
    const HWND prev = s.active;
    if (hwnd != 0) {
        Wnd* w = GetWnd(hwnd);
        if (w == nullptr || !IsTopLevel(*w) || w->destroying) return 0;
    }
    if (hwnd == prev) return prev;
    s.active = hwnd;
    if (prev != 0) {
        SendMessageA(prev, WM_ACTIVATE, WA_INACTIVE, static_cast<LPARAM>(hwnd));
        // The focus does not stay in a window that is no longer active.
        if (s.focus != 0 && GetAncestorTopLevel(s.focus) == prev && s.active == hwnd) SetFocus(0);
    }
    if (hwnd != 0 && s.active == hwnd)
        SendMessageA(hwnd, WM_ACTIVATE, WA_ACTIVE, static_cast<LPARAM>(prev));
    return prev;
}

HWND GetActiveWindow() {
    WindowState& s = WinState();
    return GetWnd(s.active) != nullptr ? s.active : 0;
}

HWND GetForegroundWindow() {
    return GetActiveWindow();
}

BOOL GetCursorPos(POINT* pt) {
    if (pt == nullptr) return FALSE;
    *pt = WinState().cursorPos;
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    WindowState& s = WinState();
    const POINT p{std::clamp(x, 0, std::max(0, s.screenWidth - 1)),
                  std::clamp(y, 0, std::max(0, s.screenHeight - 1))};
    QueueMouseMove(p, GetTickCount());
    Backend().CursorMoved(p);
    return TRUE;
}

HCURSOR SetCursor(HCURSOR cursor) {
    WindowState& s = WinState();
    const HCURSOR old = s.cursor;
    if (cursor != old) {
        s.cursor = cursor;
        Backend().CursorShapeChanged(cursor);
    }
    return old;
}

HCURSOR GetCursor() {
    return WinState().cursor;
}

HCURSOR LoadCursorA(HINSTANCE, std::uintptr_t id) {
    // The standard cursors are known by their identifiers; the display draws them.
    switch (id) {
        case IDC_ARROW:
        case IDC_IBEAM:
        case IDC_WAIT:
        case IDC_CROSS:
        case IDC_SIZEALL:
        case IDC_NO:
        case IDC_HAND:
            return static_cast<HCURSOR>(id);
        default:
            return 0;
    }
}

SHORT GetAsyncKeyState(int vk) {
    if (vk < 0 || vk > 0xFF) return 0;
    return Down(WinState().asyncKeys, vk) ? static_cast<SHORT>(0x8000) : 0;
}

SHORT GetKeyState(int vk) {
    if (vk < 0 || vk > 0xFF) return 0;
    const BYTE k = WinState().syncKeys[vk];
    return static_cast<SHORT>(((k & 0x80) ? 0x8000 : 0) | (k & 0x01));
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme) {
    WindowState& s = WinState();
    if (tme == nullptr || tme->cbSize != sizeof(TRACKMOUSEEVENT)) return FALSE;
    if (tme->dwFlags & TME_QUERY) {
        tme->dwFlags = s.trackLeave != 0 ? TME_LEAVE : 0;
        tme->hwndTrack = s.trackLeave;
        tme->dwHoverTime = 0;
        return TRUE;
    }
    // Hover tracking is not offered: only leave tracking is.
    if (tme->dwFlags & TME_HOVER) return FALSE;
    if (!(tme->dwFlags & TME_LEAVE)) return TRUE;
    if (tme->dwFlags & TME_CANCEL) {
        if (s.trackLeave == tme->hwndTrack) s.trackLeave = 0;
        return TRUE;
    }
    Wnd* w = GetWnd(tme->hwndTrack);
    if (w == nullptr) return FALSE;
    const HWND under = WindowFromPoint(s.cursorPos);
    if (under != tme->hwndTrack || !PointInClient(*w, s.cursorPos)) {
        // The pointer is already elsewhere: the leave is due at once.
        PostMessageA(tme->hwndTrack, WM_MOUSELEAVE, 0, 0);
        return TRUE;
    }
    s.trackLeave = tme->hwndTrack;
    return TRUE;
}

UINT GetDoubleClickTime() {
    return kDoubleClickTime;
}

int GetSystemMetrics(int index) {
    const WindowState& s = WinState();
    switch (index) {
        case SM_CXSCREEN:
            return s.screenWidth;
        case SM_CYSCREEN:
            return s.screenHeight;
        case SM_CXVSCROLL:
        case SM_CYHSCROLL:
            return 16;
        case SM_CYCAPTION:
            return 19;
        case SM_CXBORDER:
        case SM_CYBORDER:
            return 1;
        case SM_CXCURSOR:
        case SM_CYCURSOR:
            return 32;
        case SM_SWAPBUTTON:
            return 0;
        case SM_CXDOUBLECLK:
        case SM_CYDOUBLECLK:
            return 2 * kDoubleClickHalf;
        case SM_CXEDGE:
        case SM_CYEDGE:
            return 2;
        default:
            return 0;
    }
}

}  // namespace zo::plat
