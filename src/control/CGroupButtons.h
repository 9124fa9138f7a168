// One header strip's list of groups: their internal keys in display order. It holds keys,
// not groups, so a header entry never keeps a group alive and a removed group simply stops
// resolving.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/Variant.h"
#include "model/CGroup.h"
#include "model/OrderedKeyedList.h"

namespace zo {

class ZoButtonBar;

class CGroupButtons {
public:
    void init(std::weak_ptr<ZoButtonBar> aBtnBar) { owner_ = std::move(aBtnBar); }

    // Appends the key as the new last entry (entry and key are the same string).
    void AddGroupButton(const std::string& sGroupInternalKey);
    const OrderedKeyedList<std::string>& GroupButtons() const { return entries_; }
    // Removes the entry with that key; a missing key is ignored.
    void RemoveGroupButton(std::string_view sGroupName);
    void Clear() { entries_.Clear(); }

    // The group at a 1-based position (or under a key): nullptr when the control is gone or
    // no group has that internal key any more; a bad position raises 9, a bad key 5.
    GroupPtr Item(const Variant& Index) const;
    GroupPtr Item(std::int32_t position) const { return Item(Variant(position)); }
    std::int32_t Count() const { return entries_.Count(); }
    bool Contains(std::string_view internalKey) const { return entries_.Contains(internalKey); }

private:
    OrderedKeyedList<std::string> entries_;
    std::weak_ptr<ZoButtonBar> owner_;
};

}  // namespace zo
