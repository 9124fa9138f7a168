// The sinks through which every change of the item model reaches the control that owns the
// items. The control implements both faces; ItemOwner is the type the items refer to.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/Export.h"
#include "core/Object.h"
#include "model/ItemPool.h"

namespace zo {

class CGroup;
class CButton;

// Group notifications. The class's own methods do nothing; GroupKeyChanged refuses.
class ZO_API CGroupListener {
public:
    virtual ~CGroupListener() = default;
    virtual void GroupAdded(const std::shared_ptr<CGroup>& aGroup);
    virtual void GroupRemoved(const std::shared_ptr<CGroup>& aGroup);
    virtual void GroupPropertyChanged(const std::shared_ptr<CGroup>& aGroup,
                                      std::string_view sPropName);
    // Decides whether the group may take sNewKey and records it when it may.
    virtual bool GroupKeyChanged(const std::shared_ptr<CGroup>& aGroup, const std::string& sNewKey,
                                 const std::string& sOldKey);
    virtual void GroupReIndexed(const std::shared_ptr<CGroup>& aGroup);
};

// Button notifications. The class's own methods do nothing.
class ZO_API CButtonListener {
public:
    virtual ~CButtonListener() = default;
    virtual void ButtonAdded(const std::shared_ptr<CButton>& aButton);
    virtual void ButtonRemoved(const std::shared_ptr<CButton>& aButton);
    virtual void ButtonPropertyChanged(const std::shared_ptr<CButton>& aButton,
                                       std::string_view sProperty);
    virtual void ButtonReIndexed(const std::shared_ptr<CButton>& aButton);
};

// The owner of a set of groups and buttons (the control): the one sink of all of them. Items
// hold it weakly, so an item a host keeps after the owner is gone simply has no owner.
class ZO_API ItemOwner : public Object, public CGroupListener, public CButtonListener {
public:
    // The memory its buttons are made in; made on first use.
    const std::shared_ptr<ItemPool>& ItemMemory();

private:
    std::shared_ptr<ItemPool> itemPool_;
};

}  // namespace zo
