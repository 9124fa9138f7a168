// The design in the property bag: what is written under which name, what a load rebuilds and
// tells the host, and that saving what was loaded gives the same bag again.
#include <string>
#include <vector>

#include "control/ControlFixture.h"
#include "host/PropertyBag.h"

namespace zo {
namespace {

using testing::ControlTest;
using testing::IconPicture;
using testing::Log;

class Design : public ControlTest {
protected:
    // A stored instance loaded from `bag` into a new control.
    void Load(const PropertyBag& bag, bool runTime = true) {
        bar.reset();  // before the site it was made for
        site = std::make_unique<DefaultSite>(runTime);
        bar = ZoButtonBar::Create(*site, 0, 10, 10, 200, 400);
        bar->Advise(&events);
        bar->ReadProperties(bag);
        plat::PumpMessages();
    }

    static std::vector<std::string> Names(const PropertyBag& bag) {
        std::vector<std::string> out;
        for (const auto& [name, value] : bag.Entries())
            out.push_back(name);
        return out;
    }
};

TEST_F(Design, ANewInstanceWritesOnlyTheGroupCountAtTopLevel) {
    MakeBar();
    PropertyBag bag;
    bar->WriteProperties(bag);
    EXPECT_EQ(Names(bag), (Log{"GroupCount", "GRP1Caption", "GRP1Tooltip", "GRP1Key",
                               "GRP1ButtonBackgroundLayout", "GRP1ButtonBackgroundPicture",
                               "GRP1Tag", "GRP1IsCurrent", "GRP1ButtonCount"}));
    EXPECT_EQ(bag.ReadProperty("GroupCount").ToLong(), 1);
    EXPECT_EQ(bag.ReadProperty("GRP1Caption").ToText(), "General");
    EXPECT_TRUE(bag.ReadProperty("GRP1IsCurrent").ToBool());
}

TEST_F(Design, GroupAndButtonKeysAreNumberedInCollectionOrder) {
    MakeBar();
    auto second = bar->Groups()->Add("Files", "All files", "files");
    for (const char* c : {"One", "Two", "Three"})
        second->Buttons()->Add(c, IconPicture(), std::string("Tip ") + c);
    second->Buttons()->Item(3)->SetVisible(false);
    bar->SetButtonFlow(zoHorizontal);
    PropertyBag bag;
    bar->WriteProperties(bag);
    EXPECT_EQ(bag.ReadProperty("ButtonFlow").ToLong(), zoHorizontal);
    EXPECT_EQ(bag.ReadProperty("GRP2Key").ToText(), "files");
    EXPECT_EQ(bag.ReadProperty("GRP2ButtonCount").ToLong(), 3);
    EXPECT_EQ(bag.ReadProperty("GRP2BTN2Caption").ToText(), "Two");
    // Written as "Tooltip", found by the reader's "ToolTip".
    EXPECT_EQ(bag.ReadProperty("GRP2BTN2ToolTip").ToText(), "Tip Two");
    // Only a hidden item stores Visible.
    EXPECT_FALSE(bag.Contains("GRP2BTN2Visible"));
    EXPECT_TRUE(bag.Contains("GRP2BTN3Visible"));
    EXPECT_FALSE(bag.ReadProperty("GRP2BTN3Visible").ToBool());
}

TEST_F(Design, AnEmptyBagGivesOneActiveGeneralGroupAndMissingGroupsBecomeGeneral) {
    PropertyBag bag;
    Load(bag);
    ASSERT_EQ(bar->Groups()->Count(), 1);
    EXPECT_EQ(bar->ActiveGroup(), bar->Groups()->Item(1));
    EXPECT_EQ(bar->ActiveGroup()->Caption(), "General");
    EXPECT_EQ(bar->ActiveGroup()->TooltipText(), "General");
    EXPECT_EQ(bar->ActiveGroup()->Key(), "");
    EXPECT_EQ(bar->ButtonLayout(), zoLinear);
    // A stored count beyond the stored groups; no group is current, so none becomes active.
    bag.WriteProperty("GroupCount", Variant(std::int32_t{2}));
    bag.WriteProperty("GRP1Caption", Variant(std::string("Stored")));
    Load(bag);
    ASSERT_EQ(bar->Groups()->Count(), 2);
    EXPECT_EQ(bar->Groups()->Item(1)->Caption(), "Stored");
    EXPECT_EQ(bar->Groups()->Item(2)->Caption(), "General");
    EXPECT_TRUE(bar->Groups()->Item(2)->Visible());
    EXPECT_EQ(bar->ActiveGroup(), nullptr);
}

TEST_F(Design, LoadingTellsTheHostOfEachItemInStoredOrder) {
    MakeBar();
    auto g = bar->ActiveGroup();
    g->Buttons()->Add("A", IconPicture());
    auto second = bar->Groups()->Add("Second");
    second->Buttons()->Add("B", IconPicture());
    bar->SetActiveGroup(second);
    bar->SetLockRefresh(true);
    PropertyBag bag;
    bar->WriteProperties(bag);
    bar.reset();
    events.Take();

    Load(bag);
    EXPECT_EQ(events.Take(), (Log{"GroupAdded General", "ButtonAdded A", "GroupAdded Second",
                                  "ActiveGroupChanged", "ButtonAdded B"}));
    EXPECT_TRUE(bar->LockRefresh());  // stored True, True again
    EXPECT_EQ(bar->ActiveGroup()->Caption(), "Second");
}

TEST_F(Design, SavingWhatWasLoadedGivesTheSameBag) {
    MakeBar();
    bar->SetGroupAppearance(zoFlat);
    bar->SetButtonBackColor(0x00336699);
    bar->SetCaption("Saved");
    auto g = bar->ActiveGroup();
    g->SetTag(Variant(std::int32_t{42}));
    auto b = g->Buttons()->Add("Keep", IconPicture(), "tip", "prompt", "keep");
    b->SetTag(Variant(std::string("tag")));
    auto hidden = bar->Groups()->Add("Hidden", "", "h");
    hidden->SetVisible(false);
    bar->SetSelectedButton(b);
    PropertyBag first;
    bar->WriteProperties(first);

    Load(first);
    PropertyBag second;
    bar->WriteProperties(second);
    ASSERT_EQ(Names(first), Names(second));
    for (const auto& [name, value] : first.Entries())
        EXPECT_TRUE(PropertyBag::SameValue(value, second.ReadProperty(name))) << name;
    EXPECT_EQ(bar->SelectedButton(), nullptr);  // the selection is not part of the design
    EXPECT_FALSE(bar->Groups()->Item("h")->Visible());
    // Pictures are kept as the same objects.
    EXPECT_EQ(bar->Groups()->Item(1)->Buttons()->Item(1)->Picture(), b->Picture());
}

}  // namespace
}  // namespace zo
