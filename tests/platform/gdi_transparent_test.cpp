// TransparentBlt, GradientFill, AlphaBlend, icons (DrawIconEx) and DrawStateA.
#include <gtest/gtest.h>

#include <vector>

#include "platform/Gdi.h"
#include "platform/gdi_canvas.h"

namespace zo::plat {
namespace {

using test::Canvas;
using test::Sys;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

// ---- TransparentBlt ------------------------------------------------------------------------

TEST(GdiTransparentBlt, SkipsTheKeyColour) {
    Canvas src(3, 1, kMagenta);
    src.Put(1, 0, kRed);
    Canvas dst(3, 1, kBlue);
    EXPECT_TRUE(TransparentBlt(dst.dc, 0, 0, 3, 1, src.dc, 0, 0, 3, 1, kMagenta));
    EXPECT_EQ(dst.Px(0, 0), kBlue);
    EXPECT_EQ(dst.Px(1, 0), kRed);
    EXPECT_EQ(dst.Px(2, 0), kBlue);
}

TEST(GdiTransparentBlt, KeyNoPixelHasCopiesUnchanged) {
    Canvas src(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            src.Put(x, y, RGB(x * 60, y * 100, 7));
    Canvas a(4, 3, kBlue), b(4, 3, kBlue);
    TransparentBlt(a.dc, 0, 0, 4, 3, src.dc, 0, 0, 4, 3, RGB(1, 1, 1));
    BitBlt(b.dc, 0, 0, 4, 3, src.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(a.Bits().pixels, b.Bits().pixels);
}

// Unstretched copies under origins, clipping and sources that reach past their bitmap, held to
// a pixel model: a destination pixel takes the source pixel unless that is the key colour or
// lies outside the source bitmap.
TEST(GdiTransparentBlt, UnstretchedCopiesMatchThePixelModel) {
    std::uint32_t seed = 12345;
    const auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % static_cast<std::uint32_t>(n));
    };
    for (int round = 0; round < 300; ++round) {
        Canvas src(7, 6, kMagenta);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 7; ++x)
                if (next(3) != 0) src.Put(x, y, RGB(x * 30, y * 40, round % 256));
        Canvas dst(9, 8, kBlue);
        const std::vector<Pixel> before = dst.Bits().pixels;
        // Viewport origin of the destination, then a clip given in logical coordinates.
        const int ox = next(5) - 2, oy = next(5) - 2;
        SetViewportOrgEx(dst.dc, ox, oy, nullptr);
        const int cl = next(9), ct = next(8), cw = 1 + next(9), ch = 1 + next(8);
        IntersectClipRect(dst.dc, cl - ox, ct - oy, cl - ox + cw, ct - oy + ch);
        const int x = next(11) - 2, y = next(10) - 2, w = next(9), h = next(8);
        const int sx = next(11) - 2, sy = next(10) - 2;
        ASSERT_TRUE(TransparentBlt(dst.dc, x, y, w, h, src.dc, sx, sy, w, h, kMagenta));
        int wrong = 0;
        for (int py = 0; py < 8; ++py)
            for (int px = 0; px < 9; ++px) {
                Pixel expect = before[static_cast<std::size_t>(py * 9 + px)];
                const int dx = px - ox - x, dy = py - oy - y;  // offset inside the copy
                const bool inCopy = dx >= 0 && dx < w && dy >= 0 && dy < h;
                const bool inClip = px >= cl && py >= ct && px < cl + cw && py < ct + ch;
                const int qx = sx + dx, qy = sy + dy;
                if (inCopy && inClip && qx >= 0 && qy >= 0 && qx < 7 && qy < 6 &&
                    src.Px(qx, qy) != kMagenta)
                    expect = src.Raw(qx, qy);
                wrong += dst.Raw(px, py) != expect;
            }
        ASSERT_EQ(wrong, 0) << "round " << round;
    }
}

TEST(GdiTransparentBlt, StretchesByPickingPixels) {
    Canvas src(2, 1, kMagenta);
    src.Put(0, 0, kGreen);
    Canvas dst(4, 2, kBlack);
    SetStretchBltMode(dst.dc, BLACKONWHITE);  // acts as colour-on-colour here
    TransparentBlt(dst.dc, 0, 0, 4, 2, src.dc, 0, 0, 2, 1, kMagenta);
    EXPECT_EQ(dst.Count(kGreen, 0, 0, 2, 2), 4);
    EXPECT_EQ(dst.Count(kBlack, 2, 0, 4, 2), 4);
    Canvas small(1, 1, kBlack);
    Canvas wide(4, 1, kRed);
    wide.Put(2, 0, kGreen);
    TransparentBlt(small.dc, 0, 0, 1, 1, wide.dc, 0, 0, 4, 1, kGreen);
    EXPECT_EQ(small.Px(0, 0), kRed);  // a picked pixel, never a blend
}

TEST(GdiTransparentBlt, NegativeSizesAndBadHandlesFail) {
    Canvas src(2, 2, kRed), dst(2, 2);
    EXPECT_FALSE(TransparentBlt(dst.dc, 2, 0, -2, 2, src.dc, 0, 0, 2, 2, 0));
    EXPECT_FALSE(TransparentBlt(dst.dc, 0, 0, 2, 2, src.dc, 2, 0, -2, 2, 0));
    EXPECT_FALSE(TransparentBlt(dst.dc, 0, 0, 2, 2, 0, 0, 0, 2, 2, 0));
    EXPECT_EQ(dst.Count(kWhite), 4);
}

TEST(GdiTransparentBlt, CopiesAlphaOfKeptPixels) {
    const unsigned char bits[] = {0x00, 0x00, 0xFF, 0x80, 0xFF, 0x00, 0xFF, 0xFF};
    HBITMAP bmp = CreateBitmap(2, 1, 1, 32, bits);
    HDC mem = CreateCompatibleDC(0);
    HGDIOBJ old = SelectObject(mem, bmp);
    Canvas dst(2, 1);
    TransparentBlt(dst.dc, 0, 0, 2, 1, mem, 0, 0, 2, 1, kMagenta);
    EXPECT_EQ(dst.Raw(0, 0), 0x80FF0000u);
    EXPECT_EQ(dst.Px(1, 0), kWhite);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
}

// ---- GradientFill --------------------------------------------------------------------------

bool Gradient(HDC dc, int x0, int y0, COLORREF c0, int x1, int y1, COLORREF c1, ULONG mode) {
    TRIVERTEX v[2];
    v[0].x = x0;
    v[0].y = y0;
    v[0].Red = static_cast<COLOR16>(GetRValue(c0) << 8);
    v[0].Green = static_cast<COLOR16>(GetGValue(c0) << 8);
    v[0].Blue = static_cast<COLOR16>(GetBValue(c0) << 8);
    v[1].x = x1;
    v[1].y = y1;
    v[1].Red = static_cast<COLOR16>(GetRValue(c1) << 8);
    v[1].Green = static_cast<COLOR16>(GetGValue(c1) << 8);
    v[1].Blue = static_cast<COLOR16>(GetBValue(c1) << 8);
    GRADIENT_RECT r{0, 1};
    return GradientFill(dc, v, 2, &r, 1, mode) != 0;
}

TEST(GdiGradientFill, HorizontalRunsFromTheFirstColourToTheSecond) {
    Canvas c(101, 2, kRed);
    EXPECT_TRUE(Gradient(c.dc, 0, 0, kBlack, 100, 1, kWhite, GRADIENT_FILL_RECT_H));
    EXPECT_EQ(c.Px(0, 0), kBlack);
    EXPECT_EQ(c.Px(50, 0), RGB(128, 128, 128));
    EXPECT_EQ(c.Px(99, 0), kWhite);  // the last column filled is the second colour
    EXPECT_EQ(c.Px(100, 0), kRed);   // the right column is not filled
    EXPECT_EQ(c.Px(0, 1), kRed);     // nor the bottom row
    EXPECT_EQ(c.Raw(99, 0) >> 24, 0xFFu);
}

TEST(GdiGradientFill, VerticalOver256) {
    Canvas c(1, 256);
    EXPECT_TRUE(Gradient(c.dc, 0, 0, kBlack, 1, 256, kBlue, GRADIENT_FILL_RECT_V));
    EXPECT_EQ(c.Px(0, 0), kBlack);
    EXPECT_EQ(c.Px(0, 128), RGB(0, 0, 128));
    EXPECT_EQ(c.Px(0, 255), kBlue);
}

TEST(GdiGradientFill, ReversedVerticesStartFromTheLeftVertex) {
    Canvas c(4, 1);
    Gradient(c.dc, 4, 1, kWhite, 0, 0, kBlack, GRADIENT_FILL_RECT_H);
    EXPECT_EQ(c.Px(0, 0), kBlack);
    EXPECT_EQ(c.Px(3, 0), kWhite);
}

TEST(GdiGradientFill, OriginClipAndBadInput) {
    Canvas c(10, 1);
    SetViewportOrgEx(c.dc, 2, 0, nullptr);
    IntersectClipRect(c.dc, 0, 0, 4, 1);
    Gradient(c.dc, 0, 0, kBlack, 8, 1, kWhite, GRADIENT_FILL_RECT_H);
    EXPECT_EQ(c.Px(2, 0), kBlack);
    EXPECT_EQ(c.Px(5, 0), RGB(109, 109, 109));  // k = 3 of 0..7
    EXPECT_EQ(c.Px(6, 0), kWhite);              // clipped
    TRIVERTEX v[2];
    GRADIENT_RECT bad{0, 5};
    EXPECT_FALSE(GradientFill(c.dc, v, 2, &bad, 1, GRADIENT_FILL_RECT_H));
    GRADIENT_RECT ok{0, 1};
    EXPECT_FALSE(GradientFill(c.dc, v, 2, &ok, 1, 7));
    EXPECT_FALSE(GradientFill(c.dc, nullptr, 2, &ok, 1, GRADIENT_FILL_RECT_H));
}

// ---- AlphaBlend ----------------------------------------------------------------------------

TEST(GdiAlphaBlend, ConstantAndPerPixelAlpha) {
    Canvas src(1, 1, kWhite);
    Canvas dst(1, 1, kBlack);
    BLENDFUNCTION half{AC_SRC_OVER, 0, 128, 0};
    EXPECT_TRUE(AlphaBlend(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, 1, 1, half));
    EXPECT_EQ(dst.Px(0, 0), RGB(128, 128, 128));
    // A premultiplied half-transparent red over blue.
    const unsigned char bits[] = {0x00, 0x00, 0x80, 0x80};
    HBITMAP bmp = CreateBitmap(1, 1, 1, 32, bits);
    HDC mem = CreateCompatibleDC(0);
    HGDIOBJ old = SelectObject(mem, bmp);
    Canvas blue(1, 1, kBlue);
    BLENDFUNCTION perPixel{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    EXPECT_TRUE(AlphaBlend(blue.dc, 0, 0, 1, 1, mem, 0, 0, 1, 1, perPixel));
    EXPECT_EQ(blue.Px(0, 0), RGB(128, 0, 127));
    EXPECT_FALSE(AlphaBlend(blue.dc, 0, 0, -1, 1, mem, 0, 0, 1, 1, perPixel));
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
}

// ---- Icons ---------------------------------------------------------------------------------

// A 2x2 icon: red, transparent / an inverting pixel, green.
HICON MaskIcon() {
    const unsigned char color[] = {0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 0, 0, 255, 0, 0};
    const unsigned char mask[] = {0x40, 0x00, 0x80, 0x00};
    ICONINFO ii;
    ii.hbmColor = CreateBitmap(2, 2, 1, 32, color);
    ii.hbmMask = CreateBitmap(2, 2, 1, 1, mask);
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(ii.hbmColor);
    DeleteObject(ii.hbmMask);
    return icon;
}

// A 2x1 icon by alpha: opaque blue, half-transparent red.
HICON AlphaIcon() {
    const unsigned char color[] = {255, 0, 0, 255, 0, 0, 255, 128};
    ICONINFO ii;
    ii.hbmColor = CreateBitmap(2, 1, 1, 32, color);
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(ii.hbmColor);
    return icon;
}

TEST(GdiDrawIconEx, MaskAndImage) {
    HICON icon = MaskIcon();
    ASSERT_NE(icon, 0u);
    Canvas c(3, 3, RGB(10, 20, 30));
    EXPECT_TRUE(DrawIconEx(c.dc, 1, 1, icon, 0, 0, 0, 0, DI_NORMAL));
    EXPECT_EQ(c.Px(1, 1), kRed);
    EXPECT_EQ(c.Px(2, 1), RGB(10, 20, 30));     // transparent
    EXPECT_EQ(c.Px(1, 2), RGB(245, 235, 225));  // inverted
    EXPECT_EQ(c.Px(2, 2), kGreen);
    EXPECT_EQ(c.Px(0, 0), RGB(10, 20, 30));
    Canvas m(2, 2, kBlue);
    DrawIconEx(m.dc, 0, 0, icon, 0, 0, 0, 0, DI_MASK);
    EXPECT_EQ(m.Px(0, 0), kBlack);
    EXPECT_EQ(m.Px(1, 0), kWhite);
    EXPECT_FALSE(DrawIconEx(m.dc, 0, 0, icon, 0, 0, 0, 0, 0));
    DestroyIcon(icon);
    EXPECT_FALSE(DrawIconEx(m.dc, 0, 0, icon, 0, 0, 0, 0, DI_NORMAL));
}

TEST(GdiDrawIconEx, StretchesAndBlendsAlpha) {
    HICON icon = AlphaIcon();
    ASSERT_NE(icon, 0u);
    Canvas c(4, 2, kWhite);
    EXPECT_TRUE(DrawIconEx(c.dc, 0, 0, icon, 4, 2, 0, 0, DI_NORMAL));
    EXPECT_EQ(c.Count(kBlue, 0, 0, 2, 2), 4);
    EXPECT_EQ(c.Px(3, 1), RGB(255, 127, 127));  // half red over white
    EXPECT_EQ(c.Raw(3, 1) >> 24, 0xFFu);
    Canvas d(32, 32, kWhite);
    EXPECT_TRUE(DrawIcon(d.dc, 0, 0, icon));  // the default size is 32x32
    EXPECT_EQ(d.Count(kBlue), 16 * 32);
    DestroyIcon(icon);
}

// ---- DrawStateA ----------------------------------------------------------------------------

TEST(GdiDrawState, IconNormalIsDrawIconEx) {
    HICON icon = MaskIcon();
    Canvas a(3, 3, kBlue), b(3, 3, kBlue);
    EXPECT_TRUE(DrawStateA(a.dc, 0, nullptr, static_cast<LPARAM>(icon), 0, 1, 0, 0, 0,
                           DST_ICON | DSS_NORMAL));
    DrawIconEx(b.dc, 1, 0, icon, 0, 0, 0, 0, DI_NORMAL);
    EXPECT_EQ(a.Bits().pixels, b.Bits().pixels);
    // A smaller cx clips the image.
    Canvas clipped(3, 3, kBlue);
    DrawStateA(clipped.dc, 0, nullptr, static_cast<LPARAM>(icon), 0, 0, 0, 1, 2, DST_ICON);
    EXPECT_EQ(clipped.Px(0, 0), kRed);
    EXPECT_EQ(clipped.Px(1, 1), kBlue);
    DestroyIcon(icon);
}

TEST(GdiDrawState, DisabledEmbossesTheDarkPixels) {
    HICON icon = MaskIcon();
    Canvas c(4, 4, kBlue);
    EXPECT_TRUE(DrawStateA(c.dc, 0, nullptr, static_cast<LPARAM>(icon), 0, 0, 0, 0, 0,
                           DST_ICON | DSS_DISABLED));
    // Dark pixels (0,0) and (1,1); the transparent and the inverting pixel count as white.
    EXPECT_EQ(c.Px(0, 0), Sys(COLOR_3DSHADOW));
    EXPECT_EQ(c.Px(1, 1), Sys(COLOR_3DSHADOW));
    EXPECT_EQ(c.Px(2, 2), Sys(COLOR_3DHILIGHT));
    EXPECT_EQ(c.Px(1, 0), kBlue);
    EXPECT_EQ(c.Px(0, 1), kBlue);
    DestroyIcon(icon);
}

TEST(GdiDrawState, MonoPaintsWithTheBrush) {
    Canvas bmpSrc(2, 1, kWhite);
    bmpSrc.Put(1, 0, kGreen);
    HBITMAP bmp = CreateBitmap(2, 1, 1, 32, nullptr);
    HDC mem = CreateCompatibleDC(0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, 2, 1, bmpSrc.dc, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    HBRUSH red = CreateSolidBrush(kRed);
    Canvas c(3, 1, kBlue);
    EXPECT_TRUE(DrawStateA(c.dc, red, nullptr, static_cast<LPARAM>(bmp), 0, 1, 0, 0, 0,
                           DST_BITMAP | DSS_MONO));
    EXPECT_EQ(c.Px(1, 0), kBlue);  // white stays out
    EXPECT_EQ(c.Px(2, 0), kRed);
    Canvas n(2, 1, kBlue);
    EXPECT_TRUE(DrawStateA(n.dc, 0, nullptr, static_cast<LPARAM>(bmp), 0, 0, 0, 0, 0, DST_BITMAP));
    EXPECT_EQ(n.Px(1, 0), kGreen);
    EXPECT_EQ(n.Px(0, 0), kWhite);
    DeleteObject(red);
    DeleteObject(bmp);
}

BOOL PaintCorner(HDC hdc, LPARAM, WPARAM, int cx, int cy) {
    RECT r{0, 0, cx, cy};
    FillRect(hdc, &r, GetStockObject(BLACK_BRUSH));
    return TRUE;
}

TEST(GdiDrawState, ComplexCallbackDrawsAtThePlace) {
    Canvas c(6, 6, kBlue);
    EXPECT_TRUE(DrawStateA(c.dc, 0, PaintCorner, 0, 0, 2, 3, 2, 2, DST_COMPLEX));
    EXPECT_EQ(c.Count(kBlack), 4);
    EXPECT_EQ(c.Px(2, 3), kBlack);
    EXPECT_EQ(c.Px(3, 4), kBlack);
    RECT box;
    EXPECT_EQ(GetClipBox(c.dc, &box), SIMPLEREGION);  // the DC is as it was
    EXPECT_EQ(box, (RECT{0, 0, 6, 6}));
    Canvas d(6, 6, kWhite);
    EXPECT_TRUE(DrawStateA(d.dc, 0, PaintCorner, 0, 0, 1, 1, 2, 2, DST_COMPLEX | DSS_DISABLED));
    EXPECT_EQ(d.Px(1, 1), Sys(COLOR_3DSHADOW));
    EXPECT_EQ(d.Px(3, 3), Sys(COLOR_3DHILIGHT));
    EXPECT_FALSE(DrawStateA(d.dc, 0, nullptr, 0, 0, 0, 0, 2, 2, DST_COMPLEX));
    EXPECT_FALSE(DrawStateA(d.dc, 0, nullptr, 0, 0, 0, 0, 0, 0, DST_TEXT));
}

}  // namespace
}  // namespace zo::plat
