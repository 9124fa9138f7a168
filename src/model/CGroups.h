// The groups of one control, in display order, found by position or by a user key that is
// unique within the control. The last group can never be removed.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/Export.h"
#include "model/CGroup.h"
#include "model/ItemCollection.h"

namespace zo {

class ZO_API CGroups : public ItemCollection<CGroup> {
public:
    std::string_view TypeName() const override { return "CGroups"; }

    GroupPtr Add(std::string sCaption, std::string sTooltipText = {}, std::string_view sKey = {});

    void Remove(const Variant& vntIndexKey);
    void Remove(std::int32_t position) { Remove(Variant(position)); }
    void Remove(std::string_view key) { Remove(Variant(key)); }
    void Remove(const char* key) { Remove(Variant(key)); }
    void Remove(const std::string& key) { Remove(Variant(key)); }

    bool SetNewIndex(const GroupPtr& aGroup, std::int32_t Index);

    // --- Used only inside the component ---
    void init(std::weak_ptr<ItemOwner> aBtnBar) { owner_ = std::move(aBtnBar); }

    // The group under an internal key, or nullptr (a miss is not an error).
    GroupPtr ItemByInternalKey(std::string_view sInternalKey) const;
    GroupPtr ItemByInternalKey(std::int32_t number) const;
};

}  // namespace zo
