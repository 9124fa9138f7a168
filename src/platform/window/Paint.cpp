// Painting: update regions, invalidation and validation, the synchronous paints of
// UpdateWindow and RedrawWindow, BeginPaint/EndPaint with WM_ERASEBKGND, window DCs clipped to
// what can be seen, and the frames the platform draws around client areas.
#include <algorithm>

#include "platform/Gdi.h"
#include "platform/GdiInternal.h"
#include "platform/display/Backend.h"
#include "platform/window/WindowInternal.h"

namespace zo::plat {

namespace {

RECT ClientBox(const Wnd& w) {
    const RECT c = ClientRectLocal(w);
    return RECT{0, 0, c.right - c.left, c.bottom - c.top};
}

bool NeedsPaint(const Wnd& w) {
    return !w.update.Empty() || w.internalPaint;
}

void ApplyRedraw(HWND hwnd, const Region* area, UINT flags) {
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr) return;
    const RECT box = ClientBox(*w);
    Region part = area != nullptr ? *area : Region(box);
    part.Intersect(box);
    if (flags & RDW_INVALIDATE) {
        if (!part.Empty()) {
            for (const RECT& r : part.Rects())
                w->update.Add(r);
            if (flags & RDW_ERASE) w->erasePending = true;
        }
        if (flags & RDW_FRAME) w->frameDirty = true;
        if (flags & RDW_INTERNALPAINT) w->internalPaint = true;
    } else if (flags & RDW_VALIDATE) {
        if (area == nullptr)
            w->update.Clear();
        else
            for (const RECT& r : part.Rects())
                w->update.Subtract(r);
        if (w->update.Empty()) w->erasePending = false;
        if (flags & RDW_NOFRAME) w->frameDirty = false;
        if (flags & RDW_NOINTERNALPAINT) w->internalPaint = false;
    }
    if (flags & RDW_NOERASE) w->erasePending = false;
    // Children are clipped out of their parent's painting, so only ALLCHILDREN reaches them.
    if (!(flags & RDW_ALLCHILDREN) || (flags & RDW_NOCHILDREN)) return;
    const std::vector<HWND> children = w->children;
    for (HWND c : children) {
        Wnd* cw = GetWnd(c);
        if (cw == nullptr) continue;
        // The area in the child's client coordinates.
        const RECT cc = ClientRectLocal(*cw);
        Region sub = part;
        sub.Offset(-(cw->rect.left + cc.left), -(cw->rect.top + cc.top));
        if (area == nullptr) {
            ApplyRedraw(c, nullptr, flags);
            continue;
        }
        if (flags & RDW_INVALIDATE) {
            Region frame = part;
            frame.Intersect(cw->rect);
            if (!frame.Empty()) cw->frameDirty = true;
        }
        ApplyRedraw(c, &sub, flags & ~RDW_FRAME);
    }
}

void EraseNow(HWND hwnd) {
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr || !w->erasePending || !IsVisibleDeep(*w)) return;
    Region clip = w->update;
    const POINT o = ClientOriginOnScreen(*w);
    clip.Offset(o.x, o.y);
    clip.Intersect(VisibleRegion(*w, false));
    w->erasePending = false;
    const HDC hdc = CreateWindowDc(hwnd, o, clip);
    if (hdc == 0) return;
    SendMessageA(hwnd, WM_ERASEBKGND, hdc, 0);
    Backend().ScreenDirty(clip.Bounds());
    DeleteDC(hdc);
}

void UpdateTree(HWND hwnd, bool children, bool eraseOnly) {
    DrawFrameIfDirty(hwnd);
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr) return;
    if (eraseOnly)
        EraseNow(hwnd);
    else if (IsVisibleDeep(*w) && NeedsPaint(*w))
        SendMessageA(hwnd, WM_PAINT, 0, 0);
    if (!children) return;
    w = GetWnd(hwnd);
    if (w == nullptr) return;
    const std::vector<HWND> list = w->children;
    for (HWND c : list)
        UpdateTree(c, true, eraseOnly);
}

HWND FindPaintIn(const std::vector<HWND>& listRef, HWND filter) {
    const std::vector<HWND> list = listRef;
    for (HWND h : list) {
        Wnd* w = GetWnd(h);
        if (w == nullptr || !(w->style & WS_VISIBLE)) continue;
        if (w->frameDirty && !NeedsPaint(*w)) DrawFrameIfDirty(h);
        w = GetWnd(h);
        if (w == nullptr) continue;
        const bool matches = filter == 0 || h == filter || IsChild(filter, h);
        if (matches && NeedsPaint(*w)) return h;
        const HWND inner = FindPaintIn(w->children, filter);
        if (inner != 0) return inner;
    }
    return 0;
}

}  // namespace

