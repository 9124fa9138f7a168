// The buttons of one group, in display order, found by position or by a user key that is
// unique within the group.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/Export.h"
#include "core/Picture.h"
#include "model/CButton.h"
#include "model/ItemCollection.h"

namespace zo {

class CGroup;

class ZO_API CButtons : public ItemCollection<CButton> {
public:
    std::string_view TypeName() const override { return "CButtons"; }

    // Adds a button at the end. The key is stripped of blanks and must be unused in the group;
    // the picture must be a bitmap or an icon.
    ButtonPtr Add(std::string sCaption, PicturePtr aPicture, std::string sTooltipText = {},
                  std::string sPrompt = {}, std::string_view sKey = {});

    // Removes every button; tells nobody and keeps the internal-key counter.
    void Clear();

    void Remove(const Variant& vntIndexKey);
    void Remove(std::int32_t position) { Remove(Variant(position)); }
    void Remove(std::string_view key) { Remove(Variant(key)); }
    void Remove(const char* key) { Remove(Variant(key)); }
    void Remove(const std::string& key) { Remove(Variant(key)); }

    // Moves aButton to position Index; the buttons in between shift by one.
    bool SetNewIndex(const ButtonPtr& aButton, std::int32_t Index);

    // --- Used only inside the component ---
    void init(std::weak_ptr<ItemOwner> aBtnBar, std::weak_ptr<CGroup> aGroup);

private:
    std::weak_ptr<CGroup> parent_;
};

}  // namespace zo
