// The control's gradients on real bitmaps, black to white over a red canvas: one line of pixels
// across each routine and kind, so a flipped sign or a shifted band shows as a wrong grey, and
// what "no gradient" paints in either routine.
#include <gtest/gtest.h>

#include "core/Enums.h"
#include "platform/Display.h"
#include "platform/Gdi.h"
#include "platform/GdiInternal.h"
#include "render/CResoureMgr.h"
#include "render/Primitives.h"

namespace zo {
namespace {

constexpr std::int32_t kRed = 0x0000FF;  // COLORREF order: red in the low byte
constexpr int R = -1;                    // a pixel left as it was (the red canvas)

// The kinds by their first letters: None, Horizontal, Vertical, Horizontal Centre, Vertical Centre.
constexpr std::int32_t N = zoGradientNone, H = zoGradientHorizontal, V = zoGradientVertical,
                       HC = zoGradientHorizontalCenter, VC = zoGradientVerticalCenter;

struct Row {
    const char* name;
    std::int32_t type;
    Rect rect;               // drawn into a canvas one pixel larger on each side
    std::vector<int> greys;  // along the middle row, or down the middle column for V and VC
};

const Row kRows[] = {
    {"smooth N", N, {1, 1, 4, 4}, {R, 255, 255, 255, R}},
    {"banded N", N, {1, 1, 4, 4}, {R, R, R, R, R}},
    {"smooth H", H, {1, 1, 9, 2}, {R, 0, 36, 72, 109, 145, 182, 218, 255, R}},
    {"smooth V", V, {1, 1, 2, 9}, {R, 0, 36, 72, 109, 145, 182, 218, 255, R}},
    {"smooth HC", HC, {1, 1, 6, 4}, {R, 255, 0, 0, 127, 255, R}},
    {"smooth VC", VC, {1, 1, 4, 8}, {R, 255, 170, 85, 0, 0, 127, 255, R}},
    // Each band takes the colour of its far end; the last one at x = right is forced.
    {"banded H", H, {1, 1, 11, 2}, {R, 25, 51, 77, 102, 128, 153, 178, 204, 230, 255, R}},
    // No band is forced at the bottom: the last row keeps what was there.
    {"banded V", V, {1, 1, 2, 11}, {R, 25, 51, 77, 102, 128, 153, 178, 204, 230, R, R}},
    // Bands grow out from the centre line both ways; the outermost pixels are never painted.
    {"banded HC", HC, {1, 1, 11, 2}, {R, R, 204, 153, 102, 51, 51, 102, 153, 204, R, R}},
    {"banded VC", VC, {1, 1, 2, 11}, {R, R, 204, 153, 102, 51, 51, 102, 153, 204, R, R}},
    // Extents beyond 16 bits are refused quietly.
    {"smooth N too wide", N, {-40000, 1, 4, 4}, {R, R, R, R, R}},
    {"banded H too wide", H, {-40000, 1, 4, 2}, {R, R, R, R, R}},
};

TEST(Gradients, EachKindPaintsItsBandsWhereTheyBelong) {
    plat::InitDisplay(plat::DisplayKind::Offscreen, 64, 64);
    CResoureMgr cache;
    const plat::HDC dc = plat::CreateCompatibleDC(0);
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        const int w = row.rect.right + 1, h = row.rect.bottom + 1;
        const bool columns = row.type == V || row.type == VC;
        const plat::HBITMAP bitmap = plat::CreateBitmap(w, h, 1, 32, nullptr);
        const plat::HGDIOBJ old = plat::SelectObject(dc, bitmap);
        const plat::RECT all{0, 0, w, h};
        plat::FillRect(dc, &all, cache.GetBrush(kRed, "Canvas"));
        (row.name[0] == 'b' ? FillGradientBanded : FillGradientSmooth)(
            cache, dc, row.rect, 0x000000, 0xFFFFFF, row.type);
        std::vector<int> greys;
        for (int i = 0; i < (columns ? h : w); ++i) {
            const auto c = static_cast<std::int32_t>(
                plat::GetPixel(dc, columns ? w / 2 : i, columns ? i : h / 2));
            greys.push_back(c == kRed ? R : c == (c & 0xFF) * 0x010101 ? c & 0xFF : -2);
        }
        EXPECT_EQ(greys, row.greys);
        plat::SelectObject(dc, old);
        plat::DeleteObject(bitmap);
    }
    plat::DeleteDC(dc);
    plat::ShutdownDisplay();
}

}  // namespace
}  // namespace zo
