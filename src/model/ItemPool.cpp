#include "model/ItemPool.h"

#include <algorithm>

#include "core/BigBlocks.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define ZO_POOL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/asan_interface.h>
#define ZO_POOL_ASAN 1
#endif
#endif

namespace zo {

namespace {

constexpr std::size_t kFirstBlock = std::size_t{16} << 10;
// Past this the next block is a huge page's: a pool that has grown so far is making thousands
// of buttons, and doubling on through small pages would fault in another megabyte and a half.
constexpr std::size_t kLastSmallBlock = std::size_t{256} << 10;
// Slots hold objects of pointer alignment (the allocator checks), so sizes round to that.
constexpr std::size_t kAlign = alignof(void*);

// Under the address sanitizer a freed slot is poisoned, so that a button used after its last
// owner let it go is still reported; and every block comes from the heap, whose blocks the
// leak checker reads for pointers (it does not read mappings of our own).
#ifdef ZO_POOL_ASAN
constexpr bool kMapBlocks = false;
void Poison(void* p, std::size_t n) {
    ASAN_POISON_MEMORY_REGION(p, n);
}
void Unpoison(void* p, std::size_t n) {
    ASAN_UNPOISON_MEMORY_REGION(p, n);
}
#else
constexpr bool kMapBlocks = true;
void Poison(void*, std::size_t) {}
void Unpoison(void*, std::size_t) {}
#endif

// Whether a block of this size is mapped on its own rather than taken from the heap.
bool Mapped(std::size_t blockBytes) {
    return kMapBlocks && blockBytes >= bigblocks::kHugePage;
}

}  // namespace

ItemPool::~ItemPool() {
    for (const Block& b : blocks_) {
        Unpoison(b.base, b.bytes);
        if (Mapped(b.bytes))
            bigblocks::Unmap(b.base, b.bytes);
        else
            ::operator delete(b.base);
    }
}

void ItemPool::NewBlock() {
    std::size_t bytes = blocks_.empty() ? kFirstBlock : blocks_.back().bytes * 2;
    if (bytes > kLastSmallBlock) bytes = bigblocks::kHugePage;
    blocks_.reserve(blocks_.size() + 1);  // so that the push below cannot throw
    const bool map = Mapped(bytes);
    void* base = map ? bigblocks::Map(bytes) : ::operator new(bytes);
    blocks_.push_back({base, bytes});
    held_ += bytes;
    if (map) mapped_ += bytes;
    next_ = static_cast<char*>(base);
    end_ = next_ + bytes;
}

// Sizes that round to the slot's; the pool passes any other to the heap.
bool ItemPool::Serves(std::size_t bytes) const {
    return bytes <= slot_ && slot_ - bytes < kAlign;
}

void* ItemPool::Allocate(std::size_t bytes) {
    if (slot_ == 0) slot_ = std::max((bytes + kAlign - 1) & ~(kAlign - 1), sizeof(FreeSlot));
    if (!Serves(bytes)) return ::operator new(bytes);
    if (free_ != nullptr) {
        FreeSlot* slot = free_;
        Unpoison(slot, slot_);
        free_ = slot->next;
        return slot;
    }
    if (static_cast<std::size_t>(end_ - next_) < slot_) NewBlock();
    void* slot = next_;
    next_ += slot_;
    return slot;
}

void ItemPool::Deallocate(void* p, std::size_t bytes) noexcept {
    if (!Serves(bytes)) {
        ::operator delete(p);
        return;
    }
    auto* slot = static_cast<FreeSlot*>(p);
    slot->next = free_;
    free_ = slot;
    Poison(slot, slot_);
}

}  // namespace zo
