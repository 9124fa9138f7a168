#include "host/Scale.h"

#include <cmath>
#include <limits>

#include "core/Variant.h"

namespace zo {

namespace {

double TwipsPerUnit(ScaleMode mode, double userExtent, std::int32_t clientPx, bool horizontal) {
    switch (mode) {
        case vbUser:
            if (userExtent == 0 || clientPx <= 0) return 0;
            return clientPx * kTwipsPerPixel / userExtent;
        case vbTwips:
            return 1.0;
        case vbPoints:
            return 20.0;
        case vbPixels:
            return kTwipsPerPixel;
        case vbCharacters:
            return horizontal ? 120.0 : 240.0;
        case vbInches:
            return 1440.0;
        case vbMillimeters:
            return 1440.0 / 25.4;
        case vbCentimeters:
            return 1440.0 / 2.54;
        case vbHimetric:
            return 1440.0 / 2540.0;
    }
    return 0;
}

double Convert(double value, double fromTwips, double toTwips) {
    if (fromTwips == 0 || toTwips == 0) return 0;
    return value * fromTwips / toTwips;
}

}  // namespace

double TwipsPerUnitX(ScaleMode mode, const ScaleInfo& s) {
    return TwipsPerUnit(mode, s.userWidth, s.clientWidthPx, true);
}

double TwipsPerUnitY(ScaleMode mode, const ScaleInfo& s) {
    return TwipsPerUnit(mode, s.userHeight, s.clientHeightPx, false);
}

double ConvertScaleX(double value, ScaleMode from, ScaleMode to, const ScaleInfo& s) {
    return Convert(value, TwipsPerUnitX(from, s), TwipsPerUnitX(to, s));
}

double ConvertScaleY(double value, ScaleMode from, ScaleMode to, const ScaleInfo& s) {
    return Convert(value, TwipsPerUnitY(from, s), TwipsPerUnitY(to, s));
}

std::int32_t NearestInt(double value) {
    if (!std::isfinite(value)) return 0;
    const double r = RoundHalfEven(value);
    if (r <= std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    if (r >= std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(r);
}

}  // namespace zo
