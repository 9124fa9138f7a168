// The ordered keyed list under the collections and the header lists: entries in a fixed
// order with 1-based positions, each optionally under a key that is unique in the list: a
// string, compared without regard to letter case, or an item's number (the collections' own
// items, whose internal keys are "INTERNAL_" and a number). Position and key look-ups take
// constant time on average. Entries live in slots that never move; the order is a list of
// four-byte slot numbers, so inserting or removing in the middle shifts only those numbers, and
// removing under a key also looks for its slot among them.
#pragma once

#include <cstdint>
#include <iterator>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Error.h"
#include "core/Export.h"
#include "core/KeyCompare.h"

namespace zo {

// The number an item of a collection is known by inside it; 0 is none.
struct ZO_API ItemNumber {
    std::int32_t value = 0;
    friend bool operator==(ItemNumber, ItemNumber) = default;
};

// An item's internal key as text: "INTERNAL_" and its number; the empty text for none.
inline std::string InternalKeyText(ItemNumber number) {
    return number.value == 0 ? std::string() : "INTERNAL_" + std::to_string(number.value);
}

// The number whose internal key this text is, in any letter case, or none: the number must be
// written as InternalKeyText writes it (no sign, no leading zero, within 32 bits).
inline ItemNumber InternalNumber(std::string_view text) {
    constexpr std::string_view kPrefix = "INTERNAL_";
    if (text.size() <= kPrefix.size() || text.size() > kPrefix.size() + 10 ||
        !KeysEqual(text.substr(0, kPrefix.size()), kPrefix) || text[kPrefix.size()] == '0')
        return {};
    std::int64_t n = 0;
    for (const char c : text.substr(kPrefix.size())) {
        if (c < '0' || c > '9') return {};
        n = n * 10 + (c - '0');
    }
    return n <= std::numeric_limits<std::int32_t>::max() ? ItemNumber{static_cast<std::int32_t>(n)}
                                                         : ItemNumber{};
}

// How a key is passed, hashed, compared and told absent.
template <class Key>
struct KeyTraits;
template <>
struct ZO_API KeyTraits<std::string> {
    using View = std::string_view;
    static bool None(View k) { return k.empty(); }
    static std::uint64_t Hash(View k) { return KeyHash(k); }
    static bool Equal(View a, View b) { return KeysEqual(a, b); }
};
template <>
struct ZO_API KeyTraits<ItemNumber> {
    using View = ItemNumber;
    static bool None(View k) { return k.value == 0; }
    // Fibonacci hashing, high bits down: numbers given out one after another spread evenly.
    static std::uint64_t Hash(View k) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(k.value)) *
                0x9E3779B97F4A7C15ull) >>
               32;
    }
    static bool Equal(View a, View b) { return a == b; }
};

template <class T, class Key = std::string>
class ZO_API OrderedKeyedList {
    using Traits = KeyTraits<Key>;
    using KeyView = typename Traits::View;

public:
    std::int32_t Count() const { return static_cast<std::int32_t>(order_.size()); }
    // Changes with every insertion and removal, so a reader can tell that the order it saw
    // is still the order now.
    std::uint32_t Revision() const { return revision_; }
    // Changes with every removal only: a key found once stands for the same entry until then.
    std::uint32_t Removals() const { return removals_; }

    // Appends value (under key when it is not empty). A key already present raises 457.
    void Add(T value, Key key = {}) { InsertAt(order_.size(), std::move(value), std::move(key)); }

    // Inserts value before the 1-based position `before` (1..Count); raises 9 otherwise.
    void Insert(std::int32_t before, T value, Key key = {}) {
        if (before < 1 || before > Count()) RaiseRuntimeError(kErrSubscript);
        InsertAt(static_cast<std::size_t>(before - 1), std::move(value), std::move(key));
    }

    // The entry at a 1-based position; raises 9 when there is none.
    const T& Item(std::int32_t position) const {
        if (position < 1 || position > Count()) RaiseRuntimeError(kErrSubscript);
        return slots_[static_cast<std::size_t>(order_[static_cast<std::size_t>(position - 1)])];
    }

    // The entry under key; raises 5 when there is none.
    const T& Item(KeyView key) const {
        const T* found = Find(key);
        if (found == nullptr) RaiseRuntimeError(kErrInvalidCall);
        return *found;
    }

    const T* Find(KeyView key) const {
        const std::int32_t slot = SlotOf(key);
        return slot < 0 ? nullptr : &slots_[static_cast<std::size_t>(slot)];
    }

    bool Contains(KeyView key) const { return SlotOf(key) >= 0; }

