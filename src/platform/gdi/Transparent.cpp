// The services of the image library: colour-keyed copies (TransparentBlt), linear gradients
// (GradientFill) and alpha blending (AlphaBlend).
#include <algorithm>
#include <optional>
#include <vector>

#include "platform/Gdi.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/PixelRows.h"

namespace zo::plat {

namespace {

// Both DCs and their bitmaps, or nothing when a handle is bad.
struct BlitPair {
    DeviceContext* dst = nullptr;
    DeviceContext* src = nullptr;
    Bitmap* target = nullptr;
    const Bitmap* source = nullptr;
};

std::optional<BlitPair> Resolve(HDC hdcDst, HDC hdcSrc) {
    BlitPair p;
    p.dst = GetDcPtr(hdcDst);
    p.src = GetDcPtr(hdcSrc);
    if (p.dst == nullptr || p.src == nullptr) return std::nullopt;
    p.target = TargetOf(*p.dst);
    p.source = TargetOf(*p.src);
    if (p.target == nullptr || p.source == nullptr) return std::nullopt;
    return p;
}

}  // namespace

BOOL TransparentBlt(HDC hdcDst, int x, int y, int w, int h, HDC hdcSrc, int sx, int sy, int sw,
                    int sh, UINT transparent) {
    const std::optional<BlitPair> p = Resolve(hdcDst, hdcSrc);
    if (!p || w < 0 || h < 0 || sw < 0 || sh < 0) return FALSE;
    const RECT dr = gdi::ToTarget(*p->dst, x, y, std::int64_t{x} + w, std::int64_t{y} + h);
    const RECT sr = gdi::ToTarget(*p->src, sx, sy, std::int64_t{sx} + sw, std::int64_t{sy} + sh);
    const Region& clip = EffectiveClip(*p->dst);
    if (clip.Empty() || gdi::EmptyRect(dr) || gdi::EmptyRect(sr)) return TRUE;
    std::optional<Bitmap> snapshot;
    if (p->source == p->target) snapshot.emplace(*p->source);
    const Bitmap& from = snapshot ? *snapshot : *p->source;
    const gdi::SourceView view =
        gdi::MakeSourceView(p->src->state, from, p->dst->state, *p->target);
    const Pixel key = PixelFromColorRef(transparent) & 0xFFFFFFu;
    Bitmap& target = *p->target;
    if (dr.right - dr.left == sr.right - sr.left && dr.bottom - dr.top == sr.bottom - sr.top &&
        from.bpp == 32 && target.bpp == 32) {
        // Unstretched colour to colour, the common case of a picture with a key colour: whole
        // rows at a time over the part whose source lies inside the source bitmap.
        const LONG ox = sr.left - dr.left, oy = sr.top - dr.top;
        const RECT inside = gdi::Clip(dr, RECT{-ox, -oy, from.width - ox, from.height - oy});
        for (const RECT& c : clip.Rects()) {
            const RECT r = gdi::Clip(c, inside);
            if (gdi::EmptyRect(r)) continue;
            const auto n = static_cast<std::size_t>(r.right - r.left);
            for (LONG y = r.top; y < r.bottom; ++y) {
                const Pixel* s = &from.pixels[static_cast<std::size_t>(y + oy) *
                                                  static_cast<std::size_t>(from.width) +
                                              static_cast<std::size_t>(r.left + ox)];
                Pixel* d = &target.pixels[static_cast<std::size_t>(y) *
                                              static_cast<std::size_t>(target.width) +
                                          static_cast<std::size_t>(r.left)];
                gdi::KeyedCopyRow(d, s, n, key);
            }
        }
        return TRUE;
    }
    // Every stretch mode picks single pixels here; the key is compared with the source's own
    // colour, before any conversion to the destination's format.
    gdi::ForEachMapped(clip, dr, sr, false, false, from, true,
                       [&](LONG px, LONG py, LONG bx, LONG, LONG by, LONG) {
                           const std::size_t i =
                               static_cast<std::size_t>(by) * static_cast<std::size_t>(from.width) +
                               static_cast<std::size_t>(bx);
                           const Pixel own = from.bpp == 1 ? (from.mono[i] ? 0xFFFFFFu : 0u)
                                                           : (from.pixels[i] & 0xFFFFFFu);
                           if (own == key) return;
                           gdi::Store(target, px, py, view.At(bx, by), true);
                       });
    return TRUE;
}

namespace {

// Channel k of the gradient over W pixels: c0 in the first column and c1 in the last, so a
// gradient between two colours shows both of them.
std::uint32_t Ramp(COLOR16 c0, COLOR16 c1, std::int64_t k, std::int64_t w) {
    if (w <= 1) return static_cast<std::uint32_t>(c0 / 256);
    return static_cast<std::uint32_t>(
        ((std::int64_t{c0} * (w - 1 - k) + std::int64_t{c1} * k) / (w - 1)) / 256);
}

Pixel GradientPixel(const TRIVERTEX& a, const TRIVERTEX& b, std::int64_t k, std::int64_t w,
                    bool withAlpha) {
    const Pixel alpha = withAlpha ? Ramp(a.Alpha, b.Alpha, k, w) : 0xFFu;
    return (alpha << 24) | (Ramp(a.Red, b.Red, k, w) << 16) | (Ramp(a.Green, b.Green, k, w) << 8) |
           Ramp(a.Blue, b.Blue, k, w);
}

std::uint32_t ValueFor(const Bitmap& target, Pixel px) {
    return target.bpp == 1 ? gdi::MonoOf(ColorRefFromPixel(px)) : px;
}

}  // namespace

BOOL GradientFill(HDC hdc, const TRIVERTEX* vertices, ULONG vertexCount, const void* mesh,
                  ULONG meshCount, ULONG mode) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr || vertices == nullptr || mesh == nullptr) return FALSE;
    if (mode != GRADIENT_FILL_RECT_H && mode != GRADIENT_FILL_RECT_V) return FALSE;
    Bitmap* target = TargetOf(*dc);
    if (target == nullptr) return FALSE;
    const auto* rects = static_cast<const GRADIENT_RECT*>(mesh);
    for (ULONG i = 0; i < meshCount; ++i)
        if (rects[i].UpperLeft >= vertexCount || rects[i].LowerRight >= vertexCount) return FALSE;
    const Region& clip = EffectiveClip(*dc);
    const bool horizontal = mode == GRADIENT_FILL_RECT_H;
    const bool withAlpha = target->hasAlpha;
    for (ULONG i = 0; i < meshCount && !clip.Empty(); ++i) {
        TRIVERTEX a = vertices[rects[i].UpperLeft], b = vertices[rects[i].LowerRight];
        // The colours run from the vertex on the left (top) whichever order they come in.
        if (horizontal ? a.x > b.x : a.y > b.y) std::swap(a, b);
        const RECT r = gdi::Ordered(gdi::ToTarget(*dc, a.x, a.y, b.x, b.y));
        if (gdi::EmptyRect(r)) continue;
        const std::int64_t start = horizontal ? r.left : r.top;
        const std::int64_t w =
            horizontal ? std::int64_t{r.right} - r.left : std::int64_t{r.bottom} - r.top;
        for (const RECT& c : clip.Rects()) {
            const RECT part = gdi::Clip(c, r);
            if (gdi::EmptyRect(part)) continue;
            // One row (or one colour per row) is worked out once, then copied.
            std::vector<std::uint32_t> values;
            if (horizontal) {
                values.resize(static_cast<std::size_t>(part.right - part.left));
                for (LONG x = part.left; x < part.right; ++x)
                    values[static_cast<std::size_t>(x - part.left)] =
                        ValueFor(*target, GradientPixel(a, b, x - start, w, withAlpha));
            }
            for (LONG y = part.top; y < part.bottom; ++y) {
                if (!horizontal)
                    values.assign(static_cast<std::size_t>(part.right - part.left),
                                  ValueFor(*target, GradientPixel(a, b, y - start, w, withAlpha)));
                for (LONG x = part.left; x < part.right; ++x)
                    gdi::Store(*target, x, y, values[static_cast<std::size_t>(x - part.left)],
                               true);
            }
        }
    }
    return TRUE;
}

