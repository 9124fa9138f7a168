// DrawTextA's layout without pixels: a fixed-width measure (letters 6 px, space 4 px, '.' 2 px)
// makes every cut and position computable by hand.
#include <gtest/gtest.h>

#include <string>

#include "platform/Text.h"
#include "platform/text/Layout.h"

namespace zo::plat::text {
namespace {

constexpr auto FakeWidth = [](std::string_view s) {
    int w = 0;
    for (char c : s)
        w += c == ' ' ? 4 : c == '.' ? 2 : 6;
    return w;
};

// Line height 13, ascent 10, external leading 2, average character 5 px.
TextLayout Lay(std::string_view text, UINT flags, RECT rect) {
    return LayoutDrawText(text, flags, rect, LayoutMetrics{13, 10, 2, 5}, FakeWidth);
}

// The lines joined by '|', each its text ("[x]text" per run when tabs split it) followed by
// what differs from a plain line: "@x" (not at the left), "^y" (not below the previous line),
// "~width" (not the width of its text) and the prefix underline " _left-right@y"; then the
// returned height and whatever else the layout says (a DT_CALCRECT layout is not clipped).
std::string Describe(const TextLayout& l, const RECT& rect, UINT flags) {
    std::string out;
    for (std::size_t i = 0; i < l.lines.size(); ++i) {
        const LaidLine& line = l.lines[i];
        std::string text;
        for (const LaidRun& r : line.runs) {
            if (line.runs.size() > 1) out += "[" + std::to_string(r.x) + "]";
            out += r.text;
            text += r.text;
        }
        if (line.x != rect.left) out += "@" + std::to_string(line.x);
        if (line.y != rect.top + 13 * static_cast<LONG>(i)) out += "^" + std::to_string(line.y);
        if (line.width != FakeWidth(text)) out += "~" + std::to_string(line.width);
        if (line.underline)
            out += " _" + std::to_string(line.underlineLeft) + "-" +
                   std::to_string(line.underlineRight) + "@" + std::to_string(line.underlineY);
        out += i + 1 < l.lines.size() ? "|" : "";
    }
    out += " h" + std::to_string(l.height);
    if (l.clip == ((flags & DT_CALCRECT) != 0)) out += l.clip ? " clipped" : " noclip";
    if (!l.drawText) out += " prefix-only";
    const RECT& c = l.calcRect;
    if (flags & DT_CALCRECT)
        out += " calc " + std::to_string(c.left) + "," + std::to_string(c.top) + "," +
               std::to_string(c.right) + "," + std::to_string(c.bottom);
    if (l.modified) out += " => " + l.modifiedText;
    return out;
}

constexpr UINT kOne = DT_SINGLELINE, kWrap = DT_WORDBREAK, kEdit = DT_EDITCONTROL;
constexpr UINT kEnd = DT_END_ELLIPSIS, kWord = DT_WORD_ELLIPSIS, kPath = DT_PATH_ELLIPSIS;
constexpr UINT kCalc = DT_CALCRECT, kModify = DT_MODIFYSTRING;
constexpr UINT kTab4 = DT_EXPANDTABS | DT_TABSTOP | (4u << 8);  // four characters a tab
constexpr const char* kPathText = "c:\\dir\\sub\\file.txt";

struct Row {
    const char* name;
    const char* text;
    UINT flags;
    RECT rect;
    const char* expected;
};

const Row kRows[] = {
    // Placement: halves truncate toward zero; vertical placement only for single lines.
    {"left", "Hello", kOne, {10, 20, 110, 60}, "Hello h13"},
    {"centre", "Hello", kOne | DT_CENTER, {10, 20, 110, 60}, "Hello@45 h13"},
    {"right", "Hello", kOne | DT_RIGHT, {10, 20, 110, 60}, "Hello@80 h13"},
    {"centre of 31 px", "Hello", kOne | DT_CENTER, {0, 0, 31, 20}, "Hello h13"},
    {"centre left of 0", "Hello", kOne | DT_CENTER, {-11, 0, 0, 20}, "Hello@-20 h13"},
    {"vcentre", "Hi", kOne | DT_VCENTER, {0, 0, 100, 40}, "Hi^14 h27"},
    {"vcentre from 5", "Hi", kOne | DT_VCENTER, {0, 5, 100, 46}, "Hi^19 h27"},
    {"vcentre in 7 px", "Hi", kOne | DT_VCENTER, {0, 0, 100, 7}, "Hi^-3 h10"},
    {"bottom", "Hi", kOne | DT_BOTTOM, {0, 0, 100, 40}, "Hi^27 h40"},
    {"bottom at the top: 1, not 0", "Hi", kOne | DT_BOTTOM, {0, 10, 100, 10}, "Hi^-3 h1"},
    {"vcentre needs single line", "Hi", DT_VCENTER, {0, 0, 100, 40}, "Hi h13"},
    {"bottom needs single line", "Hi", DT_BOTTOM | kWrap, {0, 0, 100, 40}, "Hi h13"},
    {"empty text", "", kWrap, {0, 0, 100, 40}, " h13"},
    {"two lines", "a\nb", 0, {0, 0, 100, 100}, "a|b h26"},
    {"external leading", "a\nb", DT_EXTERNALLEADING, {0, 0, 100, 100}, "a|b^15 h30"},
    // Paragraphs and breaking.
    {"every line break form", "a\r\nb\n\rc\rd\ne", 0, {0, 0, 100, 100}, "a|b|c|d|e h65"},
    {"empty paragraph", "a\n\nb", 0, {0, 0, 100, 100}, "a||b h39"},
    {"break at the end", "abc\n", 0, {0, 0, 100, 100}, "abc h13"},
    {"single line keeps breaks", "a\nb c", kOne | kWrap, {0, 0, 10, 100}, "a\nb c h13"},
    {"left keeps a space", "aaa bbb ccc", kWrap, {0, 0, 50, 100}, "aaa bbb |ccc h26"},
    {"centred, before", "aaa bbb ccc", kWrap | DT_CENTER, {0, 0, 50, 100}, "aaa bbb@5|ccc@16 h26"},
    {"right, before", "aaa bbb ccc", kWrap | DT_RIGHT, {0, 0, 50, 100}, "aaa bbb@10|ccc@32 h26"},
    {"one space dropped", "aaa  bbb", kWrap, {0, 0, 24, 100}, "aaa |bbb h26"},
    {"only one", "aaa  bbb", kWrap, {0, 0, 18, 100}, "aaa| bbb h26"},
    {"long words", "line1 line2", kWrap | kCalc, {0, 0, 1, 0}, "line1|line2 h26 calc 0,0,30,26"},
    {"edit split",
     "line1 line2",
     kWrap | kEdit | kCalc,
     {0, 0, 1, 0},
     "l|i|n|e|1|l|i|n|e|2 h130 calc 0,0,6,130"},
    {"split where it fits", "abcdefgh", kWrap | kEdit, {0, 0, 20, 100}, "abc|def|gh h39"},
    {"word keeps words", "abcdefgh", kWrap | kEdit | kWord, {0, 0, 20, 100}, "ab... h13"},
    // Which lines are drawn: through the first partly visible one; with DT_EDITCONTROL those
    // that fit with one pixel to spare, and always the first.
    {"clipped", "a b c d e", kWrap, {0, 0, 6, 30}, "a|b|c h39"},
    {"no clip", "a b c d e", kWrap | DT_NOCLIP, {0, 0, 6, 30}, "a|b|c|d|e h65 noclip"},
    {"edit control", "a b c d e", kWrap | kEdit, {0, 0, 6, 30}, "a|b h26"},
    {"edit control, 38", "a b c d e", kWrap | kEdit, {0, 0, 6, 38}, "a|b|c h39"},
    {"edit control, 37", "a b c d e", kWrap | kEdit, {0, 0, 6, 37}, "a|b h26"},
    {"edit control, 3", "a b c d e", kWrap | kEdit, {0, 0, 6, 3}, "a h13"},
    // Ellipses.
    {"end", "abcdefghij", kOne | kEnd, {0, 0, 40, 20}, "abcde... h13"},
    {"end, fits", "abcdefghij", kOne | kEnd, {0, 0, 60, 20}, "abcdefghij h13"},
    {"end, centred", "abcdefghij", kOne | kEnd | DT_CENTER, {0, 0, 40, 20}, "abcde...@2 h13"},
    {"end, last line", "aaa bbb ccc ddd", kWrap | kEnd | kEdit, {0, 0, 50, 13}, "aaa bbb ... h13"},
    {"end, below", "aaa bbb ccc ddd", kWrap | kEnd, {0, 0, 50, 13}, "aaa bbb |ccc ddd h26"},
    {"end before more paragraphs", "abc\ndef", kEnd | kEdit, {0, 0, 50, 13}, "abc... h13"},
    {"word, every", "aaa bbbbbbbbbb ccc", kWrap | kWord, {0, 0, 40, 200}, "aaa |bbbbb...|ccc h39"},
    {"end, inner", "aaa bbbbbbbbbb ccc", kWrap | kEnd, {0, 0, 40, 200}, "aaa |bbbbbbbbbb|ccc h39"},
    {"end, last", "aaa bbbbbbbbbb", kWrap | kEnd, {0, 0, 40, 200}, "aaa |bbbbb... h26"},
    {"path", kPathText, kOne | kPath, {0, 0, 80, 20}, "c:\\d...\\file.txt h13"},
    {"path, end", kPathText, kOne | kPath | kEnd, {0, 0, 50, 20}, "c:\\dir\\... h13"},
    {"modify", "abcdefghij", kOne | kEnd | kModify, {0, 0, 40, 20}, "abcde... h13 => abcde..."},
    {"modify 1/3",
     "x\n&abcdefghij\ny",
     kEnd | kModify,
     {0, 0, 40, 100},
     "x|abcde... _0-5@24|y h39 => x\nabcde...\ny"},
    {"modify, fits", "abc", kOne | kEnd | kModify, {0, 0, 40, 20}, "abc h13"},
    {"modify path",
     kPathText,
     kOne | kPath | kModify,
     {0, 0, 80, 20},
     "c:\\d...\\file.txt h13 => c:\\d...\\file.txt"},
    // Prefixes.
    {"prefix", "&File", kOne, {10, 20, 200, 60}, "File _10-15@31 h13"},
    {"prefix inside", "Sa&ve", kOne, {0, 0, 200, 60}, "Save _12-17@11 h13"},
    {"doubled", "a&&b", kOne, {0, 0, 200, 60}, "a&b h13"},
    {"doubled, then prefix", "&&&x", kOne, {0, 0, 200, 60}, "&x _6-11@11 h13"},
    {"trailing", "abc&", kOne, {0, 0, 200, 60}, "abc h13"},
    {"no prefix", "&File", kOne | DT_NOPREFIX, {0, 0, 200, 60}, "&File h13"},
    {"hidden prefix", "&File", kOne | DT_HIDEPREFIX, {0, 0, 200, 60}, "File h13"},
    {"prefix only", "&File", kOne | DT_PREFIXONLY, {0, 0, 200, 60}, "File _0-5@11 h13 prefix-only"},
    {"prefix, wrapped", "aaa &bbb", kWrap, {0, 0, 30, 100}, "aaa |bbb _0-5@24 h26"},
    {"prefix cut away", "abcdefg&hij", kOne | kEnd, {0, 0, 40, 20}, "abcde... h13"},
    // Tabs: stops every eight average characters, or as many as bits 8-15 of DT_TABSTOP say
    // (then no flags: 0x400 would otherwise be DT_CALCRECT).
    {"tab", "a\tb", kOne | DT_EXPANDTABS, {10, 0, 200, 20}, "[10]a[50]b~46 h13"},
    {"tab stop", "a\tb", kOne | kTab4, {0, 0, 200, 20}, "[0]a[20]b~26 h13 clipped calc 0,0,26,13"},
    {"tab not expanded", "a\tb", kOne, {0, 0, 200, 20}, "a\tb h13"},
    // DT_CALCRECT: the extent of the lines, widened by an over-long word; empty text has no
    // width and is one line high only as a single line.
    {"calc", "Hello", kOne | kCalc, {5, 5, 6, 6}, "Hello h13 calc 5,5,35,18"},
    {"calc, shown", "&File", kOne | kCalc, {0, 0, 1, 1}, "File _0-5@11 h13 calc 0,0,24,13"},
    {"calc, wrap",
     "aaa bbb ccc",
     kWrap | kCalc,
     {0, 10, 50, 11},
     "aaa bbb |ccc h26 calc 0,10,44,36"},
    {"calc, wide",
     "abcdefghijkl x",
     kWrap | kCalc,
     {0, 0, 50, 0},
     "abcdefghijkl|x h26 calc 0,0,72,26"},
    {"calc, all", "a b c d e", kWrap | kCalc, {0, 0, 6, 30}, "a|b|c|d|e h65 calc 0,0,6,65"},
    {"calc, empty", "", kCalc, {3, 4, 50, 60}, " h13 calc 3,4,3,4"},
    {"calc, empty 1", "", kCalc | kOne, {3, 4, 50, 60}, " h13 calc 3,4,3,17"},
};

TEST(TextLayout, LinesPlacesCutsAndHeights) {
    for (const Row& row : kRows)
        EXPECT_EQ(Describe(Lay(row.text, row.flags, row.rect), row.rect, row.flags), row.expected)
            << row.name;
}

TEST(TextLayout, EllipsisFunctionsKeepWhatFitsWithTheDots) {
    // 110 px in all; "\file.txt" is 50, "..." 6.
    EXPECT_EQ(EndEllipsis("abcdefghij", 40, FakeWidth), "abcde...");  // 36; "abcdef..." is 42
    EXPECT_EQ(EndEllipsis("abcdefghij", 42, FakeWidth), "abcdef...");
    EXPECT_EQ(EndEllipsis("abcdefghij", 4, FakeWidth), "...");  // even the dots do not fit
    EXPECT_EQ(PathEllipsis("c:\\dir\\sub\\file.txt", 80, FakeWidth), "c:\\d...\\file.txt");
    EXPECT_EQ(PathEllipsis("c:/dir/sub/file.txt", 80, FakeWidth), "c:/d.../file.txt");
    EXPECT_EQ(PathEllipsis("c:\\dir\\sub\\file.txt", 50, FakeWidth), "...\\file.txt");
    EXPECT_EQ(PathEllipsis("abcdefghij", 40, FakeWidth), "abcde...");  // no separator
}

TEST(TextLayout, HugeRectanglesAndLongTextsStayBounded) {
    const RECT huge{-2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647};
    EXPECT_EQ(Lay("Hello", kOne | DT_CENTER | DT_VCENTER, huge).lines.size(), 1u);
    std::string longText;
    for (int i = 0; i < 20000; ++i)
        longText += "word ";
    const TextLayout l = Lay(longText, kWrap | kCalc, RECT{0, 0, 200, 0});
    // 200 px holds "word " seven times (196 px, the trailing space kept), not an eighth word.
    EXPECT_EQ(l.lines.size(), (20000u + 6) / 7);
    EXPECT_EQ(l.lines[0].width, 196);
}

// A stored layout is found only by the very text, flags and rectangle it was made for; any
// other input is a miss, so a changed caption or a moved rectangle is laid out anew.
TEST(TextLayoutCache, FindsOnlyTheInputsALayoutWasMadeFor) {
    const RECT rect{10, 20, 70, 46};
    const UINT flags = DT_CENTER | DT_WORDBREAK;
    struct Row {
        const char* name;
        std::string_view text;
        UINT flags;
        RECT rect;
        bool found;
    };
    const Row rows[] = {{"the same", "ab cd", flags, rect, true},
                        {"other text", "ab ce", flags, rect, false},
                        {"longer text", "ab cd ", flags, rect, false},
                        {"other flags", "ab cd", flags | DT_SINGLELINE, rect, false},
                        {"moved left", "ab cd", flags, RECT{11, 20, 70, 46}, false},
                        {"moved top", "ab cd", flags, RECT{10, 21, 70, 46}, false},
                        {"other right", "ab cd", flags, RECT{10, 20, 71, 46}, false},
                        {"other bottom", "ab cd", flags, RECT{10, 20, 70, 47}, false}};
    LayoutCache cache;
    const TextLayout& kept = cache.Store("ab cd", flags, rect, Lay("ab cd", flags, rect));
    EXPECT_EQ(Describe(kept, rect, flags), Describe(Lay("ab cd", flags, rect), rect, flags));
    for (const Row& r : rows)
        EXPECT_EQ(cache.Find(r.text, r.flags, r.rect) != nullptr, r.found) << r.name;
}

TEST(TextLayoutCache, StaysBoundedAndKeepsNoLongTexts) {
    LayoutCache cache;
    const std::string longText(LayoutCache::kMaxText + 1, 'a');
    const RECT rect{0, 0, 40, 13};
    EXPECT_EQ(cache.Store(longText, 0, rect, Lay(longText, 0, rect)).lines.size(), 1u);
    EXPECT_EQ(cache.Find(longText, 0, rect), nullptr);
    for (LONG i = 0; i <= static_cast<LONG>(LayoutCache::kMaxEntries); ++i)
        cache.Store("a", 0, RECT{i, 0, i + 40, 13}, Lay("a", 0, RECT{i, 0, i + 40, 13}));
    EXPECT_LE(cache.Size(), LayoutCache::kMaxEntries);
    EXPECT_NE(cache.Find("a", 0,
                         RECT{static_cast<LONG>(LayoutCache::kMaxEntries), 0,
                              static_cast<LONG>(LayoutCache::kMaxEntries) + 40, 13}),
              nullptr);
}

}  // namespace
}  // namespace zo::plat::text
