#include "model/CGroups.h"

#include <utility>

#include "model/CButtons.h"
#include "model/Listeners.h"

namespace zo {

GroupPtr CGroups::Add(std::string sCaption, std::string sTooltipText, std::string_view sKey) {
    std::string key = Trim(sKey);
    CheckNewKey(key);
    auto group = std::make_shared<CGroup>();
    Append(group, key);
    if (auto owner = owner_.lock()) {
        group->init(owner_, std::move(sCaption), std::move(sTooltipText), key);
        owner->GroupAdded(group);
    }
    return group;
}

void CGroups::Remove(const Variant& vntIndexKey) {
    // Checked before the argument is looked at: the last group stays whatever is asked.
    if (Count() < 2) RaiseObjectError("Can't remove all groups fromt eh control");
    GroupPtr removed = RemoveItem(vntIndexKey);
    if (auto owner = owner_.lock()) owner->GroupRemoved(removed);
}

bool CGroups::SetNewIndex(const GroupPtr& aGroup, std::int32_t Index) {
    Reindex(aGroup, Index, "Invalid Group object", "Alien Group specified");
    if (auto owner = owner_.lock()) owner->GroupReIndexed(aGroup);
    return true;
}

GroupPtr CGroups::ItemByInternalKey(std::string_view sInternalKey) const {
    return ItemByInternalKey(InternalNumber(sInternalKey).value);
}

GroupPtr CGroups::ItemByInternalKey(std::int32_t number) const {
    const GroupPtr* found = items_.Find(ItemNumber{number});
    return found ? *found : nullptr;
}

}  // namespace zo
