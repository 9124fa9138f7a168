#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/Error.h"
#include "core/KeyCompare.h"
#include "model/OrderedKeyedList.h"
#include "model/RecordingOwner.h"

namespace zo {
namespace {

using testing::ErrorOf;

// Only ASCII and Latin-1 letters fold. Keys are hashed eight bytes at a time, plain ASCII words
// folded at once and the rest byte by byte: equal keys must hash alike whichever way each word
// went, and the hash must not lose what differs (the last digit of a long key, a byte past the
// first word, the length).
TEST(KeyCompare, FoldsLettersOnlyAndHashesAgreeWithEqualityAcrossWords) {
    struct Row {
        const char* name;
        std::string a, b;
        bool equal;
    };
    const std::vector<Row> rows{
        {"ASCII letters", "Abc", "aBC", true},
        {"Latin-1 letters", "\xC3\x84rger", "\xC3\xA4RGER", true},  // Ärger / äRGER
        {"Latin-1 inside", "K\xC3\x96LN", "k\xC3\xB6ln", true},     // KÖLN / köln
        {"times and divide are signs", "\xC3\x97", "\xC3\xB7", false},
        {"spaces are kept", "a b", "a  b", false},
        {"eight capitals", "ABCDEFGH", "abcdefgh", true},
        {"long mixed case", "Internal_Key_Number_12", "iNTERNAL_kEY_nUMBER_12", true},
        {"signs and digits are kept", "A@[`{Z_1", "a@[`{z_1", true},
        {"Latin-1 in the second word", "ABCDEFGH\xC3\x84XY", "abcdefgh\xC3\xA4xy", true},
        {"Latin-1 across a word boundary", "ABCDEFG\xC3\x84", "abcdefg\xC3\xA4", true},
        {"at and backquote are not letters", "@@@@@@@@", "````````", false},
        {"brackets are not letters", "[[[[[[[[", "{{{{{{{{", false},
        {"last digit", "INTERNAL_12345", "INTERNAL_12346", false},
        {"a byte past eight", "INTERNAL_1", "INTERNAL_2", false},
        {"length", std::string("AB\0", 3), "AB", false},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(KeysEqual(r.a, r.b), r.equal) << r.name;
        EXPECT_EQ(KeyHash(r.a) == KeyHash(r.b), r.equal) << r.name;
    }
    // A hundred near keys spread over a table of 256 about as random ones would (84 places
    // on average), not onto a few places.
    std::set<std::uint64_t> places;
    for (int k = 1; k <= 100; ++k)
        places.insert(KeyHash("INTERNAL_" + std::to_string(12300 + k)) & 255);
    EXPECT_GE(places.size(), 64u);
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
