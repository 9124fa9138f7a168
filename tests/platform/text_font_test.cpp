// Fonts: which face a LOGFONT lands on, the height rules, the metrics and the measured
// advances. Expected values come from the font file itself, read here with a small sfnt
// reader that shares nothing with the engine (FreeType is the engine's own path).
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/Gdi.h"
#include "platform/GdiInternal.h"
#include "platform/Text.h"
#include "platform/text/FontEngine.h"

namespace zo::plat {
namespace {

// ---- An independent reader of the tables that define advances and the cell ----------------

class SfntFile {
public:
    explicit SfntFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        data_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        ok_ = data_.size() > 12;
        if (!ok_) return;
        const std::size_t head = Table("head");
        const std::size_t hhea = Table("hhea");
        const std::size_t os2 = Table("OS/2");
        hmtx_ = Table("hmtx");
        cmap_ = Table("cmap");
        ok_ = head && hhea && os2 && hmtx_ && cmap_;
        if (!ok_) return;
        unitsPerEm = U16(head + 18);
        numHMetrics_ = U16(hhea + 34);
        xAvgCharWidth = S16(os2 + 2);
        winAscent = U16(os2 + 74);
        winDescent = U16(os2 + 76);
        // The (3, 1) Unicode BMP subtable, format 4.
        const std::size_t count = U16(cmap_ + 2);
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t rec = cmap_ + 4 + 8 * i;
            if (U16(rec) == 3 && U16(rec + 2) == 1 && U16(cmap_ + U32(rec + 4)) == 4)
                format4_ = cmap_ + U32(rec + 4);
        }
        ok_ = format4_ != 0;
    }

    bool ok() const { return ok_; }

    unsigned GlyphOf(char32_t c) const {
        const std::size_t segX2 = U16(format4_ + 6);
        const std::size_t ends = format4_ + 14;
        const std::size_t starts = ends + segX2 + 2;
        const std::size_t deltas = starts + segX2;
        const std::size_t offsets = deltas + segX2;
        for (std::size_t s = 0; s < segX2; s += 2) {
            if (U16(ends + s) < c) continue;
            const unsigned start = U16(starts + s);
            if (start > c) return 0;
            const unsigned delta = U16(deltas + s);
            const unsigned ro = U16(offsets + s);
            if (ro == 0) return (c + delta) & 0xFFFF;
            const unsigned g = U16(offsets + s + ro + 2 * (c - start));
            return g == 0 ? 0 : (g + delta) & 0xFFFF;
        }
        return 0;
    }

    int AdvanceOf(unsigned glyph) const {
        const unsigned i = glyph < numHMetrics_ ? glyph : numHMetrics_ - 1;
        return U16(hmtx_ + 4 * i);
    }

    int unitsPerEm = 0;
    int winAscent = 0;
    int winDescent = 0;
    int xAvgCharWidth = 0;

private:
    std::size_t Table(const char* tag) const {
        const std::size_t n = U16(4);
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t rec = 12 + 16 * i;
            if (std::memcmp(data_.data() + rec, tag, 4) == 0) return U32(rec + 8);
        }
        return 0;
    }
    unsigned U16(std::size_t at) const {
        if (at + 2 > data_.size()) return 0;
        return (static_cast<unsigned char>(data_[at]) << 8) |
               static_cast<unsigned char>(data_[at + 1]);
    }
    int S16(std::size_t at) const { return static_cast<std::int16_t>(U16(at)); }
    std::size_t U32(std::size_t at) const { return (std::size_t{U16(at)} << 16) | U16(at + 2); }

    std::vector<char> data_;
    bool ok_ = false;
    std::size_t hmtx_ = 0;
    std::size_t cmap_ = 0;
    std::size_t format4_ = 0;
    unsigned numHMetrics_ = 1;
};

int Scaled(int units, int em, int upem) {
    return (2 * units * em + upem) / (2 * upem);
}

LOGFONTA Lf(const char* face, LONG height, LONG weight = FW_NORMAL, BYTE italic = 0) {
    LOGFONTA lf;
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    std::strncpy(lf.lfFaceName, face, sizeof lf.lfFaceName - 1);
    return lf;
}

