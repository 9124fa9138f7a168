// Keyboard navigation as a user presses keys: the hot button walking the grid with its wraps
// and skips, scrolling into view, Enter, and the focus mark moving over the group headers.
#include <algorithm>
#include <string>

#include "control/ControlFixture.h"

namespace zo {
namespace {

using testing::ControlTest;
using testing::IconPicture;
using testing::Log;

class Keys : public ControlTest {
protected:
    // The active group gets `buttons` buttons B1..Bn; the area gets the focus.
    void Build(int buttons, std::int32_t layout = zoLinear, std::int32_t flow = zoVertical,
               int height = 400) {
        MakeBar(true, 200, height);
        bar->SetButtonLayout(layout);
        bar->SetButtonFlow(flow);
        auto g = bar->ActiveGroup();
        for (int i = 1; i <= buttons; ++i)
            g->Buttons()->Add("B" + std::to_string(i), IconPicture());
        bar->m_PicButtons().SetFocus();
        plat::PumpMessages();
        events.Take();
    }
    void Press(int vk) {
        plat::InjectKey(static_cast<plat::UINT>(vk), true);
        plat::InjectKey(static_cast<plat::UINT>(vk), false);
        plat::PumpMessages();
    }
    std::string Hot() {
        const ButtonPtr b = bar->m_aHighlightedButton.lock();
        return b ? b->Caption() : "-";
    }
};

TEST_F(Keys, OneButtonStaysHotAndIsAnnouncedAgainOnEveryArrow) {
    Build(1);
    for (int vk : {plat::VK_LEFT, plat::VK_RIGHT, plat::VK_UP, plat::VK_DOWN}) {
        Press(vk);
        EXPECT_EQ(Hot(), "B1");
    }
    const Log log = events.Take();
    // The first arrow only turns B1 on; each later one turns it off and on again.
    EXPECT_EQ(log.front(), "ButtonHighlightChanged B1 on");
    EXPECT_EQ(std::count(log.begin(), log.end(), "ButtonHighlightChanged B1 off"), 3);
}

TEST_F(Keys, TiledGridWrapsLineByLineAndSkipsEmptyCells) {
    // 200 px wide, 68 px tiles: 2 per line; 5 buttons leave the last line half empty.
    Build(5, zoTiled);
    ASSERT_EQ(bar->m_lButtonsPerLine, 2);
    Press(plat::VK_RIGHT);  // from the first cell to the second
    EXPECT_EQ(Hot(), "B2");
    for (int i = 0; i < 3; ++i)
        Press(plat::VK_RIGHT);
    EXPECT_EQ(Hot(), "B5");
    Press(plat::VK_RIGHT);  // past the last button: back to the first cell
    EXPECT_EQ(Hot(), "B1");
    Press(plat::VK_LEFT);  // and back again, over the empty cell
    EXPECT_EQ(Hot(), "B5");
    // Down from B2 (line 0, position 1): B4, then the empty cell below it is skipped and the
    // walk goes on at the first line of the next position, which wraps to B1.
    Press(plat::VK_UP);
    Press(plat::VK_UP);
    EXPECT_EQ(Hot(), "B1");
    Press(plat::VK_RIGHT);
    ASSERT_EQ(Hot(), "B2");
    Press(plat::VK_DOWN);
    EXPECT_EQ(Hot(), "B4");
    Press(plat::VK_DOWN);
    EXPECT_EQ(Hot(), "B1");
}

TEST_F(Keys, HorizontalFlowTurnsTheArrows) {
    Build(3, zoLinear, zoHorizontal);
    Press(plat::VK_RIGHT);
    EXPECT_EQ(Hot(), "B2");  // the next line, which is the next column on screen
    Press(plat::VK_UP);      // handled as Left: the same line, previous position
    EXPECT_EQ(Hot(), "B1");
}

TEST_F(Keys, EnterSelectsTheHotButtonOnlyOnce) {
    Build(3);
    Press(plat::VK_RETURN);  // nothing hot yet
    EXPECT_EQ(bar->SelectedButton(), nullptr);
    Press(plat::VK_DOWN);
    Press(plat::VK_DOWN);
    Press(plat::VK_UP);  // the keyboard's hot button, as the mouse's, is what Enter takes
    events.Take();
    Press(plat::VK_RETURN);
    EXPECT_EQ(bar->SelectedButton()->Caption(), "B2");
    Press(plat::VK_RETURN);
    EXPECT_EQ(events.Take(), Log{"ButtonSelectionChanged"});
}

TEST_F(Keys, TheHotButtonIsScrolledIntoView) {
    Build(12, zoLinear, zoVertical, 260);
    ASSERT_GT(bar->m_lMaxScrollPos, 0);
    for (int i = 0; i < 9; ++i)
        Press(plat::VK_DOWN);
    ASSERT_EQ(Hot(), "B10");
    const Rect r = bar->ActiveGroup()->Buttons()->Item(10)->ButtonRect();
    EXPECT_GT(bar->m_lScrollPos, 0);
    EXPECT_LE(r.bottom, bar->m_PicButtons().ClientHeightPx());
    EXPECT_GE(r.top, 0);
    // Up over the first button wraps to the last, which is then scrolled into view too.
    for (int i = 0; i < 10; ++i)
        Press(plat::VK_UP);
    EXPECT_EQ(Hot(), "B12");
    EXPECT_LE(bar->ActiveGroup()->Buttons()->Item(12)->ButtonRect().bottom,
              bar->m_PicButtons().ClientHeightPx());
}

TEST_F(Keys, StripArrowsMoveTheMarkOverVisibleGroupsAndEnterActivates) {
    Build(1);
    bar->Groups()->Add("G2");
    auto hidden = bar->Groups()->Add("G3");
    hidden->SetVisible(false);
    bar->Groups()->Add("G4");
    plat::PumpMessages();
    bar->m_PicUpperGroups().SetFocus();
    plat::PumpMessages();
    const auto Mark = [&] {
        const GroupPtr g = bar->m_aFocusGroup.lock();
        return g ? g->Caption() : std::string("-");
    };
    Press(plat::VK_DOWN);  // the first key starts from group 1
    EXPECT_EQ(Mark(), "G2");
    EXPECT_EQ(plat::GetFocus(), bar->m_PicLowerGroups().hWnd());  // G2 is shown below
    Press(plat::VK_RIGHT);                                        // G3 is hidden: skipped
    EXPECT_EQ(Mark(), "G4");
    Press(plat::VK_RIGHT);  // wraps to the first group
    EXPECT_EQ(Mark(), "General");
    Press('A');  // any other key goes backward
    EXPECT_EQ(Mark(), "G4");
    Press(plat::VK_RETURN);
    EXPECT_EQ(bar->ActiveGroup()->Caption(), "G4");
}

}  // namespace
}  // namespace zo
