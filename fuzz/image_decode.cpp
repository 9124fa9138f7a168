// Feeds arbitrary bytes to picture loading: every input must load or fail with 481 "Invalid
// picture", without crashing, reading out of bounds or leaking a platform object.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/Error.h"
#include "core/Picture.h"
#include "platform/GdiInternal.h"
#include "platform/Image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const std::size_t live = zo::plat::GdiObjects().LiveCount();
    try {
        const auto picture = zo::plat::LoadPictureFromMemory(bytes);
        if (!picture) std::abort();
    } catch (const zo::Error& e) {
        if (e.Number() != zo::kErrInvalidPicture) std::abort();
    }
    // Icons are also decoded at another wanted size, which can pick another entry.
    if (zo::plat::DetectImageFormat(bytes) == zo::plat::ImageFormat::Icon) {
        try {
            zo::plat::DecodeIcon(bytes, 16, 16);
        } catch (const zo::Error& e) {
            if (e.Number() != zo::kErrInvalidPicture) std::abort();
        }
    }
    // The picture released its bitmap or icon when it died.
    if (zo::plat::GdiObjects().LiveCount() != live) std::abort();
    return 0;
}
