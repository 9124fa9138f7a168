// The arithmetic of the button layout, as functions of plain numbers so it can be checked
// without a window: how many buttons fit on a line, whether scrolling is needed and where the
// scroll buttons and the first line go, the automatic button size, and each button's cell.
// All values are pixels of the button area; divisions of whole numbers truncate toward zero.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/Rect.h"

namespace zo::layout {

inline constexpr std::int32_t kScrollButtonDepth = 15;

struct Fit {
    std::int32_t buttonsPerLine = 1;
    std::int32_t lines = 0;         // L: lines the shown buttons need
    std::int32_t maxScrollPos = 0;  // lines that can be scrolled out of view
    std::int32_t scrollPos = 0;     // the given scroll position, clamped
    Rect tlScroll;                  // all zero without scrolling
    Rect brScroll;
    std::int32_t x0 = 0;  // origin of the first line
    std::int32_t y0 = 0;
};

// W x H button size, AW x AH area, N shown buttons, flow and layout as the control's
// ButtonFlow / ButtonLayout values.
Fit FitButtons(std::int32_t W, std::int32_t H, std::int32_t AW, std::int32_t AH, std::int32_t N,
               std::int32_t flow, std::int32_t buttonLayout, std::int32_t scrollPos);

// Lines of the button grid for N shown buttons: exact when perLine divides N, else the
// nearest of N / perLine + 1 (so one line more than used is possible).
std::int32_t GridLines(std::int32_t N, std::int32_t perLine);

struct Cell {
    Rect rect;
    std::int32_t line = 0;
    std::int32_t pos = 0;
};

// Hands out the cells of successive shown buttons: along a line, then to the next line.
class CellWalker {
public:
    CellWalker() = default;
    CellWalker(std::int32_t W, std::int32_t H, std::int32_t X0, std::int32_t Y0, std::int32_t AW,
               std::int32_t AH, std::int32_t flow, std::int32_t buttonLayout)
        : W_(W),
          H_(H),
          X0_(X0),
          Y0_(Y0),
          AW_(AW),
          AH_(AH),
          flow_(flow),
          layout_(buttonLayout),
          x_(X0),
          y_(Y0) {}
    Cell Next();
    // Placed as if Next had handed out n cells, for lines of perLine cells (the fit's
    // buttonsPerLine, which is exactly how many cells the walker puts on a line).
    void Seek(std::int32_t n, std::int32_t perLine);

private:
    std::int32_t W_ = 0, H_ = 0, X0_ = 0, Y0_ = 0, AW_ = 0, AH_ = 0, flow_ = 0, layout_ = 0;
    std::int32_t x_ = 0, y_ = 0, line_ = 0, pos_ = 0;
};

// Cells for the shown buttons in collection order (hidden ones get none).
std::vector<Cell> PlaceCells(const std::vector<bool>& shown, std::int32_t W, std::int32_t H,
                             std::int32_t X0, std::int32_t Y0, std::int32_t AW, std::int32_t AH,
                             std::int32_t flow, std::int32_t buttonLayout);

struct AutoSizeInput {
    std::int32_t buttonLayout = 1;
    std::int32_t flow = 0;
    std::int32_t textPosition = 3;
    std::int32_t showInfo = 1;
    std::int32_t maxPicWidth = 32;
    std::int32_t maxPicHeight = 32;
    std::int32_t areaWidth = 0;
    std::int32_t areaHeight = 0;
};

// The automatic button size; captionHeight(w) measures the caption band for width w (and may
// remember it), and is called exactly where the layout measures.
void AutoButtonSize(const AutoSizeInput& in,
                    const std::function<std::int32_t(std::int32_t)>& captionHeight, std::int32_t& W,
                    std::int32_t& H);

}  // namespace zo::layout

namespace zo {

class CButtons;
class CButton;
class CGroup;

// The inputs, sums over the shown buttons and results of the last complete layout of a
// button list. A layout that finds only one button appended since, and every input as it
// was, places that button alone; anything else lays the whole list out again.
// Everything besides the buttons themselves that a layout depends on.
struct LayoutInputs {
    std::int32_t areaWidth = 0, areaHeight = 0, flow = 0, buttonLayout = 0, textPosition = 0;
    std::int32_t showInfo = 0, sizeMode = 0, userWidth = 0, userHeight = 0;
    bool userMode = false;
    std::uint32_t fontSerial = 0;
    friend bool operator==(const LayoutInputs&, const LayoutInputs&) = default;
};

struct LayoutMemo {
    std::weak_ptr<CGroup> group;
    const CButtons* list = nullptr;
    std::uint32_t revision = 0;
    std::int32_t count = 0;
    std::weak_ptr<CButton> last;
    LayoutInputs inputs;
    // Over the shown buttons.
    std::int32_t shown = 0;
    std::int32_t picWidth = 0, picHeight = 0;  // HIMETRIC maxima
    std::int32_t picWidthCount = 0;            // shown buttons whose picture is that wide,
    std::int32_t picHeightCount = 0;           //   and that tall
    bool captionKnown = false;                 // the caption band was measured, for:
    std::int32_t captionWidth = 0;             //   this width,
    std::int32_t captionHeight = 0;            //   with this result
    // Whether measuring the automatic size again now would give W and H (false when the
    // caption band could not be measured).
    bool sizeExact = false;
    // Results.
    std::int32_t W = 0, H = 0;
    layout::Fit fit;
    layout::CellWalker walker;  // positioned after the last shown button
};

}  // namespace zo
