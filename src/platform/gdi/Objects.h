// Internal helpers shared by the object and device-context halves of the drawing layer.
#pragma once

#include "platform/GdiInternal.h"

namespace zo::plat::gdi {

// The 1x1 monochrome bitmap every new memory DC starts with (a stock object).
HBITMAP DefaultBitmap();

// The state of a fresh DC: stock black pen, white brush, system font.
DcState DefaultDcState(bool memoryDc);

// True when any DC currently has the object selected.
bool IsSelectedAnywhere(HGDIOBJ object);

// A bitmap's pixel format copied into a new object (used for icons and their accessors).
Bitmap ToColorBitmap(const Bitmap& source);

}  // namespace zo::plat::gdi
