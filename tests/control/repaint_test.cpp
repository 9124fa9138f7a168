// Repaint requests of one change are gathered: each surface paints once per change, and what
// every surface shows when the host's call returns is what painting at each request showed.
#include <functional>
#include <string>
#include <vector>

#include "control/ControlFixture.h"
#include "platform/GdiInternal.h"

namespace zo {
namespace {

using testing::ControlTest;
using testing::IconPicture;
using testing::ScreenPixels;

class Repaint : public ControlTest {
protected:
    // General (active) with six buttons, and a second group below it.
    void MakeTwoGroups() {
        MakeBar();
        for (int i = 1; i <= 6; ++i)
            bar->ActiveGroup()->Buttons()->Add("B" + std::to_string(i), IconPicture());
        second = bar->Groups()->Add("Second");
        second->Buttons()->Add("S1", IconPicture());
        plat::PumpMessages();
        CountPaints();
    }
    void HoverOver(const ButtonPtr& b) {
        const plat::POINT p = testing::CentreOnScreen(bar->m_hWndButtons, b->ButtonRect());
        plat::InjectMouseMove(p.x, p.y);
        plat::PumpMessages();
    }
    GroupPtr second;
};

// Each surface paints once per change, and what shows then is what a full repaint shows.
TEST_F(Repaint, EachSurfacePaintsOncePerChangeAndShowsItAll) {
    struct Row {
        const char* name;
        std::function<void()> change;
        int upper, lower, buttons;
    };
    const auto item = [this](int i) { return bar->ActiveGroup()->Buttons()->Item(i); };
    const auto mouse = [](bool down) {
        plat::InjectMouseButton(plat::VK_LBUTTON, down);
        plat::PumpMessages();
    };
    const std::vector<Row> rows = {
        {"hover", [&] { HoverOver(item(1)); }, 0, 0, 1},
        {"hover step", [&] { HoverOver(item(2)); }, 0, 0, 1},
        {"press", [&] { mouse(true); }, 0, 0, 1},
        {"release", [&] { mouse(false); }, 0, 0, 1},
        {"add a group", [this] { bar->Groups()->Add("Third"); }, 1, 1, 1},
        {"add a button", [&] { bar->ActiveGroup()->Buttons()->Add("B7", IconPicture()); }, 0, 0, 1},
        // Both strips change size, and so does the button area.
        {"switch", [this] { bar->SetActiveGroup(second); }, 1, 1, 1},
    };
    MakeTwoGroups();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CountPaints();
        row.change();
        plat::PumpMessages();
        EXPECT_EQ(paints.upper, row.upper);
        EXPECT_EQ(paints.lower, row.lower);
        EXPECT_EQ(paints.buttons, row.buttons);
        EXPECT_EQ(paints.caption, 0);
        const auto shown = ScreenPixels(bar->hwnd());
        bar->Refresh();
        plat::PumpMessages();
        EXPECT_EQ(ScreenPixels(bar->hwnd()), shown);
    }
}

// Two bars side by side take the same calls, one painting at every request; after each call,
// before any message is handled, both show the same pixels. (Switching from a group back to
// one above it is left out: painting at each request paints the lower strip while the button
// area still covers part of it, and that part keeps the button area's old pixels.)
TEST_F(Repaint, GatheredPaintsShowWhatImmediatePaintsShowed) {
    DefaultSite siteA(true), siteB(true);
    auto a = ZoButtonBar::Create(siteA, 0, 10, 10, 200, 300);
    auto b = ZoButtonBar::Create(siteB, 0, 300, 10, 200, 300);
    b->m_bGatherRepaints = false;
    const std::vector<std::pair<const char*, std::function<void(ZoButtonBar&)>>> steps = {
        {"init", [](ZoButtonBar& x) { x.InitProperties(); }},
        {"groups",
         [](ZoButtonBar& x) {
             for (int g = 2; g <= 5; ++g)
                 x.Groups()->Add("Group " + std::to_string(g));
         }},
        {"switch", [](ZoButtonBar& x) { x.SetActiveGroup(x.Groups()->Item(4)); }},
        {"buttons",
         [](ZoButtonBar& x) {
             for (int i = 1; i <= 9; ++i)
                 x.ActiveGroup()->Buttons()->Add("Item " + std::to_string(i), IconPicture());
         }},
        {"remove a button", [](ZoButtonBar& x) { x.ActiveGroup()->Buttons()->Remove(3); }},
        {"remove a group", [](ZoButtonBar& x) { x.Groups()->Remove(2); }},
        {"hide a group", [](ZoButtonBar& x) { x.Groups()->Item(2)->SetVisible(false); }},
        {"caption bar", [](ZoButtonBar& x) { x.SetShowCaptionBar(true); }},
        {"group flow", [](ZoButtonBar& x) { x.SetGroupFlow(zoHorizontal); }},
        {"group colour", [](ZoButtonBar& x) { x.SetGroupBackColor(0x80C080); }},
        {"resize",
         [](ZoButtonBar& x) {
             plat::RECT r;
             plat::GetWindowRect(x.hwnd(), &r);
             x.Form().MovePx(r.left, r.top, 180, 280);
         }},
        {"remove the active group", [](ZoButtonBar& x) { x.Groups()->Remove(1); }},
    };
    for (const auto& [name, step] : steps) {
        step(*a);
        step(*b);
        ASSERT_EQ(ScreenPixels(a->hwnd()), ScreenPixels(b->hwnd())) << name;
        plat::PumpMessages();
        ASSERT_EQ(ScreenPixels(a->hwnd()), ScreenPixels(b->hwnd())) << name << ", then painted";
    }
}

// With more headers than the control shows, a strip finds the ones to draw from their places:
// it must draw exactly what walking every header draws, whichever strip is cut off, both ways.
TEST_F(Repaint, StripsFindTheHeadersTheyShowByPlace) {
    MakeBar(true, 200, 300);
    for (int g = 2; g <= 40; ++g)
        bar->Groups()->Add("Group " + std::to_string(g));
    for (const std::int32_t flow : {zoVertical, zoHorizontal}) {
        bar->SetGroupFlow(flow);
        for (const int active : {1, 12, 40}) {
            bar->SetActiveGroup(bar->Groups()->Item(active));
            plat::PumpMessages();
            const auto byPlace = ScreenPixels(bar->hwnd());
            bar->m_upperHeaderLayout.valid = bar->m_lowerHeaderLayout.valid = false;
            bar->Refresh();
            plat::PumpMessages();
            EXPECT_EQ(ScreenPixels(bar->hwnd()), byPlace)
                << "flow " << flow << ", active " << active;
        }
    }
}

// Painting borrows device contexts, tiles and pens; every one goes back, with or without the
// gradient tile, the hot button's frame and the strips' header captions.
TEST_F(Repaint, PaintingLeavesNoDeviceContextOrObjectBehind) {
    MakeTwoGroups();
    for (const std::int32_t gradient : {zoGradientNone, zoGradientVertical}) {
        bar->SetButtonGradientType(gradient);
        HoverOver(bar->ActiveGroup()->Buttons()->Item(2));
        plat::PumpMessages();
        const std::size_t dcs = plat::DeviceContexts().LiveCount();
        const std::size_t objects = plat::GdiObjects().LiveCount();
        for (int i = 0; i < 3; ++i) {
            bar->Refresh();
            plat::PumpMessages();
        }
        EXPECT_EQ(plat::DeviceContexts().LiveCount(), dcs) << gradient;
        EXPECT_EQ(plat::GdiObjects().LiveCount(), objects) << gradient;
    }
}

}  // namespace
}  // namespace zo
