// Shared pieces of the image decoders: a bounds-checked little-endian reader, the size checks
// every decoder makes before it allocates, and the DIB decoder that BMP and ICO share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/Image.h"

namespace zo::plat::image {

// Raises zo::Error 481 "Invalid picture".
[[noreturn]] void Fail();

// Reads little-endian values from a byte span; any read past the end raises 481.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

    std::size_t Size() const { return data_.size(); }
    bool Has(std::size_t offset, std::size_t count) const {
        return offset <= data_.size() && count <= data_.size() - offset;
    }
    std::uint8_t U8(std::size_t offset) const {
        Need(offset, 1);
        return data_[offset];
    }
    std::uint16_t U16(std::size_t offset) const {
        Need(offset, 2);
        return static_cast<std::uint16_t>(data_[offset] | (data_[offset + 1] << 8));
    }
    std::uint32_t U32(std::size_t offset) const {
        Need(offset, 4);
        return static_cast<std::uint32_t>(data_[offset]) |
               (static_cast<std::uint32_t>(data_[offset + 1]) << 8) |
               (static_cast<std::uint32_t>(data_[offset + 2]) << 16) |
               (static_cast<std::uint32_t>(data_[offset + 3]) << 24);
    }
    std::int16_t I16(std::size_t offset) const { return static_cast<std::int16_t>(U16(offset)); }
    std::int32_t I32(std::size_t offset) const { return static_cast<std::int32_t>(U32(offset)); }
    std::span<const std::uint8_t> Sub(std::size_t offset, std::size_t count) const {
        Need(offset, count);
        return data_.subspan(offset, count);
    }
    std::span<const std::uint8_t> From(std::size_t offset) const {
        Need(offset, 0);
        return data_.subspan(offset);
    }

private:
    void Need(std::size_t offset, std::size_t count) const {
        if (!Has(offset, count)) Fail();
    }
    std::span<const std::uint8_t> data_;
};

// Checks width and height against the limits (positive, at most kMaxImageDimension each and
// kMaxImagePixels together); raises 481 otherwise.
void CheckImageSize(std::int64_t width, std::int64_t height);

// Allocates the pixels (and, when wanted, a cleared mask) of an image of checked size.
void AllocateImage(Image& image, int width, int height, std::uint32_t fill, bool withMask);

// How a DIB is laid out in its container.
struct DibOptions {
    // Offset of the pixel bits from the start of the DIB when the container says so (BMP's
    // bfOffBits - 14); 0 when they follow the palette.
    std::size_t bitsOffset = 0;
    // Icon entries: the header's height covers the colour bits and the AND mask, the alpha
    // byte of 32-bit pixels is the alpha channel, and the AND mask follows the colour bits.
    bool iconEntry = false;
};

// Width, height and depth of a DIB from its header alone (for choosing icon entries).
struct DibSummary {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
};
DibSummary SummarizeDib(std::span<const std::uint8_t> dib, bool iconEntry);

// Decodes a DIB (header, optional masks and palette, bits). Raises 481 on anything invalid.
Image DecodeDib(std::span<const std::uint8_t> dib, const DibOptions& options);

}  // namespace zo::plat::image
