// The pattern operand, pattern-only raster operations and pen lines shared by the primitives.
#include "platform/gdi/Raster.h"

#include <algorithm>

namespace zo::plat::gdi {

Paint MakeSolidPaint(const Bitmap& target, COLORREF color) {
    Paint p;
    p.null = false;
    p.solid = true;
    p.value = ColorValue(target, color);
    return p;
}

Paint MakeBrushPaint(const DeviceContext& dc, const Bitmap& target, const Brush& brush) {
    if (brush.style == BS_NULL) return Paint{};
    if (!brush.isPattern) return MakeSolidPaint(target, brush.color);
    // A mono pattern takes the DC's colours: set bits the background, clear bits the text.
    Paint p;
    p.null = false;
    p.solid = false;
    const std::uint32_t one = ColorValue(target, dc.state.bkColor);
    const std::uint32_t zero = ColorValue(target, dc.state.textColor);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            p.cells[y][x] =
                ((brush.pattern[static_cast<std::size_t>(y)] >> (7 - x)) & 1) ? one : zero;
    p.ox = ClampCoord(std::int64_t{dc.baseOrigin.x} + dc.state.brushOrg.x);
    p.oy = ClampCoord(std::int64_t{dc.baseOrigin.y} + dc.state.brushOrg.y);
    return p;
}

bool ResolveBrush(HBRUSH h, bool allowSysIndex, Brush& out) {
    if (allowSysIndex && h >= 1 && h <= 31) {
        out = Brush{};
        out.style = BS_SOLID;
        out.color = GetSysColor(static_cast<int>(h) - 1);
        return true;
    }
    const GdiObject* o = GetGdi(h, GdiKind::Brush);
    if (o == nullptr) return false;
    out = o->brush;
    return true;
}

namespace {

// Groups of eight stores, which the compiler packs into vector stores even where it does not
// vectorise loops of unknown length.
void FillRow(Pixel* p, std::size_t n, Pixel v) {
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        p[i] = v;
        p[i + 1] = v;
        p[i + 2] = v;
        p[i + 3] = v;
        p[i + 4] = v;
        p[i + 5] = v;
        p[i + 6] = v;
        p[i + 7] = v;
    }
    for (; i < n; ++i)
        p[i] = v;
}

}  // namespace

void PatternRect(Bitmap& target, const RECT& r, const Paint& paint, std::uint8_t rop) {
    if (EmptyRect(r)) return;
    const auto width = static_cast<std::size_t>(r.right - r.left);
    const bool mono = target.bpp == 1;
    if (paint.solid && (rop == 0xF0 || rop == 0x00 || rop == 0xFF)) {
        // Straight fills: one value per row, written so the compiler turns it into wide stores.
        const std::uint32_t v = rop == 0xF0 ? paint.value : (rop == 0x00 ? 0u : ~0u);
        for (LONG y = r.top; y < r.bottom; ++y) {
            const std::size_t row =
                static_cast<std::size_t>(y) * static_cast<std::size_t>(target.width) +
                static_cast<std::size_t>(r.left);
            if (mono) {
                std::fill_n(target.mono.data() + row, width, static_cast<std::uint8_t>(v & 1u));
            } else {
                FillRow(target.pixels.data() + row, width, v | 0xFF000000u);
            }
        }
        return;
    }
    for (LONG y = r.top; y < r.bottom; ++y)
        for (LONG x = r.left; x < r.right; ++x)
            Store(target, x, y, Rop3(rop, paint.At(x, y), 0, Load(target, x, y)), false);
}

void PatternFill(DeviceContext& dc, Bitmap& target, const RECT& r, const Paint& paint,
                 std::uint8_t rop) {
    if (EmptyRect(r)) return;
    const Region& clip = EffectiveClip(dc);
    for (const RECT& c : clip.Rects())
        PatternRect(target, Clip(c, r), paint, rop);
}

void SolidRect(Bitmap& target, const Region& clip, const RECT& r, COLORREF color) {
    if (EmptyRect(r)) return;
    const Paint paint = MakeSolidPaint(target, color);
    for (const RECT& c : clip.Rects())
        PatternRect(target, Clip(c, r), paint, 0xF0);
}

namespace {

// Cosmetic pen styles as on-off runs along the line.
bool StyleOn(int style, std::int64_t step) {
    switch (style) {
        case PS_DASH:
            return step % 24 < 18;
        case PS_DOT:
            return step % 6 < 3;
        default:
            return true;
    }
}

}  // namespace

void PenLine(DeviceContext& dc, Bitmap& target, const Region& clip, POINT a, POINT b,
             const Pen& pen, bool includeEnd) {
    if (pen.style == PS_NULL || clip.Empty()) return;
    const std::uint32_t color = ColorValue(target, pen.color);
    const int rop2 = dc.state.rop2;
    const int w = std::max(1, pen.width);
    const RECT bounds = clip.Bounds();
    // Wide pens stamp a square centred on each point of the line.
    const RECT reach{bounds.left - w, bounds.top - w, bounds.right + w, bounds.bottom + w};
    auto plot = [&](std::int64_t x, std::int64_t y) {
        const std::int64_t major =
            std::max(x > a.x ? x - a.x : a.x - x, y > a.y ? y - a.y : a.y - y);
        if (!StyleOn(pen.style, major)) return;
        const std::int64_t x0 = x - (w - 1) / 2, y0 = y - (w - 1) / 2;
        for (std::int64_t py = y0; py < y0 + w; ++py)
            for (std::int64_t px = x0; px < x0 + w; ++px) {
                if (px < bounds.left || px >= bounds.right || py < bounds.top ||
                    py >= bounds.bottom)
                    continue;
                const auto ix = static_cast<LONG>(px), iy = static_cast<LONG>(py);
                if (!clip.Contains(ix, iy)) continue;
                Store(target, ix, iy, Rop2(rop2, color, Load(target, ix, iy)), false);
            }
    };
    StepLine(a, b, reach, plot);
    if (includeEnd) plot(b.x, b.y);
}

}  // namespace zo::plat::gdi
