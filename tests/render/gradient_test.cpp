// The control's gradients on real bitmaps: where each colour lies, smooth and banded, the
// centre line of the centre variants, and what "no gradient" paints in either routine.
#include <gtest/gtest.h>

#include "core/Enums.h"
#include "platform/Display.h"
#include "platform/Gdi.h"
#include "platform/GdiInternal.h"
#include "render/CResoureMgr.h"
#include "render/Primitives.h"

namespace zo {
namespace {

constexpr std::int32_t kBlack = 0x000000;
constexpr std::int32_t kWhite = 0xFFFFFF;
constexpr std::int32_t kRed = 0x0000FF;  // COLORREF order: red in the low byte

class Gradients : public ::testing::Test {
protected:
    void SetUp() override {
        plat::InitDisplay(plat::DisplayKind::Offscreen, 64, 64);
        dc = plat::CreateCompatibleDC(0);
    }
    void TearDown() override {
        if (old) plat::SelectObject(dc, old);
        if (bitmap) plat::DeleteObject(bitmap);
        plat::DeleteDC(dc);
        plat::ShutdownDisplay();
    }
    void Canvas(int w, int h, std::int32_t fill) {
        bitmap = plat::CreateBitmap(w, h, 1, 32, nullptr);
        old = plat::SelectObject(dc, bitmap);
        const plat::RECT all{0, 0, w, h};
        const plat::HBRUSH b = plat::CreateSolidBrush(static_cast<plat::COLORREF>(fill));
        plat::FillRect(dc, &all, b);
        plat::DeleteObject(b);
    }
    std::int32_t Px(int x, int y) const {
        const plat::Bitmap& b = plat::GetGdi(bitmap, plat::GdiKind::Bitmap)->bitmap;
        return static_cast<std::int32_t>(
            plat::ColorRefFromPixel(b.pixels[static_cast<std::size_t>(y * b.width + x)]) &
            0xFFFFFF);
    }
    static int Grey(std::int32_t c) { return c & 0xFF; }

    CResoureMgr cache;
    plat::HDC dc = 0;
    plat::HBITMAP bitmap = 0;
    plat::HGDIOBJ old = 0;
};

TEST_F(Gradients, SmoothGradientsShowBothColoursAtTheirEdges) {
    Canvas(100, 4, kRed);
    FillGradientSmooth(cache, dc, Rect{0, 0, 100, 4}, kBlack, kWhite, zoGradientHorizontal);
    EXPECT_EQ(Px(0, 0), kBlack);
    EXPECT_EQ(Px(99, 3), kWhite);
    for (int x = 1; x < 100; ++x)
        ASSERT_GE(Grey(Px(x, 0)), Grey(Px(x - 1, 0))) << x;  // evenly lighter
    FillGradientSmooth(cache, dc, Rect{0, 0, 4, 4}, kBlack, kWhite, zoGradientVertical);
    EXPECT_EQ(Px(2, 0), kBlack);
    EXPECT_EQ(Px(2, 3), kWhite);
}

TEST_F(Gradients, CentreVariantsPutTheGradientColourOnTheCentreLine) {
    // Width 5: w2 = nearest(2.5) = 2, so the centre line is two pixels from the left edge.
    Canvas(5, 3, kRed);
    FillGradientSmooth(cache, dc, Rect{0, 0, 5, 3}, kBlack, kWhite, zoGradientHorizontalCenter);
    EXPECT_EQ(Px(2, 1), kBlack);
    EXPECT_EQ(Px(0, 1), kWhite);
    EXPECT_EQ(Px(4, 1), kWhite);
    // Height 7: h2 = nearest(3.5) = 4.
    Canvas(3, 7, kRed);
    FillGradientSmooth(cache, dc, Rect{0, 0, 3, 7}, kBlack, kWhite, zoGradientVerticalCenter);
    EXPECT_EQ(Px(1, 4), kBlack);
    EXPECT_EQ(Px(1, 0), kWhite);
    EXPECT_EQ(Px(1, 6), kWhite);
}

TEST_F(Gradients, NoGradientPaintsTheBackColourSmoothAndNothingBanded) {
    Canvas(10, 10, kRed);
    FillGradientBanded(cache, dc, Rect{0, 0, 10, 10}, kBlack, kWhite, zoGradientNone);
    EXPECT_EQ(Px(5, 5), kRed);
    FillGradientSmooth(cache, dc, Rect{0, 0, 10, 10}, kBlack, kWhite, zoGradientNone);
    EXPECT_EQ(Px(5, 5), kWhite);
}

TEST_F(Gradients, BandedHorizontalEndsInTheBackColourAndVerticalLeavesItsLastRows) {
    Canvas(40, 40, kRed);
    FillGradientBanded(cache, dc, Rect{0, 0, 40, 4}, kBlack, kWhite, zoGradientHorizontal);
    // Each band takes the colour of its right end: the first is nearly black, the forced
    // last one at x = right is all back colour.
    EXPECT_LT(Grey(Px(0, 0)), 16);
    EXPECT_GT(Grey(Px(39, 0)), 240);
    FillGradientBanded(cache, dc, Rect{0, 10, 4, 40}, kBlack, kWhite, zoGradientVertical);
    EXPECT_LT(Grey(Px(1, 10)), 16);
    // No band is forced at the bottom: the last row keeps what was there.
    EXPECT_EQ(Px(1, 39), kRed);
}

}  // namespace
}  // namespace zo
