// The list box: single selection over text rows on the window colour, the chosen row in the
// highlight colours, the focus as a dotted frame on it, and a classic vertical scroll bar of
// its own (arrow buttons, a dithered track, a raised thumb) when the rows do not all fit.
#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/commctrl/ControlKit.h"
#include "platform/commctrl/Geometry.h"

namespace zo::plat {

namespace {

struct ListItem {
    std::string text;
    LPARAM data = 0;
};

struct ListState {
    std::vector<ListItem> items;
    int sel = -1;
    int top = 0;
    bool selecting = false;  // the button went down on the rows and is held
    bool dragging = false;   // ... on the thumb
    int dragOffset = 0;      // pointer's distance from the thumb's top
};

thread_local ctl::StateMap<ListState> tlsLists;

ListGeometry GeometryOf(HWND h, const ListState& s) {
    RECT c;
    GetClientRect(h, &c);
    return MeasureList(c.right, c.bottom, kit::LineHeight(ctl::FontOf(h)),
                       static_cast<int>(s.items.size()), s.top);
}

bool Notifies(HWND h) {
    return (GetWindowLongA(h, GWL_STYLE) & LBS_NOTIFY) != 0;
}

void SetTop(HWND h, ListState& s, int top) {
    const ListGeometry g = GeometryOf(h, s);
    top = std::clamp(top, 0, g.maxTop);
    if (top == s.top) return;
    s.top = top;
    InvalidateRect(h, nullptr, FALSE);
}

void ScrollIntoView(HWND h, ListState& s, int index) {
    if (index < 0) return;
    const ListGeometry g = GeometryOf(h, s);
    if (index < s.top)
        SetTop(h, s, index);
    else if (index >= s.top + std::max(g.rows, 1))
        SetTop(h, s, index - std::max(g.rows, 1) + 1);
}

// A choice made by the user, told to the parent when it changed something.
void Choose(HWND h, int index) {
    ListState* s = tlsLists.Get(h);
    if (s == nullptr || s->items.empty()) return;
    index = std::clamp(index, 0, static_cast<int>(s->items.size()) - 1);
    ScrollIntoView(h, *s, index);
    if (index == s->sel) return;
    s->sel = index;
    InvalidateRect(h, nullptr, FALSE);
    if (Notifies(h)) ctl::NotifyParent(h, LBN_SELCHANGE);
}

// The dithered track of the classic scroll bar: white and face in a checkerboard.
void PaintTrack(HDC dc, const RECT& r) {
    const COLORREF light = GetSysColor(COLOR_3DHIGHLIGHT);
    const COLORREF face = GetSysColor(COLOR_3DFACE);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            SetPixel(dc, x, y, (x + y) % 2 == 0 ? light : face);
}

void PaintList(HWND h) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(h, &ps);
    if (dc == 0) return;
    const ListState* s = tlsLists.Get(h);
    RECT client;
    GetClientRect(h, &client);
    const int saved = SaveDC(dc);
    kit::FillSys(dc, client, COLOR_WINDOW);
    if (s != nullptr) {
        const ListGeometry g = GeometryOf(h, *s);
        const bool enabled = IsWindowEnabled(h) != FALSE;
        SelectObject(dc, ctl::FontOf(h));
        SetBkMode(dc, TRANSPARENT);
        IntersectClipRect(dc, g.items.left, g.items.top, g.items.right, g.items.bottom);
        const int n = static_cast<int>(s->items.size());
        for (int i = s->top; i < n; ++i) {
            const int y = (i - s->top) * g.itemHeight;
            if (y >= g.items.bottom) break;
            const RECT row{g.items.left, y, g.items.right, y + g.itemHeight};
            const bool chosen = i == s->sel;
            if (chosen) kit::FillSys(dc, row, COLOR_HIGHLIGHT);
            SetTextColor(dc, GetSysColor(!enabled ? COLOR_GRAYTEXT
                                         : chosen ? COLOR_HIGHLIGHTTEXT
                                                  : COLOR_WINDOWTEXT));
            RECT text{row.left + 2, row.top, row.right, row.bottom};
            DrawTextA(dc, s->items[i].text.c_str(), -1, &text,
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
            if (GetFocus() == h && i == std::max(s->sel, 0)) {
                SetTextColor(dc, RGB(0, 0, 0));
                SetBkColor(dc, RGB(255, 255, 255));
                DrawFocusRect(dc, &row);
            }
        }
        if (GetFocus() == h && n == 0) {
            const RECT row{g.items.left, 0, g.items.right, g.itemHeight};
            DrawFocusRect(dc, &row);
        }
        SelectClipRgn(dc, 0);
        if (g.scroll) {
            RECT up = g.up, down = g.down;
            DrawFrameControl(dc, &up, DFC_SCROLL, DFCS_SCROLLUP | (enabled ? 0 : DFCS_INACTIVE));
            DrawFrameControl(dc, &down, DFC_SCROLL,
                             DFCS_SCROLLDOWN | (enabled ? 0 : DFCS_INACTIVE));
            PaintTrack(dc, g.track);
            RECT thumb = g.thumb;
            if (enabled) DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT | BF_SOFT | BF_MIDDLE);
        }
    }
    RestoreDC(dc, saved);
    EndPaint(h, &ps);
}

bool In(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// The row under a point of the items area, clamped to the rows shown.
int RowAt(const ListGeometry& g, const ListState& s, int y) {
    const int last =
        std::min(static_cast<int>(s.items.size()) - 1, s.top + std::max(g.rows, 1) - 1);
    return std::clamp(s.top + (y < 0 ? -1 : y / std::max(g.itemHeight, 1)), s.top, last);
}

void OnButtonDown(HWND h, POINT p, bool dbl) {
    SetFocus(h);
    ListState* st = tlsLists.Get(h);  // focus notifications may have changed the list
    if (st == nullptr) return;
    const ListGeometry g = GeometryOf(h, *st);
    if (g.scroll && p.x >= g.track.left) {
        if (In(g.up, p))
            SetTop(h, *st, st->top - 1);
        else if (In(g.down, p))
            SetTop(h, *st, st->top + 1);
        else if (In(g.thumb, p)) {
            st->dragging = true;
            st->dragOffset = p.y - g.thumb.top;
            SetCapture(h);
        } else if (p.y < g.thumb.top)
            SetTop(h, *st, st->top - std::max(g.rows - 1, 1));
        else
            SetTop(h, *st, st->top + std::max(g.rows - 1, 1));
        return;
    }
    const int n = static_cast<int>(st->items.size());
    if (n == 0 || p.y >= (n - st->top) * g.itemHeight) return;  // below the last row
    const int row = RowAt(g, *st, p.y);
    if (dbl) {
        Choose(h, row);
        if (IsWindow(h) && Notifies(h)) ctl::NotifyParent(h, LBN_DBLCLK);
        return;
    }
    st->selecting = true;
    SetCapture(h);
    Choose(h, row);
}

void OnMouseMove(HWND h, ListState& s, POINT p) {
    const ListGeometry g = GeometryOf(h, s);
    if (s.dragging) {
        const int span = (g.track.bottom - g.track.top) - (g.thumb.bottom - g.thumb.top);
        if (span <= 0 || g.maxTop == 0) return;
        const int at = p.y - s.dragOffset - g.track.top;
        SetTop(h, s, (at * g.maxTop + span / 2) / span);
    } else if (s.selecting) {
        // Above or below the rows the list scrolls one row per move.
        if (p.y < 0)
            Choose(h, s.top - 1);
        else if (p.y >= g.rows * g.itemHeight)
            Choose(h, s.top + std::max(g.rows, 1));
        else
            Choose(h, RowAt(g, s, p.y));
    }
}

LRESULT Insert(HWND h, ListState& s, WPARAM at, const char* text, bool sorted) {
    if (text == nullptr) return LB_ERR;
    ListItem it{text, 0};
    std::size_t pos = std::min<std::size_t>(at, s.items.size());
    if (sorted) {
        auto less = [](const std::string& a, const std::string& b) {
            return std::lexicographical_compare(
                a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
                    return std::tolower(static_cast<unsigned char>(x)) <
                           std::tolower(static_cast<unsigned char>(y));
                });
        };
        pos = static_cast<std::size_t>(std::upper_bound(s.items.begin(), s.items.end(), it,
                                                        [&](const ListItem& a, const ListItem& b) {
                                                            return less(a.text, b.text);
                                                        }) -
                                       s.items.begin());
    }
    s.items.insert(s.items.begin() + static_cast<std::ptrdiff_t>(pos), std::move(it));
    if (s.sel >= static_cast<int>(pos)) ++s.sel;
    InvalidateRect(h, nullptr, FALSE);
    return static_cast<LRESULT>(pos);
}

int Find(const ListState& s, WPARAM startAfter, const char* text, bool exact) {
    if (text == nullptr || s.items.empty()) return static_cast<int>(LB_ERR);
    const std::string want(text);
    const int n = static_cast<int>(s.items.size());
    const int start = static_cast<int>(startAfter) < 0 || startAfter >= s.items.size()
                          ? -1
                          : static_cast<int>(startAfter);
    for (int k = 1; k <= n; ++k) {
        const std::string& t = s.items[static_cast<std::size_t>((start + k) % n)].text;
        if (t.size() < want.size() || (exact && t.size() != want.size())) continue;
        bool same = true;
        for (std::size_t i = 0; i < want.size() && same; ++i)
            same = std::tolower(static_cast<unsigned char>(t[i])) ==
                   std::tolower(static_cast<unsigned char>(want[i]));
        if (same) return (start + k) % n;
    }
    return static_cast<int>(LB_ERR);
}

void OnKey(HWND h, ListState& s, WPARAM vk) {
    const ListGeometry g = GeometryOf(h, s);
    const int page = std::max(g.rows - 1, 1);
    const int n = static_cast<int>(s.items.size());
    const int cur = s.sel;
    switch (vk) {
        case VK_UP:
            Choose(h, cur < 0 ? 0 : cur - 1);
            break;
        case VK_DOWN:
            Choose(h, cur + 1);
            break;
        case VK_PRIOR:
            Choose(h, cur - page);
            break;
        case VK_NEXT:
            Choose(h, cur < 0 ? page : cur + page);
            break;
        case VK_HOME:
            Choose(h, 0);
            break;
        case VK_END:
            Choose(h, n - 1);
            break;
        default:
            break;
    }
}

LRESULT ListProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    ListState* s = tlsLists.Get(h);
    if (s == nullptr && msg != WM_NCCREATE) return DefWindowProcA(h, msg, wParam, lParam);
    const int n = s != nullptr ? static_cast<int>(s->items.size()) : 0;
    switch (msg) {
        case WM_NCCREATE:
            tlsLists.Create(h);
            return DefWindowProcA(h, msg, wParam, lParam);
        case WM_NCDESTROY:
            tlsLists.Erase(h);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            PaintList(h);
            return 0;
        case WM_SIZE:
            SetTop(h, *s, s->top);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(h, nullptr, FALSE);
            if (Notifies(h))
                ctl::NotifyParent(h, msg == WM_SETFOCUS ? LBN_SETFOCUS : LBN_KILLFOCUS);
            return 0;
        case WM_ENABLE:
            InvalidateRect(h, nullptr, FALSE);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            OnButtonDown(h, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)},
                         msg == WM_LBUTTONDBLCLK);
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(h, *s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_LBUTTONUP:
            if (s->selecting || s->dragging) ReleaseCapture();
            return 0;
        case WM_CAPTURECHANGED:
            s->selecting = s->dragging = false;
            return 0;
        case WM_MOUSEWHEEL:
            SetTop(h, *s, s->top - 3 * static_cast<SHORT>(HIWORD(wParam)) / 120);
            return 0;
        case WM_KEYDOWN:
            OnKey(h, *s, wParam);
            return 0;
        case WM_CHAR: {
            // Type-ahead: the next row after the chosen one that starts with the letter.
            const char c[2] = {static_cast<char>(wParam), '\0'};
            if (wParam < 0x20) return 0;
            const int at = Find(*s, static_cast<WPARAM>(s->sel), c, false);
            if (at >= 0) Choose(h, at);
            return 0;
        }
        case LB_ADDSTRING:
            return Insert(h, *s, s->items.size(), reinterpret_cast<const char*>(lParam),
                          (GetWindowLongA(h, GWL_STYLE) & LBS_SORT) != 0);
        case LB_INSERTSTRING:
            return Insert(h, *s, static_cast<int>(wParam) < 0 ? s->items.size() : wParam,
                          reinterpret_cast<const char*>(lParam), false);
        case LB_DELETESTRING:
            if (wParam >= s->items.size()) return LB_ERR;
            s->items.erase(s->items.begin() + static_cast<std::ptrdiff_t>(wParam));
            if (s->sel == static_cast<int>(wParam))
                s->sel = -1;
            else if (s->sel > static_cast<int>(wParam))
                --s->sel;
            SetTop(h, *s, s->top);
            InvalidateRect(h, nullptr, FALSE);
            return static_cast<LRESULT>(s->items.size());
        case LB_RESETCONTENT:
            s->items.clear();
            s->sel = -1;
            s->top = 0;
            InvalidateRect(h, nullptr, FALSE);
            return 0;
        case LB_SETCURSEL:
            if (static_cast<int>(wParam) == -1 || wParam >= s->items.size()) {
                if (static_cast<int>(wParam) == -1 && s->sel != -1) {
                    s->sel = -1;
                    InvalidateRect(h, nullptr, FALSE);
                }
                return LB_ERR;
            }
            if (s->sel != static_cast<int>(wParam)) {
                s->sel = static_cast<int>(wParam);
                InvalidateRect(h, nullptr, FALSE);
            }
            ScrollIntoView(h, *s, s->sel);
            return s->sel;
        case LB_GETCURSEL:
            return s->sel;
        case LB_GETCOUNT:
            return n;
        case LB_GETTEXTLEN:
            return wParam < s->items.size() ? static_cast<LRESULT>(s->items[wParam].text.size())
                                            : LB_ERR;
        case LB_GETTEXT: {
            auto* out = reinterpret_cast<char*>(lParam);
            if (wParam >= s->items.size() || out == nullptr) return LB_ERR;
            const std::string& t = s->items[wParam].text;
            t.copy(out, t.size());
            out[t.size()] = '\0';
            return static_cast<LRESULT>(t.size());
        }
        case LB_GETITEMDATA:
            return wParam < s->items.size() ? s->items[wParam].data : LB_ERR;
        case LB_SETITEMDATA:
            if (wParam >= s->items.size()) return LB_ERR;
            s->items[wParam].data = lParam;
            return TRUE;
        case LB_GETTOPINDEX:
            return s->top;
        case LB_SETTOPINDEX:
            if (wParam >= s->items.size() && n > 0) return LB_ERR;
            SetTop(h, *s, static_cast<int>(wParam));
            return 0;
        case LB_GETITEMHEIGHT:
            return GeometryOf(h, *s).itemHeight;
        case LB_GETITEMRECT: {
            auto* r = reinterpret_cast<RECT*>(lParam);
            if (r == nullptr || wParam >= s->items.size()) return LB_ERR;
            const ListGeometry g = GeometryOf(h, *s);
            const int y = (static_cast<int>(wParam) - s->top) * g.itemHeight;
            *r = RECT{g.items.left, y, g.items.right, y + g.itemHeight};
            return TRUE;
        }
        case LB_ITEMFROMPOINT: {
            const ListGeometry g = GeometryOf(h, *s);
            const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
            if (n == 0) return MAKELPARAM(0, 1);
            const int row = std::clamp(s->top + (y < 0 ? -1 : y / g.itemHeight), 0, n - 1);
            const bool outside =
                !In(g.items, POINT{x, y}) || y >= (row - s->top + 1) * g.itemHeight;
            return MAKELPARAM(row, outside ? 1 : 0);
        }
        case LB_FINDSTRING:
        case LB_FINDSTRINGEXACT:
            return Find(*s, wParam, reinterpret_cast<const char*>(lParam),
                        msg == LB_FINDSTRINGEXACT);
        default:
            return DefWindowProcA(h, msg, wParam, lParam);
    }
}

}  // namespace

