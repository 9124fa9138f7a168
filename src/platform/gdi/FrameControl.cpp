// DrawFrameControl: the caption close button, scroll arrows, push buttons and check boxes of
// the classic look, with line-drawn glyphs.
#include <algorithm>

#include "platform/Gdi.h"
#include "platform/gdi/Raster.h"

namespace zo::plat {

namespace {

// The glyph pixels of one control, drawn in one colour at an offset; target pixels.
class GlyphPainter {
public:
    GlyphPainter(Bitmap& target, const Region& clip) : target_(target), clip_(clip) {}

    void Pixel(std::int64_t x, std::int64_t y, COLORREF colour) {
        if (x < kMin || y < kMin || x > kMax || y > kMax) return;
        const auto ix = static_cast<LONG>(x), iy = static_cast<LONG>(y);
        if (clip_.Contains(ix, iy))
            gdi::Store(target_, ix, iy, gdi::ColorValue(target_, colour), false);
    }
    // A 1-px line, end point excluded.
    void Line(POINT a, POINT b, COLORREF colour) {
        gdi::StepLine(a, b, clip_.Bounds(),
                      [&](std::int64_t x, std::int64_t y) { Pixel(x, y, colour); });
    }

private:
    static constexpr std::int64_t kMin = -gdi::kCoordLimit, kMax = gdi::kCoordLimit;
    Bitmap& target_;
    const Region& clip_;
};

struct Square {
    LONG left, top, side;
};

// The largest square centred in r.
Square CentredSquare(const RECT& r) {
    const LONG w = r.right - r.left, h = r.bottom - r.top;
    const LONG s = std::min(w, h);
    return Square{r.left + (w - s) / 2, r.top + (h - s) / 2, s};
}

// The close glyph: n parallel 1-px strokes per diagonal (the stroke thickness).
void CloseGlyph(GlyphPainter& g, const Square& sq, LONG dx, LONG dy, COLORREF colour) {
    const LONG w = sq.side - 6;
    if (w <= 0) return;
    LONG h = sq.side - 7;
    LONG y0 = sq.top + 3;
    if (w < 6) {
        y0 = sq.top + 2;
        h = w;
    }
    const LONG x0 = sq.left + 3 + dx;
    y0 += dy;
    const LONG n = w / 6 + 1;
    const LONG l = w - (n - 1);
    for (LONG i = 0; i < n; ++i) {
        g.Line(POINT{x0 + i, y0}, POINT{x0 + i + l, y0 + h}, colour);
        g.Line(POINT{x0 + i, y0 + h - 1}, POINT{x0 + i + l, y0 - 1}, colour);
    }
}

// A filled arrow head pointing in direction kind (DFCS_SCROLLUP .. DFCS_SCROLLRIGHT): rows
// of 1, 3, 5 ... pixels, centred in the square.
void ArrowGlyph(GlyphPainter& g, const Square& sq, UINT kind, LONG dx, LONG dy, COLORREF colour) {
    const LONG depth = std::max<LONG>(1, (sq.side + 2) / 4);
    const LONG centre = (sq.side - 1) / 2;
    const LONG first = (sq.side - depth) / 2;
    for (LONG k = 0; k < depth; ++k) {
        // Row k of the head has 2k+1 pixels; the tip is row 0.
        const bool towardsStart = kind == DFCS_SCROLLUP || kind == DFCS_SCROLLLEFT;
        const LONG along = first + (towardsStart ? k : depth - 1 - k);
        for (LONG j = -k; j <= k; ++j) {
            const bool vertical = kind == DFCS_SCROLLUP || kind == DFCS_SCROLLDOWN;
            const LONG x = vertical ? centre + j : along;
            const LONG y = vertical ? along : centre + j;
            g.Pixel(std::int64_t{sq.left} + x + dx, std::int64_t{sq.top} + y + dy, colour);
        }
    }
}

// The classic 7x7 check mark: each column is three pixels tall.
void CheckGlyph(GlyphPainter& g, LONG left, LONG top, COLORREF colour) {
    static constexpr LONG kColumnTop[7] = {2, 3, 4, 3, 2, 1, 0};
    for (LONG x = 0; x < 7; ++x)
        for (LONG k = 0; k < 3; ++k)
            g.Pixel(std::int64_t{left} + x, std::int64_t{top} + kColumnTop[x] + k, colour);
}

// Edge and face of a button-like control; returns the glyph offset (pushed moves it).
LONG ButtonFace(HDC hdc, const RECT& rect, UINT state) {
    const bool pushed = (state & (DFCS_PUSHED | DFCS_CHECKED | DFCS_FLAT)) != 0;
    UINT flags = BF_RECT | BF_SOFT;
    if (!(state & DFCS_TRANSPARENT)) flags |= BF_MIDDLE;
    if (state & DFCS_FLAT) flags |= BF_FLAT;
    if (state & DFCS_MONO) flags |= BF_MONO;
    RECT r = rect;
    DrawEdge(hdc, &r, pushed ? EDGE_SUNKEN : EDGE_RAISED, flags);
    return (state & DFCS_PUSHED) ? 1 : 0;
}

}  // namespace

BOOL DrawFrameControl(HDC hdc, RECT* rect, UINT type, UINT state) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr || rect == nullptr) return FALSE;
    Bitmap* target = TargetOf(*dc);
    if (target == nullptr) return FALSE;
    const UINT kind = state & 0xFF;
    const bool supported =
        (type == DFC_CAPTION && kind == DFCS_CAPTIONCLOSE) ||
        (type == DFC_SCROLL && kind <= DFCS_SCROLLRIGHT) ||
        (type == DFC_BUTTON && (kind == DFCS_BUTTONCHECK || kind == DFCS_BUTTONPUSH));
    if (!supported) return FALSE;
    const bool inactive = (state & DFCS_INACTIVE) != 0;
    const RECT r = gdi::ToTarget(*dc, rect->left, rect->top, rect->right, rect->bottom);
    const Region clip = EffectiveClip(*dc);
    GlyphPainter glyph(*target, clip);
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);

    if (type == DFC_BUTTON && kind == DFCS_BUTTONCHECK) {
        const Square sq = CentredSquare(r);
        const POINT o = DeviceOffset(*dc);
        RECT box{sq.left - o.x, sq.top - o.y, sq.left - o.x + sq.side, sq.top - o.y + sq.side};
        UINT flags = BF_RECT | BF_ADJUST;
        if (state & DFCS_FLAT) flags |= BF_FLAT;
        if (state & DFCS_MONO) flags |= BF_MONO;
        DrawEdge(hdc, &box, EDGE_SUNKEN, flags);
        const int face = (state & (DFCS_PUSHED | DFCS_INACTIVE)) ? COLOR_BTNFACE : COLOR_WINDOW;
        if (!(state & DFCS_TRANSPARENT)) FillRect(hdc, &box, static_cast<HBRUSH>(face + 1));
        if (state & DFCS_CHECKED) {
            const LONG inner = sq.side - 4;
            const LONG at = 2 + (inner - 7) / 2;
            CheckGlyph(glyph, sq.left + at, sq.top + at,
                       inactive ? shadow : GetSysColor(COLOR_WINDOWTEXT));
        }
    } else {
        const LONG push = ButtonFace(hdc, *rect, state);
        const Square sq = CentredSquare(r);
        if (type == DFC_CAPTION) {
            if (inactive) CloseGlyph(glyph, sq, push + 1, push + 1, light);
            CloseGlyph(glyph, sq, push, push, inactive ? shadow : text);
        } else if (type == DFC_SCROLL) {
            if (inactive) ArrowGlyph(glyph, sq, kind, push + 1, push + 1, light);
            ArrowGlyph(glyph, sq, kind, push, push, inactive ? shadow : text);
        }
    }
    if (state & DFCS_ADJUSTRECT) InflateRect(rect, -2, -2);
    return TRUE;
}

}  // namespace zo::plat
