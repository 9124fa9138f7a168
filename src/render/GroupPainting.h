// Where turned header text goes: shortened with "..." to fit a header's length, centred
// across its thickness, starting from the bottom and running upward.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/Rect.h"
#include "platform/Types.h"

namespace zo::layout {

struct TurnedText {
    std::string text;  // the text to draw, possibly shortened with "..."
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// R is the header rectangle already shrunk by 2 at top and bottom; measure gives the extent
// (cx along the reading direction, cy across) of a text in the turned font.
TurnedText LayOutTurnedText(const std::string& ansiText, const Rect& R, bool centred,
                            const std::function<plat::SIZE(const std::string&)>& measure);

}  // namespace zo::layout
