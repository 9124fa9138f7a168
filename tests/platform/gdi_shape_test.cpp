// The focus rectangle, frame controls (caption close, scroll arrows, check box), polygons and
// rectangles.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "platform/Gdi.h"
#include "platform/gdi_canvas.h"

namespace zo::plat {
namespace {

using test::Canvas;
using test::Sys;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

// ---- DrawFocusRect -------------------------------------------------------------------------

void Noise(const Canvas& c) {
    unsigned v = 12345;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            v = v * 1103515245u + 12345u;
            c.Put(x, y, (v >> 8) & 0xFFFFFF);
        }
}

TEST(GdiFocusRect, SecondCallRestoresEveryPixel) {
    Canvas c(12, 9);
    Noise(c);
    std::vector<Pixel> before = c.Bits().pixels;
    RECT r{1, 2, 11, 8};
    EXPECT_TRUE(DrawFocusRect(c.dc, &r));
    EXPECT_NE(c.Bits().pixels, before);
    EXPECT_TRUE(DrawFocusRect(c.dc, &r));
    EXPECT_EQ(c.Bits().pixels, before);
}

TEST(GdiFocusRect, CheckerboardWithDefaultColours) {
    Canvas c(6, 4);
    RECT r{0, 0, 6, 4};
    DrawFocusRect(c.dc, &r);
    // Border pixels with x + y even are inverted, the others keep their colour.
    EXPECT_EQ(c.Px(0, 0), kBlack);
    EXPECT_EQ(c.Px(1, 0), kWhite);
    EXPECT_EQ(c.Px(4, 0), kBlack);
    EXPECT_EQ(c.Px(5, 0), kWhite);
    EXPECT_EQ(c.Px(0, 1), kWhite);
    EXPECT_EQ(c.Px(0, 2), kBlack);
    EXPECT_EQ(c.Px(5, 1), kBlack);
    EXPECT_EQ(c.Px(0, 3), kWhite);
    EXPECT_EQ(c.Px(1, 3), kBlack);
    EXPECT_EQ(c.Px(5, 3), kBlack);
    EXPECT_EQ(c.Count(kWhite, 1, 1, 5, 3), 8);  // inside untouched
    EXPECT_EQ(c.Count(kBlack), 8);
}

TEST(GdiFocusRect, PatternFollowsBrushOriginNotViewport) {
    Canvas c(5, 2);
    SetViewportOrgEx(c.dc, 1, 0, nullptr);
    RECT r{0, 0, 3, 2};  // device columns 1..3
    DrawFocusRect(c.dc, &r);
    // Aligned to the device, so device column 1 of row 0 (odd) keeps its colour.
    EXPECT_EQ(c.Px(1, 0), kWhite);
    EXPECT_EQ(c.Px(2, 0), kBlack);
    EXPECT_EQ(c.Px(1, 1), kBlack);
    EXPECT_EQ(c.Px(0, 0), kWhite);
    Canvas d(4, 3);
    SetBrushOrgEx(d.dc, 1, 0, nullptr);
    RECT s{0, 0, 4, 3};
    DrawFocusRect(d.dc, &s);
    EXPECT_EQ(d.Px(0, 0), kWhite);
    EXPECT_EQ(d.Px(1, 0), kBlack);
}

TEST(GdiFocusRect, UsesTextAndBackgroundColours) {
    Canvas c(4, 3, RGB(0x00, 0x78, 0xD7));
    SetBkColor(c.dc, RGB(255, 255, 255));
    SetTextColor(c.dc, RGB(0, 0, 0xFF));
    RECT r{0, 0, 4, 3};
    DrawFocusRect(c.dc, &r);
    EXPECT_EQ(c.Px(0, 0), RGB(0xFF, 0x87, 0x28));  // XOR white: the orange look
    EXPECT_EQ(c.Px(1, 0), RGB(0x00, 0x78, 0x28));  // XOR the text colour
}

// ---- DrawFrameControl ----------------------------------------------------------------------

using PixelSet = std::set<std::pair<int, int>>;

PixelSet PixelsOf(const Canvas& c, COLORREF colour) {
    PixelSet s;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x)
            if (c.Px(x, y) == colour) s.insert({x, y});
    return s;
}

// The cross of the 16x14 caption button: two 45-degree diagonals two strokes thick.
PixelSet CloseCross(int dx, int dy) {
    PixelSet s;
    for (int i = 0; i < 7; ++i)
        for (int k = 0; k < 2; ++k) {
            s.insert({4 + i + k + dx, 3 + i + dy});
            s.insert({4 + i + k + dx, 9 - i + dy});
        }
    return s;
}

