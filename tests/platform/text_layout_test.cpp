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

// Each line as "x,y,width:text" ('|' between lines), its runs as "[x]text" when tabs split it
// and its prefix underline as " _left-right@y"; then the returned height and whatever else
// the layout says.
std::string Describe(const TextLayout& l) {
    std::string out;
    for (const LaidLine& line : l.lines) {
        out += std::to_string(line.x) + "," + std::to_string(line.y) + "," +
               std::to_string(line.width) + ":";
        for (const LaidRun& r : line.runs)
            out += (line.runs.size() > 1 ? "[" + std::to_string(r.x) + "]" : "") + r.text;
        if (line.underline)
            out += " _" + std::to_string(line.underlineLeft) + "-" +
                   std::to_string(line.underlineRight) + "@" + std::to_string(line.underlineY);
        out += "|";
    }
    out += "h" + std::to_string(l.height);
    if (!l.clip) out += " unclipped";
    if (!l.drawText) out += " prefix-only";
    if (l.modified) out += " => " + l.modifiedText;
    return out;
}

constexpr UINT kOne = DT_SINGLELINE, kWrap = DT_WORDBREAK, kEdit = DT_EDITCONTROL;
constexpr UINT kEnd = DT_END_ELLIPSIS, kWord = DT_WORD_ELLIPSIS, kPath = DT_PATH_ELLIPSIS;
constexpr UINT kCalc = DT_CALCRECT, kModify = DT_MODIFYSTRING;

struct Row {
    const char* name;
    const char* text;
    UINT flags;
    RECT rect;
    const char* expected;
};

