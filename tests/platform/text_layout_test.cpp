// DrawTextA's layout without pixels: a fixed-width measure (letters 6 px, space 4 px, '.' 2 px)
// makes every cut and position computable by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Text.h"
#include "platform/text/Layout.h"

namespace zo::plat::text {
namespace {

int FakeWidth(std::string_view s) {
    int w = 0;
    for (char c : s)
        w += c == ' ' ? 4 : c == '.' ? 2 : 6;
    return w;
}

constexpr LayoutMetrics kMetrics{13, 10, 2, 5};

TextLayout Lay(std::string_view text, UINT flags, RECT rect) {
    return LayoutDrawText(text, flags, rect, kMetrics,
                          [](std::string_view s) { return FakeWidth(s); });
}

std::vector<std::string> Texts(const TextLayout& l) {
    std::vector<std::string> out;
    for (const LaidLine& line : l.lines) {
        std::string s;
        for (const LaidRun& r : line.runs)
            s += r.text;
        out.push_back(s);
    }
    return out;
}

using Lines = std::vector<std::string>;

// ---- Placement ------------------------------------------------------------------------------

TEST(TextLayoutPlacement, HorizontalAlignmentUsesTruncatingHalves) {
    const RECT r{10, 20, 110, 60};
    auto l = Lay("Hello", DT_SINGLELINE, r);
    ASSERT_EQ(l.lines.size(), 1u);
    EXPECT_EQ(l.lines[0].x, 10);
    EXPECT_EQ(l.lines[0].y, 20);
    EXPECT_EQ(l.lines[0].width, 30);
    EXPECT_EQ(Lay("Hello", DT_SINGLELINE | DT_CENTER, r).lines[0].x, 45);
    EXPECT_EQ(Lay("Hello", DT_SINGLELINE | DT_RIGHT, r).lines[0].x, 80);
    // (0 + 31 - 30) / 2 = 0, and (-11 + 0 - 30) / 2 = -20: the division truncates toward zero.
    EXPECT_EQ(Lay("Hello", DT_SINGLELINE | DT_CENTER, RECT{0, 0, 31, 20}).lines[0].x, 0);
    EXPECT_EQ(Lay("Hello", DT_SINGLELINE | DT_CENTER, RECT{-11, 0, 0, 20}).lines[0].x, -20);
}

TEST(TextLayoutPlacement, VerticalCentringAndBottomOnlyForSingleLines) {
    // y = top + (bottom - top) / 2 - tmHeight / 2, each division truncating.
    auto l = Lay("Hi", DT_SINGLELINE | DT_VCENTER, RECT{0, 0, 100, 40});
    EXPECT_EQ(l.lines[0].y, 14);
    EXPECT_EQ(l.height, 27);  // from the top to the text's bottom
    l = Lay("Hi", DT_SINGLELINE | DT_VCENTER, RECT{0, 5, 100, 46});
    EXPECT_EQ(l.lines[0].y, 19);
    EXPECT_EQ(l.height, 27);
    l = Lay("Hi", DT_SINGLELINE | DT_VCENTER, RECT{0, 0, 100, 7});
    EXPECT_EQ(l.lines[0].y, -3);
    EXPECT_EQ(l.height, 10);
    l = Lay("Hi", DT_SINGLELINE | DT_BOTTOM, RECT{0, 0, 100, 40});
    EXPECT_EQ(l.lines[0].y, 27);
    EXPECT_EQ(l.height, 40);
    // Without DT_SINGLELINE both are ignored.
    l = Lay("Hi", DT_VCENTER, RECT{0, 0, 100, 40});
    EXPECT_EQ(l.lines[0].y, 0);
    EXPECT_EQ(l.height, 13);
    l = Lay("Hi", DT_BOTTOM | DT_WORDBREAK, RECT{0, 0, 100, 40});
    EXPECT_EQ(l.lines[0].y, 0);
}

TEST(TextLayoutPlacement, ReturnsOneInsteadOfZeroAndLineHeightForEmptyText) {
    // Bottom-aligned in a rectangle of no height: the text ends exactly at the top.
    EXPECT_EQ(Lay("Hi", DT_SINGLELINE | DT_BOTTOM, RECT{0, 10, 100, 10}).height, 1);
    auto l = Lay("", DT_WORDBREAK, RECT{0, 0, 100, 40});
    EXPECT_EQ(l.height, 13);
    EXPECT_TRUE(l.lines.empty());
}

TEST(TextLayoutPlacement, ExternalLeadingAddsToTheLineHeightOnlyWhenAsked) {
    auto l = Lay("a\nb", 0, RECT{0, 0, 100, 100});
    EXPECT_EQ(l.lines[1].y, 13);
    l = Lay("a\nb", DT_EXTERNALLEADING, RECT{0, 0, 100, 100});
    EXPECT_EQ(l.lines[1].y, 15);
    EXPECT_EQ(l.height, 30);
}

// ---- Paragraphs and breaking ---------------------------------------------------------------

TEST(TextLayoutBreaking, EveryLineBreakFormEndsOneLine) {
    EXPECT_EQ(Texts(Lay("a\r\nb\n\rc\rd\ne", 0, RECT{0, 0, 100, 100})),
              (Lines{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(Texts(Lay("a\n\nb", 0, RECT{0, 0, 100, 100})), (Lines{"a", "", "b"}));
    // A break at the very end opens no further line.
    auto l = Lay("abc\n", 0, RECT{0, 0, 100, 100});
    EXPECT_EQ(Texts(l), (Lines{"abc"}));
    EXPECT_EQ(l.height, 13);
    // DT_SINGLELINE keeps line breaks as characters and ignores DT_WORDBREAK.
    l = Lay("a\nb c", DT_SINGLELINE | DT_WORDBREAK, RECT{0, 0, 10, 100});
    EXPECT_EQ(Texts(l), (Lines{"a\nb c"}));
}

TEST(TextLayoutBreaking, LeftAlignedKeepsFittingTrailingSpacesCentredBreaksBeforeThem) {
    // "aaa bbb c" is 50 px, "aaa bbb cc" 56: the last fitting break is after "bbb ".
    const RECT r{0, 0, 50, 100};
    auto l = Lay("aaa bbb ccc", DT_WORDBREAK, r);
    EXPECT_EQ(Texts(l), (Lines{"aaa bbb ", "ccc"}));
    EXPECT_EQ(l.lines[0].width, 44);
    EXPECT_EQ(l.lines[1].y, 13);
    EXPECT_EQ(l.height, 26);
    l = Lay("aaa bbb ccc", DT_WORDBREAK | DT_CENTER, r);
    EXPECT_EQ(Texts(l), (Lines{"aaa bbb", "ccc"}));
    EXPECT_EQ(l.lines[0].x, 5);   // (0 + 50 - 40) / 2
    EXPECT_EQ(l.lines[1].x, 16);  // (0 + 50 - 18) / 2
    l = Lay("aaa bbb ccc", DT_WORDBREAK | DT_RIGHT, r);
    EXPECT_EQ(Texts(l), (Lines{"aaa bbb", "ccc"}));
    EXPECT_EQ(l.lines[0].x, 10);
}

TEST(TextLayoutBreaking, OneSpaceAfterTheBreakIsDropped) {
    // "aaa " fits 24 px, "aaa  " does not: the second space goes, the next line starts at b.
    EXPECT_EQ(Texts(Lay("aaa  bbb", DT_WORDBREAK, RECT{0, 0, 24, 100})), (Lines{"aaa ", "bbb"}));
    // Only one: with room for neither space, the second one starts the next line (which is
    // not broken after it, a line holding something visible).
    EXPECT_EQ(Texts(Lay("aaa  bbb", DT_WORDBREAK, RECT{0, 0, 18, 100})), (Lines{"aaa", " bbb"}));
}

TEST(TextLayoutBreaking, AnOverlongWordOverflowsUnlessEditControlSplitsIt) {
    // The platform's own check: "line1 line2" in a 1-px wide rectangle.
    auto l = Lay("line1 line2", DT_WORDBREAK | DT_CALCRECT, RECT{0, 0, 1, 0});
    EXPECT_EQ(Texts(l), (Lines{"line1", "line2"}));
    EXPECT_EQ(l.height, 26);
    l = Lay("line1 line2", DT_WORDBREAK | DT_CALCRECT | DT_EDITCONTROL, RECT{0, 0, 1, 0});
    EXPECT_GE(l.lines.size(), 6u);
    EXPECT_EQ(Texts(l), (Lines{"l", "i", "n", "e", "1", "l", "i", "n", "e", "2"}));
    // Split after the last character that fits.
    l = Lay("abcdefgh", DT_WORDBREAK | DT_EDITCONTROL, RECT{0, 0, 20, 100});
    EXPECT_EQ(Texts(l), (Lines{"abc", "def", "gh"}));
    // Word and path ellipses keep the word whole instead.
    l = Lay("abcdefgh", DT_WORDBREAK | DT_EDITCONTROL | DT_WORD_ELLIPSIS, RECT{0, 0, 20, 100});
    EXPECT_EQ(Texts(l), (Lines{"ab..."}));
}

// ---- Which lines are drawn -----------------------------------------------------------------

TEST(TextLayoutVisibleLines, FirstPartlyVisibleLineIsTheLast) {
    // Five one-letter lines, 13 px each, in 30 px: lines at 0, 13 and 26 (clipped).
    const char* text = "a b c d e";
    auto l = Lay(text, DT_WORDBREAK, RECT{0, 0, 6, 30});
    EXPECT_EQ(l.lines.size(), 3u);
    EXPECT_EQ(l.height, 39);
    EXPECT_TRUE(l.clip);
    l = Lay(text, DT_WORDBREAK | DT_NOCLIP, RECT{0, 0, 6, 30});
    EXPECT_EQ(l.lines.size(), 5u);
    EXPECT_EQ(l.height, 65);
    EXPECT_FALSE(l.clip);
    l = Lay(text, DT_WORDBREAK | DT_CALCRECT, RECT{0, 0, 6, 30});
    EXPECT_EQ(l.lines.size(), 5u);
    EXPECT_EQ(l.calcRect, (RECT{0, 0, 6, 65}));
}

TEST(TextLayoutVisibleLines, EditControlDrawsOnlyLinesThatFitWithOnePixelTolerance) {
    const char* text = "a b c d e";
    auto l = Lay(text, DT_WORDBREAK | DT_EDITCONTROL, RECT{0, 0, 6, 30});
    EXPECT_EQ(l.lines.size(), 2u);
    EXPECT_EQ(l.height, 26);
    // The third line (26..38) may stick out by one pixel: bottom 38 shows it, 37 does not.
    EXPECT_EQ(Lay(text, DT_WORDBREAK | DT_EDITCONTROL, RECT{0, 0, 6, 38}).lines.size(), 3u);
    EXPECT_EQ(Lay(text, DT_WORDBREAK | DT_EDITCONTROL, RECT{0, 0, 6, 37}).lines.size(), 2u);
    // The first line is drawn even when nothing fits.
    EXPECT_EQ(Lay(text, DT_WORDBREAK | DT_EDITCONTROL, RECT{0, 0, 6, 3}).lines.size(), 1u);
}

// ---- Ellipses ------------------------------------------------------------------------------

TEST(TextLayoutEllipsis, EndEllipsisKeepsTheLongestPrefixThatFitsWithTheDots) {
    const auto m = [](std::string_view s) { return FakeWidth(s); };
    EXPECT_EQ(EndEllipsis("abcdefghij", 40, m), "abcde...");  // 36 px; "abcdef..." is 42
    EXPECT_EQ(EndEllipsis("abcdefghij", 42, m), "abcdef...");
    EXPECT_EQ(EndEllipsis("abcdefghij", 4, m), "...");  // even the dots do not fit
    auto l = Lay("abcdefghij", DT_SINGLELINE | DT_END_ELLIPSIS, RECT{0, 0, 40, 20});
    EXPECT_EQ(Texts(l), (Lines{"abcde..."}));
    EXPECT_EQ(l.lines[0].width, 36);
    // A line that fits keeps its text.
    l = Lay("abcdefghij", DT_SINGLELINE | DT_END_ELLIPSIS, RECT{0, 0, 60, 20});
    EXPECT_EQ(Texts(l), (Lines{"abcdefghij"}));
    // Centred after shortening.
    l = Lay("abcdefghij", DT_SINGLELINE | DT_END_ELLIPSIS | DT_CENTER, RECT{0, 0, 40, 20});
    EXPECT_EQ(l.lines[0].x, 2);
}

TEST(TextLayoutEllipsis, EndEllipsisMarksTheLastVisibleLineOfWrappedText) {
    // With DT_EDITCONTROL the one line that fits is the last: the rest of the paragraph is cut
    // there, mid-word if need be.
    auto l =
        Lay("aaa bbb ccc ddd", DT_WORDBREAK | DT_END_ELLIPSIS | DT_EDITCONTROL, RECT{0, 0, 50, 13});
    EXPECT_EQ(Texts(l), (Lines{"aaa bbb ..."}));
    EXPECT_EQ(l.height, 13);
    // Without it the second line is the last drawn (below the rectangle) and takes the dots;
    // here the rest fits on it, so nothing is cut.
    l = Lay("aaa bbb ccc ddd", DT_WORDBREAK | DT_END_ELLIPSIS, RECT{0, 0, 50, 13});
    EXPECT_EQ(Texts(l), (Lines{"aaa bbb ", "ccc ddd"}));
    EXPECT_EQ(l.height, 26);
    // A last line whose paragraph fits still shows the dots when more paragraphs follow.
    l = Lay("abc\ndef", DT_END_ELLIPSIS | DT_EDITCONTROL, RECT{0, 0, 50, 13});
    EXPECT_EQ(Texts(l), (Lines{"abc..."}));
}

TEST(TextLayoutEllipsis, WordEllipsisCutsEveryOverlongLineEndEllipsisOnlyParagraphEnds) {
    const RECT r{0, 0, 40, 200};
    auto l = Lay("aaa bbbbbbbbbb ccc", DT_WORDBREAK | DT_WORD_ELLIPSIS, r);
    EXPECT_EQ(Texts(l), (Lines{"aaa ", "bbbbb...", "ccc"}));
    l = Lay("aaa bbbbbbbbbb ccc", DT_WORDBREAK | DT_END_ELLIPSIS, r);
    EXPECT_EQ(Texts(l), (Lines{"aaa ", "bbbbbbbbbb", "ccc"}));
    // The over-long word that ends the paragraph is cut by the end ellipsis.
    l = Lay("aaa bbbbbbbbbb", DT_WORDBREAK | DT_END_ELLIPSIS, r);
    EXPECT_EQ(Texts(l), (Lines{"aaa ", "bbbbb..."}));
}

TEST(TextLayoutEllipsis, PathEllipsisKeepsTheLastComponent) {
    const auto m = [](std::string_view s) { return FakeWidth(s); };
    // 110 px in all; "\file.txt" is 50, "..." 6.
    EXPECT_EQ(PathEllipsis("c:\\dir\\sub\\file.txt", 80, m), "c:\\d...\\file.txt");
    EXPECT_EQ(PathEllipsis("c:/dir/sub/file.txt", 80, m), "c:/d.../file.txt");
    EXPECT_EQ(PathEllipsis("c:\\dir\\sub\\file.txt", 50, m), "...\\file.txt");
    // Without a separator the end is cut.
    EXPECT_EQ(PathEllipsis("abcdefghij", 40, m), "abcde...");
    auto l = Lay("c:\\dir\\sub\\file.txt", DT_SINGLELINE | DT_PATH_ELLIPSIS, RECT{0, 0, 80, 20});
    EXPECT_EQ(Texts(l), (Lines{"c:\\d...\\file.txt"}));
    // When even the last component does not fit, the end ellipsis takes over if asked.
    l = Lay("c:\\dir\\sub\\file.txt", DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_END_ELLIPSIS,
            RECT{0, 0, 50, 20});
    EXPECT_EQ(Texts(l), (Lines{"c:\\dir\\..."}));
}

TEST(TextLayoutEllipsis, ModifyStringWritesTheShownLineBack) {
    auto l =
        Lay("abcdefghij", DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING, RECT{0, 0, 40, 20});
    EXPECT_TRUE(l.modified);
    EXPECT_EQ(l.modifiedText, "abcde...");
    l = Lay("x\n&abcdefghij\ny", DT_END_ELLIPSIS | DT_MODIFYSTRING, RECT{0, 0, 40, 100});
    EXPECT_EQ(l.modifiedText, "x\nabcde...\ny");
    l = Lay("abcdefghij", DT_SINGLELINE | DT_END_ELLIPSIS, RECT{0, 0, 40, 20});
    EXPECT_FALSE(l.modified);
    l = Lay("abc", DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING, RECT{0, 0, 40, 20});
    EXPECT_FALSE(l.modified);
}

// ---- Prefixes ------------------------------------------------------------------------------

TEST(TextLayoutPrefix, AmpersandUnderlinesTheNextCharacter) {
    auto l = Lay("&File", DT_SINGLELINE, RECT{10, 20, 200, 60});
    EXPECT_EQ(Texts(l), (Lines{"File"}));
    ASSERT_TRUE(l.lines[0].underline);
    EXPECT_EQ(l.lines[0].underlineLeft, 10);
    EXPECT_EQ(l.lines[0].underlineRight, 15);
    EXPECT_EQ(l.lines[0].underlineY, 20 + 10 + 1);
    l = Lay("Sa&ve", DT_SINGLELINE, RECT{0, 0, 200, 60});
    EXPECT_EQ(Texts(l), (Lines{"Save"}));
    EXPECT_EQ(l.lines[0].underlineLeft, 12);
    EXPECT_EQ(l.lines[0].underlineRight, 17);
    // The measured width is that of the shown text.
    EXPECT_EQ(Lay("&File", DT_SINGLELINE | DT_CALCRECT, RECT{0, 0, 1, 1}).calcRect.right, 24);
}

TEST(TextLayoutPrefix, DoubledAmpersandsTrailingOnesAndTheNoPrefixFlags) {
    auto l = Lay("a&&b", DT_SINGLELINE, RECT{0, 0, 200, 60});
    EXPECT_EQ(Texts(l), (Lines{"a&b"}));
    EXPECT_FALSE(l.lines[0].underline);
    l = Lay("&&&x", DT_SINGLELINE, RECT{0, 0, 200, 60});
    EXPECT_EQ(Texts(l), (Lines{"&x"}));
    EXPECT_EQ(l.lines[0].underlineLeft, 6);
    EXPECT_EQ(Texts(Lay("abc&", DT_SINGLELINE, RECT{0, 0, 200, 60})), (Lines{"abc"}));
    l = Lay("&File", DT_SINGLELINE | DT_NOPREFIX, RECT{0, 0, 200, 60});
    EXPECT_EQ(Texts(l), (Lines{"&File"}));
    EXPECT_FALSE(l.lines[0].underline);
    l = Lay("&File", DT_SINGLELINE | DT_HIDEPREFIX, RECT{0, 0, 200, 60});
    EXPECT_EQ(Texts(l), (Lines{"File"}));
    EXPECT_FALSE(l.lines[0].underline);
    l = Lay("&File", DT_SINGLELINE | DT_PREFIXONLY, RECT{0, 0, 200, 60});
    EXPECT_FALSE(l.drawText);
    EXPECT_TRUE(l.lines[0].underline);
}

TEST(TextLayoutPrefix, UnderlineFollowsItsCharacterAcrossBreaksAndEllipses) {
    auto l = Lay("aaa &bbb", DT_WORDBREAK, RECT{0, 0, 30, 100});
    EXPECT_EQ(Texts(l), (Lines{"aaa ", "bbb"}));
    EXPECT_FALSE(l.lines[0].underline);
    ASSERT_TRUE(l.lines[1].underline);
    EXPECT_EQ(l.lines[1].underlineLeft, 0);
    EXPECT_EQ(l.lines[1].underlineY, 13 + 11);
    // Cut away by the ellipsis: no underline left.
    l = Lay("abcdefg&hij", DT_SINGLELINE | DT_END_ELLIPSIS, RECT{0, 0, 40, 20});
    EXPECT_EQ(Texts(l), (Lines{"abcde..."}));
    EXPECT_FALSE(l.lines[0].underline);
}

// ---- Tabs and DT_CALCRECT ------------------------------------------------------------------

TEST(TextLayoutTabs, TabsMoveToStopsOfEightAverageCharacters) {
    auto l = Lay("a\tb", DT_SINGLELINE | DT_EXPANDTABS, RECT{10, 0, 200, 20});
    ASSERT_EQ(l.lines[0].runs.size(), 2u);
    EXPECT_EQ(l.lines[0].runs[0].x, 10);
    EXPECT_EQ(l.lines[0].runs[1].x, 50);  // 8 x 5 px
    EXPECT_EQ(l.lines[0].width, 46);
    // DT_TABSTOP: bits 8-15 give the characters per tab and are no flags (0x400 would
    // otherwise be DT_CALCRECT).
    l = Lay("a\tb", DT_SINGLELINE | DT_EXPANDTABS | DT_TABSTOP | (4u << 8), RECT{0, 0, 200, 20});
    EXPECT_EQ(l.lines[0].runs[1].x, 20);
    EXPECT_TRUE(l.clip);
    // Without DT_EXPANDTABS a tab is an ordinary character.
    l = Lay("a\tb", DT_SINGLELINE, RECT{0, 0, 200, 20});
    EXPECT_EQ(l.lines[0].runs.size(), 1u);
    EXPECT_EQ(l.lines[0].width, 18);
}

TEST(TextLayoutCalcRect, SingleAndMultiLineExtents) {
    auto l = Lay("Hello", DT_SINGLELINE | DT_CALCRECT, RECT{5, 5, 6, 6});
    EXPECT_EQ(l.calcRect, (RECT{5, 5, 35, 18}));
    l = Lay("aaa bbb ccc", DT_WORDBREAK | DT_CALCRECT, RECT{0, 10, 50, 11});
    EXPECT_EQ(l.calcRect, (RECT{0, 10, 44, 36}));
    EXPECT_EQ(l.height, 26);
    // An over-long word widens the rectangle.
    l = Lay("abcdefghijkl x", DT_WORDBREAK | DT_CALCRECT, RECT{0, 0, 50, 0});
    EXPECT_EQ(l.calcRect, (RECT{0, 0, 72, 26}));
    // Empty text: no width; one line high only for a single line.
    EXPECT_EQ(Lay("", DT_CALCRECT, RECT{3, 4, 50, 60}).calcRect, (RECT{3, 4, 3, 4}));
    EXPECT_EQ(Lay("", DT_CALCRECT | DT_SINGLELINE, RECT{3, 4, 50, 60}).calcRect,
              (RECT{3, 4, 3, 17}));
}

TEST(TextLayoutLimits, HugeRectanglesAndLongTextsStayBounded) {
    const RECT huge{-2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647};
    auto l = Lay("Hello", DT_SINGLELINE | DT_CENTER | DT_VCENTER, huge);
    ASSERT_EQ(l.lines.size(), 1u);
    std::string longText;
    for (int i = 0; i < 20000; ++i)
        longText += "word ";
    l = Lay(longText, DT_WORDBREAK | DT_CALCRECT, RECT{0, 0, 200, 0});
    // 200 px holds "word " seven times (196 px, the trailing space kept), not an eighth word.
    EXPECT_EQ(l.lines.size(), (20000u + 6) / 7);
    EXPECT_EQ(l.lines[0].width, 196);
}

}  // namespace
}  // namespace zo::plat::text
