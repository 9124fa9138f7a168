// Memory for the buttons of one control. A model of a hundred thousand buttons allocated one
// by one touches tens of megabytes of fresh 4 KiB pages, and on virtual machines each first
// touch costs more than the button's construction. The pool hands out equal slots from blocks
// that grow to 256 KiB and are then of 2 MiB, offered to the kernel for huge pages, and keeps a
// freed slot for the next button. Every button's allocator holds the pool, so the pool lives
// as long as the last button of its control, which a host may keep after the control is gone.
// A pool, like the model it serves, belongs to one thread.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

#include "core/Export.h"

namespace zo {

class ZO_API ItemPool {
public:
    ItemPool() = default;
    ItemPool(const ItemPool&) = delete;
    ItemPool& operator=(const ItemPool&) = delete;
    ~ItemPool();

    // A slot of `bytes`; the pool serves the size it was first asked for and passes any other
    // to operator new. Throws std::bad_alloc when the system has no memory.
    void* Allocate(std::size_t bytes);
    void Deallocate(void* p, std::size_t bytes) noexcept;

    // Bytes of all its blocks, and of those mapped outside the heap (the others come from
    // operator new and are counted by the heap's own statistics).
    std::size_t HeldBytes() const { return held_; }
    std::size_t MappedBytes() const { return mapped_; }

private:
    struct Block {
        void* base;
        std::size_t bytes;
    };
    struct FreeSlot {
        FreeSlot* next;
    };
    void NewBlock();
    bool Serves(std::size_t bytes) const;

    std::size_t slot_ = 0;
    std::vector<Block> blocks_;
    char* next_ = nullptr;
    char* end_ = nullptr;
    FreeSlot* free_ = nullptr;
    std::size_t held_ = 0;
    std::size_t mapped_ = 0;
};

// The standard allocator interface over a shared pool, for std::allocate_shared.
template <class T>
class ZO_API PoolAllocator {
public:
    using value_type = T;
    explicit PoolAllocator(std::shared_ptr<ItemPool> pool) noexcept : pool_(std::move(pool)) {}
    template <class U>
    PoolAllocator(const PoolAllocator<U>& other) noexcept : pool_(other.pool_) {}

    T* allocate(std::size_t n) {
        static_assert(alignof(T) <= alignof(void*));
        if (n != 1) return static_cast<T*>(::operator new(n * sizeof(T)));
        return static_cast<T*>(pool_->Allocate(sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept {
        if (n != 1)
            ::operator delete(p);
        else
            pool_->Deallocate(p, sizeof(T));
    }
    template <class U>
    bool operator==(const PoolAllocator<U>& other) const noexcept {
        return pool_ == other.pool_;
    }

private:
    template <class U>
    friend class PoolAllocator;
    std::shared_ptr<ItemPool> pool_;
};

}  // namespace zo
