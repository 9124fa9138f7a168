// The resource cache, the drawing helpers and the control's gradients on real bitmaps.
#include <gtest/gtest.h>

#include <vector>

#include "core/Enums.h"
#include "platform/Display.h"
#include "platform/Gdi.h"
#include "platform/GdiInternal.h"
#include "render/CResoureMgr.h"
#include "render/Primitives.h"
#include "render/Utils.h"

namespace zo {
namespace {

class Cache : public ::testing::Test {
protected:
    void SetUp() override { plat::InitDisplay(plat::DisplayKind::Offscreen, 640, 480); }
    void TearDown() override {
        for (const plat::HDC dc : dcs)
            plat::DeleteDC(dc);
        for (const plat::HBITMAP b : bitmaps)
            plat::DeleteObject(b);
        plat::ShutdownDisplay();
    }
    // A memory device context over a new 32-bit bitmap of w x h pixels.
    plat::HDC Canvas(int w, int h) {
        dcs.push_back(plat::CreateCompatibleDC(0));
        bitmaps.push_back(plat::CreateBitmap(w, h, 1, 32, nullptr));
        plat::SelectObject(dcs.back(), bitmaps.back());
        return dcs.back();
    }

    CResoureMgr cache;
    std::vector<plat::HDC> dcs;
    std::vector<plat::HBITMAP> bitmaps;
};
using Utils = Cache;
using Gradients = Cache;

TEST_F(Cache, SameAttributesReuseTheHandleOtherAttributesReplaceIt) {
    const plat::HBRUSH a = cache.GetBrush(0x112233, "BUTTONBACK");
    EXPECT_NE(a, 0u);
    EXPECT_EQ(cache.GetBrush(0x112233, "BUTTONBACK"), a);
    const plat::HBRUSH b = cache.GetBrush(0x445566, "BUTTONBACK");
    EXPECT_NE(b, 0u);
    // The old handle was deleted: the platform no longer knows it.
    EXPECT_EQ(plat::GetGdi(a, plat::GdiKind::Brush), nullptr);
    EXPECT_NE(cache.GetBrush(0x112233, "OtherKey"), b);
    const plat::HPEN p = cache.GetPen(0, "ArrowColor");
    EXPECT_EQ(cache.GetPen(0, "ArrowColor"), p);
    EXPECT_NE(cache.GetPen(0, "ArrowColor", 0, 1), p);
}

TEST_F(Cache, FontsAreRecreatedOnAnyAttributeOrOrientationChangeAndLongNamesAreCut) {
    StdFont font;
    const plat::HFONT upright = cache.GetFont(font, "GROUPFONT", 0);
    EXPECT_EQ(cache.GetFont(font, "GROUPFONT", 0), upright);
    EXPECT_EQ(cache.GetFont(font, "GROUPFONT", 3600), upright);  // orientation modulo 3600
    const plat::HFONT turned = cache.GetFont(font, "GROUPFONT", 900);
    EXPECT_NE(turned, upright);
    const plat::GdiObject* obj = plat::GetGdi(turned, plat::GdiKind::Font);
    ASSERT_NE(obj, nullptr);
    // 8.25 points become 8: -MulDiv(8, 96, 72) = -11.
    const plat::LOGFONTA& lf = obj->font.lf;
    EXPECT_EQ(
        std::vector<long>({lf.lfEscapement, lf.lfOrientation, lf.lfOutPrecision, lf.lfHeight}),
        std::vector<long>({900, 900, 7, -11}));
    StdFont other;
    other.SetName("ms sans serif");  // names compare with letter case
    EXPECT_NE(cache.GetFont(other, "GROUPFONT", 900), turned);
    // Long face names are cut to fit the field.
    font.SetName(std::string(40, 'F'));
    obj = plat::GetGdi(cache.GetFont(font, "BUTTONFONT"), plat::GdiKind::Font);
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(std::string(obj->font.lf.lfFaceName), std::string(31, 'F'));
    EXPECT_EQ(FaceNameForLogFont("Caf\xC3\xA9"), "Caf\xE9");  // converted to the 8-bit page
}

// Gradients black to white over a red canvas: one line of pixels across each routine and kind,
// so a flipped sign or a shifted band shows as a wrong grey, and what "no gradient" paints in
// either routine.
constexpr std::int32_t kRed = 0x0000FF;  // COLORREF order: red in the low byte
constexpr int R = -1;                    // a pixel left as it was (the red canvas)

// The kinds by their first letters: None, Horizontal, Vertical, Horizontal Centre, Vertical Centre.
constexpr std::int32_t N = zoGradientNone, H = zoGradientHorizontal, V = zoGradientVertical,
                       HC = zoGradientHorizontalCenter, VC = zoGradientVerticalCenter;

struct Row {
    const char* name;
    std::int32_t type;
    Rect rect;               // drawn into a canvas one pixel larger on each side
    std::vector<int> greys;  // along the middle row, or down the middle column for V and VC
};

const Row kRows[] = {
    {"smooth N", N, {1, 1, 4, 4}, {R, 255, 255, 255, R}},
    {"banded N", N, {1, 1, 4, 4}, {R, R, R, R, R}},
    {"smooth H", H, {1, 1, 9, 2}, {R, 0, 36, 72, 109, 145, 182, 218, 255, R}},
    {"smooth V", V, {1, 1, 2, 9}, {R, 0, 36, 72, 109, 145, 182, 218, 255, R}},
    {"smooth HC", HC, {1, 1, 6, 4}, {R, 255, 0, 0, 127, 255, R}},
    {"smooth VC", VC, {1, 1, 4, 8}, {R, 255, 170, 85, 0, 0, 127, 255, R}},
    // Each band takes the colour of its far end; the last one at x = right is forced.
    {"banded H", H, {1, 1, 11, 2}, {R, 25, 51, 77, 102, 128, 153, 178, 204, 230, 255, R}},
    // No band is forced at the bottom: the last row keeps what was there.
    {"banded V", V, {1, 1, 2, 11}, {R, 25, 51, 77, 102, 128, 153, 178, 204, 230, R, R}},
    // Bands grow out from the centre line both ways; the outermost pixels are never painted.
    {"banded HC", HC, {1, 1, 11, 2}, {R, R, 204, 153, 102, 51, 51, 102, 153, 204, R, R}},
    {"banded VC", VC, {1, 1, 2, 11}, {R, R, 204, 153, 102, 51, 51, 102, 153, 204, R, R}},
    // Extents beyond 16 bits are refused quietly.
    {"smooth N too wide", N, {-40000, 1, 4, 4}, {R, R, R, R, R}},
    {"banded H too wide", H, {-40000, 1, 4, 2}, {R, R, R, R, R}},
};

TEST_F(Gradients, EachKindPaintsItsBandsWhereTheyBelong) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        const int w = row.rect.right + 1, h = row.rect.bottom + 1;
        const bool columns = row.type == V || row.type == VC;
        const plat::HDC dc = Canvas(w, h);
        const plat::RECT all{0, 0, w, h};
        plat::FillRect(dc, &all, cache.GetBrush(kRed, "Canvas"));
        (row.name[0] == 'b' ? FillGradientBanded : FillGradientSmooth)(
            cache, dc, row.rect, 0x000000, 0xFFFFFF, row.type);
        std::vector<int> greys;
        for (int i = 0; i < (columns ? h : w); ++i) {
            const auto c = static_cast<std::int32_t>(
                plat::GetPixel(dc, columns ? w / 2 : i, columns ? i : h / 2));
            greys.push_back(c == kRed ? R : c == (c & 0xFF) * 0x010101 ? c & 0xFF : -2);
        }
        EXPECT_EQ(greys, row.greys);
    }
}

}  // namespace
}  // namespace zo
