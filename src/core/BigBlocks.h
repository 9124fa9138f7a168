// An allocator for the few arrays that grow to many megabytes (a large design's property bag,
// its text). Blocks of 2 MiB and more are mapped on their own and offered to the kernel for
// huge pages: a fresh 4 KiB page costs a fault on its first touch, and on virtual machines that
// fault costs more than filling the page, so a design of a few hundred thousand entries spent
// most of its save and load faulting pages in. Smaller blocks come from operator new as usual.
#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "core/Export.h"

namespace zo {

namespace bigblocks {

inline constexpr std::size_t kHugePage = std::size_t{2} << 20;

inline std::size_t RoundUp(std::size_t bytes) {
    return (bytes + kHugePage - 1) & ~(kHugePage - 1);
}

// A mapping of RoundUp(bytes) aligned to a huge page; throws std::bad_alloc when the system
// has no memory for it.
inline void* Map(std::size_t bytes) {
    const std::size_t size = RoundUp(bytes);
    // Mapped one huge page longer, then trimmed, so that the block starts on a huge page.
    const std::size_t span = size + kHugePage;
    void* raw = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    const auto at = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t start = (at + kHugePage - 1) & ~(std::uintptr_t{kHugePage} - 1);
    if (start > at) munmap(raw, start - at);
    const std::uintptr_t tail = at + span - (start + size);
    if (tail > 0) munmap(reinterpret_cast<void*>(start + size), tail);
    // Only advice: where huge pages are off, the block works with small ones.
    madvise(reinterpret_cast<void*>(start), size, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(start);
}

inline void Unmap(void* p, std::size_t bytes) {
    munmap(p, RoundUp(bytes));
}

}  // namespace bigblocks

template <class T>
class ZO_API BigBlocks {
    static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);

public:
    using value_type = T;
    BigBlocks() noexcept = default;
    template <class U>
    BigBlocks(const BigBlocks<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
        const std::size_t bytes = n * sizeof(T);
        if (bytes >= bigblocks::kHugePage) return static_cast<T*>(bigblocks::Map(bytes));
        return static_cast<T*>(::operator new(bytes));
    }
    void deallocate(T* p, std::size_t n) noexcept {
        const std::size_t bytes = n * sizeof(T);
        if (bytes >= bigblocks::kHugePage)
            bigblocks::Unmap(p, bytes);
        else
            ::operator delete(p);
    }
    template <class U>
    bool operator==(const BigBlocks<U>&) const noexcept {
        return true;
    }
};

template <class T>
using BigVector = std::vector<T, BigBlocks<T>>;
using BigString = std::basic_string<char, std::char_traits<char>, BigBlocks<char>>;

}  // namespace zo
