// The "Groups" page: edits the control's active group (written on Apply), and adds, deletes and
// re-orders groups (at once). Its index scroll bar makes the chosen group the control's active
// group straight away, so the designer sees that group's buttons.
#pragma once

#include "core/Export.h"

#include <memory>

#include "pages/PageBase.h"

namespace zo {

class ControlSite;
class CGroup;

class ZO_API GroupsPage : public PageBase {
public:
    // Messages go to the site's message box.
    explicit GroupsPage(ControlSite& site);

protected:
    void Create() override;
    void SelectionChanged() override;
    void ApplyChanges() override;
    void OnCommand(std::string_view name, int code) override;
    void OnScrollChange(std::string_view name) override;
    bool OnKeyFilter(std::string_view name, bool isChar, unsigned& key) override;

private:
    void InitPage();
    void SetGroupCount(int nCount, int nValue);
    void ShowGroup(const std::shared_ptr<CGroup>& aGroup);
    std::shared_ptr<CGroup> GetActiveGroup() const;
    int GetActiveGroupIndex() const;
    bool IsOtherGroupVisible() const;
    void IndexTyped();
    void VisibleClicked();
    void AddPictureClicked();
    void AddClicked();
    void DeleteClicked();

    ControlSite& site_;
};

}  // namespace zo
