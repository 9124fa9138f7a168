#include <gtest/gtest.h>

#include "platform/Display.h"
#include "platform/Gdi.h"
#include "platform/GdiInternal.h"
#include "render/CResoureMgr.h"
#include "render/Utils.h"

namespace zo {
namespace {

class Cache : public ::testing::Test {
protected:
    void SetUp() override { plat::InitDisplay(plat::DisplayKind::Offscreen, 640, 480); }
    void TearDown() override { plat::ShutdownDisplay(); }
    CResoureMgr cache;
};

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

TEST_F(Cache, FontsAreRecreatedOnAnyAttributeOrOrientationChange) {
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
}

TEST_F(Cache, LongFaceNamesAreCutToFitTheField) {
    StdFont font;
    font.SetName(std::string(40, 'F'));
    const plat::HFONT f = cache.GetFont(font, "BUTTONFONT");
    const plat::GdiObject* obj = plat::GetGdi(f, plat::GdiKind::Font);
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(std::string(obj->font.lf.lfFaceName), std::string(31, 'F'));
    EXPECT_EQ(FaceNameForLogFont("Caf\xC3\xA9"), "Caf\xE9");  // converted to the 8-bit page
}

// System colours, plain colours and the split into channels are in every reference image and
// gradient test; font comparison in the font cache's tests above.
TEST(Utils, CopiedFontsKeepTheWeightAndPointsOnTheEdgeAreOutside) {
    StdFont c;
    c.SetBold(true);
    c.SetWeight(400);  // the weight wins over what Bold implied
    StdFont copy;
    CopyFont(copy, c);
    EXPECT_EQ(copy.Weight(), 400);
    EXPECT_FALSE(copy.Bold());
    EXPECT_FALSE(PointInRect(10, 5, Rect{10, 0, 20, 10}));
    EXPECT_TRUE(PointInRect(10.5f, 5, Rect{10, 0, 20, 10}));
    EXPECT_FALSE(PointInRect(15, 10, Rect{10, 0, 20, 10}));
}

TEST(Utils, TransparentBlitLeavesOutTheMaskColour) {
    plat::InitDisplay(plat::DisplayKind::Offscreen, 64, 64);
    const plat::HDC src = plat::CreateCompatibleDC(0);
    const plat::HDC dst = plat::CreateCompatibleDC(0);
    const plat::HBITMAP sb = plat::CreateBitmap(4, 1, 1, 32, nullptr);
    const plat::HBITMAP db = plat::CreateBitmap(4, 1, 1, 32, nullptr);
    plat::SelectObject(src, sb);
    plat::SelectObject(dst, db);
    const std::uint32_t from[] = {0xFFFFFF, 0x00FF00, 0xFFFFFF, 0x123456};
    const std::uint32_t want[] = {0x0000FF, 0x00FF00, 0x0000FF, 0x123456};
    for (int x = 0; x < 4; ++x) {
        plat::SetPixel(dst, x, 0, 0x0000FF);
        plat::SetPixel(src, x, 0, from[x]);
    }
    ASSERT_TRUE(TransparentBlit(dst, 0, 0, 4, 1, src, 0, 0, 4, 1, 0xFFFFFF));
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(plat::GetPixel(dst, x, 0), want[x]) << x;
    // A mask colour no pixel has copies the block unchanged.
    ASSERT_TRUE(TransparentBlit(dst, 0, 0, 4, 1, src, 0, 0, 4, 1, 0x010203));
    EXPECT_EQ(plat::GetPixel(dst, 0, 0), 0xFFFFFFu);
    plat::DeleteDC(src);
    plat::DeleteDC(dst);
    plat::DeleteObject(sb);
    plat::DeleteObject(db);
    plat::ShutdownDisplay();
}

}  // namespace
}  // namespace zo
