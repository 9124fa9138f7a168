// What the control asks of its host: the ambient properties, the property-changed
// notification and a modal message box. DefaultSite is a complete host of its own, so that
// a program gets a working control without writing one.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Export.h"
#include "host/StdFont.h"

namespace zo {

class ZO_API ControlSite {
public:
    virtual ~ControlSite() = default;

    // False at design time, True at run time.
    virtual bool UserMode() const = 0;
    // A font object the control may keep (the host hands out its own copy).
    virtual FontPtr AmbientFont() const = 0;
    // An OLE colour; system colours have the top bit set.
    virtual std::int32_t AmbientForeColor() const = 0;
    // The control's property `name` changed: the host's copy of the design is now dirty.
    virtual void PropertyChanged(std::string_view name) = 0;
    // A modal message box; returns the button pressed (IDOK 1, IDCANCEL 2, ...).
    virtual int MsgBox(std::string_view text, int style, std::string_view title) = 0;
};

class ZO_API DefaultSite : public ControlSite {
public:
    // Run time unless told otherwise; ambient font "MS Sans Serif" 8.25 points, ambient
    // foreground the system button-text colour.
    explicit DefaultSite(bool userMode = true);

    bool UserMode() const override { return userMode_; }
    void SetUserMode(bool runTime) { userMode_ = runTime; }

    FontPtr AmbientFont() const override { return ambientFont_->Clone(); }
    void SetAmbientFont(FontPtr font) { ambientFont_ = std::move(font); }

    std::int32_t AmbientForeColor() const override { return ambientForeColor_; }
    void SetAmbientForeColor(std::int32_t c) { ambientForeColor_ = c; }

    void PropertyChanged(std::string_view name) override;
    // Every property named since the last ClearChanges, in order (repeats kept).
    const std::vector<std::string>& Changes() const { return changes_; }
    bool Dirty() const { return !changes_.empty(); }
    void ClearChanges() { changes_.clear(); }

    // Answers through the handler when one is set (tests set one); otherwise shows the
    // platform's modal message box on the X11 display, and off-screen writes the message to
    // the error stream and answers with the first button.
    int MsgBox(std::string_view text, int style, std::string_view title) override;
    std::function<int(std::string_view text, int style, std::string_view title)> msgBoxHandler;

private:
    bool userMode_;
    FontPtr ambientFont_;
    std::int32_t ambientForeColor_ = static_cast<std::int32_t>(0x80000012u);
    std::vector<std::string> changes_;
};

}  // namespace zo
