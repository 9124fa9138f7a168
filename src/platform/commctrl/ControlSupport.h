// What the dialog controls share: their font, text drawn enabled or embossed, notifications to
// the parent, and per-window state kept by the control's module. Only platform code includes
// this header.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/Controls.h"
#include "platform/Gdi.h"
#include "platform/Types.h"

namespace zo::plat::ctl {

// The font set with WM_SETFONT, else the dialog font.
HFONT FontOf(HWND hwnd);

// Text drawn as DrawTextA does, in `color` when enabled; disabled, embossed: a highlight copy
// one pixel right and down, then the shadow colour on top.
void DrawLabel(HDC dc, const std::string& text, RECT rect, UINT format, bool enabled,
               int colorIndex = COLOR_BTNTEXT);

// WM_COMMAND with the control's ID and `code` to its parent. False when the control did not
// survive the parent's handling.
bool NotifyParent(HWND hwnd, int code);

std::string TextOf(HWND hwnd);
bool HasFocus(HWND hwnd);
RECT ClientOf(HWND hwnd);
bool Contains(const RECT& r, int x, int y);

// Window text set without the control's own WM_SETTEXT handling.
void StoreText(HWND hwnd, const std::string& text);

// Per-window state of one control class, created at WM_NCCREATE and freed at WM_NCDESTROY.
template <class State>
class StateMap {
public:
    State* Get(HWND hwnd) {
        const auto it = map_.find(hwnd);
        return it == map_.end() ? nullptr : it->second.get();
    }
    State* Create(HWND hwnd) {
        auto& slot = map_[hwnd];
        slot = std::make_unique<State>();
        return slot.get();
    }
    void Erase(HWND hwnd) { map_.erase(hwnd); }

private:
    std::map<HWND, std::unique_ptr<State>> map_;
};

// The window procedures of the classes, registered by RegisterSystemClasses.
LRESULT ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT ComboProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT ComboListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT ScrollBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
inline constexpr const char* kComboListClass = "ComboLBox";

}  // namespace zo::plat::ctl

namespace zo::plat::ctl {

// Where the parts of a horizontal scroll bar lie for a client size, a range and a position.
// The thumb is as long as the bar is high; there is none when the range is empty or the track
// is too short for it.
struct ScrollLayout {
    RECT left;   // the left arrow
    RECT right;  // the right arrow
    RECT track;  // between the arrows
    RECT thumb;  // empty when there is no thumb
    bool hasThumb = false;
};
ScrollLayout LayoutScrollBar(int width, int height, int minPos, int maxPos, int pos);
// The position a thumb whose left edge is at x stands for.
int ScrollPosAt(const ScrollLayout& l, int minPos, int maxPos, int thumbLeft);

}  // namespace zo::plat::ctl
