// Format recognition, the common size checks, BMP files and ICO/CUR containers.
#include <algorithm>
#include <cstdlib>

#include "core/Error.h"
#include "platform/image/ImageInternal.h"

namespace zo::plat {
namespace image {

void Fail() {
    RaiseRuntimeError(kErrInvalidPicture);
}

void CheckImageSize(std::int64_t width, std::int64_t height) {
    if (width <= 0 || height <= 0 || width > kMaxImageDimension || height > kMaxImageDimension ||
        width * height > kMaxImagePixels)
        Fail();
}

void AllocateImage(Image& image, int width, int height, std::uint32_t fill, bool withMask) {
    CheckImageSize(width, height);
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    image.width = width;
    image.height = height;
    image.pixels.assign(count, fill);
    if (withMask) image.mask.assign(count, 0);
}

namespace {

constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool IsPng(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 8 && std::equal(kPngSignature, kPngSignature + 8, bytes.begin());
}

// One ICONDIRENTRY with what its data says about it (the directory's own size and depth
// fields are often wrong, so the image header decides).
struct IconEntry {
    std::size_t offset = 0;
    std::size_t size = 0;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    bool png = false;
    int hotspotX = 0;
    int hotspotY = 0;
};

// Reads the width and height of a PNG from its IHDR without decoding it.
void SummarizePng(const ByteReader& r, IconEntry& e) {
    if (r.U32(8) != 0x0D000000u || r.U32(12) != 0x52444849u) Fail();  // length 13, "IHDR"
    const std::uint32_t w = (std::uint32_t{r.U8(16)} << 24) | (std::uint32_t{r.U8(17)} << 16) |
                            (std::uint32_t{r.U8(18)} << 8) | r.U8(19);
    const std::uint32_t h = (std::uint32_t{r.U8(20)} << 24) | (std::uint32_t{r.U8(21)} << 16) |
                            (std::uint32_t{r.U8(22)} << 8) | r.U8(23);
    CheckImageSize(w, h);
    e.width = static_cast<int>(w);
    e.height = static_cast<int>(h);
    e.bitsPerPixel = 32;
}

// Closest size first (a larger image wins a tie, since shrinking keeps more detail), then the
// deepest colour, then the earliest entry.
bool Better(const IconEntry& a, const IconEntry& b, int dw, int dh) {
    const long da = std::labs(a.width - dw) + std::labs(a.height - dh);
    const long db = std::labs(b.width - dw) + std::labs(b.height - dh);
    if (da != db) return da < db;
    const long areaA = static_cast<long>(a.width) * a.height;
    const long areaB = static_cast<long>(b.width) * b.height;
    if (areaA != areaB) return areaA > areaB;
    return a.bitsPerPixel > b.bitsPerPixel;
}

}  // namespace
}  // namespace image

using image::ByteReader;
using image::Fail;

ImageFormat DetectImageFormat(std::span<const std::uint8_t> bytes) {
    const ByteReader r(bytes);
    if (r.Has(0, 2) && bytes[0] == 'B' && bytes[1] == 'M') return ImageFormat::Bmp;
    if (image::IsPng(bytes)) return ImageFormat::Png;
    if (!r.Has(0, 6)) return ImageFormat::Unknown;
    if (r.U16(0) == 0 && r.U16(2) == 1) return ImageFormat::Icon;
    if (r.U16(0) == 0 && r.U16(2) == 2) return ImageFormat::Cursor;
    if (r.U32(0) == 0x9AC6CDD7u) return ImageFormat::Wmf;
    if (r.Has(0, 44) && r.U32(0) == 1 && r.U32(40) == 0x464D4520u) return ImageFormat::Emf;
    if (r.Has(0, 18) && (r.U16(0) == 1 || r.U16(0) == 2) && r.U16(2) == 9 &&
        (r.U16(4) == 0x0100 || r.U16(4) == 0x0300))
        return ImageFormat::Wmf;
    return ImageFormat::Unknown;
}

Image DecodeBmp(std::span<const std::uint8_t> file) {
    const ByteReader r(file);
    if (r.U8(0) != 'B' || r.U8(1) != 'M') Fail();
    const std::uint32_t offBits = r.U32(10);
    image::DibOptions options;
    if (offBits != 0) {
        if (offBits <= 14) Fail();
        options.bitsOffset = offBits - 14;
    }
    return image::DecodeDib(r.From(14), options);
}

Image DecodeIcon(std::span<const std::uint8_t> file, int desiredWidth, int desiredHeight) {
    const ByteReader r(file);
    const std::uint16_t type = r.U16(2);
    if (r.U16(0) != 0 || (type != 1 && type != 2)) Fail();
    const std::size_t count = r.U16(4);
    if (count == 0) Fail();
    const std::size_t directoryEnd = 6 + 16 * count;
    if (!r.Has(0, directoryEnd)) Fail();

    image::IconEntry best;
    bool haveBest = false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = 6 + 16 * i;
        image::IconEntry e;
        e.size = r.U32(at + 8);
        e.offset = r.U32(at + 12);
        // Every entry must lie inside the file, after the directory, even the ones not chosen:
        // a file cut short is invalid as a whole.
        if (e.offset < directoryEnd || e.size < 12 || !r.Has(e.offset, e.size)) Fail();
        const ByteReader data(r.Sub(e.offset, e.size));
        if (image::IsPng(data.From(0))) {
            e.png = true;
            image::SummarizePng(data, e);
        } else {
            const image::DibSummary s = image::SummarizeDib(data.From(0), true);
            e.width = s.width;
            e.height = s.height;
            e.bitsPerPixel = s.bitsPerPixel;
        }
        if (type == 2) {
            e.hotspotX = r.U16(at + 4);
            e.hotspotY = r.U16(at + 6);
        }
        if (!haveBest || image::Better(e, best, desiredWidth, desiredHeight)) {
            best = e;
            haveBest = true;
        }
    }

    const std::span<const std::uint8_t> data = r.Sub(best.offset, best.size);
    Image out;
    if (best.png) {
        out = DecodePng(data);
    } else {
        image::DibOptions options;
        options.iconEntry = true;
        out = image::DecodeDib(data, options);
    }
    out.hotspotX = std::min(best.hotspotX, out.width - 1);
    out.hotspotY = std::min(best.hotspotY, out.height - 1);
    return out;
}

}  // namespace zo::plat
