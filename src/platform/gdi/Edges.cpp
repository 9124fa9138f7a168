// Three-dimensional edges (DrawEdge) and the dotted focus rectangle (DrawFocusRect).
#include "platform/Gdi.h"
#include "platform/gdi/Raster.h"

namespace zo::plat {

namespace {

using gdi::EmptyRect;

// The system colours of the four lines of an edge; -1 where a line is not drawn.
struct EdgeLines {
    int lto = -1;  // top and left, outer
    int lti = -1;  // top and left, inner
    int rbi = -1;  // bottom and right, inner
    int rbo = -1;  // bottom and right, outer
    bool ok = true;
    int add = 0;  // lines per side
};

EdgeLines EdgeColours(UINT edge, UINT flags) {
    const UINT outer = edge & BDR_OUTER;
    const UINT inner = (edge & BDR_INNER) >> 2;
    const bool soft = (flags & BF_SOFT) != 0;
    EdgeLines e;
    e.ok = !((outer == 3 || inner == 3) && !(flags & (BF_FLAT | BF_MONO)));
    auto same = [&](int out, int in) {
        e.lto = e.rbo = out;
        e.lti = e.rbi = in;
    };
    if (flags & BF_MONO) {
        if (outer != 0)
            same(COLOR_WINDOWFRAME, inner != 0 ? COLOR_WINDOW : -1);
        else if (inner != 0)
            same(COLOR_WINDOW, -1);
    } else if (flags & BF_FLAT) {
        if (outer != 0)
            same(COLOR_BTNSHADOW, inner != 0 ? COLOR_BTNFACE : -1);
        else if (inner != 0)
            same(COLOR_BTNFACE, -1);
    } else if (outer == 3 || (outer == 0 && inner == 3)) {
        // Both bits of one level contradict each other: nothing is drawn.
    } else if (outer == 0) {
        // A lone inner line takes the outer position.
        if (inner == 1) {
            e.lto = soft ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT;
            e.rbo = COLOR_BTNSHADOW;
        } else if (inner == 2) {
            e.lto = soft ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW;
            e.rbo = COLOR_3DLIGHT;
        }
    } else {
        if (outer == 1) {
            e.lto = soft ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT;
            e.rbo = COLOR_3DDKSHADOW;
        } else {
            e.lto = soft ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW;
            e.rbo = COLOR_BTNHIGHLIGHT;
        }
        if (inner == 1) {
            e.lti = soft ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT;
            e.rbi = COLOR_BTNSHADOW;
        } else if (inner == 2) {
            e.lti = soft ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW;
            e.rbi = COLOR_3DLIGHT;
        }
    }
    e.add = (e.lto >= 0 || e.rbo >= 0 ? 1 : 0) + (e.lti >= 0 || e.rbi >= 0 ? 1 : 0);
    return e;
}

// One line from (x0,y0) to (x1,y1) inclusive, horizontal or vertical, in target pixels.
void Line(Bitmap& target, const Region& clip, int colour, LONG x0, LONG y0, LONG x1, LONG y1) {
    if (colour < 0) return;
    const RECT r{x0, y0, x1 + 1, y1 + 1};
    if (EmptyRect(r)) return;
    gdi::SolidRect(target, clip, r, GetSysColor(colour));
}

void DrawDiagonal(Bitmap& target, const Region& clip, const RECT& r, const EdgeLines& e,
                  UINT flags) {
    const int colour = (flags & BF_BOTTOM) ? e.rbo : e.lto;
    if (colour < 0 || EmptyRect(r)) return;
    // The line runs towards the corner named by the side flags.
    POINT from{r.right - 1, r.top}, to{r.left, r.bottom - 1};  // ends bottom-left
    switch (flags & BF_RECT) {
        case BF_TOPRIGHT:
            from = POINT{r.left, r.bottom - 1};
            to = POINT{r.right - 1, r.top};
            break;
        case BF_TOPLEFT:
            from = POINT{r.right - 1, r.bottom - 1};
            to = POINT{r.left, r.top};
            break;
        case BF_BOTTOMRIGHT:
            from = POINT{r.left, r.top};
            to = POINT{r.right - 1, r.bottom - 1};
            break;
        default:
            break;
    }
    const COLORREF c = GetSysColor(colour);
    const Region* cl = &clip;
    auto plot = [&](std::int64_t x, std::int64_t y) {
        const auto ix = static_cast<LONG>(x), iy = static_cast<LONG>(y);
        if (cl->Contains(ix, iy)) gdi::Store(target, ix, iy, gdi::ColorValue(target, c), false);
    };
    gdi::StepLine(from, to, clip.Bounds(), plot);
    if (clip.Contains(to.x, to.y)) plot(to.x, to.y);
}

}  // namespace

BOOL DrawEdge(HDC hdc, RECT* rect, UINT edge, UINT flags) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr || rect == nullptr) return FALSE;
    Bitmap* target = TargetOf(*dc);
    if (target == nullptr) return FALSE;
    const EdgeLines e = EdgeColours(edge, flags);
    const RECT r = gdi::ToTarget(*dc, rect->left, rect->top, rect->right, rect->bottom);
    const Region& clip = EffectiveClip(*dc);
    if (flags & BF_DIAGONAL) {
        if (!clip.Empty()) DrawDiagonal(*target, clip, r, e, flags);
        return e.ok ? TRUE : FALSE;
    }
    const bool top = flags & BF_TOP, left = flags & BF_LEFT, bottom = flags & BF_BOTTOM,
               right = flags & BF_RIGHT;
    if (!clip.Empty() && !EmptyRect(r)) {
        Bitmap& t = *target;
        if (top) Line(t, clip, e.lto, r.left, r.top, r.right - 1, r.top);
        if (left) Line(t, clip, e.lto, r.left, r.top, r.left, r.bottom - 1);
        if (bottom) Line(t, clip, e.rbo, r.left, r.bottom - 1, r.right - 1, r.bottom - 1);
        if (right) Line(t, clip, e.rbo, r.right - 1, r.top, r.right - 1, r.bottom - 1);
        // The inner ring stops short of the corners the outer ring owns on both sides.
        const LONG a = top && left, b = top && right, c = bottom && left, d = bottom && right;
        if (top) Line(t, clip, e.lti, r.left + a, r.top + 1, r.right - 1 - b, r.top + 1);
        if (left) Line(t, clip, e.lti, r.left + 1, r.top + a, r.left + 1, r.bottom - 1 - c);
        if (bottom) Line(t, clip, e.rbi, r.left + c, r.bottom - 2, r.right - 1 - d, r.bottom - 2);
        if (right) Line(t, clip, e.rbi, r.right - 2, r.top + b, r.right - 2, r.bottom - 1 - d);
    }
    RECT inside = *rect;
    if (top) inside.top += e.add;
    if (left) inside.left += e.add;
    if (bottom) inside.bottom -= e.add;
    if (right) inside.right -= e.add;
    if ((flags & BF_MIDDLE) && e.ok && !clip.Empty()) {
        const RECT m = gdi::ToTarget(*dc, inside.left, inside.top, inside.right, inside.bottom);
        gdi::SolidRect(*target, clip, m,
                       GetSysColor((flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE));
    }
    if (flags & BF_ADJUST) *rect = inside;
    return e.ok ? TRUE : FALSE;
}

