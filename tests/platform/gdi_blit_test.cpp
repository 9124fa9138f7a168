// Raster copies: every one of the 256 ternary operations through BitBlt and PatBlt on colour
// and monochrome bitmaps, held to the definition bit by bit; alpha, origins,
// clipping and overlap; StretchBlt modes and mirroring; TransparentBlt, AlphaBlend and
// GradientFill.
#include <gtest/gtest.h>

#include <vector>

#include "platform/Gdi.h"
#include "platform/gdi_canvas.h"

namespace zo::plat {
namespace {

using namespace test;

// The operation code goes in the middle byte; the named operations are passed with their full
// values so that the usual constants are what is tried for them.
DWORD RopOf(unsigned code) {
    for (const DWORD named :
         {SRCCOPY, SRCPAINT, SRCAND, SRCINVERT, SRCERASE, NOTSRCCOPY, NOTSRCERASE, MERGECOPY,
          MERGEPAINT, PATCOPY, PATPAINT, PATINVERT, DSTINVERT, BLACKNESS, WHITENESS})
        if (((named >> 16) & 0xFF) == code) return named;
    return static_cast<DWORD>(code) << 16;
}

// Each of the 256 operations (the 16 that need no source go through PatBlt) on colour pixels,
// from a 1-bit source and onto a 1-bit target, held to a reference image: per operation the
// two colour targets, the one from a 1-bit source and the 1-bit target, 16 operations a row.
TEST(GdiRop, EveryTernaryOperationOnColourAndMonochromeBitmaps) {
    Sheet sheet;
    // Two operand sets; the second has every channel different so that a channel swap or a
    // lost bit shows.
    const COLORREF P[2] = {0xF0F0F0, 0x3C5A96}, S[2] = {0xCCCCCC, 0x0FF00F},
                   D[2] = {0xAAAAAA, 0x6699CC};
    Canvas src(2, 1, S[0]);
    src.Put(1, 0, S[1]);
    // From a 1-bit source, 0 bits take the destination's text colour and 1 bits its
    // background colour (the source DC's do not matter); with those ~0xCC and 0xCC both bit
    // values meet every P and D.
    const COLORREF text = 0x333333, back = 0xCCCCCC;
    Canvas mono(2, 1, kWhite, 1);
    mono.Put(0, 0, kBlack);
    SetTextColor(mono.dc, kGreen);
    SetBkColor(mono.dc, kGreen);
    // Onto a 1-bit target, colour source pixels equal to the source's background colour are 1,
    // others (white, or one step off) 0; the eight (P, S, D) bit triples are laid out as
    // pixels, P coming from a black or a white brush.
    const COLORREF key = RGB(10, 200, 30);
    Canvas keyed(8, 1, kWhite);
    SetBkColor(keyed.dc, key);
    for (int i = 1; i < 8; ++i)
        keyed.Put(i, 0, (i & 2) ? key : RGB(10, 200, 31));
    for (unsigned code = 0; code < 256; ++code) {
        SCOPED_TRACE(testing::Message() << "rop 0x" << std::hex << code);
        if (code % 16 == 0) sheet.NewRow();
        for (int i = 0; i < 2; ++i) {
            Canvas dst(3, 2, D[i]);
            Owned brush(CreateSolidBrush(P[i]), dst.dc);
            EXPECT_TRUE(BitBlt(dst.dc, 1, 0, 1, 1, src.dc, i, 0, RopOf(code)));
            EXPECT_EQ(dst.Raw(1, 0) >> 24, 0xFFu);
            sheet.Add(dst);
        }
        Canvas dst(2, 1, D[0]), target(8, 1, kBlack, 1);
        SetTextColor(dst.dc, text);
        SetBkColor(dst.dc, back);
        Owned brush(CreateSolidBrush(P[0]), dst.dc);
        BitBlt(dst.dc, 0, 0, 2, 1, mono.dc, 0, 0, RopOf(code));
        sheet.Add(dst);
        for (int i = 1; i < 8; i += 2)
            target.Put(i, 0, kWhite);
        for (const int pbit : {0, 1}) {
            SelectObject(target.dc, GetStockObject(pbit ? WHITE_BRUSH : BLACK_BRUSH));
            BitBlt(target.dc, pbit * 4, 0, 4, 1, keyed.dc, pbit * 4, 0, RopOf(code));
        }
        sheet.Add(target);
    }
    EXPECT_EQ(sheet.Compare("gdi/rops"), "");
    // Between two 1-bit bitmaps bits are copied with no colour conversion.
    Canvas b(2, 1, kWhite, 1);
    SetTextColor(b.dc, kRed);
    BitBlt(b.dc, 0, 0, 2, 1, mono.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(b.Show(kPlain), "#.");
    // PatBlt: a negative extent runs leftwards; an operation that needs a source is refused.
    Canvas c(4, 1, kRed);
    EXPECT_TRUE(PatBlt(c.dc, 3, 0, -1, 1, BLACKNESS));
    EXPECT_FALSE(PatBlt(c.dc, 0, 0, 1, 1, SRCCOPY));
    EXPECT_EQ(c.Show(kPlain), "RR#R");
}

TEST(GdiBitBlt, CopyKeepsAlphaOriginsClipSourceBoundsAndOverlap) {
    Canvas alpha(1, 1), dst(2, 1);
    alpha.Bits().pixels[0] = 0x40302010u;
    BitBlt(dst.dc, 0, 0, 1, 1, alpha.dc, 0, 0, SRCCOPY);
    BitBlt(dst.dc, 1, 0, 1, 1, alpha.dc, 0, 0, SRCPAINT);  // other operations are opaque
    EXPECT_EQ(dst.Raw(0, 0), 0x40302010u);
    EXPECT_EQ(dst.Raw(1, 0), 0xFFFFFFFFu);
    Canvas src(4, 4, kRed), big(6, 6);
    src.Put(1, 1, kBlue);
    SetViewportOrgEx(src.dc, -1, -1, nullptr);  // logical (1,1) is device (0,0)
    SetViewportOrgEx(big.dc, 2, 0, nullptr);
    IntersectClipRect(big.dc, 0, 0, 3, 6);
    EXPECT_TRUE(BitBlt(big.dc, 0, 0, 10, 10, src.dc, 2, 2, SRCCOPY));
    // Clipped at column 5, and nothing from beyond the source bitmap below row 2.
    EXPECT_EQ(big.Show(kPlain), "..BRR.|..RRR.|..RRR.|......|......|......");
    // Copies within one bitmap read the source before writing over it.
    Canvas c(5, 1);
    for (int x = 0; x < 5; ++x)
        c.Put(x, 0, RGB(x * 10, 0, 0));
    BitBlt(c.dc, 1, 0, 4, 1, c.dc, 0, 0, SRCCOPY);
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
    EXPECT_TRUE(BitBlt(dst.dc, 0, 0, 1, 1, 0, 0, 0, BLACKNESS));  // needs no source
    EXPECT_EQ(dst.Show(kPlain), "#.|..");
}

TEST(GdiStretchBlt, EnlargingReplicatesInEveryModeAndShrinkingFollowsTheMode) {
    Canvas two(2, 1, kRed);
    two.Put(1, 0, kBlue);
    for (int mode : {BLACKONWHITE, WHITEONBLACK, COLORONCOLOR, HALFTONE}) {
        Canvas dst(6, 2);
        SetStretchBltMode(dst.dc, mode);
        EXPECT_TRUE(StretchBlt(dst.dc, 0, 0, 6, 2, two.dc, 0, 0, 2, 1, SRCCOPY));
        EXPECT_EQ(dst.Show(kPlain), "RRRBBB|RRRBBB") << mode;
    }
    struct Row {
        const char* name;
        COLORREF pixel2;  // blocks (white, black) and (pixel2, black)
        int mode;
        const char* want;
    };
    const Row rows[] = {{"and", kBlack, BLACKONWHITE, "##"},
                        {"first of each block", kBlack, COLORONCOLOR, ".#"},
                        {"or", kWhite, WHITEONBLACK, ".."},
                        {"and of mixed", kWhite, BLACKONWHITE, "##"},
                        {"average", kWhite, HALFTONE, "gg"}};
    for (const Row& row : rows) {
        Canvas src(4, 1, kBlack), dst(2, 1, kGreen);
        src.Put(0, 0, kWhite);
        src.Put(2, 0, row.pixel2);
        SetStretchBltMode(dst.dc, row.mode);
        StretchBlt(dst.dc, 0, 0, 2, 1, src.dc, 0, 0, 4, 1, SRCCOPY);
        EXPECT_EQ(dst.Show({{kWhite, '.'}, {kBlack, '#'}, {RGB(128, 128, 128), 'g'}}), row.want)
            << row.name;
    }
    // Both axes at once: one black pixel in a 1-bit block survives the AND; halftone averages.
    Canvas src(4, 4, kWhite, 1), dst(2, 2, kRed, 1), half(1, 1);
    src.Put(3, 3, kBlack);
    StretchBlt(dst.dc, 0, 0, 2, 2, src.dc, 0, 0, 4, 4, SRCCOPY);
    EXPECT_EQ(dst.Show(kPlain), "..|.#");
    SetStretchBltMode(half.dc, HALFTONE);
    StretchBlt(half.dc, 0, 0, 1, 1, src.dc, 0, 0, 4, 4, SRCCOPY);
    EXPECT_EQ(half.Px(0, 0), RGB(239, 239, 239));  // 15 white, 1 black
}

TEST(GdiStretchBlt, NegativeExtentsMirrorAndZeroOrHugeSizesAreHarmless) {
    Canvas src(3, 2), dst(3, 2, kBlack);
    src.Put(0, 0, kRed);
    src.Put(1, 0, kGreen);
    src.Put(2, 0, kBlue);
    StretchBlt(dst.dc, 3, 0, -3, 1, src.dc, 0, 0, 3, 1, SRCCOPY);
    EXPECT_EQ(dst.Show(kPlain), "BGR|###");
    StretchBlt(dst.dc, 3, 0, -3, 1, src.dc, 3, 0, -3, 1, SRCCOPY);  // both negative: no mirror
    EXPECT_EQ(dst.Show(kPlain), "RGB|###");
    StretchBlt(dst.dc, 0, 2, 3, -2, src.dc, 0, 0, 3, 2, SRCCOPY);
    EXPECT_EQ(dst.Show(kPlain), "...|RGB");
    Canvas red(2, 2, kRed), d(2, 2);
    EXPECT_TRUE(StretchBlt(d.dc, 0, 0, 0, 2, red.dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(d.Count(kWhite), 4);
    EXPECT_TRUE(StretchBlt(d.dc, -1000000000, 0, 2000000000, 2, red.dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(d.Count(kRed), 4);
}

TEST(GdiTransparentBlt, SkipsTheKeyCopiesAlphaStretchesByPickingAndFailsOnBadInput) {
    Canvas src(3, 1, kMagenta), dst(3, 1, kBlue);
    src.Put(1, 0, kRed);
    src.Bits().pixels[2] = 0x80FF0000u;  // kept with its alpha
    EXPECT_TRUE(TransparentBlt(dst.dc, 0, 0, 3, 1, src.dc, 0, 0, 3, 1, kMagenta));
    EXPECT_EQ(dst.Show(kPlain), "BRR");
    EXPECT_EQ(dst.Raw(2, 0), 0x80FF0000u);
    Canvas two(2, 1, kMagenta), big(4, 2, kBlack);
    two.Put(0, 0, kGreen);
    SetStretchBltMode(big.dc, BLACKONWHITE);  // acts as colour-on-colour here
    TransparentBlt(big.dc, 0, 0, 4, 2, two.dc, 0, 0, 2, 1, kMagenta);
    EXPECT_EQ(big.Show(kPlain), "GG##|GG##");
    Canvas small(1, 1, kBlack), wide(4, 1, kRed);
    wide.Put(2, 0, kGreen);
    TransparentBlt(small.dc, 0, 0, 1, 1, wide.dc, 0, 0, 4, 1, kGreen);
    EXPECT_EQ(small.Px(0, 0), kRed);  // a picked pixel, never a blend
    Canvas red(2, 2, kRed), white(2, 2);
    EXPECT_FALSE(TransparentBlt(white.dc, 2, 0, -2, 2, red.dc, 0, 0, 2, 2, 0));
    EXPECT_FALSE(TransparentBlt(white.dc, 0, 0, 2, 2, red.dc, 2, 0, -2, 2, 0));
    EXPECT_FALSE(TransparentBlt(white.dc, 0, 0, 2, 2, 0, 0, 0, 2, 2, 0));
    EXPECT_EQ(white.Count(kWhite), 4);
}

// Unstretched copies under origins, clipping and sources that reach past their bitmap, held to
// a reference image of 300 random cases: a destination pixel takes the source pixel unless
// that is the key colour or lies outside the source bitmap. A key no pixel has makes it a
// plain copy.
TEST(GdiTransparentBlt, UnstretchedCopiesMatchTheReference) {
    Sheet sheet;
    std::uint32_t seed = 12345;
    const auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % static_cast<std::uint32_t>(n));
    };
    for (int round = 0; round < 300; ++round) {
        Canvas src(7, 6, kMagenta), dst(9, 8, kBlue);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 7; ++x)
                if (next(3) != 0) src.Put(x, y, RGB(x * 30, y * 40, round % 256));
        const COLORREF key = round % 10 == 0 ? RGB(1, 1, 1) : kMagenta;
        // Viewport origin of the destination, then a clip given in logical coordinates.
        const int ox = next(5) - 2, oy = next(5) - 2;
        SetViewportOrgEx(dst.dc, ox, oy, nullptr);
        const int cl = next(9), ct = next(8), cw = 1 + next(9), ch = 1 + next(8);
        IntersectClipRect(dst.dc, cl - ox, ct - oy, cl - ox + cw, ct - oy + ch);
        const int x = next(11) - 2, y = next(10) - 2, w = next(9), h = next(8);
        const int sx = next(11) - 2, sy = next(10) - 2;
        ASSERT_TRUE(TransparentBlt(dst.dc, x, y, w, h, src.dc, sx, sy, w, h, key));
        if (round % 20 == 0) sheet.NewRow();
        sheet.Add(dst);
    }
    EXPECT_EQ(sheet.Compare("gdi/transparent"), "");
}

TEST(GdiAlphaBlend, ConstantAndPerPixelAlpha) {
    Canvas src(1, 1, kWhite), dst(1, 1, kBlack);
    EXPECT_TRUE(AlphaBlend(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, 1, 1, {AC_SRC_OVER, 0, 128, 0}));
    EXPECT_EQ(dst.Px(0, 0), RGB(128, 128, 128));
    // A premultiplied half-transparent red over blue.
    Canvas red(1, 1), blue(1, 1, kBlue);
    red.Bits().pixels[0] = 0x80800000u;
    const BLENDFUNCTION perPixel{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    EXPECT_TRUE(AlphaBlend(blue.dc, 0, 0, 1, 1, red.dc, 0, 0, 1, 1, perPixel));
    EXPECT_EQ(blue.Px(0, 0), RGB(128, 0, 127));
    EXPECT_FALSE(AlphaBlend(blue.dc, 0, 0, -1, 1, red.dc, 0, 0, 1, 1, perPixel));
}

bool Gradient(HDC dc, RECT r, COLORREF c0, COLORREF c1, ULONG mode) {
    const auto ch = [](int v) { return static_cast<COLOR16>(v << 8); };
    TRIVERTEX v[2] = {{r.left, r.top, ch(GetRValue(c0)), ch(GetGValue(c0)), ch(GetBValue(c0))},
                      {r.right, r.bottom, ch(GetRValue(c1)), ch(GetGValue(c1)), ch(GetBValue(c1))}};
    GRADIENT_RECT g{0, 1};
    return GradientFill(dc, v, 2, &g, 1, mode) != 0;
}

TEST(GdiGradientFill, RunsFromTheFirstColourToTheSecondAcrossTheRectangle) {
    Canvas c(101, 2, kRed), v(1, 256), reversed(4, 1);
    EXPECT_TRUE(Gradient(c.dc, {0, 0, 100, 1}, kBlack, kWhite, GRADIENT_FILL_RECT_H));
    // The last column filled is the second colour; the right column and bottom row stay out.
    const Key key = {{kBlack, '#'}, {RGB(128, 128, 128), 'g'}, {kWhite, '.'}, {kRed, 'R'}};
    EXPECT_EQ(c.Pick(key, {{0, 0}, {50, 0}, {99, 0}, {100, 0}, {0, 1}}), "#g.RR");
    EXPECT_EQ(c.Raw(99, 0) >> 24, 0xFFu);
    EXPECT_TRUE(Gradient(v.dc, {0, 0, 1, 256}, kBlack, kBlue, GRADIENT_FILL_RECT_V));
    EXPECT_EQ(
        v.Pick({{kBlack, '#'}, {RGB(0, 0, 128), 'b'}, {kBlue, 'B'}}, {{0, 0}, {0, 128}, {0, 255}}),
        "#bB");
    Gradient(reversed.dc, {4, 1, 0, 0}, kWhite, kBlack, GRADIENT_FILL_RECT_H);
    EXPECT_EQ(reversed.Pick(kPlain, {{0, 0}, {3, 0}}), "#.");  // from the left vertex
}

TEST(GdiGradientFill, OriginClipAndBadInput) {
    Canvas c(10, 1);
    SetViewportOrgEx(c.dc, 2, 0, nullptr);
    IntersectClipRect(c.dc, 0, 0, 4, 1);
    Gradient(c.dc, {0, 0, 8, 1}, kBlack, kWhite, GRADIENT_FILL_RECT_H);
    EXPECT_EQ(c.Px(2, 0), kBlack);
    EXPECT_EQ(c.Px(5, 0), RGB(109, 109, 109));  // k = 3 of 0..7
    EXPECT_EQ(c.Px(6, 0), kWhite);              // clipped
    TRIVERTEX v[2];
    GRADIENT_RECT bad{0, 5}, ok{0, 1};
    EXPECT_FALSE(GradientFill(c.dc, v, 2, &bad, 1, GRADIENT_FILL_RECT_H));
    EXPECT_FALSE(GradientFill(c.dc, v, 2, &ok, 1, 7));
    EXPECT_FALSE(GradientFill(c.dc, nullptr, 2, &ok, 1, GRADIENT_FILL_RECT_H));
}

}  // namespace
}  // namespace zo::plat
