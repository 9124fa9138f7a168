// The bag's look-ups take shortcuts (entries near the last one found, a filter of the names
// stored, an index that catches up late). Whatever order names are written, rewritten, left
// out and read in, the bag must answer as a plain list searched from the start would.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/KeyCompare.h"
#include "host/PropertyBag.h"

namespace zo {
namespace {

// The bag as a list searched from the start.
struct Model {
    std::vector<std::pair<std::string, std::int32_t>> entries;
    std::optional<std::size_t> Find(std::string_view name) const {
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (KeysEqual(entries[i].first, name)) return i;
        return std::nullopt;
    }
};

// Names as a design writes them ("GRP3BTN12Caption"), sometimes in another letter case, and
// names without a digit, which have no stem of their own.
std::string NameOf(std::mt19937& rng, int items, bool anyCase) {
    static const char* const kSuffix[] = {"Caption", "Tooltip", "Key", "Picture", "Visible", "Tag"};
    std::string name;
    if (rng() % 8 == 0) {
        name = std::string("Plain") + kSuffix[rng() % 6];
    } else {
        const int item = static_cast<int>(rng() % static_cast<unsigned>(items));
        name = "GRP" + std::to_string(item / 10) + "BTN" + std::to_string(item % 10) +
               kSuffix[rng() % 6];
    }
    if (anyCase && rng() % 3 == 0)
        for (char& c : name)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return name;
}

struct Row {
    const char* name;
    int items;         // numbered items the names come from
    int steps;         // operations
    int writePercent;  // the rest are reads
    int erasePercent;  // of the writes: written with a default equal to the value
    bool inOrder;      // names of item after item, as a save and a load go
};

class BagLookup : public testing::TestWithParam<Row> {};

TEST_P(BagLookup, AnswersAsAListSearchedFromTheStart) {
    const Row& row = GetParam();
    std::mt19937 rng(20261207);
    PropertyBag bag;
    Model model;
    int item = 0;
    for (int step = 0; step < row.steps; ++step) {
        std::string name;
        if (row.inOrder) {
            static const char* const kSuffix[] = {"Caption", "Key", "Tag", "Visible"};
            name = "GRP" + std::to_string(item / 7) + "BTN" + std::to_string(item % 7) +
                   kSuffix[rng() % 4];
            if (rng() % 4 == 0) ++item;
            if (item >= row.items) item = 0;
        } else {
            name = NameOf(rng, row.items, true);
        }
        const std::int32_t value = static_cast<std::int32_t>(rng() % 1000);
        if (static_cast<int>(rng() % 100) < row.writePercent) {
            if (static_cast<int>(rng() % 100) < row.erasePercent) {
                bag.WriteProperty(name, Variant(value), Variant(value));
                if (const auto at = model.Find(name))
                    model.entries.erase(model.entries.begin() + static_cast<std::ptrdiff_t>(*at));
            } else {
                bag.WriteProperty(name, Variant(value));
                if (const auto at = model.Find(name))
                    model.entries[*at].second = value;
                else
                    model.entries.emplace_back(name, value);
            }
        } else {
            const auto at = model.Find(name);
            ASSERT_EQ(bag.Position(name), at) << name << " at step " << step;
            ASSERT_EQ(bag.ReadProperty(name, Variant(-1)).ToLong(),
                      at ? model.entries[*at].second : -1)
                << name;
        }
    }
    ASSERT_EQ(bag.Count(), model.entries.size());
    for (std::size_t i = 0; i < model.entries.size(); ++i) {
        EXPECT_EQ(bag.Entries()[i].name, model.entries[i].first);
        EXPECT_EQ(bag.Position(model.entries[i].first), i);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, BagLookup,
                         testing::Values(Row{"SaveThenLoadInOrder", 3000, 20000, 60, 10, true},
                                         Row{"ScatteredWritesAndReads", 2000, 20000, 50, 10, false},
                                         Row{"MostlyReadsOfAFewNames", 40, 5000, 20, 30, false},
                                         Row{"ManyErasures", 500, 8000, 70, 50, false}),
                         [](const testing::TestParamInfo<Row>& info) {
                             return std::string(info.param.name);
                         });

TEST(BagLookupAdd, RefusesANameGivenTwiceAndLeavesTheValueWithTheCaller) {
    PropertyBag bag;
    for (int i = 0; i < 5000; ++i) {
        Variant value(i);
        ASSERT_TRUE(bag.Add("GRP" + std::to_string(i) + "Caption", std::move(value)));
    }
    Variant value(1);
    EXPECT_FALSE(bag.Add("grp17caption", std::move(value)));
    EXPECT_EQ(value.ToLong(), 1);
    EXPECT_EQ(bag.ReadProperty("GRP17CAPTION").ToLong(), 17);
    EXPECT_EQ(bag.Count(), 5000u);

    // A reader completing a value it stored earlier, by where it stored it.
    bag.ReplaceAt(17, Variant("late"));
    EXPECT_EQ(bag.Entries()[17].name, "GRP17Caption");
    EXPECT_EQ(bag.ReadProperty("grp17caption").AsStringRef(), "late");
    EXPECT_EQ(bag.ReadProperty("GRP18Caption").ToLong(), 18);
    EXPECT_THROW(bag.ReplaceAt(5000, Variant(0)), std::out_of_range);
    EXPECT_EQ(bag.Count(), 5000u);
}

}  // namespace
}  // namespace zo

namespace zo {
namespace {

// Names are hashed eight bytes at a time; a name must be found in any letter case whatever
// letters stand at the edges of the A-Z range, where in the name they fall, and when it is not
// ASCII or longer than the hash's buffer on the stack.
struct CaseRow {
    const char* name;
    std::string written;
    std::string read;
};

void PrintTo(const CaseRow& row, std::ostream* os) {
    *os << row.name;
}

class BagCase : public testing::TestWithParam<CaseRow> {};

TEST_P(BagCase, FindsTheNameInAnotherCase) {
    const CaseRow& row = GetParam();
    PropertyBag bag;
    for (int i = 0; i < 40; ++i)
        bag.WriteProperty("GRP" + std::to_string(i) + "Caption", Variant(i));
    bag.WriteProperty(row.written, Variant(-7));
    for (int i = 40; i < 80; ++i)
        bag.WriteProperty("GRP" + std::to_string(i) + "Caption", Variant(i));
    EXPECT_EQ(bag.ReadProperty(row.read, Variant(0)).ToLong(), -7);
    EXPECT_EQ(bag.ReadProperty(row.read + "@", Variant(0)).ToLong(), 0);
    // Again from the entry before it, where it is found among the entries around the cursor.
    EXPECT_EQ(bag.ReadProperty("GRP39Caption").ToLong(), 39);
    EXPECT_EQ(bag.ReadProperty(row.read, Variant(0)).ToLong(), -7);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BagCase,
    testing::Values(CaseRow{"EdgeLettersInEachByte", "AZAZAZAZazazazaz", "azazazazAZAZAZAZ"},
                    CaseRow{"DigitsAtTheWordEdge", "ABCDEFG9HIJKLMN0Z", "abcdefg9hijklmn0z"},
                    CaseRow{"Latin1Capitals", "GRP1\xC3\x89t\xC3\xA9", "grp1\xC3\xA9T\xC3\x89"},
                    CaseRow{"LongerThanTheBuffer", std::string(70, 'Q') + "Z9z",
                            std::string(70, 'q') + "z9Z"}),
    [](const testing::TestParamInfo<CaseRow>& info) { return std::string(info.param.name); });

// A failed load names the entry the control had reached: as the file spells it when it was
// found, as asked when not, whatever was erased since.
TEST(BagLastRead, NamesTheEntryAsStoredOrTheNameAsked) {
    PropertyBag bag;
    for (const char* name : {"GRP1Caption", "GRP1Tooltip", "GRP2Caption"})
        bag.WriteProperty(name, Variant(1));
    bag.ReadProperty("GRP1ToolTip");
    EXPECT_EQ(bag.LastRead(), "GRP1Tooltip");
    bag.WriteProperty("GRP1Caption", Variant(1), Variant(1));  // equal to its default: erased
    EXPECT_EQ(bag.LastRead(), "GRP1Tooltip");
    bag.ReadProperty("GRP1Visible");
    EXPECT_EQ(bag.LastRead(), "GRP1Visible");
    bag.ReadProperty("grp2caption");
    bag.Concerns("GRP1Key");
    EXPECT_EQ(bag.LastRead(), "GRP1Key");
    bag.ReadProperty("grp2caption");
    bag.Clear();
    EXPECT_EQ(bag.LastRead(), "GRP2Caption");
}

TEST(BagCase, KeepsTheSignsBesideTheCapitalsApart) {
    PropertyBag bag;
    bag.WriteProperty("A@[", Variant(1));
    EXPECT_EQ(bag.ReadProperty("a@[", Variant(0)).ToLong(), 1);
    EXPECT_EQ(bag.ReadProperty("a`{", Variant(0)).ToLong(), 0);
}

}  // namespace
}  // namespace zo
