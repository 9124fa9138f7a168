// Shapes: DrawEdge against a model of every edge type, side set and flag on several sizes,
// the focus rectangle, frame controls (caption close, scroll arrows, check box), polygons and
// rectangles, icons (DrawIconEx) and DrawStateA.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Gdi.h"
#include "platform/GdiInternal.h"
#include "platform/gdi_canvas.h"

namespace zo::plat {
namespace {

using namespace test;

constexpr COLORREF kBack = RGB(1, 2, 3);  // a colour no system colour has

// ---- DrawEdge model ------------------------------------------------------------------------

// Lines (outer top-left, inner top-left, inner bottom-right, outer bottom-right) by edge type
// 0..15, written out rather than derived so that a slip in the code's bit logic cannot hide in
// the same slip here. Doubled outer or inner bits are refused, an inner line alone takes the
// outer position, doubled inner bits leave the outer line; BF_SOFT changes only the top-left.
const char* const kNormal[16] = {"....", "L..D", "S..H", "....", "H..S", "LHSD", "SHSH", "....",
                                 "D..L", "LDLD", "SDLH", "....", "....", "L..D", "S..H", "...."};
const char* const kSoft[16] = {"....", "H..D", "D..H", "....", "L..S", "HLSD", "DLSH", "....",
                               "S..L", "HSLD", "DSLH", "....", "....", "H..D", "D..H", "...."};

COLORREF LineColour(char c) {
    const int index[] = {COLOR_3DLIGHT, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW,  COLOR_3DDKSHADOW,
                         COLOR_BTNFACE, COLOR_WINDOW,       COLOR_WINDOWFRAME};
    return Sys(index[std::string_view("LHSDFWK").find(c)]);
}

// BF_MONO beats BF_FLAT, which beats BF_SOFT: one colour per level on all four sides.
std::string EdgeLines(UINT edge, UINT flags) {
    const bool outer = (edge & BDR_OUTER) != 0, inner = (edge & BDR_INNER) != 0;
    if (flags & (BF_MONO | BF_FLAT)) {
        const char out = (flags & BF_MONO) ? 'K' : 'S', in = (flags & BF_MONO) ? 'W' : 'F';
        if (outer) return {out, inner ? in : '.', inner ? in : '.', out};
        return inner ? std::string{in, '.', '.', in} : "....";
    }
    return (flags & BF_SOFT) ? kSoft[edge & 15] : kNormal[edge & 15];
}

bool EdgeAccepted(UINT edge, UINT flags) {
    const bool doubled = (edge & BDR_OUTER) == BDR_OUTER || (edge & BDR_INNER) == BDR_INNER;
    return !doubled || (flags & (BF_FLAT | BF_MONO)) != 0;
}

// The eight lines in their documented order (later ones win the corners), then the middle,
// on a cw x ch canvas of kBack.
std::vector<COLORREF> ModelEdge(int cw, int ch, RECT r, UINT edge, UINT flags, RECT& adjusted) {
    std::vector<COLORREF> px(static_cast<std::size_t>(cw * ch), kBack);
    const auto box = [&](COLORREF colour, int l, int t, int right, int bottom) {
        for (int y = std::max(t, 0); y < std::min(bottom, ch); ++y)
            for (int x = std::max(l, 0); x < std::min(right, cw); ++x)
                px[static_cast<std::size_t>(y * cw + x)] = colour;
    };
    const std::string k = EdgeLines(edge, flags);
    const auto line = [&](int i, int x0, int y0, int x1, int y1) {  // inclusive end points
        if (k[static_cast<std::size_t>(i)] != '.')
            box(LineColour(k[static_cast<std::size_t>(i)]), x0, y0, x1 + 1, y1 + 1);
    };
    const bool top = flags & BF_TOP, left = flags & BF_LEFT, bottom = flags & BF_BOTTOM,
               right = flags & BF_RIGHT;
    const int a = top && left, b = top && right, c = bottom && left, d = bottom && right;
    if (r.left < r.right && r.top < r.bottom) {
        if (top) line(0, r.left, r.top, r.right - 1, r.top);
        if (left) line(0, r.left, r.top, r.left, r.bottom - 1);
        if (bottom) line(3, r.left, r.bottom - 1, r.right - 1, r.bottom - 1);
        if (right) line(3, r.right - 1, r.top, r.right - 1, r.bottom - 1);
        if (top) line(1, r.left + a, r.top + 1, r.right - 1 - b, r.top + 1);
        if (left) line(1, r.left + 1, r.top + a, r.left + 1, r.bottom - 1 - c);
        if (bottom) line(2, r.left + c, r.bottom - 2, r.right - 1 - d, r.bottom - 2);
        if (right) line(2, r.right - 2, r.top + b, r.right - 2, r.bottom - 1 - d);
    }
    const int add = (k[0] != '.' || k[3] != '.') + (k[1] != '.' || k[2] != '.');
    const RECT in{r.left + (left ? add : 0), r.top + (top ? add : 0), r.right - (right ? add : 0),
                  r.bottom - (bottom ? add : 0)};
    if ((flags & BF_MIDDLE) && EdgeAccepted(edge, flags))
        box(Sys((flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE), in.left, in.top, in.right,
            in.bottom);
    adjusted = (flags & BF_ADJUST) ? in : r;
    return px;
}

// Every pixel of the canvas, a margin included so that lines straying outside show.
TEST(GdiDrawEdge, EveryTypeSideAndFlagOnSeveralSizesMatchesTheModel) {
    const SIZE sizes[] = {{1, 1}, {2, 2}, {3, 3}, {4, 5}, {5, 4}, {10, 7}};
    const UINT styles[] = {0,       BF_SOFT,           BF_FLAT,  BF_FLAT | BF_SOFT,
                           BF_MONO, BF_MONO | BF_FLAT, BF_ADJUST};
    int cases = 0, failures = 0;
    for (const SIZE sz : sizes) {
        const int cw = sz.cx + 6, ch = sz.cy + 6;
        Canvas c(cw, ch, kBack);
        for (UINT edge = 0; edge < 16; ++edge)
            for (UINT sides = 0; sides < 16; ++sides)
                for (const UINT style : styles)
                    for (const UINT middle : {0u, static_cast<UINT>(BF_MIDDLE)}) {
                        const UINT flags = sides | style | middle;
                        c.Fill(kBack);
                        RECT r{3, 3, 3 + sz.cx, 3 + sz.cy}, want;
                        const auto e = ModelEdge(cw, ch, r, edge, flags, want);
                        const BOOL ok = DrawEdge(c.dc, &r, edge, flags);
                        ++cases;
                        bool same = (ok != 0) == EdgeAccepted(edge, flags) && r == want;
                        for (int i = 0; i < cw * ch && same; ++i)
                            same = c.Px(i % cw, i / cw) == e[static_cast<std::size_t>(i)];
                        if (!same && ++failures <= 5)
                            ADD_FAILURE() << "size " << sz.cx << "x" << sz.cy << " edge " << edge
                                          << " flags 0x" << std::hex << flags;
                    }
    }
    EXPECT_EQ(failures, 0) << "of " << cases << " combinations";
}

TEST(GdiDrawEdge, UnderAnOriginAndClipMatchesTheModelInsideTheClip) {
    Canvas c(16, 12, kBack);
    SetViewportOrgEx(c.dc, 3, 2, nullptr);
    IntersectClipRect(c.dc, 1, -1, 7, 6);  // device columns 4..9, rows 1..7
    RECT r{0, 0, 9, 7}, unused;
    DrawEdge(c.dc, &r, EDGE_SUNKEN, BF_RECT | BF_MIDDLE | BF_SOFT);
    const auto e =
        ModelEdge(16, 12, {3, 2, 12, 9}, EDGE_SUNKEN, BF_RECT | BF_MIDDLE | BF_SOFT, unused);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool inside = x >= 4 && x < 10 && y >= 1 && y < 8;
            EXPECT_EQ(c.Px(x, y), inside ? e[static_cast<std::size_t>(y * 16 + x)] : kBack)
                << x << "," << y;
        }
}

TEST(GdiDrawEdge, DiagonalsAndEmptyRectangles) {
    Canvas c(5, 5, kBack), d(5, 5, kBack);
    RECT r{0, 0, 5, 5}, empty{2, 2, 2, 2};
    EXPECT_TRUE(DrawEdge(c.dc, &r, BDR_RAISEDOUTER, BF_DIAGONAL_ENDTOPRIGHT));
    EXPECT_TRUE(DrawEdge(d.dc, &r, BDR_RAISEDOUTER, BF_DIAGONAL_ENDBOTTOMRIGHT));
    EXPECT_TRUE(DrawEdge(d.dc, &empty, EDGE_RAISED, BF_RECT | BF_MIDDLE));
    EXPECT_EQ(c.Show({{kBack, '.'}, {Sys(COLOR_3DLIGHT), 'L'}}), "....L|...L.|..L..|.L...|L....");
    EXPECT_EQ(d.Show({{kBack, '.'}, {Sys(COLOR_3DDKSHADOW), 'D'}}),
              "D....|.D...|..D..|...D.|....D");
}

// ---- DrawFocusRect -------------------------------------------------------------------------

TEST(GdiFocusRect, SecondCallRestoresEveryPixel) {
    Canvas c(12, 9);
    for (int i = 0; i < 12 * 9; ++i)
        c.Put(i % 12, i / 12, (static_cast<COLORREF>(i) * 2654435761u >> 8) & 0xFFFFFF);
    const std::vector<Pixel> before = c.Bits().pixels;
    RECT r{1, 2, 11, 8};
    EXPECT_TRUE(DrawFocusRect(c.dc, &r));
    EXPECT_NE(c.Bits().pixels, before);
    EXPECT_TRUE(DrawFocusRect(c.dc, &r));
    EXPECT_EQ(c.Bits().pixels, before);
}

TEST(GdiFocusRect, CheckerboardAlignedToTheBrushOriginNotTheViewport) {
    Canvas c(6, 4), v(5, 2), b(4, 3);
    RECT r{0, 0, 6, 4}, s{0, 0, 3, 2}, t{0, 0, 4, 3};
    DrawFocusRect(c.dc, &r);  // border pixels with x + y even are inverted
    SetViewportOrgEx(v.dc, 1, 0, nullptr);
    DrawFocusRect(v.dc, &s);  // device columns 1..3
    SetBrushOrgEx(b.dc, 1, 0, nullptr);
    DrawFocusRect(b.dc, &t);
    EXPECT_EQ(c.Show(kPlain), "#.#.#.|.....#|#.....|.#.#.#");
    EXPECT_EQ(v.Show(kPlain), "..#..|.#.#.");
    EXPECT_EQ(b.Show(kPlain), ".#.#|#...|.#.#");
    // The pattern XORs with the background colour and the text colour: the orange look.
    Canvas blue(4, 3, RGB(0x00, 0x78, 0xD7));
    SetBkColor(blue.dc, kWhite);
    SetTextColor(blue.dc, RGB(0, 0, 0xFF));
    DrawFocusRect(blue.dc, &t);
    EXPECT_EQ(blue.Px(0, 0), RGB(0xFF, 0x87, 0x28));
    EXPECT_EQ(blue.Px(1, 0), RGB(0x00, 0x78, 0x28));
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

// The cross of the caption button: two 45-degree diagonals two strokes thick in the 16x14
// square centred in the button.
PixelSet CloseCross(int dx, int dy) {
    PixelSet s;
    for (int i = 0; i < 7; ++i)
        for (int k = 0; k < 2; ++k) {
            s.insert({4 + i + k + dx, 3 + i + dy});
            s.insert({4 + i + k + dx, 9 - i + dy});
        }
    return s;
}

TEST(GdiFrameControl, CaptionCloseFrameAndCross) {
    struct Row {
        const char* name;
        UINT state;
        int width;
        const char* corners;  // at (0,0), (1,1), (w-2,12), (w-1,13)
        int dx, dy;
    };
    const Row rows[] = {{"normal", 0, 16, "HLSD", 0, 0},
                        {"pushed sinks and moves the glyph", DFCS_PUSHED, 16, "DSLH", 1, 1},
                        {"wide centres the square", 0, 20, "HLSD", 2, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Canvas c(row.width, 14, kBack);
        RECT r{0, 0, row.width, 14};
        EXPECT_TRUE(DrawFrameControl(c.dc, &r, DFC_CAPTION, DFCS_CAPTIONCLOSE | row.state));
        EXPECT_EQ(c.Px(0, 0), LineColour(row.corners[0]));
        EXPECT_EQ(c.Px(1, 1), LineColour(row.corners[1]));
        EXPECT_EQ(c.Px(row.width - 2, 12), LineColour(row.corners[2]));
        EXPECT_EQ(c.Px(row.width - 1, 13), LineColour(row.corners[3]));
        EXPECT_EQ(c.Px(2, 2), Sys(COLOR_BTNFACE));
        EXPECT_EQ(PixelsOf(c, Sys(COLOR_BTNTEXT)), CloseCross(row.dx, row.dy));
        EXPECT_EQ(c.Count(kBack), 0);
        EXPECT_EQ(r, (RECT{0, 0, row.width, 14}));
    }
    EXPECT_EQ(CloseCross(0, 0).size(), 26u);
    // Inactive: an embossed cross, no black; DFCS_ADJUSTRECT gives the inside.
    Canvas c(16, 14);
    RECT r{0, 0, 16, 14};
    DrawFrameControl(c.dc, &r, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_INACTIVE | DFCS_ADJUSTRECT);
    EXPECT_EQ(c.Px(4, 3), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(c.Px(12, 10), Sys(COLOR_BTNHIGHLIGHT));  // the embossed copy at (+1, +1)
    EXPECT_EQ(c.Count(kBlack), 0);
    EXPECT_EQ(r, (RECT{2, 2, 14, 12}));
}

TEST(GdiFrameControl, ScrollArrows) {
    struct Row {
        UINT kind;
        POINT tip, baseEnd;
    };
    const Row rows[] = {{DFCS_SCROLLUP, {7, 6}, {10, 9}},
                        {DFCS_SCROLLDOWN, {7, 9}, {10, 6}},
                        {DFCS_SCROLLLEFT, {6, 7}, {9, 10}},
                        {DFCS_SCROLLRIGHT, {9, 7}, {6, 10}}};
    RECT r{0, 0, 16, 16};
    for (const Row& k : rows) {
        SCOPED_TRACE(k.kind);
        Canvas c(16, 16), p(16, 16);
        EXPECT_TRUE(DrawFrameControl(c.dc, &r, DFC_SCROLL, k.kind));
        EXPECT_EQ(c.Count(kBlack), 16);  // rows of 1, 3, 5 and 7 pixels
        EXPECT_EQ(c.Pick(kPlain, {k.tip, k.baseEnd}), "##");
        DrawFrameControl(p.dc, &r, DFC_SCROLL, k.kind | DFCS_PUSHED);
        EXPECT_EQ(p.Px(k.tip.x + 1, k.tip.y + 1), kBlack);
        EXPECT_EQ(p.Count(kBlack, 2, 2, 14, 14), 16);
    }
    Canvas g(16, 16);
    DrawFrameControl(g.dc, &r, DFC_SCROLL, DFCS_SCROLLUP | DFCS_INACTIVE);
    EXPECT_EQ(g.Px(7, 6), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(g.Px(11, 10), Sys(COLOR_BTNHIGHLIGHT));
}

TEST(GdiFrameControl, CheckBox) {
    Canvas c(13, 13, kBack), u(13, 13), d(13, 13);
    RECT r{0, 0, 13, 13};
    EXPECT_TRUE(DrawFrameControl(c.dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED));
    EXPECT_EQ(c.Px(0, 0), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(c.Px(1, 1), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(c.Px(11, 11), Sys(COLOR_3DLIGHT));
    EXPECT_EQ(c.Px(12, 12), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(c.Px(2, 2), kWhite);
    EXPECT_EQ(c.Count(kBlack), 21);
    EXPECT_EQ(
        c.Pick(kPlain, {{3, 5}, {3, 6}, {3, 7}, {6, 6}, {6, 7}, {6, 8}, {9, 3}, {9, 4}, {9, 5}}),
        "#########");
    DrawFrameControl(u.dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK);
    EXPECT_EQ(u.Count(kBlack), 0);
    DrawFrameControl(d.dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE);
    EXPECT_EQ(d.Px(2, 2), Sys(COLOR_BTNFACE));
    EXPECT_EQ(d.Px(3, 5), Sys(COLOR_BTNSHADOW));
    EXPECT_FALSE(DrawFrameControl(d.dc, &r, DFC_MENU, 0));
}

// ---- Polygon and Rectangle -----------------------------------------------------------------

class GdiPolygon : public testing::Test {
protected:
    GdiPolygon() { oldPen = SelectObject(c.dc, GetStockObject(NULL_PEN)); }
    ~GdiPolygon() override { SelectObject(c.dc, oldPen); }
    Canvas c{24, 24};
    Owned brush{CreateSolidBrush(kRed), c.dc};
    HGDIOBJ oldPen = 0;
    const POINT square[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
};

TEST_F(GdiPolygon, FillLeavesRightAndBottomEdgesOutAndAPenCoversThem) {
    EXPECT_TRUE(Polygon(c.dc, square, 4));
    EXPECT_EQ(c.Count(kRed), 100);
    EXPECT_EQ(c.Count(kRed, 0, 0, 10, 10), 100);
    c.Fill(kWhite);
    HGDIOBJ noPen = SelectObject(c.dc, CreatePen(PS_SOLID, 1, kRed));
    Polygon(c.dc, square, 4);
    EXPECT_EQ(c.Count(kRed), 121);
    EXPECT_EQ(c.Px(10, 10), kRed);
    DeleteObject(SelectObject(c.dc, GetStockObject(BLACK_PEN)));
    SelectObject(c.dc, GetStockObject(NULL_BRUSH));
    c.Fill(kWhite);
    Polygon(c.dc, square, 4);
    EXPECT_EQ(c.Count(kBlack), 40);  // the outline alone
    EXPECT_EQ(c.Count(kRed), 0);
    SelectObject(c.dc, brush);
    SelectObject(c.dc, noPen);
    c.Fill(kWhite);
    const POINT tri[] = {{0, 0}, {4, 0}, {0, 4}};
    Polygon(c.dc, tri, 3);
    EXPECT_EQ(c.Count(kRed), 4 + 3 + 2 + 1);
    EXPECT_EQ(c.Pick(kPlain, {{3, 0}, {3, 1}, {0, 3}}), "R.R");
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
    EXPECT_EQ(c.Count(kRed, 5, 5, 7, 9), 8);
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
    EXPECT_EQ(c.Count(kBlack, 0, 0, 5, 4), 14);
    EXPECT_EQ(c.Count(kRed, 1, 1, 4, 3), 6);
    EXPECT_EQ(c.Count(kWhite), 24 * 24 - 20);
    c.Fill(kWhite);
    SelectObject(c.dc, GetStockObject(NULL_PEN));
    Rectangle(c.dc, 0, 0, 5, 4);
    EXPECT_EQ(c.Count(kRed, 0, 0, 4, 3), 12);  // right column and bottom row stay out
    EXPECT_EQ(c.Count(kRed), 12);
}

// ---- Icons and DrawStateA ------------------------------------------------------------------

// A 2x2 icon: red, transparent / an inverting pixel, green.
HICON MaskIcon() {
    const unsigned char color[] = {0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 0, 0, 255, 0, 0};
    const unsigned char mask[] = {0x40, 0x00, 0x80, 0x00};
    Owned c(CreateBitmap(2, 2, 1, 32, color)), m(CreateBitmap(2, 2, 1, 1, mask));
    ICONINFO ii{TRUE, 0, 0, m, c};
    return CreateIconIndirect(&ii);
}

TEST(GdiDrawIconEx, MaskAndImage) {
    HICON icon = MaskIcon();
    ASSERT_NE(icon, 0u);
    EXPECT_FALSE(GetGdi(icon, GdiKind::Icon)->icon.color.hasAlpha);
    SIZE sz;
    ASSERT_TRUE(GetIconSize(icon, &sz));
    EXPECT_EQ(sz.cx, 2);
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(icon, &info));
    EXPECT_EQ(GetGdi(info.hbmMask, GdiKind::Bitmap)->bitmap.mono[1], 1);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    const COLORREF back = RGB(10, 20, 30);
    Canvas c(3, 3, back), m(2, 2, kBlue);
    EXPECT_TRUE(DrawIconEx(c.dc, 1, 1, icon, 0, 0, 0, 0, DI_NORMAL));
    // Transparent keeps the background; the inverting pixel gives its complement.
    EXPECT_EQ(c.Show({{back, '.'}, {kRed, 'R'}, {kGreen, 'G'}, {RGB(245, 235, 225), 'I'}}),
              "...|.R.|.IG");
    DrawIconEx(m.dc, 0, 0, icon, 0, 0, 0, 0, DI_MASK);
    EXPECT_EQ(m.Show(kPlain), "#.|.#");
    EXPECT_FALSE(DrawIconEx(m.dc, 0, 0, icon, 0, 0, 0, 0, 0));
    EXPECT_FALSE(DeleteObject(icon));  // icons go with DestroyIcon
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    EXPECT_FALSE(DrawIconEx(m.dc, 0, 0, icon, 0, 0, 0, 0, DI_NORMAL));
}

TEST(GdiDrawIconEx, VaryingAlphaDrawsByAlphaStretchedAndBlended) {
    // A 2x1 icon: opaque blue, half-transparent red; given a mask as well, it drops it.
    const unsigned char color[] = {255, 0, 0, 255, 0, 0, 255, 128}, maskBits[] = {0x40, 0x00};
    Owned bits(CreateBitmap(2, 1, 1, 32, color)), mask(CreateBitmap(2, 1, 1, 1, maskBits));
    Owned pen(CreatePen(PS_SOLID, 1, 0));
    ICONINFO ii{TRUE, 0, 0, 0, bits};
    HICON icon = CreateIconIndirect(&ii);
    ASSERT_NE(icon, 0u);
    ii.hbmMask = mask;
    HICON masked = CreateIconIndirect(&ii);
    EXPECT_TRUE(GetGdi(masked, GdiKind::Icon)->icon.color.hasAlpha);
    EXPECT_TRUE(GetGdi(masked, GdiKind::Icon)->icon.mask.mono.empty());
    DestroyIcon(masked);
    Owned opaque(CreateBitmap(2, 1, 1, 32, nullptr));  // alpha bytes all 0xFF: the mask decides
    ICONINFO byMask{TRUE, 0, 0, mask, opaque};
    masked = CreateIconIndirect(&byMask);
    EXPECT_FALSE(GetGdi(masked, GdiKind::Icon)->icon.color.hasAlpha);
    DestroyIcon(masked);
    ii.hbmMask = pen;  // not a bitmap
    EXPECT_EQ(CreateIconIndirect(&ii), 0u);
    Canvas c(4, 2, kWhite), d(32, 32, kWhite);
    EXPECT_TRUE(DrawIconEx(c.dc, 0, 0, icon, 4, 2, 0, 0, DI_NORMAL));
    EXPECT_EQ(c.Show({{kBlue, 'B'}, {RGB(255, 127, 127), 'r'}}), "BBrr|BBrr");  // half red
    EXPECT_EQ(c.Raw(3, 1) >> 24, 0xFFu);
    EXPECT_TRUE(DrawIcon(d.dc, 0, 0, icon));  // the default size is 32x32
    EXPECT_EQ(d.Count(kBlue), 16 * 32);
    DestroyIcon(icon);
}

TEST(GdiDrawState, IconNormalIsDrawIconExAndDisabledEmbossesTheDarkPixels) {
    HICON icon = MaskIcon();
    Canvas a(3, 3, kBlue), b(3, 3, kBlue), clipped(3, 3, kBlue), c(4, 4, kBlue);
    EXPECT_TRUE(DrawStateA(a.dc, 0, nullptr, static_cast<LPARAM>(icon), 0, 1, 0, 0, 0,
                           DST_ICON | DSS_NORMAL));
    DrawIconEx(b.dc, 1, 0, icon, 0, 0, 0, 0, DI_NORMAL);
    EXPECT_EQ(a.Bits().pixels, b.Bits().pixels);
    // A smaller cx clips the image.
    DrawStateA(clipped.dc, 0, nullptr, static_cast<LPARAM>(icon), 0, 0, 0, 1, 2, DST_ICON);
    EXPECT_EQ(clipped.Pick(kPlain, {{0, 0}, {1, 1}}), "RB");
    // Dark pixels (0,0) and (1,1); the transparent and the inverting pixel count as white.
    EXPECT_TRUE(DrawStateA(c.dc, 0, nullptr, static_cast<LPARAM>(icon), 0, 0, 0, 0, 0,
                           DST_ICON | DSS_DISABLED));
    EXPECT_EQ(c.Show({{kBlue, '.'}, {Sys(COLOR_3DSHADOW), 'S'}, {Sys(COLOR_3DHILIGHT), 'H'}}),
              "S...|.S..|..H.|....");
    DestroyIcon(icon);
}

TEST(GdiDrawState, MonoPaintsWithTheBrush) {
    Canvas bmp(2, 1, kWhite), c(3, 1, kBlue), n(2, 1, kBlue);
    bmp.Put(1, 0, kGreen);
    SelectObject(bmp.dc, bmp.previous);  // free for DrawStateA to select
    Owned red(CreateSolidBrush(kRed));
    EXPECT_TRUE(DrawStateA(c.dc, red, nullptr, static_cast<LPARAM>(bmp.bitmap), 0, 1, 0, 0, 0,
                           DST_BITMAP | DSS_MONO));
    EXPECT_EQ(c.Show(kPlain), "BBR");  // white stays out
    EXPECT_TRUE(
        DrawStateA(n.dc, 0, nullptr, static_cast<LPARAM>(bmp.bitmap), 0, 0, 0, 0, 0, DST_BITMAP));
    EXPECT_EQ(n.Show(kPlain), ".G");
}

BOOL PaintCorner(HDC hdc, LPARAM, WPARAM, int cx, int cy) {
    RECT r{0, 0, cx, cy};
    FillRect(hdc, &r, GetStockObject(BLACK_BRUSH));
    return TRUE;
}

TEST(GdiDrawState, ComplexCallbackDrawsAtThePlace) {
    Canvas c(6, 6, kBlue), d(6, 6, kWhite);
    EXPECT_TRUE(DrawStateA(c.dc, 0, PaintCorner, 0, 0, 2, 3, 2, 2, DST_COMPLEX));
    EXPECT_EQ(c.Count(kBlack), 4);
    EXPECT_EQ(c.Count(kBlack, 2, 3, 4, 5), 4);
    RECT box;
    EXPECT_EQ(GetClipBox(c.dc, &box), SIMPLEREGION);  // the DC is as it was
    EXPECT_EQ(box, (RECT{0, 0, 6, 6}));
    EXPECT_TRUE(DrawStateA(d.dc, 0, PaintCorner, 0, 0, 1, 1, 2, 2, DST_COMPLEX | DSS_DISABLED));
    EXPECT_EQ(d.Px(1, 1), Sys(COLOR_3DSHADOW));
    EXPECT_EQ(d.Px(3, 3), Sys(COLOR_3DHILIGHT));
    EXPECT_FALSE(DrawStateA(d.dc, 0, nullptr, 0, 0, 0, 0, 2, 2, DST_COMPLEX));
    EXPECT_FALSE(DrawStateA(d.dc, 0, nullptr, 0, 0, 0, 0, 0, 0, DST_TEXT));
}

}  // namespace
}  // namespace zo::plat
