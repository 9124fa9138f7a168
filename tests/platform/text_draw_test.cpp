// Text on pixels: reference points and alignment, turned text, clipping, background modes,
// DrawTextA's lines and cuts with a real font, and the soft failures of the drawing calls. A
// layout is checked by drawing the expected lines explicitly and comparing every pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/Gdi.h"
#include "platform/Text.h"
#include "text_support.h"

namespace zo::plat::test {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

LOGFONTA Turned(LONG escapement, LONG height = -11) {
    return Lf("MS Sans Serif", height, FW_NORMAL, 0, escapement);
}

// Whether the ink lies inside [left, right) x [top, bottom).
::testing::AssertionResult Inside(const Ink& ink, int left, int top, int right, int bottom) {
    if (ink.count > 0 && ink.left >= left && ink.top >= top && ink.right <= right &&
        ink.bottom <= bottom)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << ink.count << " pixels in " << ink.left << "," << ink.top
                                         << " - " << ink.right << "," << ink.bottom;
}

TEST(TextDrawAlign, VerticalAlignmentPutsTheBaselineWhereItBelongs) {
    // "HIH" sits on the baseline; light hinting keeps its bottom edge on a pixel boundary.
    TextCanvas c(200, 120);
    const TEXTMETRICA tm = c.Tm();
    Ink ink = c.Inked(20, 10, "HIH");
    EXPECT_TRUE(Inside(ink, 20, 10, 20 + c.Cx("HIH"), 10 + tm.tmAscent));
    EXPECT_EQ(ink.bottom, 10 + tm.tmAscent);
    EXPECT_LE(ink.left, 22);
    SetTextAlign(c.dc, TA_BASELINE);
    EXPECT_EQ(c.Inked(20, 60, "HIH").bottom, 60);
    SetTextAlign(c.dc, TA_BOTTOM);
    ink = c.Inked(20, 60, "HIH");
    EXPECT_EQ(ink.bottom, 60 - tm.tmDescent);
    EXPECT_GE(ink.top, 60 - tm.tmHeight);
}

TEST(TextDrawAlign, TextLandsWhereTheMeasuredWidthsSay) {
    TextCanvas a(300, 40), b(300, 40);
    const int cx = a.Cx("Caption");
    // Right and centre alignment.
    SetTextAlign(a.dc, TA_RIGHT);
    a.Out(150, 5, "Caption");
    b.Out(150 - cx, 5, "Caption");
    EXPECT_TRUE(a.SamePixels(b));
    EXPECT_LE(InkOf(a).right, 150);
    a.Fill(kWhite);
    b.Fill(kWhite);
    SetTextAlign(a.dc, TA_CENTER);
    a.Out(100, 5, "Caption");
    b.Out(100 - cx / 2, 5, "Caption");
    EXPECT_TRUE(a.SamePixels(b));
    // Measured advances are the drawn advances.
    a.Fill(kWhite);
    b.Fill(kWhite);
    SetTextAlign(a.dc, TA_LEFT);
    a.Out(3, 5, "Wave Typography");
    b.Out(3, 5, "W");
    b.Out(3 + b.Cx("W"), 5, "ave Ty");
    b.Out(3 + b.Cx("Wave Ty"), 5, "pography");
    EXPECT_TRUE(a.SamePixels(b));
    // The viewport origin moves the text.
    a.Fill(kWhite);
    b.Fill(kWhite);
    SetViewportOrgEx(a.dc, 30, 20, nullptr);
    a.Out(0, 0, "Abc");
    b.Out(30, 20, "Abc");
    EXPECT_TRUE(a.SamePixels(b));
}

TEST(TextDrawAlign, UpdateCpDrawsAtAndAdvancesTheCurrentPosition) {
    TextCanvas a(200, 40), b(200, 40);
    MoveToEx(a.dc, 5, 8, nullptr);
    SetTextAlign(a.dc, TA_UPDATECP);
    a.Out(999, 999, "Gro");
    a.Out(999, 999, "up");
    b.Out(5, 8, "Group");
    EXPECT_TRUE(a.SamePixels(b));
    POINT cp;
    GetCurrentPositionEx(a.dc, &cp);
    EXPECT_EQ(cp, (POINT{5 + b.Cx("Group"), 8}));
    // Right-aligned text ends at the current position and moves it back over the text.
    SetTextAlign(a.dc, TA_UPDATECP | TA_RIGHT);
    a.Out(0, 0, "up");
    GetCurrentPositionEx(a.dc, &cp);
    EXPECT_EQ(cp, (POINT{5 + b.Cx("Gro"), 8}));
}

TEST(TextDrawTurned, QuarterTurnsRunFromTheReferencePointAndAlignInTheTurnedFrame) {
    TextCanvas c(80, 200, Turned(900));
    const TEXTMETRICA tm = c.Tm();
    const int cx = c.Cx("Group 1");
    const Ink all = c.Inked(40, 150, "Group 1");
    // Upward: columns x .. x + tmHeight - 1, rows y up to y - width + 1.
    EXPECT_TRUE(Inside(all, 40, 150 - cx + 1, 40 + tm.tmHeight, 151));
    EXPECT_GT(all.bottom - all.top, all.right - all.left);
    // The first character is at the bottom: "G" alone covers the lowest rows of the string.
    const Ink g = c.Inked(40, 150, "G");
    EXPECT_EQ(g.bottom, all.bottom);
    EXPECT_GT(g.top, all.top + 10);
    // TA_BOTTOM puts the cell left of x; TA_RIGHT runs the string up to y from below.
    SetTextAlign(c.dc, TA_BOTTOM);
    EXPECT_TRUE(Inside(c.Inked(40, 150, "Group"), 40 - tm.tmHeight, 0, 40, 200));
    SetTextAlign(c.dc, TA_RIGHT);
    EXPECT_TRUE(Inside(c.Inked(40, 100, "Group"), 0, 101, 80, 101 + c.Cx("Group")));
    // Half and three-quarter turns.
    TextCanvas h(200, 80, Turned(1800)), q(80, 200, Turned(2700));
    const int gx = h.Cx("Group");
    EXPECT_TRUE(Inside(h.Inked(150, 50, "Group"), 150 - gx + 1, 50 - tm.tmHeight + 1, 151, 51));
    EXPECT_TRUE(Inside(q.Inked(40, 20, "Group"), 40 - tm.tmHeight + 1, 20, 41, 20 + gx));
}

TEST(TextDrawTurned, OtherAnglesRotateTheOutlines) {
    TextCanvas c(200, 200, Turned(450, -16));
    const Ink ink = c.Inked(40, 160, "Diagonal");
    // Up and to the right at 45 degrees: about cx / sqrt(2) each way.
    const int reach = static_cast<int>(c.Cx("Diagonal") / std::sqrt(2.0));
    EXPECT_NEAR(ink.right - 40, reach, 16);
    EXPECT_NEAR(160 - ink.top, reach, 16);
}

TEST(TextDrawTurned, DrawTextLaysTurnedTextOutInTheTurnedRectangle) {
    TextCanvas c(60, 200, Turned(900));
    const TEXTMETRICA tm = c.Tm();
    RECT r{10, 10, 40, 190};
    // Turned, the rectangle's 30-px width is the height the line is centred in.
    EXPECT_EQ(DrawTextA(c.dc, "Turned caption", -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER),
              30 / 2 - tm.tmHeight / 2 + tm.tmHeight);
    const Ink ink = InkOf(c);
    EXPECT_TRUE(Inside(ink, 10, 0, 40, 200));
    EXPECT_GT(ink.bottom - ink.top, 3 * (ink.right - ink.left));
    EXPECT_NEAR((ink.top + ink.bottom) / 2, 100, 3);  // centred along the rectangle's height
    DrawTextA(c.dc, "Turned caption", -1, &r, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(r, (RECT{10, 190 - c.Cx("Turned caption"), 10 + tm.tmHeight, 190}));
}

TEST(TextDrawClip, TheDcClipAndTheRectanglesLimitTheText) {
    TextCanvas c(200, 60);
    const char* text = "A long line of text";
    IntersectClipRect(c.dc, 0, 0, 30, 60);
    EXPECT_TRUE(Inside(c.Inked(10, 5, text), 10, 5, 30, 60));
    // DrawTextA clips to its rectangle unless DT_NOCLIP; the DC's clip still holds with it.
    RECT r{10, 10, 40, 30};
    EXPECT_LE(c.DrawInked(text, r, DT_SINGLELINE | DT_NOCLIP).right, 30);
    SelectClipRgn(c.dc, 0);
    EXPECT_TRUE(Inside(c.DrawInked(text, r, DT_SINGLELINE), 10, 10, 40, 30));
    EXPECT_GT(c.DrawInked(text, r, DT_SINGLELINE | DT_NOCLIP).right, 60);
}

TEST(TextDrawClip, ExtTextOutClipsAndFillsItsRectangle) {
    TextCanvas c(200, 40);
    const RECT r{20, 5, 50, 30};
    SetBkColor(c.dc, kRed);
    ASSERT_TRUE(
        ExtTextOutA(c.dc, 10, 8, ETO_CLIPPED | ETO_OPAQUE, &r, "Clipped text", 12, nullptr));
    const Ink ink = InkOf(c);
    EXPECT_EQ((RECT{ink.left, ink.top, ink.right, ink.bottom}), r);
    EXPECT_GT(c.Count(kRed), 0);
    EXPECT_LT(c.Count(kRed), 30 * 25);  // the text is drawn over the fill
    // ETO_OPAQUE fills even with a transparent background mode, and without text.
    c.Fill(kWhite);
    ASSERT_TRUE(ExtTextOutA(c.dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr));
    EXPECT_EQ(c.Count(kRed), 30 * 25);
}

TEST(TextDrawBackground, OpaqueFillsExactlyTheCellOrLineBoxTransparentNothing) {
    TextCanvas c(120, 60);
    const TEXTMETRICA tm = c.Tm();
    const int cx = c.Cx("Hi there");
    SetBkColor(c.dc, kRed);
    SetBkMode(c.dc, OPAQUE);
    const Ink ink = c.Inked(10, 5, "Hi there");
    EXPECT_EQ((RECT{ink.left, ink.top, ink.right, ink.bottom}),
              (RECT{10, 5, 10 + cx, 5 + tm.tmHeight}));
    EXPECT_EQ(ink.count, cx * tm.tmHeight);
    EXPECT_EQ(c.Px(10 + cx - 1, 5), kRed);  // a corner with no glyph
    // DrawTextA fills each line's own box.
    c.Draw("ab\nabcd", RECT{0, 0, 120, 60}, DT_CENTER);
    const int w1 = c.Cx("ab"), w2 = c.Cx("abcd");
    const int x1 = (120 - w1) / 2, x2 = (120 - w2) / 2;
    EXPECT_EQ(c.Count(kWhite, x1, 0, x1 + w1, tm.tmHeight), 0);
    EXPECT_EQ(c.Count(kWhite, x2, tm.tmHeight, x2 + w2, 2 * tm.tmHeight), 0);
    EXPECT_EQ(c.Px(x1 - 1, 0), kWhite);
    EXPECT_EQ(c.Px(x1 + w1, 0), kWhite);
    EXPECT_EQ(c.Count(kWhite, 0, 2 * tm.tmHeight, 120, 60), 120 * (60 - 2 * tm.tmHeight));
    SetBkMode(c.dc, TRANSPARENT);
    EXPECT_GT(c.Inked(10, 5, "Hi there").count, 0);
    EXPECT_EQ(c.Count(kRed), 0);
}

// Blending toward the text colour, underlines, strike-outs and prefix underlines are drawn
// pixel for pixel in the reference sheets of text_golden_test.cpp.
TEST(TextDrawBackground, OneBitTargetsTakeTheNearerOfBlackAndWhite) {
    Canvas mono(100, 30, kWhite, 1);
    const UseFont f(mono.dc, DefaultGuiLogFont());
    SetBkMode(mono.dc, TRANSPARENT);
    SetTextColor(mono.dc, RGB(20, 20, 20));
    ASSERT_TRUE(TextOutA(mono.dc, 5, 5, "Mono", 4));
    const Ink ink = InkOf(mono);
    EXPECT_GT(ink.count, 10);
    EXPECT_TRUE(Inside(ink, 5, 5, 100, 30));
}

// The longest prefix of s that fits width together with the three dots, then the dots.
std::string Cut(const TextCanvas& c, const std::string& s, int width) {
    std::size_t n = s.size();
    while (n > 0 && c.Cx(s.substr(0, n) + "...") > width)
        --n;
    return s.substr(0, n) + "...";
}

// Draws `text` with `format` and `expected` (explicit lines) without the layout flags, and
// reports whether both give the same pixels.
::testing::AssertionResult SameAs(TextCanvas& c, const std::string& text, UINT format,
                                  const std::string& expected, RECT r) {
    c.Draw(text, r, format);
    const auto got = c.Bits().pixels;
    c.Draw(expected, r, format & (DT_SINGLELINE | DT_CENTER | DT_RIGHT));
    if (got == c.Bits().pixels) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "\"" << text << "\" is not drawn as \"" << expected << "\"";
}

TEST(TextDrawText, LinesAndCutsFollowTheFontsWidths) {
    TextCanvas c(240, 120, Lf("MS Sans Serif", -11));
    const std::string text = "Mail Calendar Contacts Tasks";
    const int w = std::max(c.Cx("Mail Calendar "), c.Cx("Contacts"));
    ASSERT_GT(c.Cx("Contacts Tasks"), w);
    ASSERT_GT(c.Cx("Mail Calendar Contacts"), w);
    for (const UINT align : {DT_LEFT, DT_CENTER, DT_RIGHT})
        EXPECT_TRUE(SameAs(c, text, DT_WORDBREAK | align, "Mail Calendar\nContacts\nTasks",
                           RECT{4, 4, 4 + w, 110}));
    // A partly visible line is the last one drawn, clipped to the rectangle.
    const int lh = c.Tm().tmHeight;
    EXPECT_EQ(c.Draw(text, RECT{4, 4, 4 + w, 5 + lh}, DT_WORDBREAK), 2 * lh);
    EXPECT_TRUE(Inside(InkOf(c), 4, 4, 4 + w, 5 + lh));
    // The string overload writes the shown line back, and only when asked.
    const std::string caption = "A caption far too long";
    RECT r{2, 2, 62, 40};
    std::string shown = caption;
    DrawTextA(c.dc, shown, &r, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_EQ(shown, caption);
    DrawTextA(c.dc, shown, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
    EXPECT_EQ(shown, Cut(c, caption, 60));
    EXPECT_EQ(shown.compare(0, 2, "A "), 0);
    EXPECT_TRUE(SameAs(c, caption, DT_SINGLELINE | DT_END_ELLIPSIS, shown, r));
    // The path ellipsis cuts the folders like an end ellipsis and keeps the file name.
    const std::string path = "C:\\Program Files\\ZoBtnBar\\picture.bmp";
    const int pw = c.Cx("C:\\Pro...\\picture.bmp");
    std::string shortPath = path;
    RECT pr{0, 0, pw, 40};
    DrawTextA(c.dc, shortPath, &pr, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_MODIFYSTRING);
    EXPECT_EQ(shortPath,
              Cut(c, "C:\\Program Files\\ZoBtnBar", pw - c.Cx("\\picture.bmp")) + "\\picture.bmp");
    EXPECT_EQ(shortPath.compare(0, 5, "C:\\Pr"), 0) << shortPath;
    EXPECT_LE(c.Cx(shortPath), pw);
    std::string whole = path;
    RECT wide{0, 0, 400, 40};
    DrawTextA(c.dc, whole, &wide, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_MODIFYSTRING);
    EXPECT_EQ(whole, path);
}

TEST(TextDrawText, ReturnsHeightsAndCalcRectDrawsNothing) {
    TextCanvas c(200, 100);
    const TEXTMETRICA tm = c.Tm();
    const RECT r{10, 10, 190, 90};
    EXPECT_EQ(c.Draw("Hello", r, DT_SINGLELINE), tm.tmHeight);
    EXPECT_EQ(c.Draw("one\ntwo\nthree", r, 0), 3 * tm.tmHeight);
    EXPECT_EQ(c.Draw("", r, 0), tm.tmHeight);
    c.Fill(kWhite);
    RECT calc = r;
    EXPECT_EQ(DrawTextA(c.dc, "Hello world", -1, &calc, DT_SINGLELINE | DT_CALCRECT), tm.tmHeight);
    EXPECT_EQ(calc, (RECT{10, 10, 10 + c.Cx("Hello world"), 10 + tm.tmHeight}));
    EXPECT_EQ(InkOf(c).count, 0);
}

TEST(TextDrawText, CountLimitsTheTextAndBadArgumentsFail) {
    TextCanvas a(200, 40), b(200, 40);
    RECT r{0, 0, 200, 40};
    DrawTextA(a.dc, "Hello world", 5, &r, DT_SINGLELINE);
    DrawTextA(b.dc, "Hello", -1, &r, DT_SINGLELINE);
    EXPECT_TRUE(a.SamePixels(b));
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
    c.Draw("Some words here", RECT{0, 0, 200, 60}, DT_WORDBREAK | DT_CENTER);
    POINT cp;
    GetCurrentPositionEx(c.dc, &cp);
    EXPECT_EQ(cp, (POINT{7, 9}));
    EXPECT_EQ(GetTextAlign(c.dc), TA_UPDATECP | TA_BASELINE);
    EXPECT_EQ(GetTextColor(c.dc), RGB(1, 2, 3));
    // The DC's alignment does not move DrawTextA's text: it starts at the rectangle's top.
    EXPECT_LT(InkOf(c).top, 6);
}

}  // namespace
}  // namespace zo::plat::test
