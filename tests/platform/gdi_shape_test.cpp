// Shapes drawn into small canvases and held to reference images of them: DrawEdge with every
// edge type, side set and flag on several sizes, the focus rectangle, frame controls (caption
// close, scroll arrows, check box), polygons and rectangles, icons (DrawIconEx) and DrawStateA.
// After an intended change, regenerate the images with
//     ZO_UPDATE_GOLDEN=1 build/default/tests/test_platform --gtest_filter='Gdi*'
#include <gtest/gtest.h>

#include <vector>

#include "platform/Gdi.h"
#include "platform/GdiInternal.h"
#include "platform/gdi_canvas.h"

namespace zo::plat {
namespace {

using namespace test;

constexpr COLORREF kBack = RGB(1, 2, 3);  // a colour no system colour has

// Each call in a canvas with a one-pixel margin, so that lines straying outside show. The
// top-left corner turns red when the call is refused; the top-right and bottom-left corners
// encode how far the rectangle handed back moved in on each side.
TEST(GdiDrawEdge, EveryTypeSideAndFlagOnSeveralSizes) {
    const UINT styles[] = {0,       BF_SOFT,           BF_FLAT,  BF_FLAT | BF_SOFT,
                           BF_MONO, BF_MONO | BF_FLAT, BF_ADJUST};
    Sheet sheet;
    for (const SIZE sz : {SIZE{1, 1}, SIZE{3, 3}, SIZE{4, 5}}) {
        Canvas c(sz.cx + 2, sz.cy + 2);
        for (const UINT style : styles)
            for (const UINT middle : {0u, static_cast<UINT>(BF_MIDDLE)}) {
                sheet.NewRow();
                for (UINT edge = 0; edge < 16; ++edge)
                    for (UINT sides = 0; sides < 16; ++sides) {
                        c.Fill(kBack);
                        RECT r{1, 1, 1 + sz.cx, 1 + sz.cy};
                        if (!DrawEdge(c.dc, &r, edge, sides | style | middle)) c.Put(0, 0, kRed);
                        c.Put(sz.cx + 1, 0, RGB(96 + 32 * r.left, 96 + 32 * r.top, 0));
                        c.Put(0, sz.cy + 1,
                              RGB(128 + 32 * (r.right - 1 - sz.cx),
                                  128 + 32 * (r.bottom - 1 - sz.cy), 0));
                        sheet.Add(c);
                    }
            }
    }
    // Under an origin and a clip (device columns 4..9, rows 1..7); diagonals; empty rectangles.
    Canvas o(16, 12, kBack), c(5, 5, kBack), d(5, 5, kBack);
    SetViewportOrgEx(o.dc, 3, 2, nullptr);
    IntersectClipRect(o.dc, 1, -1, 7, 6);
    RECT r{0, 0, 9, 7}, square{0, 0, 5, 5}, empty{2, 2, 2, 2};
    DrawEdge(o.dc, &r, EDGE_SUNKEN, BF_RECT | BF_MIDDLE | BF_SOFT);
    EXPECT_TRUE(DrawEdge(c.dc, &square, BDR_RAISEDOUTER, BF_DIAGONAL_ENDTOPRIGHT));
    EXPECT_TRUE(DrawEdge(d.dc, &square, BDR_RAISEDOUTER, BF_DIAGONAL_ENDBOTTOMRIGHT));
    EXPECT_TRUE(DrawEdge(d.dc, &empty, EDGE_RAISED, BF_RECT | BF_MIDDLE));
    sheet.NewRow();
    for (const Canvas* k : {&o, &c, &d})
        sheet.Add(*k);
    EXPECT_EQ(sheet.Compare("gdi/edges"), "");
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

// The focus rectangle's checkerboard follows the brush origin, not the viewport, and XORs with
// the background and text colours (the orange look on blue); then the frame controls.
TEST(GdiFrameControl, FocusCaptionScrollAndCheckBoxMatchTheReference) {
    Sheet sheet;
    Canvas c(6, 4), v(5, 2), b(4, 3), blue(4, 3, RGB(0x00, 0x78, 0xD7));
    RECT r{0, 0, 6, 4}, s{0, 0, 3, 2}, t{0, 0, 4, 3};
    DrawFocusRect(c.dc, &r);
    SetViewportOrgEx(v.dc, 1, 0, nullptr);
    DrawFocusRect(v.dc, &s);
    SetBrushOrgEx(b.dc, 1, 0, nullptr);
    DrawFocusRect(b.dc, &t);
    SetBkColor(blue.dc, kWhite);
    SetTextColor(blue.dc, RGB(0, 0, 0xFF));
    DrawFocusRect(blue.dc, &t);
    for (const Canvas* k : {&c, &v, &b, &blue})
        sheet.Add(*k);
    // Caption close: normal, pushed (sunk, the cross moved), wide (the square centred), and
    // inactive (embossed) where DFCS_ADJUSTRECT gives the inside.
    sheet.NewRow();
    for (const auto& [state, width] : {std::pair{0u, 16}, {DFCS_PUSHED, 16}, {0u, 20}}) {
        Canvas cap(width, 14, kBack);
        RECT box{0, 0, width, 14};
        EXPECT_TRUE(DrawFrameControl(cap.dc, &box, DFC_CAPTION, DFCS_CAPTIONCLOSE | state));
        EXPECT_EQ(box, (RECT{0, 0, width, 14}));
        sheet.Add(cap);
    }
    Canvas inactive(16, 14);
    RECT box{0, 0, 16, 14};
    DrawFrameControl(inactive.dc, &box, DFC_CAPTION,
                     DFCS_CAPTIONCLOSE | DFCS_INACTIVE | DFCS_ADJUSTRECT);
    EXPECT_EQ(box, (RECT{2, 2, 14, 12}));
    sheet.Add(inactive);
    // Scroll arrows, each plain and pushed, then one inactive.
    sheet.NewRow();
    RECT sq{0, 0, 16, 16};
    for (const UINT kind : {DFCS_SCROLLUP, DFCS_SCROLLDOWN, DFCS_SCROLLLEFT, DFCS_SCROLLRIGHT})
        for (const UINT pushed : {0u, static_cast<UINT>(DFCS_PUSHED)}) {
            Canvas arrow(16, 16);
            EXPECT_TRUE(DrawFrameControl(arrow.dc, &sq, DFC_SCROLL, kind | pushed));
            sheet.Add(arrow);
        }
    Canvas grey(16, 16);
    DrawFrameControl(grey.dc, &sq, DFC_SCROLL, DFCS_SCROLLUP | DFCS_INACTIVE);
    sheet.Add(grey);
    // Check boxes: checked, unchecked, checked and inactive.
    sheet.NewRow();
    RECT cb{0, 0, 13, 13};
    for (const UINT state : {DFCS_CHECKED, 0u, DFCS_CHECKED | DFCS_INACTIVE}) {
        Canvas check(13, 13, kBack);
        EXPECT_TRUE(DrawFrameControl(check.dc, &cb, DFC_BUTTON, DFCS_BUTTONCHECK | state));
        sheet.Add(check);
    }
    EXPECT_FALSE(DrawFrameControl(c.dc, &cb, DFC_MENU, 0));
    EXPECT_EQ(sheet.Compare("gdi/frames"), "");
}

// ---- Polygon and Rectangle -----------------------------------------------------------------

// Fills leave the right and bottom edges out and a pen covers them; a null brush leaves the
// outline; the even-odd and winding rules differ in the star's centre; origin and clip apply.
TEST(GdiPolygon, FillsOutlinesRulesOriginAndClipMatchTheReference) {
    Canvas c(24, 24);
    Owned brush(CreateSolidBrush(kRed), c.dc);
    const HGDIOBJ oldPen = SelectObject(c.dc, GetStockObject(NULL_PEN));
    Sheet sheet;
    const auto shot = [&] {
        sheet.Add(c);
        c.Fill(kWhite);
    };
    const POINT square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, tri[] = {{0, 0}, {4, 0}, {0, 4}};
    EXPECT_TRUE(Polygon(c.dc, square, 4));
    shot();
    {
        Owned pen(CreatePen(PS_SOLID, 1, kRed), c.dc);
        Polygon(c.dc, square, 4);
        shot();
    }
    SelectObject(c.dc, GetStockObject(BLACK_PEN));
    SelectObject(c.dc, GetStockObject(NULL_BRUSH));
    Polygon(c.dc, square, 4);
    shot();
    EXPECT_TRUE(Rectangle(c.dc, 0, 0, 5, 4));
    SelectObject(c.dc, brush);
    shot();
    Rectangle(c.dc, 0, 0, 5, 4);
    SelectObject(c.dc, GetStockObject(NULL_PEN));
    shot();
    Rectangle(c.dc, 0, 0, 5, 4);
    shot();
    Polygon(c.dc, tri, 3);
    shot();
    const POINT star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
    EXPECT_EQ(GetPolyFillMode(c.dc), ALTERNATE);
    Polygon(c.dc, star, 5);
    shot();
    EXPECT_EQ(SetPolyFillMode(c.dc, WINDING), ALTERNATE);
    Polygon(c.dc, star, 5);
    shot();
    SetPolyFillMode(c.dc, ALTERNATE);
    SetViewportOrgEx(c.dc, 5, 5, nullptr);
    IntersectClipRect(c.dc, 0, 0, 2, 10);
    const POINT sq[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
    Polygon(c.dc, sq, 4);
    EXPECT_FALSE(Polygon(c.dc, sq, 1));
    EXPECT_FALSE(Polygon(c.dc, nullptr, 4));
    shot();
    const POINT far[] = {
        {-2000000000, -2000000000}, {2000000000, -2000000000}, {2000000000, 2000000000}};
    SelectClipRgn(c.dc, 0);
    EXPECT_TRUE(Polygon(c.dc, far, 3));  // huge coordinates stay bounded by the clip
    SelectObject(c.dc, oldPen);
    EXPECT_EQ(sheet.Compare("gdi/polygons"), "");
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

BOOL PaintCorner(HDC hdc, LPARAM, WPARAM, int cx, int cy) {
    RECT r{0, 0, cx, cy};
    FillRect(hdc, &r, GetStockObject(BLACK_BRUSH));
    return TRUE;
}

// Icons drawn with their mask (transparent keeps the background, inverting gives the
// complement) and by mask alone; an icon with varying alpha stretched and blended; DrawStateA
// with icons (normal, clipped to cx, disabled embossing the dark pixels), bitmaps in a brush
// and callbacks.
TEST(GdiDrawIconEx, IconsAndDrawStateMatchTheReference) {
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
    Sheet sheet;
    Canvas c(3, 3, RGB(10, 20, 30)), m(2, 2, kBlue);
    EXPECT_TRUE(DrawIconEx(c.dc, 1, 1, icon, 0, 0, 0, 0, DI_NORMAL));
    DrawIconEx(m.dc, 0, 0, icon, 0, 0, 0, 0, DI_MASK);
    EXPECT_FALSE(DrawIconEx(m.dc, 0, 0, icon, 0, 0, 0, 0, 0));
    Canvas a(3, 3, kBlue), b(3, 3, kBlue), clipped(3, 3, kBlue), dis(4, 4, kBlue);
    EXPECT_TRUE(DrawStateA(a.dc, 0, nullptr, static_cast<LPARAM>(icon), 0, 1, 0, 0, 0,
                           DST_ICON | DSS_NORMAL));
    DrawIconEx(b.dc, 1, 0, icon, 0, 0, 0, 0, DI_NORMAL);
    EXPECT_EQ(a.Bits().pixels, b.Bits().pixels);
    DrawStateA(clipped.dc, 0, nullptr, static_cast<LPARAM>(icon), 0, 0, 0, 1, 2, DST_ICON);
    EXPECT_TRUE(DrawStateA(dis.dc, 0, nullptr, static_cast<LPARAM>(icon), 0, 0, 0, 0, 0,
                           DST_ICON | DSS_DISABLED));
    for (const Canvas* k : {&c, &m, &a, &clipped, &dis})
        sheet.Add(*k);
    EXPECT_FALSE(DeleteObject(icon));  // icons go with DestroyIcon
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    EXPECT_FALSE(DrawIconEx(m.dc, 0, 0, icon, 0, 0, 0, 0, DI_NORMAL));

    // A 2x1 icon: opaque blue, half-transparent red; given a mask as well, it drops it.
    const unsigned char color[] = {255, 0, 0, 255, 0, 0, 255, 128}, maskBits[] = {0x40, 0x00};
    Owned bits(CreateBitmap(2, 1, 1, 32, color)), mask(CreateBitmap(2, 1, 1, 1, maskBits));
    Owned pen(CreatePen(PS_SOLID, 1, 0));
    ICONINFO ii{TRUE, 0, 0, 0, bits};
    icon = CreateIconIndirect(&ii);
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
    Canvas s(4, 2, kWhite), d(32, 32, kWhite);
    EXPECT_TRUE(DrawIconEx(s.dc, 0, 0, icon, 4, 2, 0, 0, DI_NORMAL));
    EXPECT_EQ(s.Raw(3, 1) >> 24, 0xFFu);
    EXPECT_TRUE(DrawIcon(d.dc, 0, 0, icon));  // the default size is 32x32
    DestroyIcon(icon);
    sheet.NewRow();
    sheet.Add(s);
    sheet.Add(d);

    // DrawStateA with a bitmap: in the brush's colour (white stays out) and as it is.
    Canvas bmp(2, 1, kWhite), mono(3, 1, kBlue), n(2, 1, kBlue);
    bmp.Put(1, 0, kGreen);
    SelectObject(bmp.dc, bmp.previous);  // free for DrawStateA to select
    Owned red(CreateSolidBrush(kRed));
    EXPECT_TRUE(DrawStateA(mono.dc, red, nullptr, static_cast<LPARAM>(bmp.bitmap), 0, 1, 0, 0, 0,
                           DST_BITMAP | DSS_MONO));
    EXPECT_TRUE(
        DrawStateA(n.dc, 0, nullptr, static_cast<LPARAM>(bmp.bitmap), 0, 0, 0, 0, 0, DST_BITMAP));
    // A callback draws at the place, and the DC is as it was after it.
    Canvas cb(6, 6, kBlue), cbd(6, 6, kWhite);
    EXPECT_TRUE(DrawStateA(cb.dc, 0, PaintCorner, 0, 0, 2, 3, 2, 2, DST_COMPLEX));
    RECT clip;
    EXPECT_EQ(GetClipBox(cb.dc, &clip), SIMPLEREGION);
    EXPECT_EQ(clip, (RECT{0, 0, 6, 6}));
    EXPECT_TRUE(DrawStateA(cbd.dc, 0, PaintCorner, 0, 0, 1, 1, 2, 2, DST_COMPLEX | DSS_DISABLED));
    EXPECT_FALSE(DrawStateA(cbd.dc, 0, nullptr, 0, 0, 0, 0, 2, 2, DST_COMPLEX));
    EXPECT_FALSE(DrawStateA(cbd.dc, 0, nullptr, 0, 0, 0, 0, 0, 0, DST_TEXT));
    sheet.NewRow();
    for (const Canvas* k : {&mono, &n, &cb, &cbd})
        sheet.Add(*k);
    EXPECT_EQ(sheet.Compare("gdi/icons"), "");
}

}  // namespace
}  // namespace zo::plat
