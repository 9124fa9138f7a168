// The "Position" page: how the control sizes and flows its buttons and groups, each input
// mirroring one of the control's layout properties.
#pragma once

#include "core/Export.h"

#include "pages/PageBase.h"

namespace zo {

class ZO_API PositionPage : public PageBase {
public:
    PositionPage();

protected:
    void Create() override;
    void SelectionChanged() override;
    void ApplyChanges() override;
    void OnCommand(std::string_view name, int code) override;
};

}  // namespace zo
