// The arithmetic of the button layout, as functions of plain numbers so it can be checked
// without a window: how many buttons fit on a line, whether scrolling is needed and where the
// scroll buttons and the first line go, the automatic button size, and each button's cell.
// All values are pixels of the button area; divisions of whole numbers truncate toward zero.
#pragma once

#include <cstdint>
#include <functional>
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
