#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Error.h"
#include "core/KeyCompare.h"
#include "model/OrderedKeyedList.h"
#include "model/RecordingOwner.h"

namespace zo {
namespace {

using testing::ErrorOf;

TEST(KeyCompare, FoldsAsciiAndLatin1LettersOnly) {
    EXPECT_TRUE(KeysEqual("Abc", "aBC"));
    EXPECT_TRUE(KeysEqual("\xC3\x84rger", "\xC3\xA4RGER"));  // Ärger / äRGER
    EXPECT_FALSE(KeysEqual("\xC3\x97", "\xC3\xB7"));         // × and ÷ are not letters
    EXPECT_FALSE(KeysEqual("a b", "a  b"));
    EXPECT_EQ(KeyHash("K\xC3\x96LN"), KeyHash("k\xC3\xB6ln"));  // KÖLN / köln
}

TEST(OrderedKeyedList, PositionsAreOneBasedKeysIgnoreCaseAndMissingOnesRaise) {
    OrderedKeyedList<int> l;
    l.Add(10, "Alpha");
    l.Add(20);
    l.Add(30, "c");
    EXPECT_EQ(l.Item(1), 10);
    EXPECT_EQ(l.Item(3), 30);
    EXPECT_EQ(l.Item("ALPHA"), 10);
    EXPECT_EQ(l.PositionOf("alpha"), 1);
    EXPECT_EQ(ErrorOf([&] { l.Add(2, "alPHA"); }).first, kErrDuplicateKey);
    EXPECT_EQ(l.Count(), 3);
    for (const auto& [name, call] : std::vector<std::pair<const char*, std::function<void()>>>{
             {"Item(0)", [&] { (void)l.Item(0); }},
             {"Item(4)", [&] { (void)l.Item(4); }},
             {"Remove(4)", [&] { l.Remove(4); }}})
        EXPECT_EQ(ErrorOf(call).first, kErrSubscript) << name;
    EXPECT_EQ(ErrorOf([&] { (void)l.Item("beta"); }).first, kErrInvalidCall);
    EXPECT_EQ(ErrorOf([&] { l.Remove("beta"); }).first, kErrInvalidCall);
    EXPECT_EQ(ErrorOf([&] { l.Insert(0, 1); }).first, kErrSubscript);
}

// Entries live in slots that are used again: a removed value must go at once, not when its
// slot is next taken, and a new entry in a used slot must be found under its own key only.
TEST(OrderedKeyedList, ARemovedValueIsReleasedAndItsSlotServesTheNextEntry) {
    OrderedKeyedList<std::shared_ptr<int>> l;
    for (int k = 1; k <= 3; ++k)
        l.Add(std::make_shared<int>(k), "k" + std::to_string(k));
    std::weak_ptr<int> second = l.Item(2);
    l.Remove("K2");
    EXPECT_TRUE(second.expired());
    l.Insert(1, std::make_shared<int>(4), "k4");
    EXPECT_FALSE(l.Contains("k2"));
    std::vector<int> seen;
    for (const auto& v : l)
        seen.push_back(*v);
    EXPECT_EQ(seen, (std::vector<int>{4, 1, 3}));
    EXPECT_EQ(*l.Item("k4"), 4);
    EXPECT_EQ(l.PositionOf("k3"), 3);
    EXPECT_EQ(l.KeyAt(1), "k4");
}

}  // namespace
}  // namespace zo