TEST(GdiFrameControl, CaptionCloseNormal) {
    Canvas c(16, 14, RGB(1, 2, 3));
    RECT r{0, 0, 16, 14};
    EXPECT_TRUE(DrawFrameControl(c.dc, &r, DFC_CAPTION, DFCS_CAPTIONCLOSE));
    EXPECT_EQ(c.Px(0, 0), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(c.Px(1, 1), Sys(COLOR_3DLIGHT));
    EXPECT_EQ(c.Px(14, 12), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(c.Px(15, 13), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(c.Px(2, 2), Sys(COLOR_BTNFACE));
    const PixelSet cross = CloseCross(0, 0);
    EXPECT_EQ(cross.size(), 26u);
    EXPECT_EQ(PixelsOf(c, Sys(COLOR_BTNTEXT)), cross);
    EXPECT_EQ(c.Count(RGB(1, 2, 3)), 0);
    EXPECT_EQ(r, (RECT{0, 0, 16, 14}));
}

TEST(GdiFrameControl, CaptionClosePushedMovesGlyphAndSinks) {
    Canvas c(16, 14);
    RECT r{0, 0, 16, 14};
    EXPECT_TRUE(DrawFrameControl(c.dc, &r, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_PUSHED));
    EXPECT_EQ(c.Px(0, 0), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(c.Px(1, 1), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(c.Px(14, 12), Sys(COLOR_3DLIGHT));
    EXPECT_EQ(c.Px(15, 13), Sys(COLOR_BTNHIGHLIGHT));
    const PixelSet black = PixelsOf(c, Sys(COLOR_BTNTEXT));
    EXPECT_EQ(black, CloseCross(1, 1));
    EXPECT_EQ(black.begin()->first, 5);  // columns 5..12
    EXPECT_EQ(black.rbegin()->first, 12);
}

TEST(GdiFrameControl, CaptionCloseInactiveAndAdjust) {
    Canvas c(16, 14);
    RECT r{0, 0, 16, 14};
    DrawFrameControl(c.dc, &r, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_INACTIVE | DFCS_ADJUSTRECT);
    EXPECT_EQ(PixelsOf(c, Sys(COLOR_BTNSHADOW)).count({4, 3}), 1u);
    EXPECT_EQ(c.Px(12, 10), Sys(COLOR_BTNHIGHLIGHT));  // the embossed copy at (+1, +1)
    EXPECT_EQ(c.Count(kBlack), 0);
    EXPECT_EQ(r, (RECT{2, 2, 14, 12}));
    // The square is centred: a wide button moves the cross right.
    Canvas w(20, 14);
    RECT wide{0, 0, 20, 14};
    DrawFrameControl(w.dc, &wide, DFC_CAPTION, DFCS_CAPTIONCLOSE);
    EXPECT_EQ(PixelsOf(w, kBlack), CloseCross(2, 0));
}

TEST(GdiFrameControl, ScrollArrows) {
    struct Case {
        UINT kind;
        std::pair<int, int> tip, baseEnd;
    };
    const Case cases[] = {{DFCS_SCROLLUP, {7, 6}, {10, 9}},
                          {DFCS_SCROLLDOWN, {7, 9}, {10, 6}},
                          {DFCS_SCROLLLEFT, {6, 7}, {9, 10}},
                          {DFCS_SCROLLRIGHT, {9, 7}, {6, 10}}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.kind);
        Canvas c(16, 16);
        RECT r{0, 0, 16, 16};
        EXPECT_TRUE(DrawFrameControl(c.dc, &r, DFC_SCROLL, k.kind));
        EXPECT_EQ(c.Count(kBlack), 16);  // rows of 1, 3, 5 and 7 pixels
        EXPECT_EQ(c.Px(k.tip.first, k.tip.second), kBlack);
        EXPECT_EQ(c.Px(k.baseEnd.first, k.baseEnd.second), kBlack);
        Canvas p(16, 16);
        DrawFrameControl(p.dc, &r, DFC_SCROLL, k.kind | DFCS_PUSHED);
        EXPECT_EQ(p.Px(k.tip.first + 1, k.tip.second + 1), kBlack);
        EXPECT_EQ(p.Count(kBlack, 2, 2, 14, 14), 16);
    }
    Canvas g(16, 16);
    RECT r{0, 0, 16, 16};
    DrawFrameControl(g.dc, &r, DFC_SCROLL, DFCS_SCROLLUP | DFCS_INACTIVE);
    EXPECT_EQ(g.Px(7, 6), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(g.Px(11, 10), Sys(COLOR_BTNHIGHLIGHT));
}

TEST(GdiFrameControl, CheckBox) {
    Canvas c(13, 13, RGB(1, 2, 3));
    RECT r{0, 0, 13, 13};
    EXPECT_TRUE(DrawFrameControl(c.dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED));
    EXPECT_EQ(c.Px(0, 0), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(c.Px(1, 1), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(c.Px(11, 11), Sys(COLOR_3DLIGHT));
    EXPECT_EQ(c.Px(12, 12), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(c.Px(2, 2), kWhite);
    EXPECT_EQ(c.Count(kBlack), 21);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(c.Px(3, 5 + k), kBlack);
        EXPECT_EQ(c.Px(6, 6 + k), kBlack);
        EXPECT_EQ(c.Px(9, 3 + k), kBlack);
    }
    Canvas u(13, 13);
    DrawFrameControl(u.dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK);
    EXPECT_EQ(u.Count(kBlack), 0);
    Canvas d(13, 13);
    DrawFrameControl(d.dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE);
    EXPECT_EQ(d.Px(2, 2), Sys(COLOR_BTNFACE));
    EXPECT_EQ(d.Px(3, 5), Sys(COLOR_BTNSHADOW));
    EXPECT_FALSE(DrawFrameControl(d.dc, &r, DFC_MENU, 0));
}

// ---- Polygon and Rectangle -----------------------------------------------------------------

class GdiPolygon : public testing::Test {
protected:
    GdiPolygon() : c(24, 24) {
        brush = CreateSolidBrush(kRed);
        oldBrush = SelectObject(c.dc, brush);
        oldPen = SelectObject(c.dc, GetStockObject(NULL_PEN));
    }
    ~GdiPolygon() override {
        SelectObject(c.dc, oldBrush);
        SelectObject(c.dc, oldPen);
        DeleteObject(brush);
    }
    Canvas c;
    HBRUSH brush = 0;
    HGDIOBJ oldBrush = 0, oldPen = 0;
};

TEST_F(GdiPolygon, SquareLeavesRightAndBottomEdgesOut) {
    const POINT sq[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_TRUE(Polygon(c.dc, sq, 4));
    EXPECT_EQ(c.Count(kRed), 100);
    EXPECT_EQ(c.Count(kRed, 0, 0, 10, 10), 100);
}

TEST_F(GdiPolygon, PenOfBrushColourCoversAllEdges) {
    HPEN pen = CreatePen(PS_SOLID, 1, kRed);
    SelectObject(c.dc, pen);
    const POINT sq[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    Polygon(c.dc, sq, 4);
    EXPECT_EQ(c.Count(kRed), 121);
    EXPECT_EQ(c.Px(10, 10), kRed);
    SelectObject(c.dc, GetStockObject(NULL_BRUSH));
    SelectObject(c.dc, GetStockObject(BLACK_PEN));
    c.Fill(kWhite);
    Polygon(c.dc, sq, 4);
    EXPECT_EQ(c.Count(kBlack), 40);  // the outline alone
    EXPECT_EQ(c.Count(kRed), 0);
    SelectObject(c.dc, brush);
    DeleteObject(pen);
}

TEST_F(GdiPolygon, TriangleInterior) {
    const POINT tri[] = {{0, 0}, {4, 0}, {0, 4}};
    Polygon(c.dc, tri, 3);
    EXPECT_EQ(c.Count(kRed), 4 + 3 + 2 + 1);
    EXPECT_EQ(c.Px(3, 0), kRed);
    EXPECT_EQ(c.Px(3, 1), kWhite);
    EXPECT_EQ(c.Px(0, 3), kRed);
}

TEST_F(GdiPolygon, AlternateAndWindingDifferInTheStarCentre) {
    const POINT star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
    EXPECT_EQ(GetPolyFillMode(c.dc), ALTERNATE);
    Polygon(c.dc, star, 5);
    EXPECT_EQ(c.Px(10, 10), kWhite);  // covered twice: outside under the even-odd rule
    EXPECT_EQ(c.Px(10, 3), kRed);     // a point of the star
    const int alternate = c.Count(kRed);
    c.Fill(kWhite);
    EXPECT_EQ(SetPolyFillMode(c.dc, WINDING), ALTERNATE);
    Polygon(c.dc, star, 5);
    EXPECT_EQ(c.Px(10, 10), kRed);
    EXPECT_GT(c.Count(kRed), alternate);
}

TEST_F(GdiPolygon, OriginClipAndBadInput) {
    SetViewportOrgEx(c.dc, 5, 5, nullptr);
    IntersectClipRect(c.dc, 0, 0, 2, 10);
    const POINT sq[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
    Polygon(c.dc, sq, 4);
    EXPECT_EQ(c.Count(kRed), 8);
    EXPECT_EQ(c.Px(5, 5), kRed);
    EXPECT_EQ(c.Px(7, 5), kWhite);
    EXPECT_FALSE(Polygon(c.dc, sq, 1));
    EXPECT_FALSE(Polygon(c.dc, nullptr, 4));
    const POINT far[] = {
        {-2000000000, -2000000000}, {2000000000, -2000000000}, {2000000000, 2000000000}};
    SelectClipRgn(c.dc, 0);
    EXPECT_TRUE(Polygon(c.dc, far, 3));  // huge coordinates stay bounded by the clip
}

TEST_F(GdiPolygon, RectangleOutlineAndFill) {
    SelectObject(c.dc, GetStockObject(BLACK_PEN));
    EXPECT_TRUE(Rectangle(c.dc, 0, 0, 5, 4));
    EXPECT_EQ(c.Count(kBlack), 14);
    EXPECT_EQ(c.Px(4, 3), kBlack);
    EXPECT_EQ(c.Count(kRed), 6);
    EXPECT_EQ(c.Px(5, 0), kWhite);
    c.Fill(kWhite);
    SelectObject(c.dc, GetStockObject(NULL_PEN));
    Rectangle(c.dc, 0, 0, 5, 4);
    EXPECT_EQ(c.Count(kRed), 12);  // 4x3: right column and bottom row stay out
}

}  // namespace
}  // namespace zo::plat
