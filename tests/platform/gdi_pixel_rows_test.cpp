// The row kernels of text and keyed copies, the fast path and the portable one, held pixel for
// pixel to straightforward definitions: every coverage and channel value, then random rows of
// every short width at every alignment, with guard pixels that must stay as they were.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "platform/gdi/PixelRows.h"

namespace zo::plat::gdi {
namespace {

using BlendFn = void (*)(Pixel*, const std::uint8_t*, std::size_t, Pixel);
using CopyFn = void (*)(Pixel*, const Pixel*, std::size_t, Pixel);

// The fast blend with `room` pixels to spare after the row.
template <std::size_t room>
void FastBlend(Pixel* d, const std::uint8_t* c, std::size_t n, Pixel s) {
    BlendCoverageRow(d, c, n, s, n + room);
}

const struct Kernels {
    const char* name;
    BlendFn blend;
    CopyFn copy;
} kKernels[] = {{"several at a time, room after the row", FastBlend<3>, KeyedCopyRow},
                {"several at a time, at the end of the pixels", FastBlend<0>, KeyedCopyRow},
                {"one at a time", BlendCoverageRowEach, KeyedCopyRowEach}};

// Each channel of src over d, rounded to nearest: no coverage keeps d with its alpha, any
// other coverage gives an opaque pixel.
Pixel Expected(Pixel d, Pixel src, unsigned a) {
    if (a == 0) return d;
    Pixel out = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const unsigned s = (src >> shift) & 0xFF, t = (d >> shift) & 0xFF;
        out |= ((2 * (s * a + t * (255 - a)) + 255) / 510) << shift;
    }
    return out;
}

TEST(GdiPixelRows, EveryCoverageOverEveryChannelValueRoundsToNearest) {
    for (const Kernels& k : kKernels) {
        SCOPED_TRACE(k.name);
        for (const Pixel src : {0xFF000000u, 0xFF01807Fu, 0xFFFEFF00u, 0xFFFFFFFFu}) {
            // One row per coverage, 256 destination values whose channels all differ.
            std::vector<std::uint8_t> cov(256);
            for (unsigned a = 0; a < 256; ++a) {
                std::vector<Pixel> row(256), want(256);
                for (unsigned v = 0; v < 256; ++v) {
                    row[v] = (v << 24) | (v << 16) | ((255 - v) << 8) | (v ^ 0x5Au);
                    want[v] = Expected(row[v], src, a);
                }
                cov.assign(256, static_cast<std::uint8_t>(a));
                k.blend(row.data(), cov.data(), row.size(), src);
                ASSERT_EQ(row, want) << "coverage " << a << " colour " << std::hex << src;
            }
        }
    }
}

// Rows of 0..19 pixels starting at each of four alignments inside a guarded buffer.
TEST(GdiPixelRows, ShortRowsAtEveryAlignmentTouchOnlyTheirOwnPixels) {
    std::mt19937 rng(20261207);
    constexpr Pixel kKey = 0x00FF00FFu, kGuard = 0x12345678u;
    for (const Kernels& k : kKernels) {
        SCOPED_TRACE(k.name);
        for (int round = 0; round < 200; ++round) {
            for (std::size_t n = 0; n < 20; ++n) {
                for (std::size_t at = 1; at <= 4; ++at) {
                    std::vector<Pixel> d(n + 8, kGuard), s(n + 8), want(n + 8, kGuard);
                    std::vector<std::uint8_t> cov(n + 8);
                    const Pixel src = 0xFF000000u | (rng() & 0xFFFFFFu);
                    for (std::size_t i = at; i < at + n; ++i) {
                        d[i] = rng();
                        const unsigned pick = rng() % 4;  // none, full or partial coverage
                        cov[i] = pick == 0 ? 0 : pick == 1 ? 255 : static_cast<std::uint8_t>(rng());
                        want[i] = Expected(d[i], src, cov[i]);
                    }
                    k.blend(d.data() + at, cov.data() + at, n, src);
                    ASSERT_EQ(d, want) << "blend of " << n << " at " << at;

                    // Key-coloured source pixels, whatever their alpha, leave the target.
                    for (std::size_t i = at; i < at + n; ++i) {
                        s[i] = rng() % 3 == 0 ? (kKey | (rng() & 0xFF000000u)) : rng();
                        want[i] = (s[i] & 0xFFFFFFu) == kKey ? d[i] : s[i];
                    }
                    k.copy(d.data() + at, s.data() + at, n, kKey);
                    ASSERT_EQ(d, want) << "keyed copy of " << n << " at " << at;
                }
            }
        }
    }
}

}  // namespace
}  // namespace zo::plat::gdi
