// The Groups page: its scroll bar activates groups on the control at once, Apply writes to the
// active group, Add makes the new group active, and a hidden last visible group is refused.
#include <gtest/gtest.h>

#include "model/CGroup.h"
#include "model/CGroups.h"
#include "pages/PageFixture.h"
#include "platform/image_builders.h"

namespace zo::testing {
namespace {

using namespace plat;

constexpr int kGroups = 2;

class GroupsPageTest : public PageTest {
protected:
    // Groups after "General": each caption given, keys none.
    void AddGroups(std::initializer_list<const char*> captions) {
        for (const char* c : captions)
            bar->Groups()->Add(c);
        PumpMessages();
    }
    HWND C(const char* name) { return Ctl(kGroups, name); }
    GroupPtr Group(int i) { return bar->Groups()->Item(i); }
};

TEST_F(GroupsPageTest, ScrollingActivatesTheGroupBeforeAnyApply) {
    AddGroups({"General", "Third"});
    Group(2)->SetTooltipText(Group(1)->TooltipText());
    Open(kGroups);
    Press(PSBTN_APPLYNOW);  // opening marked the page changed: the boxes were empty
    EXPECT_FALSE(ApplyEnabled());
    ClickAt(C("scrGroupIndex"), 220);  // the right arrow
    EXPECT_EQ(bar->ActiveGroup(), Group(2));
    EXPECT_EQ(events.Take(), Log{"ActiveGroupChanged"});
    EXPECT_FALSE(ApplyEnabled());  // same caption, key and tooltip as the group before
    ClickAt(C("scrGroupIndex"), 220);
    EXPECT_EQ(bar->ActiveGroup(), Group(3));
    EXPECT_TRUE(ApplyEnabled());  // another caption
    EXPECT_EQ(Text(C("txtGroupIndex")), "3");

    Retype(C("txtGrpCaption"), "Renamed");
    Retype(C("txtGrpKey"), "r");
    Press(PSBTN_APPLYNOW);
    EXPECT_EQ(Group(3)->Caption() + "|" + Group(3)->Key(), "Renamed|r");
    EXPECT_FALSE(Enabled(C("btnAddGroup")));

    ClickAt(C("scrGroupIndex"), 4);  // back to 2, then cancel: the activation stays
    Press(PSBTN_CANCEL);
    EXPECT_EQ(bar->ActiveGroup(), Group(2));
}

TEST_F(GroupsPageTest, TheIndexBoxRefusesIndexesOutsideTheGroups) {
    AddGroups({"Second"});
    Open(kGroups);
    Retype(C("txtGroupIndex"), "3");
    EXPECT_EQ(shown, Log{"Invalid Index value|16|ZoBtnBar"});
    EXPECT_EQ(bar->ActiveGroup(), Group(1));
    Retype(C("txtGroupIndex"), "2");
    EXPECT_EQ(bar->ActiveGroup(), Group(2));
    EXPECT_EQ(Text(C("txtGrpCaption")), "Second");
}

TEST_F(GroupsPageTest, AddMakesTheNewGroupActiveAtTheEndWithOrWithoutAPicture) {
    Open(kGroups);
    // With one group, the last group cannot be deleted.
    int lo = -1, hi = -1;
    GetScrollRange(C("scrGroupIndex"), SB_CTL, &lo, &hi);
    EXPECT_EQ(std::make_pair(lo, hi), std::make_pair(1, 1));
    EXPECT_EQ(Texts(kGroups, "lblGroupCount txtGrpCaption txtGroupIndex txtPicture"),
              "of 1|General|1|(None)");
    EXPECT_FALSE(Enabled(C("btnDelGroup")));
    Retype(C("txtGrpCaption"), "Plain");
    Retype(C("txtGrpKey"), "p");
    ClickAt(C("btnAddGroup"));
    EXPECT_EQ(events.Take(), (Log{"GroupAdded Plain", "ActiveGroupChanged"}));
    ASSERT_EQ(bar->Groups()->Count(), 2);
    EXPECT_EQ(bar->ActiveGroup(), Group(2));
    EXPECT_EQ(Group(2)->Key(), "p");
    EXPECT_EQ(Group(2)->ButtonBackgroundPicture(), nullptr);
    EXPECT_EQ(Text(C("lblGroupCount")), "of 2");
    EXPECT_TRUE(Enabled(C("btnDelGroup")));

    // A metafile shows on the page but is not given to a new group; Apply gives it.
    PickFile(C("btnAddPicture"), File("bg.wmf", zo::test::MakeWmf(200, 100)));
    EXPECT_EQ(Text(C("txtPicture")), "(Picture)");
    Retype(C("txtGrpCaption"), "Meta");
    Retype(C("txtGrpKey"), "m");
    ClickAt(C("btnAddGroup"));
    ASSERT_EQ(bar->Groups()->Count(), 3);
    EXPECT_EQ(Group(3)->ButtonBackgroundPicture(), nullptr);
    PickFile(C("btnAddPicture"), File("bg2.wmf", zo::test::MakeWmf(200, 100)));
    Press(PSBTN_APPLYNOW);
    ASSERT_NE(Group(3)->ButtonBackgroundPicture(), nullptr);
    EXPECT_EQ(Group(3)->ButtonBackgroundPicture()->Type(), 2);
    EXPECT_TRUE(shown.empty());
}

TEST_F(GroupsPageTest, TheLastVisibleGroupCannotBeHiddenFromThePage) {
    AddGroups({"Second", "Third"});
    Group(2)->SetVisible(false);
    Group(3)->SetVisible(false);
    Open(kGroups);
    ClickAt(C("chkVisible"));
    EXPECT_EQ(shown, Log{"Atleast one group must be visible.|0|ZoBtnBar"});
    EXPECT_TRUE(Checked(C("chkVisible")));

    shown.clear();
    Group(3)->SetVisible(true);
    ClickAt(C("chkVisible"));
    EXPECT_FALSE(Checked(C("chkVisible")));
    EXPECT_TRUE(ApplyEnabled());
    Press(PSBTN_APPLYNOW);
    EXPECT_FALSE(Group(1)->Visible());
    EXPECT_TRUE(shown.empty());
}

TEST_F(GroupsPageTest, DeleteRemovesTheGroupAtTheIndex) {
    AddGroups({"Second", "Third"});
    Open(kGroups);
    Retype(C("txtGroupIndex"), "2");
    events.Take();
    ClickAt(C("btnDelGroup"));
    EXPECT_EQ(bar->Groups()->Count(), 2);
    EXPECT_EQ(Group(2)->Caption(), "Third");
    // The active group went: another became active before the removal was announced.
    EXPECT_EQ(events.Take(), (Log{"ActiveGroupChanged", "GroupRemoved Second"}));
    EXPECT_EQ(Texts(kGroups, "lblGroupCount txtGrpCaption"),
              "of 2|" + bar->ActiveGroup()->Caption());
}

}  // namespace
}  // namespace zo::testing