// A memory DC with a font selected; measuring needs no bitmap.
class FontDc {
public:
    explicit FontDc(const LOGFONTA& lf) {
        dc = CreateCompatibleDC(0);
        font = CreateFontIndirectA(&lf);
        previous = SelectObject(dc, font);
    }
    ~FontDc() {
        SelectObject(dc, previous);
        DeleteObject(font);
        DeleteDC(dc);
    }
    FontDc(const FontDc&) = delete;
    FontDc& operator=(const FontDc&) = delete;

    TEXTMETRICA Metrics() const {
        TEXTMETRICA tm;
        EXPECT_TRUE(GetTextMetricsA(dc, &tm));
        return tm;
    }
    SIZE Extent(std::string_view s) const {
        SIZE sz{-1, -1};
        EXPECT_TRUE(GetTextExtentPoint32A(dc, s.data(), static_cast<int>(s.size()), &sz));
        return sz;
    }
    std::string Face() const {
        char name[64] = {};
        EXPECT_GT(GetTextFaceA(dc, sizeof name, name), 0);
        return name;
    }

    HDC dc = 0;
    HFONT font = 0;
    HGDIOBJ previous = 0;
};

// ---- Face lookup -----------------------------------------------------------------------------

TEST(TextFontMatch, TheHostDefaultFaceLandsOnAnInstalledSansFace) {
    const text::FaceMatch m = text::MatchFace(Lf("MS Sans Serif", -11));
    ASSERT_FALSE(m.file.empty());
    EXPECT_TRUE(std::ifstream(m.file).good());
    EXPECT_NE(m.family.find("Sans"), std::string::npos) << m.family;
    EXPECT_EQ(m.family.find("Mono"), std::string::npos) << m.family;
    EXPECT_FALSE(m.syntheticBold);
    FontDc f(Lf("MS Sans Serif", -11));
    EXPECT_EQ(f.Face(), m.family);
    // An unknown name falls back to the same sans face.
    EXPECT_EQ(text::MatchFace(Lf("No Such Face 4711", -11)).file, m.file);
    EXPECT_EQ(text::MatchFace(DefaultGuiLogFont()).file, m.file);
}

TEST(TextFontMatch, WeightAndItalicPickTheFaceThatHasThem) {
    const text::FaceMatch regular = text::MatchFace(Lf("MS Sans Serif", -11));
    const text::FaceMatch semibold = text::MatchFace(Lf("MS Sans Serif", -11, FW_SEMIBOLD));
    const text::FaceMatch medium = text::MatchFace(Lf("MS Sans Serif", -11, 599));
    const text::FaceMatch italic = text::MatchFace(Lf("MS Sans Serif", -11, FW_NORMAL, 1));
    EXPECT_NE(semibold.file, regular.file);
    EXPECT_EQ(medium.file, regular.file);  // bold starts at 600
    EXPECT_NE(italic.file, regular.file);
    EXPECT_FALSE(semibold.syntheticBold);
    EXPECT_FALSE(italic.syntheticItalic);
    EXPECT_EQ(text::MatchFace(Lf("ms sans serif", -11)).file, regular.file);
}

TEST(TextFontMatch, FaceNamesAreReadWithinTheirThirtyTwoBytes) {
    LOGFONTA lf;
    lf.lfHeight = -12;
    std::memset(lf.lfFaceName, 'Q', sizeof lf.lfFaceName);  // no terminating NUL
    FontDc f(lf);
    EXPECT_GT(f.Metrics().tmHeight, 0);
    // Windows-1252 names reach fontconfig as UTF-8 and still find a face.
    FontDc g(Lf("Caf\xE9 Sans", -12));
    EXPECT_GT(g.Metrics().tmHeight, 0);
}

// ---- Height rules and metrics --------------------------------------------------------------

TEST(TextFontHeight, EmPixelsFollowTheSignOfTheHeight) {
    // A face whose cell is 1.25 em: ascent 2048, descent 512 of 2048 units.
    EXPECT_EQ(text::EmPixelsFor(-11, 2560, 2048, 2048), 11);
    EXPECT_EQ(text::EmPixelsFor(20, 2560, 2048, 2048), 16);  // cell 20 = 16 + 4
    EXPECT_EQ(text::EmPixelsFor(21, 2560, 2048, 2048), 17);  // 17 + 4.25
    EXPECT_EQ(text::EmPixelsFor(22, 2560, 2048, 2048), 17);  // 18 would make 18 + 5 (4.5)
    EXPECT_EQ(text::EmPixelsFor(0, 2560, 2048, 2048), 13);   // the 16-px default cell
    EXPECT_EQ(text::EmPixelsFor(INT_MIN, 2560, 2048, 2048), text::kMaxEm);
    EXPECT_EQ(text::EmPixelsFor(INT_MAX, 2560, 2048, 2048), text::kMaxEm);
    EXPECT_EQ(text::EmPixelsFor(1, 2560, 2048, 2048), 1);
}

