// The ordered keyed list under the collections and the header lists: entries in a fixed
// order with 1-based positions, each optionally under a string key that is unique in the
// list without regard to letter case. Position and key look-ups take constant time on
// average; inserting or removing in the middle shifts the later entries (their values and a
// four-byte record number each), but not the key index.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Error.h"
#include "core/Export.h"
#include "core/KeyCompare.h"

namespace zo {

template <class T>
class ZO_API OrderedKeyedList {
public:
    std::int32_t Count() const { return static_cast<std::int32_t>(values_.size()); }
    // Changes with every insertion and removal, so a reader can tell that the order it saw
    // is still the order now.
    std::uint32_t Revision() const { return revision_; }
    // Changes with every removal only: a key found once stands for the same entry until then.
    std::uint32_t Removals() const { return removals_; }

    // Appends value (under key when it is not empty). A key already present raises 457.
    void Add(T value, std::string key = {}) {
        InsertAt(values_.size(), std::move(value), std::move(key));
    }

    // Inserts value before the 1-based position `before` (1..Count); raises 9 otherwise.
    void Insert(std::int32_t before, T value, std::string key = {}) {
        if (before < 1 || before > Count()) RaiseRuntimeError(kErrSubscript);
        InsertAt(static_cast<std::size_t>(before - 1), std::move(value), std::move(key));
    }

    // The entry at a 1-based position; raises 9 when there is none.
    const T& Item(std::int32_t position) const {
        if (position < 1 || position > Count()) RaiseRuntimeError(kErrSubscript);
        return values_[static_cast<std::size_t>(position - 1)];
    }

    // The entry under key; raises 5 when there is none.
    const T& Item(std::string_view key) const {
        const T* found = Find(key);
        if (found == nullptr) RaiseRuntimeError(kErrInvalidCall);
        return *found;
    }

    const T* Find(std::string_view key) const {
        const std::int32_t pos = PositionOf(key);
        return pos == 0 ? nullptr : &values_[static_cast<std::size_t>(pos - 1)];
    }

    bool Contains(std::string_view key) const { return PositionOf(key) != 0; }

    // The 1-based position of the entry under key, 0 when there is none.
    std::int32_t PositionOf(std::string_view key) const {
        if (key.empty() || keyed_ == 0) return 0;
        const std::size_t mask = index_.size() - 1;
        for (std::size_t i = KeyHash(key) & mask;; i = (i + 1) & mask) {
            const std::int32_t id = index_[i];
            if (id < 0) return 0;
            const KeyRecord& r = records_[static_cast<std::size_t>(id)];
            if (KeysEqual(r.key, key)) return r.position + 1;
        }
    }

    const std::string& KeyAt(std::int32_t position) const {
        if (position < 1 || position > Count()) RaiseRuntimeError(kErrSubscript);
        const std::int32_t id = keyOf_[static_cast<std::size_t>(position - 1)];
        static const std::string none;
        return id < 0 ? none : records_[static_cast<std::size_t>(id)].key;
    }

    // Removes the entry at a 1-based position (raises 9) or under a key (raises 5).
    void Remove(std::int32_t position) {
        if (position < 1 || position > Count()) RaiseRuntimeError(kErrSubscript);
        RemoveAt(static_cast<std::size_t>(position - 1));
    }
    void Remove(std::string_view key) {
        const std::int32_t pos = PositionOf(key);
        if (pos == 0) RaiseRuntimeError(kErrInvalidCall);
        RemoveAt(static_cast<std::size_t>(pos - 1));
    }

    void Clear() {
        ++revision_;
        ++removals_;
        values_.clear();
        keyOf_.clear();
        records_.clear();
        free_.clear();
        index_.clear();
        keyed_ = 0;
    }

    using const_iterator = typename std::vector<T>::const_iterator;
    const_iterator begin() const { return values_.begin(); }
    const_iterator end() const { return values_.end(); }

private:
    // A key and where its entry stands now. Records stay where they are while entries move,
    // so the index (which holds record numbers) never changes when an entry is inserted or
    // removed before others: only the positions of the entries after it are written again,
    // in one pass over a list of four-byte numbers.
    struct KeyRecord {
        std::string key;
        std::int32_t position = -1;  // 0-based; -1 while the record is free
    };

    void InsertAt(std::size_t at, T value, std::string key) {
        const bool keyed = !key.empty();
        if (keyed && Contains(key)) RaiseRuntimeError(kErrDuplicateKey);
        ++revision_;
        if (keyed && (keyed_ + 1) * 2 > index_.size())
            Rehash(index_.empty() ? 8 : index_.size() * 2);
        // Room first (growing by doubling), so nothing below can fail half-way.
        if (values_.size() == values_.capacity()) values_.reserve(values_.size() * 2 + 8);
        if (keyOf_.size() == keyOf_.capacity()) keyOf_.reserve(keyOf_.size() * 2 + 8);
        std::int32_t id = -1;
        if (keyed) {
            if (free_.empty()) {
                records_.emplace_back();
                free_.push_back(static_cast<std::int32_t>(records_.size() - 1));
            }
            id = free_.back();
            free_.pop_back();
            records_[static_cast<std::size_t>(id)].key = std::move(key);
        }
        values_.insert(values_.begin() + static_cast<std::ptrdiff_t>(at), std::move(value));
        keyOf_.insert(keyOf_.begin() + static_cast<std::ptrdiff_t>(at), id);
        if (keyed) ++keyed_;
        Renumber(at);
        if (keyed) Place(id);
    }

    void RemoveAt(std::size_t at) {
        ++revision_;
        ++removals_;
        const std::int32_t id = keyOf_[at];
        if (id >= 0) {
            Unplace(id);
            --keyed_;
            KeyRecord& r = records_[static_cast<std::size_t>(id)];
            r.key = std::string();
            r.position = -1;
            free_.push_back(id);
        }
        values_.erase(values_.begin() + static_cast<std::ptrdiff_t>(at));
        keyOf_.erase(keyOf_.begin() + static_cast<std::ptrdiff_t>(at));
        Renumber(at);
    }

    // The records of the entries from `from` on learn their positions.
    void Renumber(std::size_t from) {
        if (keyed_ == 0) return;
        for (std::size_t e = from; e < keyOf_.size(); ++e)
            if (keyOf_[e] >= 0)
                records_[static_cast<std::size_t>(keyOf_[e])].position =
                    static_cast<std::int32_t>(e);
    }

    std::size_t Home(std::int32_t id) const {
        return KeyHash(records_[static_cast<std::size_t>(id)].key) & (index_.size() - 1);
    }

    void Place(std::int32_t id) {
        const std::size_t mask = index_.size() - 1;
        std::size_t i = Home(id);
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
        for (const std::int32_t id : keyOf_)
            if (id >= 0) Place(id);
    }

    std::vector<T> values_;            // in display order
    std::vector<std::int32_t> keyOf_;  // record of each entry, -1 when it has no key
    std::vector<KeyRecord> records_;   // stable; free ones listed in free_
    std::vector<std::int32_t> free_;
    std::vector<std::int32_t> index_;  // open-addressed record numbers, -1 = free
    std::size_t keyed_ = 0;
    std::uint32_t revision_ = 0;
    std::uint32_t removals_ = 0;
};

}  // namespace zo
