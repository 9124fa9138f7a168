// Scale modes and conversion between them, as the host's forms and picture boxes offer it:
// twips (the default), points, pixels, characters, inches, millimetres, centimetres,
// HIMETRIC and user-defined scales. 96 pixels per inch: 15 twips per pixel.
#pragma once

#include <cstdint>

#include "core/Export.h"

namespace zo {

enum ScaleMode : std::int32_t {
    vbUser = 0,
    vbTwips = 1,
    vbPoints = 2,
    vbPixels = 3,
    vbCharacters = 4,
    vbInches = 5,
    vbMillimeters = 6,
    vbCentimeters = 7,
    vbHimetric = 8,
};

inline constexpr double kTwipsPerPixel = 15.0;  // at 96 dpi

// The scale of one drawing surface: its mode and, for vbUser, the user extents that map
// onto its client size in pixels.
struct ZO_API ScaleInfo {
    ScaleMode mode = vbTwips;
    double userWidth = 0;   // vbUser: ScaleWidth over the client width
    double userHeight = 0;  // vbUser: ScaleHeight over the client height
    std::int32_t clientWidthPx = 0;
    std::int32_t clientHeightPx = 0;
};

// Twips per unit of a mode horizontally (x) or vertically; 0 when the mode is not usable
// (a user scale of zero extent, an unknown mode).
ZO_API double TwipsPerUnitX(ScaleMode mode, const ScaleInfo& s = {});
ZO_API double TwipsPerUnitY(ScaleMode mode, const ScaleInfo& s = {});

// Converts an extent between two modes, with `s` giving the meaning of vbUser. Returns 0 for
// an unusable target mode. ScaleX/ScaleY of the platform.
ZO_API double ConvertScaleX(double value, ScaleMode from, ScaleMode to, const ScaleInfo& s = {});
ZO_API double ConvertScaleY(double value, ScaleMode from, ScaleMode to, const ScaleInfo& s = {});

// Nearest whole number, exact halves to the even neighbour (how scaled values become pixels).
ZO_API std::int32_t NearestInt(double value);

}  // namespace zo
