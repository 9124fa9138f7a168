// DrawTextA's layout without pixels: a fixed-width measure (letters 6 px, space 4 px, '.' 2 px)
// makes every cut and position computable by hand; the cases are in data/text/layout.txt.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <sstream>
#include <string>
#include <vector>

#include "core/TestData.h"
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

// The layout as data/text/layout.txt writes it (a DT_CALCRECT layout is not clipped).
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
    out += (out.empty() ? "h" : " h") + std::to_string(l.height);
    if (l.clip == ((flags & DT_CALCRECT) != 0)) out += l.clip ? " clipped" : " noclip";
    if (!l.drawText) out += " prefix-only";
    const RECT& c = l.calcRect;
    if (flags & DT_CALCRECT)
        out += " calc " + std::to_string(c.left) + "," + std::to_string(c.top) + "," +
               std::to_string(c.right) + "," + std::to_string(c.bottom);
    if (l.modified) out += " => " + l.modifiedText;
    return out;
}

// The rows of data/text/layout.txt, which describes its columns.
TEST(TextLayout, LinesPlacesCutsAndHeights) {
    // The DT_ flags the rows name, and their values in the same order.
    const std::vector<std::string> names = {
        "SINGLELINE",   "WORDBREAK",     "EDITCONTROL",     "CENTER",       "RIGHT",
        "VCENTER",      "BOTTOM",        "EXTERNALLEADING", "NOCLIP",       "CALCRECT",
        "END_ELLIPSIS", "WORD_ELLIPSIS", "PATH_ELLIPSIS",   "MODIFYSTRING", "NOPREFIX",
        "HIDEPREFIX",   "PREFIXONLY",    "EXPANDTABS",      "TABSTOP",      "-"};
    const std::vector<UINT> values = {
        DT_SINGLELINE,   DT_WORDBREAK,     DT_EDITCONTROL,     DT_CENTER,       DT_RIGHT,
        DT_VCENTER,      DT_BOTTOM,        DT_EXTERNALLEADING, DT_NOCLIP,       DT_CALCRECT,
        DT_END_ELLIPSIS, DT_WORD_ELLIPSIS, DT_PATH_ELLIPSIS,   DT_MODIFYSTRING, DT_NOPREFIX,
        DT_HIDEPREFIX,   DT_PREFIXONLY,    DT_EXPANDTABS,      DT_TABSTOP,      0};
    const auto field = [](std::string s, bool unescape) {
        s.erase(s.find_last_not_of(' ') + 1);
        s.erase(0, s.find_first_not_of(' '));
        for (const auto& [from, to] : {std::pair{"\\n", '\n'}, {"\\r", '\r'}, {"\\t", '\t'}})
            for (std::size_t at = 0; unescape && (at = s.find(from)) != std::string::npos;)
                s.replace(at, 2, 1, to);
        return s;
    };
    zo::testing::RunScript(
        "tests/platform/data/text", "layout", [&](const std::string& line, auto&, int) {
            std::vector<std::string> f;
            for (std::size_t at = 0, bar = 0; f.size() < 5; at = bar + 1) {
                bar = f.size() < 4 ? line.find('|', at) : std::string::npos;
                f.push_back(field(line.substr(at, bar - at), f.size() >= 3));
            }
            UINT flags = 0;
            RECT r{};
            std::istringstream words(f[1]), numbers(f[2]);
            for (std::string n; words >> n;)
                flags |= std::isdigit(n[0])
                             ? std::stoul(n) << 8
                             : values.at(static_cast<std::size_t>(
                                   std::find(names.begin(), names.end(), n) - names.begin()));
            numbers >> r.left >> r.top >> r.right >> r.bottom;
            EXPECT_EQ(Describe(Lay(f[3], flags, r), r, flags), f[4]);
        });
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
    EXPECT_EQ(Lay("Hello", DT_SINGLELINE | DT_CENTER | DT_VCENTER, huge).lines.size(), 1u);
    std::string longText;
    for (int i = 0; i < 20000; ++i)
        longText += "word ";
    const TextLayout l = Lay(longText, DT_WORDBREAK | DT_CALCRECT, RECT{0, 0, 200, 0});
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
