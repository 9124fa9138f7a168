// The default window procedure: what a window does with a message its own procedure passes on.
#include <algorithm>
#include <cstring>

#include "platform/Gdi.h"
#include "platform/display/Backend.h"
#include "platform/window/WindowInternal.h"

namespace zo::plat {

namespace {

// System colour brushes may be given as the colour index + 1.
HBRUSH BackgroundBrush(HBRUSH b) {
    if (b >= 1 && b <= 31) return GetSysColorBrush(static_cast<int>(b) - 1);
    return b;
}

}  // namespace

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr) return 0;
    switch (msg) {
        case WM_NCCREATE: {
            const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            if (cs != nullptr && cs->lpszName != nullptr) w->text = cs->lpszName;
            return TRUE;
        }
        case WM_SETTEXT:
            w->text = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
            if (IsTopLevel(*w)) Backend().WindowChanged(hwnd);
            return TRUE;
        case WM_GETTEXT: {
            auto* buf = reinterpret_cast<char*>(lParam);
            if (buf == nullptr || wParam == 0) return 0;
            const std::size_t n = std::min<std::size_t>(w->text.size(), wParam - 1);
            std::memcpy(buf, w->text.data(), n);
            buf[n] = '\0';
            return static_cast<LRESULT>(n);
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(w->text.size());
        case WM_SETFONT:
            w->font = static_cast<HFONT>(wParam);
            if (LOWORD(static_cast<std::uintptr_t>(lParam)) != 0)
                InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return static_cast<LRESULT>(w->font);
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND: {
            const HBRUSH brush = BackgroundBrush(w->cls->wc.hbrBackground);
            if (brush == 0) return 0;
            RECT rc;
            GetClientRect(hwnd, &rc);
            FillRect(static_cast<HDC>(wParam), &rc, brush);
            return 1;
        }
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_NCHITTEST: {
            const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            const RECT c = ClientRectOnScreen(*w);
            if (pt.x >= c.left && pt.x < c.right && pt.y >= c.top && pt.y < c.bottom)
                return HTCLIENT;
            const RECT r = WindowRectOnScreen(*w);
            if (pt.x >= r.left && pt.x < r.right && pt.y >= r.top && pt.y < r.bottom)
                return HTBORDER;
            return HTNOWHERE;
        }
        case WM_ACTIVATE:
            // An activated window takes the focus unless it already holds it inside.
            if (LOWORD(wParam) != WA_INACTIVE) {
                const HWND f = GetFocus();
                if (f != hwnd && !IsChild(hwnd, f)) SetFocus(hwnd);
            }
            return 0;
        case WM_SETCURSOR: {
            // The parent may choose the cursor for its children.
            if (!IsTopLevel(*w) && SendMessageA(w->parent, WM_SETCURSOR, wParam, lParam))
                return TRUE;
            w = GetWnd(hwnd);
            if (w == nullptr) return FALSE;
            // Default handling sets only this window's own cursor, so a child's class cursor is
            // not overridden by its parent's.
            if (LOWORD(static_cast<std::uintptr_t>(lParam)) == HTCLIENT && wParam == hwnd) {
                SetCursor(w->cls->wc.hCursor != 0 ? w->cls->wc.hCursor
                                                  : static_cast<HCURSOR>(IDC_ARROW));
                return TRUE;
            }
            return FALSE;
        }
        case WM_MOUSEWHEEL:
            if (!IsTopLevel(*w)) return SendMessageA(w->parent, msg, wParam, lParam);
            return 0;
        default:
            return 0;
    }
}

}  // namespace zo::plat
