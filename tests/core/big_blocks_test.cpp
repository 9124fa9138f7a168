#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <numeric>

#include "core/BigBlocks.h"

namespace zo {
namespace {

bool OnHugePage(const void* p) {
    return reinterpret_cast<std::uintptr_t>(p) % bigblocks::kHugePage == 0;
}

// A bag's arrays grow through the 2 MiB threshold and shrink back below it: the values must
// survive each move between operator new and a mapping of its own.
TEST(BigBlocks, KeepsValuesAcrossTheThresholdBothWays) {
    BigVector<std::uint64_t> v;
    for (std::uint64_t i = 0; i < 700'000; ++i)
        v.push_back(i * 2654435761u);
    ASSERT_TRUE(OnHugePage(v.data()));
    for (std::uint64_t i = 0; i < v.size(); ++i)
        ASSERT_EQ(v[i], i * 2654435761u) << i;
    v.resize(1000);
    v.shrink_to_fit();
    EXPECT_FALSE(v.capacity() * sizeof(std::uint64_t) >= bigblocks::kHugePage);
    for (std::uint64_t i = 0; i < v.size(); ++i)
        ASSERT_EQ(v[i], i * 2654435761u) << i;

    // Just below, at and just above the threshold, in a text as the design's writer keeps it.
    for (std::size_t size :
         {bigblocks::kHugePage - 1, bigblocks::kHugePage, bigblocks::kHugePage + 4097}) {
        BigString s(size, 'x');
        s.back() = 'y';
        EXPECT_EQ(s.size(), size);
        EXPECT_EQ(s[size - 2], 'x');
        EXPECT_EQ(s.back(), 'y');
        const BigString copy = s;
        EXPECT_EQ(copy, s);
    }
}

TEST(BigBlocks, RefusesSizesTheMachineCannotHold) {
    BigBlocks<std::uint64_t> a;
    EXPECT_THROW((void)a.allocate(static_cast<std::size_t>(-1) / 4), std::bad_alloc);
    EXPECT_THROW((void)a.allocate(std::size_t{1} << 58), std::bad_alloc);
}

}  // namespace
}  // namespace zo
