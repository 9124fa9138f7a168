// Text drawn from merged glyph images against the same text drawn glyph by glyph (ExtTextOutA
// with the font's own advances takes that path): every pixel the same, over pixels of every
// colour and alpha, for glyphs that overlap, every quarter turn, clips that cut through the
// text and 1-bit targets.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/text/FontEngine.h"
#include "text_support.h"

namespace zo::plat::test {
namespace {

struct Row {
    const char* name;
    LOGFONTA lf;
    std::string text;
    RECT clip;  // empty: none
    int bpp;
};

const Row kRows[] = {
    {"plain", Lf("MS Sans Serif", -11), "Item 12-345 Wg", {}, 32},
    {"bold italic, glyphs overlapping", Lf("Serif", -24, FW_BOLD, 1), "ffjj AVWAfj//", {}, 32},
    {"a quarter turn", Lf("MS Sans Serif", -13, FW_NORMAL, 0, 900), "Group 7 Ag", {}, 32},
    {"half a turn", Lf("MS Sans Serif", -13, FW_NORMAL, 0, 1800), "Group 7 Ag", {}, 32},
    {"three quarters", Lf("Serif", -18, FW_NORMAL, 1, 2700), "ffjj Wg", {}, 32},
    {"clipped through the glyphs", Lf("Serif", -24), "Clipped Wg", {37, 41, 83, 57}, 32},
    {"1-bit target", Lf("Serif", -20, FW_BOLD), "Mono Wg", {}, 1},
};

TEST(TextRun, MergedGlyphsDrawWhatGlyphByGlyphDraws) {
    std::mt19937 rng(7);
    for (const Row& r : kRows) {
        SCOPED_TRACE(r.name);
        Canvas merged(160, 160, kWhite, r.bpp), single(160, 160, kWhite, r.bpp);
        for (std::size_t i = 0; i < merged.Bits().pixels.size(); ++i)
            merged.Bits().pixels[i] = single.Bits().pixels[i] = rng();
        for (std::size_t i = 0; i < merged.Bits().mono.size(); ++i)
            merged.Bits().mono[i] = single.Bits().mono[i] = static_cast<std::uint8_t>(rng() & 1);
        UseFont a(merged.dc, r.lf), b(single.dc, r.lf);
        std::vector<int> advances;
        for (const char c : r.text) {
            SIZE one;
            ASSERT_TRUE(GetTextExtentPoint32A(merged.dc, &c, 1, &one));
            advances.push_back(one.cx);
        }
        for (const Canvas* c : {&merged, &single}) {
            SetBkMode(c->dc, TRANSPARENT);
            SetTextColor(c->dc, RGB(30, 140, 250));
            if (r.clip.right > r.clip.left)
                IntersectClipRect(c->dc, r.clip.left, r.clip.top, r.clip.right, r.clip.bottom);
        }
        const auto n = static_cast<UINT>(r.text.size());
        ASSERT_TRUE(TextOutA(merged.dc, 80, 80, r.text.data(), static_cast<int>(n)));
        ASSERT_TRUE(ExtTextOutA(single.dc, 80, 80, 0, nullptr, r.text.data(), n, advances.data()));
        EXPECT_TRUE(merged.Bits().pixels == single.Bits().pixels);
        EXPECT_TRUE(merged.Bits().mono == single.Bits().mono);
    }
}

// Two glyphs go into separate images exactly when they cover a pixel in common: blending them
// one after the other is not blending their coverage once. Every pair of printable characters
// of a slanted bold face, of which some pairs do overlap.
TEST(TextRun, GlyphsCoveringAPixelInCommonGoIntoSeparateImages) {
    const std::shared_ptr<RealizedFont> font = text::RealizeFont(Lf("Serif", -24, FW_BOLD, 1));
    ASSERT_NE(font, nullptr);
    const auto covered = [&](unsigned char c, int dx, int x, int y) {
        const text::GlyphImage& g = font->Glyph(c, 0);
        const int gx = x - dx - g.left, gy = y - g.top;
        return gx >= 0 && gy >= 0 && gx < g.width && gy < g.height &&
               g.coverage[static_cast<std::size_t>(gy * g.width + gx)] != 0;
    };
    int overlapping = 0;
    for (unsigned char a = 33; a < 127; ++a) {
        for (unsigned char b = 33; b < 127; ++b) {
            const int advance = font->Advance(a);
            const text::GlyphImage &ga = font->Glyph(a, 0), &gb = font->Glyph(b, 0);
            bool common = false;
            for (int y = std::max(ga.top, gb.top);
                 y < std::min(ga.top + ga.height, gb.top + gb.height) && !common; ++y)
                for (int x = std::max(ga.left, advance + gb.left);
                     x < std::min(ga.left + ga.width, advance + gb.left + gb.width) && !common; ++x)
                    common = covered(a, 0, x, y) && covered(b, advance, x, y);
            overlapping += common ? 1 : 0;
            const char pair[2] = {static_cast<char>(a), static_cast<char>(b)};
            ASSERT_EQ(font->Run(std::string_view(pair, 2), 0).pieces.size(), common ? 2u : 1u)
                << a << b;
        }
    }
    EXPECT_GT(overlapping, 0);
}

}  // namespace
}  // namespace zo::plat::test