    // The 1-based position of the entry under key, 0 when there is none. It looks through
    // the order, so callers that walk the list should not ask it for every entry.
    std::int32_t PositionOf(KeyView key) const {
        const std::int32_t slot = SlotOf(key);
        return slot < 0 ? 0 : PositionOfSlot(slot) + 1;
    }

    const Key& KeyAt(std::int32_t position) const {
        if (position < 1 || position > Count()) RaiseRuntimeError(kErrSubscript);
        const std::int32_t id =
            recordOf_[static_cast<std::size_t>(order_[static_cast<std::size_t>(position - 1)])];
        static const Key none{};
        return id < 0 ? none : records_[static_cast<std::size_t>(id)].key;
    }

    // Removes the entry at a 1-based position (raises 9) or under a key (raises 5).
    void Remove(std::int32_t position) {
        if (position < 1 || position > Count()) RaiseRuntimeError(kErrSubscript);
        RemoveAt(static_cast<std::size_t>(position - 1));
    }
    void Remove(KeyView key) {
        const std::int32_t slot = SlotOf(key);
        if (slot < 0) RaiseRuntimeError(kErrInvalidCall);
        RemoveAt(static_cast<std::size_t>(PositionOfSlot(slot)));
    }

    // Room for n keyed entries in all, so that adding up to n grows nothing: a loader knows
    // its counts, and growing by doubling touches about twice the memory.
    void Reserve(std::size_t n) {
        order_.reserve(n);
        slots_.reserve(n);
        recordOf_.reserve(n);
        records_.reserve(n);
        std::size_t size = index_.empty() ? 8 : index_.size();
        while (size < n * 2)
            size *= 2;
        if (size > index_.size()) Rehash(size);
    }

    void Clear() {
        ++revision_;
        ++removals_;
        order_.clear();
        slots_.clear();
        recordOf_.clear();
        freeSlots_.clear();
        records_.clear();
        free_.clear();
        index_.clear();
        keyed_ = 0;
    }

    // Walks the entries in display order.
    class const_iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = const T*;
        using reference = const T&;
        const_iterator() = default;
        const_iterator(const OrderedKeyedList* l, const std::int32_t* at) : l_(l), at_(at) {}
        const T& operator*() const { return l_->slots_[static_cast<std::size_t>(*at_)]; }
        const T* operator->() const { return &**this; }
        const T& operator[](difference_type n) const {
            return l_->slots_[static_cast<std::size_t>(at_[n])];
        }
        const_iterator& operator++() {
            ++at_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator old = *this;
            ++at_;
            return old;
        }
        const_iterator operator+(difference_type n) const { return const_iterator(l_, at_ + n); }
        difference_type operator-(const const_iterator& o) const { return at_ - o.at_; }
        bool operator==(const const_iterator& o) const { return at_ == o.at_; }

    private:
        const OrderedKeyedList* l_ = nullptr;
        const std::int32_t* at_ = nullptr;
    };
    const_iterator begin() const { return const_iterator(this, order_.data()); }
    const_iterator end() const { return const_iterator(this, order_.data() + order_.size()); }

