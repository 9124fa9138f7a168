// One header strip's list of groups: their internal keys in display order. It holds keys,
// not groups, so a header entry never keeps a group alive and a removed group simply stops
// resolving.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Export.h"
#include "core/Variant.h"
#include "model/CGroup.h"

namespace zo {

class ZoButtonBar;

class ZO_API CGroupButtons {
public:
    void init(std::weak_ptr<ZoButtonBar> aBtnBar) { owner_ = std::move(aBtnBar); }

    // Appends the group's internal key as the new last entry.
    void AddGroupButton(const GroupPtr& aGroup);
    // Removes the entry with that key; a missing key is ignored.
    void RemoveGroupButton(std::string_view sGroupName);
    void Clear();

    // The group at a 1-based position (or under a key): nullptr when the control is gone or
    // no group has that internal key any more; a bad position raises 9, a bad key 5.
    GroupPtr Item(const Variant& Index) const;
    GroupPtr Item(std::int32_t position) const;
    std::int32_t Count() const { return static_cast<std::int32_t>(keys_.size()); }
    bool Contains(std::string_view internalKey) const;

    // ---- For the control's own walks, which must stay linear in the number of groups ----

    // Appends a group the caller has just found in Groups, with whether it is shown.
    void Append(CGroup& aGroup, bool shown);
    // Moves the boundary between two lists that together hold, in display order and all shown,
    // the groups a full rebuild would list, so that aGroup ends `upper`: a switch among
    // thousands of groups then moves entries without visiting a group. False, with both lists
    // untouched, when aGroup is in neither or a list's counts are not known to be current.
    static bool MoveBoundary(CGroupButtons& upper, CGroupButtons& lower, const CGroup& aGroup);
    // aGroup has just left Groups: its entry goes, and the others still stand for the groups
    // they stood for, so nothing needs to be looked up again.
    void GroupLeft(const CGroup& aGroup);
    // The groups in display order, nullptr where a group has left Groups. Valid until Groups
    // or the list change.
    std::span<CGroup* const> Resolved() const;
    // The number of entries whose group is shown, kept up to date as entries come and go.
    std::int32_t ShownCount() const;
    // Changes whenever an entry goes or may now stand for another group; appending leaves
    // it, so a reader that handled the first n entries knows they are still the first n.
    std::uint32_t Generation() const { return generation_; }

private:
    // What makes a kept answer still true: the removals from Groups, the visibility changes
    // and the ambient user mode, as they were when the answer was found.
    struct Stamp {
        std::uint32_t removals = 0;
        std::uint32_t visibility = 0;
        bool userMode = false;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };
    static Stamp StampOf(const ZoButtonBar& owner);
    // The control, while it and its Groups exist.
    std::shared_ptr<ZoButtonBar> Owner() const;
    void Recheck(const ZoButtonBar& owner) const;
    void Erase(std::size_t at);
    // The 0-based position of the entry under this internal key, or Count() when none.
    std::size_t PositionOf(std::string_view internalKey) const;

    std::vector<std::int32_t> keys_;       // internal key numbers ("INTERNAL_" + number)
    mutable std::vector<CGroup*> groups_;  // what each key was found to stand for
    mutable std::uint32_t checkedRemovals_ = 0;
    mutable bool checked_ = true;  // every entry resolved at checkedRemovals_
    mutable std::int32_t shown_ = 0;
    mutable Stamp shownStamp_;
    mutable bool shownKnown_ = false;
    mutable std::uint32_t generation_ = 0;
    std::weak_ptr<ZoButtonBar> owner_;
};

}  // namespace zo
