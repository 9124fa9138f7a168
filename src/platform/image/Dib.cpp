// DIB decoding shared by BMP files and icon entries: every header generation (OS/2 1.x core,
// OS/2 2.x, BITMAPINFOHEADER and its V2-V5 extensions), 1 to 32 bits, RLE4/RLE8 and bit
// fields. Every offset and size is checked against the DIB's own bytes before use.
#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/image/ImageInternal.h"

namespace zo::plat::image {
namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;
constexpr std::uint32_t kOpaqueBlack = 0xFF000000u;

struct DibHeader {
    std::uint32_t headerSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;  // signed as stored: negative means top-down
    int bitsPerPixel = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t colorsUsed = 0;
    bool core = false;  // OS/2 1.x: 3-byte palette entries, 16-bit sizes
    bool os2 = false;   // OS/2 1.x or 2.x: no top-down, no bit fields
    std::uint32_t masks[4] = {};
    bool masksInHeader = false;
    bool alphaMaskInHeader = false;
};

DibHeader ReadHeader(const ByteReader& r) {
    DibHeader h;
    h.headerSize = r.U32(0);
    if (!r.Has(0, h.headerSize)) Fail();
    const std::uint32_t size = h.headerSize;
    if (size == 12) {
        h.core = h.os2 = true;
        h.width = r.U16(4);
        h.height = r.U16(6);
        h.bitsPerPixel = r.U16(10);
    } else if (size == 40 || size == 52 || size == 56 || size == 108 || size == 124) {
        h.width = r.I32(4);
        h.height = r.I32(8);
        h.bitsPerPixel = r.U16(14);
        h.compression = r.U32(16);
        h.colorsUsed = r.U32(32);
        if (size >= 52) {
            h.masksInHeader = true;
            for (int i = 0; i < 3; ++i)
                h.masks[i] = r.U32(40 + 4 * static_cast<std::size_t>(i));
        }
        if (size >= 56) {
            h.alphaMaskInHeader = true;
            h.masks[3] = r.U32(52);
        }
    } else if (size >= 16 && size <= 64 && size % 2 == 0) {
        // OS/2 2.x: the header ends on any of its fields; those past its end are zero.
        h.os2 = true;
        h.width = r.U32(4);
        h.height = r.U32(8);
        h.bitsPerPixel = r.U16(14);
        if (size >= 20) h.compression = r.U32(16);
        if (size >= 36) h.colorsUsed = r.U32(32);
        // 3 is Huffman 1D and 4 is RLE24 there, neither of which is supported.
        if (h.compression > kBiRle4) Fail();
    } else {
        Fail();
    }
    return h;
}

struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
};

Channel MakeChannel(std::uint32_t mask) {
    Channel c;
    if (mask == 0) return c;
    c.mask = mask;
    c.shift = std::countr_zero(mask);
    const std::uint32_t v = mask >> c.shift;
    if ((v & (v + 1)) != 0) Fail();  // the mask's bits must be contiguous
    c.bits = std::popcount(v);
    return c;
}

// Widens a channel of `bits` bits to 8 bits by repeating its bit pattern, so that the largest
// value becomes 255 (5-bit 31 -> 255, 16 -> 132).
std::uint32_t Expand(const Channel& c, std::uint32_t pixel) {
    if (c.mask == 0) return 0;
    const std::uint32_t v = (pixel & c.mask) >> c.shift;
    if (c.bits >= 8) return v >> (c.bits - 8);
    std::uint32_t out = 0;
    int filled = 0;
    while (filled < 8) {
        out = (out << c.bits) | v;
        filled += c.bits;
    }
    return out >> (filled - 8);
}

struct Layout {
    DibHeader header;
    int width = 0;
    int height = 0;
    bool topDown = false;
    std::size_t bits = 0;  // offset of the pixel bits in the DIB
    std::vector<std::uint32_t> palette;
    Channel channels[4];  // r, g, b, a
    bool bitfields = false;
    bool alphaChannel = false;  // pixels carry alpha (icon 32-bit or bit fields with alpha)
};

