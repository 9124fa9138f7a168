// One button of a group: a picture with a caption, a tooltip text and a status-bar prompt.
// It draws nothing; every change that matters to the display goes to the owning control.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/Export.h"
#include "core/Object.h"
#include "core/Picture.h"
#include "core/Rect.h"
#include "core/Variant.h"
#include "model/ItemTag.h"

namespace zo {

class CGroup;
class ItemOwner;

class ZO_API CButton : public Object {
public:
    std::string_view TypeName() const override { return "CButton"; }

    // User key, unique within the parent group without regard to case; "" when none.
    const std::string& Key() const { return key_; }
    void SetKey(const std::string& sNew);

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string s);

    const PicturePtr& Picture() const { return picture_; }
    void SetPicture(PicturePtr aPicture);

    const std::string& TooltipText() const { return tooltipText_; }
    void SetTooltipText(std::string s);

    // The group whose Buttons holds the button; nullptr once that group is gone.
    std::shared_ptr<CGroup> ParentGroup() const { return parent_.lock(); }

    const Variant& Tag() const;
    void SetTag(Variant v);

    const std::string& Prompt() const { return prompt_; }
    void SetPrompt(std::string s);

    bool Visible() const { return visible_; }
    void SetVisible(bool b);

    // --- Used only inside the component ---

    void init(std::weak_ptr<ItemOwner> owner, std::weak_ptr<CGroup> parent, std::string sCaption,
              PicturePtr aPicture, std::string sTooltipText, std::string sPrompt, std::string sKey);

    // "INTERNAL_" followed by the number its collection gave it; kept as the number, since
    // the text is only needed for look-ups and a model may hold a hundred thousand items.
    std::string InternalKey() const;
    void SetInternalKey(std::int32_t number) { internalKeyNumber_ = number; }
    std::int32_t InternalKeyNumber() const { return internalKeyNumber_; }

    // The button's cell in pixels of the button area, written by the layout.
    const Rect& ButtonRect() const { return rect_; }
    void SetButtonRect(const Rect& r) { rect_ = r; }
    std::int16_t LineIndex() const { return lineIndex_; }
    void SetLineIndex(std::int16_t n) { lineIndex_ = n; }
    std::int16_t PosInLine() const { return posInLine_; }
    void SetPosInLine(std::int16_t n) { posInLine_ = n; }

    // A caption width the drawing code measured, kept with the button for the font serial
    // it was measured in, so that layout does not measure every caption again on each
    // change; a new caption forgets it.
    bool MeasuredCaptionWidth(std::uint32_t fontSerial, std::int32_t& width) const {
        if (measuredFont_ == 0 || measuredFont_ != fontSerial) return false;
        width = measuredWidth_;
        return true;
    }
    void KeepCaptionWidth(std::uint32_t fontSerial, std::int32_t width) const {
        measuredFont_ = fontSerial;
        measuredWidth_ = width;
    }

    // The owning control; nullptr once it is gone.
    std::shared_ptr<ItemOwner> ButtonBar() const { return owner_.lock(); }

    void NotifyPropertyChanged(std::string_view sPropName);

private:
    PicturePtr picture_;
    std::string tooltipText_;
    std::string caption_;
    std::string key_;
    Rect rect_;
    std::int32_t internalKeyNumber_ = 0;
    std::weak_ptr<CGroup> parent_;
    std::weak_ptr<ItemOwner> owner_;
    ItemTag tag_;
    std::int16_t lineIndex_ = 0;
    std::int16_t posInLine_ = 0;
    std::string prompt_;
    bool visible_ = false;
    mutable std::uint32_t measuredFont_ = 0;
    mutable std::int32_t measuredWidth_ = 0;
};

using ButtonPtr = std::shared_ptr<CButton>;

}  // namespace zo
