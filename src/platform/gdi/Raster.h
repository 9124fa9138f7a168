// Shared machinery of the raster primitives: coordinate clamping, the pattern operand of the
// raster operations, the ternary raster operation itself and 1-px line stepping. Internal to
// the drawing layer.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "platform/Gdi.h"
#include "platform/GdiInternal.h"

namespace zo::plat::gdi {

// Coordinates are clamped to this range after translation, so sums of a coordinate and a
// size or an offset never overflow 32 bits.
inline constexpr std::int64_t kCoordLimit = std::int64_t{1} << 29;

inline LONG ClampCoord(std::int64_t v) {
    return static_cast<LONG>(std::clamp<std::int64_t>(v, -kCoordLimit, kCoordLimit));
}

inline bool EmptyRect(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

inline RECT Clip(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

// A logical rectangle moved to target pixels.
inline RECT ToTarget(const DeviceContext& dc, std::int64_t l, std::int64_t t, std::int64_t r,
                     std::int64_t b) {
    const POINT o = DeviceOffset(dc);
    return RECT{ClampCoord(l + o.x), ClampCoord(t + o.y), ClampCoord(r + o.x), ClampCoord(b + o.y)};
}

inline RECT Ordered(RECT r) {
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return r;
}

// Operand values are 32-bit: a pixel for colour targets, 0 or ~0 for 1-bit targets (so
// that bitwise operations give the same answer in both and bit 0 holds the mono result).
inline constexpr std::uint32_t kMonoOne = 0xFFFFFFFFu;

// A colour as seen by a 1-bit surface: the nearer of black and white.
inline std::uint32_t MonoOf(COLORREF c) {
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    const int toBlack = r * r + g * g + b * b;
    const int toWhite = (255 - r) * (255 - r) + (255 - g) * (255 - g) + (255 - b) * (255 - b);
    return toWhite <= toBlack ? kMonoOne : 0u;
}

inline std::uint32_t ColorValue(const Bitmap& target, COLORREF c) {
    return target.bpp == 1 ? MonoOf(c) : PixelFromColorRef(c);
}

inline std::uint32_t Load(const Bitmap& b, int x, int y) {
    const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(b.width) +
                          static_cast<std::size_t>(x);
    return b.bpp == 1 ? (b.mono[i] ? kMonoOne : 0u) : b.pixels[i];
}

// Stores an operation result; keepAlpha is for plain copies, everything else is opaque.
inline void Store(Bitmap& b, int x, int y, std::uint32_t v, bool keepAlpha) {
    const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(b.width) +
                          static_cast<std::size_t>(x);
    if (b.bpp == 1)
        b.mono[i] = static_cast<std::uint8_t>(v & 1u);
    else
        b.pixels[i] = keepAlpha ? v : (v | 0xFF000000u);
}

// The ternary raster operation given by the middle byte of a ROP code: bit (P<<2 | S<<1 | D).
inline std::uint32_t Rop3(std::uint8_t code, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
    switch (code) {
        case 0x00:
            return 0;
        case 0xFF:
            return ~0u;
        case 0xCC:
            return s;
        case 0xEE:
            return s | d;
        case 0x88:
            return s & d;
        case 0x66:
            return s ^ d;
        case 0x44:
            return s & ~d;
        case 0x33:
            return ~s;
        case 0x11:
            return ~(s | d);
        case 0xC0:
            return p & s;
        case 0xBB:
            return ~s | d;
        case 0xF0:
            return p;
        case 0xFB:
            return p | ~s | d;
        case 0x5A:
            return p ^ d;
        case 0x55:
            return ~d;
        case 0xB8:
            return (s & d) | (~s & p);
        case 0xE2:
            return (s & p) | (~s & d);
        default:
            break;
    }
    std::uint32_t r = 0;
    for (int i = 0; i < 8; ++i) {
        if (!((code >> i) & 1)) continue;
        r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return r;
}

inline std::uint8_t RopCode(DWORD rop) {
    return static_cast<std::uint8_t>((rop >> 16) & 0xFF);
}
inline bool RopUsesSource(std::uint8_t c) {
    return ((c >> 2) & 0x33) != (c & 0x33);
}
inline bool RopUsesPattern(std::uint8_t c) {
    return ((c >> 4) & 0x0F) != (c & 0x0F);
}

// Binary raster operation of pens (R2_*): bit (P<<1 | D) of rop2 - 1.
inline std::uint32_t Rop2(int rop2, std::uint32_t p, std::uint32_t d) {
    const int code = (rop2 - 1) & 0xF;
    std::uint32_t r = 0;
    for (int i = 0; i < 4; ++i) {
        if (!((code >> i) & 1)) continue;
        r |= ((i & 2) ? p : ~p) & ((i & 1) ? d : ~d);
    }
    return r;
}

// The pattern operand (P) of a DC's brush, already in the target's format and aligned to the
// DC's brush origin.
struct Paint {
    bool null = true;
    bool solid = true;
    std::uint32_t value = 0;  // solid
    std::uint32_t cells[8][8] = {};
    LONG ox = 0;  // target pixel where the pattern's cell (0,0) lies
    LONG oy = 0;
    std::uint32_t At(LONG x, LONG y) const {
        if (solid) return value;
        return cells[static_cast<unsigned>(y - oy) & 7u][static_cast<unsigned>(x - ox) & 7u];
    }
};

Paint MakeSolidPaint(const Bitmap& target, COLORREF color);
Paint MakeBrushPaint(const DeviceContext& dc, const Bitmap& target, const Brush& brush);

// A brush handle or, where allowSysIndex, a system colour index + 1 (1..31). False when the
// handle is not a live brush.
bool ResolveBrush(HBRUSH h, bool allowSysIndex, Brush& out);

// Applies a pattern-only raster operation (no source) to r, which is already clipped.
void PatternRect(Bitmap& target, const RECT& r, const Paint& paint, std::uint8_t rop);

// Fills the target rectangle r through the DC's effective clip.
void PatternFill(DeviceContext& dc, Bitmap& target, const RECT& r, const Paint& paint,
                 std::uint8_t rop);

// Fills r (target pixels) with one colour through an already computed clip.
void SolidRect(Bitmap& target, const Region& clip, const RECT& r, COLORREF color);

// Calls plot(x, y) for every pixel of the 1-px line a -> b (b excluded) whose major-axis
// coordinate lies within bounds. The minor coordinate at step i is i * minor / major rounded
// to nearest, halves down, so the work is bounded by the clip and not by the line's length.
template <class F>
void StepLine(POINT a, POINT b, const RECT& bounds, F&& plot) {
    const std::int64_t dx = std::int64_t{b.x} - a.x, dy = std::int64_t{b.y} - a.y;
    const std::int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    const bool xMajor = adx >= ady;
    const std::int64_t major = xMajor ? adx : ady, minor = xMajor ? ady : adx;
    if (major == 0) return;
    const int smaj = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int smin = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const std::int64_t start = xMajor ? a.x : a.y;
    const std::int64_t lo = xMajor ? bounds.left : bounds.top;
    const std::int64_t hi = xMajor ? bounds.right : bounds.bottom;
    std::int64_t i0 = smaj > 0 ? lo - start : start - (hi - 1);
    std::int64_t i1 = smaj > 0 ? hi - start : start - lo + 1;  // exclusive
    i0 = std::max<std::int64_t>(i0, 0);
    i1 = std::min<std::int64_t>(i1, major);
    for (std::int64_t i = i0; i < i1; ++i) {
        const std::int64_t m = (2 * i * minor + major - 1) / (2 * major);
        const std::int64_t p = start + smaj * i;
        const std::int64_t q = (xMajor ? a.y : a.x) + smin * m;
        if (xMajor)
            plot(p, q);
        else
            plot(q, p);
    }
}

// Draws a pen line in target pixels (a -> b, b excluded) through clip, with the DC's ROP2.
void PenLine(DeviceContext& dc, Bitmap& target, const Region& clip, POINT a, POINT b,
             const Pen& pen, bool includeEnd = false);

}  // namespace zo::plat::gdi
