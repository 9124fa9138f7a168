// The control's events as a host receives them: one virtual function per event, with the
// published arguments; by-reference arguments are references, so a handler may change them
// (a host may replace hitItem in MouseMove). Every function does nothing by default.
#pragma once

#include <cstdint>
#include <memory>

#include "core/Enums.h"
#include "core/Export.h"
#include "core/Object.h"
#include "model/CButton.h"
#include "model/CGroup.h"

namespace zo {

class ZO_API ZoButtonBarEvents {
public:
    virtual ~ZoButtonBarEvents() = default;

    virtual void CloseButtonClick() {}                                                     // 1
    virtual void GroupAdded(GroupPtr& /*aGroup*/) {}                                       // 2
    virtual void ButtonAdded(ButtonPtr& /*aButton*/) {}                                    // 3
    virtual void GroupRemoved(GroupPtr& /*aGroup*/) {}                                     // 4
    virtual void ActiveGroupChanged() {}                                                   // 5
    virtual void ButtonRemoved(ButtonPtr& /*aButton*/) {}                                  // 6
    virtual void ButtonSelectionChanged() {}                                               // 7
    virtual void ButtonHighlightChanged(ButtonPtr& /*aButton*/, bool /*bHighlighted*/) {}  // 8
    virtual void MouseDown(std::int16_t /*Button*/, std::int16_t /*Shift*/, float /*x*/,
                           float /*y*/, zoHitType /*eHitType*/, ObjectPtr& /*hitItem*/) {}  // 9
    virtual void MouseUp(std::int16_t /*Button*/, std::int16_t /*Shift*/, float /*x*/, float /*y*/,
                         zoHitType /*eHitType*/, ObjectPtr& /*hitItem*/) {}  // 10
    virtual void MouseMove(std::int16_t /*Button*/, std::int16_t /*Shift*/, float /*x*/,
                           float /*y*/, zoHitType /*eHitType*/, ObjectPtr& /*hitItem*/) {}  // 11
    virtual void Resize() {}                                                                // 12
};

}  // namespace zo
