#include <gtest/gtest.h>

#include "model/RecordingOwner.h"

namespace zo {
namespace {

using testing::ErrorOf;
using testing::RecordingOwner;
using testing::TestPicture;

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

TEST_F(Collections, AddTrimsTheKeyAndRefusesItInAnyCase) {
    auto g = groups.Add("One", "", "  Key One  ");
    EXPECT_EQ(g->Key(), "Key One");
    EXPECT_EQ(groups.Item("KEY ONE"), g);
    EXPECT_EQ(ErrorOf([&] { groups.Add("Two", "", "key one"); }), kDuplicate);
    EXPECT_EQ(groups.Count(), 1);
    // The refused Add consumed no internal key.
    EXPECT_EQ(groups.Add("Two")->InternalKey(), "INTERNAL_2");
}

TEST_F(Collections, ButtonKeysAreUniquePerGroupGroupKeysPerControl) {
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
    auto g = groups.Add("G");
    auto& buttons = *g->Buttons();
    buttons.Add("1", TestPicture());
    buttons.Add("2", TestPicture(), "", "", "two");
    buttons.Remove(2);
    EXPECT_EQ(buttons.Add("3", TestPicture())->InternalKey(), "INTERNAL_3");
    buttons.Clear();
    EXPECT_EQ(buttons.Count(), 0);
    // A key used before Clear is free again; the counter goes on.
    auto again = buttons.Add("4", TestPicture(), "", "", "two");
    EXPECT_EQ(again->InternalKey(), "INTERNAL_4");
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
        {"2", kErrInvalidCall}, {"nothing", kErrInvalidCall}, {TestPicture(), kErrInvalidCall},
        {0, kErrSubscript},     {4, kErrSubscript},           {1e12, kErrSubscript},
        {true, kErrSubscript}};
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

TEST_F(Collections, SetNewIndexMovesAndShifts) {
    auto g = groups.Add("G");
    auto& buttons = *g->Buttons();
    std::vector<ButtonPtr> b;
    for (int i = 1; i <= 5; ++i)
        b.push_back(buttons.Add(std::to_string(i), TestPicture()));
    EXPECT_TRUE(buttons.SetNewIndex(b[1], 4));
    EXPECT_EQ(Order(buttons), "13425");
    buttons.SetNewIndex(b[1], 5);
    buttons.SetNewIndex(b[4], 1);
    EXPECT_EQ(Order(buttons), "51342");
}

TEST_F(Collections, SetNewIndexErrors) {
    auto g = groups.Add("G");
    auto h = groups.Add("H");
    for (int i = 1; i <= 5; ++i)
        g->Buttons()->Add(std::to_string(i), TestPicture());
    auto foreign = h->Buttons()->Add("foreign", TestPicture());  // also INTERNAL_1
    auto& buttons = *g->Buttons();
    EXPECT_EQ(ErrorOf([&] { buttons.SetNewIndex(nullptr, 1); }), Refused("Invalid button object"));
    EXPECT_EQ(ErrorOf([&] { buttons.SetNewIndex(buttons.Item(1), 6); }),
              Refused("Invalid index specified"));
    EXPECT_EQ(ErrorOf([&] { buttons.SetNewIndex(buttons.Item(1), 0); }),
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
}

TEST_F(Collections, KeyChangesFollowTheKeyRules) {
    auto g = groups.Add("G");
    auto& buttons = *g->Buttons();
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
    auto log = owner->Take();
    ASSERT_EQ(log.size(), 4u);  // two GroupAdded, then the two key changes
    EXPECT_EQ(log[2], "GroupKeyChanged B A b (key now b)");
    EXPECT_EQ(log[3], "GroupKeyChanged B bee b (key now b)");
}

TEST_F(Collections, RangeForWalksInOrderAndSurvivesRemovalInsideTheLoop) {
    auto g = groups.Add("G");
    auto& buttons = *g->Buttons();
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

}  // namespace
}  // namespace zo
