// A rectangle as the component stores geometry: left, top, right, bottom in 32-bit pixels,
// [left, right) x [top, bottom). Layout-compatible with the platform's RECT.
#pragma once

#include <cstdint>

#include "core/Export.h"

namespace zo {

struct ZO_API Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace zo
