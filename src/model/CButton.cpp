#include "model/CButton.h"

#include <utility>

#include "core/Error.h"
#include "model/CButtons.h"
#include "model/CGroup.h"
#include "model/Listeners.h"

namespace zo {

std::string CButton::InternalKey() const {
    return InternalKeyText(ItemNumber{internalKeyNumber_});
}

const Variant& CButton::Tag() const {
    return tag_.Get();
}

void CButton::init(std::weak_ptr<ItemOwner> owner, std::weak_ptr<CGroup> parent,
                   std::string sCaption, PicturePtr aPicture, std::string sTooltipText,
                   std::string sPrompt, std::string sKey) {
    owner_ = std::move(owner);
    parent_ = std::move(parent);
    caption_ = std::move(sCaption);
    picture_ = std::move(aPicture);
    tooltipText_ = std::move(sTooltipText);
    prompt_ = std::move(sPrompt);
    key_ = std::move(sKey);
    visible_ = true;
}

void CButton::NotifyPropertyChanged(std::string_view sPropName) {
    auto owner = owner_.lock();
    if (!owner) return;
    // The handler may drop the host's last reference to this button; keep it alive meanwhile.
    ButtonPtr self = SharedAs(this);
    owner->ButtonPropertyChanged(self, sPropName);
}

void CButton::SetKey(const std::string& sNew) {
    if (sNew == key_) return;
    bool accepted = true;
    // Without its group the button has no key scope left to keep unique.
    if (auto parent = parent_.lock())
        accepted = parent->Buttons()->ChangeKey(SharedAs(this), sNew, key_);
    if (!accepted) RaiseObjectError("Duplicate key specified.");
    key_ = sNew;
}

void CButton::SetCaption(std::string s) {
    caption_ = std::move(s);
    measuredFont_ = 0;
    NotifyPropertyChanged("Caption");
}

void CButton::SetPicture(PicturePtr aPicture) {
    picture_ = std::move(aPicture);
    NotifyPropertyChanged("Picture");
}

void CButton::SetTooltipText(std::string s) {
    tooltipText_ = std::move(s);
    NotifyPropertyChanged("TooltipText");
}

void CButton::SetTag(Variant v) {
    tag_.Set(std::move(v));
    NotifyPropertyChanged("Tag");
}

void CButton::SetPrompt(std::string s) {
    prompt_ = std::move(s);
    NotifyPropertyChanged("Prompt");
}

void CButton::SetVisible(bool b) {
    if (b == visible_) return;
    visible_ = b;
    NotifyPropertyChanged("Visible");
}

}  // namespace zo
