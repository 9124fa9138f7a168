// The control driven as a user drives it: real pointer moves, presses and keys on the
// off-screen display, checked through the events the host receives and the state they leave.
#include <algorithm>
#include <string>

#include "control/ControlFixture.h"
#include "input/CToolTip.h"

namespace zo {
namespace {

using testing::ControlTest;
using testing::IconPicture;
using testing::Log;

// Also records the mouse events, as "Move 3 Inbox" (hit type and the hit item's caption).
class MouseEvents : public testing::RecordingEvents {
public:
    std::function<void(ObjectPtr&)> onMove;

    void MouseDown(std::int16_t b, std::int16_t, float, float, zoHitType hit,
                   ObjectPtr& item) override {
        Mouse("Down" + std::to_string(b), hit, item);
    }
    void MouseUp(std::int16_t b, std::int16_t, float, float, zoHitType hit,
                 ObjectPtr& item) override {
        Mouse("Up" + std::to_string(b), hit, item);
    }
    void MouseMove(std::int16_t, std::int16_t, float x, float y, zoHitType hit,
                   ObjectPtr& item) override {
        lastX = x;
        lastY = y;
        Mouse("Move", hit, item);
        if (onMove) onMove(item);
    }
    float lastX = 0, lastY = 0;

private:
    void Mouse(const std::string& what, zoHitType hit, const ObjectPtr& item) {
        std::string name = "-";
        if (auto b = std::dynamic_pointer_cast<CButton>(item)) name = b->Caption();
        if (auto g = std::dynamic_pointer_cast<CGroup>(item)) name = g->Caption();
        log.push_back(what + " " + std::to_string(static_cast<int>(hit)) + " " + name);
    }
};

class Input : public ControlTest {
protected:
    // Three groups; the first, active, with `buttons` buttons named B1, B2, ...
    void Build(int buttons = 3, bool runTime = true, int height = 400) {
        MakeBar(runTime, 200, height);
        bar->Advise(&mouse);
        auto g = bar->ActiveGroup();
        for (int i = 1; i <= buttons; ++i)
            g->Buttons()->Add("B" + std::to_string(i), IconPicture(), "Tip " + std::to_string(i));
        bar->Groups()->Add("Second", "Second tip");
        bar->Groups()->Add("Third", "Third tip");
        plat::PumpMessages();
        mouse.Take();
    }

    ButtonPtr Btn(int i) { return bar->ActiveGroup()->Buttons()->Item(i); }

