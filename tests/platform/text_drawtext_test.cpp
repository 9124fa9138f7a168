// DrawTextA with a real font on known strings: where lines break, where each ellipsis flag cuts
// the text and the height it returns. Expected cuts follow the documented rule (the longest
// prefix whose width with "..." fits) measured with the font's own advances, and a layout is
// checked by drawing the expected lines explicitly and comparing every pixel.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/Gdi.h"
#include "platform/Text.h"
#include "platform/gdi_canvas.h"

namespace zo::plat {
namespace {

using test::Canvas;

constexpr COLORREF kWhite = RGB(255, 255, 255);

class FontCanvas : public Canvas {
public:
    explicit FontCanvas(int width = 240, int height = 120, LONG lfHeight = -11)
        : Canvas(width, height) {
        LOGFONTA lf;
        lf.lfHeight = lfHeight;
        lf.lfWeight = FW_NORMAL;
        std::strncpy(lf.lfFaceName, "MS Sans Serif", sizeof lf.lfFaceName - 1);
        font_ = CreateFontIndirectA(&lf);
        old_ = SelectObject(dc, font_);
        SetBkMode(dc, TRANSPARENT);
        TEXTMETRICA tm;
        GetTextMetricsA(dc, &tm);
        lh = tm.tmHeight;
    }
    ~FontCanvas() {
        SelectObject(dc, old_);
        DeleteObject(font_);
    }
    int Cx(const std::string& s) const {
        SIZE sz{};
        GetTextExtentPoint32A(dc, s.data(), static_cast<int>(s.size()), &sz);
        return sz.cx;
    }
    // The longest prefix of s that fits width together with the three dots, then the dots.
    std::string Cut(const std::string& s, int width) const {
        std::size_t n = s.size();
        while (n > 0 && Cx(s.substr(0, n) + "...") > width)
            --n;
        return s.substr(0, n) + "...";
    }
    int Draw(const std::string& s, RECT r, UINT format) {
        Fill(kWhite);
        return DrawTextA(dc, s.c_str(), -1, &r, format);
    }
    std::vector<Pixel> Pixels() const { return Bits().pixels; }