HWND FindWindowToPaint(HWND filter) {
    if (filter == 0xFFFFFFFFu) return 0;  // thread messages only
    return FindPaintIn(WinState().topLevels, filter);
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, const Region* region, UINT flags) {
    if (hwnd == 0) {
        const std::vector<HWND> tops = WinState().topLevels;
        for (HWND h : tops)
            RedrawWindow(h, nullptr, nullptr, flags | RDW_ALLCHILDREN);
        return TRUE;
    }
    if (GetWnd(hwnd) == nullptr) return FALSE;
    Region area;
    const Region* use = nullptr;
    if (region != nullptr) {
        use = region;
    } else if (rect != nullptr) {
        area.Add(*rect);
        use = &area;
    }
    ApplyRedraw(hwnd, use, flags);
    if (flags & RDW_UPDATENOW)
        UpdateTree(hwnd, !(flags & RDW_NOCHILDREN), false);
    else if (flags & RDW_ERASENOW)
        UpdateTree(hwnd, !(flags & RDW_NOCHILDREN), true);
    return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    if (hwnd == 0) return RedrawWindow(0, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    return RedrawWindow(hwnd, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
    if (GetWnd(hwnd) == nullptr) return FALSE;
    return RedrawWindow(hwnd, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase) {
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr) return FALSE;
    const bool any = !w->update.Empty();
    if (rect != nullptr) *rect = any ? w->update.Bounds() : RECT{};
    if (any && erase && w->erasePending) EraseNow(hwnd);
    return any ? TRUE : FALSE;
}

BOOL GetUpdateRegion(HWND hwnd, Region* out) {
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr || out == nullptr) return FALSE;
    *out = w->update;
    return TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
    if (GetWnd(hwnd) == nullptr) return FALSE;
    UpdateTree(hwnd, true, false);
    return TRUE;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
    if (ps == nullptr) return 0;
    *ps = PAINTSTRUCT{};
    DrawFrameIfDirty(hwnd);
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr) return 0;
    const Region update = w->update;
    const bool erase = w->erasePending;
    // Validated before anything is drawn, so a handler that invalidates again is heard.
    w->update.Clear();
    w->erasePending = false;
    w->internalPaint = false;
    CaretBeforePaint(hwnd);
    w = GetWnd(hwnd);
    if (w == nullptr) return 0;
    const POINT o = ClientOriginOnScreen(*w);
    Region clip = update;
    clip.Offset(o.x, o.y);
    clip.Intersect(VisibleRegion(*w, false));
    const HDC hdc = CreateWindowDc(hwnd, o, clip);
    if (hdc == 0) return 0;
    if (DeviceContext* dc = GetDcPtr(hdc)) dc->fromBeginPaint = true;
    ps->hdc = hdc;
    ps->rcPaint = update.Bounds();
    if (erase) ps->fErase = SendMessageA(hwnd, WM_ERASEBKGND, hdc, 0) ? FALSE : TRUE;
    return hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
    if (ps == nullptr) return FALSE;
    DeviceContext* dc = GetDcPtr(ps->hdc);
    if (dc == nullptr || !dc->isWindowDc || !dc->fromBeginPaint) return FALSE;
    Backend().ScreenDirty(dc->visible.Bounds());
    DeleteDC(ps->hdc);
    CaretAfterPaint(hwnd);
    return TRUE;
}

HDC GetDC(HWND hwnd) {
    if (hwnd == 0) {
        const WindowState& s = WinState();
        return CreateWindowDc(0, POINT{}, Region(RECT{0, 0, s.screenWidth, s.screenHeight}));
    }
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr) return 0;
    return CreateWindowDc(hwnd, ClientOriginOnScreen(*w), VisibleRegion(*w, false));
}

HDC GetWindowDC(HWND hwnd) {
    if (hwnd == 0) return GetDC(0);
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr) return 0;
    const RECT wr = WindowRectOnScreen(*w);
    return CreateWindowDc(hwnd, POINT{wr.left, wr.top}, VisibleRegion(*w, true));
}

int ReleaseDC(HWND, HDC hdc) {
    DeviceContext* dc = GetDcPtr(hdc);
    // Any DC from GetDC/GetWindowDC, whatever window is named with it: the DC knows its own
    // window, so a wrong or stale handle still releases it instead of leaking it.
    if (dc == nullptr || !dc->isWindowDc || dc->fromBeginPaint) return 0;
    Backend().ScreenDirty(dc->visible.Bounds());
    DeleteDC(hdc);
    return 1;
}

void DrawFrameIfDirty(HWND hwnd) {
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr || !w->frameDirty) return;
    w->frameDirty = false;
    const int thickness = FrameThickness(w->style, w->exStyle);
    if (thickness == 0 || !IsVisibleDeep(*w)) return;
    Region vis = VisibleRegion(*w, true);
    vis.Subtract(ClientRectOnScreen(*w));
    if (vis.Empty()) return;
    const RECT wr = WindowRectOnScreen(*w);
    const HDC hdc = CreateWindowDc(hwnd, POINT{wr.left, wr.top}, vis);
    if (hdc == 0) return;
    RECT r{0, 0, wr.right - wr.left, wr.bottom - wr.top};
    if (w->style & WS_BORDER) {
        FrameRect(hdc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        r = RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    }
    if (w->exStyle & WS_EX_CLIENTEDGE) DrawEdge(hdc, &r, EDGE_SUNKEN, BF_RECT);
    Backend().ScreenDirty(vis.Bounds());
    DeleteDC(hdc);
}

void PaintBareScreen(const Region& area) {
    GdiObject* o = GetGdi(ScreenBitmap(), GdiKind::Bitmap);
    if (o == nullptr || area.Empty()) return;
    Bitmap& b = o->bitmap;
    Region clip = area;
    clip.Intersect(RECT{0, 0, b.width, b.height});
    const Pixel p = PixelFromColorRef(kDesktopColor);
    for (const RECT& r : clip.Rects())
        for (LONG y = r.top; y < r.bottom; ++y)
            std::fill_n(b.pixels.begin() + static_cast<std::ptrdiff_t>(y) * b.width + r.left,
                        r.right - r.left, p);
    Backend().ScreenDirty(clip.Bounds());
}

void DeleteWindowDcs(HWND hwnd) {
    std::vector<HDC> dcs;
    DeviceContexts().ForEach([&](HDC h, const DeviceContext& dc) {
        if (dc.isWindowDc && dc.window == hwnd) dcs.push_back(h);
    });
    // Window DCs die with their window; a handle kept past it is stale, so drawing through it
    // and releasing it fail instead of reaching other windows.
    for (HDC h : dcs)
        DeleteDC(h);
}

}  // namespace zo::plat
