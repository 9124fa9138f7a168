// One header strip's list of groups: their internal keys in display order. It holds keys,
// not groups, so a header entry never keeps a group alive and a removed group simply stops
// resolving.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/Export.h"
#include "core/Variant.h"
#include "model/CGroup.h"
#include "model/OrderedKeyedList.h"

namespace zo {

class ZoButtonBar;

class ZO_API CGroupButtons {
public:
    void init(std::weak_ptr<ZoButtonBar> aBtnBar) { owner_ = std::move(aBtnBar); }

    // Appends the group's internal key as the new last entry.
    void AddGroupButton(const GroupPtr& aGroup);
    // Removes the entry with that key; a missing key is ignored.
    void RemoveGroupButton(std::string_view sGroupName);
    void Clear() { entries_.Clear(); }

    // The group at a 1-based position (or under a key): nullptr when the control is gone or
    // no group has that internal key any more; a bad position raises 9, a bad key 5.
    GroupPtr Item(const Variant& Index) const;
    GroupPtr Item(std::int32_t position) const;
    std::int32_t Count() const { return entries_.Count(); }
    bool Contains(std::string_view internalKey) const { return entries_.Contains(internalKey); }

private:
    // The group a key was last found to stand for, and the groups' removal count then: the
    // answer holds until a group is removed, which saves a look-up on every header drawn.
    struct Entry {
        std::string key;
        mutable std::weak_ptr<CGroup> group;
        mutable std::uint32_t removals = 0;
        mutable bool resolved = false;
    };
    GroupPtr Resolve(const Entry& e) const;

    OrderedKeyedList<Entry> entries_;
    std::weak_ptr<ZoButtonBar> owner_;
};

}  // namespace zo
