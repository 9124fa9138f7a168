// The message queue: posting, retrieval in the platform's priority order (posted messages,
// the quit request, input, paint, timers), translation of keys to characters and dispatch.
#include "platform/display/Backend.h"
#include "platform/window/WindowInternal.h"

namespace zo::plat {

namespace {

constexpr HWND kThreadOnly = 0xFFFFFFFFu;  // the (HWND)-1 filter: thread messages only

bool WindowMatches(HWND msgHwnd, HWND filter) {
    if (filter == 0) return true;
    if (filter == kThreadOnly) return msgHwnd == 0;
    return msgHwnd == filter || IsChild(filter, msgHwnd);
}

bool RangeMatches(UINT msg, UINT min, UINT max) {
    if (min == 0 && max == 0) return true;
    return msg >= min && msg <= max;
}

MSG Stamp(MSG m) {
    m.time = GetTickCount();
    m.pt = WinState().cursorPos;
    return m;
}

bool Fetch(MSG* out, HWND filter, UINT min, UINT max, bool remove) {
    WindowState& s = WinState();
    Backend().Poll();
    for (auto it = s.posted.begin(); it != s.posted.end(); ++it) {
        if (!WindowMatches(it->hwnd, filter) || !RangeMatches(it->message, min, max)) continue;
        *out = *it;
        if (remove) s.posted.erase(it);
        return true;
    }
    if (s.quitPending && RangeMatches(WM_QUIT, min, max)) {
        *out = Stamp(MSG{0, WM_QUIT, static_cast<WPARAM>(s.quitCode), 0, 0, {}});
        if (remove) s.quitPending = false;
        return true;
    }
    while (!s.input.empty()) {
        const InputEvent e = s.input.front();
        MSG m;
        if (!TranslateInput(e, &m, false)) {
            // Input that reaches no window is used up, but still ends mouse tracking.
            TranslateInput(e, &m, true);
            s.input.pop_front();
            continue;
        }
        if (!WindowMatches(m.hwnd, filter) || !RangeMatches(m.message, min, max)) break;
        if (remove) {
            s.input.pop_front();
            if (!TranslateInput(e, &m, true)) continue;
        }
        *out = m;
        return true;
    }
    if (RangeMatches(WM_PAINT, min, max)) {
        const HWND h = FindWindowToPaint(filter);
        if (h != 0) {
            *out = Stamp(MSG{h, WM_PAINT, 0, 0, 0, {}});
            return true;
        }
    }
    return FetchTimer(filter, min, max, remove, out);
}

bool ValidFilter(HWND filter) {
    return filter == 0 || filter == kThreadOnly || IsWindow(filter);
}

void Retrieved(const MSG& m) {
    WindowState& s = WinState();
    s.lastMessageTime = m.time;
    s.lastMessagePos = m.pt;
}

}  // namespace

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (hwnd != 0 && GetWnd(hwnd) == nullptr) return FALSE;
    WinState().posted.push_back(Stamp(MSG{hwnd, msg, wParam, lParam, 0, {}}));
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    WindowState& s = WinState();
    s.quitPending = true;
    s.quitCode = exitCode;
}

BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
    if (msg == nullptr || !ValidFilter(hwnd)) return FALSE;
    if (!Fetch(msg, hwnd, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0)) {
        Backend().Flush();
        return FALSE;
    }
    Retrieved(*msg);
    return TRUE;
}

BOOL GetMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    if (msg == nullptr || !ValidFilter(hwnd)) return -1;
    while (!Fetch(msg, hwnd, filterMin, filterMax, true)) {
        Backend().Flush();
        DWORD due = 0;
        const bool hasTimer =
            RangeMatches(WM_TIMER, filterMin, filterMax) && NextTimerDue(hwnd, &due);
        if (!Backend().Wait(hasTimer, due)) {
            // Nothing can ever arrive: end the loop rather than wait forever.
            *msg = Stamp(MSG{0, WM_QUIT, 0, 0, 0, {}});
            Retrieved(*msg);
            return FALSE;
        }
    }
    Retrieved(*msg);
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

namespace {

// The character a key gives on a US keyboard, or -1.
int CharOfKey(UINT vk, bool shift, bool caps, bool ctrl) {
    if (vk >= 'A' && vk <= 'Z') {
        if (ctrl) return static_cast<int>(vk - 'A' + 1);
        const bool upper = shift != caps;
        return static_cast<int>(upper ? vk : vk - 'A' + 'a');
    }
    if (ctrl) {
        switch (vk) {
            case VK_SPACE:
                return ' ';
            case VK_RETURN:
                return '\n';
            case VK_BACK:
                return 0x7F;
            case VK_ESCAPE:
                return 0x1B;
            case VK_OEM_4:
                return 0x1B;
            case VK_OEM_5:
                return 0x1C;
            case VK_OEM_6:
                return 0x1D;
            default:
                return -1;
        }
    }
    if (vk >= '0' && vk <= '9') {
        static const char shifted[] = ")!@#$%^&*(";
        return shift ? shifted[vk - '0'] : static_cast<int>(vk);
    }
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) return static_cast<int>('0' + (vk - VK_NUMPAD0));
    struct Oem {
        UINT vk;
        char plain, shifted;
    };
    static const Oem oem[] = {
        {VK_OEM_1, ';', ':'},     {VK_OEM_PLUS, '=', '+'},   {VK_OEM_COMMA, ',', '<'},
        {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},
        {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},      {VK_OEM_5, '\\', '|'},
        {VK_OEM_6, ']', '}'},     {VK_OEM_7, '\'', '"'}};
    for (const Oem& o : oem)
        if (o.vk == vk) return shift ? o.shifted : o.plain;
    switch (vk) {
        case VK_SPACE:
            return ' ';
        case VK_RETURN:
            return '\r';
        case VK_BACK:
            return 0x08;
        case VK_TAB:
            return '\t';
        case VK_ESCAPE:
            return 0x1B;
        case VK_MULTIPLY:
            return '*';
        case VK_ADD:
            return '+';
        case VK_SUBTRACT:
            return '-';
        case VK_DECIMAL:
            return '.';
        case VK_DIVIDE:
            return '/';
        default:
            return -1;
    }
}

}  // namespace

BOOL TranslateMessage(const MSG* msg) {
    if (msg == nullptr || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN))
        return FALSE;
    const UINT vk = static_cast<UINT>(msg->wParam);
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool caps = (GetKeyState(VK_CAPITAL) & 1) != 0;
    const int ch = CharOfKey(vk, shift, caps, ctrl);
    if (ch < 0) return FALSE;
    const UINT charMsg = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    // The character is queued with the posted messages, so it comes before any later input.
    WinState().posted.push_back(
        MSG{msg->hwnd, charMsg, static_cast<WPARAM>(ch & 0xFF), msg->lParam, msg->time, msg->pt});
    return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg) {
    if (msg == nullptr) return 0;
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        // Only a procedure that really belongs to a live timer is called.
        for (const Timer& t : WinState().timers) {
            if (t.hwnd == msg->hwnd && t.id == msg->wParam &&
                reinterpret_cast<LPARAM>(t.proc) == msg->lParam) {
                const TIMERPROC proc = t.proc;
                proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
                return 0;
            }
        }
        return 0;
    }
    if (msg->hwnd == 0) return 0;
    return CallProc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

DWORD GetMessageTime() {
    return WinState().lastMessageTime;
}

DWORD GetMessagePos() {
    const POINT p = WinState().lastMessagePos;
    return static_cast<DWORD>(MAKELPARAM(p.x, p.y));
}

}  // namespace zo::plat