    plat::POINT ScreenOf(plat::HWND w, int x, int y) {
        plat::POINT p{x, y};
        plat::ClientToScreen(w, &p);
        return p;
    }
    plat::POINT Centre(const Rect& r, plat::HWND w) {
        return ScreenOf(w, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    void MoveTo(plat::POINT p) {
        plat::InjectMouseMove(p.x, p.y);
        plat::PumpMessages();
    }
    void ClickAt(plat::POINT p, int vk = plat::VK_LBUTTON) {
        plat::InjectClick(p.x, p.y, vk);
        plat::PumpMessages();
    }
    // Press and release where the pointer already is.
    void ClickHere(int vk = plat::VK_LBUTTON) {
        plat::InjectMouseButton(vk, true);
        plat::InjectMouseButton(vk, false);
        plat::PumpMessages();
    }
    void Key(int vk) {
        plat::InjectKey(static_cast<plat::UINT>(vk), true);
        plat::InjectKey(static_cast<plat::UINT>(vk), false);
        plat::PumpMessages();
    }
    ButtonPtr Hot() { return bar->m_aHighlightedButton.lock(); }

    MouseEvents mouse;
};

TEST_F(Input, HoverMakesOneButtonHotAndEmptySpaceKeepsIt) {
    Build();
    MoveTo(Centre(Btn(1)->ButtonRect(), bar->m_hWndButtons));
    EXPECT_EQ(mouse.Take(), (Log{"ButtonHighlightChanged B1 on", "Move 3 B1"}));
    EXPECT_EQ(Hot(), Btn(1));
    // The same button again: no new highlight.
    const Rect& r1 = Btn(1)->ButtonRect();
    MoveTo(ScreenOf(bar->m_hWndButtons, r1.left + 3, r1.top + 3));
    EXPECT_EQ(mouse.Take(), (Log{"Move 3 B1"}));
    // Empty space below the last button: the hot button stays and is the hit item.
    const Rect& r3 = Btn(3)->ButtonRect();
    MoveTo(ScreenOf(bar->m_hWndButtons, 5, r3.bottom + 20));
    EXPECT_EQ(mouse.Take(), (Log{"Move 6 B1"}));
    MoveTo(Centre(Btn(2)->ButtonRect(), bar->m_hWndButtons));
    EXPECT_EQ(mouse.Take(),
              (Log{"ButtonHighlightChanged B1 off", "ButtonHighlightChanged B2 on", "Move 3 B2"}));
}

TEST_F(Input, ButtonEdgesBelongToNoButton) {
    Build();
    const Rect& r2 = Btn(2)->ButtonRect();
    // The top edge of B2: not B2, and not B1 above, whose bottom edge is excluded as well.
    MoveTo(ScreenOf(bar->m_hWndButtons, (r2.left + r2.right) / 2, r2.top));
    EXPECT_EQ(mouse.Take(), (Log{"Move 6 -"}));
    EXPECT_EQ(Hot(), nullptr);
}

TEST_F(Input, EventCoordinatesAreTheSurfacePositionPlusTheSurfacePoint) {
    Build();
    const Rect& r = Btn(1)->ButtonRect();
    MoveTo(ScreenOf(bar->m_hWndButtons, r.left + 10, r.top + 7));
    EXPECT_FLOAT_EQ(mouse.lastX,
                    static_cast<float>(bar->m_PicButtons().Left() + (r.left + 10) * 15));
    EXPECT_FLOAT_EQ(mouse.lastY, static_cast<float>(bar->m_PicButtons().Top() + (r.top + 7) * 15));
}

TEST_F(Input, TheHostCanTakeTheHighlightAwayInMouseMove) {
    Build();
    mouse.onMove = [](ObjectPtr& item) { item.reset(); };
    MoveTo(Centre(Btn(1)->ButtonRect(), bar->m_hWndButtons));
    EXPECT_EQ(Hot(), nullptr);
}

TEST_F(Input, AClickSelectsOnceAndPressAndReleaseSelectNothing) {
    Build();
    const plat::POINT p2 = Centre(Btn(2)->ButtonRect(), bar->m_hWndButtons);
    MoveTo(p2);
    mouse.Take();
    plat::InjectMouseButton(plat::VK_LBUTTON, true);
    plat::PumpMessages();
    EXPECT_EQ(bar->SelectedButton(), nullptr);
    plat::InjectMouseButton(plat::VK_LBUTTON, false);
    plat::PumpMessages();
    EXPECT_EQ(mouse.Take(), (Log{"Down1 3 B2", "Up1 3 B2", "ButtonSelectionChanged"}));
    EXPECT_EQ(bar->SelectedButton(), Btn(2));
    ClickHere();  // already selected
    EXPECT_EQ(mouse.Take(), (Log{"Down1 3 B2", "Up1 3 B2"}));
    // Press on B2, release on B3: the click is judged where it is reported.
    plat::InjectMouseButton(plat::VK_LBUTTON, true);
    plat::PumpMessages();
    MoveTo(Centre(Btn(3)->ButtonRect(), bar->m_hWndButtons));
    plat::InjectMouseButton(plat::VK_LBUTTON, false);
    plat::PumpMessages();
    EXPECT_EQ(bar->SelectedButton(), Btn(3));
}

TEST_F(Input, ScrollButtonsScrollOneLinePerClickAndStopAtTheEnds) {
    Build(12, true, 260);
    ASSERT_GT(bar->m_lMaxScrollPos, 0);
    ASSERT_FALSE(bar->m_rcBRScrollButton == Rect{});
    const plat::POINT br = Centre(bar->m_rcBRScrollButton, bar->m_hWndButtons);
    // The top/left scroll button is not there yet, so pressing where it would be hits B1.
    MoveTo(br);
    EXPECT_EQ(mouse.Take(), (Log{"Move 5 -"}));
    const Rect before = Btn(1)->ButtonRect();
    ClickAt(br);
    EXPECT_EQ(bar->m_lScrollPos, 1);
    EXPECT_EQ(Btn(1)->ButtonRect().top, before.top - (before.bottom - before.top));
    EXPECT_EQ(bar->SelectedButton(), nullptr);
    for (int i = 0; i < 40; ++i)
        ClickAt(br);
    EXPECT_EQ(bar->m_lScrollPos, bar->m_lMaxScrollPos);
    mouse.Take();
    // Back at the top, a press on the top scroll button reports an unknown hit.
    const plat::POINT tl = Centre(bar->m_rcTLScrollButton, bar->m_hWndButtons);
    while (bar->m_lScrollPos > 0)
        ClickAt(tl);
    mouse.Take();
    plat::InjectMouseButton(plat::VK_LBUTTON, true);
    plat::PumpMessages();
    plat::InjectMouseButton(plat::VK_LBUTTON, false);
    plat::PumpMessages();
    const Log log = mouse.Take();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), (bar->m_rcTLScrollButton == Rect{}) ? "Down1 3 B1" : "Down1 6 -");
}

TEST_F(Input, WithTheFocusLeavingTheAreaDropsTheHighlight) {
    Build();
    bar->m_PicButtons().SetFocus();
    plat::PumpMessages();
    ASSERT_TRUE(bar->m_bHasFocus);
    MoveTo(Centre(Btn(1)->ButtonRect(), bar->m_hWndButtons));
    EXPECT_EQ(plat::GetCapture(), bar->m_hWndButtons);
    mouse.Take();
    MoveTo(plat::POINT{700, 500});  // far outside the control
    EXPECT_EQ(mouse.Take(), (Log{"ButtonHighlightChanged B1 off", "Move 6 -"}));
    EXPECT_EQ(plat::GetCapture(), 0u);
}

TEST_F(Input, AKeyAfterTheGridShrankStaysInsideIt) {
    Build(6);
    bar->m_PicButtons().SetFocus();
    plat::PumpMessages();
    MoveTo(Centre(Btn(6)->ButtonRect(), bar->m_hWndButtons));
    bar->ActiveGroup()->Buttons()->Clear();
    bar->ActiveGroup()->Buttons()->Add("Only", IconPicture());
    plat::PumpMessages();
    for (int vk : {plat::VK_LEFT, plat::VK_UP, plat::VK_SHIFT, plat::VK_DOWN, plat::VK_RIGHT})
        Key(vk);
    EXPECT_EQ(Hot(), bar->ActiveGroup()->Buttons()->Item(1));
}

TEST_F(Input, HeadersActivateOnClickAndReportTheirGroup) {
    Build();
    auto second = bar->Groups()->Item(2);
    const Rect h = second->HeaderRect();
    const plat::POINT p = Centre(h, bar->m_hWndLowerGroups);
    MoveTo(p);
    EXPECT_EQ(mouse.Take(), (Log{"Move 2 Second"}));
    EXPECT_EQ(bar->m_aFocusGroup.lock(), second);
    EXPECT_EQ(bar->m_aToolTip->Text(bar->m_hWndLowerGroups), "Second tip");
    ClickAt(p);
    EXPECT_EQ(bar->ActiveGroup(), second);
    const Log log = mouse.Take();
    EXPECT_NE(std::find(log.begin(), log.end(), "Down1 2 Second"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "ActiveGroupChanged"), log.end());
}

// A flat header draws neither fill nor frame, so only the strip's own background can take its
// mark away again: it must look as before the hover once the pointer has gone.
TEST_F(Input, AFlatHeaderLosesItsMarkAsSoonAsThePointerLeaves) {
    struct Row {
        const char* name;
        bool focused;
        bool toOtherStrip;  // else out of the control
    };
    const Row rows[] = {{"to the other strip", false, true},
                        {"to the other strip, focused", true, true},
                        {"out of the strip, focused", true, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Build();
        bar->SetGroupAppearance(zoFlat);
        bar->SetActiveGroup(bar->Groups()->Item(2));  // upper: General, Second; lower: Third
        if (row.focused) bar->m_PicUpperGroups().SetFocus();
        plat::PumpMessages();
        const Rect h = bar->Groups()->Item(1)->HeaderRect();
        const plat::POINT tl = ScreenOf(bar->m_hWndUpperGroups, h.left, h.top);
        const plat::RECT onScreen{tl.x, tl.y, tl.x + h.right - h.left, tl.y + h.bottom - h.top};
        const auto before = plat::ReadScreenPixels(onScreen);
        MoveTo(Centre(h, bar->m_hWndUpperGroups));
        ASSERT_FALSE(plat::ReadScreenPixels(onScreen) == before) << "no mark drawn";
        MoveTo(row.toOtherStrip
                   ? Centre(bar->Groups()->Item(3)->HeaderRect(), bar->m_hWndLowerGroups)
                   : plat::POINT{700, 500});
        EXPECT_TRUE(plat::ReadScreenPixels(onScreen) == before) << "the mark stayed";
        TearDown();
        SetUp();
    }
}

TEST_F(Input, EmptyStripSpaceAndHeaderBordersDoNothing) {
    Build();
    auto third = bar->Groups()->Item(3);
    const Rect h = third->HeaderRect();
    // Below the last header of the lower strip there is nothing; on the border neither.
    const int stripHeight = bar->m_PicLowerGroups().ClientHeightPx();
    if (h.bottom + 1 < stripHeight) {
        MoveTo(ScreenOf(bar->m_hWndLowerGroups, 5, h.bottom + 1));
        EXPECT_EQ(mouse.Take(), Log{});
    }
    ClickAt(ScreenOf(bar->m_hWndLowerGroups, (h.left + h.right) / 2, h.top));
    EXPECT_EQ(bar->ActiveGroup(), bar->Groups()->Item(1));
}

TEST_F(Input, CloseButtonNeedsPressAndReleaseOnIt) {
    Build();
    bar->SetShowCaptionBar(true);
    bar->SetCaption("Bar");
    plat::PumpMessages();
    const plat::HWND cap = bar->m_picCaptionBar().hWnd();
    const plat::POINT on = Centre(bar->m_rcCloseButton, cap);
    MoveTo(on);
    mouse.Take();
    ClickHere();
    EXPECT_EQ(mouse.Take(), (Log{"Down1 1 -", "CloseButtonClick", "Up1 1 -"}));
    // Off the button before the release: no click, and the release reports the caption.
    plat::InjectMouseButton(plat::VK_LBUTTON, true);
    plat::PumpMessages();
    MoveTo(ScreenOf(cap, 3, 3));
    plat::InjectMouseButton(plat::VK_LBUTTON, false);
    plat::PumpMessages();
    EXPECT_EQ(mouse.Take(), (Log{"Down1 1 -", "Move 0 -", "Up1 0 -"}));
    // The right button closes too.
    MoveTo(on);
    mouse.Take();
    ClickHere(plat::VK_RBUTTON);
    EXPECT_EQ(mouse.Take(), (Log{"Down2 1 -", "CloseButtonClick", "Up2 1 -"}));
    bar->SetShowCloseButton(false);
    plat::PumpMessages();
    ClickHere();
    EXPECT_EQ(mouse.Take(), (Log{"Down1 0 -", "Up1 0 -"}));
}

TEST_F(Input, TheTooltipShowsTheHotButtonsTextAfterTheDelay) {
    Build();
    const plat::HWND tip = bar->m_aToolTip->hWnd();
    ASSERT_TRUE(plat::IsWindow(tip));
    // Tips show only in the active window: not while the host has not activated the bar.
    MoveTo(Centre(Btn(3)->ButtonRect(), bar->m_hWndButtons));
    plat::AdvanceClock(plat::GetDoubleClickTime() + 10);
    plat::PumpMessages();
    EXPECT_FALSE(plat::IsWindowVisible(tip));
    plat::SetActiveWindow(bar->hwnd());
    plat::PumpMessages();
    MoveTo(Centre(Btn(1)->ButtonRect(), bar->m_hWndButtons));
    EXPECT_EQ(bar->m_aToolTip->Text(bar->m_hWndButtons), "Tip 1");
    EXPECT_FALSE(plat::IsWindowVisible(tip));
    plat::AdvanceClock(plat::GetDoubleClickTime() + 10);
    plat::PumpMessages();
    EXPECT_TRUE(plat::IsWindowVisible(tip));
    // Onto the next button: the same tool, now standing for B2.
    MoveTo(Centre(Btn(2)->ButtonRect(), bar->m_hWndButtons));
    EXPECT_EQ(bar->m_aToolTip->Text(bar->m_hWndButtons), "Tip 2");
    // Off the control: the leave check takes the tip away.
    MoveTo(plat::POINT{700, 500});
    plat::AdvanceClock(200);
    plat::PumpMessages();
    EXPECT_FALSE(plat::IsWindowVisible(tip));
}

TEST_F(Input, DesignTimeHasNoTooltipAndHoverStillWorks) {
    Build(3, false);
    EXPECT_EQ(bar->m_aToolTip, nullptr);
    MoveTo(Centre(Btn(1)->ButtonRect(), bar->m_hWndButtons));
    plat::AdvanceClock(1000);
    plat::PumpMessages();
    ClickAt(Centre(Btn(1)->ButtonRect(), bar->m_hWndButtons));
    // Hover and click work without a tooltip to point at the hot button.
    EXPECT_EQ(Hot(), Btn(1));
    EXPECT_EQ(bar->SelectedButton(), Btn(1));
    EXPECT_EQ(bar->m_aToolTip, nullptr);
}

}  // namespace
}  // namespace zo
