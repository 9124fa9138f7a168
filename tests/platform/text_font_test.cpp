// Fonts: which face a LOGFONT lands on, the height rules, the metrics and the measured
// advances. The exact cells and advances are those of DejaVu Sans (the face the text reference
// images were drawn with), worked out from its tables as winAscent, winDescent, xAvgCharWidth
// and the glyphs' advances scaled to the em and rounded.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <fstream>
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

TEST(TextFont, FacesAreFoundByNameWeightAndSlant) {
    const text::FaceMatch m = text::MatchFace(Sans(-11));
    ASSERT_FALSE(m.file.empty());
    EXPECT_TRUE(std::ifstream(m.file).good());
    EXPECT_NE(m.family.find("Sans"), std::string::npos) << m.family;
    EXPECT_EQ(m.family.find("Mono"), std::string::npos) << m.family;
    EXPECT_EQ(Font(Sans(-11)).Face(), m.family);
    const struct {
        const char* name;
        LOGFONTA lf;
        bool sameFace;
    } rows[] = {
        {"an unknown name falls back to the sans face", Lf("No Such Face 4711", -11), true},
        {"the default GUI font", DefaultGuiLogFont(), true},
        {"names ignore case", Lf("ms sans serif", -11), true},
        {"bold starts at 600", Sans(-11, 599), true},
        {"semibold", Sans(-11, FW_SEMIBOLD), false},
        {"italic", Sans(-11, FW_NORMAL, 1), false},
    };
    for (const auto& row : rows) {
        const text::FaceMatch match = text::MatchFace(row.lf);
        EXPECT_EQ(match.file == m.file, row.sameFace) << row.name;
        EXPECT_FALSE(match.syntheticBold || match.syntheticItalic) << row.name;
    }
    // Names are read within their 32 bytes, and Windows-1252 ones reach fontconfig as UTF-8.
    LOGFONTA unterminated = Sans(-12);
    std::memset(unterminated.lfFaceName, 'Q', sizeof unterminated.lfFaceName);
    EXPECT_GT(Font(unterminated).Tm().tmHeight, 0);
    EXPECT_GT(Font(Lf("Caf\xE9 Sans", -12)).Tm().tmHeight, 0);
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

TEST(TextFont, TheCellAndAdvancesComeFromTheFontFile) {
    // Windows-1252 bytes, among them 0x80 (the euro sign), 0xE9 (e acute) and 0x97 (em dash).
    const std::string text = "Hello, World! \x80 caf\xE9 \x97 Wij";
    const int rows[][5] = {{8, 7, 2, 4, 106},   {11, 10, 3, 6, 142},  {13, 12, 3, 7, 171},
                           {16, 15, 4, 8, 208}, {27, 25, 6, 14, 361}, {40, 37, 9, 20, 524}};
    // Extents add up, ignore the escapement and grow with the font.
    const TextCanvas f(1, 1, Sans(-11)), turned(1, 1, Lf("MS Sans Serif", -11, FW_NORMAL, 0, 900));
    EXPECT_EQ(f.Extent("Group 1").cx, f.Extent("Group").cx + f.Extent(" 1").cx);
    EXPECT_EQ(turned.Extent("Group 1").cx, f.Extent("Group 1").cx);
    EXPECT_EQ(turned.Extent("Ag").cy, f.Extent("Ag").cy);
    EXPECT_GT(Font(Sans(-22)).Extent("Group 1").cx, f.Extent("Group 1").cx * 3 / 2);
    if (Font(Sans(-11)).Face() != "DejaVu Sans") GTEST_SKIP() << "the figures are DejaVu Sans's";
    for (const auto& [em, ascent, descent, average, width] : rows) {
        const TextCanvas g(1, 1, Sans(-em));
        const TEXTMETRICA tm = g.Tm();
        EXPECT_EQ(tm.tmAscent, ascent) << em;
        EXPECT_EQ(tm.tmDescent, descent) << em;
        EXPECT_EQ(tm.tmAveCharWidth, average) << em;
        EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
        const SIZE sz = g.Extent(text);
        EXPECT_EQ(sz.cx, width) << em;
        EXPECT_EQ(sz.cy, tm.tmHeight);
    }
}

TEST(TextFont, MetricsReportTheLogfontsFlags) {
    LOGFONTA lf = Sans(-13, FW_BOLD, 1);
    lf.lfUnderline = 1;
    lf.lfStrikeOut = 1;
    lf.lfCharSet = 2;
    const TEXTMETRICA tm = Font(lf).Tm();
    EXPECT_EQ(tm.tmWeight, FW_BOLD);
    EXPECT_NE(tm.tmItalic, 0);
    EXPECT_NE(tm.tmUnderlined, 0);
    EXPECT_NE(tm.tmStruckOut, 0);
    EXPECT_EQ(tm.tmCharSet, 2);
    EXPECT_LT(tm.tmFirstChar, tm.tmLastChar);
    EXPECT_EQ(tm.tmBreakChar, ' ');
    EXPECT_NE(tm.tmPitchAndFamily & TMPF_TRUETYPE, 0);
    const TEXTMETRICA plain = Font(Sans(-13, 0)).Tm();
    EXPECT_EQ(plain.tmWeight, FW_NORMAL);
    EXPECT_EQ(plain.tmItalic, 0);
    // The default GUI font is 8-point MS Sans Serif.
    const LOGFONTA gui = DefaultGuiLogFont();
    EXPECT_STREQ(gui.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(gui.lfHeight, -11);
    EXPECT_EQ(gui.lfWeight, FW_NORMAL);
    EXPECT_EQ(gui.lfEscapement, 0);
    const TEXTMETRICA guiTm = Font(gui).Tm();
    EXPECT_EQ(guiTm.tmHeight - guiTm.tmInternalLeading, 11);
}

TEST(TextFont, FontsWithTheSameFaceAndSizeShareOneRealisation) {
    const TextCanvas a(1, 1, Sans(-11)), b(1, 1, Lf("Ms Sans Serif", -11)), c(1, 1, Sans(-12));
    const auto realized = [](const TextCanvas& f) {
        f.Cx("x");
        return GetGdi(GetCurrentObject(f.dc, OBJ_FONT), GdiKind::Font)->font.realized;
    };
    EXPECT_NE(realized(a), nullptr);
    EXPECT_EQ(realized(a), realized(b));
    EXPECT_NE(realized(c), realized(a));
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