Layout Plan(const ByteReader& r, const DibOptions& options) {
    Layout L;
    L.header = ReadHeader(r);
    DibHeader& h = L.header;

    std::int64_t height = h.height;
    if (options.iconEntry) {
        if (height <= 0) Fail();
        height /= 2;
    } else if (height < 0) {
        if (h.os2) Fail();
        L.topDown = true;
        height = -height;
    }
    CheckImageSize(h.width, height);
    L.width = static_cast<int>(h.width);
    L.height = static_cast<int>(height);

    const int bpp = h.bitsPerPixel;
    const std::uint32_t comp = h.compression;
    switch (comp) {
        case kBiRgb:
            if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) Fail();
            if (h.core && bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24) Fail();
            break;
        case kBiRle8:
            if (bpp != 8 || L.topDown || options.iconEntry) Fail();
            break;
        case kBiRle4:
            if (bpp != 4 || L.topDown || options.iconEntry) Fail();
            break;
        case kBiBitfields:
        case kBiAlphaBitfields:
            if ((bpp != 16 && bpp != 32) || h.os2) Fail();
            L.bitfields = true;
            break;
        default:
            Fail();
    }

    std::size_t paletteStart = h.headerSize;
    if (L.bitfields) {
        const bool withAlpha = comp == kBiAlphaBitfields;
        if (!h.masksInHeader) {
            // A BITMAPINFOHEADER is followed by three (or four) DWORD masks.
            const std::size_t count = withAlpha ? 4 : 3;
            for (std::size_t i = 0; i < count; ++i)
                h.masks[i] = r.U32(h.headerSize + 4 * i);
            paletteStart += 4 * count;
        } else if (withAlpha && !h.alphaMaskInHeader) {
            h.masks[3] = r.U32(h.headerSize);
            paletteStart += 4;
        }
        for (int i = 0; i < 4; ++i)
            L.channels[i] = MakeChannel(h.masks[i]);
        L.alphaChannel = L.channels[3].mask != 0;
    } else {
        const std::uint32_t rgb16[3] = {0x7C00, 0x03E0, 0x001F};
        const std::uint32_t rgb32[3] = {0xFF0000, 0xFF00, 0xFF};
        for (int i = 0; i < 3; ++i)
            L.channels[i] = MakeChannel(bpp == 16 ? rgb16[i] : rgb32[i]);
        if (bpp == 32 && options.iconEntry) {
            L.channels[3] = MakeChannel(0xFF000000u);
            L.alphaChannel = true;
        }
    }

    const std::size_t entrySize = h.core ? 3 : 4;
    std::uint64_t count = 0;
    if (bpp <= 8) {
        const std::uint64_t full = std::uint64_t{1} << bpp;
        count = (h.colorsUsed == 0 || h.colorsUsed > full) ? full : h.colorsUsed;
    } else if (options.bitsOffset == 0) {
        count = h.colorsUsed;  // an optional palette for display, skipped
    }
    if (options.bitsOffset != 0) {
        if (options.bitsOffset < paletteStart) Fail();
        // A palette shorter than its colour count is common in old files: the bits start
        // where the container says, and the missing entries are black.
        const std::uint64_t room = (options.bitsOffset - paletteStart) / entrySize;
        count = std::min(count, room);
        L.bits = options.bitsOffset;
    } else {
        L.bits = paletteStart + count * entrySize;  // count <= 2^32: no overflow in 64 bits
    }
    if (!r.Has(paletteStart, count * entrySize) || L.bits > r.Size()) Fail();

    if (bpp <= 8) {
        L.palette.assign(std::size_t{1} << bpp, kOpaqueBlack);
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t at = paletteStart + i * entrySize;
            L.palette[i] = kOpaqueBlack | (static_cast<std::uint32_t>(r.U8(at + 2)) << 16) |
                           (static_cast<std::uint32_t>(r.U8(at + 1)) << 8) | r.U8(at);
        }
    }
    return L;
}

