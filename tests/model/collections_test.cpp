// The item model: the collections' keys, lookups and order, what items tell their owner and
// when, and items that outlive their owner or their collection.
#include <gtest/gtest.h>

#include <limits>

#include "model/RecordingOwner.h"

namespace zo {
namespace {

using testing::ErrorOf;
using testing::RecordingOwner;
using testing::TestPicture;
using Log = std::vector<std::string>;

// What the collections raise for a refused call.
std::pair<int, std::string> Refused(const std::string& text, const char* source = "ZoBtnBar") {
    return {kObjectError, text + " | " + source};
}
const std::pair<int, std::string> kDuplicate = Refused("Duplicate key specified.");

// The buttons' captions in collection order.
std::string Order(const CButtons& buttons) {
    std::string order;
    for (const auto& x : buttons)
        order += x->Caption();
    return order;
}

class Collections : public ::testing::Test {
protected:
    std::shared_ptr<RecordingOwner> owner = RecordingOwner::Make();
    CGroups& groups = *owner->groups;
};
using Notifications = Collections;
using Lifetime = Collections;

TEST_F(Collections, AddTrimsTheKeyAndRefusesItInAnyCaseWithinItsGroupOrControl) {
    auto g = groups.Add("One", "", "  Key One  ");
    EXPECT_EQ(g->Key(), "Key One");
    EXPECT_EQ(groups.Item("KEY ONE"), g);
    EXPECT_EQ(ErrorOf([&] { groups.Add("Two", "", "key one"); }), kDuplicate);
    EXPECT_EQ(groups.Count(), 1);
    // The refused Add consumed no internal key.
    EXPECT_EQ(groups.Add("Two")->InternalKey(), "INTERNAL_2");
    // Button keys are unique per group, group keys per control.
    auto a = groups.Add("A", "", "a");
    auto b = groups.Add("B", "", "b");
    a->Buttons()->Add("x", TestPicture(), "", "", "same");
    EXPECT_NO_THROW(b->Buttons()->Add("y", TestPicture(), "", "", "SAME"));
    EXPECT_EQ(ErrorOf([&] { a->Buttons()->Add("z", TestPicture(), "", "", "Same"); }), kDuplicate);
    EXPECT_EQ(ErrorOf([&] { groups.Add("C", "", "A"); }), kDuplicate);
}

TEST_F(Collections, ButtonPictureMustBeABitmapOrAnIcon) {
    auto g = groups.Add("G");
    const auto invalid = Refused("Invalid Picture type", "CButtons.Add");
    EXPECT_EQ(ErrorOf([&] { g->Buttons()->Add("none", nullptr); }), invalid);
    for (auto t : {PictureType::None, PictureType::Metafile, PictureType::EnhancedMetafile})
        EXPECT_EQ(ErrorOf([&] { g->Buttons()->Add("m", TestPicture(t)); }), invalid);
    EXPECT_EQ(g->Buttons()->Count(), 0);
    EXPECT_EQ(g->Buttons()->KeyCounter(), 0);
    EXPECT_NO_THROW(g->Buttons()->Add("icon", TestPicture(PictureType::Icon)));
    // The duplicate-key check comes before the picture check.
    g->Buttons()->Add("k", TestPicture(), "", "", "k");
    EXPECT_EQ(ErrorOf([&] { g->Buttons()->Add("k2", nullptr, "", "", "K"); }), kDuplicate);
}

TEST_F(Collections, InternalKeysAreNeverReusedEvenAfterClear) {
    auto& buttons = *groups.Add("G")->Buttons();
    buttons.Add("1", TestPicture());
    buttons.Add("2", TestPicture(), "", "", "two");
    buttons.Remove(2);
    EXPECT_EQ(buttons.Add("3", TestPicture())->InternalKey(), "INTERNAL_3");
    buttons.Clear();
    EXPECT_EQ(buttons.Count(), 0);
    // A key used before Clear is free again; the counter goes on.
    EXPECT_EQ(buttons.Add("4", TestPicture(), "", "", "two")->InternalKey(), "INTERNAL_4");
    // Each collection counts for itself.
    EXPECT_EQ(groups.Add("H")->Buttons()->Add("h", TestPicture())->InternalKey(), "INTERNAL_1");
}

TEST_F(Collections, ItemByNumberNumericStringUserKeyAndInternalKey) {
    auto a = groups.Add("A", "", "first");
    auto b = groups.Add("B", "", "2");
    auto c = groups.Add("C", "", "INTERNAL_1");
    // Positions round half to even; a user key wins over an internal key of the same text.
    const std::pair<Variant, GroupPtr> found[] = {
        {2, b},       {2.0, b},          {std::int16_t{3}, c}, {2.5, b},
        {"FIRST", a}, {"INTERNAL_1", c}, {"internal_2", b}};
    for (const auto& [key, group] : found)
        EXPECT_EQ(groups.Item(key), group) << key.ToText();
    // A numeric string is an internal-key lookup, so a user key of digits is unreachable.
    const std::pair<Variant, int> refused[] = {
        {"2", kErrInvalidCall},
        {"nothing", kErrInvalidCall},
        {TestPicture(), kErrInvalidCall},
        {0, kErrSubscript},
        {4, kErrSubscript},
        {1e12, kErrSubscript},
        {true, kErrSubscript},
        // Texts near an internal key that are not one: the number must be as it is written.
        {"INTERNAL_02", kErrInvalidCall},
        {"INTERNAL_4294967298", kErrInvalidCall},
        {"INTERNAL_2x", kErrInvalidCall},
        {"INTERNAL_", kErrInvalidCall},
        {"INTERNAL-2", kErrInvalidCall}};
    for (const auto& [key, error] : refused)
        EXPECT_EQ(ErrorOf([&] { groups.Item(key); }).first, error) << key.ToText();
    EXPECT_EQ(ErrorOf([&] { groups.Remove("2"); }).first, kErrInvalidCall);
    EXPECT_EQ(groups.ItemByInternalKey("INTERNAL_2"), b);
    EXPECT_EQ(groups.ItemByInternalKey("INTERNAL_9"), nullptr);
}

TEST_F(Collections, TheLastGroupCanNeverBeRemoved) {
    groups.Add("Only");
    const auto refused = Refused("Can't remove all groups fromt eh control");
    EXPECT_EQ(ErrorOf([&] { groups.Remove(1); }), refused);
    // The count is checked before the argument is looked up.
    EXPECT_EQ(ErrorOf([&] { groups.Remove("no such group"); }), refused);
    groups.Add("Second", "", "s");
    groups.Remove("S");
    EXPECT_EQ(groups.Count(), 1);
    EXPECT_EQ(ErrorOf([&] { groups.Add("Third", "", "s"); }).first, 0);  // the key is free again
}

TEST_F(Collections, SetNewIndexRefusesBadArgumentsThenMovesAndShifts) {
    auto g = groups.Add("G");
    auto h = groups.Add("H");
    auto& buttons = *g->Buttons();
    std::vector<ButtonPtr> b;
    for (int i = 1; i <= 5; ++i)
        b.push_back(buttons.Add(std::to_string(i), TestPicture()));
    auto foreign = h->Buttons()->Add("foreign", TestPicture());  // also INTERNAL_1
    EXPECT_EQ(ErrorOf([&] { buttons.SetNewIndex(nullptr, 1); }), Refused("Invalid button object"));
    for (const int to : {6, 0})
        EXPECT_EQ(ErrorOf([&] { buttons.SetNewIndex(b[0], to); }),
                  Refused("Invalid index specified"));
    EXPECT_EQ(ErrorOf([&] { buttons.SetNewIndex(foreign, 2); }), Refused("Alien button specified"));
    h->Buttons()->Add("f2", TestPicture());
    h->Buttons()->Add("f3", TestPicture());
    auto stranger = h->Buttons()->Add("f4", TestPicture());  // INTERNAL_4 exists in g too
    EXPECT_EQ(ErrorOf([&] { buttons.SetNewIndex(stranger, 1); }),
              Refused("Alien button specified"));
    h->Buttons()->Add("f5", TestPicture());
    auto beyond = h->Buttons()->Add("f6", TestPicture());  // INTERNAL_6: no entry in g at all
    EXPECT_EQ(ErrorOf([&] { buttons.SetNewIndex(beyond, 1); }).first, kErrInvalidCall);
    EXPECT_EQ(ErrorOf([&] { groups.SetNewIndex(nullptr, 1); }), Refused("Invalid Group object"));
    auto otherOwner = RecordingOwner::Make();
    auto alien = otherOwner->groups->Add("alien");
    EXPECT_EQ(ErrorOf([&] { groups.SetNewIndex(alien, 1); }), Refused("Alien Group specified"));
    EXPECT_EQ(Order(buttons), "12345");
    EXPECT_TRUE(buttons.SetNewIndex(b[1], 4));
    EXPECT_EQ(Order(buttons), "13425");
    buttons.SetNewIndex(b[1], 5);
    buttons.SetNewIndex(b[4], 1);
    EXPECT_EQ(Order(buttons), "51342");
}
TEST_F(Collections, KeyChangesFollowTheKeyRules) {
    auto& buttons = *groups.Add("G")->Buttons();
    auto a = buttons.Add("a", TestPicture(), "", "", "abc");
    auto b = buttons.Add("b", TestPicture(), "", "", "other");
    // Only Add trims.
    a->SetKey(" spaced ");
    EXPECT_EQ(a->Key(), " spaced ");
    EXPECT_EQ(buttons.Item(" SPACED "), a);
    EXPECT_EQ(ErrorOf([&] { buttons.Item("abc"); }).first, kErrInvalidCall);
    // A change in letter case only is refused: the map holds the item's own key.
    EXPECT_EQ(ErrorOf([&] { a->SetKey(" SPACED "); }), kDuplicate);
    EXPECT_EQ(a->Key(), " spaced ");
    EXPECT_EQ(ErrorOf([&] { a->SetKey("OTHER"); }), kDuplicate);
    // An empty key removes the user key; the item is then found by position or internal key.
    a->SetKey("");
    EXPECT_EQ(ErrorOf([&] { buttons.Item(" spaced "); }).first, kErrInvalidCall);
    EXPECT_EQ(buttons.Item("INTERNAL_1"), a);
    b->SetKey("free");
    EXPECT_EQ(buttons.Item("Free"), b);
    EXPECT_NO_THROW(a->SetKey("other"));
    EXPECT_EQ(buttons.Item("OTHER"), a);
}

TEST_F(Collections, GroupKeyChangesGoThroughTheOwner) {
    auto a = groups.Add("A", "", "a");
    auto b = groups.Add("B", "", "b");
    EXPECT_EQ(ErrorOf([&] { b->SetKey("A"); }), kDuplicate);
    EXPECT_EQ(b->Key(), "b");
    EXPECT_EQ(groups.Item("b"), b);
    b->SetKey("bee");
    EXPECT_EQ(groups.Item("BEE"), b);
    EXPECT_EQ(ErrorOf([&] { groups.Item("b"); }).first, kErrInvalidCall);
    // The owner is asked before the key is stored, with the new and the old key.
    EXPECT_EQ(owner->Take(),
              (Log{"GroupAdded A", "GroupAdded B", "GroupKeyChanged B A b (key now b)",
                   "GroupKeyChanged B bee b (key now b)"}));
}

TEST_F(Collections, RangeForWalksInOrderAndSurvivesRemovalInsideTheLoop) {
    auto& buttons = *groups.Add("G")->Buttons();
    for (int i = 1; i <= 4; ++i)
        buttons.Add(std::to_string(i), TestPicture());
    std::string seen;
    for (const auto& b : buttons) {
        seen += b->Caption();
        if (b->Caption() == "2") buttons.Remove(1);
    }
    EXPECT_EQ(seen, "124");
    EXPECT_EQ(buttons.Count(), 3);
}

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

TEST_F(Lifetime, ItemsKeepNoOwnerAliveAndAnswerWithNothingWhenItIsGone) {
    auto g = groups.Add("G");
    const ButtonPtr kept = g->Buttons()->Add("B", TestPicture(), "", "", "k");
    const GroupPtr keptGroup = groups.Add("H");
    const std::weak_ptr<RecordingOwner> watch = owner;
    const std::weak_ptr<CGroup> watchGroup = g;
    const std::weak_ptr<CButton> watchButton = g->Buttons()->Add("B2", TestPicture());
    EXPECT_EQ(kept->ParentGroup(), g);
    EXPECT_EQ(kept->ButtonBar(), owner);
    g.reset();
    owner.reset();
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

TEST_F(Lifetime, ARemovedItemKeepsItsValuesAndBackReferences) {
    auto g = groups.Add("G");
    auto b = g->Buttons()->Add("B", TestPicture(), "tip", "prompt", "key");
    g->Buttons()->Remove("key");
    EXPECT_EQ(b->ParentGroup(), g);
    EXPECT_EQ(b->ButtonBar(), owner);
    EXPECT_EQ(b->InternalKey(), "INTERNAL_1");
    EXPECT_EQ(b->Key(), "key");
    EXPECT_EQ(b->Prompt(), "prompt");
}

TEST_F(Lifetime, TagKeepsObjectsByReferenceAndValuesByCopy) {
    auto g = groups.Add("G");
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

// A loaded design gives every item the empty text as its Tag, which stays a text, apart from
// the Empty of an item never given one; items share nothing through it.
TEST_F(Lifetime, AnEmptyTextTagStaysTextAndEachItemKeepsItsOwn) {
    auto g = groups.Add("G");
    auto a = g->Buttons()->Add("A", TestPicture());
    auto b = g->Buttons()->Add("B", TestPicture());
    EXPECT_TRUE(a->Tag().IsEmpty());
    a->SetTag(Variant(""));
    b->SetTag(Variant(""));
    g->SetTag(Variant(""));
    EXPECT_TRUE(a->Tag().IsString());
    b->SetTag(Variant("x"));
    EXPECT_EQ(a->Tag().AsStringRef(), "");
    EXPECT_EQ(g->Tag().AsStringRef(), "");
    EXPECT_EQ(b->Tag().AsStringRef(), "x");
    b->SetTag(Variant());
    EXPECT_TRUE(b->Tag().IsEmpty());
}

TEST_F(Lifetime, AReservationPastAnyRealCountIsOnlyAHint) {
    auto& buttons = *groups.Add("G")->Buttons();
    buttons.Reserve(std::numeric_limits<std::int32_t>::max());
    buttons.Reserve(-5);
    buttons.Add("A", TestPicture(), "", "", "a");
    EXPECT_EQ(buttons.Item("A")->Caption(), "A");
    EXPECT_EQ(buttons.Count(), 1);
}

}  // namespace
}  // namespace zo
