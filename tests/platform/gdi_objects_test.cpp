// Drawing objects and handles: stale and foreign handles, stock objects, selection rules,
// bitmap formats, fonts and the library probe.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/Gdi.h"
#include "platform/GdiInternal.h"
#include "platform/gdi_canvas.h"

namespace zo::plat {
namespace {

using namespace test;

TEST(GdiHandles, DeletedAndReusedHandlesFailSoftlyAndDrawNothing) {
    Canvas c(2, 2, RGB(1, 2, 3));
    RECT r{0, 0, 2, 2};
    HBRUSH old = CreateSolidBrush(RGB(10, 10, 10));
    ASSERT_TRUE(DeleteObject(old));
    EXPECT_FALSE(DeleteObject(old));  // a second delete is refused, not a double free
    Owned fresh(CreateSolidBrush(RGB(20, 20, 20)));
    // The slot is recycled; the generation tells the old handle apart.
    EXPECT_EQ(old & kHandleSlotMask, fresh & kHandleSlotMask);
    EXPECT_NE(old, fresh);
    EXPECT_EQ(FillRect(c.dc, &r, old), 0);
    EXPECT_EQ(c.Count(RGB(1, 2, 3)), 4);
    EXPECT_EQ(FillRect(c.dc, &r, fresh), 1);
    EXPECT_EQ(c.Count(RGB(20, 20, 20)), 4);

    HDC dc = CreateCompatibleDC(0);
    ASSERT_NE(dc, 0u);
    ASSERT_TRUE(DeleteDC(dc));
    EXPECT_EQ(FillRect(dc, &r, GetStockObject(BLACK_BRUSH)), 0);
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), 0u);
    EXPECT_EQ(SaveDC(dc), 0);
    EXPECT_EQ(SetTextColor(dc, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
    EXPECT_EQ(IntersectClipRect(dc, 0, 0, 1, 1), ERROR);
    EXPECT_FALSE(DeleteDC(dc));
}

TEST(GdiHandles, HandleOfAnotherKindIsRefused) {
    Canvas c(2, 2);
    Owned brush(CreateSolidBrush(kBlue)), pen(CreatePen(PS_SOLID, 1, kGreen));
    RECT r{0, 0, 2, 2};
    EXPECT_EQ(FillRect(c.dc, &r, pen), 0);                        // a pen is not a brush
    EXPECT_EQ(FillRect(brush, &r, brush), 0);                     // a brush is not a DC
    EXPECT_EQ(FillRect(c.dc, &r, static_cast<HBRUSH>(c.dc)), 0);  // nor is a DC a brush
    EXPECT_EQ(SelectObject(c.dc, c.dc), 0u);
    EXPECT_EQ(c.Count(kWhite), 4);
    EXPECT_EQ(GetObjectType(pen), OBJ_PEN);
    EXPECT_EQ(GetObjectType(brush), OBJ_BRUSH);
    EXPECT_EQ(GetObjectType(c.dc), OBJ_MEMDC);
    EXPECT_EQ(GetObjectType(0x12345678u), 0u);
}

TEST(GdiObjects, SelectedAndStockObjectsCannotBeDeleted) {
    Canvas c(1, 1);
    HBRUSH brush = CreateSolidBrush(RGB(1, 1, 1));
    HGDIOBJ old = SelectObject(c.dc, brush);
    EXPECT_EQ(old, GetStockObject(WHITE_BRUSH));  // a fresh DC holds the white brush
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_FALSE(DeleteObject(c.bitmap));
    EXPECT_EQ(SelectObject(c.dc, old), brush);
    EXPECT_TRUE(DeleteObject(brush));
    for (int index : {WHITE_BRUSH, BLACK_BRUSH, NULL_BRUSH, NULL_PEN, BLACK_PEN, WHITE_PEN,
                      DEFAULT_GUI_FONT, SYSTEM_FONT}) {
        HGDIOBJ h = GetStockObject(index);
        ASSERT_NE(h, 0u) << index;
        EXPECT_FALSE(DeleteObject(h)) << index;
        EXPECT_EQ(GetStockObject(index), h) << index;
    }
    for (int index : {9, -1, 1000})
        EXPECT_EQ(GetStockObject(index), 0u) << index;
    RECT r{0, 0, 1, 1};
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    EXPECT_FALSE(DeleteObject(face));
    EXPECT_EQ(FillRect(c.dc, &r, face), 1);
    EXPECT_EQ(c.Px(0, 0), RGB(212, 208, 200));
    EXPECT_EQ(GetSysColorBrush(31), 0u);
    EXPECT_EQ(GetSysColorBrush(-1), 0u);
}

TEST(GdiObjects, FontsCarryTerminatedLogfonts) {
    LOGFONTA lf;
    ASSERT_EQ(GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf),
              static_cast<int>(sizeof lf));
    EXPECT_EQ(lf.lfHeight, -11);
    EXPECT_STREQ(lf.lfFaceName, "MS Shell Dlg");
    ASSERT_EQ(GetObjectA(GetStockObject(SYSTEM_FONT), sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_EQ(lf.lfWeight, 700);
    lf.lfHeight = -13;
    lf.lfItalic = 1;
    std::memset(lf.lfFaceName, 'A', sizeof lf.lfFaceName);  // no terminator at all
    Owned font(CreateFontIndirectA(&lf));
    ASSERT_NE(font, 0u);
    LOGFONTA out;
    ASSERT_EQ(GetObjectA(font, sizeof out, &out), static_cast<int>(sizeof out));
    EXPECT_EQ(std::strlen(out.lfFaceName), 31u);
    EXPECT_EQ(out.lfHeight, -13);
    EXPECT_EQ(out.lfItalic, 1);
    EXPECT_EQ(GetObjectA(font, 4, &out), 0);  // too small a buffer is refused
    EXPECT_EQ(CreateFontIndirectA(nullptr), 0u);
}

TEST(GdiBitmaps, NewMemoryDcHoldsMonochromeDefaultAndBitmapsSelectInOneDc) {
    HDC dc = CreateCompatibleDC(0), other = CreateCompatibleDC(dc);
    HGDIOBJ def = GetCurrentObject(dc, OBJ_BITMAP);
    const auto info = [](HGDIOBJ h) {
        BITMAP bm;
        EXPECT_EQ(GetObjectA(h, sizeof bm, &bm), static_cast<int>(sizeof bm));
        return std::vector<LONG>{bm.bmWidth, bm.bmHeight, bm.bmBitsPixel, bm.bmWidthBytes};
    };
    EXPECT_EQ(info(def), (std::vector<LONG>{1, 1, 1, 2}));
    // Compatible with the default mono bitmap means 1 bit, like the classic platform.
    HBITMAP mono = CreateCompatibleBitmap(dc, 10, 3);
    EXPECT_EQ(info(mono), (std::vector<LONG>{10, 3, 1, 2}));
    HBITMAP color = CreateBitmap(3, 2, 1, 32, nullptr);
    SelectObject(dc, color);
    HBITMAP second = CreateCompatibleBitmap(dc, 5, 5);
    EXPECT_EQ(info(second), (std::vector<LONG>{5, 5, 32, 20}));
    EXPECT_EQ(SelectObject(other, color), 0u);  // already selected elsewhere
    EXPECT_EQ(SelectObject(dc, color), color);  // reselecting into its own DC is fine
    EXPECT_EQ(SelectObject(dc, def), color);
    EXPECT_NE(SelectObject(other, color), 0u);
    EXPECT_FALSE(DeleteObject(color));
    DeleteDC(other);  // deleting the DC releases the bitmap
    EXPECT_TRUE(DeleteObject(color));
    EXPECT_TRUE(DeleteObject(mono));
    EXPECT_TRUE(DeleteObject(second));
    EXPECT_FALSE(DeleteObject(def));
    DeleteDC(dc);
}

TEST(GdiBitmaps, CreateBitmapReadsPlatformLayouts) {
    // 1 bpp, 10 px wide: rows are padded to 16 bits, most significant bit first.
    const unsigned char monoBits[] = {0x80, 0x40, 0x00, 0x00, 0x01, 0x00};
    Owned mono(CreateBitmap(10, 3, 1, 1, monoBits));
    ASSERT_NE(mono, 0u);
    const Bitmap& m = GetGdi(mono, GdiKind::Bitmap)->bitmap;
    // (0,0), (9,0) from bit 6 of the second byte, and (7,2); row 1 is all clear.
    const std::vector<std::uint8_t> want = {1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0,
                                            0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0};
    EXPECT_EQ(m.mono, want);
    // 32 bpp: blue, green, red, alpha bytes.
    const unsigned char colorBits[] = {0x10, 0x20, 0x30, 0x40, 0xFF, 0x00, 0x00, 0xFF};
    Owned color(CreateBitmap(2, 1, 1, 32, colorBits));
    const Bitmap& c = GetGdi(color, GdiKind::Bitmap)->bitmap;
    EXPECT_EQ(c.pixels[0], 0x40302010u);
    EXPECT_EQ(ColorRefFromPixel(c.pixels[1]), kBlue);
    EXPECT_EQ(CreateBitmap(2, 2, 1, 24, nullptr), 0u);
    EXPECT_EQ(CreateBitmap(2, 2, 2, 32, nullptr), 0u);
    EXPECT_EQ(CreateBitmap(-1, 2, 1, 32, nullptr), 0u);
    EXPECT_EQ(CreateBitmap(1 << 20, 1 << 20, 1, 32, nullptr), 0u);
}

TEST(GdiLibrary, MsImg32ProbeAndSwitch) {
    HMODULE m = LoadLibraryA("msimg32.dll");
    EXPECT_NE(m, 0u);
    EXPECT_NE(LoadLibraryA("MSIMG32.DLL"), 0u);
    EXPECT_EQ(LoadLibraryA("gdiplus.dll"), 0u);
    EXPECT_EQ(LoadLibraryA(nullptr), 0u);
    EXPECT_TRUE(FreeLibrary(m));
    EXPECT_TRUE(FreeLibrary(m));
    EXPECT_FALSE(FreeLibrary(m));  // more frees than loads
    SetMsImg32Available(false);
    EXPECT_EQ(LoadLibraryA("msimg32.dll"), 0u);
    SetMsImg32Available(true);
    EXPECT_NE(LoadLibraryA("msimg32.dll"), 0u);
}

}  // namespace
}  // namespace zo::plat
