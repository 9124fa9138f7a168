#include "host/DesignCodec.h"

#include <array>
#include <cstring>
#include <span>
#include <stdexcept>

#include "core/Error.h"
#include "platform/Gdi.h"
#include "platform/Image.h"

namespace zo::design {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<std::int8_t, 256> DecodeTable() {
    std::array<std::int8_t, 256> t{};
    for (auto& v : t)
        v = -1;
    for (int i = 0; i < 64; ++i)
        t[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::int8_t>(i);
    return t;
}
constexpr std::array<std::int8_t, 256> kDecode = DecodeTable();

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

Picture::SourceBytes Share(std::vector<std::uint8_t> bytes) {
    return std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes));
}

// An icon or cursor file of one entry. With alpha and no mask the entry is a PNG; otherwise a
// DIB (24-bit, or 32-bit when the colour has alpha) followed by its AND mask.
std::vector<std::uint8_t> EncodeIcon(const plat::Image& color,
                                     const std::vector<std::uint8_t>& mask, int hotX, int hotY) {
    std::vector<std::uint8_t> entry;
    if (color.hasAlpha && mask.empty()) {
        entry = plat::EncodePng(color, plat::PngChannels::Rgba);
    } else {
        const std::vector<std::uint8_t> bmp = plat::EncodeBmp(color, color.hasAlpha ? 32 : 24);
        entry.assign(bmp.begin() + 14, bmp.end());  // the DIB without the file header
        // The entry's header counts the colour rows and the mask rows.
        const std::uint32_t h2 = static_cast<std::uint32_t>(color.height) * 2;
        for (int i = 0; i < 4; ++i)
            entry[8 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(h2 >> (8 * i));
        const std::size_t w = static_cast<std::size_t>(color.width);
        const std::size_t stride = ((w + 31) / 32) * 4;
        for (int row = color.height - 1; row >= 0; --row) {
            std::vector<std::uint8_t> line(stride, 0);
            for (std::size_t x = 0; x < w && !mask.empty(); ++x)
                if (mask[static_cast<std::size_t>(row) * w + x] != 0)
                    line[x >> 3] = static_cast<std::uint8_t>(line[x >> 3] | (0x80 >> (x & 7)));
            entry.insert(entry.end(), line.begin(), line.end());
        }
    }
    const bool cursor = hotX != 0 || hotY != 0;
    std::vector<std::uint8_t> out;
    out.reserve(22 + entry.size());
    Put16(out, 0);
    Put16(out, cursor ? 2 : 1);
    Put16(out, 1);
    out.push_back(static_cast<std::uint8_t>(color.width >= 256 ? 0 : color.width));
    out.push_back(static_cast<std::uint8_t>(color.height >= 256 ? 0 : color.height));
    out.push_back(0);
    out.push_back(0);
    Put16(out, cursor ? static_cast<std::uint32_t>(hotX) : 1);
    Put16(out, cursor ? static_cast<std::uint32_t>(hotY) : (color.hasAlpha ? 32 : 24));
    Put32(out, static_cast<std::uint32_t>(entry.size()));
    Put32(out, 22);
    out.insert(out.end(), entry.begin(), entry.end());
    return out;
}

Picture::SourceBytes StoreBitmap(plat::HBITMAP handle, int& bits) {
    plat::BITMAP info;
    if (plat::GetObjectA(handle, sizeof info, &info) == 0) return nullptr;
    plat::Image image;
    if (!plat::ImageFromBitmap(handle, image)) return nullptr;
    bits = info.bmBitsPixel == 1 ? 1 : 0;
    const auto channels = image.hasAlpha ? plat::PngChannels::Rgba : plat::PngChannels::Rgb;
    return Share(plat::EncodePng(image, channels));
}

Picture::SourceBytes StoreIcon(plat::HICON handle) {
    plat::ICONINFO info;
    if (!plat::GetIconInfo(handle, &info)) return nullptr;
    plat::Image color, maskImage;
    const bool haveColor = plat::ImageFromBitmap(info.hbmColor, color);
    const bool haveMask = info.hbmMask != 0 && plat::ImageFromBitmap(info.hbmMask, maskImage);
    plat::DeleteObject(info.hbmColor);
    if (info.hbmMask != 0) plat::DeleteObject(info.hbmMask);
    if (!haveColor) return nullptr;
    std::vector<std::uint8_t> mask;
    if (haveMask && maskImage.width == color.width && maskImage.height == color.height) {
        mask.resize(maskImage.pixels.size());
        for (std::size_t i = 0; i < mask.size(); ++i)
            mask[i] = (maskImage.pixels[i] & 0xFFFFFFu) != 0 ? 1 : 0;
    }
    if (!color.hasAlpha && mask.empty()) mask.assign(color.pixels.size(), 0);
    return Share(
        EncodeIcon(color, mask, static_cast<int>(info.xHotspot), static_cast<int>(info.yHotspot)));
}

// The pixel size of a bitmap's or an icon's bits; {0, 0} for anything else.
plat::SIZE PixelSize(const Picture& p) {
    plat::SIZE s{};
    if (p.Handle() == 0) return s;
    if (p.Kind() == PictureType::Icon) {
        if (!plat::GetIconSize(p.Handle(), &s)) s = {};
        return s;
    }
    plat::BITMAP info;
    if (p.Kind() == PictureType::Bitmap && plat::GetObjectA(p.Handle(), sizeof info, &info) != 0)
        s = {info.bmWidth, info.bmHeight};
    return s;
}

std::int64_t PixelsOf(const Picture& p) {
    const plat::SIZE s = PixelSize(p);
    return std::int64_t{s.cx} * s.cy;
}

// A monochrome bitmap from a black-and-white image: rows padded to 16 bits, white set.
PicturePtr MonochromeBitmap(const std::vector<std::uint8_t>& png) {
    const plat::Image image = plat::DecodePng(png);
    const std::size_t w = static_cast<std::size_t>(image.width);
    const std::size_t stride = ((w + 15) / 16) * 2;
    std::vector<std::uint8_t> rows(stride * static_cast<std::size_t>(image.height), 0);
    for (int y = 0; y < image.height; ++y)
        for (std::size_t x = 0; x < w; ++x)
            if ((image.At(static_cast<int>(x), y) & 0xFFFFFFu) != 0)
                rows[static_cast<std::size_t>(y) * stride + (x >> 3)] |=
                    static_cast<std::uint8_t>(0x80 >> (x & 7));
    const plat::HBITMAP handle = plat::CreateBitmap(image.width, image.height, 1, 1, rows.data());
    if (handle == 0) RaiseRuntimeError(kErrInvalidPicture);
    return Picture::FromPixels(PictureType::Bitmap, handle, image.width, image.height,
                               [](std::uint32_t h) { plat::DeleteObject(h); });
}

}  // namespace

