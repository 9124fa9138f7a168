// The arithmetic of the area arrangement: where the caption bar, the two header strips and
// the button area go for a given client size, header thickness and strip extents, and the
// rectangle of the caption bar's close button. All values are pixels of the control.
#pragma once

#include <cstdint>

#include "core/Rect.h"

namespace zo::layout {

struct Placement {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const Placement&, const Placement&) = default;
};

struct Arrangement {
    Placement captionBar, upperGroups, lowerGroups, buttons;
};

// CW x CH the client size; T the caption bar's thickness (header height less 4); U and D the
// extents of the upper and lower strips.
Arrangement ArrangeSurfaces(std::int32_t groupFlow, bool showCaptionBar, std::int32_t CW,
                            std::int32_t CH, std::int32_t T, std::int32_t U, std::int32_t D);

// The close button of a caption bar whose client area is width x height.
Rect CloseButtonRect(std::int32_t groupFlow, std::int32_t width, std::int32_t height);

}  // namespace zo::layout
