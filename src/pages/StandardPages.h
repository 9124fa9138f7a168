// The platform's standard pages that follow the control's own: colours (each colour property
// of the control, set from a palette or the system colours), font (face, size and style of the
// Font property) and picture (the MouseIcon picture). Like the control's pages they reach the
// control only through its properties by name, and write only what was changed on Apply.
#pragma once

#include "core/Export.h"

#include <cstdint>
#include <map>
#include <string>

#include "core/Picture.h"
#include "pages/PageBase.h"

namespace zo {

class ZO_API ColorPage : public PageBase {
public:
    ColorPage();

protected:
    void Create() override;
    void SelectionChanged() override;
    void ApplyChanges() override;
    void OnCommand(std::string_view name, int code) override;
    bool OnMessage(plat::UINT msg, plat::WPARAM wParam, plat::LPARAM lParam,
                   plat::LRESULT& result) override;

private:
    std::string Current() const;
    void ShowValue();
    void Choose(std::int32_t oleColor);

    // The values chosen and not yet applied, by property.
    std::map<std::string, std::int32_t> pending_;
    std::map<std::string, std::int32_t> loaded_;
};

class ZO_API FontPage : public PageBase {
public:
    FontPage();

protected:
    void Create() override;
    void SelectionChanged() override;
    void ApplyChanges() override;
    void OnCommand(std::string_view name, int code) override;
};

class ZO_API PicturePage : public PageBase {
public:
    PicturePage();

protected:
    void Create() override;
    void SelectionChanged() override;
    void ApplyChanges() override;
    void OnCommand(std::string_view name, int code) override;
};

}  // namespace zo
