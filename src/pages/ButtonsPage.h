// The "Buttons" page: steps through the buttons of the control's active group by index, edits
// the current one (written on Apply), and adds, deletes and re-orders buttons (at once).
#pragma once

#include "core/Export.h"

#include <memory>

#include "pages/PageBase.h"

namespace zo {

class ControlSite;
class CButton;
class CGroup;

class ZO_API ButtonsPage : public PageBase {
public:
    // Messages go to the site's message box.
    explicit ButtonsPage(ControlSite& site);

protected:
    void Create() override;
    void SelectionChanged() override;
    void ApplyChanges() override;
    void OnCommand(std::string_view name, int code) override;
    void OnScrollChange(std::string_view name) override;
    void OnScrollDrag(std::string_view name) override;
    bool OnKeyFilter(std::string_view name, bool isChar, unsigned& key) override;

private:
    void InitPage();
    void SetButtonCount(int nCount);
    void ShowButton();
    void ClearFields();
    std::shared_ptr<CGroup> ActiveGroup() const;
    std::shared_ptr<CButton> GetButton(int nIndex) const;
    void IndexTyped();
    void AddPictureClicked();
    void AddClicked();
    void DeleteClicked();

    ControlSite& site_;
};

}  // namespace zo
