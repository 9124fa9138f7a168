#include <gtest/gtest.h>

#include "model/RecordingOwner.h"

namespace zo {
namespace {

using testing::RecordingOwner;
using testing::TestPicture;

TEST(Lifetime, ItemsKeepNoOwnerAliveAndAnswerWithNothingWhenItIsGone) {
    ButtonPtr kept;
    GroupPtr keptGroup;
    std::weak_ptr<RecordingOwner> watch;
    std::weak_ptr<CGroup> watchGroup;
    std::weak_ptr<CButton> watchButton;
    {
        auto owner = RecordingOwner::Make();
        watch = owner;
        auto g = owner->groups->Add("G");
        kept = g->Buttons()->Add("B", TestPicture(), "", "", "k");
        keptGroup = owner->groups->Add("H");
        watchGroup = g;
        watchButton = g->Buttons()->Add("B2", TestPicture());
        EXPECT_EQ(kept->ParentGroup(), g);
        EXPECT_EQ(kept->ButtonBar(), owner);
    }
    // No cycle: the owner, its groups and their buttons went together, but for those held here.
    EXPECT_TRUE(watch.expired());
    EXPECT_TRUE(watchGroup.expired());
    EXPECT_TRUE(watchButton.expired());
    EXPECT_EQ(kept->ParentGroup(), nullptr);
    EXPECT_EQ(kept->ButtonBar(), nullptr);
    EXPECT_EQ(keptGroup->ButtonBar(), nullptr);
    // Every write is still safe; nothing is notified and the values are kept.
    kept->SetCaption("still here");
    kept->SetVisible(false);
    kept->SetKey("free now");
    EXPECT_EQ(kept->Key(), "free now");
    EXPECT_EQ(kept->Caption(), "still here");
    keptGroup->SetCaption("H2");
    keptGroup->Buttons()->Add("late", TestPicture());
    EXPECT_EQ(keptGroup->Buttons()->Count(), 1);
}

TEST(Lifetime, ARemovedItemKeepsItsValuesAndBackReferences) {
    auto owner = RecordingOwner::Make();
    auto g = owner->groups->Add("G");
    auto b = g->Buttons()->Add("B", TestPicture(), "tip", "prompt", "key");
    g->Buttons()->Remove("key");
    EXPECT_EQ(b->ParentGroup(), g);
    EXPECT_EQ(b->ButtonBar(), owner);
    EXPECT_EQ(b->InternalKey(), "INTERNAL_1");
    EXPECT_EQ(b->Key(), "key");
    EXPECT_EQ(b->Prompt(), "prompt");
}

TEST(Lifetime, TagKeepsObjectsByReferenceAndValuesByCopy) {
    auto owner = RecordingOwner::Make();
    auto g = owner->groups->Add("G");
    auto b = g->Buttons()->Add("B", TestPicture());
    auto pic = TestPicture();
    b->SetTag(Variant(pic));
    EXPECT_EQ(b->Tag().As<Picture>(), pic);
    g->SetTag(Variant(b->Tag()));
    EXPECT_EQ(g->Tag().As<Picture>(), pic);
    std::string text = "value";
    b->SetTag(Variant(text));
    text = "changed";
    EXPECT_EQ(b->Tag().ToText(), "value");
}

}  // namespace
}  // namespace zo
