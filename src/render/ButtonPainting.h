// Where a button's picture slot, picture and caption go inside its cell, as a function of
// plain numbers, and the tiling of a background picture from the surface's origin.
#pragma once

#include <cstdint>
#include <vector>

#include "core/Rect.h"

namespace zo::layout {

struct FaceInput {
    Rect cell;                      // the button's ButtonRect
    std::int32_t showInfo = 1;      // zoShowInfo
    std::int32_t textPosition = 3;  // zoTextPosition
    std::int32_t buttonHeight = 0;  // H: the button height the layout uses
    std::int32_t maxPicWidth = 32;
    std::int32_t maxPicHeight = 32;
    std::int32_t captionHeight = 0;
    std::int32_t picWidth = 0;  // this button's picture in pixels
    std::int32_t picHeight = 0;
};

struct FaceGeometry {
    std::int32_t slotX = 0, slotY = 0;  // top-left of the MPW x MPH picture slot
    Rect caption;                       // empty with zoPictureOnly
    std::int32_t picX = 0, picY = 0;    // where the picture itself is drawn
    Rect zone;                          // the picture zone: the slot grown by 2
};

FaceGeometry ButtonFace(const FaceInput& in);

// One piece of a tiled background: copy src (sx, sy, w, h) of the picture to (x, y).
struct Tile {
    std::int32_t x, y, w, h, sx, sy;
    friend bool operator==(const Tile&, const Tile&) = default;
};

// The pieces that cover (x, y, w, h) with a pw x ph picture, aligned to the surface origin.
std::vector<Tile> TilePieces(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                             std::int32_t pw, std::int32_t ph);

}  // namespace zo::layout
