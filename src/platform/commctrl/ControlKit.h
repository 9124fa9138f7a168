// Small helpers shared by the tab control, the list box, the property-sheet frame and the
// open-file dialog, beside those the dialog controls share (ControlSupport.h).
#pragma once

#include <string>

#include "platform/CommCtrl.h"
#include "platform/Controls.h"
#include "platform/Gdi.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "platform/commctrl/ControlSupport.h"

namespace zo::plat::kit {

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

// WM_NOTIFY to the parent; returns its answer.
inline LRESULT Notify(HWND from, UINT code) {
    NMHDR h;
    h.hwndFrom = from;
    h.idFrom = static_cast<std::uintptr_t>(GetWindowLongA(from, GWL_ID));
    h.code = code;
    return SendMessageA(GetParent(from), WM_NOTIFY, h.idFrom, reinterpret_cast<LPARAM>(&h));
}

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