TEST(TextFontHeight, NegativeHeightIsTheEmPositiveTheCell) {
    for (LONG h : {-8, -11, -13, -16, -24}) {
        FontDc f(Lf("MS Sans Serif", h));
        const TEXTMETRICA tm = f.Metrics();
        EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, -h);
        EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    }
    for (LONG h : {12, 16, 20, 33}) {
        FontDc f(Lf("MS Sans Serif", h));
        const TEXTMETRICA tm = f.Metrics();
        EXPECT_LE(tm.tmHeight, h);
        EXPECT_GE(tm.tmHeight, h - 2);
    }
    FontDc zero(Lf("MS Sans Serif", 0));
    FontDc sixteen(Lf("MS Sans Serif", 16));
    EXPECT_EQ(zero.Metrics().tmHeight, sixteen.Metrics().tmHeight);
}

TEST(TextFontHeight, TheCellComesFromTheFacesWindowsAscentAndDescent) {
    const text::FaceMatch m = text::MatchFace(Lf("MS Sans Serif", -11));
    SfntFile file(m.file);
    ASSERT_TRUE(file.ok()) << m.file;
    for (int em : {8, 11, 13, 16, 40}) {
        FontDc f(Lf("MS Sans Serif", -em));
        const TEXTMETRICA tm = f.Metrics();
        EXPECT_EQ(tm.tmAscent, Scaled(file.winAscent, em, file.unitsPerEm)) << em;
        EXPECT_EQ(tm.tmDescent, Scaled(file.winDescent, em, file.unitsPerEm)) << em;
        EXPECT_EQ(tm.tmAveCharWidth, Scaled(file.xAvgCharWidth, em, file.unitsPerEm)) << em;
        EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
    }
}

TEST(TextFontHeight, AbsurdHeightsAreBounded) {
    FontDc huge(Lf("MS Sans Serif", INT_MIN));
    const TEXTMETRICA tm = huge.Metrics();
    EXPECT_GT(tm.tmHeight, 0);
    EXPECT_LE(tm.tmHeight - tm.tmInternalLeading, text::kMaxEm);
    FontDc big(Lf("MS Sans Serif", 2000000000));
    EXPECT_LE(big.Metrics().tmHeight, 2 * text::kMaxEm);
}

TEST(TextFontMetrics, LogfontFlagsAreReported) {
    LOGFONTA lf = Lf("MS Sans Serif", -13, FW_BOLD, 1);
    lf.lfUnderline = 1;
    lf.lfStrikeOut = 1;
    lf.lfCharSet = 2;
    FontDc f(lf);
    const TEXTMETRICA tm = f.Metrics();
    EXPECT_EQ(tm.tmWeight, FW_BOLD);
    EXPECT_NE(tm.tmItalic, 0);
    EXPECT_NE(tm.tmUnderlined, 0);
    EXPECT_NE(tm.tmStruckOut, 0);
    EXPECT_EQ(tm.tmCharSet, 2);
    EXPECT_EQ(tm.tmFirstChar < tm.tmLastChar, true);
    EXPECT_EQ(tm.tmBreakChar, ' ');
    EXPECT_NE(tm.tmPitchAndFamily & TMPF_TRUETYPE, 0);
    FontDc plain(Lf("MS Sans Serif", -13, 0));
    EXPECT_EQ(plain.Metrics().tmWeight, FW_NORMAL);
    EXPECT_EQ(plain.Metrics().tmItalic, 0);
}

TEST(TextFontMetrics, TheDefaultGuiFontIsEightPointMsSansSerif) {
    const LOGFONTA lf = DefaultGuiLogFont();
    EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(lf.lfHeight, -11);
    EXPECT_EQ(lf.lfWeight, FW_NORMAL);
    EXPECT_EQ(lf.lfEscapement, 0);
    FontDc f(lf);
    EXPECT_EQ(f.Metrics().tmHeight - f.Metrics().tmInternalLeading, 11);
}