std::string Base64Encode(const std::uint8_t* data, std::size_t size) {
    std::string out;
    out.reserve((size + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= size; i += 3) {
        const std::uint32_t v =
            (std::uint32_t{data[i]} << 16) | (std::uint32_t{data[i + 1]} << 8) | data[i + 2];
        out.push_back(kAlphabet[v >> 18]);
        out.push_back(kAlphabet[(v >> 12) & 63]);
        out.push_back(kAlphabet[(v >> 6) & 63]);
        out.push_back(kAlphabet[v & 63]);
    }
    if (i < size) {
        const bool two = i + 1 < size;
        const std::uint32_t v =
            (std::uint32_t{data[i]} << 16) | (two ? std::uint32_t{data[i + 1]} << 8 : 0);
        out.push_back(kAlphabet[v >> 18]);
        out.push_back(kAlphabet[(v >> 12) & 63]);
        out.push_back(two ? kAlphabet[(v >> 6) & 63] : '=');
        out.push_back('=');
    }
    return out;
}

std::optional<std::vector<std::uint8_t>> Base64Decode(std::string_view text) {
    if (text.size() % 4 != 0) return std::nullopt;
    std::vector<std::uint8_t> out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        int pad = 0;
        if (last && text[i + 3] == '=') pad = text[i + 2] == '=' ? 2 : 1;
        std::uint32_t v = 0;
        for (int k = 0; k < 4; ++k) {
            const int d =
                k >= 4 - pad
                    ? 0
                    : kDecode[static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)])];
            if (d < 0) return std::nullopt;
            v = (v << 6) | static_cast<std::uint32_t>(d);
        }
        // Canonical only: bits past the last byte must be zero.
        if ((pad == 1 && (v & 0xFF) != 0) || (pad == 2 && (v & 0xFFFF) != 0)) return std::nullopt;
        out.push_back(static_cast<std::uint8_t>(v >> 16));
        if (pad < 2) out.push_back(static_cast<std::uint8_t>(v >> 8));
        if (pad < 1) out.push_back(static_cast<std::uint8_t>(v));
    }
    return out;
}

