// The control driven as a user drives it: real pointer moves, presses and keys on the
// off-screen display, checked through the events the host receives and the state they leave.
#include <algorithm>
#include <string>
#include <utility>

#include "control/ControlFixture.h"
#include "input/CToolTip.h"

namespace zo {
namespace {

using testing::ControlTest;
using testing::IconPicture;
using testing::Log;
using testing::OnScreen;
using I16 = std::int16_t;

// Also records the mouse events, as "Move 3 Inbox" (hit type and the hit item's caption).
class MouseEvents : public testing::RecordingEvents {
public:
    std::function<void(ObjectPtr&)> onMove;
    float lastX = 0, lastY = 0;

    void MouseDown(I16 b, I16, float, float, zoHitType hit, ObjectPtr& item) override {
        Mouse("Down" + std::to_string(b), hit, item);
    }
    void MouseUp(I16 b, I16, float, float, zoHitType hit, ObjectPtr& item) override {
        Mouse("Up" + std::to_string(b), hit, item);
    }
    void MouseMove(I16, I16, float x, float y, zoHitType hit, ObjectPtr& item) override {
        lastX = x;
        lastY = y;
        Mouse("Move", hit, item);
        if (onMove) onMove(item);
    }

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
    // Three groups; the first, active, with `buttons` buttons B1, B2, ... ("Tip 1", ...).
    void Build(int buttons = 3, bool runTime = true, int height = 400) {
        MakeBar(runTime, 200, height);
        bar->Advise(&mouse);
        for (int i = 1; i <= buttons; ++i)
            bar->ActiveGroup()->Buttons()->Add("B" + std::to_string(i), IconPicture(),
                                               "Tip " + std::to_string(i));
        bar->Groups()->Add("Second", "Second tip");
        bar->Groups()->Add("Third", "Third tip");
        Pump();
    }
    // For the keyboard: one group with `buttons` buttons B1..Bn; the button area has the focus.
    void BuildKeys(int buttons, std::int32_t layout = zoLinear, std::int32_t flow = zoVertical,
                   int height = 400) {
        MakeBar(true, 200, height);
        bar->SetButtonLayout(layout);
        bar->SetButtonFlow(flow);
        for (int i = 1; i <= buttons; ++i)
            bar->ActiveGroup()->Buttons()->Add("B" + std::to_string(i), IconPicture());
        bar->m_PicButtons().SetFocus();
        plat::PumpMessages();
        events.Take();
    }

    ButtonPtr Btn(int i) { return bar->ActiveGroup()->Buttons()->Item(i); }
    plat::POINT Centre(const Rect& r, plat::HWND w = 0) {
        return testing::CentreOnScreen(w ? w : bar->m_hWndButtons, r);
    }
    plat::POINT InButtons(int x, int y) { return OnScreen(bar->m_hWndButtons, x, y); }
    // The pointer actions pump the messages and return the events the sink `mouse` got.
    Log Pump() {
        plat::PumpMessages();
        return mouse.Take();
    }
    Log MoveTo(plat::POINT p) {
        plat::InjectMouseMove(p.x, p.y);
        return Pump();
    }
    Log ClickAt(plat::POINT p, int vk = plat::VK_LBUTTON) {
        plat::InjectClick(p.x, p.y, vk);
        return Pump();
    }
    Log Press(bool down, int vk = plat::VK_LBUTTON) {  // where the pointer already is
        plat::InjectMouseButton(vk, down);
        return Pump();
    }
    Log ClickHere(int vk = plat::VK_LBUTTON) {
        plat::InjectMouseButton(vk, true);
        plat::InjectMouseButton(vk, false);
        return Pump();
    }
    void Key(int vk) {
        plat::InjectKey(static_cast<plat::UINT>(vk), true);
        plat::InjectKey(static_cast<plat::UINT>(vk), false);
        plat::PumpMessages();
    }
    // Presses each key and checks what `now` says after it.
    template <class F>
    void Walk(F now, std::initializer_list<std::pair<int, const char*>> steps) {
        int step = 0;
        for (const auto& [vk, expected] : steps) {
            Key(vk);
            EXPECT_EQ(now(), expected) << "after key " << ++step;
        }
    }
    std::string Hot() {
        const ButtonPtr b = bar->m_aHighlightedButton.lock();
        return b ? b->Caption() : "-";
    }
    std::string Mark() {
        const GroupPtr g = bar->m_aFocusGroup.lock();
        return g ? g->Caption() : "-";
    }

