// One group of the bar: a header with a caption, and the collection of its buttons.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/Enums.h"
#include "core/Export.h"
#include "core/Object.h"
#include "core/Picture.h"
#include "core/Rect.h"
#include "core/Variant.h"
#include "model/ItemTag.h"

namespace zo {

class CButtons;
class ItemOwner;

class ZO_API CGroup : public Object {
public:
    CGroup();
    ~CGroup() override;

    std::string_view TypeName() const override { return "CGroup"; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& s);

    const std::string& TooltipText() const { return tooltipText_; }
    void SetTooltipText(const std::string& s);

    const std::shared_ptr<CButtons>& Buttons() const { return buttons_; }

    // User key, unique among the groups of one control without regard to case.
    const std::string& Key() const { return key_; }
    void SetKey(const std::string& sNew);

    const PicturePtr& ButtonBackgroundPicture() const { return backgroundPicture_; }
    void SetButtonBackgroundPicture(PicturePtr aPicture);

    // Stored as given: no range check.
    std::int32_t ButtonBackgroundLayout() const { return backgroundLayout_; }
    void SetButtonBackgroundLayout(std::int32_t eLayout);

    const Variant& Tag() const;
    void SetTag(Variant v);

    bool Visible() const { return visible_; }
    void SetVisible(bool b);

    // --- Used only inside the component ---

    void init(std::weak_ptr<ItemOwner> aBtnBar, std::string sCaption, std::string sTooltipText,
              std::string sKey);

    // "INTERNAL_" followed by the number its collection gave it; kept as the number, since
    // the text is only needed for look-ups and a model may hold a hundred thousand items.
    std::string InternalKey() const;
    void SetInternalKey(std::int32_t number) { internalKeyNumber_ = number; }
    std::int32_t InternalKeyNumber() const { return internalKeyNumber_; }

    // The header's rectangle in pixels of the strip that shows it, written by the arrangement.
    const Rect& HeaderRect() const { return headerRect_; }
    void SetHeaderRect(const Rect& r) { headerRect_ = r; }

    std::shared_ptr<ItemOwner> ButtonBar() const { return owner_.lock(); }

    void NotifyPropertyChanged(std::string_view sPropName);
    bool NotifyKeyChanged(const std::string& sNewKey, const std::string& sOldKey);

private:
    std::string tooltipText_;
    std::string caption_;
    std::shared_ptr<CButtons> buttons_;
    Rect headerRect_;
    std::int32_t internalKeyNumber_ = 0;
    std::string key_;
    PicturePtr backgroundPicture_;
    std::int32_t backgroundLayout_ = zoPictureCentered;
    std::weak_ptr<ItemOwner> owner_;
    ItemTag tag_;
    bool visible_ = false;
};

using GroupPtr = std::shared_ptr<CGroup>;

}  // namespace zo
