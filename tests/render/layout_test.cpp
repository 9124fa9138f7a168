// The geometry the control lays out by, without a window: each function's results as one line
// of text per case, so a row states everything the function decided.
#include <gtest/gtest.h>

#include <sstream>

#include "core/Enums.h"
#include "render/AreaArrangement.h"
#include "render/ButtonLayout.h"
#include "render/ButtonPainting.h"
#include "render/GroupPainting.h"
#include "render/Primitives.h"

namespace zo::layout {
namespace {

constexpr std::int32_t V = zoVertical, H = zoHorizontal, Lin = zoLinear, Til = zoTiled;

// The numbers joined by commas.
template <class... T>
std::string Text(T... v) {
    std::string s;
    ((s += (s.empty() ? "" : ",") + std::to_string(v)), ...);
    return s;
}
std::string Text(const Rect& r) {
    return Text(r.left, r.top, r.right, r.bottom);
}
std::string Text(const Placement& p) {
    return Text(Rect{p.left, p.top, p.width, p.height});
}

TEST(FitButtons, LinesScrollingAndTheFirstLinesOrigin) {
    struct Row {
        const char* name;
        std::int32_t W, H, AW, AH, N, flow, layout, scroll;
        const char* fit;  // per line, lines, scroll/max, x0,y0, scroll buttons
    };
    const Row rows[] = {
        // 4 buttons of 48 in a 192-high area: exactly 4 lines fit.
        {"as many as fit", 100, 48, 100, 192, 4, V, Lin, 0, "1x4 0/0 0,0 0,0,0,0 0,0,0,0"},
        // One more: scroll buttons take 30 pixels, so only (192 - 30) \ 48 = 3 lines fit.
        {"one more scrolls", 100, 48, 100, 192, 5, V, Lin, 0,
         "1x5 0/2 0,15 0,0,100,15 0,177,100,192"},
        {"scroll clamped", 100, 48, 100, 192, 5, V, Lin, 9,
         "1x5 2/2 0,-81 0,0,100,15 0,177,100,192"},
        {"horizontal, centred across", 40, 30, 100, 50, 6, H, Lin, 1,
         "1x6 1/5 -25,10 0,0,15,50 85,0,100,50"},
        // (20 - 30) \ 10 truncates toward zero to -1.
        {"too small for scroll buttons", 10, 10, 10, 20, 3, V, Lin, 0,
         "1x3 0/4 0,15 0,0,10,15 0,5,10,20"},
        {"tiled from the edge", 40, 40, 100, 400, 5, V, Til, 0, "2x3 0/0 0,0 0,0,0,0 0,0,0,0"},
        {"narrower than a button", 40, 40, 30, 400, 3, V, Til, 0, "1x3 0/0 0,0 0,0,0,0 0,0,0,0"},
        // No shown buttons: one line in tiled, none in linear.
        {"none tiled", 40, 40, 100, 400, 0, V, Til, 0, "2x1 0/0 0,0 0,0,0,0 0,0,0,0"},
        {"none linear", 40, 40, 100, 400, 0, V, Lin, 0, "1x0 0/0 30,0 0,0,0,0 0,0,0,0"},
        {"none tiled, short area", 40, 40, 100, 20, 0, V, Til, 0,
         "2x1 0/1 0,15 0,0,100,15 0,5,100,20"},
        // The linear column is centred with halves to even: 2.5 gives 2, 3.5 gives 4.
        {"centred 2.5", 95, 40, 100, 400, 1, V, Lin, 0, "1x1 0/0 2,0 0,0,0,0 0,0,0,0"},
        {"centred 3.5", 93, 40, 100, 400, 1, V, Lin, 0, "1x1 0/0 4,0 0,0,0,0 0,0,0,0"},
        {"wider than the area", 120, 40, 100, 400, 1, V, Lin, 0, "1x1 0/0 0,0 0,0,0,0 0,0,0,0"},
    };
    for (const Row& r : rows) {
        const Fit f = FitButtons(r.W, r.H, r.AW, r.AH, r.N, r.flow, r.layout, r.scroll);
        std::ostringstream s;
        s << f.buttonsPerLine << "x" << f.lines << " " << f.scrollPos << "/" << f.maxScrollPos
          << " " << f.x0 << "," << f.y0 << " " << Text(f.tlScroll) << " " << Text(f.brScroll);
        EXPECT_EQ(s.str(), r.fit) << r.name;
    }
}

TEST(GridLines, OneMoreThanUsedIsPossible) {
    EXPECT_EQ(GridLines(6, 2), 3);
    EXPECT_EQ(GridLines(5, 2), 4);  // nearest(3.5) = 4
    EXPECT_EQ(GridLines(7, 2), 4);  // nearest(4.5) = 4
    EXPECT_EQ(GridLines(3, 1), 3);
}

TEST(PlaceCells, TiledRowsWrapAndHiddenButtonsGetNoCell) {
    const auto text = [](const std::vector<Cell>& cells) {
        std::string s;
        for (const Cell& c : cells)
            s += Text(c.rect) + " " + std::to_string(c.line) + "." + std::to_string(c.pos) + "; ";
        return s;
    };
    // 80 + 40 > 100: a new row.
    EXPECT_EQ(text(PlaceCells({true, false, true, true, true}, 40, 30, 0, 0, 100, 300, V, Til)),
              "0,0,40,30 0.0; 40,0,80,30 0.1; 0,30,40,60 1.0; 40,30,80,60 1.1; ");
    // 60 + 30 > 70: the next column.
    EXPECT_EQ(text(PlaceCells({true, true, true}, 40, 30, 5, 0, 300, 70, H, Til)),
              "5,0,45,30 0.0; 5,30,45,60 0.1; 45,0,85,30 1.0; ");
}

TEST(AutoButtonSize, EveryLayoutFlowAndTextPosition) {
    struct Row {
        const char* name;
        std::int32_t layout, flow, textPosition, showInfo;
        const char* size;  // W x H, then the widths the caption was measured at
    };
    // Without pictures the slot is 32; the area is 180 x 300.
    const std::int32_t both = zoPictureAndCaption;
    const Row rows[] = {
        {"tiled, right", Til, V, zoRight, both, "100x58 96"},
        {"tiled, bottom", Til, V, zoBottom, both, "68x58 64"},
        {"tiled, picture only", Til, V, zoBottom, zoPictureOnly, "36x58 32"},
        // Beside the picture the caption is not measured.
        {"linear vertical, left", Lin, V, zoLeft, both, "180x42"},
        {"linear vertical, top", Lin, V, zoTop, both, "180x58 180"},
        // Measured, but not used.
        {"linear horizontal, top", Lin, H, zoTop, both, "68x300 64"},
    };
    for (const Row& r : rows) {
        const AutoSizeInput in{.buttonLayout = r.layout,
                               .flow = r.flow,
                               .textPosition = r.textPosition,
                               .showInfo = r.showInfo,
                               .areaWidth = 180,
                               .areaHeight = 300};
        std::string measured;
        const auto measure = [&](std::int32_t w) {
            measured += " " + std::to_string(w);
            return 16;
        };
        std::int32_t W = 0, H = 0;
        AutoButtonSize(in, measure, W, H);
        EXPECT_EQ(std::to_string(W) + "x" + std::to_string(H) + measured, r.size) << r.name;
    }
}

TEST(ArrangeSurfaces, BothFlowsWithAndWithoutCaptionBar) {
    struct Row {
        const char* name;
        std::int32_t flow;
        bool caption;
        std::int32_t CW, CH, T, U, D;
        const char* placed;  // caption bar, upper strip, lower strip, buttons: left,top,w,h
    };
    const Row rows[] = {
        {"vertical", V, false, 200, 400, 14, 36, 54,
         "0,0,200,0 0,0,200,36 0,346,200,54 0,36,200,310"},
        {"vertical with caption bar", V, true, 200, 400, 14, 36, 54,
         "0,0,200,14 0,14,200,36 0,346,200,54 0,50,200,296"},
        {"horizontal with caption bar", H, true, 300, 100, 14, 18, 36,
         "0,0,14,100 14,0,18,100 264,0,36,100 32,0,232,100"},
        // The button area is never negative.
        {"strips larger than the control", V, false, 200, 50, 14, 40, 40,
         "0,0,200,0 0,0,200,40 0,10,200,40 0,40,200,0"},
    };
    for (const Row& r : rows) {
        const Arrangement a = ArrangeSurfaces(r.flow, r.caption, r.CW, r.CH, r.T, r.U, r.D);
        EXPECT_EQ(Text(a.captionBar) + " " + Text(a.upperGroups) + " " + Text(a.lowerGroups) + " " +
                      Text(a.buttons),
                  r.placed)
            << r.name;
    }
}

TEST(CloseButtonRect, SquareAtTheEndInsetByTwo) {
    EXPECT_EQ(CloseButtonRect(zoVertical, 200, 20), (Rect{182, 2, 198, 18}));
    EXPECT_EQ(CloseButtonRect(zoHorizontal, 20, 200), (Rect{2, 2, 18, 18}));
}

TEST(ButtonFace, SlotCaptionAndPictureForEachTextPosition) {
    struct Row {
        const char* name;
        std::int32_t top, height, textPosition, showInfo, picWidth, picHeight;
        const char* face;  // slot, picture, caption, zone
    };
    const std::int32_t both = zoPictureAndCaption;
    const Row rows[] = {
        // 5 narrower: 2.5 -> 2; 7 lower: 3.5 -> 4. 60 > 16 + 32, so the slot is centred:
        // nearest((60 - 48) / 2 + 0 + 2) = 8.
        {"bottom, small picture", 0, 60, zoBottom, both, 27, 25,
         "34,8 36,12 2,42,98,58 32,6,68,42"},
        {"left", 100, 42, zoLeft, both, 32, 32, "74,105 74,105 12,113,70,129 72,103,108,139"},
        {"right", 100, 42, zoRight, both, 32, 32, "14,105 14,105 50,113,108,129 12,103,48,139"},
        // 42 <= 16 + 32: the slot sits 4 above the bottom; E = slotY - 2 <= top + CH: E - 2.
        {"top", 100, 42, zoTop, both, 32, 32, "44,106 44,106 12,102,108,102 42,104,78,140"},
        {"picture only", 100, 42, zoTop, zoPictureOnly, 32, 32,
         "44,105 44,105 0,0,0,0 42,103,78,139"},
    };
    for (const Row& r : rows) {
        // A cell 100 wide, from x 0 for the first row and from x 10 for the others.
        const FaceGeometry g =
            ButtonFace({.cell = {r.top ? 10 : 0, r.top, r.top ? 110 : 100, r.top + r.height},
                        .showInfo = r.showInfo,
                        .textPosition = r.textPosition,
                        .buttonHeight = r.height,
                        .captionHeight = 16,
                        .picWidth = r.picWidth,
                        .picHeight = r.picHeight});
        EXPECT_EQ(Text(g.slotX, g.slotY) + " " + Text(g.picX, g.picY) + " " + Text(g.caption) +
                      " " + Text(g.zone),
                  r.face)
            << r.name;
    }
}

TEST(TilePieces, TilesAlignToTheSurfaceOrigin) {
    const auto tiles = TilePieces(5, 3, 20, 10, 8, 6);
    ASSERT_FALSE(tiles.empty());
    EXPECT_EQ(tiles[0], (Tile{5, 3, 3, 3, 5, 3}));  // starts inside the picture
    EXPECT_EQ(tiles[1], (Tile{8, 3, 8, 3, 0, 3}));
    EXPECT_EQ(tiles.back(), (Tile{24, 12, 1, 1, 0, 0}));  // cut at the right and bottom edges
    std::int64_t area = 0;
    for (const Tile& t : tiles)
        area += static_cast<std::int64_t>(t.w) * t.h;
    EXPECT_EQ(area, 200);
    EXPECT_TRUE(TilePieces(0, 0, 10, 10, 0, 5).empty());
}

TEST(ScrollArrow, EachDirectionPointsAwayFromTheButtons) {
    const auto text = [](const Rect& r, std::int32_t direction) {
        std::string s;
        for (const plat::POINT& p : ScrollArrowPoints(r, direction))
            s += std::to_string(p.x) + "," + std::to_string(p.y) + " ";
        return s;
    };
    // 200 x 15: a = nearest(3.75) = 4; base from 96 to 104 at y 10, apex (100, 6).
    EXPECT_EQ(text(Rect{0, 0, 200, 15}, kScrollUp), "96,10 100,6 104,10 ");
    EXPECT_EQ(text(Rect{0, 185, 200, 200}, kScrollDown), "96,190 100,194 104,190 ");
    EXPECT_EQ(text(Rect{0, 0, 15, 100}, kScrollLeft), "10,46 6,50 10,54 ");
    EXPECT_EQ(text(Rect{85, 0, 100, 100}, kScrollRight), "90,46 94,50 90,54 ");
}

TEST(TurnedText, ACaptionExactlyAMinus16WideStaysWhole) {
    const Rect R{0, 2, 20, 98};  // A = 96
    const auto measure = [](const std::string& s) {
        return plat::SIZE{static_cast<plat::LONG>(s.size() * 8), 13};
    };
    TurnedText t = LayOutTurnedText(std::string(10, 'x'), R, true, measure);  // 80 = A - 16
    EXPECT_EQ(t.text, std::string(10, 'x'));
    t = LayOutTurnedText(std::string(11, 'x'), R, true, measure);  // 88: shortened until < 96
    EXPECT_EQ(t.text, std::string(8, 'x') + "...");
    EXPECT_EQ(t.x, NearestPx((20 - 13) / 2.0));  // 3.5 -> 4
    EXPECT_EQ(t.y, NearestPx(98 - (96 - 88) / 2.0));
    t = LayOutTurnedText(std::string(11, 'x'), R, false, measure);
    EXPECT_EQ(t.y, 96);  // not centred: 2 above the bottom
}

TEST(MixColor, FractionsMixEachChannel) {
    EXPECT_EQ(MixColor(1.0, 0x0000FF, 0xFF0000), 0x0000FF);
    EXPECT_EQ(MixColor(0.0, 0x0000FF, 0xFF0000), 0xFF0000);
    EXPECT_EQ(MixColor(0.5, 0x000000, 0x0000FF), 0x000080);  // 127.5 -> 128
}

}  // namespace
}  // namespace zo::layout
