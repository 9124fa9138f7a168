// The ordered keyed list and the key comparison under it: letters fold, hashes agree with
// equality, positions are one-based, and entries live in slots that stay put while the order
// moves, with a key index on records that point at slots.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <utility>
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
    EXPECT_EQ(ErrorOf([&] { (void)l.Item(0); }).first, kErrSubscript);
    EXPECT_EQ(ErrorOf([&] { (void)l.Item(4); }).first, kErrSubscript);
    EXPECT_EQ(ErrorOf([&] { l.Remove(4); }).first, kErrSubscript);
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

// A loader reserves room for the counts it knows; the entries before and after must be found
// as without it, and a reservation below the count changes nothing.
TEST(OrderedKeyedList, RoomReservedAheadHoldsEveryEntryUnderItsKey) {
    OrderedKeyedList<int> l;
    for (int i = 0; i < 3; ++i)
        l.Add(i, "k" + std::to_string(i));
    l.Reserve(1000);
    for (int i = 3; i < 1200; ++i)
        l.Add(i, "k" + std::to_string(i));
    l.Reserve(10);
    l.Insert(1, -1, "first");
    for (int i = 0; i < 1200; ++i) {
        ASSERT_EQ(l.Item("K" + std::to_string(i)), i);
        ASSERT_EQ(l.Item(i + 2), i);
    }
    EXPECT_EQ(l.PositionOf("FIRST"), 1);
}

// Any sequence of additions, insertions, removals and clears must leave every key at its entry,
// as a plain list would, whatever the case a text key is asked in; the same for items' numbers.
struct Row {
    const char* name;
    int steps;
    int keyedPercent;   // of new entries
    int insertPercent;  // of additions: in the middle rather than at the end
    int removePercent;  // of steps
};

// A key of a few thousand (so that keys are reused after their entries go, and freed records
// are taken again), and how it is asked for.
std::string NewKey(std::string, unsigned n) {
    return "K" + std::to_string(n);
}
ItemNumber NewKey(ItemNumber, unsigned n) {
    return ItemNumber{static_cast<std::int32_t>(n) + 1};
}
std::string Asked(std::string key) {
    for (char& c : key)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}
ItemNumber Asked(ItemNumber key) {
    return key;
}

template <class Key>
void FollowKeysThroughEveryChange(const Row& row) {
    using Traits = KeyTraits<Key>;
    std::mt19937 rng(7);
    OrderedKeyedList<int, Key> list;
    std::vector<std::pair<Key, int>> model;  // key (none for none), value
    int next = 0;
    const auto pick = [&] { return static_cast<std::int32_t>(rng() % model.size()) + 1; };
    for (int step = 0; step < row.steps; ++step) {
        if (!model.empty() && static_cast<int>(rng() % 100) < row.removePercent) {
            const std::int32_t at = pick();
            const Key key = model[static_cast<std::size_t>(at - 1)].first;
            if (!Traits::None(key) && rng() % 2 == 0)
                list.Remove(Asked(key));
            else
                list.Remove(at);
            model.erase(model.begin() + (at - 1));
        } else {
            const int value = next++;
            const Key key = static_cast<int>(rng() % 100) < row.keyedPercent
                                ? NewKey(Key{}, rng() % 5000)
                                : Key{};
            const auto same = [&](const auto& entry) { return Traits::Equal(entry.first, key); };
            if (!Traits::None(key) && std::ranges::any_of(model, same)) continue;
            if (!model.empty() && static_cast<int>(rng() % 100) < row.insertPercent) {
                const std::int32_t before = pick();
                list.Insert(before, value, key);
                model.insert(model.begin() + (before - 1), {key, value});
            } else {
                list.Add(value, key);
                model.emplace_back(key, value);
            }
        }
        if (step % 97 == 0 || step == row.steps - 1) {
            ASSERT_EQ(list.Count(), static_cast<std::int32_t>(model.size()));
            std::int32_t pos = 1;
            for (const auto& [key, value] : model) {
                ASSERT_EQ(list.Item(pos), value) << "step " << step;
                ASSERT_TRUE(list.KeyAt(pos) == key);
                if (!Traits::None(key)) {
                    ASSERT_EQ(list.PositionOf(Asked(key)), pos) << "step " << step;
                }
                ++pos;
            }
            auto it = model.begin();
            for (int value : list)
                ASSERT_EQ(value, (it++)->second);
        }
        if (step == row.steps / 2) {
            list.Clear();
            model.clear();
        }
    }
}

class KeyedListModel : public ::testing::TestWithParam<Row> {};

TEST_P(KeyedListModel, TextKeysFollowTheirEntriesThroughEveryChange) {
    FollowKeysThroughEveryChange<std::string>(GetParam());
}

TEST_P(KeyedListModel, ItemNumbersFollowTheirEntriesThroughEveryChange) {
    FollowKeysThroughEveryChange<ItemNumber>(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Rows, KeyedListModel,
                         ::testing::Values(Row{"AllKeyedAppendAndRemove", 4000, 100, 0, 40},
                                           Row{"AllKeyedInsertInTheMiddle", 4000, 100, 60, 30},
                                           Row{"FewKeys", 4000, 10, 50, 35},
                                           Row{"NoKeys", 2000, 0, 50, 35}),
                         [](const ::testing::TestParamInfo<Row>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace zo
