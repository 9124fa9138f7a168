// Small shared routines of the control: colour translation and splitting, font copying and
// comparison, the strict point-in-rectangle test, and a colour-keyed copy for platforms
// without their own transparent blit.
#pragma once

#include <cstdint>

#include "core/Rect.h"
#include "host/StdFont.h"
#include "platform/Types.h"

namespace zo {

// RGB of an OLE colour: itself when the top bit is clear, else the system colour it names.
std::int32_t TranslateColor(std::int32_t oleColor);

void SplitRGB(std::int32_t color, std::int32_t& red, std::int32_t& green, std::int32_t& blue);

// Copies Bold, Charset, Italic, Name, Size, Strikethrough, Underline, Weight in that order,
// so the weight wins over the one Bold implies.
void CopyFont(StdFont& dst, const StdFont& src);
// True at the first attribute that differs (names compared exactly, letter case included).
bool FontsDiffer(const StdFont& a, const StdFont& b);

// Strictly inside: a point on any edge is outside.
bool PointInRect(float x, float y, const Rect& r);

// Copies the sw x sh block of src at (sx, sy) to (x, y, w, h) on dst, stretching when the
// sizes differ, leaving out every pixel whose colour is TranslateColor(mask). False when the
// work bitmaps could not be made; nothing is drawn then.
bool TransparentBlit(plat::HDC dst, int x, int y, int w, int h, plat::HDC src, int sx, int sy,
                     int sw, int sh, std::int32_t mask);

}  // namespace zo
