// BitBlt and StretchBlt: raster operations between two DCs, colour/monochrome conversion,
// the four stretch modes and mirroring.
#include "platform/gdi/Blit.h"

#include <algorithm>
#include <optional>

#include "platform/Gdi.h"

namespace zo::plat {

namespace gdi {

SourceView MakeSourceView(const DcState& srcState, const Bitmap& source, const DcState& dstState,
                          const Bitmap& target) {
    SourceView v;
    v.bitmap = &source;
    v.dstMono = target.bpp == 1;
    v.srcBk = PixelFromColorRef(srcState.bkColor) & 0xFFFFFFu;
    v.one = PixelFromColorRef(dstState.bkColor);
    v.zero = PixelFromColorRef(dstState.textColor);
    return v;
}

Axis MapAxis(std::int64_t dstStart, std::int64_t n, std::int64_t srcStart, std::int64_t m,
             bool mirror, LONG v0, LONG v1, LONG srcLimit, bool pickOnly) {
    Axis a;
    a.first = v0;
    const auto size = static_cast<std::size_t>(std::max<LONG>(0, v1 - v0));
    a.start.resize(size);
    a.count.resize(size);
    for (std::size_t i = 0; i < size; ++i) {
        std::int64_t k = v0 + static_cast<std::int64_t>(i) - dstStart;
        if (mirror) k = n - 1 - k;
        std::int64_t s0 = k * m / n;
        std::int64_t s1 = (k + 1) * m / n;
        if (pickOnly || s1 <= s0) s1 = s0 + 1;
        s0 += srcStart;
        s1 += srcStart;
        const std::int64_t lo = std::max<std::int64_t>(s0, 0);
        const std::int64_t hi = std::min<std::int64_t>(s1, srcLimit);
        a.start[i] = static_cast<LONG>(std::clamp<std::int64_t>(lo, 0, srcLimit));
        a.count[i] = static_cast<LONG>(std::max<std::int64_t>(0, hi - lo));
    }
    return a;
}

}  // namespace gdi

namespace {

using gdi::SourceView;

// The shrinking rules: a block of source values reduced to one destination value.
std::uint32_t Combine(const SourceView& view, int mode, LONG sx, LONG cx, LONG sy, LONG cy) {
    if (mode == HALFTONE) {
        std::uint64_t sum[4] = {0, 0, 0, 0};
        for (LONG y = sy; y < sy + cy; ++y)
            for (LONG x = sx; x < sx + cx; ++x) {
                const std::uint32_t v = view.At(x, y);
                for (int c = 0; c < 4; ++c)
                    sum[c] += (v >> (8 * c)) & 0xFF;
            }
        const std::uint64_t n = static_cast<std::uint64_t>(cx) * static_cast<std::uint64_t>(cy);
        std::uint32_t out = 0;
        for (int c = 0; c < 4; ++c)
            out |= static_cast<std::uint32_t>((sum[c] + n / 2) / n) << (8 * c);
        if (view.dstMono) return (out & 0xFF) >= 128 ? gdi::kMonoOne : 0u;
        return out;
    }
    if (mode == COLORONCOLOR) return view.At(sx, sy);
    const bool andScans = mode == BLACKONWHITE;
    std::uint32_t v = andScans ? ~0u : 0u;
    for (LONG y = sy; y < sy + cy; ++y)
        for (LONG x = sx; x < sx + cx; ++x)
            v = andScans ? (v & view.At(x, y)) : (v | view.At(x, y));
    return v;
}

// Plain copies of equal size between 32-bit bitmaps: whole rows at a time.
void CopyRows(Bitmap& target, const Bitmap& source, const Region& clip, const RECT& dst,
              const RECT& src) {
    const std::int64_t dx = std::int64_t{src.left} - dst.left;
    const std::int64_t dy = std::int64_t{src.top} - dst.top;
    const RECT fromSource{gdi::ClampCoord(-dx), gdi::ClampCoord(-dy),
                          gdi::ClampCoord(source.width - dx), gdi::ClampCoord(source.height - dy)};
    const RECT area = gdi::Clip(dst, fromSource);
    for (const RECT& c : clip.Rects()) {
        const RECT r = gdi::Clip(c, area);
        if (gdi::EmptyRect(r)) continue;
        const auto w = static_cast<std::size_t>(r.right - r.left);
        for (LONG y = r.top; y < r.bottom; ++y) {
            const Pixel* from =
                source.pixels.data() +
                static_cast<std::size_t>(y + dy) * static_cast<std::size_t>(source.width) +
                static_cast<std::size_t>(r.left + dx);
            Pixel* to = target.pixels.data() +
                        static_cast<std::size_t>(y) * static_cast<std::size_t>(target.width) +
                        static_cast<std::size_t>(r.left);
            std::copy_n(from, w, to);
        }
    }
}

BOOL Stretch(HDC hdcDst, int x, int y, int w, int h, HDC hdcSrc, int sx, int sy, int sw, int sh,
             DWORD rop) {
    DeviceContext* dst = GetDcPtr(hdcDst);
    if (dst == nullptr) return FALSE;
    const std::uint8_t code = gdi::RopCode(rop);
    if (!gdi::RopUsesSource(code)) return PatBlt(hdcDst, x, y, w, h, rop);
    DeviceContext* src = GetDcPtr(hdcSrc);
    if (src == nullptr) return FALSE;
    Bitmap* target = TargetOf(*dst);
    const Bitmap* source = TargetOf(*src);
    if (target == nullptr || source == nullptr) return FALSE;
    const bool mirrorX = (w < 0) != (sw < 0), mirrorY = (h < 0) != (sh < 0);
    const RECT dr =
        gdi::Ordered(gdi::ToTarget(*dst, x, y, std::int64_t{x} + w, std::int64_t{y} + h));
    const RECT sr =
        gdi::Ordered(gdi::ToTarget(*src, sx, sy, std::int64_t{sx} + sw, std::int64_t{sy} + sh));
    const Region& clip = EffectiveClip(*dst);
    if (clip.Empty() || gdi::EmptyRect(dr) || gdi::EmptyRect(sr)) return TRUE;
    gdi::Paint paint;
    if (gdi::RopUsesPattern(code)) {
        const GdiObject* b = GetGdi(dst->state.brush, GdiKind::Brush);
        if (b == nullptr) return FALSE;
        paint = gdi::MakeBrushPaint(*dst, *target, b->brush);
        if (paint.null) return TRUE;
    }
    // A blit within one bitmap reads from a snapshot, so overlapping areas copy correctly.
    std::optional<Bitmap> snapshot;
    if (source == target) snapshot.emplace(*source);
    const Bitmap& from = snapshot ? *snapshot : *source;
    const bool sameSize =
        dr.right - dr.left == sr.right - sr.left && dr.bottom - dr.top == sr.bottom - sr.top;
    if (code == 0xCC && sameSize && !mirrorX && !mirrorY && from.bpp == 32 && target->bpp == 32) {
        CopyRows(*target, from, clip, dr, sr);
        return TRUE;
    }
    const SourceView view = gdi::MakeSourceView(src->state, from, dst->state, *target);
    const int mode = dst->state.stretchMode;
    const bool keepAlpha = code == 0xCC;
    gdi::ForEachMapped(
        clip, dr, sr, mirrorX, mirrorY, from, sameSize || mode == COLORONCOLOR,
        [&](LONG px, LONG py, LONG bx, LONG cx, LONG by, LONG cy) {
            const std::uint32_t s =
                (cx == 1 && cy == 1) ? view.At(bx, by) : Combine(view, mode, bx, cx, by, cy);
            const std::uint32_t d = gdi::Load(*target, px, py);
            gdi::Store(*target, px, py, gdi::Rop3(code, paint.At(px, py), s, d), keepAlpha);
        });
    return TRUE;
}

}  // namespace

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int sx, int sy, DWORD rop) {
    return Stretch(dst, x, y, width, height, src, sx, sy, width, height, rop);
}

BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int sx, int sy, int sw,
                int sh, DWORD rop) {
    return Stretch(dst, x, y, width, height, src, sx, sy, sw, sh, rop);
}

}  // namespace zo::plat
