// Device contexts and fills: FillRect geometry, origins, clipping, saved states, window DCs,
// attributes, pixels, lines, rectangles arithmetic, MulDiv and regions.
#include <gtest/gtest.h>

#include "platform/Gdi.h"
#include "platform/GdiInternal.h"
#include "platform/Region.h"
#include "platform/gdi_canvas.h"

namespace zo::plat {
namespace {

using test::Canvas;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

TEST(GdiFillRect, ExcludesRightColumnAndBottomRow) {
    Canvas c(6, 6);
    HBRUSH red = CreateSolidBrush(kRed);
    RECT r{1, 2, 4, 5};
    EXPECT_EQ(FillRect(c.dc, &r, red), 1);
    EXPECT_EQ(c.Count(kRed), 9);
    EXPECT_EQ(c.Px(1, 2), kRed);
    EXPECT_EQ(c.Px(3, 4), kRed);
    EXPECT_EQ(c.Px(4, 4), kWhite);
    EXPECT_EQ(c.Px(3, 5), kWhite);
    EXPECT_EQ(c.Px(0, 2), kWhite);
    // Alpha is opaque after a fill.
    EXPECT_EQ(c.Raw(1, 2) >> 24, 0xFFu);
    // Inverted and empty rectangles draw nothing.
    RECT inverted{4, 4, 1, 1};
    EXPECT_EQ(FillRect(c.dc, &inverted, GetStockObject(BLACK_BRUSH)), 1);
    EXPECT_EQ(c.Count(RGB(0, 0, 0)), 0);
    DeleteObject(red);
}

TEST(GdiFillRect, SystemColourIndexPlusOne) {
    Canvas c(3, 1);
    RECT r{0, 0, 1, 1};
    FillRect(c.dc, &r, static_cast<HBRUSH>(COLOR_BTNSHADOW + 1));
    r = RECT{1, 0, 2, 1};
    FillRect(c.dc, &r, static_cast<HBRUSH>(COLOR_INFOBK + 1));
    r = RECT{2, 0, 3, 1};
    FillRect(c.dc, &r, static_cast<HBRUSH>(COLOR_3DDKSHADOW + 1));
    EXPECT_EQ(c.Px(0, 0), RGB(128, 128, 128));
    EXPECT_EQ(c.Px(1, 0), RGB(255, 255, 225));
    EXPECT_EQ(c.Px(2, 0), RGB(64, 64, 64));
    EXPECT_EQ(FillRect(c.dc, &r, static_cast<HBRUSH>(32)), 0);
}

TEST(GdiFillRect, RectangleOutsideTheBitmapIsClipped) {
    Canvas c(4, 4);
    RECT r{-100, -100, 2, 2};
    EXPECT_EQ(FillRect(c.dc, &r, GetStockObject(BLACK_BRUSH)), 1);
    EXPECT_EQ(c.Count(RGB(0, 0, 0)), 4);
    RECT huge{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    EXPECT_EQ(FillRect(c.dc, &huge, GetSysColorBrush(COLOR_WINDOW)), 1);
    EXPECT_EQ(c.Count(kWhite), 16);
}

TEST(GdiFillRect, OneBitTarget) {
    Canvas c(4, 1, kWhite, 1);
    RECT r{1, 0, 3, 1};
    FillRect(c.dc, &r, GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(c.Px(0, 0), kWhite);
    EXPECT_EQ(c.Px(1, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(c.dc, 2, 0), RGB(0, 0, 0));
    // A light colour is nearer to white on a 1-bit surface, a dark one to black.
    HBRUSH light = CreateSolidBrush(RGB(200, 200, 200));
    FillRect(c.dc, &r, light);
    EXPECT_EQ(c.Px(1, 0), kWhite);
    DeleteObject(light);
}

TEST(GdiOrigin, ViewportOriginMovesDrawing) {
    Canvas c(6, 6);
    POINT old{9, 9};
    ASSERT_TRUE(SetViewportOrgEx(c.dc, 2, 3, &old));
    EXPECT_EQ(old, (POINT{0, 0}));
    ASSERT_TRUE(OffsetViewportOrgEx(c.dc, 1, 0, &old));
    EXPECT_EQ(old, (POINT{2, 3}));
    RECT r{0, 0, 1, 1};
    FillRect(c.dc, &r, GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(c.Px(3, 3), RGB(0, 0, 0));
    EXPECT_EQ(c.Count(RGB(0, 0, 0)), 1);
    EXPECT_EQ(GetPixel(c.dc, 0, 0), RGB(0, 0, 0));
    POINT now;
    GetViewportOrgEx(c.dc, &now);
    EXPECT_EQ(now, (POINT{3, 3}));
}

TEST(GdiClip, IntersectClipRectLimitsAndReports) {
    Canvas c(8, 8);
    EXPECT_EQ(IntersectClipRect(c.dc, 2, 2, 6, 6), SIMPLEREGION);
    EXPECT_EQ(ExcludeClipRect(c.dc, 3, 3, 4, 4), COMPLEXREGION);
    RECT all{0, 0, 8, 8};
    FillRect(c.dc, &all, GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(c.Count(RGB(0, 0, 0)), 15);
    EXPECT_EQ(c.Px(3, 3), kWhite);
    EXPECT_EQ(c.Px(1, 2), kWhite);
    RECT box;
    EXPECT_EQ(GetClipBox(c.dc, &box), COMPLEXREGION);
    EXPECT_EQ(box, (RECT{2, 2, 6, 6}));
    EXPECT_EQ(IntersectClipRect(c.dc, 10, 10, 12, 12), NULLREGION);
    EXPECT_EQ(SelectClipRgn(c.dc, 0), SIMPLEREGION);
    EXPECT_EQ(GetClipBox(c.dc, &box), SIMPLEREGION);
    EXPECT_EQ(box, (RECT{0, 0, 8, 8}));
}

TEST(GdiClip, ClipRectIsLogicalAndStaysPutWhenOriginMoves) {
    Canvas c(8, 8);
    SetViewportOrgEx(c.dc, 2, 0, nullptr);
    IntersectClipRect(c.dc, 0, 0, 2, 8);  // device columns 2 and 3
    SetViewportOrgEx(c.dc, 0, 0, nullptr);
    RECT all{0, 0, 8, 8};
    FillRect(c.dc, &all, GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(c.Count(RGB(0, 0, 0), 2, 0, 4, 8), 16);
    EXPECT_EQ(c.Count(RGB(0, 0, 0)), 16);
    RECT box;
    GetClipBox(c.dc, &box);
    EXPECT_EQ(box, (RECT{2, 0, 4, 8}));
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
}

TEST(GdiSaveRestore, ObjectDeletedSinceSaveFallsBackToDefault) {
    Canvas c(2, 2);
    HBRUSH red = CreateSolidBrush(kRed);
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
    ASSERT_NE(before[2], RGB(0, 0, 0));
    RECT r{0, 0, 100, 100};
    FillRect(dc, &r, GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(at(10, 10), RGB(0, 0, 0));
    EXPECT_EQ(at(19, 19), RGB(0, 0, 0));
    EXPECT_EQ(at(20, 19), before[0]);
    EXPECT_EQ(at(9, 10), before[1]);
    EXPECT_EQ(at(12, 12), before[2]);  // cut out of the visible part
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 2, 2), CLR_INVALID);
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 40);
    EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 30);
    EXPECT_EQ(SelectObject(dc, GetCurrentObject(dc, OBJ_BITMAP)), 0u);  // no bitmaps here
    DeleteDC(dc);
    SetScreenSize(1024, 768);
}

TEST(GdiAttributes, DefaultsAndRanges) {
    Canvas c(1, 1);
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
    EXPECT_EQ(GetDeviceCaps(c.dc, LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(c.dc, LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(c.dc, PLANES), 1);
    EXPECT_EQ(GetDeviceCaps(c.dc, BITSPIXEL), 32);
}

TEST(GdiPixels, SetAndGetWithinClip) {
    Canvas c(3, 3);
    EXPECT_EQ(SetPixel(c.dc, 1, 1, RGB(9, 8, 7)), RGB(9, 8, 7));
    EXPECT_EQ(GetPixel(c.dc, 1, 1), RGB(9, 8, 7));
    EXPECT_EQ(SetPixel(c.dc, 3, 0, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(c.dc, -1, 0), CLR_INVALID);
    IntersectClipRect(c.dc, 0, 0, 1, 1);
    EXPECT_EQ(GetPixel(c.dc, 1, 1), CLR_INVALID);
    EXPECT_EQ(SetPixel(c.dc, 1, 1, 0), CLR_INVALID);
    EXPECT_EQ(c.Px(1, 1), RGB(9, 8, 7));
}

TEST(GdiLines, EndPointExcludedAndPenColour) {
    Canvas c(6, 6);
    HPEN pen = CreatePen(PS_SOLID, 1, kRed);
    HGDIOBJ old = SelectObject(c.dc, pen);
    MoveToEx(c.dc, 0, 0, nullptr);
    EXPECT_TRUE(LineTo(c.dc, 5, 0));
    EXPECT_EQ(c.Count(kRed), 5);
    EXPECT_EQ(c.Px(5, 0), kWhite);
    EXPECT_TRUE(LineTo(c.dc, 5, 5));  // continues from the current position
    EXPECT_EQ(c.Px(5, 0), kRed);
    EXPECT_EQ(c.Px(5, 5), kWhite);
    MoveToEx(c.dc, 0, 5, nullptr);
    LineTo(c.dc, 3, 2);  // 45 degrees
    EXPECT_EQ(c.Px(0, 5), kRed);
    EXPECT_EQ(c.Px(2, 3), kRed);
    EXPECT_EQ(c.Px(3, 2), kWhite);
    POINT pos;
    GetCurrentPositionEx(c.dc, &pos);
    EXPECT_EQ(pos, (POINT{3, 2}));
    SelectObject(c.dc, GetStockObject(NULL_PEN));
    const int before = c.Count(kRed);
    LineTo(c.dc, 0, 0);
    EXPECT_EQ(c.Count(kRed), before);
    SelectObject(c.dc, old);
    DeleteObject(pen);
}

TEST(GdiLines, VeryLongLineOnlyWalksTheClip) {
    Canvas c(4, 4);
    MoveToEx(c.dc, -2000000000, 1, nullptr);
    LineTo(c.dc, 2000000000, 1);
    EXPECT_EQ(c.Count(RGB(0, 0, 0)), 4);
}

TEST(GdiPatBlt, PatternOperations) {
    Canvas c(4, 1, RGB(0x0F, 0xF0, 0x55));
    HBRUSH b = CreateSolidBrush(RGB(0xFF, 0x00, 0x0F));
    HGDIOBJ old = SelectObject(c.dc, b);
    PatBlt(c.dc, 0, 0, 1, 1, PATCOPY);
    PatBlt(c.dc, 1, 0, 1, 1, PATINVERT);
    PatBlt(c.dc, 2, 0, 1, 1, DSTINVERT);
    PatBlt(c.dc, 3, 0, -1, 1, BLACKNESS);  // negative extent runs leftwards: column 2
    EXPECT_EQ(c.Px(0, 0), RGB(0xFF, 0x00, 0x0F));
    EXPECT_EQ(c.Px(1, 0), RGB(0xF0, 0xF0, 0x5A));
    EXPECT_EQ(c.Px(2, 0), RGB(0, 0, 0));
    EXPECT_EQ(c.Px(3, 0), RGB(0x0F, 0xF0, 0x55));
    PatBlt(c.dc, 2, 0, 2, 1, WHITENESS);
    EXPECT_EQ(c.Px(2, 0), kWhite);
    EXPECT_FALSE(PatBlt(c.dc, 0, 0, 1, 1, SRCCOPY));  // needs a source
    SelectObject(c.dc, old);
    DeleteObject(b);
}

TEST(GdiFrameRect, OnePixelBorder) {
    Canvas c(5, 5);
    RECT r{0, 0, 4, 3};
    EXPECT_EQ(FrameRect(c.dc, &r, GetStockObject(BLACK_BRUSH)), 1);
    EXPECT_EQ(c.Count(RGB(0, 0, 0)), 10);
    EXPECT_EQ(c.Px(1, 1), kWhite);
    EXPECT_EQ(c.Px(3, 2), RGB(0, 0, 0));
    EXPECT_EQ(c.Px(4, 2), kWhite);
}

TEST(GdiRects, Arithmetic) {
    RECT a{0, 0, 10, 10}, b{5, 5, 20, 20}, out;
    EXPECT_TRUE(IntersectRect(&out, &a, &b));
    EXPECT_EQ(out, (RECT{5, 5, 10, 10}));
    RECT far{30, 30, 40, 40};
    EXPECT_FALSE(IntersectRect(&out, &a, &far));
    EXPECT_EQ(out, (RECT{}));
    EXPECT_TRUE(UnionRect(&out, &a, &b));
    EXPECT_EQ(out, (RECT{0, 0, 20, 20}));
    RECT empty{3, 3, 3, 9};
    EXPECT_TRUE(UnionRect(&out, &empty, &a));
    EXPECT_EQ(out, a);
    EXPECT_TRUE(IsRectEmpty(&empty));
    EXPECT_FALSE(IsRectEmpty(&a));
    EXPECT_TRUE(PtInRect(&a, POINT{0, 9}));
    EXPECT_FALSE(PtInRect(&a, POINT{10, 5}));
    RECT r{1, 2, 3, 4};
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

TEST(GdiMulDiv, RoundsHalfAwayFromZero) {
    EXPECT_EQ(MulDiv(1, 3, 2), 2);
    EXPECT_EQ(MulDiv(-1, 3, 2), -2);
    EXPECT_EQ(MulDiv(1, -3, 2), -2);
    EXPECT_EQ(MulDiv(-1, -3, 2), 2);
    EXPECT_EQ(MulDiv(8, 96, 72), 11);
    EXPECT_EQ(MulDiv(10, 1, 4), 3);
    EXPECT_EQ(MulDiv(9, 1, 4), 2);
    EXPECT_EQ(MulDiv(5, 7, 0), -1);
    EXPECT_EQ(MulDiv(INT32_MAX, INT32_MAX, 1), -1);
    EXPECT_EQ(MulDiv(INT32_MAX, INT32_MAX, INT32_MAX), INT32_MAX);
    EXPECT_EQ(MulDiv(INT32_MIN, 1, -1), -1);  // 2^31 does not fit
    EXPECT_EQ(MulDiv(INT32_MIN, 1, 1), INT32_MIN);
}

TEST(GdiRegion, AddSubtractStayDisjoint) {
    Region r(RECT{0, 0, 10, 10});
    r.Add(RECT{5, 5, 15, 15});
    std::int64_t area = 0;
    for (const RECT& x : r.Rects())
        area += (x.right - x.left) * (x.bottom - x.top);
    EXPECT_EQ(area, 175);
    EXPECT_EQ(r.Bounds(), (RECT{0, 0, 15, 15}));
    r.Subtract(RECT{2, 2, 12, 12});
    EXPECT_FALSE(r.Contains(5, 5));
    EXPECT_TRUE(r.Contains(1, 5));
    EXPECT_TRUE(r.Contains(14, 14));
    EXPECT_FALSE(r.Contains(14, 0));
    Region other(RECT{0, 0, 3, 3});
    r.Intersect(other);
    area = 0;
    for (const RECT& x : r.Rects())
        area += (x.right - x.left) * (x.bottom - x.top);
    EXPECT_EQ(area, 8);  // 3x3 less the 1x1 corner at (2,2)
    r.Offset(10, 0);
    EXPECT_TRUE(r.Contains(10, 0));
    EXPECT_FALSE(r.Contains(0, 0));
    // Offsets past the coordinate range squeeze to the edge instead of wrapping around.
    Region edge(RECT{0, 0, 10, 10});
    edge.Offset(INT32_MAX, 0);
    EXPECT_TRUE(edge.Empty());
    Region far(RECT{INT32_MIN, 0, 0, 1});
    far.Offset(-5, 0);
    EXPECT_EQ(far.Bounds(), (RECT{INT32_MIN, 0, -5, 1}));
}

}  // namespace
}  // namespace zo::plat
