// The "Appearance" page: the control's looks and its caption bar, each input mirroring one of
// the control's properties.
#pragma once

#include "core/Export.h"

#include "pages/PageBase.h"

namespace zo {

class ZO_API AppearancePage : public PageBase {
public:
    AppearancePage();

protected:
    void Create() override;
    void SelectionChanged() override;
    void ApplyChanges() override;
    void OnCommand(std::string_view name, int code) override;
};

}  // namespace zo
