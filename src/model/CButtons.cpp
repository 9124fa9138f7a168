#include "model/CButtons.h"

#include <utility>

#include "model/CGroup.h"
#include "model/Listeners.h"

namespace zo {

void CButtons::init(std::weak_ptr<ItemOwner> aBtnBar, std::weak_ptr<CGroup> aGroup) {
    owner_ = std::move(aBtnBar);
    parent_ = std::move(aGroup);
}

ButtonPtr CButtons::Add(std::string sCaption, PicturePtr aPicture, std::string sTooltipText,
                        std::string sPrompt, std::string_view sKey) {
    std::string key = Trim(sKey);
    CheckNewKey(key);
    if (!aPicture ||
        (aPicture->Kind() != PictureType::Bitmap && aPicture->Kind() != PictureType::Icon))
        RaiseObjectError("Invalid Picture type", "CButtons.Add");

    const std::shared_ptr<ItemOwner> owner = owner_.lock();
    auto button = owner ? std::allocate_shared<CButton>(PoolAllocator<CButton>(owner->ItemMemory()))
                        : std::make_shared<CButton>();
    button->init(owner_, parent_, std::move(sCaption), std::move(aPicture), std::move(sTooltipText),
                 std::move(sPrompt), key);
    Append(button, key);
    if (owner) owner->ButtonAdded(button);
    return button;
}

void CButtons::Clear() {
    // Removing one by one from the front would cost quadratic time for no visible difference.
    ClearAll();
}

void CButtons::Remove(const Variant& vntIndexKey) {
    ButtonPtr removed = RemoveItem(vntIndexKey);
    if (auto owner = owner_.lock()) owner->ButtonRemoved(removed);
}

bool CButtons::SetNewIndex(const ButtonPtr& aButton, std::int32_t Index) {
    Reindex(aButton, Index, "Invalid button object", "Alien button specified");
    if (auto owner = owner_.lock()) owner->ButtonReIndexed(aButton);
    return true;
}

}  // namespace zo