const Row kRows[] = {
    // Placement: halves truncate toward zero; vertical placement only for single lines.
    {"left", "Hello", kOne, {10, 20, 110, 60}, "10,20,30:Hello|h13"},
    {"centre", "Hello", kOne | DT_CENTER, {10, 20, 110, 60}, "45,20,30:Hello|h13"},
    {"right", "Hello", kOne | DT_RIGHT, {10, 20, 110, 60}, "80,20,30:Hello|h13"},
    {"centre of 31 px", "Hello", kOne | DT_CENTER, {0, 0, 31, 20}, "0,0,30:Hello|h13"},
    {"centre left of 0", "Hello", kOne | DT_CENTER, {-11, 0, 0, 20}, "-20,0,30:Hello|h13"},
    {"vcentre", "Hi", kOne | DT_VCENTER, {0, 0, 100, 40}, "0,14,12:Hi|h27"},
    {"vcentre from 5", "Hi", kOne | DT_VCENTER, {0, 5, 100, 46}, "0,19,12:Hi|h27"},
    {"vcentre in 7 px", "Hi", kOne | DT_VCENTER, {0, 0, 100, 7}, "0,-3,12:Hi|h10"},
    {"bottom", "Hi", kOne | DT_BOTTOM, {0, 0, 100, 40}, "0,27,12:Hi|h40"},
    {"bottom at the top: 1, not 0", "Hi", kOne | DT_BOTTOM, {0, 10, 100, 10}, "0,-3,12:Hi|h1"},
    {"vcentre needs single line", "Hi", DT_VCENTER, {0, 0, 100, 40}, "0,0,12:Hi|h13"},
    {"bottom needs single line", "Hi", DT_BOTTOM | kWrap, {0, 0, 100, 40}, "0,0,12:Hi|h13"},
    {"empty text", "", kWrap, {0, 0, 100, 40}, "h13"},
    {"two lines", "a\nb", 0, {0, 0, 100, 100}, "0,0,6:a|0,13,6:b|h26"},
    {"external leading", "a\nb", DT_EXTERNALLEADING, {0, 0, 100, 100}, "0,0,6:a|0,15,6:b|h30"},
    // Paragraphs and breaking.
    {"every line break form",
     "a\r\nb\n\rc\rd\ne",
     0,
     {0, 0, 100, 100},
     "0,0,6:a|0,13,6:b|0,26,6:c|0,39,6:d|0,52,6:e|h65"},
    {"empty paragraph", "a\n\nb", 0, {0, 0, 100, 100}, "0,0,6:a|0,13,0:|0,26,6:b|h39"},
    {"break at the end", "abc\n", 0, {0, 0, 100, 100}, "0,0,18:abc|h13"},
    {"single line keeps breaks", "a\nb c", kOne | kWrap, {0, 0, 10, 100}, "0,0,28:a\nb c|h13"},
    {"left keeps a fitting space",
     "aaa bbb ccc",
     kWrap,
     {0, 0, 50, 100},
     "0,0,44:aaa bbb |0,13,18:ccc|h26"},
    {"centred breaks before it",
     "aaa bbb ccc",
     kWrap | DT_CENTER,
     {0, 0, 50, 100},
     "5,0,40:aaa bbb|16,13,18:ccc|h26"},
    {"right breaks before it",
     "aaa bbb ccc",
     kWrap | DT_RIGHT,
     {0, 0, 50, 100},
     "10,0,40:aaa bbb|32,13,18:ccc|h26"},
    {"one space after a break dropped",
     "aaa  bbb",
     kWrap,
     {0, 0, 24, 100},
     "0,0,22:aaa |0,13,18:bbb|h26"},
    {"only one", "aaa  bbb", kWrap, {0, 0, 18, 100}, "0,0,18:aaa|0,13,22: bbb|h26"},
    {"overlong words overflow",
     "line1 line2",
     kWrap | kCalc,
     {0, 0, 1, 0},
     "0,0,30:line1|0,13,30:line2|h26 unclipped"},
    {"edit control splits them",
     "line1 line2",
     kWrap | kCalc | kEdit,
     {0, 0, 1, 0},
     "0,0,6:l|0,13,6:i|0,26,6:n|0,39,6:e|0,52,6:1|0,65,6:l|0,78,6:i|0,91,6:n|0,104,6:e|"
     "0,117,6:2|h130 unclipped"},
    {"after the last that fits",
     "abcdefgh",
     kWrap | kEdit,
     {0, 0, 20, 100},
     "0,0,18:abc|0,13,18:def|0,26,12:gh|h39"},
    {"word ellipsis keeps words",
     "abcdefgh",
     kWrap | kEdit | kWord,
     {0, 0, 20, 100},
     "0,0,18:ab...|h13"},
    // Which lines are drawn: through the first partly visible one; with DT_EDITCONTROL those
    // that fit with one pixel to spare, and always the first.
    {"clipped", "a b c d e", kWrap, {0, 0, 6, 30}, "0,0,6:a|0,13,6:b|0,26,6:c|h39"},
    {"no clip",
     "a b c d e",
     kWrap | DT_NOCLIP,
     {0, 0, 6, 30},
     "0,0,6:a|0,13,6:b|0,26,6:c|0,39,6:d|0,52,6:e|h65 unclipped"},
    {"edit control", "a b c d e", kWrap | kEdit, {0, 0, 6, 30}, "0,0,6:a|0,13,6:b|h26"},
    {"edit control, 38",
     "a b c d e",
     kWrap | kEdit,
     {0, 0, 6, 38},
     "0,0,6:a|0,13,6:b|0,26,6:c|h39"},
    {"edit control, 37", "a b c d e", kWrap | kEdit, {0, 0, 6, 37}, "0,0,6:a|0,13,6:b|h26"},
    {"edit control, 3", "a b c d e", kWrap | kEdit, {0, 0, 6, 3}, "0,0,6:a|h13"},
    // Ellipses.
    {"end", "abcdefghij", kOne | kEnd, {0, 0, 40, 20}, "0,0,36:abcde...|h13"},
    {"end, fits", "abcdefghij", kOne | kEnd, {0, 0, 60, 20}, "0,0,60:abcdefghij|h13"},
    {"end, centred after",
     "abcdefghij",
     kOne | kEnd | DT_CENTER,
     {0, 0, 40, 20},
     "2,0,36:abcde...|h13"},
    {"end of the last line",
     "aaa bbb ccc ddd",
     kWrap | kEnd | kEdit,
     {0, 0, 50, 13},
     "0,0,50:aaa bbb ...|h13"},
    {"end of a last line below",
     "aaa bbb ccc ddd",
     kWrap | kEnd,
     {0, 0, 50, 13},
     "0,0,44:aaa bbb |0,13,40:ccc ddd|h26"},
    {"end before more paragraphs", "abc\ndef", kEnd | kEdit, {0, 0, 50, 13}, "0,0,24:abc...|h13"},
    {"word cuts every long line",
     "aaa bbbbbbbbbb ccc",
     kWrap | kWord,
     {0, 0, 40, 200},
     "0,0,22:aaa |0,13,36:bbbbb...|0,26,18:ccc|h39"},
    {"end leaves inner ones",
     "aaa bbbbbbbbbb ccc",
     kWrap | kEnd,
     {0, 0, 40, 200},
     "0,0,22:aaa |0,13,60:bbbbbbbbbb|0,26,18:ccc|h39"},
    {"end cuts the last one",
     "aaa bbbbbbbbbb",
     kWrap | kEnd,
     {0, 0, 40, 200},
     "0,0,22:aaa |0,13,36:bbbbb...|h26"},
    {"path",
     "c:\\dir\\sub\\file.txt",
     kOne | kPath,
     {0, 0, 80, 20},
     "0,0,80:c:\\d...\\file.txt|h13"},
    {"path, then end",
     "c:\\dir\\sub\\file.txt",
     kOne | kPath | kEnd,
     {0, 0, 50, 20},
     "0,0,48:c:\\dir\\...|h13"},
    {"modify",
     "abcdefghij",
     kOne | kEnd | kModify,
     {0, 0, 40, 20},
     "0,0,36:abcde...|h13 => abcde..."},
    {"modify one of three",
     "x\n&abcdefghij\ny",
     kEnd | kModify,
     {0, 0, 40, 100},
     "0,0,6:x|0,13,36:abcde... _0-5@24|0,26,6:y|h39 => x\nabcde...\ny"},
    {"modify, fits", "abc", kOne | kEnd | kModify, {0, 0, 40, 20}, "0,0,18:abc|h13"},
    {"modify a path",
     "c:\\dir\\sub\\file.txt",
     kOne | kPath | kModify,
     {0, 0, 80, 20},
     "0,0,80:c:\\d...\\file.txt|h13 => c:\\d...\\file.txt"},
    // Prefixes.
    {"prefix", "&File", kOne, {10, 20, 200, 60}, "10,20,24:File _10-15@31|h13"},
    {"prefix inside", "Sa&ve", kOne, {0, 0, 200, 60}, "0,0,24:Save _12-17@11|h13"},
    {"doubled", "a&&b", kOne, {0, 0, 200, 60}, "0,0,18:a&b|h13"},
    {"doubled, then prefix", "&&&x", kOne, {0, 0, 200, 60}, "0,0,12:&x _6-11@11|h13"},
    {"trailing", "abc&", kOne, {0, 0, 200, 60}, "0,0,18:abc|h13"},
    {"no prefix", "&File", kOne | DT_NOPREFIX, {0, 0, 200, 60}, "0,0,30:&File|h13"},
    {"hidden prefix", "&File", kOne | DT_HIDEPREFIX, {0, 0, 200, 60}, "0,0,24:File|h13"},
    {"prefix only",
     "&File",
     kOne | DT_PREFIXONLY,
     {0, 0, 200, 60},
     "0,0,24:File _0-5@11|h13 prefix-only"},
    {"prefix on a wrapped line",
     "aaa &bbb",
     kWrap,
     {0, 0, 30, 100},
     "0,0,22:aaa |0,13,18:bbb _0-5@24|h26"},
    {"prefix cut away", "abcdefg&hij", kOne | kEnd, {0, 0, 40, 20}, "0,0,36:abcde...|h13"},
    // Tabs: stops every eight average characters, or as many as bits 8-15 of DT_TABSTOP say
    // (then no flags: 0x400 would otherwise be DT_CALCRECT).
    {"tab", "a\tb", kOne | DT_EXPANDTABS, {10, 0, 200, 20}, "10,0,46:[10]a[50]b|h13"},
    {"tab stop",
     "a\tb",
     kOne | DT_EXPANDTABS | DT_TABSTOP | (4u << 8),
     {0, 0, 200, 20},
     "0,0,26:[0]a[20]b|h13"},
    {"tab not expanded", "a\tb", kOne, {0, 0, 200, 20}, "0,0,18:a\tb|h13"},
};

