// Text on pixels: reference points and alignment, turned text, clipping, background modes,
// colours, lines and prefixes, and the soft failures of the drawing calls.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Gdi.h"
#include "platform/GdiInternal.h"
#include "platform/Text.h"
#include "platform/gdi_canvas.h"

namespace zo::plat {
namespace {

using test::Canvas;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

struct Ink {
    int left = 1 << 30;
    int top = 1 << 30;
    int right = -(1 << 30);  // exclusive
    int bottom = -(1 << 30);
    int count = 0;
    bool Empty() const { return count == 0; }
};

Ink InkOf(const Canvas& c, COLORREF background = kWhite) {
    Ink ink;
    for (int y = 0; y < c.Height(); ++y) {
        for (int x = 0; x < c.Width(); ++x) {
            if (c.Px(x, y) == background) continue;
            ++ink.count;
            ink.left = std::min(ink.left, x);
            ink.top = std::min(ink.top, y);
            ink.right = std::max(ink.right, x + 1);
            ink.bottom = std::max(ink.bottom, y + 1);
        }
    }
    return ink;
}

bool SamePixels(const Canvas& a, const Canvas& b) {
    return a.Bits().pixels == b.Bits().pixels;
}

// A canvas with a font selected, black text on a transparent background.
class TextCanvas : public Canvas {
public:
    TextCanvas(int width, int height, LONG lfHeight = -16, LONG escapement = 0,
               const char* face = "MS Sans Serif")
        : Canvas(width, height) {
        LOGFONTA lf;
        lf.lfHeight = lfHeight;
        lf.lfWeight = FW_NORMAL;
        lf.lfEscapement = lf.lfOrientation = escapement;
        std::strncpy(lf.lfFaceName, face, sizeof lf.lfFaceName - 1);
        Use(lf);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, kBlack);
    }
    ~TextCanvas() {
        SelectObject(dc, oldFont_);
        DeleteObject(font_);
    }
    void Use(const LOGFONTA& lf) {
        const HFONT next = CreateFontIndirectA(&lf);
        const HGDIOBJ old = SelectObject(dc, next);
        if (font_ != 0) {
            DeleteObject(font_);
        } else {
            oldFont_ = old;
        }
        font_ = next;
    }
    TEXTMETRICA Tm() const {
        TEXTMETRICA tm;
        EXPECT_TRUE(GetTextMetricsA(dc, &tm));
        return tm;
    }
    int Cx(const char* s) const {
        SIZE sz;
        EXPECT_TRUE(GetTextExtentPoint32A(dc, s, static_cast<int>(std::strlen(s)), &sz));
        return sz.cx;
    }
    void Out(int x, int y, const char* s) const {
        EXPECT_TRUE(TextOutA(dc, x, y, s, static_cast<int>(std::strlen(s))));
    }

private:
    HFONT font_ = 0;
    HGDIOBJ oldFont_ = 0;
};

// ---- Reference point and alignment ---------------------------------------------------------

TEST(TextDrawAlign, VerticalAlignmentPutsTheBaselineWhereItBelongs) {
    // "HIH" sits on the baseline; light hinting keeps its bottom edge on a pixel boundary.
    TextCanvas c(200, 120);
    const TEXTMETRICA tm = c.Tm();
    c.Out(20, 10, "HIH");
    Ink ink = InkOf(c);
    ASSERT_FALSE(ink.Empty());
    EXPECT_GE(ink.top, 10);
    EXPECT_EQ(ink.bottom, 10 + tm.tmAscent);
    EXPECT_GE(ink.left, 20);
    EXPECT_LE(ink.left, 22);
    EXPECT_LE(ink.right, 20 + c.Cx("HIH"));

    c.Fill(kWhite);
    SetTextAlign(c.dc, TA_BASELINE);
    c.Out(20, 60, "HIH");
    EXPECT_EQ(InkOf(c).bottom, 60);

    c.Fill(kWhite);
    SetTextAlign(c.dc, TA_BOTTOM);
    c.Out(20, 60, "HIH");
    EXPECT_EQ(InkOf(c).bottom, 60 - tm.tmDescent);
    EXPECT_GE(InkOf(c).top, 60 - tm.tmHeight);
}

TEST(TextDrawAlign, RightAndCentreAlignOnTheMeasuredWidth) {
    TextCanvas a(200, 40);
    TextCanvas b(200, 40);
    const int cx = a.Cx("Caption");
    SetTextAlign(a.dc, TA_RIGHT);
    a.Out(150, 5, "Caption");
    b.Out(150 - cx, 5, "Caption");
    EXPECT_TRUE(SamePixels(a, b));
    EXPECT_LE(InkOf(a).right, 150);

    a.Fill(kWhite);
    b.Fill(kWhite);
    SetTextAlign(a.dc, TA_CENTER);
    a.Out(100, 5, "Caption");
    b.Out(100 - cx / 2, 5, "Caption");
    EXPECT_TRUE(SamePixels(a, b));
}

TEST(TextDrawAlign, UpdateCpDrawsAtAndAdvancesTheCurrentPosition) {
    TextCanvas a(200, 40);
    TextCanvas b(200, 40);
    MoveToEx(a.dc, 5, 8, nullptr);
    SetTextAlign(a.dc, TA_UPDATECP);
    a.Out(999, 999, "Gro");
    a.Out(999, 999, "up");
    b.Out(5, 8, "Group");
    EXPECT_TRUE(SamePixels(a, b));
    POINT cp;
    GetCurrentPositionEx(a.dc, &cp);
    EXPECT_EQ(cp, (POINT{5 + b.Cx("Group"), 8}));
    // Right-aligned text ends at the current position and moves it back over the text.
    SetTextAlign(a.dc, TA_UPDATECP | TA_RIGHT);
    a.Out(0, 0, "up");
    GetCurrentPositionEx(a.dc, &cp);
    EXPECT_EQ(cp, (POINT{5 + b.Cx("Gro"), 8}));
}

TEST(TextDrawAlign, MeasuredAdvancesAreTheDrawnAdvances) {
    TextCanvas a(300, 40);
    TextCanvas b(300, 40);
    a.Out(3, 5, "Wave Typography");
    b.Out(3, 5, "W");
    b.Out(3 + b.Cx("W"), 5, "ave Ty");
    b.Out(3 + b.Cx("Wave Ty"), 5, "pography");
    EXPECT_TRUE(SamePixels(a, b));
}

TEST(TextDrawAlign, TheViewportOriginMovesTheText) {
    TextCanvas a(120, 80);
    TextCanvas b(120, 80);
    SetViewportOrgEx(a.dc, 30, 40, nullptr);
    a.Out(0, 0, "Abc");
    b.Out(30, 40, "Abc");
    EXPECT_TRUE(SamePixels(a, b));
}

// ---- Turned text -----------------------------------------------------------------------------

TEST(TextDrawTurned, QuarterTurnRunsUpwardFromTheReferencePoint) {
    TextCanvas c(80, 200, -11, 900);
    const TEXTMETRICA tm = c.Tm();
    const int cx = c.Cx("Group 1");
    c.Out(40, 150, "Group 1");
    const Ink all = InkOf(c);
    ASSERT_FALSE(all.Empty());
    // Columns x .. x + tmHeight - 1, rows y up to y - width + 1.
    EXPECT_GE(all.left, 40);
    EXPECT_LE(all.right, 40 + tm.tmHeight);
    EXPECT_LE(all.bottom, 151);
    EXPECT_GE(all.top, 150 - cx + 1);
    EXPECT_GT(all.bottom - all.top, all.right - all.left);
    // The first character is at the bottom: "G" alone covers the lowest rows of the string.
    c.Fill(kWhite);
    c.Out(40, 150, "G");
    const Ink g = InkOf(c);
    EXPECT_EQ(g.bottom, all.bottom);
    EXPECT_GT(g.top, all.top + 10);
}

TEST(TextDrawTurned, GlyphTopsFaceLeft) {
    // The bar of a "T" is its top: turned, it is the column with the most ink, at the left.
    TextCanvas c(60, 60, -24, 900);
    c.Out(10, 50, "T");
    const Ink ink = InkOf(c);
    int bestColumn = -1;
    int best = -1;
    for (int x = ink.left; x < ink.right; ++x) {
        const int n = ink.bottom - ink.top - c.Count(kWhite, x, ink.top, x + 1, ink.bottom);
        if (n > best) best = n, bestColumn = x;
    }
    EXPECT_LT(bestColumn - ink.left, (ink.right - ink.left) / 3);
}

TEST(TextDrawTurned, AlignmentAppliesInTheTurnedFrame) {
    TextCanvas c(80, 200, -11, 900);
    const TEXTMETRICA tm = c.Tm();
    SetTextAlign(c.dc, TA_BOTTOM);
    c.Out(40, 150, "Group");
    Ink ink = InkOf(c);
    EXPECT_GE(ink.left, 40 - tm.tmHeight);
    EXPECT_LE(ink.right, 40);
    // TA_RIGHT: the string runs up to y from below.
    c.Fill(kWhite);
    SetTextAlign(c.dc, TA_RIGHT);
    c.Out(40, 100, "Group");
    ink = InkOf(c);
    EXPECT_GT(ink.top, 100);
    EXPECT_LE(ink.bottom, 101 + c.Cx("Group"));
}

TEST(TextDrawTurned, HalfAndThreeQuarterTurns) {
    TextCanvas h(200, 80, -11, 1800);
    const TEXTMETRICA tm = h.Tm();
    const int cx = h.Cx("Group");
    h.Out(150, 50, "Group");
    Ink ink = InkOf(h);
    EXPECT_GT(ink.left, 150 - cx);
    EXPECT_LE(ink.right, 151);
    EXPECT_GT(ink.top, 50 - tm.tmHeight);
    EXPECT_LE(ink.bottom, 51);

    TextCanvas q(80, 200, -11, 2700);
    q.Out(40, 20, "Group");
    ink = InkOf(q);
    EXPECT_GT(ink.left, 40 - tm.tmHeight);
    EXPECT_LE(ink.right, 41);
    EXPECT_GE(ink.top, 20);
    EXPECT_LE(ink.bottom, 20 + cx);
}

TEST(TextDrawTurned, OtherAnglesRotateTheOutlines) {
    TextCanvas c(200, 200, -16, 450);
    const int cx = c.Cx("Diagonal");
    c.Out(40, 160, "Diagonal");
    const Ink ink = InkOf(c);
    ASSERT_FALSE(ink.Empty());
    // Up and to the right at 45 degrees: about cx / sqrt(2) each way.
    const int reach = static_cast<int>(cx / std::sqrt(2.0));
    EXPECT_NEAR(ink.right - 40, reach, 16);
    EXPECT_NEAR(160 - ink.top, reach, 16);
}

TEST(TextDrawTurned, AGroupHeaderCaptionStaysInsideItsRectangle) {
    // The control's turned header text: rectangle shrunk by 2 at top and bottom, centred
    // across, starting 2 px above the bottom, drawn with TextOutA and left-top alignment.
    TextCanvas c(60, 160, -11, 900);
    const RECT header{10, 10, 34, 150};
    RECT r{header.left, header.top + 2, header.right, header.bottom - 2};
    SIZE sz;
    ASSERT_TRUE(GetTextExtentPoint32A(c.dc, "Group 1", 7, &sz));
    const int x = static_cast<int>(std::nearbyint((r.right - r.left - sz.cy) / 2.0 + r.left));
    for (bool centre : {false, true}) {
        c.Fill(kWhite);
        const int y =
            centre ? static_cast<int>(std::nearbyint(r.bottom - (r.bottom - r.top - sz.cx) / 2.0))
                   : r.bottom - 2;
        c.Out(x, y, "Group 1");
        const Ink ink = InkOf(c);
        ASSERT_FALSE(ink.Empty());
        EXPECT_GE(ink.left, r.left);
        EXPECT_LE(ink.right, r.right);
        EXPECT_GE(ink.top, r.top);
        EXPECT_LE(ink.bottom, r.bottom);
    }
}

TEST(TextDrawTurned, DrawTextLaysTurnedTextOutInTheTurnedRectangle) {
    TextCanvas c(60, 200, -11, 900);
    const TEXTMETRICA tm = c.Tm();
    RECT r{10, 10, 40, 190};
    // Turned, the rectangle's 30-px width is the height the line is centred in.
    EXPECT_EQ(DrawTextA(c.dc, "Turned caption", -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER),
              30 / 2 - tm.tmHeight / 2 + tm.tmHeight);
    const Ink ink = InkOf(c);
    ASSERT_FALSE(ink.Empty());
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 40);
    EXPECT_GT(ink.bottom - ink.top, 3 * (ink.right - ink.left));
    // Centred along the rectangle's height.
    EXPECT_NEAR((ink.top + ink.bottom) / 2, 100, 3);
    RECT calc{10, 10, 40, 190};
    DrawTextA(c.dc, "Turned caption", -1, &calc, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(calc, (RECT{10, 190 - c.Cx("Turned caption"), 10 + tm.tmHeight, 190}));
}

// ---- Clipping --------------------------------------------------------------------------------

TEST(TextDrawClip, TheDcClipLimitsTextOut) {
    TextCanvas c(200, 40);
    IntersectClipRect(c.dc, 0, 0, 30, 40);
    c.Out(10, 5, "A long line of text");
    const Ink ink = InkOf(c);
    ASSERT_FALSE(ink.Empty());
    EXPECT_LE(ink.right, 30);
    EXPECT_GE(ink.left, 10);
}

TEST(TextDrawClip, DrawTextClipsToItsRectangleUnlessNoClip) {
    TextCanvas c(200, 60);
    RECT r{10, 10, 40, 30};
    DrawTextA(c.dc, "A long line of text", -1, &r, DT_SINGLELINE);
    Ink ink = InkOf(c);
    ASSERT_FALSE(ink.Empty());
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 40);
    EXPECT_GE(ink.top, 10);
    EXPECT_LE(ink.bottom, 30);
    c.Fill(kWhite);
    DrawTextA(c.dc, "A long line of text", -1, &r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(InkOf(c).right, 60);
    // Both clips at once: the DC's clip still holds with DT_NOCLIP.
    c.Fill(kWhite);
    IntersectClipRect(c.dc, 0, 0, 25, 60);
    DrawTextA(c.dc, "A long line of text", -1, &r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_LE(InkOf(c).right, 25);
}

TEST(TextDrawClip, ExtTextOutClipsAndFillsItsRectangle) {
    TextCanvas c(200, 40);
    const RECT r{20, 5, 50, 30};
    SetBkColor(c.dc, RGB(255, 0, 0));
    ASSERT_TRUE(
        ExtTextOutA(c.dc, 10, 8, ETO_CLIPPED | ETO_OPAQUE, &r, "Clipped text", 12, nullptr));
    const Ink ink = InkOf(c);
    EXPECT_EQ(ink.left, 20);
    EXPECT_EQ(ink.right, 50);
    EXPECT_EQ(ink.top, 5);
    EXPECT_EQ(ink.bottom, 30);
    EXPECT_GT(c.Count(RGB(255, 0, 0)), 0);
    EXPECT_LT(c.Count(RGB(255, 0, 0)), 30 * 25);  // the text is drawn over the fill
    // ETO_OPAQUE fills even with a transparent background mode, and without text.
    c.Fill(kWhite);
    ASSERT_TRUE(ExtTextOutA(c.dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr));
    EXPECT_EQ(c.Count(RGB(255, 0, 0)), 30 * 25);
}

// ---- Background, colour and lines ----------------------------------------------------------

TEST(TextDrawBackground, OpaqueFillsExactlyTheCellTransparentNothing) {
    TextCanvas c(120, 40);
    const TEXTMETRICA tm = c.Tm();
    const int cx = c.Cx("Hi there");
    SetBkColor(c.dc, RGB(255, 0, 0));
    SetBkMode(c.dc, OPAQUE);
    c.Out(10, 5, "Hi there");
    const Ink ink = InkOf(c);
    EXPECT_EQ(ink.left, 10);
    EXPECT_EQ(ink.top, 5);
    EXPECT_EQ(ink.right, 10 + cx);
    EXPECT_EQ(ink.bottom, 5 + tm.tmHeight);
    EXPECT_EQ(ink.count, cx * tm.tmHeight);
    EXPECT_EQ(c.Px(10 + cx - 1, 5), RGB(255, 0, 0));  // a corner with no glyph

    c.Fill(kWhite);
    SetBkMode(c.dc, TRANSPARENT);
    c.Out(10, 5, "Hi there");
    EXPECT_EQ(c.Count(RGB(255, 0, 0)), 0);
    EXPECT_GT(InkOf(c).count, 0);
}

TEST(TextDrawBackground, OpaqueDrawTextFillsEachLineBox) {
    TextCanvas c(120, 60);
    const TEXTMETRICA tm = c.Tm();
    SetBkColor(c.dc, RGB(0, 255, 0));
    SetBkMode(c.dc, OPAQUE);
    RECT r{0, 0, 120, 60};
    DrawTextA(c.dc, "ab\nabcd", -1, &r, DT_CENTER);
    const int w1 = c.Cx("ab");
    const int w2 = c.Cx("abcd");
    const int x1 = (120 - w1) / 2;
    const int x2 = (120 - w2) / 2;
    EXPECT_EQ(c.Count(kWhite, x1, 0, x1 + w1, tm.tmHeight), 0);
    EXPECT_EQ(c.Count(kWhite, x2, tm.tmHeight, x2 + w2, 2 * tm.tmHeight), 0);
    EXPECT_EQ(c.Px(x1 - 1, 0), kWhite);
    EXPECT_EQ(c.Px(x1 + w1, 0), kWhite);
    EXPECT_EQ(c.Count(kWhite, 0, 2 * tm.tmHeight, 120, 60), 120 * (60 - 2 * tm.tmHeight));
}

TEST(TextDrawBackground, CoverageBlendsTowardTheTextColour) {
    TextCanvas c(120, 40, -16);
    SetTextColor(c.dc, RGB(0, 0, 255));
    c.Out(5, 5, "Hello");
    int exact = 0;
    for (int y = 0; y < c.Height(); ++y) {
        for (int x = 0; x < c.Width(); ++x) {
            const COLORREF p = c.Px(x, y);
            if (p == kWhite) continue;
            // Between white and blue: blue stays full, red and green fall together.
            EXPECT_EQ(GetBValue(p), 255);
            EXPECT_EQ(GetRValue(p), GetGValue(p));
            exact += p == RGB(0, 0, 255);
        }
    }
    EXPECT_GT(exact, 10);
}

TEST(TextDrawBackground, OneBitTargetsTakeTheNearerOfBlackAndWhite) {
    Canvas c(100, 30, kWhite, 1);
    LOGFONTA lf = DefaultGuiLogFont();
    const HFONT f = CreateFontIndirectA(&lf);
    const HGDIOBJ old = SelectObject(c.dc, f);
    SetBkMode(c.dc, TRANSPARENT);
    SetTextColor(c.dc, RGB(20, 20, 20));
    ASSERT_TRUE(TextOutA(c.dc, 5, 5, "Mono", 4));
    const Ink ink = InkOf(c);
    EXPECT_GT(ink.count, 10);
    EXPECT_GE(ink.left, 5);
    EXPECT_GE(ink.top, 5);
    SelectObject(c.dc, old);
    DeleteObject(f);
}

int FullRowAt(const Canvas& c, int x0, int x1, int y0, int y1) {
    for (int y = y0; y < y1; ++y)
        if (c.Count(kBlack, x0, y, x1, y + 1) == x1 - x0) return y;
    return -1;
}

TEST(TextDrawLines, UnderlineBelowTheBaselineStrikeOutThroughTheMiddle) {
    LOGFONTA lf;
    lf.lfHeight = -16;
    std::strcpy(lf.lfFaceName, "MS Sans Serif");
    TextCanvas c(160, 40);
    const TEXTMETRICA tm = c.Tm();
    const int cx = c.Cx("Hi there");
    c.Out(10, 5, "Hi there");
    EXPECT_EQ(FullRowAt(c, 10, 10 + cx, 0, 40), -1);

    lf.lfUnderline = 1;
    c.Use(lf);
    c.Fill(kWhite);
    c.Out(10, 5, "Hi there");
    const int under = FullRowAt(c, 10, 10 + cx, 0, 40);
    EXPECT_GT(under, 5 + tm.tmAscent - 1);
    EXPECT_LT(under, 5 + tm.tmHeight);
    EXPECT_EQ(c.Count(kBlack, 10 + cx, under, 160, under + 1), 0);  // exactly the text's width

    lf.lfUnderline = 0;
    lf.lfStrikeOut = 1;
    c.Use(lf);
    c.Fill(kWhite);
    c.Out(10, 5, "Hi there");
    const int strike = FullRowAt(c, 10, 10 + cx, 0, 40);
    // About half the x-height above the baseline.
    EXPECT_GT(strike, 5 + tm.tmInternalLeading + (tm.tmAscent - tm.tmInternalLeading) / 3);
    EXPECT_LT(strike, 5 + tm.tmAscent - 2);
}

TEST(TextDrawLines, PrefixUnderlineSitsOneRowBelowTheBaseline) {
    TextCanvas c(160, 40);
    const TEXTMETRICA tm = c.Tm();
    RECT r{10, 5, 150, 35};
    DrawTextA(c.dc, "&Hi", -1, &r, DT_SINGLELINE);
    const int row = 5 + tm.tmAscent + 1;
    const int h = c.Cx("H");
    EXPECT_EQ(c.Count(kBlack, 10, row, 10 + h, row + 1), h);
    EXPECT_EQ(c.Count(kWhite, 0, row, 10, row + 1), 10);
    EXPECT_EQ(c.Count(kWhite, 10 + h, row, 160, row + 1), 150 - h);
    // With DT_NOPREFIX the ampersand is shown and nothing is underlined.
    c.Fill(kWhite);
    DrawTextA(c.dc, "&Hi", -1, &r, DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_LT(c.Count(kBlack, 10, row, 10 + h, row + 1), h);
    EXPECT_GT(InkOf(c).right, 10 + c.Cx("Hi"));
}

// ---- DrawTextA as a call ---------------------------------------------------------------------

TEST(TextDrawText, ReturnsHeightsAndCalcRectDrawsNothing) {
    TextCanvas c(200, 100);
    const TEXTMETRICA tm = c.Tm();
    RECT r{10, 10, 190, 90};
    EXPECT_EQ(DrawTextA(c.dc, "Hello", -1, &r, DT_SINGLELINE), tm.tmHeight);
    EXPECT_EQ(DrawTextA(c.dc, "one\ntwo\nthree", -1, &r, 0), 3 * tm.tmHeight);
    EXPECT_EQ(DrawTextA(c.dc, "", -1, &r, 0), tm.tmHeight);
    c.Fill(kWhite);
    RECT calc{10, 10, 190, 90};
    EXPECT_EQ(DrawTextA(c.dc, "Hello world", -1, &calc, DT_SINGLELINE | DT_CALCRECT), tm.tmHeight);
    EXPECT_EQ(calc, (RECT{10, 10, 10 + c.Cx("Hello world"), 10 + tm.tmHeight}));
    EXPECT_TRUE(InkOf(c).Empty());
}

TEST(TextDrawText, CountLimitsTheTextAndBadArgumentsFail) {
    TextCanvas a(200, 40);
    TextCanvas b(200, 40);
    RECT r{0, 0, 200, 40};
    DrawTextA(a.dc, "Hello world", 5, &r, DT_SINGLELINE);
    DrawTextA(b.dc, "Hello", -1, &r, DT_SINGLELINE);
    EXPECT_TRUE(SamePixels(a, b));
    EXPECT_EQ(DrawTextA(a.dc, "Hello", 0, &r, 0), 0);
    EXPECT_EQ(DrawTextA(a.dc, "Hello", -2, &r, 0), 0);
    EXPECT_EQ(DrawTextA(a.dc, static_cast<const char*>(nullptr), -1, &r, 0), 0);
    EXPECT_EQ(DrawTextA(a.dc, "Hello", -1, nullptr, 0), 0);
    EXPECT_EQ(DrawTextA(0, "Hello", -1, &r, 0), 0);
    EXPECT_FALSE(TextOutA(0, 0, 0, "x", 1));
    EXPECT_FALSE(TextOutA(a.dc, 0, 0, "x", -1));
    EXPECT_FALSE(TextOutA(a.dc, 0, 0, nullptr, 1));
    EXPECT_TRUE(TextOutA(a.dc, 0, 0, nullptr, 0));
    const HDC gone = CreateCompatibleDC(0);
    DeleteDC(gone);
    EXPECT_EQ(DrawTextA(gone, "Hello", -1, &r, 0), 0);
    EXPECT_FALSE(ExtTextOutA(gone, 0, 0, 0, nullptr, "x", 1, nullptr));
}

TEST(TextDrawText, LeavesTheDcStateAsItWas) {
    TextCanvas c(200, 60);
    SetTextAlign(c.dc, TA_UPDATECP | TA_BASELINE);
    MoveToEx(c.dc, 7, 9, nullptr);
    SetTextColor(c.dc, RGB(1, 2, 3));
    RECT r{0, 0, 200, 60};
    DrawTextA(c.dc, "Some words here", -1, &r, DT_WORDBREAK | DT_CENTER);
    POINT cp;
    GetCurrentPositionEx(c.dc, &cp);
    EXPECT_EQ(cp, (POINT{7, 9}));
    EXPECT_EQ(GetTextAlign(c.dc), TA_UPDATECP | TA_BASELINE);
    EXPECT_EQ(GetTextColor(c.dc), RGB(1, 2, 3));
    // The DC's alignment does not move DrawTextA's text: it starts at the rectangle's top.
    EXPECT_GE(InkOf(c).top, 0);
    EXPECT_LT(InkOf(c).top, 6);
}

TEST(TextDrawText, ModifyStringReturnsTheShortenedText) {
    TextCanvas c(200, 40);
    std::string text = "A caption far too long for its box";
    RECT r{0, 0, 60, 20};
    DrawTextA(c.dc, text, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
    ASSERT_GT(text.size(), 3u);
    EXPECT_EQ(text.substr(text.size() - 3), "...");
    EXPECT_LE(c.Cx(text.c_str()), 60);
    EXPECT_EQ(text.substr(0, text.size() - 3), std::string("A caption").substr(0, text.size() - 3));
    // The read-only overload leaves its text alone by construction; this one changes only
    // when asked.
    std::string kept = "A caption far too long for its box";
    DrawTextA(c.dc, kept, &r, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_EQ(kept, "A caption far too long for its box");
}

}  // namespace
}  // namespace zo::plat
