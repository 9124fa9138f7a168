#include <gtest/gtest.h>

#include <functional>
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
}

TEST(OrderedKeyedList, InsertAndRemoveKeepKeysPointingAtTheRightEntries) {
    OrderedKeyedList<int> l;
    for (int i = 1; i <= 50; ++i)
        l.Add(i, "k" + std::to_string(i));
    l.Insert(1, 0, "zero");
    l.Insert(26, 100, "hundred");
    EXPECT_EQ(l.Item(1), 0);
    EXPECT_EQ(l.Item(26), 100);
    EXPECT_EQ(l.Item("k25"), 25);
    EXPECT_EQ(l.Item("k26"), 26);
    EXPECT_EQ(l.PositionOf("k26"), 28);
    l.Remove("zero");
    l.Remove(1);  // k1
    EXPECT_EQ(l.Item(1), 2);
    EXPECT_EQ(l.PositionOf("hundred"), 24);
    for (int i = 2; i <= 50; ++i)
        EXPECT_EQ(l.Item("K" + std::to_string(i)), i) << i;
    EXPECT_FALSE(l.Contains("k1"));
    EXPECT_EQ(ErrorOf([&] { l.Insert(0, 1); }).first, kErrSubscript);
}

TEST(OrderedKeyedList, ManyRemovalsLeaveAConsistentIndex) {
    // Deleting from an open-addressed table must not lose keys that probed past the hole.
    OrderedKeyedList<int> l;
    for (int i = 0; i < 2000; ++i)
        l.Add(i, "key" + std::to_string(i));
    for (int i = 0; i < 2000; i += 3)
        l.Remove("KEY" + std::to_string(i));
    for (int i = 0; i < 2000; ++i) {
        if (i % 3 == 0)
            EXPECT_FALSE(l.Contains("key" + std::to_string(i)));
        else
            ASSERT_EQ(l.Item("key" + std::to_string(i)), i);
    }
    EXPECT_EQ(l.Count(), 1333);
    l.Clear();
    EXPECT_EQ(l.Count(), 0);
    EXPECT_FALSE(l.Contains("key1"));
    l.Add(7, "key1");
    EXPECT_EQ(l.Item("KEY1"), 7);
    for (int v : l)
        EXPECT_EQ(v, 7);
}

}  // namespace
}  // namespace zo
