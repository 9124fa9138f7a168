// Shared pieces of the dialog controls and the registration of their classes.
#include "platform/commctrl/ControlSupport.h"

#include <vector>

#include "platform/Text.h"
#include "platform/window/WindowInternal.h"

namespace zo::plat {

namespace ctl {

HFONT FontOf(HWND hwnd) {
    const auto f = static_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    return f != 0 ? f : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void DrawLabel(HDC dc, const std::string& text, RECT rect, UINT format, bool enabled,
               int colorIndex) {
    const int mode = SetBkMode(dc, TRANSPARENT);
    const COLORREF old = GetTextColor(dc);
    if (enabled) {
        SetTextColor(dc, GetSysColor(colorIndex));
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
    } else {
        RECT light = rect;
        OffsetRect(&light, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &light, format);
        SetTextColor(dc, GetSysColor(COLOR_3DSHADOW));
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
    }
    SetTextColor(dc, old);
    SetBkMode(dc, mode);
}

bool NotifyParent(HWND hwnd, int code) {
    const HWND parent = GetParent(hwnd);
    if (parent == 0) return IsWindow(hwnd) != FALSE;
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), code),
                 static_cast<LPARAM>(hwnd));
    return IsWindow(hwnd) != FALSE;
}

std::string TextOf(HWND hwnd) {
    const int n = GetWindowTextLengthA(hwnd);
    std::string s(static_cast<std::size_t>(n) + 1, '\0');
    const int got = GetWindowTextA(hwnd, s.data(), n + 1);
    s.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return s;
}

bool HasFocus(HWND hwnd) {
    return GetFocus() == hwnd;
}

RECT ClientOf(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    return r;
}

bool Contains(const RECT& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

void StoreText(HWND hwnd, const std::string& text) {
    DefWindowProcA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace ctl

bool RegisterSystemClasses() {
    struct Entry {
        const char* name;
        WNDPROC proc;
        UINT style;
        std::uintptr_t cursor;
        int background;  // system colour index + 1, or 0
    };
    const Entry entries[] = {
        {WC_BUTTONA, &ctl::ButtonProc, CS_DBLCLKS, IDC_ARROW, 0},
        {WC_STATICA, &ctl::StaticProc, 0, IDC_ARROW, 0},
        {WC_EDITA, &ctl::EditProc, CS_DBLCLKS, IDC_IBEAM, 0},
        {WC_COMBOBOXA, &ctl::ComboProc, CS_DBLCLKS, IDC_ARROW, 0},
        {ctl::kComboListClass, &ctl::ComboListProc, 0, IDC_ARROW, 0},
        {WC_SCROLLBARA, &ctl::ScrollBarProc, CS_DBLCLKS, IDC_ARROW, 0},
        {WC_DIALOGA, &DefDlgProcA, 0, IDC_ARROW, COLOR_3DFACE + 1},
    };
    bool added = false;
    for (const Entry& e : entries) {
        bool known = false;
        for (const auto& c : WinState().classes)
            known = known || c->name == e.name;
        if (known) continue;
        WNDCLASSA wc;
        wc.style = e.style | CS_GLOBALCLASS;
        wc.lpfnWndProc = e.proc;
        wc.hCursor = LoadCursorA(0, e.cursor);
        wc.hbrBackground = static_cast<HBRUSH>(e.background);
        wc.lpszClassName = e.name;
        added = RegisterClassA(&wc) != 0 || added;
    }
    return added;
}

}  // namespace zo::plat
