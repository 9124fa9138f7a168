// The tab control: one row of tabs over a raised pane, in the classic look. The chosen tab
// stands two pixels proud of the others and opens into the pane; the focus shows as a dotted
// frame round its text.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/commctrl/ControlKit.h"
#include "platform/commctrl/Geometry.h"

namespace zo::plat {

namespace {

struct TabItem {
    std::string text;
    LPARAM param = 0;
};

struct TabState {
    std::vector<TabItem> items;
    int sel = -1;
};

thread_local ctl::StateMap<TabState> tlsTabs;

std::vector<RECT> Layout(HWND h, const TabState& s) {
    const HFONT font = ctl::FontOf(h);
    std::vector<int> widths;
    widths.reserve(s.items.size());
    for (const TabItem& it : s.items)
        widths.push_back(kit::TextWidth(font, it.text));
    return TabRects(widths, kit::LineHeight(font));
}

int PaneTop(HWND h) {
    return TabPaneTop(kit::LineHeight(ctl::FontOf(h)));
}

// The outline of one tab: white left and top with a cut corner, dark right side.
void DrawTabFrame(HDC dc, const RECT& r) {
    const RECT left{r.left, r.top + 2, r.left + 1, r.bottom};
    const RECT corner{r.left + 1, r.top + 1, r.left + 2, r.top + 2};
    const RECT top{r.left + 2, r.top, r.right - 2, r.top + 1};
    kit::FillSys(dc, left, COLOR_3DHIGHLIGHT);
    kit::FillSys(dc, corner, COLOR_3DHIGHLIGHT);
    kit::FillSys(dc, top, COLOR_3DHIGHLIGHT);
    const RECT inner{r.right - 2, r.top + 2, r.right - 1, r.bottom};
    const RECT darkCorner{r.right - 2, r.top + 1, r.right - 1, r.top + 2};
    const RECT outer{r.right - 1, r.top + 2, r.right, r.bottom};
    kit::FillSys(dc, inner, COLOR_3DSHADOW);
    kit::FillSys(dc, darkCorner, COLOR_3DDKSHADOW);
    kit::FillSys(dc, outer, COLOR_3DDKSHADOW);
}

void PaintTabs(HWND h) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(h, &ps);
    if (dc == 0) return;
    const TabState* s = tlsTabs.Get(h);
    RECT client;
    GetClientRect(h, &client);
    const int saved = SaveDC(dc);
    kit::FillSys(dc, client, COLOR_3DFACE);
    const int paneTop = PaneTop(h);
    RECT pane{client.left, paneTop, client.right, client.bottom};
    DrawEdge(dc, &pane, EDGE_RAISED, BF_RECT | BF_SOFT);
    if (s != nullptr) {
        SelectObject(dc, ctl::FontOf(h));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        const bool enabled = IsWindowEnabled(h) != FALSE;
        const std::vector<RECT> rects = Layout(h, *s);
        const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        // The chosen tab last, over its neighbours and the pane's top line.
        for (int pass = 0; pass < 2; ++pass) {
            for (std::size_t i = 0; i < rects.size(); ++i) {
                const bool chosen = static_cast<int>(i) == s->sel;
                if (chosen != (pass == 1)) continue;
                const RECT r = chosen ? ChosenTabRect(rects[i]) : rects[i];
                if (chosen)
                    kit::FillSys(dc, RECT{r.left + 1, r.top + 1, r.right - 2, r.bottom},
                                 COLOR_3DFACE);
                DrawTabFrame(dc, r);
                RECT text = rects[i];
                if (chosen) OffsetRect(&text, 0, -1);
                ctl::DrawLabel(dc, s->items[i].text, text, format, enabled);
                if (chosen && GetFocus() == h) {
                    RECT mark{r.left + 3, r.top + 3, r.right - 3, r.bottom - 2};
                    SetTextColor(dc, RGB(0, 0, 0));
                    SetBkColor(dc, RGB(255, 255, 255));
                    DrawFocusRect(dc, &mark);
                    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
                }
            }
        }
    }
    RestoreDC(dc, saved);
    EndPaint(h, &ps);
}

// A choice by the user: asked of the parent first, told to it after.
void ChooseByUser(HWND h, int index) {
    TabState* s = tlsTabs.Get(h);
    if (s == nullptr || index < 0 || index >= static_cast<int>(s->items.size()) || index == s->sel)
        return;
    if (kit::Notify(h, TCN_SELCHANGING) != 0) return;
    s = tlsTabs.Get(h);  // the parent may have changed or destroyed the control meanwhile
    if (s == nullptr || index >= static_cast<int>(s->items.size())) return;
    s->sel = index;
    InvalidateRect(h, nullptr, FALSE);
    kit::Notify(h, TCN_SELCHANGE);
}

void OnKey(HWND h, WPARAM vk) {
    const TabState* s = tlsTabs.Get(h);
    if (s == nullptr || s->items.empty()) return;
    const int n = static_cast<int>(s->items.size());
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    int step = 0;
    bool wrap = ctrl;
    if (ctrl && vk == VK_TAB)
        step = GetKeyState(VK_SHIFT) < 0 ? -1 : 1;
    else if (ctrl && vk == VK_NEXT)
        step = 1;
    else if (ctrl && vk == VK_PRIOR)
        step = -1;
    else if (!ctrl && vk == VK_RIGHT)
        step = 1, wrap = false;
    else if (!ctrl && vk == VK_LEFT)
        step = -1, wrap = false;
    if (step == 0) return;
    int to = std::max(s->sel, 0) + step;
    if (s->sel < 0) to = step > 0 ? 0 : n - 1;
    if (wrap) to = (to % n + n) % n;
    ChooseByUser(h, std::clamp(to, 0, n - 1));
}

LRESULT GetItem(const TabState& s, WPARAM index, TCITEMA* item) {
    if (item == nullptr || index >= s.items.size()) return FALSE;
    const TabItem& it = s.items[index];
    if ((item->mask & TCIF_TEXT) && item->pszText != nullptr && item->cchTextMax > 0) {
        const std::size_t n =
            std::min(it.text.size(), static_cast<std::size_t>(item->cchTextMax - 1));
        it.text.copy(item->pszText, n);
        item->pszText[n] = '\0';
    }
    if (item->mask & TCIF_PARAM) item->lParam = it.param;
    return TRUE;
}

LRESULT TabProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    TabState* s = tlsTabs.Get(h);
    switch (msg) {
        case WM_NCCREATE:
            tlsTabs.Create(h);
            return DefWindowProcA(h, msg, wParam, lParam);
        case WM_NCDESTROY:
            tlsTabs.Erase(h);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            PaintTabs(h);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE:
            InvalidateRect(h, nullptr, FALSE);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            if (s == nullptr) return 0;
            const int hit = TabAt(Layout(h, *s), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            if (GetWindowLongA(h, GWL_STYLE) & WS_TABSTOP) SetFocus(h);
            if (hit >= 0) ChooseByUser(h, hit);
            return 0;
        }
        case WM_KEYDOWN:
            OnKey(h, wParam);
            return 0;
        case TCM_GETITEMCOUNT:
            return s != nullptr ? static_cast<LRESULT>(s->items.size()) : 0;
        case TCM_INSERTITEMA: {
            const auto* item = reinterpret_cast<const TCITEMA*>(lParam);
            if (s == nullptr || item == nullptr) return -1;
            TabItem it;
            if ((item->mask & TCIF_TEXT) && item->pszText != nullptr) it.text = item->pszText;
            if (item->mask & TCIF_PARAM) it.param = item->lParam;
            const std::size_t at = std::min<std::size_t>(wParam, s->items.size());
            s->items.insert(s->items.begin() + static_cast<std::ptrdiff_t>(at), std::move(it));
            if (s->sel < 0)
                s->sel = 0;
            else if (static_cast<int>(at) <= s->sel)
                ++s->sel;
            InvalidateRect(h, nullptr, FALSE);
            return static_cast<LRESULT>(at);
        }
        case TCM_SETITEMA: {
            const auto* item = reinterpret_cast<const TCITEMA*>(lParam);
            if (s == nullptr || item == nullptr || wParam >= s->items.size()) return FALSE;
            if ((item->mask & TCIF_TEXT) && item->pszText != nullptr)
                s->items[wParam].text = item->pszText;
            if (item->mask & TCIF_PARAM) s->items[wParam].param = item->lParam;
            InvalidateRect(h, nullptr, FALSE);
            return TRUE;
        }
        case TCM_GETITEMA:
            return s != nullptr ? GetItem(*s, wParam, reinterpret_cast<TCITEMA*>(lParam)) : FALSE;
        case TCM_DELETEITEM: {
            if (s == nullptr || wParam >= s->items.size()) return FALSE;
            s->items.erase(s->items.begin() + static_cast<std::ptrdiff_t>(wParam));
            const int at = static_cast<int>(wParam);
            if (at < s->sel || s->sel >= static_cast<int>(s->items.size())) --s->sel;
            InvalidateRect(h, nullptr, FALSE);
            return TRUE;
        }
        case TCM_DELETEALLITEMS:
            if (s == nullptr) return FALSE;
            s->items.clear();
            s->sel = -1;
            InvalidateRect(h, nullptr, FALSE);
            return TRUE;
        case TCM_GETITEMRECT: {
            auto* r = reinterpret_cast<RECT*>(lParam);
            if (s == nullptr || r == nullptr || wParam >= s->items.size()) return FALSE;
            *r = Layout(h, *s)[wParam];
            return TRUE;
        }
        case TCM_GETCURSEL:
        case TCM_GETCURFOCUS:
            return s != nullptr ? s->sel : -1;
        case TCM_SETCURSEL: {
            if (s == nullptr || wParam >= s->items.size()) return -1;
            const int old = s->sel;
            if (old != static_cast<int>(wParam)) {
                s->sel = static_cast<int>(wParam);
                InvalidateRect(h, nullptr, FALSE);
            }
            return old;
        }
        case TCM_HITTEST: {
            auto* info = reinterpret_cast<TCHITTESTINFO*>(lParam);
            if (s == nullptr || info == nullptr) return -1;
            const int hit = TabAt(Layout(h, *s), info->pt);
            info->flags = hit >= 0 ? TCHT_ONITEM : TCHT_NOWHERE;
            return hit;
        }
        case TCM_ADJUSTRECT: {
            auto* r = reinterpret_cast<RECT*>(lParam);
            if (r == nullptr) return 0;
            *r = AdjustTabRect(*r, PaneTop(h), wParam != 0);
            return 0;
        }
        default:
            return DefWindowProcA(h, msg, wParam, lParam);
    }
}

}  // namespace