BOOL DrawFocusRect(HDC hdc, const RECT* rect) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr || rect == nullptr) return FALSE;
    Bitmap* target = TargetOf(*dc);
    if (target == nullptr) return FALSE;
    const RECT r = gdi::ToTarget(*dc, rect->left, rect->top, rect->right, rect->bottom);
    const Region& clip = EffectiveClip(*dc);
    if (EmptyRect(r) || clip.Empty()) return TRUE;
    // The 50 % grey checkerboard: set bits (x + y even from the brush origin) take the
    // background colour, clear bits the text colour; XOR puts it on and takes it off again.
    Brush checker;
    checker.isPattern = true;
    checker.style = BS_PATTERN;
    for (int y = 0; y < 8; ++y)
        checker.pattern[static_cast<std::size_t>(y)] = (y & 1) ? 0x55 : 0xAA;
    const gdi::Paint paint = gdi::MakeBrushPaint(*dc, *target, checker);
    const RECT sides[4] = {RECT{r.left, r.top, r.right, r.top + 1},
                           RECT{r.left, r.bottom - 1, r.right, r.bottom},
                           RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1},
                           RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1}};
    for (const RECT& s : sides)
        for (const RECT& c : clip.Rects())
            gdi::PatternRect(*target, gdi::Clip(c, s), paint, 0x5A);
    return TRUE;
}

}  // namespace zo::plat
