// Handle tables: every platform object is reached through a 32-bit handle made of a kind, a
// generation and a slot index. A stale, deleted or foreign handle is detected and yields
// nullptr, so the calls that take it fail softly instead of touching freed memory.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "core/Export.h"
#include "platform/Types.h"

namespace zo::plat {

// The kind occupies bits 28-30, the generation bits 20-27, the slot bits 0-19; bit 31 stays
// clear so that a handle is a positive 32-bit value, as hosts that keep handles in a Long expect.
enum class HandleKind : std::uint32_t {
    None = 0,
    DC = 1,
    Gdi = 2,  // pens, brushes, fonts, bitmaps, icons: one table, told apart by their own kind
    Window = 3,
    Module = 4,
    Timer = 5,
};

inline constexpr std::uint32_t kHandleSlotBits = 20;
inline constexpr std::uint32_t kHandleSlotMask = (1u << kHandleSlotBits) - 1;
inline constexpr std::uint32_t kHandleGenBits = 8;
inline constexpr std::uint32_t kHandleGenMask = (1u << kHandleGenBits) - 1;

constexpr HandleKind KindOfHandle(HANDLE h) {
    return static_cast<HandleKind>((h >> 28) & 0x7u);
}

template <class T, HandleKind Kind>
class ZO_API HandleTable {
public:
    HANDLE Add(std::unique_ptr<T> object) {
        std::uint32_t slot;
        if (!free_.empty()) {
            slot = free_.back();
            free_.pop_back();
        } else {
            if (slots_.size() > kHandleSlotMask - 1) return 0;
            slot = static_cast<std::uint32_t>(slots_.size());
            slots_.emplace_back();
        }
        Slot& s = slots_[slot];
        s.object = std::move(object);
        return Make(slot, s.generation);
    }

    T* Get(HANDLE h) const {
        if (h == 0 || KindOfHandle(h) != Kind) return nullptr;
        const std::uint32_t slot = h & kHandleSlotMask;
        // Slot 0 is never handed out, so that a handle is never 0 even for kind bits of 0.
        if (slot >= slots_.size()) return nullptr;
        const Slot& s = slots_[slot];
        if (!s.object || s.generation != ((h >> kHandleSlotBits) & kHandleGenMask)) return nullptr;
        return s.object.get();
    }

    // Removes the object and returns it, so the caller decides when it is destroyed.
    std::unique_ptr<T> Take(HANDLE h) {
        if (Get(h) == nullptr) return nullptr;
        const std::uint32_t slot = h & kHandleSlotMask;
        Slot& s = slots_[slot];
        std::unique_ptr<T> out = std::move(s.object);
        s.generation = (s.generation + 1) & kHandleGenMask;
        // Freed slots are reused last-in-first-out; the generation tells old handles apart.
        free_.push_back(slot);
        return out;
    }

    bool Remove(HANDLE h) { return Take(h) != nullptr; }

    std::size_t LiveCount() const { return slots_.size() - 1 - free_.size(); }

    template <class F>
    void ForEach(F&& f) const {
        for (std::uint32_t i = 1; i < slots_.size(); ++i)
            if (slots_[i].object) f(Make(i, slots_[i].generation), *slots_[i].object);
    }

    HandleTable() { slots_.emplace_back(); }

private:
    struct Slot {
        std::unique_ptr<T> object;
        std::uint32_t generation = 1;
    };
    static HANDLE Make(std::uint32_t slot, std::uint32_t gen) {
        return (static_cast<std::uint32_t>(Kind) << 28) | (gen << kHandleSlotBits) | slot;
    }
    std::vector<Slot> slots_;
    std::vector<std::uint32_t> free_;
};

}  // namespace zo::plat
