// Window geometry: frames and client areas, coordinates, visibility and visible regions,
// moving, sizing, z-order, showing and hiding with the repaint of what that exposes, and
// hit testing.
#include <algorithm>

#include "platform/display/Backend.h"
#include "platform/window/WindowInternal.h"

namespace zo::plat {

namespace {

bool Overlaps(const RECT& a, const RECT& b) {
    return std::max(a.left, b.left) < std::min(a.right, b.right) &&
           std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

bool Contains(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

RECT Offset(RECT r, LONG dx, LONG dy) {
    return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

const std::vector<HWND>* SiblingList(const Wnd& w) {
    if (IsTopLevel(w)) return &WinState().topLevels;
    Wnd* p = GetWnd(w.parent);
    return p != nullptr ? &p->children : nullptr;
}

void Reorder(Wnd& w, HWND after) {
    auto* list = const_cast<std::vector<HWND>*>(SiblingList(w));
    if (list == nullptr) return;
    if (after == HWND_TOPMOST && IsTopLevel(w)) w.exStyle |= WS_EX_TOPMOST;
    if (after == HWND_NOTOPMOST && IsTopLevel(w)) w.exStyle &= ~WS_EX_TOPMOST;
    std::erase(*list, w.self);
    auto topmost = [](HWND h) {
        Wnd* o = GetWnd(h);
        return o != nullptr && (o->exStyle & WS_EX_TOPMOST) != 0;
    };
    const bool isTopmost = IsTopLevel(w) && (w.exStyle & WS_EX_TOPMOST) != 0;
    auto it = list->end();
    if (after == HWND_BOTTOM) {
        it = list->end();
        if (isTopmost) it = std::find_if_not(list->begin(), list->end(), topmost);
    } else if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
        it = list->begin();
        if (IsTopLevel(w) && !isTopmost) it = std::find_if_not(list->begin(), list->end(), topmost);
    } else {
        it = std::find(list->begin(), list->end(), after);
        it = (it == list->end()) ? list->begin() : it + 1;
        // A window stays in its band: ordinary windows below topmost ones and the reverse.
        if (IsTopLevel(w)) {
            auto firstPlain = std::find_if_not(list->begin(), list->end(), topmost);
            if (isTopmost && it > firstPlain) it = firstPlain;
            if (!isTopmost && it < firstPlain) it = firstPlain;
        }
    }
    list->insert(it, w.self);
}

void ForEachVisibleWindow(const std::vector<HWND>& list, const auto& f) {
    for (HWND h : list) {
        Wnd* w = GetWnd(h);
        if (w == nullptr || !(w->style & WS_VISIBLE)) continue;
        f(*w);
        ForEachVisibleWindow(w->children, f);
    }
}

}  // namespace

int FrameThickness(DWORD style, DWORD exStyle) {
    return ((style & WS_BORDER) ? 1 : 0) + ((exStyle & WS_EX_CLIENTEDGE) ? 2 : 0);
}

RECT ClientRectLocal(const Wnd& w) {
    const LONG width = w.rect.right - w.rect.left;
    const LONG height = w.rect.bottom - w.rect.top;
    const LONG f = FrameThickness(w.style, w.exStyle);
    RECT r{f, f, std::max(f, width - f), std::max(f, height - f)};
    r.right = std::max(r.left, std::min(r.right, width));
    r.bottom = std::max(r.top, std::min(r.bottom, height));
    return r;
}

RECT WindowRectOnScreen(const Wnd& w) {
    if (IsTopLevel(w)) return w.rect;
    Wnd* p = GetWnd(w.parent);
    if (p == nullptr) return w.rect;
    const POINT o = ClientOriginOnScreen(*p);
    return Offset(w.rect, o.x, o.y);
}

POINT ClientOriginOnScreen(const Wnd& w) {
    const RECT wr = WindowRectOnScreen(w);
    const RECT c = ClientRectLocal(w);
    return POINT{wr.left + c.left, wr.top + c.top};
}

RECT ClientRectOnScreen(const Wnd& w) {
    const RECT wr = WindowRectOnScreen(w);
    return Offset(ClientRectLocal(w), wr.left, wr.top);
}

bool IsVisibleDeep(const Wnd& w) {
    const Wnd* cur = &w;
    while (true) {
        if (!(cur->style & WS_VISIBLE)) return false;
        if (IsTopLevel(*cur)) return true;
        cur = GetWnd(cur->parent);
        if (cur == nullptr) return false;
    }
}

Region VisibleRegion(const Wnd& w, bool wholeWindow) {
    Region r;
    if (!IsVisibleDeep(w)) return r;
    const WindowState& s = WinState();
    r.Add(wholeWindow ? WindowRectOnScreen(w) : ClientRectOnScreen(w));
    r.Intersect(RECT{0, 0, s.screenWidth, s.screenHeight});
    for (const Wnd* p = IsTopLevel(w) ? nullptr : GetWnd(w.parent); p != nullptr;
         p = IsTopLevel(*p) ? nullptr : GetWnd(p->parent))
        r.Intersect(ClientRectOnScreen(*p));
    // A WS_EX_TRANSPARENT window (a group box) draws only its outline and lets what lies
    // under it show, so it covers neither its parent nor the siblings beneath it.
    for (HWND c : w.children) {
        Wnd* cw = GetWnd(c);
        if (cw != nullptr && (cw->style & WS_VISIBLE) && !(cw->exStyle & WS_EX_TRANSPARENT))
            r.Subtract(WindowRectOnScreen(*cw));
    }
    // Siblings above the window, and above each of its ancestors, cover it.
    for (const Wnd* cur = &w; cur != nullptr && !r.Empty();
         cur = IsTopLevel(*cur) ? nullptr : GetWnd(cur->parent)) {
        const auto* list = SiblingList(*cur);
        if (list == nullptr) break;
        for (HWND h : *list) {
            if (h == cur->self) break;
            Wnd* o = GetWnd(h);
            if (o != nullptr && (o->style & WS_VISIBLE) && !(o->exStyle & WS_EX_TRANSPARENT))
                r.Subtract(WindowRectOnScreen(*o));
        }
    }
    return r;
}

void InvalidateWholeWindow(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void ExposeScreenArea(const Region& area, HWND except) {
    if (area.Empty()) return;
    WindowState& s = WinState();
    const RECT bounds = area.Bounds();
    Region bare = area;
    ForEachVisibleWindow(s.topLevels, [&](Wnd& w) {
        const RECT wr = WindowRectOnScreen(w);
        if (IsTopLevel(w)) bare.Subtract(wr);
        if (w.self == except || !Overlaps(wr, bounds)) return;
        Region part = area;
        part.Intersect(wr);
        if (part.Empty()) return;
        const RECT cr = ClientRectOnScreen(w);
        Region client = part;
        client.Intersect(cr);
        if (!client.Empty()) {
            client.Offset(-cr.left, -cr.top);
            for (const RECT& r : client.Rects())
                w.update.Add(r);
            w.erasePending = true;
        }
        Region frame = part;
        frame.Subtract(cr);
        if (!frame.Empty()) w.frameDirty = true;
    });
    PaintBareScreen(bare);
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr || rect == nullptr) return FALSE;
    const RECT c = ClientRectLocal(*w);
    *rect = RECT{0, 0, c.right - c.left, c.bottom - c.top};
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr || rect == nullptr) return FALSE;
    *rect = WindowRectOnScreen(*w);
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* pt) {
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr || pt == nullptr) return FALSE;
    const POINT o = ClientOriginOnScreen(*w);
    pt->x += o.x;
    pt->y += o.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* pt) {
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr || pt == nullptr) return FALSE;
    const POINT o = ClientOriginOnScreen(*w);
    pt->x -= o.x;
    pt->y -= o.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
    POINT a, b;
    if (from != 0) {
        Wnd* w = GetWnd(from);
        if (w == nullptr) return 0;
        a = ClientOriginOnScreen(*w);
    }
    if (to != 0) {
        Wnd* w = GetWnd(to);
        if (w == nullptr) return 0;
        b = ClientOriginOnScreen(*w);
    }
    const LONG dx = a.x - b.x;
    const LONG dy = a.y - b.y;
    if (points != nullptr) {
        for (UINT i = 0; i < count; ++i) {
            points[i].x += dx;
            points[i].y += dy;
        }
    }
    return static_cast<int>(MAKELPARAM(dx, dy));
}

