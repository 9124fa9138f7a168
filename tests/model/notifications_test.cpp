#include <gtest/gtest.h>

#include "model/RecordingOwner.h"

namespace zo {
namespace {

using testing::ErrorOf;
using testing::RecordingOwner;
using testing::TestPicture;
using Log = std::vector<std::string>;

class Notifications : public ::testing::Test {
protected:
    std::shared_ptr<RecordingOwner> owner = RecordingOwner::Make();
    CGroups& groups = *owner->groups;
};

TEST_F(Notifications, AddRemoveAndReindexReportAfterTheChange) {
    auto g = groups.Add("G", "tip", "k");
    EXPECT_EQ(owner->Take(), Log{"GroupAdded G"});
    // GroupAdded sees the group already initialised, keyed and in the list.
    EXPECT_EQ(g->Caption(), "G");
    EXPECT_EQ(g->TooltipText(), "tip");
    EXPECT_TRUE(g->Visible());
    auto b = g->Buttons()->Add("B", TestPicture());
    g->Buttons()->Add("C", TestPicture());
    g->Buttons()->SetNewIndex(b, 2);
    g->Buttons()->SetNewIndex(b, 2);  // the same place still notifies
    g->Buttons()->Remove(1);
    groups.Add("H");
    groups.SetNewIndex(g, 2);
    groups.Remove("k");
    EXPECT_EQ(owner->Take(), (Log{"ButtonAdded B INTERNAL_1", "ButtonAdded C INTERNAL_2",
                                  "ButtonReIndexed B", "ButtonReIndexed B", "ButtonRemoved C",
                                  "GroupAdded H", "GroupReIndexed G", "GroupRemoved G"}));
    g->Buttons()->Clear();  // sends nothing
    EXPECT_EQ(owner->Take(), Log{});
}

TEST_F(Notifications, ButtonWritesAlwaysNotifyExceptKeyAndUnchangedVisible) {
    auto g = groups.Add("G");
    auto b = g->Buttons()->Add("B", TestPicture());
    owner->Take();
    b->SetCaption("B");  // unchanged text still notifies
    b->SetPicture(b->Picture());
    b->SetTooltipText(b->TooltipText());
    b->SetPrompt("p");
    b->SetTag(Variant(1));
    b->SetVisible(true);  // unchanged: nothing
    b->SetVisible(false);
    b->SetKey("key");  // settled with the group's collection, not reported
    EXPECT_EQ(owner->Take(),
              (Log{"ButtonPropertyChanged B Caption", "ButtonPropertyChanged B Picture",
                   "ButtonPropertyChanged B TooltipText", "ButtonPropertyChanged B Prompt",
                   "ButtonPropertyChanged B Tag", "ButtonPropertyChanged B Visible"}));
}

TEST_F(Notifications, GroupWritesNotifyOnlyOnRealChangesAndTagNever) {
    auto g = groups.Add("G");
    owner->Take();
    g->SetCaption("G");
    g->SetTooltipText("");
    g->SetButtonBackgroundLayout(zoPictureCentered);
    g->SetButtonBackgroundPicture(nullptr);
    g->SetVisible(true);
    g->SetTag(Variant("x"));
    EXPECT_EQ(owner->Take(), Log{});
    g->SetCaption("g");  // exact comparison: a case change is a change
    g->SetTooltipText("t");
    auto pic = TestPicture();
    g->SetButtonBackgroundPicture(pic);
    g->SetButtonBackgroundPicture(pic);
    g->SetButtonBackgroundLayout(7);  // no range check
    g->SetVisible(false);
    EXPECT_EQ(g->ButtonBackgroundLayout(), 7);
    EXPECT_EQ(
        owner->Take(),
        (Log{"GroupPropertyChanged g Caption", "GroupPropertyChanged g TooltipText",
             "GroupPropertyChanged g ButtonBackgroundPicture",
             "GroupPropertyChanged g ButtonBackgroundLayout", "GroupPropertyChanged g Visible"}));
}

TEST_F(Notifications, AListenerMayChangeTheModelReentrantly) {
    auto a = groups.Add("A");
    auto b = groups.Add("B");
    auto x = b->Buttons()->Add("X", TestPicture());
    owner->Take();
    // The sink sees the new value.
    std::string seen;
    owner->onNext = [&] { seen = x->Caption(); };
    x->SetCaption("New");
    EXPECT_EQ(seen, "New");
    owner->Take();
    // Like the control restoring a group's visibility: the second notification arrives
    // before the first returns.
    owner->onNext = [&] { b->SetVisible(true); };
    b->SetVisible(false);
    EXPECT_TRUE(b->Visible());
    EXPECT_EQ(owner->Take(),
              (Log{"GroupPropertyChanged B Visible", "GroupPropertyChanged B Visible"}));
    // A handler that removes the item being added leaves a consistent collection.
    owner->onNext = [&] { a->Buttons()->Remove(1); };
    auto added = a->Buttons()->Add("gone", TestPicture());
    EXPECT_EQ(a->Buttons()->Count(), 0);
    EXPECT_EQ(added->Caption(), "gone");
    // An error raised by the sink reaches the caller after the change was made.
    owner->onNext = [&] { throw Error(kObjectError, "ZoBtnBar", "refused by the control"); };
    EXPECT_EQ(ErrorOf([&] { groups.Remove("INTERNAL_1"); }).second,
              "refused by the control | ZoBtnBar");
    EXPECT_EQ(groups.Count(), 1);
}

TEST_F(Notifications, ItemsWithoutOwnerStayQuiet) {
    CGroups lonely;  // a collection nobody owns hands out uninitialised groups
    auto g = lonely.Add("caption", "tip", "key");
    EXPECT_EQ(g->Caption(), "");
    EXPECT_FALSE(g->Visible());
    EXPECT_EQ(lonely.Item("key"), g);
    EXPECT_EQ(ErrorOf([&] { g->SetKey("other"); }).second, "Duplicate key specified. | ZoBtnBar");
    g->SetVisible(true);  // no owner: nothing to notify, nothing breaks
    EXPECT_TRUE(g->Visible());
}

}  // namespace
}  // namespace zo
