// Small helpers shared by the tab control, the list box, the property-sheet frame and the
// open-file dialog: fonts, fills, notifications and per-window state kept by handle.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/CommCtrl.h"
#include "platform/Gdi.h"
#include "platform/Text.h"
#include "platform/Window.h"

namespace zo::plat::kit {

// WM_GETDLGCODE and its answers, as dialog keyboard handling asks them.
inline constexpr UINT kGetDlgCode = 0x0087;
inline constexpr LRESULT kWantArrows = 0x0001;
inline constexpr LRESULT kWantChars = 0x0080;
// The dialog manager's default-button question and the style that lets Tab walk into a
// window's children.
inline constexpr UINT kGetDefId = WM_USER + 0;
inline constexpr WORD kHasDefId = 0x534B;
inline constexpr DWORD kControlParent = 0x00010000;

// The dialog keyboard interface for a dialog-like window (Tab, access keys, Enter, Esc): true
// when the message was taken.
bool DialogKeys(HWND dialog, MSG* m);
// Default handling of a dialog-like window's messages.
LRESULT DefDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The window's font, or the stock dialog font.
inline HFONT FontOf(HWND hwnd) {
    const auto f = static_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    return f != 0 ? f : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

inline void FillSys(HDC dc, const RECT& r, int colour) {
    FillRect(dc, &r, GetSysColorBrush(colour));
}

// Cell height of a font.
inline int LineHeight(HFONT font) {
    const HDC dc = GetDC(0);
    const HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(0, dc);
    return tm.tmHeight > 0 ? static_cast<int>(tm.tmHeight) : 13;
}

inline int TextWidth(HFONT font, const std::string& text) {
    const HDC dc = GetDC(0);
    const HGDIOBJ old = SelectObject(dc, font);
    SIZE s;
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &s);
    SelectObject(dc, old);
    ReleaseDC(0, dc);
    return static_cast<int>(s.cx);
}

// Text of a disabled control: a white copy one pixel down and right under grey text.
inline void DrawEmbossed(HDC dc, const std::string& text, RECT r, UINT format) {
    const COLORREF old = SetTextColor(dc, GetSysColor(COLOR_3DHIGHLIGHT));
    RECT shifted{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
    DrawTextA(dc, text.c_str(), -1, &shifted, format);
    SetTextColor(dc, GetSysColor(COLOR_3DSHADOW));
    DrawTextA(dc, text.c_str(), -1, &r, format);
    SetTextColor(dc, old);
}

// WM_NOTIFY to the parent; returns its answer.
inline LRESULT Notify(HWND from, UINT code) {
    NMHDR h;
    h.hwndFrom = from;
    h.idFrom = static_cast<std::uintptr_t>(GetWindowLongA(from, GWL_ID));
    h.code = code;
    return SendMessageA(GetParent(from), WM_NOTIFY, h.idFrom, reinterpret_cast<LPARAM>(&h));
}

// WM_COMMAND to the parent with the control's ID and a notification code.
inline void Command(HWND from, WORD code) {
    const auto id = static_cast<WPARAM>(GetWindowLongA(from, GWL_ID)) & 0xFFFF;
    SendMessageA(GetParent(from), WM_COMMAND, id | (static_cast<WPARAM>(code) << 16),
                 static_cast<LPARAM>(from));
}

// State of each window of one class, owned here and dropped on WM_NCDESTROY. Per thread, as
// windows are.
template <class State>
class StateTable {
public:
    State* Of(HWND h) {
        const auto it = map_.find(h);
        return it != map_.end() ? it->second.get() : nullptr;
    }
    State* Make(HWND h) { return (map_[h] = std::make_unique<State>()).get(); }
    void Drop(HWND h) { map_.erase(h); }

private:
    std::map<HWND, std::unique_ptr<State>> map_;
};

// Registers a class once per thread (again after a display restart dropped it).
inline void EnsureClass(const char* name, WNDPROC proc, UINT style, HBRUSH background,
                        int extraBytes = 0) {
    WNDCLASSA existing;
    if (GetClassInfoA(0, name, &existing)) return;
    WNDCLASSA wc;
    wc.style = style | CS_GLOBALCLASS;
    wc.lpfnWndProc = proc;
    wc.hCursor = LoadCursorA(0, IDC_ARROW);
    wc.hbrBackground = background;
    wc.cbWndExtra = extraBytes;
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

// Registration of the tab control and the list box (InitCommonControlsEx calls these too).
void RegisterTabControl();
void RegisterListBox();

}  // namespace zo::plat::kit