// ---- Measuring -----------------------------------------------------------------------------

TEST(TextFontMeasure, ExtentIsTheSumOfTheFontsOwnAdvances) {
    const text::FaceMatch m = text::MatchFace(Lf("MS Sans Serif", -11));
    SfntFile file(m.file);
    ASSERT_TRUE(file.ok());
    // Windows-1252 bytes, among them 0x80 (the euro sign), 0xE9 (e acute) and 0x97 (em dash).
    const std::string text = "Hello, World! \x80 caf\xE9 \x97 Wij";
    for (int em : {11, 13, 16, 27}) {
        FontDc f(Lf("MS Sans Serif", -em));
        int expected = 0;
        for (char c : text) {
            const unsigned g = file.GlyphOf(UnicodeOfAnsi(static_cast<unsigned char>(c)));
            ASSERT_NE(g, 0u) << "no glyph for " << static_cast<int>(static_cast<unsigned char>(c));
            expected += Scaled(file.AdvanceOf(g), em, file.unitsPerEm);
        }
        const SIZE sz = f.Extent(text);
        EXPECT_EQ(sz.cx, expected) << em;
        EXPECT_EQ(sz.cy, f.Metrics().tmHeight);
    }
}

TEST(TextFontMeasure, ExtentAddsUpAndIgnoresTheEscapement) {
    FontDc f(Lf("MS Sans Serif", -11));
    EXPECT_EQ(f.Extent("Group 1").cx, f.Extent("Group").cx + f.Extent(" 1").cx);
    LOGFONTA turned = Lf("MS Sans Serif", -11);
    turned.lfEscapement = turned.lfOrientation = 900;
    FontDc t(turned);
    EXPECT_EQ(t.Extent("Group 1").cx, f.Extent("Group 1").cx);
    EXPECT_EQ(t.Extent("Ag").cy, f.Extent("Ag").cy);
    // Bigger fonts measure wider.
    FontDc big(Lf("MS Sans Serif", -22));
    EXPECT_GT(big.Extent("Group 1").cx, f.Extent("Group 1").cx * 3 / 2);
}

TEST(TextFontMeasure, EmptyAndBadArgumentsFailSoftly) {
    FontDc f(Lf("MS Sans Serif", -11));
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
}

TEST(TextFontMeasure, FaceNameCopiesAreBoundedAndTerminated) {
    FontDc f(Lf("MS Sans Serif", -11));
    const std::string face = f.Face();
    ASSERT_GT(face.size(), 3u);
    EXPECT_EQ(GetTextFaceA(f.dc, 0, nullptr), static_cast<int>(face.size()) + 1);
    char small[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(GetTextFaceA(f.dc, 3, small), 3);
    EXPECT_EQ(std::string(small), face.substr(0, 2));
    EXPECT_EQ(small[3], 'x');
    EXPECT_EQ(GetTextFaceA(f.dc, 0, small), 0);
}

TEST(TextFontMeasure, FontsWithTheSameFaceAndSizeShareOneRealisation) {
    FontDc a(Lf("MS Sans Serif", -11));
    FontDc b(Lf("Ms Sans Serif", -11));
    a.Extent("x");
    b.Extent("x");
    GdiObject* fa = GetGdi(a.font, GdiKind::Font);
    GdiObject* fb = GetGdi(b.font, GdiKind::Font);
    ASSERT_TRUE(fa && fb);
    EXPECT_NE(fa->font.realized, nullptr);
    EXPECT_EQ(fa->font.realized, fb->font.realized);
    FontDc c(Lf("MS Sans Serif", -12));
    c.Extent("x");
    EXPECT_NE(GetGdi(c.font, GdiKind::Font)->font.realized, fa->font.realized);
}

TEST(TextFontMeasure, ADcWithoutAnApplicationFontStillMeasures) {
    const HDC dc = CreateCompatibleDC(0);
    TEXTMETRICA tm;
    ASSERT_TRUE(GetTextMetricsA(dc, &tm));
    EXPECT_GT(tm.tmHeight, 0);
    SIZE sz;
    EXPECT_TRUE(GetTextExtentPoint32A(dc, "Ag", 2, &sz));
    EXPECT_GT(sz.cx, 0);
    DeleteDC(dc);
}

}  // namespace
}  // namespace zo::plat
