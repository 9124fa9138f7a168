// OLE colours: a value with the top bit set names a system colour by its low byte; any other
// value is an RGB colour (red in the low byte).
#pragma once

#include <cstdint>

namespace zo {

// The RGB value (COLORREF) of an OLE colour; system colours are looked up in the platform's
// current scheme.
std::uint32_t TranslateOleColor(std::int32_t oleColor);

}  // namespace zo