std::vector<RECT> TabRects(const std::vector<int>& textWidths, int lineHeight) {
    std::vector<RECT> out;
    out.reserve(textWidths.size());
    const int height = lineHeight + kTabPadY;
    int x = kTabInset;
    for (int w : textWidths) {
        const int width = std::max(kTabMinWidth, w + 2 * kTabPadX);
        out.push_back(RECT{x, kTabInset, x + width, kTabInset + height});
        x += width;
    }
    return out;
}

int TabPaneTop(int lineHeight) {
    return kTabInset + lineHeight + kTabPadY;
}

RECT ChosenTabRect(const RECT& tab) {
    return RECT{tab.left - kTabInset, tab.top - kTabInset, tab.right + kTabInset, tab.bottom + 1};
}

int TabAt(const std::vector<RECT>& tabs, POINT p) {
    for (std::size_t i = 0; i < tabs.size(); ++i) {
        const RECT& r = tabs[i];
        if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom)
            return static_cast<int>(i);
    }
    return -1;
}

RECT AdjustTabRect(const RECT& r, int paneTop, bool larger) {
    const int d = larger ? -kTabPageMargin : kTabPageMargin;
    const int top = larger ? -paneTop - kTabPageMargin : paneTop + kTabPageMargin;
    return RECT{r.left + d, r.top + top, r.right - d, r.bottom - d};
}

namespace kit {
void RegisterTabControl() {
    EnsureClass(WC_TABCONTROLA, &TabProc, CS_DBLCLKS, 0);
}
}  // namespace kit

}  // namespace zo::plat
