#include <gtest/gtest.h>

#include "core/Enums.h"
#include "render/AreaArrangement.h"
#include "render/ButtonLayout.h"
#include "render/ButtonPainting.h"
#include "render/GroupPainting.h"
#include "render/Primitives.h"

namespace zo::layout {
namespace {

TEST(FitButtons, ExactlyAsManyLinesAsFitNeedNoScrolling) {
    // 4 buttons of 48 in a 192-high area: exactly 4 lines fit.
    Fit f = FitButtons(100, 48, 100, 192, 4, zoVertical, zoLinear, 0);
    EXPECT_EQ(f.maxScrollPos, 0);
    EXPECT_EQ(f.tlScroll, Rect{});
    EXPECT_EQ(f.y0, 0);
    // One more: scroll buttons take 30 pixels, so only (192 - 30) \ 48 = 3 lines fit.
    f = FitButtons(100, 48, 100, 192, 5, zoVertical, zoLinear, 0);
    EXPECT_EQ(f.maxScrollPos, 2);
    EXPECT_EQ(f.tlScroll, (Rect{0, 0, 100, 15}));
    EXPECT_EQ(f.brScroll, (Rect{0, 177, 100, 192}));
    EXPECT_EQ(f.y0, 15);
}

TEST(FitButtons, ScrollPositionIsClampedAndShiftsTheFirstLine) {
    Fit f = FitButtons(100, 48, 100, 192, 5, zoVertical, zoLinear, 9);
    EXPECT_EQ(f.scrollPos, 2);
    EXPECT_EQ(f.y0, 15 - 2 * 48);
    f = FitButtons(40, 30, 100, 50, 6, zoHorizontal, zoLinear, 1);
    EXPECT_EQ(f.tlScroll, (Rect{0, 0, 15, 50}));
    EXPECT_EQ(f.brScroll, (Rect{85, 0, 100, 50}));
    EXPECT_EQ(f.x0, 15 - 40);
    EXPECT_EQ(f.y0, 10);  // centred across: (50 - 30) / 2
}

TEST(FitButtons, AreaTooSmallForTheScrollButtonsScrollsBeyondTheLineCount) {
    // (20 - 30) \ 10 truncates toward zero to -1.
    const Fit f = FitButtons(10, 10, 10, 20, 3, zoVertical, zoLinear, 0);
    EXPECT_EQ(f.maxScrollPos, 4);
}

TEST(FitButtons, TiledLinesAndAnAreaNarrowerThanAButton) {
    Fit f = FitButtons(40, 40, 100, 400, 5, zoVertical, zoTiled, 0);
    EXPECT_EQ(f.buttonsPerLine, 2);
    EXPECT_EQ(f.lines, 3);
    EXPECT_EQ(f.x0, 0);  // tiled lines start at the edge
    f = FitButtons(40, 40, 30, 400, 3, zoVertical, zoTiled, 0);
    EXPECT_EQ(f.buttonsPerLine, 1);
    EXPECT_EQ(f.lines, 3);
    // No shown buttons: one line in tiled, none in linear.
    EXPECT_EQ(FitButtons(40, 40, 100, 400, 0, zoVertical, zoTiled, 0).lines, 1);
    EXPECT_EQ(FitButtons(40, 40, 100, 400, 0, zoVertical, zoLinear, 0).lines, 0);
    EXPECT_EQ(FitButtons(40, 40, 100, 20, 0, zoVertical, zoTiled, 0).maxScrollPos, 1);
}

TEST(FitButtons, LinearColumnIsCentredWithHalvesToEven) {
    // (AW - W) / 2 = 2.5 gives 2; 3.5 gives 4.
    EXPECT_EQ(FitButtons(95, 40, 100, 400, 1, zoVertical, zoLinear, 0).x0, 2);
    EXPECT_EQ(FitButtons(93, 40, 100, 400, 1, zoVertical, zoLinear, 0).x0, 4);
    EXPECT_EQ(FitButtons(120, 40, 100, 400, 1, zoVertical, zoLinear, 0).x0, 0);
}

TEST(GridLines, OneMoreThanUsedIsPossible) {
    EXPECT_EQ(GridLines(6, 2), 3);
    EXPECT_EQ(GridLines(5, 2), 4);  // nearest(3.5) = 4
    EXPECT_EQ(GridLines(7, 2), 4);  // nearest(4.5) = 4
    EXPECT_EQ(GridLines(3, 1), 3);
}

TEST(PlaceCells, TiledRowsWrapAndHiddenButtonsGetNoCell) {
    const std::vector<bool> shown{true, false, true, true, true};
    const auto cells = PlaceCells(shown, 40, 30, 0, 0, 100, 300, zoVertical, zoTiled);
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells[0].rect, (Rect{0, 0, 40, 30}));
    EXPECT_EQ(cells[1].rect, (Rect{40, 0, 80, 30}));
    EXPECT_EQ(cells[2].rect, (Rect{0, 30, 40, 60}));  // 80 + 40 > 100: a new row
    EXPECT_EQ(cells[2].line, 1);
    EXPECT_EQ(cells[2].pos, 0);
    EXPECT_EQ(cells[3].pos, 1);
    const auto columns =
        PlaceCells({true, true, true}, 40, 30, 5, 0, 300, 70, zoHorizontal, zoTiled);
    EXPECT_EQ(columns[1].rect, (Rect{5, 30, 45, 60}));
    EXPECT_EQ(columns[2].rect, (Rect{45, 0, 85, 30}));  // 60 + 30 > 70: the next column
    EXPECT_EQ(columns[2].line, 1);
}

TEST(AutoButtonSize, EveryLayoutFlowAndTextPosition) {
    AutoSizeInput in;
    in.maxPicWidth = 32;
    in.maxPicHeight = 32;
    in.areaWidth = 180;
    in.areaHeight = 300;
    std::vector<std::int32_t> measured;
    const auto caption = [&](std::int32_t w) {
        measured.push_back(w);
        return 16;
    };
    std::int32_t W, H;
    in.buttonLayout = zoTiled;
    in.textPosition = zoRight;
    AutoButtonSize(in, caption, W, H);
    // Without pictures the slot is 32: 3 x 32 + 4 by 32 + caption + 10.
    EXPECT_EQ(W, 100);
    EXPECT_EQ(H, 58);
    in.textPosition = zoBottom;
    AutoButtonSize(in, caption, W, H);
    EXPECT_EQ(W, 68);
    in.showInfo = zoPictureOnly;
    AutoButtonSize(in, caption, W, H);
    EXPECT_EQ(W, 36);
    in.showInfo = zoPictureAndCaption;
    in.buttonLayout = zoLinear;
    in.flow = zoVertical;
    in.textPosition = zoLeft;
    measured.clear();
    AutoButtonSize(in, caption, W, H);
    EXPECT_EQ(W, 180);
    EXPECT_EQ(H, 42);
    EXPECT_TRUE(measured.empty());  // beside the picture: the caption is not measured
    in.textPosition = zoTop;
    AutoButtonSize(in, caption, W, H);
    EXPECT_EQ(H, 58);
    EXPECT_EQ(measured, std::vector<std::int32_t>{180});
    in.flow = zoHorizontal;
    measured.clear();
    AutoButtonSize(in, caption, W, H);
    EXPECT_EQ(W, 68);
    EXPECT_EQ(H, 300);
    EXPECT_EQ(measured, std::vector<std::int32_t>{64});  // measured, but not used
}

TEST(ArrangeSurfaces, VerticalFlowWithAndWithoutCaptionBar) {
    Arrangement a = ArrangeSurfaces(zoVertical, false, 200, 400, 14, 36, 54);
    EXPECT_EQ(a.captionBar, (Placement{0, 0, 200, 0}));
    EXPECT_EQ(a.upperGroups, (Placement{0, 0, 200, 36}));
    EXPECT_EQ(a.lowerGroups, (Placement{0, 346, 200, 54}));
    EXPECT_EQ(a.buttons, (Placement{0, 36, 200, 310}));
    a = ArrangeSurfaces(zoVertical, true, 200, 400, 14, 36, 54);
    EXPECT_EQ(a.captionBar, (Placement{0, 0, 200, 14}));
    EXPECT_EQ(a.upperGroups.top, 14);
    EXPECT_EQ(a.buttons, (Placement{0, 50, 200, 296}));
}

TEST(ArrangeSurfaces, HorizontalFlowAndStripsLargerThanTheControl) {
    Arrangement a = ArrangeSurfaces(zoHorizontal, true, 300, 100, 14, 18, 36);
    EXPECT_EQ(a.captionBar, (Placement{0, 0, 14, 100}));
    EXPECT_EQ(a.upperGroups, (Placement{14, 0, 18, 100}));
    EXPECT_EQ(a.lowerGroups, (Placement{264, 0, 36, 100}));
    EXPECT_EQ(a.buttons, (Placement{32, 0, 232, 100}));
    a = ArrangeSurfaces(zoVertical, false, 200, 50, 14, 40, 40);
    EXPECT_EQ(a.buttons.height, 0);  // never negative
    EXPECT_EQ(a.lowerGroups.top, 10);
}

TEST(CloseButtonRect, SquareAtTheEndInsetByTwo) {
    EXPECT_EQ(CloseButtonRect(zoVertical, 200, 20), (Rect{182, 2, 198, 18}));
    EXPECT_EQ(CloseButtonRect(zoHorizontal, 20, 200), (Rect{2, 2, 18, 18}));
}

TEST(ButtonFace, PicturesNarrowerThanTheSlotAreCentredWithHalvesToEven) {
    FaceInput in;
    in.cell = {0, 0, 100, 60};
    in.buttonHeight = 60;
    in.captionHeight = 16;
    in.maxPicWidth = 32;
    in.maxPicHeight = 32;
    in.picWidth = 27;   // 5 narrower: 2.5 -> 2
    in.picHeight = 25;  // 7 lower: 3.5 -> 4
    const FaceGeometry g = ButtonFace(in);
    EXPECT_EQ(g.slotX, 34);
    EXPECT_EQ(g.picX - g.slotX, 2);
    EXPECT_EQ(g.picY - g.slotY, 4);
    // zoBottom: 60 > 16 + 32, so the slot is centred: nearest((60 - 48) / 2 + 0 + 2) = 8.
    EXPECT_EQ(g.slotY, 8);
    EXPECT_EQ(g.caption, (Rect{2, 42, 98, 58}));
    EXPECT_EQ(g.zone, (Rect{32, 6, 68, 42}));
}

TEST(ButtonFace, CaptionBesideAboveAndPictureOnly) {
    FaceInput in;
    in.cell = {10, 100, 110, 142};
    in.buttonHeight = 42;
    in.captionHeight = 16;
    in.textPosition = zoLeft;
    FaceGeometry g = ButtonFace(in);
    EXPECT_EQ(g.slotX, 110 - 32 - 4);
    EXPECT_EQ(g.caption, (Rect{12, 113, 70, 129}));
    in.textPosition = zoRight;
    g = ButtonFace(in);
    EXPECT_EQ(g.caption.left, 14 + 32 + 4);
    in.textPosition = zoTop;  // 42 <= 16 + 32: the slot sits 4 above the bottom
    g = ButtonFace(in);
    EXPECT_EQ(g.slotY, 142 - 32 - 4);
    EXPECT_EQ(g.caption.top, 102);
    EXPECT_EQ(g.caption.bottom, 102);  // E = slotY - 2 <= top + CH: E - 2
    in.showInfo = zoPictureOnly;
    g = ButtonFace(in);
    EXPECT_EQ(g.caption, Rect{});
    EXPECT_EQ(g.slotY, 105);  // (42 - 32) \ 2
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

TEST(ScrollArrow, UpArrowOfAWideButton) {
    // 200 x 15: a = nearest(3.75) = 4; base from 96 to 104 at y 10, apex (100, 6).
    const auto p = ScrollArrowPoints(Rect{0, 0, 200, 15}, kScrollUp);
    EXPECT_EQ(p[0].x, 96);
    EXPECT_EQ(p[0].y, 10);
    EXPECT_EQ(p[1].x, 100);
    EXPECT_EQ(p[1].y, 6);
    EXPECT_EQ(p[2].x, 104);
    const auto down = ScrollArrowPoints(Rect{0, 185, 200, 200}, kScrollDown);
    EXPECT_EQ(down[1].y - down[0].y, 4);
    const auto left = ScrollArrowPoints(Rect{0, 0, 15, 100}, kScrollLeft);
    EXPECT_EQ(left[1].x, left[0].x - 4);
    EXPECT_EQ(left[2].y - left[0].y, 8);
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
