// What CGroups and CButtons share: items in display order under their internal keys, a key
// map from user keys to internal keys, and the rules for finding, re-ordering and re-keying.
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

#include "core/Error.h"
#include "core/Export.h"
#include "core/Object.h"
#include "core/Variant.h"
#include "model/OrderedKeyedList.h"

namespace zo {

class ItemOwner;

template <class T>
class ZO_API ItemCollection : public Object {
public:
    using ItemPtr = std::shared_ptr<T>;

    std::int32_t Count() const { return items_.Count(); }

    // A number is a 1-based position. A string that reads as a number is taken as an internal
    // key (and so normally fails with 5); any other string is a user key first, an internal
    // key second.
    ItemPtr Item(const Variant& vntIndexKey) const {
        if (IsNumeric(vntIndexKey)) {
            if (vntIndexKey.IsString())
                return items_.Item(InternalNumber(vntIndexKey.AsStringRef()));
            std::int32_t position;
            try {
                position = vntIndexKey.ToLong();
            } catch (const Error&) {
                RaiseRuntimeError(kErrSubscript);  // a position beyond the 32-bit range
            }
            return items_.Item(position);
        }
        if (vntIndexKey.IsObject()) RaiseRuntimeError(kErrInvalidCall);
        return ItemByKeyText(vntIndexKey.ToText());
    }
    ItemPtr Item(std::int32_t position) const { return items_.Item(position); }
    ItemPtr Item(std::string_view key) const { return Item(Variant(key)); }
    ItemPtr Item(const char* key) const { return Item(Variant(key)); }
    ItemPtr Item(const std::string& key) const { return Item(Variant(key)); }

    // --- Used only inside the component ---

    // Moves aItem's user key in the key map; False when sNewKey is already in use.
    bool ChangeKey(const ItemPtr& aItem, const std::string& sNewKey, const std::string& sOldKey) {
        if (!sNewKey.empty()) {
            if (keys_.Contains(sNewKey)) return false;
            if (!sOldKey.empty() && keys_.Contains(sOldKey)) keys_.Remove(sOldKey);
            if (aItem) keys_.Add(ItemNumber{aItem->InternalKeyNumber()}, sNewKey);
            return true;
        }
        if (keys_.Contains(sOldKey)) keys_.Remove(sOldKey);
        return true;
    }

    // A hint that n items will soon be added; counts past a few thousand are taken as that
    // many, so a wrong count costs little memory.
    void Reserve(std::int32_t n) {
        constexpr std::int32_t kMost = 4096;
        if (n > 0)
            items_.Reserve(static_cast<std::size_t>(Count()) +
                           static_cast<std::size_t>(n < kMost ? n : kMost));
    }

    // The number of the last internal key given out; it only ever grows.
    std::int32_t KeyCounter() const { return keyCounter_; }

    class iterator {
    public:
        using value_type = ItemPtr;
        using difference_type = std::ptrdiff_t;
        iterator() = default;
        iterator(const ItemCollection* c, std::int32_t pos) : c_(c), pos_(pos) {}
        ItemPtr operator*() const { return c_->items_.Item(pos_); }
        iterator& operator++() {
            ++pos_;
            return *this;
        }
        // Walking by position keeps the loop safe when a handler changes the collection:
        // it ends as soon as the position passes the current count.
        bool operator==(const iterator& o) const {
            return AtEnd() == o.AtEnd() && (AtEnd() || pos_ == o.pos_);
        }

    private:
        bool AtEnd() const { return c_ == nullptr || pos_ > c_->Count(); }
        const ItemCollection* c_ = nullptr;
        std::int32_t pos_ = 1;
    };
    // The items in display order without copying their pointers, for loops that cannot change
    // the collection while they run (layout and painting). Code that may call out to a host
    // walks the collection itself instead.
    const OrderedKeyedList<ItemPtr, ItemNumber>& Entries() const { return items_; }

    // Range-for walking in display order (the collection's enumerator).
    iterator begin() const { return iterator(this, 1); }
    iterator end() const { return iterator(this, std::numeric_limits<std::int32_t>::max()); }

protected:
    ItemPtr ItemByKeyText(const std::string& key) const {
        if (const ItemNumber* internal = keys_.Find(key)) return items_.Item(*internal);
        return items_.Item(InternalNumber(key));
    }

    // Checks a new item's stripped key and that an internal key is left to hand out.
    void CheckNewKey(const std::string& strippedKey) const {
        if (!strippedKey.empty() && keys_.Contains(strippedKey))
            RaiseObjectError("Duplicate key specified.");
        if (keyCounter_ == std::numeric_limits<std::int32_t>::max())
            RaiseRuntimeError(kErrOverflow);
    }

    // Adds an item checked by CheckNewKey under the next internal key.
    void Append(const ItemPtr& item, const std::string& userKey) {
        // Both lists are checked before anything changes, so a failure leaves no trace.
        const ItemNumber number{keyCounter_ + 1};
        if (!userKey.empty()) keys_.Add(number, userKey);
        items_.Add(item, number);
        ++keyCounter_;
        item->SetInternalKey(number.value);
    }

    ItemPtr RemoveItem(const Variant& vntIndexKey) {
        ItemPtr item = Item(vntIndexKey);
        if (!item->Key().empty() && keys_.Contains(item->Key())) keys_.Remove(item->Key());
        items_.Remove(ItemNumber{item->InternalKeyNumber()});
        return item;
    }

    void Reindex(const ItemPtr& aItem, std::int32_t index, const char* invalidText,
                 const char* alienText) {
        if (!aItem) RaiseObjectError(invalidText);
        if (index < 1 || index > Count()) RaiseObjectError("Invalid index specified");
        const ItemNumber internalKey{aItem->InternalKeyNumber()};
        if (items_.Item(internalKey) != aItem) RaiseObjectError(alienText);
        items_.Remove(internalKey);
        if (index <= items_.Count())
            items_.Insert(index, aItem, internalKey);
        else
            items_.Add(aItem, internalKey);
    }

    void ClearAll() {
        items_.Clear();
        keys_.Clear();
    }

    std::int32_t keyCounter_ = 0;
    OrderedKeyedList<ItemPtr, ItemNumber> items_;
    OrderedKeyedList<ItemNumber> keys_;  // user key -> internal key
    std::weak_ptr<ItemOwner> owner_;
};

}  // namespace zo
