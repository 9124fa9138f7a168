// The host's property-page protocol: a page edits the controls the host has selected
// (SelectedControls, item 0 being the one it edits), says through Changed that it holds edits,
// hears SelectionChanged when it is shown or the selection changes, and ApplyChanges when the
// user presses Apply or OK. PropertyPageHost shows pages in the platform's property-sheet
// frame and turns the frame's notifications into these calls.
#pragma once

#include "core/Export.h"

#include <string>
#include <vector>

#include "core/Object.h"
#include "host/Site.h"
#include "platform/Dialogs.h"

namespace zo {

class PropertyPageHost;

class ZO_API PropertyPage {
public:
    // The tab's caption and the page's size in pixels.
    PropertyPage(std::string caption, int width, int height);
    virtual ~PropertyPage();
    PropertyPage(const PropertyPage&) = delete;
    PropertyPage& operator=(const PropertyPage&) = delete;

    const std::string& Caption() const { return caption_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // The controls the host has selected; empty while the page is not shown.
    const std::vector<ObjectPtr>& SelectedControls() const;
    // True while the page holds edits not yet applied; setting it enables or disables Apply.
    bool Changed() const { return changed_; }
    void SetChanged(bool changed);
    // The page's window while it is shown (its controls are its children), else 0.
    plat::HWND hWnd() const { return hwnd_; }

protected:
    // Makes the page's controls in hWnd().
    virtual void Create() = 0;
    // Fills the controls from SelectedControls()[0].
    virtual void SelectionChanged() = 0;
    // Writes the controls to SelectedControls()[0]; an error it raises keeps the sheet open.
    virtual void ApplyChanges() = 0;
    // Messages of the page's window (WM_COMMAND and WM_NOTIFY from its controls, ...); true
    // when handled, with the answer in result.
    virtual bool OnMessage(plat::UINT msg, plat::WPARAM wParam, plat::LPARAM lParam,
                           plat::LRESULT& result);

private:
    friend class PropertyPageHost;
    static plat::INT_PTR PageProc(plat::HWND hwnd, plat::UINT msg, plat::WPARAM wParam,
                                  plat::LPARAM lParam);

    std::string caption_;
    int width_;
    int height_;
    bool changed_ = false;
    plat::HWND hwnd_ = 0;
    PropertyPageHost* host_ = nullptr;
};

class ZO_API PropertyPageHost {
public:
    // Errors that the pages raise go to the site's message box.
    PropertyPageHost(ControlSite& site, std::vector<ObjectPtr> selected);
    ~PropertyPageHost();
    PropertyPageHost(const PropertyPageHost&) = delete;
    PropertyPageHost& operator=(const PropertyPageHost&) = delete;

    const std::vector<ObjectPtr>& SelectedControls() const { return selected_; }
    // A new selection: every page that is up loads it.
    void SetSelectedControls(std::vector<ObjectPtr> selected);

    // The pages in their order in a modal sheet titled caption over owner; true when anything
    // was applied.
    bool ShowModal(plat::HWND owner, const std::string& caption,
                   const std::vector<PropertyPage*>& pages, int startPage = 0);
    // The same without waiting: the sheet's window, or 0. The pages and this host must outlive
    // it; it goes on OK or Cancel. The caller's loop passes messages to IsSheetMessage first.
    plat::HWND ShowModeless(plat::HWND owner, const std::string& caption,
                            const std::vector<PropertyPage*>& pages, int startPage = 0);
    bool IsSheetMessage(plat::MSG* msg) const;
    plat::HWND Sheet() const;

private:
    friend class PropertyPage;
    plat::HWND Show(plat::HWND owner, const std::string& caption,
                    const std::vector<PropertyPage*>& pages, int startPage, bool modeless,
                    bool* applied);
    void ShowError(const std::string& description, const std::string& source);

    ControlSite& site_;
    std::vector<ObjectPtr> selected_;
    std::vector<PropertyPage*> pages_;
    plat::HWND sheet_ = 0;
};

}  // namespace zo
