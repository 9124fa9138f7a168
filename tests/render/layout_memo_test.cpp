// Placing an appended button alone must leave exactly the state a complete layout leaves:
// every button's cell, the grid, the sizes and the scrolling, whatever came before the add.
#include <random>
#include <string>

#include "control/ControlFixture.h"

namespace zo {
namespace {

using testing::ControlTest;

using LayoutMemoTest = ControlTest;

TEST_F(LayoutMemoTest, AppendedButtonsLandWhereACompleteLayoutPutsThem) {
    for (int seed = 1; seed <= 6; ++seed) {
        std::mt19937 rng(static_cast<unsigned>(seed));
        MakeBar(seed % 2 == 0, 220 + seed * 13, 300);
        bar->SetButtonLayout(seed % 3 == 0 ? zoLinear : zoTiled);
        bar->SetButtonFlow(seed % 4 == 1 ? zoHorizontal : zoVertical);
        auto g = bar->ActiveGroup();
        for (int i = 0; i < 70; ++i) {
            const unsigned r = rng() % 100;
            std::string step = "seed " + std::to_string(seed) + " step " + std::to_string(i);
            if (r < 60) {
                // Mostly plain appends; now and then a bigger picture or a long caption.
                const int px = rng() % 10 == 0 ? 40 : 32;
                const std::string caption = rng() % 12 == 0 ? "A caption much too long for one line"
                                                            : "B" + std::to_string(i);
                auto b = g->Buttons()->Add(caption, testing::IconPicture(px));
                step += " add";
                if (rng() % 8 == 0) {
                    // Hiding lays nothing out by itself; the next layout of any kind is whole.
                    ExpectCompleteLayout(step);
                    b->SetVisible(false);
                    bar->LayoutButtons();
                    step += " hidden";
                }
            } else if (r < 70 && bar->m_lMaxScrollPos > bar->m_lScrollPos) {
                // A scroll click moves the cells without a layout.
                const plat::POINT p =
                    testing::CentreOnScreen(bar->m_hWndButtons, bar->m_rcBRScrollButton);
                plat::InjectClick(p.x, p.y, plat::VK_LBUTTON);
                plat::PumpMessages();
                step += " scroll";
            } else if (r < 78 && g->Buttons()->Count() > 1) {
                g->Buttons()->Remove(1 + static_cast<int>(rng() % g->Buttons()->Count()));
                step += " remove";
            } else if (r < 84 && g->Buttons()->Count() > 1) {
                g->Buttons()->Item(1)->SetCaption("Renamed with a rather long caption");
                step += " caption";
            } else if (r < 90) {
                bar->SetButtonSize(bar->ButtonSize() == zoAutoCalculated ? zoUserSpecified
                                                                         : zoAutoCalculated);
                step += " size";
            } else {
                bar->SetShowButtonInfo(bar->ShowButtonInfo() == zoPictureAndCaption
                                           ? zoPictureOnly
                                           : zoPictureAndCaption);
                step += " info";
            }
            ExpectCompleteLayout(step);
        }
        bar.reset();
    }
}

TEST_F(LayoutMemoTest, AnotherGroupOrAMovedButtonIsNeverTakenForAnAppend) {
    MakeBar();
    auto first = bar->ActiveGroup();
    for (int i = 0; i < 5; ++i)
        first->Buttons()->Add("F" + std::to_string(i), testing::IconPicture());
    auto second = bar->Groups()->Add("Second");
    for (int i = 0; i < 6; ++i)
        second->Buttons()->Add("S" + std::to_string(i), testing::IconPicture());
    bar->SetActiveGroup(second);
    second->Buttons()->Add("S6", testing::IconPicture());
    ExpectCompleteLayout("add after switching groups");
    // A move reorders without a count change; an add after it must not reuse the old order.
    second->Buttons()->SetNewIndex(second->Buttons()->Item(1), 6);
    second->Buttons()->Add("S7", testing::IconPicture());
    ExpectCompleteLayout("add after a move");
}

}  // namespace
}  // namespace zo
