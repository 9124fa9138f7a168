// The "ScrollBar" class, horizontal: arrows at both ends, a track and a thumb. It only reports
// what the user does, with WM_HSCROLL to its parent (a line or a page either way, the thumb
// dragged and let go, Home and End); the parent answers by setting the new position. Held
// arrows and pages repeat on the display's clock. With the focus it shows a grey caret over
// the thumb.
#include <algorithm>

#include "platform/commctrl/ControlSupport.h"

namespace zo::plat::ctl {

namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstDelay = 200;
constexpr UINT kRepeatDelay = 50;

enum class Part { None, LineLeft, LineRight, PageLeft, PageRight, Thumb };

struct ScrollState {
    int min = 0;
    int max = 100;
    int pos = 0;
    Part pressed = Part::None;
    bool over = false;   // the pointer is still over the pressed part
    int dragOffset = 0;  // pointer x minus the thumb's left edge when the drag began
    int trackPos = 0;    // where the dragged thumb stands
    bool hasCaret = false;
    UINT keyHeld = 0;  // the key whose scroll has not ended yet
};

StateMap<ScrollState>& States() {
    thread_local StateMap<ScrollState> m;
    return m;
}

bool Usable(HWND hwnd, const ScrollState& s) {
    return IsWindowEnabled(hwnd) && s.max > s.min;
}

ScrollLayout LayoutOf(HWND hwnd, const ScrollState& s) {
    const RECT r = ClientOf(hwnd);
    const int pos = s.pressed == Part::Thumb ? s.trackPos : s.pos;
    return LayoutScrollBar(r.right, r.bottom, s.min, s.max, pos);
}

void Notify(HWND hwnd, int code, int pos) {
    const HWND parent = GetParent(hwnd);
    if (parent != 0)
        SendMessageA(parent, WM_HSCROLL, MAKEWPARAM(code, pos), static_cast<LPARAM>(hwnd));
}

int CodeOf(Part p) {
    switch (p) {
        case Part::LineLeft:
            return SB_LINELEFT;
        case Part::LineRight:
            return SB_LINERIGHT;
        case Part::PageLeft:
            return SB_PAGELEFT;
        default:
            return SB_PAGERIGHT;
    }
}

Part PartAt(const ScrollLayout& l, int x, int y) {
    if (Contains(l.left, x, y)) return Part::LineLeft;
    if (Contains(l.right, x, y)) return Part::LineRight;
    if (l.hasThumb && Contains(l.thumb, x, y)) return Part::Thumb;
    if (Contains(l.track, x, y)) {
        if (!l.hasThumb) return Part::None;
        return x < l.thumb.left ? Part::PageLeft : Part::PageRight;
    }
    return Part::None;
}

void PlaceCaret(HWND hwnd, const ScrollState& s) {
    if (!s.hasCaret) return;
    const ScrollLayout l = LayoutOf(hwnd, s);
    SetCaretPos(l.thumb.left + 2, l.thumb.top + 2);
}

void Redraw(HWND hwnd, const ScrollState& s) {
    InvalidateRect(hwnd, nullptr, FALSE);
    PlaceCaret(hwnd, s);
}

void FillTrack(HDC dc, const RECT& r) {
    // The classic track: a checkerboard of the highlight and the face colours.
    static const BYTE rows[16] = {0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0,
                                  0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0};
    const HBITMAP bits = CreateBitmap(8, 8, 1, 1, rows);
    const HBRUSH brush = CreatePatternBrush(bits);
    const COLORREF text = SetTextColor(dc, GetSysColor(COLOR_3DFACE));
    const COLORREF bk = SetBkColor(dc, GetSysColor(COLOR_3DHILIGHT));
    FillRect(dc, &r, brush);
    SetTextColor(dc, text);
    SetBkColor(dc, bk);
    DeleteObject(brush);
    DeleteObject(bits);
}

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(hwnd, &ps);
    if (dc == 0) return;
    const ScrollState* s = States().Get(hwnd);
    if (s != nullptr) {
        const int saved = SaveDC(dc);
        const bool usable = Usable(hwnd, *s);
        const ScrollLayout l = LayoutOf(hwnd, *s);
        const UINT inactive = usable ? 0 : DFCS_INACTIVE;
        const auto arrowState = [&](Part p) {
            return (s->pressed == p && s->over) ? DFCS_PUSHED | DFCS_FLAT : 0u;
        };
        RECT left = l.left;
        RECT right = l.right;
        DrawFrameControl(dc, &left, DFC_SCROLL,
                         DFCS_SCROLLLEFT | inactive | arrowState(Part::LineLeft));
        DrawFrameControl(dc, &right, DFC_SCROLL,
                         DFCS_SCROLLRIGHT | inactive | arrowState(Part::LineRight));
        FillTrack(dc, l.track);
        if (usable && l.hasThumb) {
            // A held page is shown dark between the thumb and the arrow.
            if (s->over && (s->pressed == Part::PageLeft || s->pressed == Part::PageRight)) {
                RECT page = s->pressed == Part::PageLeft
                                ? RECT{l.track.left, l.track.top, l.thumb.left, l.track.bottom}
                                : RECT{l.thumb.right, l.track.top, l.track.right, l.track.bottom};
                InvertRect(dc, &page);
            }
            RECT thumb = l.thumb;
            DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
        }
        RestoreDC(dc, saved);
    }
    EndPaint(hwnd, &ps);
}

