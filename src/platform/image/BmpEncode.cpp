// BMP writer: bottom-up 24-bit or 32-bit files. A 32-bit image with alpha gets a V5 header
// with an alpha mask so that readers keep its transparency.
#include "platform/image/ImageInternal.h"

namespace zo::plat {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

constexpr std::uint32_t kPelsPerMeter96Dpi = 3780;

}  // namespace

std::vector<std::uint8_t> EncodeBmp(const Image& image, int bitsPerPixel) {
    if ((bitsPerPixel != 24 && bitsPerPixel != 32) || image.width <= 0 || image.height <= 0 ||
        image.width > kMaxImageDimension || image.height > kMaxImageDimension ||
        image.pixels.size() !=
            static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
        image::Fail();
    const std::size_t w = static_cast<std::size_t>(image.width);
    const std::size_t h = static_cast<std::size_t>(image.height);
    const bool v5 = bitsPerPixel == 32 && image.hasAlpha;
    const std::uint32_t headerSize = v5 ? 124 : 40;
    const std::size_t stride = ((w * static_cast<std::size_t>(bitsPerPixel) + 31) / 32) * 4;
    const std::uint32_t offBits = 14 + headerSize;
    const std::size_t fileSize = offBits + stride * h;
    if (fileSize > 0xFFFFFFFFu) image::Fail();

    std::vector<std::uint8_t> out;
    out.reserve(fileSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, static_cast<std::uint32_t>(fileSize));
    Put32(out, 0);
    Put32(out, offBits);

    Put32(out, headerSize);
    Put32(out, static_cast<std::uint32_t>(image.width));
    Put32(out, static_cast<std::uint32_t>(image.height));  // positive: bottom-up
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(bitsPerPixel));
    Put32(out, v5 ? 3 : 0);  // BI_BITFIELDS : BI_RGB
    Put32(out, static_cast<std::uint32_t>(stride * h));
    Put32(out, kPelsPerMeter96Dpi);
    Put32(out, kPelsPerMeter96Dpi);
    Put32(out, 0);
    Put32(out, 0);
    if (v5) {
        Put32(out, 0x00FF0000u);
        Put32(out, 0x0000FF00u);
        Put32(out, 0x000000FFu);
        Put32(out, 0xFF000000u);
        Put32(out, 0x73524742u);  // LCS_sRGB
        for (int i = 0; i < 12; ++i)
            Put32(out, 0);  // endpoints and gamma, unused for sRGB
        Put32(out, 4);      // LCS_GM_IMAGES
        Put32(out, 0);
        Put32(out, 0);
        Put32(out, 0);
    }
    for (std::size_t row = 0; row < h; ++row) {
        const std::uint32_t* src = image.pixels.data() + (h - 1 - row) * w;
        const std::size_t start = out.size();
        for (std::size_t x = 0; x < w; ++x) {
            const std::uint32_t p = src[x];
            out.push_back(static_cast<std::uint8_t>(p));
            out.push_back(static_cast<std::uint8_t>(p >> 8));
            out.push_back(static_cast<std::uint8_t>(p >> 16));
            if (bitsPerPixel == 32) out.push_back(v5 ? static_cast<std::uint8_t>(p >> 24) : 0);
        }
        out.resize(start + stride, 0);
    }
    return out;
}

}  // namespace zo::plat
