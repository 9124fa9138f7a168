// Pixels of text. Every write goes through the clip region's rectangles.
#include "platform/text/Paint.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "platform/gdi/PixelRows.h"
#include "platform/text/GlyphRun.h"

namespace zo::plat::text {

namespace {

constexpr std::int64_t kCoordLimit = std::int64_t{1} << 29;
// Longer texts are drawn glyph by glyph rather than kept merged.
constexpr std::size_t kMaxRunText = 256;

LONG Clamp(std::int64_t v) {
    return static_cast<LONG>(std::clamp(v, -kCoordLimit, kCoordLimit));
}

// The nearer of black (0) and white (1), as a 1-bit surface sees a colour.
std::uint8_t MonoOf(COLORREF c) {
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    const int toBlack = r * r + g * g + b * b;
    const int toWhite = (255 - r) * (255 - r) + (255 - g) * (255 - g) + (255 - b) * (255 - b);
    return toWhite <= toBlack ? 1 : 0;
}

inline RECT Intersect(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

bool Empty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

void FillTargetRect(const PaintTarget& t, const RECT& area, COLORREF color) {
    Bitmap& bm = *t.bitmap;
    const RECT bounds{0, 0, bm.width, bm.height};
    const Pixel px = PixelFromColorRef(color);
    const std::uint8_t mono = MonoOf(color);
    for (const RECT& c : t.clip->Rects()) {
        const RECT r = Intersect(Intersect(area, c), bounds);
        if (Empty(r)) continue;
        for (LONG y = r.top; y < r.bottom; ++y) {
            const std::size_t row =
                static_cast<std::size_t>(y) * static_cast<std::size_t>(bm.width);
            if (bm.bpp == 1)
                std::fill(bm.mono.begin() + static_cast<std::ptrdiff_t>(row + r.left),
                          bm.mono.begin() + static_cast<std::ptrdiff_t>(row + r.right), mono);
            else
                std::fill(bm.pixels.begin() + static_cast<std::ptrdiff_t>(row + r.left),
                          bm.pixels.begin() + static_cast<std::ptrdiff_t>(row + r.right), px);
        }
    }
}

struct Turn {
    double c;
    double s;
};

Turn TurnOf(int angle) {
    const double r = angle * std::numbers::pi / 1800.0;
    return Turn{std::cos(r), std::sin(r)};
}

}  // namespace

void BlendCoverage(const PaintTarget& t, int x, int y, int width, int height,
                   const std::uint8_t* coverage, COLORREF color) {
    if (width <= 0 || height <= 0 || t.bitmap == nullptr || t.clip == nullptr) return;
    Bitmap& bm = *t.bitmap;
    const RECT box =
        Intersect(RECT{x, y, Clamp(std::int64_t{x} + width), Clamp(std::int64_t{y} + height)},
                  RECT{0, 0, bm.width, bm.height});
    if (Empty(box)) return;
    const Pixel src = PixelFromColorRef(color);
    const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    for (const RECT& c : t.clip->Rects()) {
        const RECT r = Intersect(box, c);
        if (Empty(r)) continue;
        const auto n = static_cast<std::size_t>(r.right - r.left);
        for (LONG py = r.top; py < r.bottom; ++py) {
            // Offsets of the row's first pixel in the coverage and in the bitmap.
            const std::size_t from = static_cast<std::size_t>(py - y) * width + (r.left - x);
            const std::size_t at =
                static_cast<std::size_t>(py) * static_cast<std::size_t>(bm.width) + r.left;
            if (bm.bpp == 1) {
                const std::uint8_t mono = MonoOf(color);
                for (std::size_t i = 0; i < n; ++i)
                    if (coverage[from + i] >= 128) bm.mono[at + i] = mono;
                continue;
            }
            gdi::BlendCoverageRow(bm.pixels.data() + at, coverage + from, n, src,
                                  std::min(bm.pixels.size() - at, size - from));
        }
    }
}

void FillFrameRect(const PaintTarget& t, const TextFrame& f, std::int64_t u0, std::int64_t v0,
                   std::int64_t u1, std::int64_t v1, COLORREF color) {
    if (t.bitmap == nullptr || t.clip == nullptr || u1 <= u0 || v1 <= v0) return;
    const std::int64_t ox = f.origin.x;
    const std::int64_t oy = f.origin.y;
    if (f.Quarter()) {
        RECT r{};
        switch (f.angle / 900) {
            case 0:
                r = RECT{Clamp(ox + u0), Clamp(oy + v0), Clamp(ox + u1), Clamp(oy + v1)};
                break;
            case 1:
                r = RECT{Clamp(ox + v0), Clamp(oy + 1 - u1), Clamp(ox + v1), Clamp(oy + 1 - u0)};
                break;
            case 2:
                r = RECT{Clamp(ox + 1 - u1), Clamp(oy + 1 - v1), Clamp(ox + 1 - u0),
                         Clamp(oy + 1 - v0)};
                break;
            default:
                r = RECT{Clamp(ox + 1 - v1), Clamp(oy + u0), Clamp(ox + 1 - v0), Clamp(oy + u1)};
                break;
        }
        FillTargetRect(t, r, color);
        return;
    }
    // Turned by another angle: the pixels whose centres fall inside the turned rectangle.
    const Turn k = TurnOf(f.angle);
    const auto mapX = [&](double u, double v) {
        return static_cast<double>(ox) + u * k.c + v * k.s;
    };
    const auto mapY = [&](double u, double v) {
        return static_cast<double>(oy) - u * k.s + v * k.c;
    };
    const double us[2] = {static_cast<double>(u0), static_cast<double>(u1)};
    const double vs[2] = {static_cast<double>(v0), static_cast<double>(v1)};
    double minX = 1e18, minY = 1e18, maxX = -1e18, maxY = -1e18;
    for (double u : us) {
        for (double v : vs) {
            minX = std::min(minX, mapX(u, v));
            maxX = std::max(maxX, mapX(u, v));
            minY = std::min(minY, mapY(u, v));
            maxY = std::max(maxY, mapY(u, v));
        }
    }
    const auto clampD = [](double d) {
        return Clamp(static_cast<std::int64_t>(std::clamp(d, -1e9, 1e9)));
    };
    const RECT box{clampD(std::floor(minX)), clampD(std::floor(minY)), clampD(std::ceil(maxX)) + 1,
                   clampD(std::ceil(maxY)) + 1};
    Bitmap& bm = *t.bitmap;
    const RECT bounds{0, 0, bm.width, bm.height};
    const Pixel px = PixelFromColorRef(color);
    const std::uint8_t mono = MonoOf(color);
    for (const RECT& c : t.clip->Rects()) {
        const RECT r = Intersect(Intersect(box, c), bounds);
        if (Empty(r)) continue;
        for (LONG y = r.top; y < r.bottom; ++y) {
            for (LONG x = r.left; x < r.right; ++x) {
                const double dx = x + 0.5 - static_cast<double>(ox);
                const double dy = y + 0.5 - static_cast<double>(oy);
                const double u = dx * k.c - dy * k.s;
                const double v = dx * k.s + dy * k.c;
                if (u < us[0] || u >= us[1] || v < vs[0] || v >= vs[1]) continue;
                const std::size_t i =
                    static_cast<std::size_t>(y) * static_cast<std::size_t>(bm.width) +
                    static_cast<std::size_t>(x);
                if (bm.bpp == 1)
                    bm.mono[i] = mono;
                else
                    bm.pixels[i] = px;
            }
        }
    }
}

void DrawGlyphs(const PaintTarget& t, const TextFrame& f, RealizedFont& font, std::string_view text,
                std::int64_t u, std::int64_t v, const int* dx, COLORREF color) {
    if (t.bitmap == nullptr || t.clip == nullptr || t.clip->Empty()) return;
    const std::int64_t baseline = v + font.Metrics().ascent;
    const std::int64_t ox = f.origin.x;
    const std::int64_t oy = f.origin.y;
    const bool quarter = f.Quarter();
    const int q = f.angle / 900;
    const Turn k = quarter ? Turn{1, 0} : TurnOf(f.angle);
    const RECT clipBox = t.clip->Bounds();
    if (quarter && dx == nullptr && text.size() <= kMaxRunText) {
        // The glyphs merged into a few images, placed from the first glyph's pen pixel; where
        // coordinates would reach the clamping range, glyph by glyph below.
        const std::int64_t px = q == 0   ? ox + u
                                : q == 1 ? ox + baseline
                                : q == 2 ? ox - u
                                         : ox - baseline;
        const std::int64_t py = q == 0   ? oy + baseline
                                : q == 1 ? oy - u
                                : q == 2 ? oy - baseline
                                         : oy + u;
        // A text whose every glyph lies far outside the clip (as the test below has it per
        // glyph) is not merged at all.
        const std::int64_t reach =
            font.Measure(text) + 4 * std::int64_t{font.Metrics().height} + 64;
        if (px + reach < clipBox.left || px - reach > clipBox.right || py + reach < clipBox.top ||
            py - reach > clipBox.bottom)
            return;
        const GlyphRun& run = font.Run(text, f.angle);
        if (std::max(std::abs(px), std::abs(py)) + run.extent < kCoordLimit) {
            for (const GlyphRun::Piece& p : run.pieces)
                BlendCoverage(t, static_cast<int>(px + p.left), static_cast<int>(py + p.top),
                              p.width, p.height, p.coverage.data(), color);
            return;
        }
    }
    std::int64_t pen = u;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const std::int64_t pu = pen;
        pen += dx != nullptr ? dx[i] : font.Advance(byte);
        // The pen pixel on the target.
        std::int64_t px = 0;
        std::int64_t py = 0;
        if (quarter) {
            switch (q) {
                case 0:
                    px = ox + pu, py = oy + baseline;
                    break;
                case 1:
                    px = ox + baseline, py = oy - pu;
                    break;
                case 2:
                    px = ox - pu, py = oy - baseline;
                    break;
                default:
                    px = ox - baseline, py = oy + pu;
                    break;
            }
        } else {
            const double fu = static_cast<double>(pu);
            const double fv = static_cast<double>(baseline);
            px = static_cast<std::int64_t>(
                std::floor(static_cast<double>(ox) + fu * k.c + fv * k.s + 0.5));
            py = static_cast<std::int64_t>(
                std::floor(static_cast<double>(oy) - fu * k.s + fv * k.c + 0.5));
        }
        // Glyphs wholly outside the clip cost no rendering beyond the cached image.
        if (px < clipBox.left - 4 * std::int64_t{font.Metrics().height} - 64 ||
            px > clipBox.right + 4 * std::int64_t{font.Metrics().height} + 64 ||
            py < clipBox.top - 4 * std::int64_t{font.Metrics().height} - 64 ||
            py > clipBox.bottom + 4 * std::int64_t{font.Metrics().height} + 64)
            continue;
        const GlyphImage& g = font.Glyph(byte, f.angle);
        if (g.width == 0 || g.height == 0) continue;
        BlendCoverage(t, Clamp(px + g.left), Clamp(py + g.top), g.width, g.height,
                      g.coverage.data(), color);
    }
}

}  // namespace zo::plat::text