int Clamp(const ScrollState& s, int pos) {
    return std::clamp(pos, s.min, std::max(s.min, s.max));
}

void Press(HWND hwnd, ScrollState& s, int x, int y) {
    if (!Usable(hwnd, s)) return;
    const ScrollLayout l = LayoutOf(hwnd, s);
    const Part part = PartAt(l, x, y);
    if (part == Part::None) return;
    s.pressed = part;
    s.over = true;
    SetCapture(hwnd);
    if (part == Part::Thumb) {
        s.dragOffset = x - l.thumb.left;
        s.trackPos = s.pos;
        Redraw(hwnd, s);
        return;
    }
    Redraw(hwnd, s);
    SetTimer(hwnd, kRepeatTimer, kFirstDelay, nullptr);
    Notify(hwnd, CodeOf(part), 0);
}

void Drag(HWND hwnd, ScrollState& s, int x, int y) {
    if (s.pressed == Part::None) return;
    if (s.pressed == Part::Thumb) {
        const ScrollLayout l = LayoutOf(hwnd, s);
        const int at = ScrollPosAt(l, s.min, s.max, x - s.dragOffset);
        if (at == s.trackPos) return;
        s.trackPos = at;
        Redraw(hwnd, s);
        Notify(hwnd, SB_THUMBTRACK, at);
        return;
    }
    const ScrollLayout l = LayoutOf(hwnd, s);
    const bool over = PartAt(l, x, y) == s.pressed;
    if (over != s.over) {
        s.over = over;
        Redraw(hwnd, s);
    }
}

void Release(HWND hwnd, ScrollState& s) {
    if (s.pressed == Part::None) return;
    const Part was = s.pressed;
    const int at = s.trackPos;
    s.pressed = Part::None;
    s.over = false;
    KillTimer(hwnd, kRepeatTimer);
    if (GetCapture() == hwnd) ReleaseCapture();
    Redraw(hwnd, s);
    if (was == Part::Thumb) Notify(hwnd, SB_THUMBPOSITION, at);
    if (IsWindow(hwnd)) Notify(hwnd, SB_ENDSCROLL, 0);
}

void SetRange(HWND hwnd, ScrollState& s, int minPos, int maxPos, bool redraw) {
    if (s.min == minPos && s.max == maxPos) return;
    const bool wasUsable = Usable(hwnd, s);
    s.min = minPos;
    s.max = maxPos;
    s.pos = Clamp(s, s.pos);
    if (redraw || wasUsable != Usable(hwnd, s)) Redraw(hwnd, s);
}

}  // namespace

ScrollLayout LayoutScrollBar(int width, int height, int minPos, int maxPos, int pos) {
    ScrollLayout l;
    const int arrow = std::max(0, std::min(height, width / 2));
    l.left = RECT{0, 0, arrow, height};
    l.right = RECT{width - arrow, 0, width, height};
    l.track = RECT{arrow, 0, width - arrow, height};
    const int trackLen = width - 2 * arrow;
    const int thumbLen = height;
    if (maxPos <= minPos || trackLen < thumbLen || thumbLen <= 0) return l;
    const int span = trackLen - thumbLen;
    const auto range = static_cast<long long>(maxPos) - minPos;
    const long long offset = static_cast<long long>(std::clamp(pos, minPos, maxPos)) - minPos;
    const int x = arrow + static_cast<int>(offset * span / range);
    l.thumb = RECT{x, 0, x + thumbLen, height};
    l.hasThumb = true;
    return l;
}

int ScrollPosAt(const ScrollLayout& l, int minPos, int maxPos, int thumbLeft) {
    if (!l.hasThumb) return minPos;
    const int span = (l.track.right - l.track.left) - (l.thumb.right - l.thumb.left);
    if (span <= 0) return minPos;
    const auto range = static_cast<long long>(maxPos) - minPos;
    const long long offset = std::clamp<long long>(thumbLeft - l.track.left, 0, span);
    // Rounded to the nearest position, so the thumb lands where it was let go.
    return minPos + static_cast<int>((offset * range * 2 + span) / (2 * span));
}