BOOL AlphaBlend(HDC hdcDst, int x, int y, int w, int h, HDC hdcSrc, int sx, int sy, int sw, int sh,
                BLENDFUNCTION blend) {
    const std::optional<BlitPair> p = Resolve(hdcDst, hdcSrc);
    if (!p || w < 0 || h < 0 || sw < 0 || sh < 0 || blend.BlendOp != AC_SRC_OVER) return FALSE;
    if (p->target->bpp != 32 || p->source->bpp != 32) return FALSE;
    const RECT dr = gdi::ToTarget(*p->dst, x, y, std::int64_t{x} + w, std::int64_t{y} + h);
    const RECT sr = gdi::ToTarget(*p->src, sx, sy, std::int64_t{sx} + sw, std::int64_t{sy} + sh);
    const Region& clip = EffectiveClip(*p->dst);
    if (clip.Empty() || gdi::EmptyRect(dr) || gdi::EmptyRect(sr)) return TRUE;
    std::optional<Bitmap> snapshot;
    if (p->source == p->target) snapshot.emplace(*p->source);
    const Bitmap& from = snapshot ? *snapshot : *p->source;
    Bitmap& target = *p->target;
    const unsigned constant = blend.SourceConstantAlpha;
    const bool perPixel = (blend.AlphaFormat & AC_SRC_ALPHA) != 0;
    // The source is premultiplied, as the platform expects: D = S * ca + D * (1 - Sa * ca).
    gdi::ForEachMapped(
        clip, dr, sr, false, false, from, true,
        [&](LONG px, LONG py, LONG bx, LONG, LONG by, LONG) {
            const Pixel s =
                from.pixels[static_cast<std::size_t>(by) * static_cast<std::size_t>(from.width) +
                            static_cast<std::size_t>(bx)];
            Pixel& d =
                target
                    .pixels[static_cast<std::size_t>(py) * static_cast<std::size_t>(target.width) +
                            static_cast<std::size_t>(px)];
            const unsigned sa = perPixel ? ((s >> 24) * constant + 127) / 255 : constant;
            const unsigned inv = 255 - sa;
            Pixel out = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                const unsigned sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
                const unsigned v = (shift == 24 && !perPixel) ? sa : (sc * constant + 127) / 255;
                out |= std::min(255u, v + (dc * inv + 127) / 255) << shift;
            }
            d = target.hasAlpha ? out : (out | 0xFF000000u);
        });
    return TRUE;
}

}  // namespace zo::plat