private:
    // A key and the slot of its entry. Slots stay where they are while entries move, so
    // neither the index (which holds record numbers) nor the records change when an entry is
    // inserted or removed before others.
    struct KeyRecord {
        Key key;
        std::int32_t slot = -1;  // -1 while the record is free
    };

    std::int32_t SlotOf(KeyView key) const {
        return Traits::None(key) || keyed_ == 0 ? -1 : SlotOf(key, Traits::Hash(key));
    }
    std::int32_t SlotOf(KeyView key, std::uint64_t hash) const {
        if (keyed_ == 0) return -1;
        const std::size_t mask = index_.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const std::int32_t id = index_[i];
            if (id < 0) return -1;
            const KeyRecord& r = records_[static_cast<std::size_t>(id)];
            if (Traits::Equal(r.key, key)) return r.slot;
        }
    }

    // 0-based; the slot is known to be in use.
    std::int32_t PositionOfSlot(std::int32_t slot) const {
        std::size_t i = 0;
        while (order_[i] != slot)
            ++i;
        return static_cast<std::int32_t>(i);
    }

    void InsertAt(std::size_t at, T value, Key key) {
        const bool keyed = !Traits::None(key);
        const std::uint64_t hash = keyed ? Traits::Hash(key) : 0;
        if (keyed && SlotOf(key, hash) >= 0) RaiseRuntimeError(kErrDuplicateKey);
        // Room first, so nothing below can fail half-way.
        if (keyed && (keyed_ + 1) * 2 > index_.size())
            Rehash(index_.empty() ? 8 : index_.size() * 2);
        Grow(order_);
        if (freeSlots_.empty()) {
            Grow(slots_);
            recordOf_.reserve(slots_.capacity());
        }
        if (keyed && free_.empty()) Grow(records_);
        ++revision_;
        std::int32_t id = -1;
        if (keyed) {
            if (free_.empty()) {
                id = static_cast<std::int32_t>(records_.size());
                records_.emplace_back();
            } else {
                id = free_.back();
                free_.pop_back();
            }
            records_[static_cast<std::size_t>(id)].key = std::move(key);
        }
        std::int32_t slot;
        if (freeSlots_.empty()) {
            slot = static_cast<std::int32_t>(slots_.size());
            slots_.push_back(std::move(value));
            recordOf_.push_back(id);
        } else {
            slot = freeSlots_.back();
            freeSlots_.pop_back();
            slots_[static_cast<std::size_t>(slot)] = std::move(value);
            recordOf_[static_cast<std::size_t>(slot)] = id;
        }
        order_.insert(order_.begin() + static_cast<std::ptrdiff_t>(at), slot);
        if (keyed) {
            records_[static_cast<std::size_t>(id)].slot = slot;
            ++keyed_;
            Place(id, hash);
        }
    }

    void RemoveAt(std::size_t at) {
        Grow(freeSlots_);
        Grow(free_);
        ++revision_;
        ++removals_;
        const std::int32_t slot = order_[at];
        const std::int32_t id = recordOf_[static_cast<std::size_t>(slot)];
        if (id >= 0) {
            Unplace(id);
            --keyed_;
            KeyRecord& r = records_[static_cast<std::size_t>(id)];
            r.key = Key();
            r.slot = -1;
            free_.push_back(id);
        }
        order_.erase(order_.begin() + static_cast<std::ptrdiff_t>(at));
        // The value goes now: a removed item must not stay alive in a free slot.
        slots_[static_cast<std::size_t>(slot)] = T();
        recordOf_[static_cast<std::size_t>(slot)] = -1;
        freeSlots_.push_back(slot);
    }

    // Makes room for one more element, doubling, so that the push that follows cannot throw.
    template <class V>
    static void Grow(V& v) {
        if (v.size() == v.capacity()) v.reserve(v.size() * 2 + 8);
    }

    std::size_t Home(std::int32_t id) const {
        return Traits::Hash(records_[static_cast<std::size_t>(id)].key) & (index_.size() - 1);
    }

    void Place(std::int32_t id) {
        Place(id, Traits::Hash(records_[static_cast<std::size_t>(id)].key));
    }
    void Place(std::int32_t id, std::uint64_t hash) {
        const std::size_t mask = index_.size() - 1;
        std::size_t i = hash & mask;
        while (index_[i] >= 0)
            i = (i + 1) & mask;
        index_[i] = id;
    }

    // Linear probing with backward-shift deletion, so no tombstones accumulate.
    void Unplace(std::int32_t id) {
        const std::size_t mask = index_.size() - 1;
        std::size_t i = Home(id);
        while (index_[i] != id)
            i = (i + 1) & mask;
        std::size_t hole = i;
        index_[hole] = -1;
        for (std::size_t j = (hole + 1) & mask; index_[j] >= 0; j = (j + 1) & mask) {
            const std::size_t home = Home(index_[j]);
            // Move j into the hole when its home does not lie in (hole, j] cyclically.
            const bool between =
                hole <= j ? (home > hole && home <= j) : (home > hole || home <= j);
            if (!between) {
                index_[hole] = index_[j];
                index_[j] = -1;
                hole = j;
            }
        }
    }

    void Rehash(std::size_t size) {
        index_.assign(size, -1);
        for (const std::int32_t slot : order_)
            if (const std::int32_t id = recordOf_[static_cast<std::size_t>(slot)]; id >= 0)
                Place(id);
    }

    std::vector<std::int32_t> order_;     // the slot of each entry, in display order
    std::vector<T> slots_;                // values; free ones hold T() and are listed below
    std::vector<std::int32_t> recordOf_;  // key record of each slot, -1 when it has none
    std::vector<std::int32_t> freeSlots_;
    std::vector<KeyRecord> records_;  // stable; free ones listed in free_
    std::vector<std::int32_t> free_;
    std::vector<std::int32_t> index_;  // open-addressed record numbers, -1 = free
    std::size_t keyed_ = 0;
    std::uint32_t revision_ = 0;
    std::uint32_t removals_ = 0;
};

}  // namespace zo
