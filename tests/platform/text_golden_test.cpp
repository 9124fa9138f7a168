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

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/Gdi.h"
#include "platform/Image.h"
#include "platform/Text.h"
#include "platform/gdi_canvas.h"
#include "platform/image/ImageCompare.h"

namespace zo::plat {
namespace {

using test::Canvas;

struct FontSpec {
    const char* face;
    LONG height;
    LONG weight = FW_NORMAL;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    LONG escapement = 0;
};

// Selects a font for the life of the object.
class UseFont {
public:
    UseFont(HDC dc, const FontSpec& s) : dc_(dc) {
        LOGFONTA lf;
        lf.lfHeight = s.height;
        lf.lfWeight = s.weight;
        lf.lfItalic = s.italic;
        lf.lfUnderline = s.underline;
        lf.lfStrikeOut = s.strikeOut;
        lf.lfEscapement = lf.lfOrientation = s.escapement;
        std::strncpy(lf.lfFaceName, s.face, sizeof lf.lfFaceName - 1);
        font_ = CreateFontIndirectA(&lf);
        old_ = SelectObject(dc_, font_);
    }
    ~UseFont() {
        SelectObject(dc_, old_);
        DeleteObject(font_);
    }
    UseFont(const UseFont&) = delete;
    UseFont& operator=(const UseFont&) = delete;

private:
    HDC dc_;
    HFONT font_;
    HGDIOBJ old_;
};

std::string FaceOf(const char* requested) {
    Canvas c(1, 1);
    UseFont f(c.dc, FontSpec{requested, -12});
    char name[64] = {};
    GetTextFaceA(c.dc, sizeof name, name);
    return name;
}

void Frame(HDC dc, RECT r, COLORREF colour) {
    HBRUSH b = CreateSolidBrush(colour);
    FrameRect(dc, &r, b);
    DeleteObject(b);
}

void Out(HDC dc, int x, int y, const std::string& s) {
    TextOutA(dc, x, y, s.data(), static_cast<int>(s.size()));
}

// ---- The sheets ----------------------------------------------------------------------------

// Every face at four sizes, then the styles, in Windows-1252 text with accented letters and
// the euro sign.
void FacesSheet(Canvas& c) {
    SetBkMode(c.dc, TRANSPARENT);
    int y = 4;
    for (const char* face : {"MS Sans Serif", "Tahoma", "Times New Roman", "Courier New"}) {
        for (const LONG h : {-11, -13, -16, 20}) {
            UseFont f(c.dc, FontSpec{face, h});
            Out(c.dc, 4, y,
                std::string(face) + " " + std::to_string(h) +
                    ": Quick brown fox & 0123 \xE0\xE9\xF1\xFC \x80 {[|]}");
            TEXTMETRICA tm;
            GetTextMetricsA(c.dc, &tm);
            y += tm.tmHeight + 2;
        }
    }
    const FontSpec styles[] = {
        {"MS Sans Serif", -13, FW_BOLD},
        {"MS Sans Serif", -13, FW_NORMAL, true},
        {"MS Sans Serif", -13, FW_BOLD, true},
        {"MS Sans Serif", -13, FW_NORMAL, false, true},
        {"MS Sans Serif", -13, FW_NORMAL, false, false, true},
        {"Times New Roman", -16, FW_BOLD, true, true},
    };
    const char* names[] = {"Bold",      "Italic",     "Bold italic",
                           "Underline", "Strike out", "Serif, all at once"};
    int x = 4;
    for (int i = 0; i < 6; ++i) {
        UseFont f(c.dc, styles[i]);
        SetTextColor(c.dc, i % 2 ? RGB(0, 0, 160) : RGB(0, 0, 0));
        Out(c.dc, x, y, names[i]);
        SIZE sz;
        GetTextExtentPoint32A(c.dc, names[i], static_cast<int>(std::strlen(names[i])), &sz);
        x += sz.cx + 12;
    }
    // An opaque background in colour.
    UseFont f(c.dc, FontSpec{"MS Sans Serif", -11});
    SetBkMode(c.dc, OPAQUE);
    SetBkColor(c.dc, RGB(10, 36, 106));
    SetTextColor(c.dc, RGB(255, 255, 255));
    Out(c.dc, 4, y + 22, "Highlighted text on an opaque background");
}

// DrawTextA cells: each rectangle framed in grey, the text drawn with one set of flags.
void FlagsSheet(Canvas& c) {
    SetBkMode(c.dc, TRANSPARENT);
    UseFont f(c.dc, FontSpec{"MS Sans Serif", -11});
    struct Cell {
        const char* text;
        UINT format;
    };
    const Cell cells[] = {
        {"Left", DT_SINGLELINE | DT_LEFT | DT_VCENTER},
        {"Centre", DT_SINGLELINE | DT_CENTER | DT_VCENTER},
        {"Right", DT_SINGLELINE | DT_RIGHT | DT_VCENTER},
        {"Bottom right", DT_SINGLELINE | DT_RIGHT | DT_BOTTOM},
        {"Words break across the lines of this cell", DT_WORDBREAK},
        {"Words break across the lines, centred", DT_WORDBREAK | DT_CENTER},
        {"A caption far too long to fit in the cell", DT_SINGLELINE | DT_END_ELLIPSIS},
        {"Wrapped text cut with dots at the last visible line of the cell",
         DT_WORDBREAK | DT_END_ELLIPSIS | DT_EDITCONTROL},
        {"C:\\Program Files\\ZoBtnBar\\pictures\\folder.bmp", DT_SINGLELINE | DT_PATH_ELLIPSIS},
        {"Tiny Supercalifragilisticexpialidocious ok", DT_WORDBREAK | DT_WORD_ELLIPSIS},
        {"&File and &&Edit", DT_SINGLELINE | DT_VCENTER},
        {"&File hidden prefix", DT_SINGLELINE | DT_VCENTER | DT_HIDEPREFIX},
        {"&File no prefix", DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX},
        {"1\t22\t3", DT_SINGLELINE | DT_EXPANDTABS},
        {"Pneumonoultramicroscopic split", DT_WORDBREAK | DT_EDITCONTROL},
        {"Overflowing text without clipping", DT_SINGLELINE | DT_NOCLIP},
    };
    constexpr int kW = 110, kH = 36, kCols = 4;
    int i = 0;
    for (const Cell& cell : cells) {
        const int col = i % kCols, row = i / kCols;
        RECT r{6 + col * (kW + 16), 6 + row * (kH + 12), 0, 0};
        r.right = r.left + kW;
        r.bottom = r.top + kH;
        Frame(c.dc, RECT{r.left - 1, r.top - 1, r.right + 1, r.bottom + 1}, RGB(160, 160, 160));
        SetTextColor(c.dc, i % 3 == 2 ? RGB(128, 0, 0) : RGB(0, 0, 0));
        DrawTextA(c.dc, cell.text, -1, &r, cell.format);
        ++i;
    }
}

// Turned text: TextOutA at the four right angles and at 45 degrees, and DrawTextA in turned
// rectangles as the control draws its vertical group headers.
void TurnedSheet(Canvas& c) {
    SetBkMode(c.dc, TRANSPARENT);
    const struct {
        LONG esc;
        int x, y;
    } outs[] = {{0, 20, 20}, {900, 20, 190}, {1800, 200, 40}, {2700, 150, 60}, {450, 70, 190}};
    for (const auto& o : outs) {
        UseFont f(c.dc, FontSpec{"MS Sans Serif", -13, FW_NORMAL, false, false, false, o.esc});
        SetTextColor(c.dc, RGB(0, 0, 0));
        Out(c.dc, o.x, o.y, "Turned " + std::to_string(o.esc / 10));
        // The reference point.
        SetPixel(c.dc, o.x, o.y, RGB(255, 0, 0));
    }
    UseFont f(c.dc, FontSpec{"MS Sans Serif", -11, FW_BOLD, false, false, false, 900});
    const UINT formats[] = {DT_SINGLELINE | DT_CENTER | DT_VCENTER,
                            DT_SINGLELINE | DT_LEFT | DT_VCENTER,
                            DT_SINGLELINE | DT_END_ELLIPSIS | DT_VCENTER};
    const char* texts[] = {"Group header", "Left", "A header far too long for its bar"};
    for (int k = 0; k < 3; ++k) {
        RECT r{210 + k * 30, 80, 232 + k * 30, 196};
        Frame(c.dc, RECT{r.left - 1, r.top - 1, r.right + 1, r.bottom + 1}, RGB(160, 160, 160));
        DrawTextA(c.dc, texts[k], -1, &r, formats[k]);
    }
}

struct Sheet {
    const char* name;
    int width, height;
    std::function<void(Canvas&)> draw;
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
    Canvas c(s.width, s.height);
    s.draw(c);
    Image img;
    ASSERT_TRUE(ImageFromDc(c.dc, img));
    img.hasAlpha = false;
    const std::string diff = CompareWithReference(
        img, std::string(ZO_SOURCE_DIR) + "/tests/golden/text/" + s.name + ".png",
        std::string(ZO_BINARY_DIR) + "/golden-out/text");
    EXPECT_EQ(diff, "") << s.name;
}

INSTANTIATE_TEST_SUITE_P(Sheets, TextGolden,
                         ::testing::Values(Sheet{"faces", 560, 360, FacesSheet},
                                           Sheet{"flags", 520, 200, FlagsSheet},
                                           Sheet{"turned", 320, 210, TurnedSheet}),
                         [](const ::testing::TestParamInfo<Sheet>& i) { return i.param.name; });

}  // namespace
}  // namespace zo::plat
