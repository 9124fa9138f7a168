// Shared drawing routines: the two-colour gradient in its five modes (smooth on the
// platform's gradient service, banded without it) and the geometry of the scroll arrows.
#pragma once

#include <array>
#include <cstdint>

#include "core/Rect.h"
#include "platform/Types.h"

namespace zo {

class CResoureMgr;

// C1 is the gradient colour, C2 the back colour, both RGB; type a zoGradientType value.
void FillGradientSmooth(CResoureMgr& cache, plat::HDC hdc, const Rect& R, std::int32_t C1,
                        std::int32_t C2, std::int32_t type);
void FillGradientBanded(CResoureMgr& cache, plat::HDC hdc, const Rect& R, std::int32_t C1,
                        std::int32_t C2, std::int32_t type);

// The colour of mixing fraction f (1 = C1, 0 = C2), channel by channel.
std::int32_t MixColor(double f, std::int32_t C1, std::int32_t C2);

// Scroll directions.
enum ScrollDirection : std::int32_t {
    kScrollUp = 0,
    kScrollDown = 1,
    kScrollLeft = 2,
    kScrollRight = 3
};

// The arrow triangle of a scroll button: base 2a, height a, centred in R.
std::array<plat::POINT, 3> ScrollArrowPoints(const Rect& R, std::int32_t direction);

// Nearest integer with halves to the even neighbour, for drawing positions.
std::int32_t NearestPx(double v);

}  // namespace zo
