// DrawEdge: line colours for every edge type and flag, geometry on several sizes, BF_MIDDLE,
// BF_ADJUST, BF_DIAGONAL and the return value.
#include <gtest/gtest.h>

#include "platform/Gdi.h"
#include "platform/gdi_canvas.h"

namespace zo::plat {
namespace {

using test::Canvas;
using test::Sys;

constexpr COLORREF kBack = RGB(1, 2, 3);  // a colour no system colour has
constexpr int kNone = -1;

TEST(GdiDrawEdge, WorkedExampleRaisedTenByTen) {
    Canvas c(10, 10, kBack);
    RECT r{0, 0, 10, 10};
    EXPECT_TRUE(DrawEdge(c.dc, &r, EDGE_RAISED, BF_RECT));
    const COLORREF light = Sys(COLOR_3DLIGHT), dark = Sys(COLOR_3DDKSHADOW);
    const COLORREF hi = Sys(COLOR_BTNHIGHLIGHT), shadow = Sys(COLOR_BTNSHADOW);
    for (int i = 0; i <= 8; ++i) {
        EXPECT_EQ(c.Px(i, 0), light) << i;
        EXPECT_EQ(c.Px(0, i), light) << i;
    }
    EXPECT_EQ(c.Px(9, 0), dark);
    EXPECT_EQ(c.Px(0, 9), dark);
    for (int i = 0; i <= 9; ++i) {
        EXPECT_EQ(c.Px(i, 9), dark) << i;
        EXPECT_EQ(c.Px(9, i), dark) << i;
    }
    for (int i = 1; i <= 7; ++i) {
        EXPECT_EQ(c.Px(i, 1), hi) << i;
        EXPECT_EQ(c.Px(1, i), hi) << i;
    }
    for (int i = 1; i <= 8; ++i) {
        EXPECT_EQ(c.Px(i, 8), shadow) << i;
        EXPECT_EQ(c.Px(8, i), shadow) << i;
    }
    // The middle is untouched without BF_MIDDLE.
    EXPECT_EQ(c.Count(kBack, 2, 2, 8, 8), 36);
    EXPECT_EQ(c.Count(kBack), 36);
}

struct EdgeCase {
    UINT edge;
    UINT flags;
    int lto, lti, rbi, rbo;
    bool ok;
};

// Expected colours by edge type, for plain, soft, flat and mono edges.
const EdgeCase kEdgeCases[] = {
    {BDR_RAISEDOUTER, 0, COLOR_3DLIGHT, kNone, kNone, COLOR_3DDKSHADOW, true},
    {BDR_SUNKENOUTER, 0, COLOR_BTNSHADOW, kNone, kNone, COLOR_BTNHIGHLIGHT, true},
    {BDR_RAISEDINNER, 0, COLOR_BTNHIGHLIGHT, kNone, kNone, COLOR_BTNSHADOW, true},
    {BDR_SUNKENINNER, 0, COLOR_3DDKSHADOW, kNone, kNone, COLOR_3DLIGHT, true},
    {EDGE_RAISED, 0, COLOR_3DLIGHT, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_3DDKSHADOW, true},
    {EDGE_SUNKEN, 0, COLOR_BTNSHADOW, COLOR_3DDKSHADOW, COLOR_3DLIGHT, COLOR_BTNHIGHLIGHT, true},
    {EDGE_ETCHED, 0, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT,
     true},
    {EDGE_BUMP, 0, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT, COLOR_3DDKSHADOW, true},
    {BDR_RAISEDOUTER, BF_SOFT, COLOR_BTNHIGHLIGHT, kNone, kNone, COLOR_3DDKSHADOW, true},
    {BDR_SUNKENOUTER, BF_SOFT, COLOR_3DDKSHADOW, kNone, kNone, COLOR_BTNHIGHLIGHT, true},
    {BDR_RAISEDINNER, BF_SOFT, COLOR_3DLIGHT, kNone, kNone, COLOR_BTNSHADOW, true},
    {BDR_SUNKENINNER, BF_SOFT, COLOR_BTNSHADOW, kNone, kNone, COLOR_3DLIGHT, true},
    {EDGE_RAISED, BF_SOFT, COLOR_BTNHIGHLIGHT, COLOR_3DLIGHT, COLOR_BTNSHADOW, COLOR_3DDKSHADOW,
     true},
    {EDGE_SUNKEN, BF_SOFT, COLOR_3DDKSHADOW, COLOR_BTNSHADOW, COLOR_3DLIGHT, COLOR_BTNHIGHLIGHT,
     true},
    {EDGE_ETCHED, BF_SOFT, COLOR_3DDKSHADOW, COLOR_3DLIGHT, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT,
     true},
    {EDGE_BUMP, BF_SOFT, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_3DLIGHT, COLOR_3DDKSHADOW,
     true},
    {BDR_RAISEDOUTER, BF_FLAT, COLOR_BTNSHADOW, kNone, kNone, COLOR_BTNSHADOW, true},
    {BDR_RAISEDINNER, BF_FLAT, COLOR_BTNFACE, kNone, kNone, COLOR_BTNFACE, true},
    {EDGE_RAISED, BF_FLAT, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNFACE, COLOR_BTNSHADOW, true},
    {EDGE_SUNKEN, BF_FLAT | BF_SOFT, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNFACE, COLOR_BTNSHADOW,
     true},
    {BDR_OUTER, BF_FLAT, COLOR_BTNSHADOW, kNone, kNone, COLOR_BTNSHADOW, true},
    {EDGE_RAISED, BF_MONO, COLOR_WINDOWFRAME, COLOR_WINDOW, COLOR_WINDOW, COLOR_WINDOWFRAME, true},
    {EDGE_RAISED, BF_MONO | BF_FLAT, COLOR_WINDOWFRAME, COLOR_WINDOW, COLOR_WINDOW,
     COLOR_WINDOWFRAME, true},
    {BDR_SUNKENINNER, BF_MONO, COLOR_WINDOW, kNone, kNone, COLOR_WINDOW, true},
    // Contradictory levels.
    {BDR_OUTER, 0, kNone, kNone, kNone, kNone, false},
    {BDR_OUTER | BDR_RAISEDINNER, 0, kNone, kNone, kNone, kNone, false},
    {BDR_INNER, 0, kNone, kNone, kNone, kNone, false},
    {BDR_INNER | BDR_RAISEDOUTER, 0, COLOR_3DLIGHT, kNone, kNone, COLOR_3DDKSHADOW, false},
    {BDR_INNER | BDR_SUNKENOUTER, BF_SOFT, COLOR_3DDKSHADOW, kNone, kNone, COLOR_BTNHIGHLIGHT,
     false},
    {BDR_OUTER | BDR_INNER, 0, kNone, kNone, kNone, kNone, false},
};

COLORREF Expect(int index) {
    return index == kNone ? kBack : Sys(index);
}

TEST(GdiDrawEdge, ColoursOfEveryEdgeTypeAndFlag) {
    for (const EdgeCase& k : kEdgeCases) {
        SCOPED_TRACE(testing::Message() << "edge " << k.edge << " flags " << k.flags);
        Canvas c(8, 8, kBack);
        RECT r{0, 0, 8, 8};
        EXPECT_EQ(DrawEdge(c.dc, &r, k.edge, BF_RECT | k.flags) != 0, k.ok);
        EXPECT_EQ(c.Px(4, 0), Expect(k.lto));  // outer top
        EXPECT_EQ(c.Px(0, 4), Expect(k.lto));  // outer left
        EXPECT_EQ(c.Px(4, 7), Expect(k.rbo));  // outer bottom
        EXPECT_EQ(c.Px(7, 4), Expect(k.rbo));  // outer right
        EXPECT_EQ(c.Px(4, 1), Expect(k.lti));  // inner top
        EXPECT_EQ(c.Px(1, 4), Expect(k.lti));  // inner left
        EXPECT_EQ(c.Px(4, 6), Expect(k.rbi));  // inner bottom
        EXPECT_EQ(c.Px(6, 4), Expect(k.rbi));  // inner right
        EXPECT_EQ(c.Px(3, 3), kBack);
    }
}

TEST(GdiDrawEdge, CornersBelongToTheLaterLines) {
    Canvas c(6, 5, kBack);
    RECT r{0, 0, 6, 5};
    DrawEdge(c.dc, &r, EDGE_SUNKEN, BF_RECT);
    EXPECT_EQ(c.Px(0, 0), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(c.Px(5, 0), Sys(COLOR_BTNHIGHLIGHT));  // outer top-right: RBO
    EXPECT_EQ(c.Px(0, 4), Sys(COLOR_BTNHIGHLIGHT));  // outer bottom-left: RBO
    EXPECT_EQ(c.Px(1, 1), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(c.Px(4, 1), Sys(COLOR_3DLIGHT));  // inner top-right: RBI
    EXPECT_EQ(c.Px(1, 3), Sys(COLOR_3DLIGHT));  // inner bottom-left: RBI
}

TEST(GdiDrawEdge, PartialSidesExtendInnerLinesToTheOpenEnds) {
    Canvas c(6, 6, kBack);
    RECT r{0, 0, 6, 6};
    DrawEdge(c.dc, &r, EDGE_RAISED, BF_TOP);
    // Only the top lines, each running the full width.
    EXPECT_EQ(c.Count(Sys(COLOR_3DLIGHT), 0, 0, 6, 1), 6);
    EXPECT_EQ(c.Count(Sys(COLOR_BTNHIGHLIGHT), 0, 1, 6, 2), 6);
    EXPECT_EQ(c.Count(kBack), 24);

    Canvas d(6, 6, kBack);
    DrawEdge(d.dc, &r, EDGE_RAISED, BF_BOTTOMRIGHT);
    EXPECT_EQ(d.Px(0, 5), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(d.Px(5, 0), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(d.Px(0, 4), Sys(COLOR_BTNSHADOW));  // c = 0: starts at left
    EXPECT_EQ(d.Px(4, 0), Sys(COLOR_BTNSHADOW));  // b = 0: starts at top
    EXPECT_EQ(d.Px(4, 4), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(d.Px(5, 5), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(d.Count(kBack), 16);

    Canvas e(6, 6, kBack);
    DrawEdge(e.dc, &r, EDGE_RAISED, BF_TOPLEFT);
    EXPECT_EQ(e.Px(1, 1), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(e.Px(5, 1), Sys(COLOR_BTNHIGHLIGHT));  // b = 0: inner top to the right end
    EXPECT_EQ(e.Px(1, 5), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(e.Px(5, 0), Sys(COLOR_3DLIGHT));
}

TEST(GdiDrawEdge, TinyRectangles) {
    Canvas c(2, 2, kBack);
    RECT r{0, 0, 2, 2};
    DrawEdge(c.dc, &r, EDGE_RAISED, BF_RECT);
    EXPECT_EQ(c.Px(0, 0), Sys(COLOR_3DLIGHT));
    EXPECT_EQ(c.Px(1, 0), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(c.Px(0, 1), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(c.Px(1, 1), Sys(COLOR_3DDKSHADOW));

    Canvas one(1, 1, kBack);
    RECT p{0, 0, 1, 1};
    DrawEdge(one.dc, &p, EDGE_SUNKEN, BF_RECT);
    EXPECT_EQ(one.Px(0, 0), Sys(COLOR_BTNHIGHLIGHT));

    Canvas three(3, 3, kBack);
    RECT t{0, 0, 3, 3};
    DrawEdge(three.dc, &t, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    EXPECT_EQ(three.Px(1, 1), Sys(COLOR_BTNSHADOW));  // inner right overwrites inner top
    RECT empty{2, 2, 2, 2};
    EXPECT_TRUE(DrawEdge(three.dc, &empty, EDGE_RAISED, BF_RECT));
}

TEST(GdiDrawEdge, MiddleAndAdjust) {
    Canvas c(10, 10, kBack);
    RECT r{0, 0, 10, 10};
    EXPECT_TRUE(DrawEdge(c.dc, &r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST));
    EXPECT_EQ(r, (RECT{2, 2, 8, 8}));
    EXPECT_EQ(c.Count(Sys(COLOR_BTNFACE), 2, 2, 8, 8), 36);
    EXPECT_EQ(c.Count(kBack), 0);

    // One-level edges shrink by one, and only on the flagged sides.
    RECT s{0, 0, 10, 10};
    DrawEdge(c.dc, &s, BDR_SUNKENOUTER, BF_LEFT | BF_BOTTOM | BF_ADJUST);
    EXPECT_EQ(s, (RECT{1, 0, 10, 9}));

    // BF_MONO fills with the window colour.
    Canvas m(6, 6, kBack);
    RECT q{0, 0, 6, 6};
    DrawEdge(m.dc, &q, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_MONO);
    EXPECT_EQ(m.Count(Sys(COLOR_WINDOW), 2, 2, 4, 4), 4);

    // A refused edge type draws no line and skips the middle, so nothing moves either.
    Canvas f(6, 6, kBack);
    RECT u{0, 0, 6, 6};
    EXPECT_FALSE(DrawEdge(f.dc, &u, BDR_OUTER, BF_RECT | BF_MIDDLE | BF_ADJUST));
    EXPECT_EQ(f.Count(kBack), 36);
    EXPECT_EQ(u, (RECT{0, 0, 6, 6}));
}

TEST(GdiDrawEdge, Diagonals) {
    Canvas c(5, 5, kBack);
    RECT r{0, 0, 5, 5};
    EXPECT_TRUE(DrawEdge(c.dc, &r, BDR_RAISEDOUTER, BF_DIAGONAL_ENDTOPRIGHT));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(c.Px(i, 4 - i), Sys(COLOR_3DLIGHT)) << i;
    EXPECT_EQ(c.Count(kBack), 20);

    Canvas d(5, 5, kBack);
    DrawEdge(d.dc, &r, BDR_RAISEDOUTER, BF_DIAGONAL_ENDBOTTOMRIGHT);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(d.Px(i, i), Sys(COLOR_3DDKSHADOW)) << i;
    EXPECT_EQ(d.Count(kBack), 20);
}

TEST(GdiDrawEdge, OriginAndClip) {
    Canvas c(8, 8, kBack);
    SetViewportOrgEx(c.dc, 2, 2, nullptr);
    IntersectClipRect(c.dc, 0, 0, 3, 8);
    RECT r{0, 0, 4, 4};
    DrawEdge(c.dc, &r, BDR_SUNKENOUTER, BF_RECT);
    EXPECT_EQ(c.Px(2, 2), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(c.Px(4, 5), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(c.Px(5, 5), kBack);  // the right side is clipped off
    EXPECT_EQ(c.Px(5, 3), kBack);
    EXPECT_EQ(r, (RECT{0, 0, 4, 4}));  // no BF_ADJUST: untouched
}

}  // namespace
}  // namespace zo::plat
