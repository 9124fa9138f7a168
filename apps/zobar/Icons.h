// Icons the project draws itself, for the demo design, the examples and the benchmarks:
// 32 x 32 bitmaps on a white background, which the bar's default mask colour leaves out.
#pragma once

#include <string_view>
#include <vector>

#include "core/Picture.h"

namespace zobar {

// The names of the icons this program can draw.
const std::vector<std::string_view>& IconNames();
// A new bitmap picture of the named icon (an unknown name draws a plain square).
zo::PicturePtr MakeIcon(std::string_view name, int size = 32);
// A soft striped tile for a group's background picture.
zo::PicturePtr MakeBackgroundTile(int size = 64);

}  // namespace zobar
