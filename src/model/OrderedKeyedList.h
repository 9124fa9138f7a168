// The ordered keyed list under the collections and the header lists: entries in a fixed
// order with 1-based positions, each optionally under a string key that is unique in the
// list without regard to letter case. Position and key look-ups take constant time on
// average; inserting or removing in the middle shifts the later entries.
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
    struct Entry {
        std::string key;
        T value;
    };

public:
    std::int32_t Count() const { return static_cast<std::int32_t>(entries_.size()); }
    // Changes with every insertion and removal, so a reader can tell that the order it saw
    // is still the order now.
    std::uint32_t Revision() const { return revision_; }
    // Changes with every removal only: a key found once stands for the same entry until then.
    std::uint32_t Removals() const { return removals_; }

    // Appends value (under key when it is not empty). A key already present raises 457.
    void Add(T value, std::string key = {}) {
        InsertAt(entries_.size(), std::move(value), std::move(key));
    }

    // Inserts value before the 1-based position `before` (1..Count); raises 9 otherwise.
    void Insert(std::int32_t before, T value, std::string key = {}) {
        if (before < 1 || before > Count()) RaiseRuntimeError(kErrSubscript);
        InsertAt(static_cast<std::size_t>(before - 1), std::move(value), std::move(key));
    }

    // The entry at a 1-based position; raises 9 when there is none.
    const T& Item(std::int32_t position) const {
        if (position < 1 || position > Count()) RaiseRuntimeError(kErrSubscript);
        return entries_[static_cast<std::size_t>(position - 1)].value;
    }

    // The entry under key; raises 5 when there is none.
    const T& Item(std::string_view key) const {
        const T* found = Find(key);
        if (found == nullptr) RaiseRuntimeError(kErrInvalidCall);
        return *found;
    }

    const T* Find(std::string_view key) const {
        const std::int32_t pos = PositionOf(key);
        return pos == 0 ? nullptr : &entries_[static_cast<std::size_t>(pos - 1)].value;
    }

    bool Contains(std::string_view key) const { return PositionOf(key) != 0; }

    // The 1-based position of the entry under key, 0 when there is none.
    std::int32_t PositionOf(std::string_view key) const {
        if (key.empty() || keyed_ == 0) return 0;
        const std::size_t mask = index_.size() - 1;
        for (std::size_t i = KeyHash(key) & mask;; i = (i + 1) & mask) {
            const std::int32_t e = index_[i];
            if (e < 0) return 0;
            if (KeysEqual(entries_[static_cast<std::size_t>(e)].key, key)) return e + 1;
        }
    }

    const std::string& KeyAt(std::int32_t position) const {
        if (position < 1 || position > Count()) RaiseRuntimeError(kErrSubscript);
        return entries_[static_cast<std::size_t>(position - 1)].key;
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
        entries_.clear();
        index_.clear();
        keyed_ = 0;
    }

    class const_iterator {
    public:
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        const_iterator() = default;
        explicit const_iterator(typename std::vector<Entry>::const_iterator it) : it_(it) {}
        const T& operator*() const { return it_->value; }
        const T* operator->() const { return &it_->value; }
        const_iterator& operator++() {
            ++it_;
            return *this;
        }
        bool operator==(const const_iterator& o) const { return it_ == o.it_; }

    private:
        typename std::vector<Entry>::const_iterator it_;
    };
    const_iterator begin() const { return const_iterator(entries_.begin()); }
    const_iterator end() const { return const_iterator(entries_.end()); }

private:
    void InsertAt(std::size_t at, T value, std::string key) {
        const bool keyed = !key.empty();
        if (keyed && Contains(key)) RaiseRuntimeError(kErrDuplicateKey);
        ++revision_;
        if (keyed && (keyed_ + 1) * 2 > index_.size())
            Rehash(index_.empty() ? 8 : index_.size() * 2);
        if (at < entries_.size() && keyed_ > 0)
            for (std::int32_t& e : index_)
                if (e >= static_cast<std::int32_t>(at)) ++e;
        entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at),
                        Entry{std::move(key), std::move(value)});
        if (keyed) {
            Place(static_cast<std::int32_t>(at));
            ++keyed_;
        }
    }

    void RemoveAt(std::size_t at) {
        ++revision_;
        ++removals_;
        if (!entries_[at].key.empty()) {
            Unplace(static_cast<std::int32_t>(at));
            --keyed_;
        }
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(at));
        if (at < entries_.size() && keyed_ > 0)
            for (std::int32_t& e : index_)
                if (e > static_cast<std::int32_t>(at)) --e;
    }

    std::size_t Home(std::int32_t e) const {
        return KeyHash(entries_[static_cast<std::size_t>(e)].key) & (index_.size() - 1);
    }

    void Place(std::int32_t e) {
        const std::size_t mask = index_.size() - 1;
        std::size_t i = Home(e);
        while (index_[i] >= 0)
            i = (i + 1) & mask;
        index_[i] = e;
    }

    // Linear probing with backward-shift deletion, so no tombstones accumulate.
    void Unplace(std::int32_t e) {
        const std::size_t mask = index_.size() - 1;
        std::size_t i = Home(e);
        while (index_[i] != e)
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
        for (std::size_t e = 0; e < entries_.size(); ++e)
            if (!entries_[e].key.empty()) Place(static_cast<std::int32_t>(e));
    }

    std::vector<Entry> entries_;
    std::vector<std::int32_t> index_;  // open-addressed: 0-based entry positions, -1 = free
    std::size_t keyed_ = 0;
    std::uint32_t revision_ = 0;
    std::uint32_t removals_ = 0;
};

}  // namespace zo