ListGeometry MeasureList(int width, int height, int itemHeight, int count, int top) {
    ListGeometry g;
    g.itemHeight = std::max(itemHeight, 1);
    g.rows = std::max(height, 0) / g.itemHeight;
    g.maxTop = std::max(count - std::max(g.rows, 1), 0);
    g.scroll = count > g.rows && width > kListScrollWidth && height >= 2 * kListScrollWidth;
    g.items = RECT{0, 0, g.scroll ? width - kListScrollWidth : width, height};
    if (!g.scroll) return g;
    const int x = width - kListScrollWidth;
    g.up = RECT{x, 0, width, kListScrollWidth};
    g.down = RECT{x, height - kListScrollWidth, width, height};
    g.track = RECT{x, kListScrollWidth, width, height - kListScrollWidth};
    const int trackLen = g.track.bottom - g.track.top;
    const int thumbLen =
        std::min(trackLen, std::max(kListMinThumb, trackLen * std::max(g.rows, 1) / count));
    const int span = trackLen - thumbLen;
    const int at = g.maxTop > 0 ? span * std::clamp(top, 0, g.maxTop) / g.maxTop : 0;
    g.thumb = RECT{x, g.track.top + at, width, g.track.top + at + thumbLen};
    return g;
}

namespace kit {
void RegisterListBox() {
    EnsureClass(WC_LISTBOXA, &ListProc, CS_DBLCLKS, 0);
}
}  // namespace kit

}  // namespace zo::plat