    MouseEvents mouse;
};

constexpr int kLeft = plat::VK_LEFT, kRight = plat::VK_RIGHT, kUp = plat::VK_UP,
              kDown = plat::VK_DOWN;

TEST_F(Input, HoverMakesOneButtonHotWhileEmptySpaceKeepsItAndEdgesBelongToNone) {
    Build();
    const Rect &r1 = Btn(1)->ButtonRect(), &r2 = Btn(2)->ButtonRect();
    EXPECT_EQ(MoveTo(Centre(r1)), (Log{"ButtonHighlightChanged B1 on", "Move 3 B1"}));
    EXPECT_EQ(Hot(), "B1");
    // The same button again: no new highlight.
    EXPECT_EQ(MoveTo(InButtons(r1.left + 3, r1.top + 3)), (Log{"Move 3 B1"}));
    // Empty space below the last button: the hot button stays and is the hit item.
    EXPECT_EQ(MoveTo(InButtons(5, Btn(3)->ButtonRect().bottom + 20)), (Log{"Move 6 B1"}));
    EXPECT_EQ(MoveTo(Centre(r2)),
              (Log{"ButtonHighlightChanged B1 off", "ButtonHighlightChanged B2 on", "Move 3 B2"}));
    // The host can take the highlight away in MouseMove.
    mouse.onMove = [](ObjectPtr& item) { item.reset(); };
    MoveTo(Centre(r1));
    EXPECT_EQ(Hot(), "-");
    mouse.onMove = nullptr;
    // The top edge of B2: not B2, and not B1 above, whose bottom edge is excluded as well.
    EXPECT_EQ(MoveTo(InButtons((r2.left + r2.right) / 2, r2.top)), (Log{"Move 6 -"}));
    EXPECT_EQ(Hot(), "-");
    // Event coordinates are the surface's position plus the point on it, in twips.
    MoveTo(InButtons(r1.left + 10, r1.top + 7));
    EXPECT_FLOAT_EQ(mouse.lastX,
                    static_cast<float>(bar->m_PicButtons().Left() + (r1.left + 10) * 15));
    EXPECT_FLOAT_EQ(mouse.lastY, static_cast<float>(bar->m_PicButtons().Top() + (r1.top + 7) * 15));
}

TEST_F(Input, AClickSelectsOnceAndPressAndReleaseSelectNothing) {
    Build();
    MoveTo(Centre(Btn(2)->ButtonRect()));
    EXPECT_EQ(Press(true), Log{"Down1 3 B2"});
    EXPECT_EQ(bar->SelectedButton(), nullptr);
    EXPECT_EQ(Press(false), (Log{"Up1 3 B2", "ButtonSelectionChanged"}));
    EXPECT_EQ(bar->SelectedButton(), Btn(2));
    EXPECT_EQ(ClickHere(), (Log{"Down1 3 B2", "Up1 3 B2"}));  // already selected
    // Press on B2, release on B3: the click is judged where it is reported.
    Press(true);
    MoveTo(Centre(Btn(3)->ButtonRect()));
    Press(false);
    EXPECT_EQ(bar->SelectedButton(), Btn(3));
}

TEST_F(Input, ScrollButtonsScrollOneLinePerClickAndStopAtTheEnds) {
    Build(12, true, 260);
    ASSERT_GT(bar->m_lMaxScrollPos, 0);
    ASSERT_FALSE(bar->m_rcBRScrollButton == Rect{});
    const plat::POINT br = Centre(bar->m_rcBRScrollButton);
    // The top/left scroll button is not there yet, so pressing where it would be hits B1.
    EXPECT_EQ(MoveTo(br), (Log{"Move 5 -"}));
    const Rect before = Btn(1)->ButtonRect();
    ClickAt(br);
    EXPECT_EQ(bar->m_lScrollPos, 1);
    EXPECT_EQ(Btn(1)->ButtonRect().top, before.top - (before.bottom - before.top));
    EXPECT_EQ(bar->SelectedButton(), nullptr);
    for (int i = 0; i < 40; ++i)
        ClickAt(br);
    EXPECT_EQ(bar->m_lScrollPos, bar->m_lMaxScrollPos);
    // Back at the top, a press on the top scroll button reports an unknown hit.
    const plat::POINT tl = Centre(bar->m_rcTLScrollButton);
    while (bar->m_lScrollPos > 0)
        ClickAt(tl);
    const Log log = ClickHere();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), (bar->m_rcTLScrollButton == Rect{}) ? "Down1 3 B1" : "Down1 6 -");
}

TEST_F(Input, WithTheFocusLeavingTheAreaDropsTheHighlightAndAKeyStaysInsideAShrunkGrid) {
    Build(6);
    bar->m_PicButtons().SetFocus();
    Pump();
    ASSERT_TRUE(bar->m_bHasFocus);
    MoveTo(Centre(Btn(1)->ButtonRect()));
    EXPECT_EQ(plat::GetCapture(), bar->m_hWndButtons);
    EXPECT_EQ(MoveTo(plat::POINT{700, 500}), (Log{"ButtonHighlightChanged B1 off", "Move 6 -"}));
    EXPECT_EQ(plat::GetCapture(), 0u);
    // Hot B6, then the grid shrinks to one button under it.
    MoveTo(Centre(Btn(6)->ButtonRect()));
    bar->ActiveGroup()->Buttons()->Clear();
    bar->ActiveGroup()->Buttons()->Add("Only", IconPicture());
    plat::PumpMessages();
    for (int vk : {kLeft, kUp, plat::VK_SHIFT, kDown, kRight})
        Key(vk);
    EXPECT_EQ(Hot(), "Only");
}