std::size_t StrideOf(int width, int bpp) {
    return ((static_cast<std::size_t>(width) * static_cast<std::size_t>(bpp) + 31) / 32) * 4;
}

std::uint32_t FromFields(const Layout& L, std::uint32_t v) {
    const std::uint32_t a = L.alphaChannel ? Expand(L.channels[3], v) : 0xFF;
    return (a << 24) | (Expand(L.channels[0], v) << 16) | (Expand(L.channels[1], v) << 8) |
           Expand(L.channels[2], v);
}

void DecodeRow(const Layout& L, const std::uint8_t* src, std::uint32_t* dst) {
    const int w = L.width;
    switch (L.header.bitsPerPixel) {
        case 1:
            for (int x = 0; x < w; ++x)
                dst[x] = L.palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
            break;
        case 4:
            for (int x = 0; x < w; ++x)
                dst[x] = L.palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
            break;
        case 8:
            for (int x = 0; x < w; ++x)
                dst[x] = L.palette[src[x]];
            break;
        case 16:
            for (int x = 0; x < w; ++x)
                dst[x] =
                    FromFields(L, static_cast<std::uint32_t>(src[2 * x] | src[2 * x + 1] << 8));
            break;
        case 24:
            for (int x = 0; x < w; ++x) {
                const std::uint8_t* p = src + 3 * static_cast<std::size_t>(x);
                dst[x] = kOpaqueBlack | (static_cast<std::uint32_t>(p[2]) << 16) |
                         (static_cast<std::uint32_t>(p[1]) << 8) | p[0];
            }
            break;
        default:  // 32
            for (int x = 0; x < w; ++x) {
                const std::uint8_t* p = src + 4 * static_cast<std::size_t>(x);
                std::uint32_t v = static_cast<std::uint32_t>(p[0]) |
                                  (static_cast<std::uint32_t>(p[1]) << 8) |
                                  (static_cast<std::uint32_t>(p[2]) << 16) |
                                  (static_cast<std::uint32_t>(p[3]) << 24);
                dst[x] = FromFields(L, v);
            }
            break;
    }
}

// RLE4/RLE8: runs and escapes (0 0 end of line, 0 1 end of bitmap, 0 2 dx dy delta, 0 n
// absolute run padded to a word). Rows are bottom-up; pixels a delta or an early end of line
// skips stay opaque black, runs past the right edge are clipped, and data after the last row
// is read but not drawn. Running out of data before the end-of-bitmap escape is an error.
void DecodeRle(const Layout& L, std::span<const std::uint8_t> data, Image& out) {
    const bool four = L.header.compression == kBiRle4;
    const std::size_t w = static_cast<std::size_t>(L.width);
    const std::size_t h = static_cast<std::size_t>(L.height);
    std::size_t x = 0;
    std::size_t y = 0;  // counted from the bottom row
    std::size_t pos = 0;
    auto put = [&](std::uint32_t index) {
        if (x < w && y < h) out.pixels[(h - 1 - y) * w + x] = L.palette[index];
        if (x <= w) ++x;
    };
    for (;;) {
        if (data.size() - pos < 2) Fail();
        const std::uint8_t n = data[pos];
        const std::uint8_t c = data[pos + 1];
        pos += 2;
        if (n > 0) {
            for (unsigned i = 0; i < n; ++i)
                put(four ? ((i & 1) ? (c & 0xF) : (c >> 4)) : c);
        } else if (c == 0) {
            x = 0;
            if (y <= h) ++y;
        } else if (c == 1) {
            return;
        } else if (c == 2) {
            if (data.size() - pos < 2) Fail();
            x = std::min(x + data[pos], w + 1);
            y = std::min(y + data[pos + 1], h + 1);
            pos += 2;
        } else {
            const std::size_t bytes = four ? (c + 1u) / 2 : c;
            const std::size_t padded = (bytes + 1) & ~std::size_t{1};
            if (data.size() - pos < padded) Fail();
            for (unsigned i = 0; i < c; ++i) {
                const std::uint8_t b = data[pos + (four ? i / 2 : i)];
                put(four ? ((i & 1) ? (b & 0xF) : (b >> 4)) : b);
            }
            pos += padded;
        }
    }
}