LRESULT ScrollBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        States().Create(hwnd);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    if (msg == WM_NCDESTROY) {
        if (const ScrollState* s = States().Get(hwnd); s != nullptr && s->hasCaret) DestroyCaret();
        States().Erase(hwnd);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    ScrollState* s = States().Get(hwnd);
    if (s == nullptr) return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint(hwnd);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_ENABLE:
            Redraw(hwnd, *s);
            return 0;
        case WM_SETFOCUS: {
            const ScrollLayout l = LayoutOf(hwnd, *s);
            if (!l.hasThumb) return 0;
            CreateCaret(hwnd, 1, (l.thumb.right - l.thumb.left) - 4,
                        (l.thumb.bottom - l.thumb.top) - 4);
            s->hasCaret = true;
            PlaceCaret(hwnd, *s);
            ShowCaret(hwnd);
            return 0;
        }
        case WM_KILLFOCUS:
            if (s->hasCaret) DestroyCaret();
            s->hasCaret = false;
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (GetWindowLongA(hwnd, GWL_STYLE) & static_cast<LONG_PTR>(WS_TABSTOP)) SetFocus(hwnd);
            if (IsWindow(hwnd)) Press(hwnd, *s, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_MOUSEMOVE:
            Drag(hwnd, *s, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_LBUTTONUP:
            Release(hwnd, *s);
            return 0;
        case WM_CAPTURECHANGED:
            if (static_cast<HWND>(lParam) != hwnd && s->pressed != Part::None) Release(hwnd, *s);
            return 0;
        case WM_TIMER:
            if (wParam == kRepeatTimer && s->pressed != Part::None && s->pressed != Part::Thumb) {
                SetTimer(hwnd, kRepeatTimer, kRepeatDelay, nullptr);
                // A held page stops once the thumb has come under the pointer.
                POINT pt;
                GetCursorPos(&pt);
                ScreenToClient(hwnd, &pt);
                const bool still = PartAt(LayoutOf(hwnd, *s), pt.x, pt.y) == s->pressed;
                if (still != s->over) {
                    s->over = still;
                    Redraw(hwnd, *s);
                }
                if (still) Notify(hwnd, CodeOf(s->pressed), 0);
            }
            return 0;
        case WM_KEYDOWN: {
            if (!Usable(hwnd, *s)) return 0;
            int code = -1;
            switch (wParam) {
                case VK_LEFT:
                case VK_UP:
                    code = SB_LINELEFT;
                    break;
                case VK_RIGHT:
                case VK_DOWN:
                    code = SB_LINERIGHT;
                    break;
                case VK_PRIOR:
                    code = SB_PAGELEFT;
                    break;
                case VK_NEXT:
                    code = SB_PAGERIGHT;
                    break;
                case VK_HOME:
                    code = SB_LEFT;
                    break;
                case VK_END:
                    code = SB_RIGHT;
                    break;
                default:
                    break;
            }
            if (code >= 0) {
                s->keyHeld = static_cast<UINT>(wParam);
                Notify(hwnd, code, 0);
            }
            return 0;
        }
        case WM_KEYUP:
            // The scroll a key began ends when that key comes up.
            if (s->keyHeld != 0 && s->keyHeld == wParam) {
                s->keyHeld = 0;
                Notify(hwnd, SB_ENDSCROLL, 0);
            }
            return 0;
        case SBM_SETPOS: {
            const int old = s->pos;
            const int pos = Clamp(*s, static_cast<int>(static_cast<std::intptr_t>(wParam)));
            if (pos != old) {
                s->pos = pos;
                if (lParam != 0) Redraw(hwnd, *s);
            }
            return old;
        }
        case SBM_GETPOS:
            return s->pos;
        case SBM_SETRANGE:
        case SBM_SETRANGEREDRAW: {
            const int old = s->pos;
            SetRange(hwnd, *s, static_cast<int>(static_cast<std::intptr_t>(wParam)),
                     static_cast<int>(lParam), msg == SBM_SETRANGEREDRAW);
            return old;
        }
        case SBM_GETRANGE:
            if (wParam != 0) *reinterpret_cast<int*>(wParam) = s->min;
            if (lParam != 0) *reinterpret_cast<int*>(lParam) = s->max;
            return 0;
        default:
            return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace zo::plat::ctl

namespace zo::plat {

namespace {

bool IsScrollControl(HWND hwnd, int bar) {
    if (bar != SB_CTL || !IsWindow(hwnd)) return false;
    char cls[16] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    return std::string(cls) == WC_SCROLLBARA;
}

}  // namespace

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
    if (!IsScrollControl(hwnd, bar)) return 0;
    return static_cast<int>(SendMessageA(
        hwnd, SBM_SETPOS, static_cast<WPARAM>(static_cast<std::intptr_t>(pos)), redraw));
}

int GetScrollPos(HWND hwnd, int bar) {
    if (!IsScrollControl(hwnd, bar)) return 0;
    return static_cast<int>(SendMessageA(hwnd, SBM_GETPOS, 0, 0));
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
    if (!IsScrollControl(hwnd, bar)) return FALSE;
    SendMessageA(hwnd, redraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE,
                 static_cast<WPARAM>(static_cast<std::intptr_t>(minPos)), maxPos);
    return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos) {
    if (!IsScrollControl(hwnd, bar) || minPos == nullptr || maxPos == nullptr) return FALSE;
    SendMessageA(hwnd, SBM_GETRANGE, reinterpret_cast<WPARAM>(minPos),
                 reinterpret_cast<LPARAM>(maxPos));
    return TRUE;
}

}  // namespace zo::plat
