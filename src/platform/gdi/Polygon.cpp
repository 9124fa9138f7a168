// Filled polygons and rectangles with the selected pen and brush.
#include <algorithm>
#include <vector>

#include "platform/Gdi.h"
#include "platform/gdi/Raster.h"

namespace zo::plat {

namespace {

// floor(n / d) for d > 0.
std::int64_t FloorDiv(std::int64_t n, std::int64_t d) {
    const std::int64_t q = n / d;
    return (n % d != 0 && n < 0) ? q - 1 : q;
}

struct Crossing {
    std::int64_t x;  // first pixel column at or right of the edge
    int dir;         // +1 downwards edge, -1 upwards
};

// Interior pixels: a pixel is inside when its top-left corner is, left and top edges belong
// to the inside, right and bottom edges to the outside.
void FillInterior(Bitmap& target, const Region& clip, const std::vector<POINT>& pts, int mode,
                  const gdi::Paint& paint) {
    LONG minY = pts[0].y, maxY = pts[0].y;
    for (const POINT& p : pts) {
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    const RECT bounds = clip.Bounds();
    const LONG y0 = std::max(minY, bounds.top), y1 = std::min(maxY, bounds.bottom);
    std::vector<Crossing> xs;
    const std::size_t n = pts.size();
    for (LONG y = y0; y < y1; ++y) {
        xs.clear();
        for (std::size_t i = 0; i < n; ++i) {
            const POINT a = pts[i], b = pts[(i + 1) % n];
            if (a.y == b.y) continue;
            const bool down = a.y < b.y;
            const POINT top = down ? a : b, bottom = down ? b : a;
            if (y < top.y || y >= bottom.y) continue;
            // x = top.x + (y - top.y) * dx / dy exactly; the first column at or past it.
            const std::int64_t dy = std::int64_t{bottom.y} - top.y;
            const std::int64_t num = (std::int64_t{y} - top.y) * (std::int64_t{bottom.x} - top.x);
            const std::int64_t cx = top.x - FloorDiv(-num, dy);
            xs.push_back(Crossing{cx, down ? 1 : -1});
        }
        std::sort(xs.begin(), xs.end(),
                  [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
        int winding = 0;
        for (std::size_t k = 0; k + 1 < xs.size(); ++k) {
            winding += xs[k].dir;
            const bool inside = mode == WINDING ? winding != 0 : (k % 2) == 0;
            if (!inside || xs[k].x >= xs[k + 1].x) continue;
            const RECT span{gdi::ClampCoord(xs[k].x), y, gdi::ClampCoord(xs[k + 1].x), y + 1};
            for (const RECT& c : clip.Rects())
                gdi::PatternRect(target, gdi::Clip(c, span), paint, 0xF0);
        }
    }
}

}  // namespace

BOOL Polygon(HDC hdc, const POINT* points, int count) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr || points == nullptr || count < 2) return FALSE;
    const GdiObject* pen = GetGdi(dc->state.pen, GdiKind::Pen);
    const GdiObject* brush = GetGdi(dc->state.brush, GdiKind::Brush);
    Bitmap* target = TargetOf(*dc);
    if (pen == nullptr || brush == nullptr || target == nullptr) return FALSE;
    const POINT o = DeviceOffset(*dc);
    std::vector<POINT> pts(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        pts[static_cast<std::size_t>(i)] = POINT{gdi::ClampCoord(std::int64_t{points[i].x} + o.x),
                                                 gdi::ClampCoord(std::int64_t{points[i].y} + o.y)};
    const Region& clip = EffectiveClip(*dc);
    if (clip.Empty()) return TRUE;
    const gdi::Paint paint = gdi::MakeBrushPaint(*dc, *target, brush->brush);
    if (!paint.null) FillInterior(*target, clip, pts, dc->state.polyFillMode, paint);
    // The outline is closed, so every vertex is the start of one of its lines.
    for (std::size_t i = 0; i < pts.size(); ++i)
        gdi::PenLine(*dc, *target, clip, pts[i], pts[(i + 1) % pts.size()], pen->pen);
    return TRUE;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr) return FALSE;
    const GdiObject* pen = GetGdi(dc->state.pen, GdiKind::Pen);
    const GdiObject* brush = GetGdi(dc->state.brush, GdiKind::Brush);
    Bitmap* target = TargetOf(*dc);
    if (pen == nullptr || brush == nullptr || target == nullptr) return FALSE;
    const RECT r = gdi::Ordered(gdi::ToTarget(*dc, left, top, right, bottom));
    const Region& clip = EffectiveClip(*dc);
    if (clip.Empty() || gdi::EmptyRect(r)) return TRUE;
    const bool outline = pen->pen.style != PS_NULL;
    // Without a pen the fill stops short of the right and bottom edges, as the outline would.
    const RECT inner = outline ? RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}
                               : RECT{r.left, r.top, r.right - 1, r.bottom - 1};
    const gdi::Paint paint = gdi::MakeBrushPaint(*dc, *target, brush->brush);
    if (!paint.null)
        for (const RECT& c : clip.Rects())
            gdi::PatternRect(*target, gdi::Clip(c, inner), paint, 0xF0);
    if (outline) {
        const POINT corners[4] = {POINT{r.left, r.top}, POINT{r.right - 1, r.top},
                                  POINT{r.right - 1, r.bottom - 1}, POINT{r.left, r.bottom - 1}};
        if (r.right - r.left == 1 || r.bottom - r.top == 1) {
            gdi::PenLine(*dc, *target, clip, corners[0], corners[2], pen->pen, true);
        } else {
            for (int i = 0; i < 4; ++i)
                gdi::PenLine(*dc, *target, clip, corners[i], corners[(i + 1) % 4], pen->pen);
        }
    }
    return TRUE;
}

}  // namespace zo::plat
