// Where the tab control puts its tabs and its pages, and where a list box puts its rows and
// its scroll bar, as functions of sizes alone, so the geometry can be checked without a
// window.
#pragma once

#include <vector>

#include "platform/Types.h"

namespace zo::plat {

inline constexpr int kTabInset = 2;  // room above and left of the row for the chosen tab
inline constexpr int kTabPadX = 6;   // between a tab's sides and its text
inline constexpr int kTabPadY = 6;   // a tab's height beyond the line of text
inline constexpr int kTabMinWidth = 40;
inline constexpr int kTabPageMargin = 4;  // between the pane's edge and the page area

// The tabs left to right from the control's top-left corner, unchosen.
std::vector<RECT> TabRects(const std::vector<int>& textWidths, int lineHeight);
// The first row of the pane under the tabs.
int TabPaneTop(int lineHeight);
// A chosen tab: wider by the inset each side, as much taller, and one row into the pane.
RECT ChosenTabRect(const RECT& tab);
// The index of the tab under p, -1 for none.
int TabAt(const std::vector<RECT>& tabs, POINT p);
// The page area of a control whose window rectangle is r (larger false), or the window
// rectangle that gives a page area of r (larger true).
RECT AdjustTabRect(const RECT& r, int paneTop, bool larger);

}  // namespace zo::plat

namespace zo::plat {

// A list box's rows and its own vertical scroll bar, from the client size, the item height,
// the number of items and the first item shown.
struct ListGeometry {
    int itemHeight = 0;
    int rows = 0;         // whole rows that fit
    int maxTop = 0;       // the last first item that still fills the rows
    bool scroll = false;  // the items do not fit: the bar is shown
    RECT items;           // the part that shows items
    RECT up, down;        // the bar's arrow buttons
    RECT track;           // between the arrows
    RECT thumb;           // within the track, for the first item shown
};
inline constexpr int kListScrollWidth = 16;
inline constexpr int kListMinThumb = 8;

ListGeometry MeasureList(int clientWidth, int clientHeight, int itemHeight, int count, int top);

}  // namespace zo::plat
