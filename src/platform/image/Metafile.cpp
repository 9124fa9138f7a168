// Metafile recognition: a WMF (with or without the placeable header) or an EMF gives its
// picture type and nominal size. The record chain is walked to its end-of-file record so that
// a truncated or corrupt file is refused like any other bad picture; nothing is drawn.
#include <cstdlib>

#include "platform/Gdi.h"
#include "platform/image/ImageInternal.h"

namespace zo::plat {
namespace {

using image::ByteReader;
using image::Fail;

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7u;
constexpr std::size_t kPlaceableSize = 22;
constexpr std::size_t kMetaHeaderSize = 18;
constexpr std::uint16_t kMetaSetWindowExt = 0x020C;
constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEmrEof = 14;
constexpr std::uint32_t kEmfSignature = 0x464D4520u;  // " EMF"
constexpr std::size_t kEmrHeaderMinSize = 88;

LONG Extent(std::int64_t a, std::int64_t b) {
    const std::int64_t d = std::llabs(b - a);
    if (d > 0x7FFFFFFF) Fail();
    return static_cast<LONG>(d);
}

// Walks the WMF records after the METAHEADER at `at`; returns the window extent (x, y) of the
// first META_SETWINDOWEXT record, or (0, 0).
POINT WalkWmf(const ByteReader& r, std::size_t at) {
    if ((r.U16(at) != 1 && r.U16(at) != 2) || r.U16(at + 2) != 9 ||
        (r.U16(at + 4) != 0x0100 && r.U16(at + 4) != 0x0300))
        Fail();
    POINT extent;
    bool haveExtent = false;
    std::size_t pos = at + kMetaHeaderSize;
    for (;;) {
        const std::uint64_t bytes = std::uint64_t{r.U32(pos)} * 2;
        const std::uint16_t function = r.U16(pos + 4);
        if (bytes < 6 || !r.Has(pos, bytes)) Fail();
        if (function == 0) return extent;  // META_EOF
        if (function == kMetaSetWindowExt && bytes >= 10 && !haveExtent) {
            extent.y = r.I16(pos + 6);
            extent.x = r.I16(pos + 8);
            haveExtent = true;
        }
        pos += bytes;
    }
}

MetafileInfo ReadWmf(const ByteReader& r) {
    MetafileInfo info;
    info.type = 2;
    if (r.U32(0) == kPlaceableKey) {
        const LONG inch = r.U16(14);
        if (inch == 0) Fail();
        WalkWmf(r, kPlaceableSize);
        info.himetricWidth = MulDiv(Extent(r.I16(6), r.I16(10)), 2540, inch);
        info.himetricHeight = MulDiv(Extent(r.I16(8), r.I16(12)), 2540, inch);
    } else {
        // Without the placeable header the window extent is the only size the file states;
        // it is taken as pixels of the 96 dpi screen.
        const POINT ext = WalkWmf(r, 0);
        info.himetricWidth = MulDiv(std::abs(ext.x), 2540, 96);
        info.himetricHeight = MulDiv(std::abs(ext.y), 2540, 96);
    }
    return info;
}

MetafileInfo ReadEmf(const ByteReader& r) {
    const std::uint32_t headerSize = r.U32(4);
    if (r.U32(0) != kEmrHeader || r.U32(40) != kEmfSignature || headerSize < kEmrHeaderMinSize)
        Fail();
    std::size_t pos = 0;
    for (;;) {
        const std::uint32_t type = r.U32(pos);
        const std::uint32_t size = r.U32(pos + 4);
        if (size < 8 || size % 4 != 0 || !r.Has(pos, size)) Fail();
        if (type == kEmrEof) break;
        pos += size;
    }
    // rclFrame is in HIMETRIC already.
    MetafileInfo info;
    info.type = 4;
    info.himetricWidth = Extent(r.I32(24), r.I32(32));
    info.himetricHeight = Extent(r.I32(28), r.I32(36));
    return info;
}

}  // namespace

MetafileInfo ReadMetafileInfo(std::span<const std::uint8_t> file) {
    const ByteReader r(file);
    switch (DetectImageFormat(file)) {
        case ImageFormat::Wmf:
            return ReadWmf(r);
        case ImageFormat::Emf:
            return ReadEmf(r);
        default:
            Fail();
    }
}

}  // namespace zo::plat
