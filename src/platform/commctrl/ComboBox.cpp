// The "ComboBox" class, drop-down list style: a field showing the chosen item with a button
// beside it, and a list that drops below it. The mouse, F4 and Alt+Down open the list; in it
// the arrows move the highlight, Enter or a click chooses, Esc or a click anywhere else closes
// it unchanged. Closed, the arrows step through the items. A letter jumps to the next item
// that starts with it. While the list is down the combo holds the mouse capture, which is how
// a click outside is seen.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "platform/commctrl/ControlSupport.h"

namespace zo::plat::ctl {

namespace {

constexpr int kMaxVisible = 8;
constexpr int kListBar = 16;  // width of the list's scroll bar when the items do not fit

struct ComboState {
    std::vector<std::string> items;
    int cur = -1;
    HWND list = 0;      // the dropped list, 0 when closed
    int hot = -1;       // the highlighted item in the list
    int top = 0;        // the first item in view in the list
    bool held = false;  // the press that opened the list is still held
};

StateMap<ComboState>& States() {
    thread_local StateMap<ComboState> m;
    return m;
}

int ItemHeight(HWND hwnd) {
    const HDC dc = GetDC(0);
    const HGDIOBJ old = SelectObject(dc, FontOf(hwnd));
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(0, dc);
    return tm.tmHeight + 2;
}

int Count(const ComboState& s) {
    return static_cast<int>(s.items.size());
}

int Visible(const ComboState& s) {
    return std::clamp(Count(s), 1, kMaxVisible);
}

bool Scrolls(const ComboState& s) {
    return Count(s) > kMaxVisible;
}

RECT ButtonRect(HWND hwnd) {
    RECT r = ClientOf(hwnd);
    InflateRect(&r, -2, -2);
    r.left = std::max(r.left, r.right - GetSystemMetrics(SM_CXVSCROLL));
    return r;
}

void PaintField(HWND hwnd) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(hwnd, &ps);
    if (dc == 0) return;
    const ComboState* s = States().Get(hwnd);
    const int saved = SaveDC(dc);
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    RECT r = ClientOf(hwnd);
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    RECT button = ButtonRect(hwnd);
    const bool down = s != nullptr && s->list != 0;
    DrawFrameControl(
        dc, &button, DFC_SCROLL,
        DFCS_SCROLLDOWN | (down ? DFCS_PUSHED | DFCS_FLAT : 0) | (enabled ? 0 : DFCS_INACTIVE));
    RECT field{r.left, r.top, button.left, r.bottom};
    FillRect(dc, &field, GetSysColorBrush(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
    SelectObject(dc, FontOf(hwnd));
    SetBkMode(dc, TRANSPARENT);
    RECT inner = field;
    InflateRect(&inner, -1, -1);
    const bool focused = HasFocus(hwnd) && enabled;
    if (focused) FillRect(dc, &inner, GetSysColorBrush(COLOR_HIGHLIGHT));
    if (s != nullptr && s->cur >= 0 && s->cur < Count(*s)) {
        const std::string& text = s->items[static_cast<std::size_t>(s->cur)];
        RECT t{inner.left + 2, inner.top, inner.right, inner.bottom};
        SetTextColor(dc, GetSysColor(!enabled  ? COLOR_GRAYTEXT
                                     : focused ? COLOR_HIGHLIGHTTEXT
                                               : COLOR_WINDOWTEXT));
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &t,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (focused) {
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &inner);
    }
    RestoreDC(dc, saved);
    EndPaint(hwnd, &ps);
}

// The list's parts, in its client coordinates.
RECT ItemsArea(HWND list, const ComboState& s) {
    RECT r = ClientOf(list);
    if (Scrolls(s)) r.right -= kListBar;
    return r;
}

void PaintList(HWND list) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(list, &ps);
    if (dc == 0) return;
    const auto combo = static_cast<HWND>(GetWindowLongA(list, GWL_USERDATA));
    const ComboState* s = States().Get(combo);
    const int saved = SaveDC(dc);
    const RECT client = ClientOf(list);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    if (s != nullptr) {
        const int h = ItemHeight(combo);
        const RECT area = ItemsArea(list, *s);
        SelectObject(dc, FontOf(combo));
        SetBkMode(dc, TRANSPARENT);
        for (int i = s->top; i < Count(*s) && i < s->top + Visible(*s); ++i) {
            RECT row{area.left, (i - s->top) * h, area.right, (i - s->top + 1) * h};
            const bool hot = i == s->hot;
            if (hot) FillRect(dc, &row, GetSysColorBrush(COLOR_HIGHLIGHT));
            SetTextColor(dc, GetSysColor(hot ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
            RECT t{row.left + 2, row.top, row.right, row.bottom};
            const std::string& text = s->items[static_cast<std::size_t>(i)];
            DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &t,
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
        if (Scrolls(*s)) {
            RECT up{area.right, 0, client.right, kListBar};
            RECT down{area.right, client.bottom - kListBar, client.right, client.bottom};
            DrawFrameControl(dc, &up, DFC_SCROLL, DFCS_SCROLLUP);
            DrawFrameControl(dc, &down, DFC_SCROLL, DFCS_SCROLLDOWN);
            RECT track{area.right, up.bottom, client.right, down.top};
            FillRect(dc, &track, GetSysColorBrush(COLOR_SCROLLBAR));
            const int len = track.bottom - track.top;
            const int thumb = std::max(8, len * Visible(*s) / Count(*s));
            const int y = track.top + (len - thumb) * s->top / (Count(*s) - Visible(*s));
            RECT t{track.left, y, track.right, y + thumb};
            DrawEdge(dc, &t, EDGE_RAISED, BF_RECT | BF_MIDDLE);
        }
    }
    RestoreDC(dc, saved);
    EndPaint(list, &ps);
}

void ScrollTo(ComboState& s, int top) {
    top = std::clamp(top, 0, std::max(0, Count(s) - Visible(s)));
    if (top == s.top) return;
    s.top = top;
    if (s.list != 0) InvalidateRect(s.list, nullptr, FALSE);
}

void SetHot(ComboState& s, int hot) {
    if (Count(s) == 0) return;
    hot = std::clamp(hot, 0, Count(s) - 1);
    if (hot < s.top) ScrollTo(s, hot);
    if (hot >= s.top + Visible(s)) ScrollTo(s, hot - Visible(s) + 1);
    if (hot == s.hot) return;
    s.hot = hot;
    if (s.list != 0) InvalidateRect(s.list, nullptr, FALSE);
}

void Open(HWND hwnd) {
    ComboState* s = States().Get(hwnd);
    if (s == nullptr || s->list != 0 || !IsWindowEnabled(hwnd)) return;
    if (!NotifyParent(hwnd, CBN_DROPDOWN)) return;
    s = States().Get(hwnd);
    if (s == nullptr || s->list != 0) return;
    RECT wr;
    GetWindowRect(hwnd, &wr);
    const int h = Visible(*s) * ItemHeight(hwnd) + 2;
    const int screenH = GetSystemMetrics(SM_CYSCREEN);
    const int y = wr.bottom + h <= screenH ? wr.bottom : std::max(0, static_cast<int>(wr.top) - h);
    s->top = 0;
    s->hot = -1;
    SetHot(*s, std::max(0, s->cur));
    const HWND list =
        CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kComboListClass, "",
                        WS_POPUP | WS_BORDER, wr.left, y, wr.right - wr.left, h,
                        GetAncestorTopLevel(hwnd), 0, 0, nullptr);
    if (list == 0) return;
    SetWindowLongA(list, GWL_USERDATA, static_cast<LONG_PTR>(hwnd));
    s->list = list;
    ShowWindow(list, SW_SHOWNA);
    SetCapture(hwnd);
    InvalidateRect(hwnd, nullptr, FALSE);
}

// Closes the list; `choose` takes the highlighted item. The parent hears CBN_SELCHANGE (when
// the item changed), then CBN_SELENDOK or CBN_SELENDCANCEL, then CBN_CLOSEUP.
void Close(HWND hwnd, bool choose) {
    ComboState* s = States().Get(hwnd);
    if (s == nullptr || s->list == 0) return;
    const HWND list = s->list;
    s->list = 0;
    s->held = false;
    const bool changed = choose && s->hot >= 0 && s->hot != s->cur;
    if (changed) s->cur = s->hot;
    DestroyWindow(list);
    if (GetCapture() == hwnd) ReleaseCapture();
    InvalidateRect(hwnd, nullptr, FALSE);
    if (changed && !NotifyParent(hwnd, CBN_SELCHANGE)) return;
    if (!NotifyParent(hwnd, choose ? CBN_SELENDOK : CBN_SELENDCANCEL)) return;
    NotifyParent(hwnd, CBN_CLOSEUP);
}

// Closed: a key or a letter moved the choice.
void Choose(HWND hwnd, ComboState& s, int index) {
    if (Count(s) == 0) return;
    index = std::clamp(index, 0, Count(s) - 1);
    if (index == s.cur) return;
    s.cur = index;
    InvalidateRect(hwnd, nullptr, FALSE);
    if (NotifyParent(hwnd, CBN_SELCHANGE)) NotifyParent(hwnd, CBN_SELENDOK);
}

int FindByLetter(const ComboState& s, int after, int ch) {
    const int n = Count(s);
    const int key = std::toupper(ch);
    for (int k = 1; k <= n; ++k) {
        const int i = ((after + k) % n + n) % n;
        const std::string& t = s.items[static_cast<std::size_t>(i)];
        if (!t.empty() && std::toupper(static_cast<unsigned char>(t[0])) == key) return i;
    }
    return -1;
}

void OnKey(HWND hwnd, ComboState& s, WPARAM vk) {
    const bool open = s.list != 0;
    const int at = open ? s.hot : s.cur;
    const int page = Visible(s) - 1;
    int to = at;
    switch (vk) {
        case VK_F4:
            if (open)
                Close(hwnd, true);
            else
                Open(hwnd);
            return;
        case VK_RETURN:
            if (open) Close(hwnd, true);
            return;
        case VK_ESCAPE:
            if (open) Close(hwnd, false);
            return;
        case VK_UP:
        case VK_LEFT:
            to = at - 1;
            break;
        case VK_DOWN:
        case VK_RIGHT:
            to = at + 1;
            break;
        case VK_PRIOR:
            to = at - std::max(1, page);
            break;
        case VK_NEXT:
            to = at + std::max(1, page);
            break;
        case VK_HOME:
            to = 0;
            break;
        case VK_END:
            to = Count(s) - 1;
            break;
        default:
            return;
    }
    if (at < 0 && (vk == VK_UP || vk == VK_LEFT)) to = 0;
    if (open)
        SetHot(s, to);
    else
        Choose(hwnd, s, to);
}

// The list under a point given in the combo's client coordinates: the item, -2 for the list's
// scroll bar, -1 outside the list.
int ListHit(HWND hwnd, const ComboState& s, int x, int y, POINT* inList) {
    POINT pt{x, y};
    ClientToScreen(hwnd, &pt);
    ScreenToClient(s.list, &pt);
    *inList = pt;
    const RECT client = ClientOf(s.list);
    if (!Contains(client, pt.x, pt.y)) return -1;
    const RECT area = ItemsArea(s.list, s);
    if (!Contains(area, pt.x, pt.y)) return -2;
    const int i = s.top + pt.y / ItemHeight(hwnd);
    return i < Count(s) ? i : -1;
}

void OnMouse(HWND hwnd, ComboState& s, UINT msg, int x, int y) {
    const bool inCombo = Contains(ClientOf(hwnd), x, y);
    if (s.list == 0) {
        if (msg != WM_LBUTTONDOWN) return;
        if (GetFocus() != hwnd) SetFocus(hwnd);
        ComboState* again = States().Get(hwnd);
        if (again == nullptr || again->list != 0) return;
        Open(hwnd);
        if (ComboState* now = States().Get(hwnd)) now->held = now->list != 0;
        return;
    }
    POINT pt;
    const int hit = ListHit(hwnd, s, x, y, &pt);
    switch (msg) {
        case WM_MOUSEMOVE:
            if (hit >= 0) SetHot(s, hit);
            return;
        case WM_LBUTTONDOWN:
            if (hit == -2) {
                // The list's scroll bar: the arrows step, the track pages.
                const RECT client = ClientOf(s.list);
                if (pt.y < kListBar)
                    ScrollTo(s, s.top - 1);
                else if (pt.y >= client.bottom - kListBar)
                    ScrollTo(s, s.top + 1);
                else
                    ScrollTo(s, pt.y < client.bottom / 2 ? s.top - Visible(s) : s.top + Visible(s));
            } else if (hit >= 0) {
                SetHot(s, hit);
                s.held = true;
            } else {
                Close(hwnd, false);  // a click outside the list, on the combo too, closes it
            }
            return;
        case WM_LBUTTONUP:
            if (!s.held) return;
            s.held = false;
            if (hit >= 0)
                Close(hwnd, true);
            else if (!inCombo && hit == -1)
                Close(hwnd, false);
            return;
        default:
            return;
    }
}

void Redraw(HWND hwnd) {
    InvalidateRect(hwnd, nullptr, FALSE);
}

}  // namespace

LRESULT ComboListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            PaintList(hwnd);
            return 0;
        default:
            return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

LRESULT ComboProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        States().Create(hwnd);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    if (msg == WM_NCDESTROY) {
        if (ComboState* s = States().Get(hwnd); s != nullptr && s->list != 0) {
            const HWND list = s->list;
            s->list = 0;
            DestroyWindow(list);
        }
        States().Erase(hwnd);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    ComboState* s = States().Get(hwnd);
    if (s == nullptr) return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            PaintField(hwnd);
            return 0;
        case WM_GETDLGCODE: {
            // While the list is down, Enter and Esc close it rather than the dialog.
            const auto* m = reinterpret_cast<const MSG*>(lParam);
            if (s->list != 0 && m != nullptr && m->message == WM_KEYDOWN &&
                (m->wParam == VK_RETURN || m->wParam == VK_ESCAPE))
                return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        }
        case WM_SETFOCUS:
            Redraw(hwnd);
            NotifyParent(hwnd, CBN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            Close(hwnd, false);
            if (!IsWindow(hwnd)) return 0;
            Redraw(hwnd);
            NotifyParent(hwnd, CBN_KILLFOCUS);
            return 0;
        case WM_ENABLE:
            if (!wParam) Close(hwnd, false);
            if (IsWindow(hwnd)) Redraw(hwnd);
            return 0;
        case WM_CAPTURECHANGED:
            if (s->list != 0 && static_cast<HWND>(lParam) != hwnd) Close(hwnd, false);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            OnMouse(hwnd, *s, WM_LBUTTONDOWN, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
            OnMouse(hwnd, *s, msg, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_MOUSEWHEEL:
            if (s->list != 0) ScrollTo(*s, s->top - static_cast<SHORT>(HIWORD(wParam)) / 120 * 3);
            return 0;
        case WM_KEYDOWN:
            OnKey(hwnd, *s, wParam);
            return 0;
        case WM_SYSKEYDOWN:
            if (wParam == VK_DOWN || wParam == VK_UP) {
                if (s->list != 0)
                    Close(hwnd, true);
                else
                    Open(hwnd);
                return 0;
            }
            return DefWindowProcA(hwnd, msg, wParam, lParam);
        case WM_CHAR: {
            const int ch = static_cast<int>(wParam & 0xFF);
            if (ch <= ' ' || Count(*s) == 0) return 0;
            const int i = FindByLetter(*s, s->list != 0 ? s->hot : s->cur, ch);
            if (i < 0) return 0;
            if (s->list != 0)
                SetHot(*s, i);
            else
                Choose(hwnd, *s, i);
            return 0;
        }
        case WM_GETTEXT: {
            auto* buf = reinterpret_cast<char*>(lParam);
            if (buf == nullptr || wParam == 0) return 0;
            const std::string text = s->cur >= 0 ? s->items[static_cast<std::size_t>(s->cur)] : "";
            const std::size_t n = std::min<std::size_t>(text.size(), wParam - 1);
            std::memcpy(buf, text.data(), n);
            buf[n] = '\0';
            return static_cast<LRESULT>(n);
        }
        case WM_GETTEXTLENGTH:
            return s->cur >= 0
                       ? static_cast<LRESULT>(s->items[static_cast<std::size_t>(s->cur)].size())
                       : 0;
        case CB_ADDSTRING:
        case CB_INSERTSTRING: {
            const char* text = reinterpret_cast<const char*>(lParam);
            const auto at = msg == CB_ADDSTRING ? -1 : static_cast<std::intptr_t>(wParam);
            if (at > Count(*s)) return CB_ERR;
            const int index = at < 0 ? Count(*s) : static_cast<int>(at);
            s->items.insert(s->items.begin() + index, text != nullptr ? text : "");
            if (s->cur >= index) ++s->cur;
            if (s->list != 0) InvalidateRect(s->list, nullptr, FALSE);
            return index;
        }
        case CB_DELETESTRING: {
            const auto at = static_cast<std::intptr_t>(wParam);
            if (at < 0 || at >= Count(*s)) return CB_ERR;
            s->items.erase(s->items.begin() + at);
            if (s->cur == at)
                s->cur = -1;
            else if (s->cur > at)
                --s->cur;
            Redraw(hwnd);
            return Count(*s);
        }
        case CB_RESETCONTENT:
            Close(hwnd, false);
            if (ComboState* again = States().Get(hwnd)) {
                again->items.clear();
                again->cur = -1;
                Redraw(hwnd);
            }
            return 0;
        case CB_GETCOUNT:
            return Count(*s);
        case CB_GETCURSEL:
            return s->cur;
        case CB_SETCURSEL: {
            // An index out of range, or -1, clears the choice and answers CB_ERR.
            const auto at = static_cast<std::intptr_t>(wParam);
            const int next = at >= 0 && at < Count(*s) ? static_cast<int>(at) : -1;
            if (next != s->cur) {
                s->cur = next;
                Redraw(hwnd);
            }
            return next >= 0 ? next : CB_ERR;
        }
        case CB_GETLBTEXT:
        case CB_GETLBTEXTLEN: {
            const auto at = static_cast<std::intptr_t>(wParam);
            if (at < 0 || at >= Count(*s)) return CB_ERR;
            const std::string& t = s->items[static_cast<std::size_t>(at)];
            if (msg == CB_GETLBTEXT && lParam != 0) {
                // The buffer must hold CB_GETLBTEXTLEN + 1 characters, as on the classic platform.
                std::memcpy(reinterpret_cast<char*>(lParam), t.c_str(), t.size() + 1);
            }
            return static_cast<LRESULT>(t.size());
        }
        case CB_SHOWDROPDOWN:
            if (wParam && s->list == 0)
                Open(hwnd);
            else if (!wParam && s->list != 0)
                Close(hwnd, false);
            return TRUE;
        case CB_GETDROPPEDSTATE:
            return s->list != 0 ? TRUE : FALSE;
        default:
            return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace zo::plat::ctl
