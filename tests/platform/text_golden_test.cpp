// Reference images of text: sheets of faces, sizes and styles, DrawTextA flags, and turned
// text, each rendered into a memory bitmap and compared exactly with tests/golden/text/<name>.png.
// On a mismatch the actual image and a diff are written to <build>/golden-out/text. After an
// intended change in text drawing, regenerate them with
//     ZO_UPDATE_GOLDEN=1 build/default/tests/test_platform --gtest_filter='TextGolden*'
// and review the changed files before committing.
//
// The pixels depend on the installed faces: the sheets were made with the DejaVu family, and a
// machine that resolves the requested names to other faces skips them rather than fail.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/Gdi.h"
#include "platform/Image.h"
#include "platform/Text.h"
#include "platform/image/ImageCompare.h"
#include "text_support.h"

namespace zo::plat::test {
namespace {

LOGFONTA Style(const char* face, LONG height, LONG weight, bool italic, bool underline = false,
               bool strikeOut = false, LONG escapement = 0) {
    LOGFONTA lf = Lf(face, height, weight, italic ? 1 : 0, escapement);
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strikeOut;
    return lf;
}

void Frame(HDC dc, const RECT& r) {
    const RECT outside{r.left - 1, r.top - 1, r.right + 1, r.bottom + 1};
    FrameRect(dc, &outside, Owned(CreateSolidBrush(RGB(160, 160, 160))));
}

// Every face at four sizes, then the styles, in Windows-1252 text with accented letters and
// the euro sign, then an opaque background in colour.
void FacesSheet(const TextCanvas& c) {
    int y = 4;
    for (const char* face : {"MS Sans Serif", "Tahoma", "Times New Roman", "Courier New"}) {
        for (const LONG h : {-11, -13, -16, 20}) {
            const UseFont f(c.dc, Lf(face, h));
            c.Out(4, y,
                  std::string(face) + " " + std::to_string(h) +
                      ": Quick brown fox & 0123 \xE0\xE9\xF1\xFC \x80 {[|]}");
            y += c.Tm().tmHeight + 2;
        }
    }
    const struct {
        const char* name;
        LOGFONTA lf;
    } styles[] = {
        {"Bold", Style("MS Sans Serif", -13, FW_BOLD, false)},
        {"Italic", Style("MS Sans Serif", -13, FW_NORMAL, true)},
        {"Bold italic", Style("MS Sans Serif", -13, FW_BOLD, true)},
        {"Underline", Style("MS Sans Serif", -13, FW_NORMAL, false, true)},
        {"Strike out", Style("MS Sans Serif", -13, FW_NORMAL, false, false, true)},
        {"Serif, all at once", Style("Times New Roman", -16, FW_BOLD, true, true)},
    };
    int x = 4, i = 0;
    for (const auto& s : styles) {
        const UseFont f(c.dc, s.lf);
        SetTextColor(c.dc, i++ % 2 ? RGB(0, 0, 160) : RGB(0, 0, 0));
        c.Out(x, y, s.name);
        x += c.Cx(s.name) + 12;
    }
    const UseFont f(c.dc, Lf("MS Sans Serif", -11));
    SetBkMode(c.dc, OPAQUE);
    SetBkColor(c.dc, RGB(10, 36, 106));
    SetTextColor(c.dc, RGB(255, 255, 255));
    c.Out(4, y + 22, "Highlighted text on an opaque background");
}

// DrawTextA cells: each rectangle framed in grey, the text drawn with one set of flags.
void FlagsSheet(const TextCanvas& c) {
    const UseFont f(c.dc, Lf("MS Sans Serif", -11));
    constexpr UINT kOne = DT_SINGLELINE, kMid = DT_SINGLELINE | DT_VCENTER, kWrap = DT_WORDBREAK;
    const struct {
        const char* text;
        UINT format;
    } cells[] = {
        {"Left", kMid | DT_LEFT},
        {"Centre", kMid | DT_CENTER},
        {"Right", kMid | DT_RIGHT},
        {"Bottom right", kOne | DT_RIGHT | DT_BOTTOM},
        {"Words break across the lines of this cell", kWrap},
        {"Words break across the lines, centred", kWrap | DT_CENTER},
        {"A caption far too long to fit in the cell", kOne | DT_END_ELLIPSIS},
        {"Wrapped text cut with dots at the last visible line of the cell",
         kWrap | DT_END_ELLIPSIS | DT_EDITCONTROL},
        {"C:\\Program Files\\ZoBtnBar\\pictures\\folder.bmp", kOne | DT_PATH_ELLIPSIS},
        {"Tiny Supercalifragilisticexpialidocious ok", kWrap | DT_WORD_ELLIPSIS},
        {"&File and &&Edit", kMid},
        {"&File hidden prefix", kMid | DT_HIDEPREFIX},
        {"&File no prefix", kMid | DT_NOPREFIX},
        {"1\t22\t3", kOne | DT_EXPANDTABS},
        {"Pneumonoultramicroscopic split", kWrap | DT_EDITCONTROL},
        {"Overflowing text without clipping", kOne | DT_NOCLIP},
    };
    int i = 0;
    for (const auto& cell : cells) {
        const int left = 6 + i % 4 * 126, top = 6 + i / 4 * 48;
        RECT r{left, top, left + 110, top + 36};
        Frame(c.dc, r);
        SetTextColor(c.dc, i++ % 3 == 2 ? RGB(128, 0, 0) : RGB(0, 0, 0));
        DrawTextA(c.dc, cell.text, -1, &r, cell.format);
    }
}

// Turned text: TextOutA at the four right angles and at 45 degrees with its reference point
// in red, and DrawTextA in turned rectangles as the control draws its vertical group headers.
void TurnedSheet(const TextCanvas& c) {
    const struct {
        LONG esc;
        int x, y;
    } outs[] = {{0, 20, 20}, {900, 20, 190}, {1800, 200, 40}, {2700, 150, 60}, {450, 70, 190}};
    for (const auto& o : outs) {
        const UseFont f(c.dc, Style("MS Sans Serif", -13, FW_NORMAL, false, false, false, o.esc));
        c.Out(o.x, o.y, "Turned " + std::to_string(o.esc / 10));
        SetPixel(c.dc, o.x, o.y, RGB(255, 0, 0));
    }
    const UseFont f(c.dc, Style("MS Sans Serif", -11, FW_BOLD, false, false, false, 900));
    const struct {
        const char* text;
        UINT format;
    } headers[] = {
        {"Group header", DT_SINGLELINE | DT_CENTER | DT_VCENTER},
        {"Left", DT_SINGLELINE | DT_LEFT | DT_VCENTER},
        {"A header far too long for its bar", DT_SINGLELINE | DT_END_ELLIPSIS | DT_VCENTER}};
    int k = 0;
    for (const auto& h : headers) {
        RECT r{210 + k * 30, 80, 232 + k * 30, 196};
        ++k;
        Frame(c.dc, r);
        DrawTextA(c.dc, h.text, -1, &r, h.format);
    }
}

struct Sheet {
    const char* name;
    int width, height;
    std::function<void(const TextCanvas&)> draw;
};
void PrintTo(const Sheet& s, std::ostream* os) {
    *os << s.name;
}

class TextGolden : public ::testing::TestWithParam<Sheet> {};

TEST_P(TextGolden, MatchesTheReferenceImage) {
    // The faces the references were drawn with.
    const std::pair<const char*, const char*> faces[] = {{"MS Sans Serif", "DejaVu Sans"},
                                                         {"Tahoma", "DejaVu Sans"},
                                                         {"Times New Roman", "DejaVu Serif"},
                                                         {"Courier New", "DejaVu Sans Mono"}};
    for (const auto& [requested, used] : faces)
        if (FaceOf(requested) != used)
            GTEST_SKIP() << requested << " resolves to " << FaceOf(requested) << ", not " << used
                         << "; the references do not apply";
    const Sheet& s = GetParam();
    const TextCanvas c(s.width, s.height);
    s.draw(c);
    Image img;
    ASSERT_TRUE(ImageFromDc(c.dc, img));
    img.hasAlpha = false;
    EXPECT_EQ(CompareWithReference(
                  img, std::string(ZO_SOURCE_DIR) + "/tests/golden/text/" + s.name + ".png",
                  std::string(ZO_BINARY_DIR) + "/golden-out/text"),
              "");
}

INSTANTIATE_TEST_SUITE_P(Sheets, TextGolden,
                         ::testing::Values(Sheet{"faces", 560, 360, FacesSheet},
                                           Sheet{"flags", 520, 200, FlagsSheet},
                                           Sheet{"turned", 320, 210, TurnedSheet}),
                         [](const ::testing::TestParamInfo<Sheet>& i) { return i.param.name; });

}  // namespace
}  // namespace zo::plat::test
