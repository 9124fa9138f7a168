// The "Static" class: labels and pictures. A label draws its text with "&" marking its access
// key (the dialog moves to the next control on Alt+that letter) and wraps at words; a picture
// shows a bitmap or an icon centred in its client area. Neither takes the mouse or the focus.
#include "platform/Text.h"
#include "platform/commctrl/ControlSupport.h"

namespace zo::plat::ctl {

namespace {

struct StaticState {
    WPARAM imageType = IMAGE_BITMAP;
    HANDLE image = 0;  // not owned: the caller keeps it alive while it is shown
};

StateMap<StaticState>& States() {
    thread_local StateMap<StaticState> m;
    return m;
}

DWORD StyleOf(HWND hwnd) {
    return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
}

bool IsPicture(DWORD style) {
    const DWORD t = style & SS_TYPEMASK;
    return t == SS_ICON || t == SS_BITMAP;
}

void PaintImage(HDC dc, RECT r, const StaticState& s) {
    SIZE size;
    if (s.imageType == IMAGE_ICON) {
        if (!GetIconSize(s.image, &size)) return;
    } else {
        BITMAP bm;
        if (GetObjectA(s.image, sizeof bm, &bm) == 0) return;
        size = SIZE{bm.bmWidth, bm.bmHeight};
    }
    const int x = (r.left + r.right - size.cx) / 2;
    const int y = (r.top + r.bottom - size.cy) / 2;
    if (s.imageType == IMAGE_ICON) {
        DrawIconEx(dc, x, y, s.image, size.cx, size.cy, 0, 0, DI_NORMAL);
        return;
    }
    const HDC mem = CreateCompatibleDC(dc);
    const HGDIOBJ old = SelectObject(mem, s.image);
    BitBlt(dc, x, y, size.cx, size.cy, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
}

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(hwnd, &ps);
    if (dc == 0) return;
    const int saved = SaveDC(dc);
    RECT r = ClientOf(hwnd);
    const DWORD style = StyleOf(hwnd);
    if (style & SS_SUNKEN) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    if (IsPicture(style)) {
        if (const StaticState* s = States().Get(hwnd); s != nullptr && s->image != 0) {
            IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
            PaintImage(dc, r, *s);
        }
    } else {
        SelectObject(dc, FontOf(hwnd));
        UINT format = DT_WORDBREAK;
        if ((style & SS_TYPEMASK) == SS_CENTER) format |= DT_CENTER;
        if ((style & SS_TYPEMASK) == SS_RIGHT) format |= DT_RIGHT;
        if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
        DrawLabel(dc, TextOf(hwnd), r, format, IsWindowEnabled(hwnd) != FALSE);
    }
    RestoreDC(dc, saved);
    EndPaint(hwnd, &ps);
}

}  // namespace

LRESULT StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_NCCREATE:
            States().Create(hwnd);
            return DefWindowProcA(hwnd, msg, wParam, lParam);
        case WM_NCDESTROY:
            States().Erase(hwnd);
            return DefWindowProcA(hwnd, msg, wParam, lParam);
        case WM_NCHITTEST:
            return HTTRANSPARENT;
        case WM_GETDLGCODE:
            return DLGC_STATIC;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint(hwnd);
            return 0;
        case WM_SETTEXT:
        case WM_ENABLE: {
            const LRESULT r = DefWindowProcA(hwnd, msg, wParam, lParam);
            InvalidateRect(hwnd, nullptr, FALSE);
            return r;
        }
        case STM_SETIMAGE: {
            StaticState* s = States().Get(hwnd);
            if (s == nullptr || (wParam != IMAGE_BITMAP && wParam != IMAGE_ICON)) return 0;
            const HANDLE old = s->image;
            s->imageType = wParam;
            s->image = static_cast<HANDLE>(lParam);
            InvalidateRect(hwnd, nullptr, FALSE);
            return static_cast<LRESULT>(old);
        }
        case STM_GETIMAGE: {
            const StaticState* s = States().Get(hwnd);
            return s != nullptr && s->imageType == wParam ? static_cast<LRESULT>(s->image) : 0;
        }
        default:
            return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace zo::plat::ctl
