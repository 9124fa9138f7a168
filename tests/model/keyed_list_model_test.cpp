// The keyed list keeps its entries in slots that stay put while the order moves, and its key
// index on records that point at slots. Any sequence of additions, insertions, removals and
// clears must leave every key at its entry, as a plain list would, whatever the case the key
// is asked in.
#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/KeyCompare.h"
#include "model/OrderedKeyedList.h"

namespace zo {
namespace {

struct Row {
    const char* name;
    int steps;
    int keyedPercent;   // of new entries
    int insertPercent;  // of additions: in the middle rather than at the end
    int removePercent;  // of steps
};

std::string Lower(std::string key) {
    for (char& c : key)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

class KeyedListModel : public testing::TestWithParam<Row> {};

TEST_P(KeyedListModel, KeysFollowTheirEntriesThroughEveryChange) {
    const Row& row = GetParam();
    std::mt19937 rng(7);
    OrderedKeyedList<int> list;
    std::vector<std::pair<std::string, int>> model;  // key ("" for none), value
    int next = 0;
    const auto pick = [&] { return static_cast<std::int32_t>(rng() % model.size()) + 1; };
    for (int step = 0; step < row.steps; ++step) {
        if (!model.empty() && static_cast<int>(rng() % 100) < row.removePercent) {
            const std::int32_t at = pick();
            const std::string key = model[static_cast<std::size_t>(at - 1)].first;
            if (!key.empty() && rng() % 2 == 0)
                list.Remove(Lower(key));
            else
                list.Remove(at);
            model.erase(model.begin() + (at - 1));
        } else {
            // Keys are reused after their entries go, so freed records are taken again.
            const int value = next++;
            const std::string key = static_cast<int>(rng() % 100) < row.keyedPercent
                                        ? "K" + std::to_string(rng() % 5000)
                                        : std::string();
            bool taken = false;
            for (const auto& [k, v] : model)
                taken = taken || (!key.empty() && KeysEqual(k, key));
            if (taken) continue;
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
                ASSERT_EQ(list.KeyAt(pos), key);
                if (!key.empty()) {
                    ASSERT_EQ(list.PositionOf(Lower(key)), pos) << key;
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

INSTANTIATE_TEST_SUITE_P(Rows, KeyedListModel,
                         testing::Values(Row{"AllKeyedAppendAndRemove", 4000, 100, 0, 40},
                                         Row{"AllKeyedInsertInTheMiddle", 4000, 100, 60, 30},
                                         Row{"FewKeys", 4000, 10, 50, 35},
                                         Row{"NoKeys", 2000, 0, 50, 35}),
                         [](const testing::TestParamInfo<Row>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace zo
