#include "host/OleColor.h"

#include "platform/Gdi.h"

namespace zo {

std::uint32_t TranslateOleColor(std::int32_t oleColor) {
    const auto c = static_cast<std::uint32_t>(oleColor);
    if ((c & 0x80000000u) == 0) return c & 0x00FFFFFFu;
    return plat::GetSysColor(static_cast<int>(c & 0x7FFFFFFFu));
}

}  // namespace zo
