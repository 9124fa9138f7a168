#include <random>

#include "control/ControlFixture.h"

namespace zo {
namespace {

using testing::ControlTest;
using testing::ErrorOf;
using testing::IconPicture;
using testing::Log;

// What the control raises for a refused change.
std::string Refused(const std::string& text) {
    return std::to_string(kObjectError) + " " + text + " | ZoBtnBar";
}

// The captions of a header list, each with its header's top when `tops`.
Log Captions(const CGroupButtons& list, bool tops = false) {
    Log out;
    for (std::int32_t i = 1; i <= list.Count(); ++i)
        out.push_back(list.Item(i)->Caption() +
                      (tops ? "@" + std::to_string(list.Item(i)->HeaderRect().top) : ""));
    return out;
}

class Selection : public ControlTest {
protected:
    // Groups General (renamed A), B, C, D; General active.
    void MakeFour(bool runTime = true) {
        MakeBar(runTime);
        bar->ActiveGroup()->SetCaption("A");
        b = bar->Groups()->Add("B");
        c = bar->Groups()->Add("C");
        d = bar->Groups()->Add("D");
        a = bar->Groups()->Item(1);
        events.Take();
        Changes();
    }
    GroupPtr a, b, c, d;
};

// A header list finds its groups by internal key in any letter case, and by nothing else.
TEST_F(Selection, HeaderListsFindTheirGroupsByInternalKey) {
    MakeFour();
    CGroupButtons& lower = bar->m_aLowerGroupButtons;
    EXPECT_EQ(lower.Item(Variant("internal_3")), c);
    EXPECT_TRUE(lower.Contains("INTERNAL_4"));
    for (const char* key : {"INTERNAL_1", "INTERNAL_03", "INTERNAL_", "C"})
        EXPECT_FALSE(lower.Contains(key)) << key;
    EXPECT_EQ(ErrorOf([&] { lower.Item(Variant("INTERNAL_03")); }).rfind("5 ", 0), 0u);
    lower.RemoveGroupButton("Internal_3");
    EXPECT_EQ(Captions(lower), (Log{"B", "D"}));
}

TEST_F(Selection, HeaderListsSplitAroundTheActiveGroupAndListHiddenGroupsAtDesignTime) {
    MakeFour();
    EXPECT_EQ(Captions(bar->m_aUpperGroupButtons), (Log{"A"}));
    EXPECT_EQ(Captions(bar->m_aLowerGroupButtons), (Log{"B", "C", "D"}));
    bar->SetActiveGroup(c);
    EXPECT_EQ(Captions(bar->m_aUpperGroupButtons), (Log{"A", "B", "C"}));
    EXPECT_EQ(Captions(bar->m_aLowerGroupButtons), (Log{"D"}));
    // Hidden at run time: in neither list and taking no room.
    b->SetVisible(false);
    EXPECT_EQ(Captions(bar->m_aUpperGroupButtons), (Log{"A", "C"}));
    EXPECT_EQ(bar->m_PicUpperGroups().ClientHeightPx(), 2 * bar->m_lGroupHeaderHeight);
    EXPECT_EQ(bar->m_PicLowerGroups().ClientHeightPx(), bar->m_lGroupHeaderHeight);
    // Only at run time is the button area hooked and are there tips; at design time hidden
    // groups are listed.
    EXPECT_TRUE(bar->m_bButtonAreaHooked);
    EXPECT_NE(bar->m_aToolTip, nullptr);
    const plat::HWND area = bar->m_hWndButtons;
    bar->Terminate();
    EXPECT_FALSE(bar->m_bButtonAreaHooked);
    EXPECT_TRUE(plat::IsWindow(area));
    MakeFour(false);
    b->SetVisible(false);
    bar->SetActiveGroup(b);  // allowed at design time
    EXPECT_EQ(Captions(bar->m_aUpperGroupButtons), (Log{"A", "B"}));
    EXPECT_EQ(bar->m_aToolTip, nullptr);
    EXPECT_FALSE(bar->m_bButtonAreaHooked);
}

// Whatever happened to the groups in between, each switch leaves the shown groups split
// around the active one, in order and laid out: a switch that only moved the boundary between the
// lists must agree with one that rebuilt them.
TEST_F(Selection, EverySwitchSplitsTheShownGroupsInOrder) {
    MakeFour();
    std::mt19937 rng(11);
    const auto pick = [&](std::int32_t n) { return static_cast<std::int32_t>(rng() % n) + 1; };
    auto& all = *bar->Groups();
    for (int step = 0; step < 600; ++step) {
        const GroupPtr g = all.Item(pick(all.Count()));
        const auto shown = [&](const CGroup& x) { return !site->UserMode() || x.Visible(); };
        int visible = 0;
        for (const GroupPtr& x : all)
            visible += x->Visible() ? 1 : 0;
        // Some changes are refused in some states (a hidden first group cannot take over from
        // a removed active one): the lists must still come right at the next switch.
        try {
            switch (rng() % 6) {
                case 0:  // one group more, or one fewer
                    if (all.Count() < 12)
                        all.Add("G" + std::to_string(step));
                    else
                        all.Remove(pick(all.Count()));
                    break;
                case 1:  // hidden or shown again, unless it is the last one shown
                    if (!g->Visible() || visible > 1) g->SetVisible(!g->Visible());
                    break;
                case 2:
                    all.SetNewIndex(g, pick(all.Count()));
                    break;
                case 3:  // run time and design time list different groups
                    site->SetUserMode(!site->UserMode());
                    break;
                default:
                    break;
            }
        } catch (const std::exception&) {
        }
        const GroupPtr next = all.Item(pick(all.Count()));
        if (next == bar->ActiveGroup() || !shown(*next)) continue;
        bar->SetActiveGroup(next);
        // Each header one header height below the one before it in its strip.
        Log upper, lower;
        bool met = false;
        for (const GroupPtr& x : all) {
            if (!shown(*x)) continue;
            Log& list = met ? lower : upper;
            list.push_back(x->Caption() + "@" +
                           std::to_string(bar->m_lGroupHeaderHeight * std::ssize(list)));
            met = met || x == next;
        }
        ASSERT_EQ(Captions(bar->m_aUpperGroupButtons, true), upper) << "step " << step;
        ASSERT_EQ(Captions(bar->m_aLowerGroupButtons, true), lower) << "step " << step;
    }
}

TEST_F(Selection, ActiveGroupAndSelectedButtonSettersCheckAndNotify) {
    MakeFour();
    DefaultSite otherSite;
    auto other = ZoButtonBar::CreateNew(otherSite, 0, 300, 0, 100, 100);
    EXPECT_EQ(ErrorOf([&] { bar->SetActiveGroup(nullptr); }),
              Refused("Active group can't be set to nothing."));
    EXPECT_EQ(ErrorOf([&] { bar->SetActiveGroup(other->ActiveGroup()); }),
              Refused("Group does not belong to this control."));
    d->SetVisible(false);
    EXPECT_EQ(ErrorOf([&] { bar->SetActiveGroup(d); }),
              Refused("Hidden group cannot be made active."));
    events.Take();
    Changes();
    bar->m_lScrollPos = 3;
    bar->SetActiveGroup(a);  // already active: nothing, scroll kept
    EXPECT_EQ(bar->m_lScrollPos, 3);
    EXPECT_EQ(events.Take(), Log{});
    bar->SetActiveGroup(c);
    EXPECT_EQ(bar->m_lScrollPos, 0);
    EXPECT_EQ(Changes(), Log{"ActiveGroup"});
    EXPECT_EQ(events.Take(), Log{"ActiveGroupChanged"});

    // Selecting a button of another group activates that group first.
    auto x = b->Buttons()->Add("X", IconPicture());
    events.Take();
    Changes();
    bar->SetSelectedButton(x);
    EXPECT_EQ(bar->ActiveGroup(), b);
    EXPECT_EQ(bar->SelectedButton(), x);
    EXPECT_EQ(events.Take(), (Log{"ActiveGroupChanged", "ButtonSelectionChanged"}));
    EXPECT_EQ(Changes(), (Log{"ActiveGroup", "SelectedButton"}));
    bar->SetSelectedButton(x);  // again: nothing
    EXPECT_EQ(events.Take(), Log{});
    const int before = paints.buttons;
    bar->SetSelectedButton(nullptr);  // no event, but a repaint
    EXPECT_EQ(events.Take(), Log{});
    EXPECT_EQ(Changes(), Log{"SelectedButton"});
    EXPECT_EQ(paints.buttons, before + 1);
    auto foreign = other->ActiveGroup()->Buttons()->Add("F", IconPicture());
    EXPECT_EQ(ErrorOf([&] { bar->SetSelectedButton(foreign); }),
              Refused("Button does not belong to this control"));
    bar->SetSelectedButton(x);
    // A button of a hidden group is refused, and nothing changes.
    auto hidden = d->Buttons()->Add("H", IconPicture());
    EXPECT_EQ(ErrorOf([&] { bar->SetSelectedButton(hidden); }),
              Refused("Hidden group cannot be made active."));
    EXPECT_EQ(bar->SelectedButton(), x);
    EXPECT_EQ(bar->ActiveGroup(), b);
    b->Buttons()->Remove(1);  // the selection outlives the button's removal
    EXPECT_EQ(bar->SelectedButton(), x);
}

TEST_F(Selection, HidingTheActiveGroupActivatesANeighbourButTheLastVisibleStays) {
    MakeFour();
    bar->SetActiveGroup(c);
    c->SetVisible(false);  // the group just above
    EXPECT_EQ(bar->ActiveGroup(), b);
    b->SetVisible(false);
    a->SetVisible(false);  // A is the only header above: the first below takes over
    EXPECT_EQ(bar->ActiveGroup(), d);
    // Re-entrant: the control sets D visible again before the error leaves.
    EXPECT_EQ(ErrorOf([&] { d->SetVisible(false); }),
              Refused("Atleast one group must be visible."));
    EXPECT_TRUE(d->Visible());
    EXPECT_EQ(bar->ActiveGroup(), d);
    EXPECT_EQ(Captions(bar->m_aUpperGroupButtons), (Log{"D"}));
}

TEST_F(Selection, RemovingTheActiveGroupActivatesTheFirstBeforeTheRemovedEvent) {
    MakeFour();
    bar->SetActiveGroup(b);
    events.Take();
    bar->Groups()->Remove("INTERNAL_2");
    EXPECT_EQ(bar->ActiveGroup(), a);
    EXPECT_EQ(events.Take(), (Log{"ActiveGroupChanged", "GroupRemoved B"}));
    bar->Groups()->Remove(3);  // D, not active: just leaves the lists
    EXPECT_EQ(Captions(bar->m_aLowerGroupButtons), (Log{"C"}));
}

TEST_F(Selection, ModelEventsReachTheHostLastAndOnlyWhenTheyShould) {
    MakeFour();
    const int before = paints.buttons;
    auto other = b->Buttons()->Add("Other", IconPicture());
    EXPECT_EQ(paints.buttons, before);  // not the active group: no relayout, no repaint
    auto mine = a->Buttons()->Add("Mine", IconPicture());
    EXPECT_EQ(paints.buttons, before + 1);
    mine->SetTooltipText("tip");
    mine->SetPrompt("prompt");
    EXPECT_EQ(paints.buttons, before + 1);  // nothing on screen
    mine->SetCaption("Mine");               // same text: still relays out
    EXPECT_EQ(paints.buttons, before + 2);
    a->Buttons()->Remove(1);
    EXPECT_EQ(events.Take(), (Log{"ButtonAdded Other", "ButtonAdded Mine", "ButtonRemoved Mine"}));
    // The host event comes after the control is consistent again.
    events.onNext = [&] { EXPECT_EQ(bar->m_aLowerGroupButtons.Count(), 4); };
    bar->Groups()->Add("E");
}

TEST_F(Selection, TerminateReleasesEverythingAndHeldItemsStaySafe) {
    MakeFour();
    auto x = a->Buttons()->Add("X", IconPicture());
    std::weak_ptr<CGroups> groups = bar->Groups();
    bar->Terminate();
    EXPECT_EQ(bar->Groups(), nullptr);
    EXPECT_TRUE(groups.expired());  // the collection went; the groups held here live on
    EXPECT_EQ(a->Caption(), "A");
    x->SetCaption("after");  // the control ignores it
    b->SetVisible(false);
    bar.reset();
    EXPECT_EQ(x->ButtonBar(), nullptr);
    EXPECT_EQ(a->ButtonBar(), nullptr);
    x->SetCaption("later");
    EXPECT_EQ(x->Caption(), "later");
}

}  // namespace
}  // namespace zo