    LONG lh = 0;

private:
    HFONT font_ = 0;
    HGDIOBJ old_ = 0;
};

// Draws `text` with `format` and `expected` (explicit lines) with `plain`, and reports whether
// both give the same pixels.
::testing::AssertionResult SameAs(FontCanvas& c, const std::string& text, UINT format,
                                  const std::string& expected, UINT plain, RECT r) {
    c.Draw(text, r, format);
    const auto got = c.Pixels();
    c.Draw(expected, r, plain);
    if (got == c.Pixels()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "\"" << text << "\" is not drawn as \"" << expected << "\"";
}

// ---- Line breaking -------------------------------------------------------------------------

TEST(TextDrawTextBreaking, WordsBreakAtTheLastSpaceThatFits) {
    FontCanvas c;
    const std::string text = "Mail Calendar Contacts Tasks";
    const int w = std::max(c.Cx("Mail Calendar "), c.Cx("Contacts"));
    ASSERT_GT(c.Cx("Contacts Tasks"), w);
    ASSERT_GT(c.Cx("Mail Calendar Contacts"), w);
    const RECT r{4, 4, 4 + w, 110};
    for (const UINT align : {DT_LEFT, DT_CENTER, DT_RIGHT}) {
        SCOPED_TRACE(align);
        EXPECT_TRUE(
            SameAs(c, text, DT_WORDBREAK | align, "Mail Calendar\nContacts\nTasks", align, r));
        EXPECT_EQ(c.Draw(text, r, DT_WORDBREAK | align), 3 * c.lh);
    }
    RECT calc = r;
    EXPECT_EQ(DrawTextA(c.dc, text.c_str(), -1, &calc, DT_WORDBREAK | DT_CALCRECT), 3 * c.lh);
    // The widest line keeps its trailing space when left aligned.
    EXPECT_EQ(calc,
              (RECT{4, 4, 4 + std::max(c.Cx("Mail Calendar "), c.Cx("Contacts")), 4 + 3 * c.lh}));
}

TEST(TextDrawTextBreaking, NewlinesAndSingleLine) {
    FontCanvas c;
    const RECT r{0, 0, 240, 120};
    EXPECT_EQ(c.Draw("a\r\nb\rc\nd\n\re", r, 0), 5 * c.lh);
    EXPECT_TRUE(SameAs(c, "a\r\nb", DT_SINGLELINE, "a\r\nb", DT_SINGLELINE, r));
    EXPECT_EQ(c.Draw("a\r\nb", r, DT_SINGLELINE), c.lh);
    // A fitting text with DT_WORDBREAK stays on one line.
    EXPECT_EQ(c.Draw("Mail Calendar", r, DT_WORDBREAK), c.lh);
}

TEST(TextDrawTextBreaking, AnOverlongWordOverflowsUnlessEditControlSplitsIt) {
    FontCanvas c;
    const std::string word = "Supercalifragilistic";
    const int w = c.Cx("Supercal");
    const RECT r{0, 0, w, 120};
    EXPECT_TRUE(SameAs(c, word + " ok", DT_WORDBREAK, word + "\nok", 0, r));
    EXPECT_EQ(c.Draw(word + " ok", r, DT_WORDBREAK), 2 * c.lh);
    RECT calc = r;
    DrawTextA(c.dc, (word + " ok").c_str(), -1, &calc, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(calc.right, c.Cx(word));  // grows for the word
    // Split after the last character that fits, every piece within the width.
    std::string lines;
    std::string rest = word;
    int count = 0;
    while (!rest.empty()) {
        std::size_t n = 1;
        while (n < rest.size() && c.Cx(rest.substr(0, n + 1)) <= w)
            ++n;
        lines += (count++ ? "\n" : "") + rest.substr(0, n);
        rest.erase(0, n);
    }
    ASSERT_GE(count, 3);
    EXPECT_TRUE(SameAs(c, word, DT_WORDBREAK | DT_EDITCONTROL, lines, 0, r));
    EXPECT_EQ(c.Draw(word, r, DT_WORDBREAK | DT_EDITCONTROL), count * c.lh);
}

// ---- Ellipses --------------------------------------------------------------------------------

TEST(TextDrawTextEllipsis, EndEllipsisCutsASingleLineAndSaysWhere) {
    FontCanvas c;
    const std::string text = "A caption far too long";
    const RECT r{2, 2, 62, 40};
    const std::string shown = c.Cut(text, 60);
    ASSERT_LT(shown.size(), text.size());
    EXPECT_EQ(shown.compare(0, 2, "A "), 0);
    EXPECT_TRUE(SameAs(c, text, DT_SINGLELINE | DT_END_ELLIPSIS, shown, DT_SINGLELINE, r));
    EXPECT_EQ(c.Draw(text, r, DT_SINGLELINE | DT_END_ELLIPSIS), c.lh);
    std::string modified = text;
    RECT m = r;
    DrawTextA(c.dc, modified, &m, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
    EXPECT_EQ(modified, shown);
    // A text that fits is left whole.
    EXPECT_TRUE(SameAs(c, "Fits", DT_SINGLELINE | DT_END_ELLIPSIS, "Fits", DT_SINGLELINE, r));
    // So narrow that not even a character fits with the dots: the dots alone.
    const RECT narrow{2, 2, 2 + c.Cx("..."), 40};
    EXPECT_TRUE(SameAs(c, text, DT_SINGLELINE | DT_END_ELLIPSIS, "...", DT_SINGLELINE, narrow));
}

TEST(TextDrawTextEllipsis, EndEllipsisMarksTheLastVisibleLineOfWrappedText) {
    FontCanvas c;
    const std::string text = "one two three four five six seven";
    const int w = c.Cx("one two three");
    ASSERT_GT(c.Cx("one two three four"), w);
    // Two whole lines fit; with DT_EDITCONTROL the second is the last and takes the rest of the
    // paragraph, cut to fit with the dots.
    const RECT r{0, 0, w, 2 * c.lh};
    const std::string second = c.Cut("four five six seven", w);
    ASSERT_LT(second.size(), std::string("four five six seven...").size());
    EXPECT_TRUE(SameAs(c, text, DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS,
                       "one two three\n" + second, 0, r));
    EXPECT_EQ(c.Draw(text, r, DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS), 2 * c.lh);
    // Without DT_EDITCONTROL a partly visible third line is still the last drawn: with the
    // rectangle one pixel taller than two lines, the cut moves to the third line.
    const RECT taller{0, 0, w, 2 * c.lh + 1};
    const int height = c.Draw(text, taller, DT_WORDBREAK | DT_END_ELLIPSIS);
    EXPECT_EQ(height, 3 * c.lh);
    // Without the ellipsis flag nothing is cut and the height counts only drawn lines.
    EXPECT_EQ(c.Draw(text, r, DT_WORDBREAK | DT_EDITCONTROL), 2 * c.lh);
}

TEST(TextDrawTextEllipsis, WordEllipsisCutsEveryLineThatDoesNotFit) {
    FontCanvas c;
    const std::string text = "Tiny Extraordinarily Long";
    const int w = c.Cx("Extraord");
    ASSERT_GT(c.Cx("Tiny Long"), w);
    const RECT r{0, 0, w, 120};
    const std::string cut = c.Cut("Extraordinarily", w);
    EXPECT_TRUE(SameAs(c, text, DT_WORDBREAK | DT_WORD_ELLIPSIS, "Tiny\n" + cut + "\nLong", 0, r));
    EXPECT_EQ(c.Draw(text, r, DT_WORDBREAK | DT_WORD_ELLIPSIS), 3 * c.lh);
    // The end ellipsis leaves a word inside the paragraph alone: it overflows instead.
    EXPECT_TRUE(
        SameAs(c, text, DT_WORDBREAK | DT_END_ELLIPSIS, "Tiny\nExtraordinarily\nLong", 0, r));
    // ... but cuts the one that ends it.
    EXPECT_TRUE(
        SameAs(c, "Tiny Extraordinarily", DT_WORDBREAK | DT_END_ELLIPSIS, "Tiny\n" + cut, 0, r));
}

TEST(TextDrawTextEllipsis, PathEllipsisKeepsTheFileName) {
    FontCanvas c;
    const std::string path = "C:\\Program Files\\ZoBtnBar\\picture.bmp";
    const int w = c.Cx("C:\\Pro...\\picture.bmp");
    const RECT r{0, 0, w, 40};
    std::string modified = path;
    RECT m = r;
    EXPECT_EQ(DrawTextA(c.dc, modified, &m, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_MODIFYSTRING),
              c.lh);
    // The directory part is cut like an end ellipsis, the name kept.
    const std::string kept = "\\picture.bmp";
    std::string head = c.Cut("C:\\Program Files\\ZoBtnBar", w - c.Cx(kept));
    EXPECT_EQ(modified, head + kept);
    EXPECT_EQ(modified.compare(0, 5, "C:\\Pr"), 0) << modified;
    EXPECT_LE(c.Cx(modified), w);
    EXPECT_TRUE(SameAs(c, path, DT_SINGLELINE | DT_PATH_ELLIPSIS, modified, DT_SINGLELINE, r));
    // The whole path fits in a wide rectangle and is left alone.
    std::string whole = path;
    RECT wide{0, 0, 400, 40};
    DrawTextA(c.dc, whole, &wide, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_MODIFYSTRING);
    EXPECT_EQ(whole, path);
}

TEST(TextDrawTextEllipsis, ReturnedHeightsWithVerticalPlacement) {
    FontCanvas c;
    const RECT r{0, 10, 60, 50};
    // The height runs from the rectangle's top to the bottom of the placed line.
    EXPECT_EQ(c.Draw("A caption far too long", r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_VCENTER),
              40 / 2 - c.lh / 2 + c.lh);
    EXPECT_EQ(c.Draw("A caption far too long", r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_BOTTOM), 40);
    // DT_VCENTER is ignored for several lines.
    EXPECT_EQ(c.Draw("a\nb", r, DT_VCENTER), 2 * c.lh);
}

}  // namespace
}  // namespace zo::plat
