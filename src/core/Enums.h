// The enumerations of the public interface. They are plain 32-bit values: no property
// checks their range, so a host may store any number in them.
#pragma once

#include <cstdint>

namespace zo {

enum zoControlAppearance : std::int32_t { zoFlatControl = 0, zo3dControl = 1 };

enum zoAppearance : std::int32_t {
    zoFlat = 0,
    zoFlatWithBorder = 1,
    zoClassic3DRaised = 2,
    zoModern3dRaised = 3,
    zoClassic3dSunken = 4,
    zoModern3dSunken = 5,
};

enum zoBorderStyle : std::int32_t { zoNone = 0, zoFixedSingle = 1 };

enum zoButtonLayout : std::int32_t { zoTiled = 0, zoLinear = 1 };

enum ZoBackgroundLayout : std::int32_t {
    zoPictureCentered = 0,
    zoPictureStretched = 1,
    zoPictureTiled = 2,
};

enum zoButtonSize : std::int32_t { zoAutoCalculated = 0, zoUserSpecified = 1 };

enum zoShowInfo : std::int32_t { zoPictureOnly = 0, zoPictureAndCaption = 1 };

enum zoFlowDirection : std::int32_t { zoVertical = 0, zoHorizontal = 1 };

enum zoTextPosition : std::int32_t { zoLeft = 0, zoRight = 1, zoTop = 2, zoBottom = 3 };

enum zoButtonHighlightZone : std::int32_t { zoZonePictureAndText = 0, zoZonePicture = 1 };

enum zoHitType : std::int32_t {
    zoCaptionHit = 0,
    zoCloseButtonHit = 1,
    zoGroupHit = 2,
    zoButtonHit = 3,
    zoTLScrollButtonHit = 4,
    zoBRScrollButtonHit = 5,
    zoUnknownHit = 6,
};

enum zoGradientType : std::int32_t {
    zoGradientNone = 0,
    zoGradientHorizontal = 1,
    zoGradientHorizontalCenter = 2,
    zoGradientVertical = 3,
    zoGradientVerticalCenter = 4,
};

}  // namespace zo