BOOL IsWindowVisible(HWND hwnd) {
    Wnd* w = GetWnd(hwnd);
    return (w != nullptr && IsVisibleDeep(*w)) ? TRUE : FALSE;
}

BOOL SetWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags) {
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr) return FALSE;
    if (!(flags & SWP_NOZORDER) && after != HWND_TOP && after != HWND_BOTTOM &&
        after != HWND_TOPMOST && after != HWND_NOTOPMOST) {
        Wnd* a = GetWnd(after);
        if (a == nullptr || a == w) return FALSE;
        const auto* list = SiblingList(*w);
        if (list == nullptr || std::find(list->begin(), list->end(), after) == list->end())
            return FALSE;
    }
    // Nothing to do when the window stays where and as it is: no region to work out.
    if ((flags & SWP_NOZORDER) && !(flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED))) {
        RECT same = w->rect;
        if (!(flags & SWP_NOMOVE))
            same = RECT{x, y, x + (same.right - same.left), y + (same.bottom - same.top)};
        if (!(flags & SWP_NOSIZE))
            same.right = same.left + std::max(cx, 0), same.bottom = same.top + std::max(cy, 0);
        if (same == w->rect) return TRUE;
    }
    const bool wasVisible = IsVisibleDeep(*w);
    const Region before = wasVisible ? VisibleRegion(*w, true) : Region();
    const RECT oldRect = w->rect;
    const RECT oldClient = ClientRectLocal(*w);
    RECT r = w->rect;
    if (!(flags & SWP_NOMOVE)) {
        r.right = x + (r.right - r.left);
        r.bottom = y + (r.bottom - r.top);
        r.left = x;
        r.top = y;
    }
    if (!(flags & SWP_NOSIZE)) {
        r.right = r.left + std::max(cx, 0);
        r.bottom = r.top + std::max(cy, 0);
    }
    w->rect = r;
    const std::vector<HWND> oldOrder = *SiblingList(*w);
    if (!(flags & SWP_NOZORDER)) Reorder(*w, after);
    const bool reordered = *SiblingList(*w) != oldOrder;
    bool shown = false;
    bool hidden = false;
    if ((flags & SWP_SHOWWINDOW) && !(w->style & WS_VISIBLE)) {
        w->style |= WS_VISIBLE;
        shown = true;
    } else if ((flags & SWP_HIDEWINDOW) && (w->style & WS_VISIBLE)) {
        w->style &= ~WS_VISIBLE;
        hidden = true;
    }
    const RECT newClient = ClientRectLocal(*w);
    const bool moved = r.left + newClient.left != oldRect.left + oldClient.left ||
                       r.top + newClient.top != oldRect.top + oldClient.top;
    const bool sized = newClient.right - newClient.left != oldClient.right - oldClient.left ||
                       newClient.bottom - newClient.top != oldClient.bottom - oldClient.top;
    const bool frameChanged = !(r == oldRect);
    const bool isVisible = IsVisibleDeep(*w);
    if (!(flags & SWP_NOREDRAW) &&
        (frameChanged || reordered || shown || hidden || (flags & SWP_FRAMECHANGED))) {
        Region exposed = before;
        if (isVisible) {
            const Region now = VisibleRegion(*w, true);
            for (const RECT& nr : now.Rects())
                exposed.Subtract(nr);
            // The framebuffer under the window holds other pixels now: repaint all of it.
            if (frameChanged || reordered || shown || (flags & SWP_FRAMECHANGED))
                InvalidateWholeWindow(hwnd);
        }
        ExposeScreenArea(exposed, hwnd);
        // Windows that were below and now cover part of this one changed nothing; those this one
        // now covers no longer show there, which needs no repaint.
    }
    if (IsTopLevel(*w) && (frameChanged || reordered || shown || hidden))
        Backend().WindowChanged(hwnd);
    if (shown && IsTopLevel(*w) && !(flags & SWP_NOACTIVATE) && !(w->exStyle & WS_EX_NOACTIVATE))
        SetActiveWindow(hwnd);
    if (GetWnd(hwnd) == nullptr) return TRUE;
    if (moved) {
        POINT o{r.left + newClient.left, r.top + newClient.top};
        SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(o.x, o.y));
    }
    if (sized && GetWnd(hwnd) != nullptr)
        SendMessageA(
            hwnd, WM_SIZE, SIZE_RESTORED,
            MAKELPARAM(newClient.right - newClient.left, newClient.bottom - newClient.top));
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(hwnd, 0, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL ShowWindow(HWND hwnd, int cmd) {
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr) return FALSE;
    const bool was = (w->style & WS_VISIBLE) != 0;
    if (cmd == SW_HIDE) {
        if (!was) return FALSE;
        SendMessageA(hwnd, WM_SHOWWINDOW, FALSE, 0);
        if (GetWnd(hwnd) == nullptr) return TRUE;
        SetWindowPos(hwnd, 0, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        WindowState& s = WinState();
        // Capture and focus do not stay in a hidden window.
        if (s.capture != 0 && (s.capture == hwnd || IsChild(hwnd, s.capture))) ReleaseCapture();
        if (s.focus != 0 && (s.focus == hwnd || IsChild(hwnd, s.focus))) {
            Wnd* ww = GetWnd(hwnd);
            SetFocus((ww != nullptr && !IsTopLevel(*ww)) ? ww->parent : 0);
        }
        if (s.active == hwnd) s.active = 0;
        return TRUE;
    }
    const bool activate = cmd != SW_SHOWNA && cmd != SW_SHOWNOACTIVATE;
    if (!was) {
        SendMessageA(hwnd, WM_SHOWWINDOW, TRUE, 0);
        if (GetWnd(hwnd) == nullptr) return FALSE;
        SetWindowPos(hwnd, 0, 0, 0, 0, 0,
                     SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER |
                         (activate ? 0 : SWP_NOACTIVATE));
    } else if (activate && IsTopLevel(*w) && !(w->exStyle & WS_EX_NOACTIVATE)) {
        SetActiveWindow(hwnd);
    }
    return was ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr) return FALSE;
    const bool wasDisabled = (w->style & WS_DISABLED) != 0;
    if (enable && wasDisabled) {
        w->style &= ~WS_DISABLED;
        SendMessageA(hwnd, WM_ENABLE, TRUE, 0);
    } else if (!enable && !wasDisabled) {
        w->style |= WS_DISABLED;
        WindowState& s = WinState();
        if (s.focus != 0 && (s.focus == hwnd || IsChild(hwnd, s.focus))) SetFocus(0);
        if (GetWnd(hwnd) != nullptr) SendMessageA(hwnd, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd) {
    Wnd* w = GetWnd(hwnd);
    return (w != nullptr && !(w->style & WS_DISABLED)) ? TRUE : FALSE;
}

namespace {

// The deepest visible window under pt among `list` and their children; windows answering
// HTTRANSPARENT to WM_NCHITTEST let the point through. Disabled children are passed over.
HWND HitTestList(const std::vector<HWND>& listRef, POINT pt) {
    const std::vector<HWND> list = listRef;  // hit-test handlers may change the tree
    for (HWND h : list) {
        Wnd* w = GetWnd(h);
        if (w == nullptr || !(w->style & WS_VISIBLE)) continue;
        if (!IsTopLevel(*w) && (w->style & WS_DISABLED)) continue;
        if (!Contains(WindowRectOnScreen(*w), pt)) continue;
        if (Contains(ClientRectOnScreen(*w), pt)) {
            const HWND deeper = HitTestList(w->children, pt);
            if (deeper != 0) return deeper;
        }
        if (SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)) == HTTRANSPARENT) continue;
        if (GetWnd(h) != nullptr) return h;
    }
    return 0;
}

}  // namespace

HWND WindowFromPoint(POINT pt) {
    return HitTestList(WinState().topLevels, pt);
}

HWND ChildWindowFromPoint(HWND parent, POINT client) {
    Wnd* p = GetWnd(parent);
    if (p == nullptr) return 0;
    const RECT c = ClientRectLocal(*p);
    if (client.x < 0 || client.y < 0 || client.x >= c.right - c.left ||
        client.y >= c.bottom - c.top)
        return 0;
    POINT screen = client;
    ClientToScreen(parent, &screen);
    for (HWND h : p->children) {
        Wnd* w = GetWnd(h);
        if (w != nullptr && Contains(WindowRectOnScreen(*w), screen)) return h;
    }
    return parent;
}

}  // namespace zo::plat
