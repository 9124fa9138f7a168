#include "model/CGroup.h"

#include <utility>

#include "core/Error.h"
#include "model/CButtons.h"
#include "model/Listeners.h"

namespace zo {

std::string CGroup::InternalKey() const {
    return InternalKeyText(ItemNumber{internalKeyNumber_});
}

const Variant& CGroup::Tag() const {
    return tag_.Get();
}

CGroup::CGroup() : buttons_(std::make_shared<CButtons>()) {}
CGroup::~CGroup() = default;

void CGroup::init(std::weak_ptr<ItemOwner> aBtnBar, std::string sCaption, std::string sTooltipText,
                  std::string sKey) {
    owner_ = std::move(aBtnBar);
    caption_ = std::move(sCaption);
    tooltipText_ = std::move(sTooltipText);
    key_ = std::move(sKey);
    visible_ = true;
    buttons_->init(owner_, WeakAs(this));
}

void CGroup::NotifyPropertyChanged(std::string_view sPropName) {
    auto owner = owner_.lock();
    if (!owner) return;
    GroupPtr self = SharedAs(this);
    owner->GroupPropertyChanged(self, sPropName);
}

bool CGroup::NotifyKeyChanged(const std::string& sNewKey, const std::string& sOldKey) {
    auto owner = owner_.lock();
    if (!owner) return false;
    return owner->GroupKeyChanged(SharedAs(this), sNewKey, sOldKey);
}

void CGroup::SetCaption(const std::string& s) {
    if (s == caption_) return;
    caption_ = s;
    NotifyPropertyChanged("Caption");
}

void CGroup::SetTooltipText(const std::string& s) {
    if (s == tooltipText_) return;
    tooltipText_ = s;
    NotifyPropertyChanged("TooltipText");
}

void CGroup::SetKey(const std::string& sNew) {
    if (sNew == key_) return;
    if (!NotifyKeyChanged(sNew, key_)) RaiseObjectError("Duplicate key specified.");
    key_ = sNew;
}

void CGroup::SetButtonBackgroundPicture(PicturePtr aPicture) {
    if (aPicture == backgroundPicture_) return;
    backgroundPicture_ = std::move(aPicture);
    NotifyPropertyChanged("ButtonBackgroundPicture");
}

void CGroup::SetButtonBackgroundLayout(std::int32_t eLayout) {
    if (eLayout == backgroundLayout_) return;
    backgroundLayout_ = eLayout;
    NotifyPropertyChanged("ButtonBackgroundLayout");
}

void CGroup::SetTag(Variant v) {
    tag_.Set(std::move(v));
}

void CGroup::SetVisible(bool b) {
    if (b == visible_) return;
    visible_ = b;
    NotifyPropertyChanged("Visible");
}

}  // namespace zo
