// Fonts: which face a LOGFONT lands on, the height rules, the metrics and the measured
// advances. The exact cells and advances are those of DejaVu Sans (the face the text reference
// images were drawn with), worked out from its tables as winAscent, winDescent, xAvgCharWidth
// and the glyphs' advances scaled to the em and rounded.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "platform/Gdi.h"
#include "platform/GdiInternal.h"
#include "platform/Text.h"
#include "platform/text/FontEngine.h"
#include "text_support.h"

namespace zo::plat::test {
namespace {

// Measuring needs no more than one pixel to draw on.
TextCanvas Font(const LOGFONTA& lf) {
    return TextCanvas(1, 1, lf);
}

LOGFONTA Sans(LONG height, LONG weight = FW_NORMAL, BYTE italic = 0) {
    return Lf("MS Sans Serif", height, weight, italic);
}

TEST(TextFont, NegativeHeightIsTheEmPositiveTheCell) {
    // A face whose cell is 1.25 em: ascent 2048, descent 512 of 2048 units.
    // {lfHeight, em}: a cell of 21 would be 17 + 4.25, of 22 with 18 em 18 + 5 (4.5); 0 is the
    // 16-px default cell.
    constexpr int kMax = text::kMaxEm;
    const int ems[][2] = {{-11, 11}, {20, 16}, {21, 17},        {22, 17},
                          {0, 13},   {1, 1},   {INT_MIN, kMax}, {INT_MAX, kMax}};
    for (const auto& [height, em] : ems)
        EXPECT_EQ(text::EmPixelsFor(height, 2560, 2048, 2048), em) << height;
    for (LONG h : {-8, -11, -13, -16, -24}) {
        const TEXTMETRICA tm = Font(Sans(h)).Tm();
        EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, -h);
        EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    }
    for (LONG h : {12, 16, 20, 33}) {
        const TEXTMETRICA tm = Font(Sans(h)).Tm();
        EXPECT_LE(tm.tmHeight, h);
        EXPECT_GE(tm.tmHeight, h - 2);
    }
    EXPECT_EQ(Font(Sans(0)).Tm().tmHeight, Font(Sans(16)).Tm().tmHeight);
    // Absurd heights are bounded.
    const TEXTMETRICA huge = Font(Sans(INT_MIN)).Tm();
    EXPECT_GT(huge.tmHeight, 0);
    EXPECT_LE(huge.tmHeight - huge.tmInternalLeading, text::kMaxEm);
    EXPECT_LE(Font(Sans(2000000000)).Tm().tmHeight, 2 * text::kMaxEm);
}

TEST(TextFont, MeasuringFailsSoftlyAndCopiesNamesWithinBounds) {
    const TextCanvas f(1, 1, Sans(-11));
    SIZE sz{5, 5};
    EXPECT_TRUE(GetTextExtentPoint32A(f.dc, "", 0, &sz));
    EXPECT_EQ(sz.cx, 0);
    EXPECT_EQ(sz.cy, 0);
    EXPECT_TRUE(GetTextExtentPoint32A(f.dc, nullptr, 0, &sz));
    EXPECT_FALSE(GetTextExtentPoint32A(f.dc, "abc", -1, &sz));
    EXPECT_FALSE(GetTextExtentPoint32A(f.dc, nullptr, 3, &sz));
    EXPECT_FALSE(GetTextExtentPoint32A(f.dc, "abc", 3, nullptr));
    EXPECT_FALSE(GetTextExtentPoint32A(0, "abc", 3, &sz));
    const HDC gone = CreateCompatibleDC(0);
    DeleteDC(gone);
    EXPECT_FALSE(GetTextExtentPoint32A(gone, "abc", 3, &sz));
    TEXTMETRICA tm;
    EXPECT_FALSE(GetTextMetricsA(gone, &tm));
    EXPECT_FALSE(GetTextMetricsA(f.dc, nullptr));
    EXPECT_EQ(GetTextFaceA(gone, 10, nullptr), 0);
    // Face name copies are bounded and terminated.
    const std::string face = f.Face();
    ASSERT_GT(face.size(), 3u);
    EXPECT_EQ(GetTextFaceA(f.dc, 0, nullptr), static_cast<int>(face.size()) + 1);
    char small[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(GetTextFaceA(f.dc, 3, small), 3);
    EXPECT_EQ(std::string(small), face.substr(0, 2));
    EXPECT_EQ(small[3], 'x');
    EXPECT_EQ(GetTextFaceA(f.dc, 0, small), 0);
    // A DC without an application font measures with the default one.
    const Canvas bare(1, 1);
    ASSERT_TRUE(GetTextMetricsA(bare.dc, &tm));
    EXPECT_GT(tm.tmHeight, 0);
    EXPECT_TRUE(GetTextExtentPoint32A(bare.dc, "Ag", 2, &sz));
    EXPECT_GT(sz.cx, 0);
}

}  // namespace
}  // namespace zo::plat::test
