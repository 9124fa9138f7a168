// BitBlt and StretchBlt: every raster operation, colour/monochrome conversions, stretch modes,
// mirroring, clipping and overlapping copies.
#include <gtest/gtest.h>

#include "platform/Gdi.h"
#include "platform/gdi_canvas.h"

namespace zo::plat {
namespace {

using test::Canvas;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

struct RopCase {
    DWORD rop;
    COLORREF expected;
};

// S = (F0,CC,AA), D = (0F,AA,CC), P = (3C,FF,00), worked out by hand per channel.
const RopCase kRops[] = {
    {SRCCOPY, RGB(0xF0, 0xCC, 0xAA)},     {SRCPAINT, RGB(0xFF, 0xEE, 0xEE)},
    {SRCAND, RGB(0x00, 0x88, 0x88)},      {SRCINVERT, RGB(0xFF, 0x66, 0x66)},
    {SRCERASE, RGB(0xF0, 0x44, 0x22)},    {NOTSRCCOPY, RGB(0x0F, 0x33, 0x55)},
    {NOTSRCERASE, RGB(0x00, 0x11, 0x11)}, {MERGECOPY, RGB(0x30, 0xCC, 0x00)},
    {MERGEPAINT, RGB(0x0F, 0xBB, 0xDD)},  {PATCOPY, RGB(0x3C, 0xFF, 0x00)},
    {PATINVERT, RGB(0x33, 0x55, 0xCC)},   {PATPAINT, RGB(0x3F, 0xFF, 0xDD)},
    {DSTINVERT, RGB(0xF0, 0x55, 0x33)},   {BLACKNESS, RGB(0x00, 0x00, 0x00)},
    {WHITENESS, RGB(0xFF, 0xFF, 0xFF)},   {0x00B8074A, RGB(0x0C, 0xBB, 0x88)},
    {0x00E20746, RGB(0x3F, 0xEE, 0x44)},
};

TEST(GdiBitBlt, EveryRasterOperationOnColourPixels) {
    Canvas src(1, 1, RGB(0xF0, 0xCC, 0xAA));
    for (const RopCase& k : kRops) {
        SCOPED_TRACE(testing::Message() << std::hex << k.rop);
        Canvas dst(1, 1, RGB(0x0F, 0xAA, 0xCC));
        HBRUSH b = CreateSolidBrush(RGB(0x3C, 0xFF, 0x00));
        HGDIOBJ old = SelectObject(dst.dc, b);
        EXPECT_TRUE(BitBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, k.rop));
        EXPECT_EQ(dst.Px(0, 0), k.expected);
        EXPECT_EQ(dst.Raw(0, 0) >> 24, 0xFFu);
        SelectObject(dst.dc, old);
        DeleteObject(b);
    }
}

TEST(GdiBitBlt, MonoSourceTakesDestinationColours) {
    Canvas mono(2, 1, kWhite, 1);
    mono.Put(0, 0, kBlack);
    SetTextColor(mono.dc, kGreen);  // the source DC's colours do not matter
    SetBkColor(mono.dc, kGreen);
    Canvas dst(2, 1);
    SetTextColor(dst.dc, kRed);
    SetBkColor(dst.dc, kBlue);
    BitBlt(dst.dc, 0, 0, 2, 1, mono.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(dst.Px(0, 0), kRed);   // 0 bits: text colour
    EXPECT_EQ(dst.Px(1, 0), kBlue);  // 1 bits: background colour
}

TEST(GdiBitBlt, ColourSourceToMonoByBackgroundColour) {
    Canvas color(3, 1);
    color.Put(0, 0, kGreen);
    color.Put(1, 0, kWhite);
    color.Put(2, 0, RGB(0, 254, 0));
    SetBkColor(color.dc, kGreen);
    Canvas mono(3, 1, kBlack, 1);
    BitBlt(mono.dc, 0, 0, 3, 1, color.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(mono.Px(0, 0), kWhite);  // equal to the source background: 1
    EXPECT_EQ(mono.Px(1, 0), kBlack);  // white is not the background here
    EXPECT_EQ(mono.Px(2, 0), kBlack);  // close is not equal
}

TEST(GdiBitBlt, MonoToMonoCopiesBitsAndMasks) {
    Canvas a(2, 1, kWhite, 1);
    a.Put(1, 0, kBlack);
    Canvas b(2, 1, kWhite, 1);
    SetTextColor(b.dc, kRed);  // no conversion between two 1-bit bitmaps
    BitBlt(b.dc, 0, 0, 2, 1, a.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(b.Px(0, 0), kWhite);
    EXPECT_EQ(b.Px(1, 0), kBlack);
    // The classic transparent copy: AND the mask, then XOR the image.
    Canvas dst(2, 1, kBlue);
    Canvas image(2, 1, kBlack);
    image.Put(1, 0, kRed);
    BitBlt(dst.dc, 0, 0, 2, 1, a.dc, 0, 0, SRCAND);
    BitBlt(dst.dc, 0, 0, 2, 1, image.dc, 0, 0, SRCINVERT);
    EXPECT_EQ(dst.Px(0, 0), kBlue);
    EXPECT_EQ(dst.Px(1, 0), kRed);
}

TEST(GdiBitBlt, CopyKeepsAlphaOtherOperationsAreOpaque) {
    const unsigned char bits[] = {0x10, 0x20, 0x30, 0x40};
    HBITMAP bmp = CreateBitmap(1, 1, 1, 32, bits);
    HDC mem = CreateCompatibleDC(0);
    HGDIOBJ old = SelectObject(mem, bmp);
    Canvas dst(2, 1);
    BitBlt(dst.dc, 0, 0, 1, 1, mem, 0, 0, SRCCOPY);
    BitBlt(dst.dc, 1, 0, 1, 1, mem, 0, 0, SRCPAINT);
    EXPECT_EQ(dst.Raw(0, 0), 0x40302010u);
    EXPECT_EQ(dst.Raw(1, 0), 0xFFFFFFFFu);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
}

TEST(GdiBitBlt, OriginsClipAndSourceBounds) {
    Canvas src(4, 4, kRed);
    src.Put(1, 1, kBlue);
    Canvas dst(6, 6);
    SetViewportOrgEx(src.dc, -1, -1, nullptr);  // logical (1,1) is device (0,0)
    SetViewportOrgEx(dst.dc, 2, 0, nullptr);
    IntersectClipRect(dst.dc, 0, 0, 3, 6);
    EXPECT_TRUE(BitBlt(dst.dc, 0, 0, 10, 10, src.dc, 2, 2, SRCCOPY));
    EXPECT_EQ(dst.Px(2, 0), kBlue);
    EXPECT_EQ(dst.Px(4, 2), kRed);
    EXPECT_EQ(dst.Px(5, 0), kWhite);  // clipped
    EXPECT_EQ(dst.Px(2, 3), kWhite);  // beyond the source bitmap: untouched
    EXPECT_EQ(dst.Count(kRed) + dst.Count(kBlue), 9);
}

TEST(GdiBitBlt, OverlappingCopyWithinOneBitmap) {
    Canvas c(5, 1);
    for (int x = 0; x < 5; ++x)
        c.Put(x, 0, RGB(x * 10, 0, 0));
    BitBlt(c.dc, 1, 0, 4, 1, c.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(c.Px(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(c.Px(1, 0), RGB(0, 0, 0));
    EXPECT_EQ(c.Px(4, 0), RGB(30, 0, 0));
    BitBlt(c.dc, 0, 0, 4, 1, c.dc, 1, 0, NOTSRCCOPY);
    EXPECT_EQ(c.Px(3, 0), RGB(255 - 30, 255, 255));
}

TEST(GdiBitBlt, BadHandlesFailSoftly) {
    Canvas dst(2, 2);
    HDC gone = CreateCompatibleDC(0);
    DeleteDC(gone);
    EXPECT_FALSE(BitBlt(dst.dc, 0, 0, 2, 2, gone, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(gone, 0, 0, 2, 2, dst.dc, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(dst.dc, 0, 0, 2, 2, GetStockObject(BLACK_BRUSH), 0, 0, SRCCOPY));
    // Operations without a source do not need one.
    EXPECT_TRUE(BitBlt(dst.dc, 0, 0, 1, 1, 0, 0, 0, BLACKNESS));
    EXPECT_EQ(dst.Px(0, 0), kBlack);
    EXPECT_EQ(dst.Count(kWhite), 3);
}

// ---- StretchBlt ----------------------------------------------------------------------------

TEST(GdiStretchBlt, EnlargingReplicatesInEveryMode) {
    Canvas src(2, 1);
    src.Put(0, 0, kRed);
    src.Put(1, 0, kBlue);
    for (int mode : {BLACKONWHITE, WHITEONBLACK, COLORONCOLOR, HALFTONE}) {
        SCOPED_TRACE(mode);
        Canvas dst(6, 2);
        SetStretchBltMode(dst.dc, mode);
        EXPECT_TRUE(StretchBlt(dst.dc, 0, 0, 6, 2, src.dc, 0, 0, 2, 1, SRCCOPY));
        EXPECT_EQ(dst.Count(kRed, 0, 0, 3, 2), 6);
        EXPECT_EQ(dst.Count(kBlue, 3, 0, 6, 2), 6);
    }
}

TEST(GdiStretchBlt, ShrinkingRules) {
    Canvas src(4, 1, kWhite);
    src.Put(1, 0, kBlack);  // black, white | white, white  as blocks of two
    src.Put(2, 0, kBlack);
    src.Put(3, 0, kBlack);  // white, black | black, black
    auto shrink = [&](int mode) {
        Canvas dst(2, 1, kGreen);
        SetStretchBltMode(dst.dc, mode);
        StretchBlt(dst.dc, 0, 0, 2, 1, src.dc, 0, 0, 4, 1, SRCCOPY);
        return std::make_pair(dst.Px(0, 0), dst.Px(1, 0));
    };
    // Blocks are (white, black) and (black, black).
    EXPECT_EQ(shrink(BLACKONWHITE), std::make_pair(kBlack, kBlack));
    EXPECT_EQ(shrink(COLORONCOLOR), std::make_pair(kWhite, kBlack));  // first of each block
    src.Put(2, 0, kWhite);  // blocks (white, black) and (white, black)
    EXPECT_EQ(shrink(WHITEONBLACK), std::make_pair(kWhite, kWhite));
    EXPECT_EQ(shrink(BLACKONWHITE), std::make_pair(kBlack, kBlack));
    EXPECT_EQ(shrink(HALFTONE), std::make_pair(RGB(128, 128, 128), RGB(128, 128, 128)));
}

TEST(GdiStretchBlt, ShrinkingBothAxesAndMonoAnd) {
    Canvas src(4, 4, kWhite, 1);
    src.Put(3, 3, kBlack);
    Canvas dst(2, 2, kRed, 1);
    StretchBlt(dst.dc, 0, 0, 2, 2, src.dc, 0, 0, 4, 4, SRCCOPY);
    EXPECT_EQ(dst.Px(0, 0), kWhite);
    EXPECT_EQ(dst.Px(1, 1), kBlack);  // one black pixel in the block survives the AND
    Canvas half(1, 1);
    SetStretchBltMode(half.dc, HALFTONE);
    StretchBlt(half.dc, 0, 0, 1, 1, src.dc, 0, 0, 4, 4, SRCCOPY);
    EXPECT_EQ(half.Px(0, 0), RGB(239, 239, 239));  // 15 white, 1 black
}

TEST(GdiStretchBlt, NegativeExtentsMirror) {
    Canvas src(3, 2);
    src.Put(0, 0, kRed);
    src.Put(1, 0, kGreen);
    src.Put(2, 0, kBlue);
    Canvas dst(3, 2, kBlack);
    StretchBlt(dst.dc, 3, 0, -3, 1, src.dc, 0, 0, 3, 1, SRCCOPY);
    EXPECT_EQ(dst.Px(0, 0), kBlue);
    EXPECT_EQ(dst.Px(1, 0), kGreen);
    EXPECT_EQ(dst.Px(2, 0), kRed);
    // Both negative: no mirror.
    dst.Fill(kBlack);
    StretchBlt(dst.dc, 3, 0, -3, 1, src.dc, 3, 0, -3, 1, SRCCOPY);
    EXPECT_EQ(dst.Px(0, 0), kRed);
    // Vertical flip.
    dst.Fill(kBlack);
    StretchBlt(dst.dc, 0, 2, 3, -2, src.dc, 0, 0, 3, 2, SRCCOPY);
    EXPECT_EQ(dst.Px(0, 1), kRed);
    EXPECT_EQ(dst.Px(0, 0), kWhite);
}

TEST(GdiStretchBlt, ZeroAndHugeSizesAreHarmless) {
    Canvas src(2, 2, kRed);
    Canvas dst(2, 2);
    EXPECT_TRUE(StretchBlt(dst.dc, 0, 0, 0, 2, src.dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(dst.Count(kWhite), 4);
    EXPECT_TRUE(StretchBlt(dst.dc, -1000000000, 0, 2000000000, 2, src.dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(dst.Count(kRed), 4);
}

}  // namespace
}  // namespace zo::plat