TEST(TextLayout, LinesPlacesCutsAndHeights) {
    for (const Row& row : kRows)
        EXPECT_EQ(Describe(Lay(row.text, row.flags, row.rect)), row.expected) << row.name;
}

TEST(TextLayout, CalcRectIsTheExtentOfTheLines) {
    const struct {
        const char* text;
        UINT flags;
        RECT rect, expected;
        int height;
    } rows[] = {
        {"Hello", kOne | kCalc, {5, 5, 6, 6}, {5, 5, 35, 18}, 13},
        {"&File", kOne | kCalc, {0, 0, 1, 1}, {0, 0, 24, 13}, 13},  // the shown text's width
        {"aaa bbb ccc", kWrap | kCalc, {0, 10, 50, 11}, {0, 10, 44, 36}, 26},
        {"abcdefghijkl x", kWrap | kCalc, {0, 0, 50, 0}, {0, 0, 72, 26}, 26},  // widened
        {"a b c d e", kWrap | kCalc, {0, 0, 6, 30}, {0, 0, 6, 65}, 65},
        {"", kCalc, {3, 4, 50, 60}, {3, 4, 3, 4}, 13},  // one line high only for a single line
        {"", kCalc | kOne, {3, 4, 50, 60}, {3, 4, 3, 17}, 13},
    };
    for (const auto& row : rows) {
        const TextLayout l = Lay(row.text, row.flags, row.rect);
        EXPECT_EQ(l.calcRect, row.expected) << row.text;
        EXPECT_EQ(l.height, row.height) << row.text;
    }
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

}  // namespace
}  // namespace zo::plat::text