// Alpha read from the file is only trusted when it says something: all zero is the usual
// "reserved byte" of writers that ignore alpha, and then the image is opaque.
void SettleAlpha(Image& image) {
    bool allZero = true;
    bool allOpaque = true;
    for (std::uint32_t p : image.pixels) {
        const std::uint32_t a = p >> 24;
        allZero = allZero && a == 0;
        allOpaque = allOpaque && a == 0xFF;
    }
    if (allZero)
        for (std::uint32_t& p : image.pixels)
            p |= 0xFF000000u;
    image.hasAlpha = !allZero && !allOpaque;
}

}  // namespace

DibSummary SummarizeDib(std::span<const std::uint8_t> dib, bool iconEntry) {
    const ByteReader r(dib);
    const DibHeader h = ReadHeader(r);
    std::int64_t height = h.height < 0 ? -h.height : h.height;
    if (iconEntry) height = h.height > 0 ? h.height / 2 : 0;
    CheckImageSize(h.width, height);
    return {static_cast<int>(h.width), static_cast<int>(height), h.bitsPerPixel};
}

Image DecodeDib(std::span<const std::uint8_t> dib, const DibOptions& options) {
    const ByteReader r(dib);
    const Layout L = Plan(r, options);
    Image out;
    const std::uint32_t comp = L.header.compression;
    if (comp == kBiRle4 || comp == kBiRle8) {
        AllocateImage(out, L.width, L.height, kOpaqueBlack, false);
        DecodeRle(L, r.From(L.bits), out);
        return out;
    }

    const std::size_t stride = StrideOf(L.width, L.header.bitsPerPixel);
    const std::size_t rows = static_cast<std::size_t>(L.height);
    // stride <= 4 * 32768 + 4 and rows <= 32768: the product fits easily.
    if (!r.Has(L.bits, stride * rows)) Fail();
    const std::size_t maskStride = StrideOf(L.width, 1);
    const std::size_t maskAt = L.bits + stride * rows;
    const bool hasMask = options.iconEntry && r.Has(maskAt, maskStride * rows);
    // Only 32-bit icon entries may leave the AND mask out: their alpha does its work.
    if (options.iconEntry && !hasMask && !L.alphaChannel) Fail();

    AllocateImage(out, L.width, L.height, kOpaqueBlack, hasMask);
    const std::uint8_t* base = dib.data() + L.bits;
    for (std::size_t row = 0; row < rows; ++row) {
        const std::size_t y = L.topDown ? row : rows - 1 - row;
        DecodeRow(L, base + row * stride,
                  out.pixels.data() + y * static_cast<std::size_t>(L.width));
    }
    if (L.alphaChannel) SettleAlpha(out);
    if (options.iconEntry && !hasMask && !out.hasAlpha) Fail();
    if (hasMask) {
        const std::uint8_t* m = dib.data() + maskAt;
        const std::size_t w = static_cast<std::size_t>(L.width);
        for (std::size_t row = 0; row < rows; ++row) {
            const std::uint8_t* src = m + row * maskStride;
            std::uint8_t* dst = out.mask.data() + (rows - 1 - row) * w;
            for (std::size_t x = 0; x < w; ++x)
                dst[x] = (src[x >> 3] >> (7 - (x & 7))) & 1;
        }
    }
    return out;
}

}  // namespace zo::plat::image
