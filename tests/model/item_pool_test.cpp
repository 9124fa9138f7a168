// The memory a control's buttons are made in: slots that never overlap, freed slots taken
// again before the pool grows, and buttons that outlive their control and its pool's owner.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "model/ItemPool.h"
#include "model/RecordingOwner.h"

namespace zo {
namespace {

constexpr std::size_t kSlot = 296;  // about a button with its shared count
constexpr int kCount = 20000;       // 5.9 MB: the first blocks, then full-sized ones

TEST(ItemPool, SlotsNeverOverlapAndFreedOnesServeBeforeThePoolGrows) {
    ItemPool pool;
    std::vector<void*> slots;
    for (int i = 0; i < kCount; ++i) {
        slots.push_back(pool.Allocate(kSlot));
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(slots.back()) % alignof(void*), 0u);
        std::memset(slots.back(), i & 0xFF, kSlot);
    }
    for (int i = 0; i < kCount; ++i) {
        const auto* bytes = static_cast<const unsigned char*>(slots[static_cast<std::size_t>(i)]);
        ASSERT_EQ(bytes[0], i & 0xFF) << i;
        ASSERT_EQ(bytes[kSlot - 1], i & 0xFF) << i;
    }
    const std::size_t held = pool.HeldBytes();
    EXPECT_GE(held, kSlot * kCount);
    // Churn: everything goes and comes back; the same slots serve, nothing more is mapped.
    const std::set<void*> before(slots.begin(), slots.end());
    for (void* p : slots)
        pool.Deallocate(p, kSlot);
    for (void*& p : slots)
        p = pool.Allocate(kSlot);
    EXPECT_EQ(std::set<void*>(slots.begin(), slots.end()), before);
    EXPECT_EQ(pool.HeldBytes(), held);
    for (void* p : slots)
        pool.Deallocate(p, kSlot);
}

// A small control keeps to small blocks; one past a quarter megabyte is making thousands of
// buttons, and takes huge-page blocks instead of faulting in more small pages.
TEST(ItemPool, GrowsBySmallBlocksToAQuarterMegabyteThenByHugePages) {
    constexpr std::size_t K = 1024, M = K * K;
    ItemPool pool;
    std::vector<void*> slots;
    std::vector<std::size_t> held;
    while (held.size() < 7) {
        slots.push_back(pool.Allocate(kSlot));
        if (held.empty() || pool.HeldBytes() != held.back()) held.push_back(pool.HeldBytes());
    }
    EXPECT_EQ(held, (std::vector<std::size_t>{16 * K, 48 * K, 112 * K, 240 * K, 496 * K,
                                              496 * K + 2 * M, 496 * K + 4 * M}));
    for (void* p : slots)
        pool.Deallocate(p, kSlot);
}

// The pool goes with the last button, not with the control.
TEST(ItemPool, ButtonsKeptByAHostOutliveTheControlAndItsPool) {
    std::vector<ButtonPtr> kept;
    std::weak_ptr<ItemPool> pool;
    {
        auto owner = testing::RecordingOwner::Make();
        pool = owner->ItemMemory();
        auto& buttons = *owner->groups->Add("G")->Buttons();
        for (int i = 0; i < 12000; ++i) {
            ButtonPtr b = buttons.Add("B" + std::to_string(i), testing::TestPicture());
            if (i % 1000 == 0) kept.push_back(b);
        }
    }
    EXPECT_FALSE(pool.expired());
    for (std::size_t i = 0; i < kept.size(); ++i)
        EXPECT_EQ(kept[i]->Caption(), "B" + std::to_string(i * 1000));
    kept.clear();
    EXPECT_TRUE(pool.expired());
}

}  // namespace
}  // namespace zo