TEST_F(Input, HeadersActivateOnClickAndReportTheirGroup) {
    Build();
    auto second = bar->Groups()->Item(2);
    const plat::POINT p = Centre(second->HeaderRect(), bar->m_hWndLowerGroups);
    EXPECT_EQ(MoveTo(p), (Log{"Move 2 Second"}));
    EXPECT_EQ(Mark(), "Second");
    EXPECT_EQ(bar->m_aToolTip->Text(bar->m_hWndLowerGroups), "Second tip");
    const Log log = ClickAt(p);
    EXPECT_EQ(bar->ActiveGroup(), second);
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
        const plat::POINT tl = OnScreen(bar->m_hWndUpperGroups, h.left, h.top);
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

// The strips are as tall as their headers, so the only place between two headers is a border.
TEST_F(Input, AClickOnAHeadersTopBorderDoesNothing) {
    Build();
    const Rect h = bar->Groups()->Item(3)->HeaderRect();
    ClickAt(OnScreen(bar->m_hWndLowerGroups, (h.left + h.right) / 2, h.top));
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
    EXPECT_EQ(ClickHere(), (Log{"Down1 1 -", "CloseButtonClick", "Up1 1 -"}));
    // Off the button before the release: no click, and the release reports the caption.
    // The button shows pushed only while the pointer that pressed it is on it.
    EXPECT_EQ(Press(true), (Log{"Down1 1 -"}));
    EXPECT_TRUE(bar->m_bCloseButtonPushed);
    EXPECT_EQ(MoveTo(OnScreen(cap, 3, 3)), (Log{"Move 0 -"}));
    EXPECT_FALSE(bar->m_bCloseButtonPushed);
    EXPECT_EQ(Press(false), (Log{"Up1 0 -"}));
    // Pressed off it and dragged over it: not pushed.
    Press(true);
    MoveTo(on);
    EXPECT_FALSE(bar->m_bCloseButtonPushed);
    Press(false);
    // The right button closes too.
    MoveTo(on);
    EXPECT_EQ(ClickHere(plat::VK_RBUTTON), (Log{"Down2 1 -", "CloseButtonClick", "Up2 1 -"}));
    bar->SetShowCloseButton(false);
    EXPECT_EQ(Pump(), Log{});
    EXPECT_EQ(ClickHere(), (Log{"Down1 0 -", "Up1 0 -"}));
}

TEST_F(Input, TheTooltipShowsTheHotButtonsTextAfterTheDelayAndDesignTimeNeedsNone) {
    Build();
    const plat::HWND tip = bar->m_aToolTip->hWnd();
    ASSERT_TRUE(plat::IsWindow(tip));
    const auto wait = [](unsigned ms) {
        plat::AdvanceClock(ms);
        plat::PumpMessages();
    };
    // Tips show only in the active window: not while the host has not activated the bar.
    MoveTo(Centre(Btn(3)->ButtonRect()));
    wait(plat::GetDoubleClickTime() + 10);
    EXPECT_FALSE(plat::IsWindowVisible(tip));
    plat::SetActiveWindow(bar->hwnd());
    plat::PumpMessages();
    MoveTo(Centre(Btn(1)->ButtonRect()));
    EXPECT_EQ(bar->m_aToolTip->Text(bar->m_hWndButtons), "Tip 1");
    EXPECT_FALSE(plat::IsWindowVisible(tip));
    wait(plat::GetDoubleClickTime() + 10);
    EXPECT_TRUE(plat::IsWindowVisible(tip));
    // Onto the next button: the same tool, now standing for B2.
    MoveTo(Centre(Btn(2)->ButtonRect()));
    EXPECT_EQ(bar->m_aToolTip->Text(bar->m_hWndButtons), "Tip 2");
    // Off the control: the leave check takes the tip away.
    MoveTo(plat::POINT{700, 500});
    wait(200);
    EXPECT_FALSE(plat::IsWindowVisible(tip));
    // At design time there is no tooltip (as the Selection tests check), and hover and click
    // work without one to point at the hot button.
    Build(3, false);
    MoveTo(Centre(Btn(1)->ButtonRect()));
    wait(1000);
    ClickAt(Centre(Btn(1)->ButtonRect()));
    EXPECT_EQ(Hot(), "B1");
    EXPECT_EQ(bar->SelectedButton(), Btn(1));
}

// ---- Keyboard: the hot button walking the grid with its wraps and skips, scrolling into view,
// Enter, and the focus mark moving over the group headers.

// One button stays hot and is announced again on every arrow. A tiled grid 200 px wide holds 2
// 68 px tiles a line; 5 buttons leave the last line half empty: Right wraps past the last button
// to the first cell, Left back over the empty cell; Down from B2 reaches B4, skips the empty
// cell below it and goes on at the first line of the next position, which wraps to B1. In a
// horizontal flow Right goes to the next line (the next column on screen), Up is handled as Left.
TEST_F(Input, ArrowsWalkTheHotButtonOverTheGridWithItsWrapsAndSkips) {
    struct Row {
        const char* name;
        int buttons;
        std::int32_t layout, flow;
        const char* keys;  // L, R, U, D
        const char* hot;   // the hot button after each key
    };
    const Row rows[] = {
        {"one button", 1, zoLinear, zoVertical, "LRUD", "B1 B1 B1 B1"},
        {"tiled grid", 5, zoTiled, zoVertical, "RRRRRLUURDD", "B2 B3 B4 B5 B1 B5 B3 B1 B2 B4 B1"},
        {"horizontal flow", 3, zoLinear, zoHorizontal, "RU", "B2 B1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        BuildKeys(row.buttons, row.layout, row.flow);
        ASSERT_EQ(bar->m_lButtonsPerLine, row.layout == zoTiled ? 2 : 1);
        std::string hot;
        for (const char* k = row.keys; *k; ++k) {
            Key(*k == 'L' ? kLeft : *k == 'R' ? kRight : *k == 'U' ? kUp : kDown);
            hot += (hot.empty() ? "" : " ") + Hot();
        }
        EXPECT_EQ(hot, row.hot);
        // The first arrow only turns a button on; each later one turns the old one off first.
        const Log log = events.Take();
        EXPECT_EQ(log.front(), std::string("ButtonHighlightChanged B") + row.hot[1] + " on");
        EXPECT_EQ(std::count_if(log.begin(), log.end(),
                                [](const std::string& e) { return e.ends_with(" off"); }),
                  static_cast<long>(std::string(row.keys).size()) - 1);
        TearDown();
        SetUp();
    }
}

TEST_F(Input, EnterSelectsTheHotButtonOnlyOnceAndActivatesTheMarkedGroup) {
    BuildKeys(3);
    Key(plat::VK_RETURN);  // nothing hot yet
    EXPECT_EQ(bar->SelectedButton(), nullptr);
    // The keyboard's hot button, as the mouse's, is what Enter takes.
    Walk([&] { return Hot(); }, {{kDown, "B2"}, {kDown, "B3"}, {kUp, "B2"}});
    events.Take();
    Key(plat::VK_RETURN);
    EXPECT_EQ(bar->SelectedButton()->Caption(), "B2");
    Key(plat::VK_RETURN);
    EXPECT_EQ(events.Take(), Log{"ButtonSelectionChanged"});
    // In a strip the arrows move the mark over the visible groups, and Enter activates.
    bar->Groups()->Add("G2");
    bar->Groups()->Add("G3")->SetVisible(false);
    bar->Groups()->Add("G4");
    plat::PumpMessages();
    bar->m_PicUpperGroups().SetFocus();
    plat::PumpMessages();
    Key(kDown);  // the first key starts from group 1
    EXPECT_EQ(Mark(), "G2");
    EXPECT_EQ(plat::GetFocus(), bar->m_PicLowerGroups().hWnd());  // G2 is shown below
    // G3 is hidden: skipped; past the last the mark wraps; any other key goes backward.
    Walk([&] { return Mark(); }, {{kRight, "G4"}, {kRight, "General"}, {'A', "G4"}});
    Key(plat::VK_RETURN);
    EXPECT_EQ(bar->ActiveGroup()->Caption(), "G4");
}

TEST_F(Input, TheHotButtonIsScrolledIntoView) {
    BuildKeys(12, zoLinear, zoVertical, 260);
    ASSERT_GT(bar->m_lMaxScrollPos, 0);
    for (int i = 0; i < 9; ++i)
        Key(kDown);
    ASSERT_EQ(Hot(), "B10");
    const Rect r = Btn(10)->ButtonRect();
    EXPECT_GT(bar->m_lScrollPos, 0);
    EXPECT_LE(r.bottom, bar->m_PicButtons().ClientHeightPx());
    EXPECT_GE(r.top, 0);
    // Up over the first button wraps to the last, which is then scrolled into view too.
    for (int i = 0; i < 10; ++i)
        Key(kUp);
    EXPECT_EQ(Hot(), "B12");
    EXPECT_LE(Btn(12)->ButtonRect().bottom, bar->m_PicButtons().ClientHeightPx());
}

}  // namespace
}  // namespace zo
