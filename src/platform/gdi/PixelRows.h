// Row kernels of the hot drawing loops: a colour-keyed copy and the blend of glyph coverage in
// one colour, several pixels at a time with SSE2 (every x86-64 has it) and one at a time
// elsewhere. Both give exactly the pixels of the one-at-a-time definitions below. Internal to
// the drawing layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/GdiInternal.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zo::plat::gdi {

// x / 255 rounded to nearest, exact for 0 <= x <= 255 * 255.
inline std::uint32_t Div255(std::uint32_t x) {
    x += 128;
    return (x + (x >> 8)) >> 8;
}

// Div255 of the two 16-bit lanes of x at once (red and blue): each lane stays below 2^16
// through every step, so no carry crosses into the other.
inline std::uint32_t Div255Pair(std::uint32_t x) {
    x += 0x00800080u;
    return ((x + ((x >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

// src over d with coverage a (1..254); the result is opaque.
inline Pixel BlendPixel(Pixel d, Pixel src, std::uint32_t a) {
    const std::uint32_t na = 255 - a;
    const std::uint32_t rb = Div255Pair((src & 0x00FF00FFu) * a + (d & 0x00FF00FFu) * na);
    const std::uint32_t g = Div255(((src >> 8) & 0xFF) * a + ((d >> 8) & 0xFF) * na);
    return 0xFF000000u | rb | (g << 8);
}

// One pixel of coverage: none leaves d as it is (alpha too), full coverage writes src.
inline Pixel CoveragePixel(Pixel d, Pixel src, std::uint32_t a) {
    if (a == 0) return d;
    return a == 255 ? src : BlendPixel(d, src, a);
}

// The one-at-a-time loops, kept as the portable path and as the definition of the fast one.
inline void BlendCoverageRowEach(Pixel* d, const std::uint8_t* cov, std::size_t n, Pixel src) {
    for (std::size_t i = 0; i < n; ++i)
        d[i] = CoveragePixel(d[i], src, cov[i]);
}

inline void KeyedCopyRowEach(Pixel* d, const Pixel* s, std::size_t n, Pixel key) {
    for (std::size_t i = 0; i < n; ++i)
        if ((s[i] & 0xFFFFFFu) != key) d[i] = s[i];
}

#if defined(__SSE2__)

namespace sse2 {

// Coverage blend of up to four pixels: dv holds them, c4 their coverage bytes (lowest byte
// first). Blue and red sit in the low bytes of the 16-bit lanes of dv, green and alpha in the
// high ones, so shifting and masking put each pair in lanes of its own. In a lane,
// y = s * a + d * (255 - a) + 128 stays below 2^16, and (y * 257) >> 16 equals Div255's
// (y + (y >> 8)) >> 8 for every such y.
inline __m128i Blend4(__m128i dv, std::uint32_t c4, __m128i srb, __m128i sga) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = _mm_set1_epi16(0x00FF);
    const __m128i a16 = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(c4)), zero);
    const __m128i a = _mm_unpacklo_epi16(a16, a16);  // each pixel's coverage in both lanes
    const __m128i na = _mm_sub_epi16(low, a);
    const __m128i v128 = _mm_set1_epi16(128);
    const __m128i v257 = _mm_set1_epi16(257);
    const auto mix = [&](__m128i s, __m128i d) {
        const __m128i y =
            _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(s, a), v128), _mm_mullo_epi16(d, na));
        return _mm_mulhi_epu16(y, v257);
    };
    const __m128i rb = mix(srb, _mm_and_si128(dv, low));
    const __m128i ga = mix(sga, _mm_srli_epi16(dv, 8));
    // Without coverage the blend gives the pixel back exactly, alpha included; covered pixels
    // become opaque.
    const __m128i covered =
        _mm_andnot_si128(_mm_cmpeq_epi32(a, zero), _mm_set1_epi32(static_cast<int>(0xFF000000u)));
    return _mm_or_si128(_mm_or_si128(rb, _mm_slli_epi16(ga, 8)), covered);
}

}  // namespace sse2

#endif

// Blends src over n pixels of d by their coverage (0..255 each), as CoveragePixel does. room
// (at least n) is how many pixels from d, and coverage bytes from cov, may be read (pixels
// beyond n are written back unchanged): with three to spare, a row's last pixels go through
// one four-pixel step.
inline void BlendCoverageRow(Pixel* d, const std::uint8_t* cov, std::size_t n, Pixel src,
                             std::size_t room) {
#if defined(__SSE2__)
    const __m128i sv = _mm_set1_epi32(static_cast<int>(src));
    const __m128i srb = _mm_and_si128(sv, _mm_set1_epi16(0x00FF));
    const __m128i sga = _mm_srli_epi16(sv, 8);
    std::size_t i = 0;
    for (; i < n; i += 4) {
        if (i + 4 > room) break;
        std::uint32_t c4;
        std::memcpy(&c4, cov + i, 4);
        if (i + 4 > n) c4 &= (1u << (8 * (n - i))) - 1;  // coverage beyond the row counts 0
        if (c4 == 0) continue;                           // glyph margins are mostly empty
        auto* p = reinterpret_cast<__m128i*>(d + i);
        if (c4 == 0xFFFFFFFFu) {
            _mm_storeu_si128(p, sv);
            continue;
        }
        _mm_storeu_si128(p, sse2::Blend4(_mm_loadu_si128(p), c4, srb, sga));
    }
    // At the end of the room: the last one to three through the same blend, two and one at a
    // time.
    if (i + 2 <= n) {
        const std::uint32_t c2 = cov[i] | (std::uint32_t{cov[i + 1]} << 8);
        if (c2 != 0) {
            auto* p = reinterpret_cast<__m128i*>(d + i);
            _mm_storel_epi64(p, sse2::Blend4(_mm_loadl_epi64(p), c2, srb, sga));
        }
        i += 2;
    }
    if (i < n && cov[i] != 0) {
        const __m128i one =
            sse2::Blend4(_mm_cvtsi32_si128(static_cast<int>(d[i])), cov[i], srb, sga);
        d[i] = static_cast<Pixel>(_mm_cvtsi128_si32(one));
    }
#else
    (void)room;
    BlendCoverageRowEach(d, cov, n, src);
#endif
}

// Copies the n pixels of s to d except those whose colour (alpha aside) is key; key has no
// alpha. s and d must not overlap.
inline void KeyedCopyRow(Pixel* d, const Pixel* s, std::size_t n, Pixel key) {
#if defined(__SSE2__)
    const __m128i rgb = _mm_set1_epi32(0x00FFFFFF);
    const __m128i k = _mm_set1_epi32(static_cast<int>(key));
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        auto* p = reinterpret_cast<__m128i*>(d + i);
        const __m128i keyed = _mm_cmpeq_epi32(_mm_and_si128(sv, rgb), k);
        const int which = _mm_movemask_epi8(keyed);
        if (which == 0xFFFF) continue;  // all four are key colour
        if (which == 0) {
            _mm_storeu_si128(p, sv);
            continue;
        }
        const __m128i dv = _mm_loadu_si128(p);
        _mm_storeu_si128(p, _mm_or_si128(_mm_and_si128(keyed, dv), _mm_andnot_si128(keyed, sv)));
    }
    KeyedCopyRowEach(d + i, s + i, n - i, key);
#else
    KeyedCopyRowEach(d, s, n, key);
#endif
}

}  // namespace zo::plat::gdi
