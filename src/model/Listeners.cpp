#include "model/Listeners.h"

namespace zo {

void CGroupListener::GroupAdded(const std::shared_ptr<CGroup>&) {}
void CGroupListener::GroupRemoved(const std::shared_ptr<CGroup>&) {}
void CGroupListener::GroupPropertyChanged(const std::shared_ptr<CGroup>&, std::string_view) {}
bool CGroupListener::GroupKeyChanged(const std::shared_ptr<CGroup>&, const std::string&,
                                     const std::string&) {
    return false;
}
void CGroupListener::GroupReIndexed(const std::shared_ptr<CGroup>&) {}

void CButtonListener::ButtonAdded(const std::shared_ptr<CButton>&) {}
void CButtonListener::ButtonRemoved(const std::shared_ptr<CButton>&) {}
void CButtonListener::ButtonPropertyChanged(const std::shared_ptr<CButton>&, std::string_view) {}
void CButtonListener::ButtonReIndexed(const std::shared_ptr<CButton>&) {}

const std::shared_ptr<ItemPool>& ItemOwner::ItemMemory() {
    if (!itemPool_) itemPool_ = std::make_shared<ItemPool>();
    return itemPool_;
}

}  // namespace zo
