// Device contexts and fills: FillRect geometry, origins, clipping, saved states, window DCs,
// attributes, pixels, lines, rectangle arithmetic, MulDiv and regions.
#include <gtest/gtest.h>

#include <vector>

#include "platform/Gdi.h"
#include "platform/GdiInternal.h"
#include "platform/Region.h"
#include "platform/gdi_canvas.h"

namespace zo::plat {
namespace {

using namespace test;

TEST(GdiFillRect, SystemColourIndexPlusOneClippingAndOneBitTargets) {
    Canvas c(4, 4);
    const std::pair<int, COLORREF> system[] = {{COLOR_BTNSHADOW, RGB(128, 128, 128)},
                                               {COLOR_INFOBK, RGB(255, 255, 225)},
                                               {COLOR_3DDKSHADOW, RGB(64, 64, 64)}};
    for (int i = 0; i < 3; ++i) {
        RECT r{i, 0, i + 1, 1};
        EXPECT_EQ(FillRect(c.dc, &r, static_cast<HBRUSH>(system[i].first + 1)), 1);
        EXPECT_EQ(c.Px(i, 0), system[i].second);
    }
    RECT r{-100, -100, 2, 2}, huge{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    EXPECT_EQ(FillRect(c.dc, &r, static_cast<HBRUSH>(32)), 0);
    EXPECT_EQ(FillRect(c.dc, &huge, GetSysColorBrush(COLOR_WINDOW)), 1);
    EXPECT_EQ(FillRect(c.dc, &r, GetStockObject(BLACK_BRUSH)), 1);
    EXPECT_EQ(c.Show(kPlain), "##..|##..|....|....");
    // A light colour is nearer to white on a 1-bit surface, a dark one to black.
    Canvas m(4, 1, kWhite, 1);
    Owned light(CreateSolidBrush(RGB(200, 200, 200)));
    RECT mid{1, 0, 3, 1}, one{2, 0, 3, 1};
    FillRect(m.dc, &mid, GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(GetPixel(m.dc, 2, 0), kBlack);
    FillRect(m.dc, &one, light);
    EXPECT_EQ(m.Show(kPlain), ".#..");
}

TEST(GdiOrigin, ViewportOriginMovesDrawing) {
    Canvas c(6, 6);
    POINT old{9, 9}, now;
    ASSERT_TRUE(SetViewportOrgEx(c.dc, 2, 3, &old));
    EXPECT_EQ(old, (POINT{0, 0}));
    ASSERT_TRUE(OffsetViewportOrgEx(c.dc, 1, 0, &old));
    EXPECT_EQ(old, (POINT{2, 3}));
    RECT r{0, 0, 1, 1};
    FillRect(c.dc, &r, GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(c.Px(3, 3), kBlack);
    EXPECT_EQ(c.Count(kBlack), 1);
    EXPECT_EQ(GetPixel(c.dc, 0, 0), kBlack);
    GetViewportOrgEx(c.dc, &now);
    EXPECT_EQ(now, (POINT{3, 3}));
}

TEST(GdiClip, IntersectAndExcludeLimitDrawingAndReportTheirKind) {
    Canvas c(8, 8);
    EXPECT_EQ(IntersectClipRect(c.dc, 2, 2, 6, 6), SIMPLEREGION);
    EXPECT_EQ(ExcludeClipRect(c.dc, 3, 3, 4, 4), COMPLEXREGION);
    RECT all{0, 0, 8, 8}, box;
    FillRect(c.dc, &all, GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(c.Show(kPlain),
              "........|........|..####..|..#.##..|..####..|..####..|........|........");
    EXPECT_EQ(GetClipBox(c.dc, &box), COMPLEXREGION);
    EXPECT_EQ(box, (RECT{2, 2, 6, 6}));
    EXPECT_EQ(IntersectClipRect(c.dc, 10, 10, 12, 12), NULLREGION);
    EXPECT_EQ(SelectClipRgn(c.dc, 0), SIMPLEREGION);
    EXPECT_EQ(GetClipBox(c.dc, &box), SIMPLEREGION);
    EXPECT_EQ(box, (RECT{0, 0, 8, 8}));
}

// A DC keeps its effective clip between drawing calls: a larger bitmap selected into it must be
// drawn on whole, and a clip taken back by RestoreDC must stop clipping.
TEST(GdiClip, FollowsABitmapOfAnotherSizeAndARestoredState) {
    Canvas c(2, 2);
    RECT all{0, 0, 4, 2};
    FillRect(c.dc, &all, GetStockObject(BLACK_BRUSH));
    Owned wide(CreateBitmap(4, 2, 1, 32, nullptr));
    const HGDIOBJ old = SelectObject(c.dc, wide);
    const auto blackAfterFill = [&] {
        FillRect(c.dc, &all, GetStockObject(BLACK_BRUSH));
        int n = 0;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x)
                n += GetPixel(c.dc, x, y) == kBlack ? 1 : 0;
        return n;
    };
    EXPECT_EQ(blackAfterFill(), 8);
    const int level = SaveDC(c.dc);
    IntersectClipRect(c.dc, 0, 0, 1, 1);
    FillRect(c.dc, &all, GetStockObject(WHITE_BRUSH));
    RestoreDC(c.dc, level);
    EXPECT_EQ(blackAfterFill(), 8);
    SelectObject(c.dc, old);
}

TEST(GdiSaveRestore, RestoresAttributesObjectsAndClip) {
    Canvas c(4, 4);
    HBRUSH red = CreateSolidBrush(kRed);
    const int level = SaveDC(c.dc);
    EXPECT_EQ(level, 1);
    SetTextColor(c.dc, RGB(1, 2, 3));
    SetBkMode(c.dc, TRANSPARENT);
    SelectObject(c.dc, red);
    IntersectClipRect(c.dc, 0, 0, 1, 1);
    SetViewportOrgEx(c.dc, 1, 1, nullptr);
    EXPECT_EQ(SaveDC(c.dc), 2);
    SetStretchBltMode(c.dc, HALFTONE);
    EXPECT_TRUE(RestoreDC(c.dc, -1));  // relative: the latest
    EXPECT_EQ(GetStretchBltMode(c.dc), BLACKONWHITE);
    EXPECT_EQ(GetTextColor(c.dc), RGB(1, 2, 3));
    EXPECT_TRUE(RestoreDC(c.dc, level));
    EXPECT_EQ(GetTextColor(c.dc), 0u);
    EXPECT_EQ(GetBkMode(c.dc), OPAQUE);
    EXPECT_EQ(GetCurrentObject(c.dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetCurrentObject(c.dc, OBJ_BITMAP), c.bitmap);
    RECT box;
    EXPECT_EQ(GetClipBox(c.dc, &box), SIMPLEREGION);
    EXPECT_EQ(box, (RECT{0, 0, 4, 4}));
    EXPECT_FALSE(RestoreDC(c.dc, 1));  // nothing left to restore
    EXPECT_FALSE(RestoreDC(c.dc, -1));
    EXPECT_FALSE(RestoreDC(c.dc, 0));
    EXPECT_TRUE(DeleteObject(red));
    // An object deleted since the save falls back to the default.
    red = CreateSolidBrush(kRed);
    HGDIOBJ old = SelectObject(c.dc, red);
    SaveDC(c.dc);
    SelectObject(c.dc, old);
    ASSERT_TRUE(DeleteObject(red));
    ASSERT_TRUE(RestoreDC(c.dc, -1));
    EXPECT_EQ(GetCurrentObject(c.dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_TRUE(PatBlt(c.dc, 0, 0, 2, 2, PATCOPY));
}

TEST(GdiWindowDc, DrawsIntoScreenAtOriginWithinVisiblePart) {
    SetScreenSize(40, 30);
    Region visible(RECT{10, 10, 20, 20});
    visible.Subtract(RECT{12, 12, 14, 14});
    HDC dc = CreateWindowDc(0, POINT{10, 10}, visible);
    ASSERT_NE(dc, 0u);
    const Bitmap& screen = GetGdi(ScreenBitmap(), GdiKind::Bitmap)->bitmap;
    auto at = [&](int x, int y) { return ColorRefFromPixel(screen.pixels[y * 40 + x]); };
    // What an earlier display left on the screen stays outside the visible part.
    const COLORREF before[] = {at(20, 19), at(9, 10), at(12, 12)};
    ASSERT_NE(before[2], kBlack);
    RECT r{0, 0, 100, 100};
    FillRect(dc, &r, GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(at(10, 10), kBlack);
    EXPECT_EQ(at(19, 19), kBlack);
    EXPECT_EQ(at(20, 19), before[0]);
    EXPECT_EQ(at(9, 10), before[1]);
    EXPECT_EQ(at(12, 12), before[2]);  // cut out of the visible part
    EXPECT_EQ(GetPixel(dc, 0, 0), kBlack);
    EXPECT_EQ(GetPixel(dc, 2, 2), CLR_INVALID);
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 40);
    EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 30);
    EXPECT_EQ(SelectObject(dc, GetCurrentObject(dc, OBJ_BITMAP)), 0u);  // no bitmaps here
    DeleteDC(dc);
    SetScreenSize(1024, 768);
}

TEST(GdiAttributes, DefaultsRangesAndPixels) {
    Canvas c(3, 3);
    EXPECT_EQ(GetTextColor(c.dc), 0u);
    EXPECT_EQ(GetBkColor(c.dc), kWhite);
    EXPECT_EQ(GetBkMode(c.dc), OPAQUE);
    EXPECT_EQ(GetTextAlign(c.dc), TA_LEFT | TA_TOP);
    EXPECT_EQ(GetStretchBltMode(c.dc), BLACKONWHITE);
    EXPECT_EQ(SetBkMode(c.dc, 7), 0);
    EXPECT_EQ(SetStretchBltMode(c.dc, 9), 0);
    EXPECT_EQ(SetTextAlign(c.dc, TA_BASELINE | TA_CENTER), TA_LEFT);
    EXPECT_EQ(GetTextAlign(c.dc), TA_BASELINE | TA_CENTER);
    EXPECT_EQ(SetBkColor(c.dc, 0x12345678), kWhite);
    EXPECT_EQ(GetBkColor(c.dc), 0x345678u);
    for (const auto& [cap, value] :
         {std::pair{LOGPIXELSX, 96}, {LOGPIXELSY, 96}, {PLANES, 1}, {BITSPIXEL, 32}})
        EXPECT_EQ(GetDeviceCaps(c.dc, cap), value) << cap;
    // Pixels go through the DC within its bitmap and clip.
    EXPECT_EQ(SetPixel(c.dc, 1, 1, RGB(9, 8, 7)), RGB(9, 8, 7));
    EXPECT_EQ(GetPixel(c.dc, 1, 1), RGB(9, 8, 7));
    EXPECT_EQ(SetPixel(c.dc, 3, 0, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(c.dc, -1, 0), CLR_INVALID);
    IntersectClipRect(c.dc, 0, 0, 1, 1);
    EXPECT_EQ(GetPixel(c.dc, 1, 1), CLR_INVALID);
    EXPECT_EQ(SetPixel(c.dc, 1, 1, 0), CLR_INVALID);
    EXPECT_EQ(c.Px(1, 1), RGB(9, 8, 7));
}

TEST(GdiRects, Arithmetic) {
    RECT a{0, 0, 10, 10}, b{5, 5, 20, 20}, far{30, 30, 40, 40}, empty{3, 3, 3, 9}, out;
    EXPECT_TRUE(IntersectRect(&out, &a, &b));
    EXPECT_EQ(out, (RECT{5, 5, 10, 10}));
    EXPECT_FALSE(IntersectRect(&out, &a, &far));
    EXPECT_EQ(out, (RECT{}));
    EXPECT_TRUE(UnionRect(&out, &a, &b));
    EXPECT_EQ(out, (RECT{0, 0, 20, 20}));
    EXPECT_TRUE(UnionRect(&out, &empty, &a));
    EXPECT_EQ(out, a);
    EXPECT_TRUE(IsRectEmpty(&empty));
    EXPECT_FALSE(IsRectEmpty(&a));
    EXPECT_TRUE(PtInRect(&a, POINT{0, 9}));
    EXPECT_FALSE(PtInRect(&a, POINT{10, 5}));
    RECT r;
    EXPECT_TRUE(SetRect(&r, 1, 2, 3, 4));
    EXPECT_EQ(r, (RECT{1, 2, 3, 4}));
    OffsetRect(&r, 10, -2);
    EXPECT_EQ(r, (RECT{11, 0, 13, 2}));
    InflateRect(&r, 1, 2);
    EXPECT_EQ(r, (RECT{10, -2, 14, 4}));
    RECT big{INT32_MAX - 1, 0, INT32_MAX, 1};
    OffsetRect(&big, 10, 0);  // saturates instead of wrapping
    EXPECT_EQ(big.right, INT32_MAX);
    EXPECT_FALSE(OffsetRect(nullptr, 1, 1));
    EXPECT_FALSE(EqualRect(&a, &b));
    CopyRect(&out, &b);
    EXPECT_TRUE(EqualRect(&out, &b));
}

TEST(GdiMulDiv, RoundsHalfAwayFromZeroAndFailsWithMinusOne) {
    // a, b, c and a * b / c; INT32_MIN / -1 is 2^31, which does not fit.
    constexpr int kMax = INT32_MAX, kMin = INT32_MIN;
    const int rows[][4] = {{1, 3, 2, 2},        {-1, 3, 2, -2},
                           {1, -3, 2, -2},      {-1, -3, 2, 2},
                           {8, 96, 72, 11},     {10, 1, 4, 3},
                           {9, 1, 4, 2},        {5, 7, 0, -1},
                           {kMax, kMax, 1, -1}, {kMax, kMax, kMax, kMax},
                           {kMin, 1, -1, -1},   {kMin, 1, 1, kMin}};
    for (const auto& [a, b, c, want] : rows)
        EXPECT_EQ(MulDiv(a, b, c), want) << a << " * " << b << " / " << c;
}

TEST(GdiRegion, AddSubtractStayDisjoint) {
    const auto area = [](const Region& r) {
        std::int64_t n = 0;
        for (const RECT& x : r.Rects())
            n += (x.right - x.left) * (x.bottom - x.top);
        return n;
    };
    Region r(RECT{0, 0, 10, 10});
    r.Add(RECT{5, 5, 15, 15});
    EXPECT_EQ(area(r), 175);
    EXPECT_EQ(r.Bounds(), (RECT{0, 0, 15, 15}));
    r.Subtract(RECT{2, 2, 12, 12});
    EXPECT_FALSE(r.Contains(5, 5));
    EXPECT_TRUE(r.Contains(1, 5));
    EXPECT_TRUE(r.Contains(14, 14));
    EXPECT_FALSE(r.Contains(14, 0));
    r.Intersect(Region(RECT{0, 0, 3, 3}));
    EXPECT_EQ(area(r), 8);  // 3x3 less the 1x1 corner at (2,2)
    r.Offset(10, 0);
    EXPECT_TRUE(r.Contains(10, 0));
    EXPECT_FALSE(r.Contains(0, 0));
    // Offsets past the coordinate range squeeze to the edge instead of wrapping around.
    Region edge(RECT{0, 0, 10, 10}), far(RECT{INT32_MIN, 0, 0, 1});
    edge.Offset(INT32_MAX, 0);
    EXPECT_TRUE(edge.Empty());
    far.Offset(-5, 0);
    EXPECT_EQ(far.Bounds(), (RECT{INT32_MIN, 0, -5, 1}));
    // A clip of one rectangle is cut in place; a cut that misses it leaves an empty region, not
    // an empty rectangle that would still count as something to draw into.
    Region one(RECT{0, 0, 10, 10});
    one.Intersect(Region(RECT{5, -5, 20, 5}));
    EXPECT_EQ(one.Rects(), (std::vector<RECT>{RECT{5, 0, 10, 5}}));
    one.Intersect(RECT{20, 20, 30, 30});
    EXPECT_TRUE(one.Empty());
    Region none(RECT{0, 0, 4, 4});
    none.Intersect(Region{});
    EXPECT_TRUE(none.Empty());
}

}  // namespace
}  // namespace zo::plat
