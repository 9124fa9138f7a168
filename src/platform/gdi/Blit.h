// Mapping of destination pixels to source pixels for blits and stretches, and the source
// operand of the raster operations with its colour/monochrome conversion. Internal.
#pragma once

#include <algorithm>
#include <vector>

#include "platform/gdi/Raster.h"

namespace zo::plat::gdi {

// The source operand (S) read from a bitmap and converted to the destination's format:
// mono to colour takes the destination DC's text (0) and background (1) colours, colour to
// mono makes pixels of the source DC's background colour 1 and all others 0.
struct SourceView {
    const Bitmap* bitmap = nullptr;
    bool dstMono = false;
    Pixel srcBk = 0;        // RGB of the source DC's background colour, no alpha
    std::uint32_t one = 0;  // mono 1 as a destination value
    std::uint32_t zero = 0;

    std::uint32_t At(LONG x, LONG y) const {
        const std::size_t i =
            static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap->width) +
            static_cast<std::size_t>(x);
        if (bitmap->bpp == 1) {
            const bool bit = bitmap->mono[i] != 0;
            if (dstMono) return bit ? kMonoOne : 0u;
            return bit ? one : zero;
        }
        const Pixel p = bitmap->pixels[i];
        if (dstMono) return (p & 0xFFFFFFu) == srcBk ? kMonoOne : 0u;
        return p;
    }
};

SourceView MakeSourceView(const DcState& srcState, const Bitmap& source, const DcState& dstState,
                          const Bitmap& target);

// A source span per destination index along one axis, over the visible destination range.
struct Axis {
    LONG first = 0;  // destination coordinate of entry 0
    std::vector<LONG> start;
    std::vector<LONG> count;  // 0 when the span lies outside the source
};

// n destination pixels from dstStart show m source pixels from srcStart (both > 0). Entries
// are made for destination coordinates [v0, v1) only. Enlarging replicates; shrinking gives
// each destination pixel a block of source pixels, or only its first pixel when pickOnly.
Axis MapAxis(std::int64_t dstStart, std::int64_t n, std::int64_t srcStart, std::int64_t m,
             bool mirror, LONG v0, LONG v1, LONG srcLimit, bool pickOnly);

// Calls f(x, y, sx, cx, sy, cy) for every visible destination pixel of dst (ordered, target
// pixels) whose source block [sx, sx+cx) x [sy, sy+cy) is non-empty.
template <class F>
void ForEachMapped(const Region& clip, const RECT& dst, const RECT& src, bool mirrorX, bool mirrorY,
                   const Bitmap& source, bool pickOnly, F&& f) {
    const RECT vis = Clip(clip.Bounds(), dst);
    if (EmptyRect(vis) || EmptyRect(src)) return;
    const Axis ax = MapAxis(dst.left, std::int64_t{dst.right} - dst.left, src.left,
                            std::int64_t{src.right} - src.left, mirrorX, vis.left, vis.right,
                            source.width, pickOnly);
    const Axis ay = MapAxis(dst.top, std::int64_t{dst.bottom} - dst.top, src.top,
                            std::int64_t{src.bottom} - src.top, mirrorY, vis.top, vis.bottom,
                            source.height, pickOnly);
    for (const RECT& c : clip.Rects()) {
        const RECT r = Clip(c, vis);
        for (LONG y = r.top; y < r.bottom; ++y) {
            const auto iy = static_cast<std::size_t>(y - ay.first);
            if (ay.count[iy] <= 0) continue;
            for (LONG x = r.left; x < r.right; ++x) {
                const auto ix = static_cast<std::size_t>(x - ax.first);
                if (ax.count[ix] <= 0) continue;
                f(x, y, ax.start[ix], ax.count[ix], ay.start[iy], ay.count[iy]);
            }
        }
    }
}

// Straight-alpha "over" of one source pixel onto a destination pixel.
inline Pixel BlendOver(Pixel s, Pixel d, unsigned alpha, bool keepDstAlpha) {
    if (alpha >= 255) return keepDstAlpha ? s : (s | 0xFF000000u);
    if (alpha == 0) return d;
    const unsigned inv = 255 - alpha;
    auto ch = [&](int shift) {
        const unsigned sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
        return ((sc * alpha + dc * inv + 127) / 255) << shift;
    };
    Pixel a = 0xFF000000u;
    if (keepDstAlpha) a = (alpha + ((d >> 24) * inv + 127) / 255) << 24;
    return a | ch(16) | ch(8) | ch(0);
}

}  // namespace zo::plat::gdi