bool IsUtf8(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        // ASCII, nearly all of a design's text, eight bytes at a time.
        if (n - i >= 8) {
            std::uint64_t w;
            std::memcpy(&w, text.data() + i, 8);
            if ((w & 0x8080808080808080ull) == 0) {
                i += 8;
                continue;
            }
        }
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        int len;
        std::uint32_t cp;
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (n - i < static_cast<std::size_t>(len)) return false;
        for (int k = 1; k < len; ++k) {
            const unsigned char cc =
                static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        // No overlong forms, no surrogates, nothing past U+10FFFF.
        if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(len);
    }
    return true;
}

std::string_view PictureTypeName(PictureType type) {
    switch (type) {
        case PictureType::None:
            return "None";
        case PictureType::Bitmap:
            return "Bitmap";
        case PictureType::Metafile:
            return "Metafile";
        case PictureType::Icon:
            return "Icon";
        case PictureType::EnhancedMetafile:
            return "EnhancedMetafile";
    }
    return "None";
}

std::optional<PictureType> PictureTypeFromName(std::string_view name) {
    for (PictureType t : {PictureType::None, PictureType::Bitmap, PictureType::Metafile,
                          PictureType::Icon, PictureType::EnhancedMetafile})
        if (PictureTypeName(t) == name) return t;
    return std::nullopt;
}

namespace {

// The type of picture a file makes, from its first bytes; None when they name no format.
PictureType FileHolds(std::span<const std::uint8_t> file) {
    switch (plat::DetectImageFormat(file)) {
        case plat::ImageFormat::Bmp:
        case plat::ImageFormat::Png:
            return PictureType::Bitmap;
        case plat::ImageFormat::Icon:
        case plat::ImageFormat::Cursor:
            return PictureType::Icon;
        case plat::ImageFormat::Wmf:
            return PictureType::Metafile;
        case plat::ImageFormat::Emf:
            return PictureType::EnhancedMetafile;
        case plat::ImageFormat::Unknown:
            break;
    }
    return PictureType::None;
}

}  // namespace

StoredPicture StorePicture(const Picture& picture) {
    StoredPicture s;
    s.type = picture.Kind();
    s.width = picture.Width();
    s.height = picture.Height();
    if (picture.Source()) {
        s.file = picture.Source();
        plat::BITMAP info;
        if (s.type == PictureType::Bitmap && picture.Handle() != 0 &&
            plat::GetObjectA(picture.Handle(), sizeof info, &info) != 0 && info.bmBitsPixel == 1)
            s.bits = 1;
    } else if (picture.Handle() != 0 && s.type == PictureType::Bitmap) {
        s.file = StoreBitmap(picture.Handle(), s.bits);
    } else if (picture.Handle() != 0 && s.type == PictureType::Icon) {
        s.file = StoreIcon(picture.Handle());
    }
    if (s.file) {
        // Only bitmaps and icons know their size from their pixels; a metafile's comes from
        // its header, which this does not read, so it is always written.
        const plat::SIZE px = PixelSize(picture);
        s.typeGiven = s.type != FileHolds(*s.file);
        s.sizeGiven = px.cx == 0 || Picture::HimetricFromPixels(px.cx) != s.width ||
                      Picture::HimetricFromPixels(px.cy) != s.height;
    }
    return s;
}

PicturePtr RestorePicture(const StoredPicture& stored, std::int64_t* pixels) {
    if (!stored.file) return Picture::Create(stored.type, 0, stored.width, stored.height);
    if (stored.typeGiven && stored.type == PictureType::None)
        throw std::invalid_argument("a picture of type None has no file");
    PicturePtr made = stored.bits == 1 ? MonochromeBitmap(*stored.file)
                                       : plat::LoadPictureFromMemory(*stored.file);
    if (stored.typeGiven && made->Kind() != stored.type)
        throw std::invalid_argument("the picture's file holds a " +
                                    std::string(PictureTypeName(made->Kind())) + ", not a " +
                                    std::string(PictureTypeName(stored.type)));
    if (pixels != nullptr) *pixels += PixelsOf(*made);
    if (stored.sizeGiven && (made->Width() != stored.width || made->Height() != stored.height)) {
        // The stored size wins; the decoded picture lives as long as the resized one, which
        // keeps its handle.
        const std::uint32_t handle = made->Handle();
        made = Picture::Create(made->Kind(), handle, stored.width, stored.height,
                               [keep = made](std::uint32_t) {});
    }
    made->SetSource(stored.file);
    return made;
}

}  // namespace zo::design
