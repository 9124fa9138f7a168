// What the control's property pages share: the control they edit (the first selected one,
// reached through its properties by name), the page's controls made in creation order, and
// reading and writing those controls the way the pages' handlers expect, where setting a
// list's index, a check box's value or a box's text in code runs the same handler as the user
// doing it.
#pragma once

#include "core/Export.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/Picture.h"
#include "core/Variant.h"
#include "host/PropertyPage.h"
#include "platform/Controls.h"

namespace zo {

class ZoButtonBar;

// All the control's pages are this size, so the sheet does not change size between them.
inline constexpr int kPageWidth = 416;
inline constexpr int kPageHeight = 296;

class ZO_API PageBase : public PropertyPage {
public:
    explicit PageBase(std::string caption);

    // The control the page edits, by the name its control was given.
    plat::HWND Item(std::string_view name) const;

protected:
    // The first selected control; fails with the dispatch runtime's error when there is none
    // or it is not a ZoButtonBar.
    std::shared_ptr<ZoButtonBar> Bar() const;
    Variant Get(std::string_view property) const;
    void Set(std::string_view property, const Variant& value) const;

    // Control makers: each takes the control's name, its place in the page and its text.
    plat::HWND AddLabel(std::string name, std::string text, int x, int y, int w, int h = 13,
                        plat::DWORD align = plat::SS_LEFT);
    plat::HWND AddFrame(std::string name, std::string text, int x, int y, int w, int h);
    plat::HWND AddEdit(std::string name, std::string text, int x, int y, int w, int h = 20);
    plat::HWND AddList(std::string name, const std::vector<std::string>& items, int x, int y, int w,
                       int h = 21);
    plat::HWND AddListBox(std::string name, const std::vector<std::string>& items, int x, int y,
                          int w, int h);
    plat::HWND AddCheck(std::string name, std::string text, int x, int y, int w, int h = 17);
    plat::HWND AddButton(std::string name, std::string text, int x, int y, int w, int h = 23);
    plat::HWND AddScroll(std::string name, int x, int y, int w, int h = 17);
    plat::HWND AddPictureBox(std::string name, int x, int y, int w, int h);

    // The page's own handlers. `id` is the control's name.
    virtual void OnCommand(std::string_view name, int code);
    // A scroll bar's value changed (by the user or SetScrollValue); its thumb is being dragged.
    virtual void OnScrollChange(std::string_view name);
    virtual void OnScrollDrag(std::string_view name);
    // A key for a text box, before it acts: false discards it; `key` may be changed.
    virtual bool OnKeyFilter(std::string_view name, bool isChar, unsigned& key);

    bool OnMessage(plat::UINT msg, plat::WPARAM wParam, plat::LPARAM lParam,
                   plat::LRESULT& result) override;

    // Values as the controls hold them; setters in code run the control's handler (a list's
    // Click, a check box's Click, a text box's Change) when the value changes.
    static std::string Text(plat::HWND h);
    void SetText(plat::HWND h, const std::string& text);
    static int ListIndex(plat::HWND h);
    // An index outside the items fails with "Invalid property value" (380).
    void SetListIndex(plat::HWND h, int index);
    static int CheckValue(plat::HWND h);
    void SetCheckValue(plat::HWND h, int value);
    // The same without running handlers, for values the page shows without it being an edit.
    void SetCheckQuietly(plat::HWND h, int value);
    void SetListQuietly(plat::HWND h, int index);

    // Scroll bar range and value; SetScrollValue runs the change handler when the value moves.
    static int ScrollMin(plat::HWND h);
    static int ScrollMax(plat::HWND h);
    static int ScrollValue(plat::HWND h);
    void SetScrollMin(plat::HWND h, int v);
    void SetScrollMax(plat::HWND h, int v);
    void SetScrollValue(plat::HWND h, int v);

    // A picture box: the picture it holds (an empty picture when none), shown in the box.
    PicturePtr BoxPicture(plat::HWND h) const;
    void SetBoxPicture(plat::HWND h, PicturePtr picture);

    static std::string Trim(const std::string& s);
    // s cut before its first NUL.
    static std::string TrimNull(const std::string& s);
    // The picture file the user chooses in the open-file dialog over `owner`, or "(None)".
    static std::string BrowseForPicture(plat::HWND owner);

private:
    struct Entry {
        std::string name;
        plat::HWND hwnd;
    };
    void HandleScroll(plat::HWND h, int code, int pos);
    void ClampScroll(plat::HWND h, int oldValue);
    plat::HWND Make(std::string name, const char* cls, plat::DWORD style, const std::string& text,
                    int x, int y, int w, int h);
    std::string_view NameOf(plat::HWND h) const;

    std::vector<Entry> controls_;
    struct Box {
        plat::HWND hwnd;
        PicturePtr picture;
    };
    std::vector<Box> boxes_;
};

}  // namespace zo
