// Image files of the stand-in platform: decoders for BMP, ICO/CUR and PNG into one 32-bit
// image format, recognition of metafiles, BMP and PNG writers, picture loading (LoadPicture)
// and PNG snapshots of bitmaps. A bad or truncated file raises zo::Error 481 "Invalid
// picture"; no decoder reads outside its input or allocates before the sizes are checked.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/Export.h"
#include "platform/Types.h"

namespace zo {
class Picture;
}

namespace zo::plat {

// Largest width or height a decoder accepts, and largest pixel count (256 MiB of pixels).
inline constexpr int kMaxImageDimension = 32768;
inline constexpr std::int64_t kMaxImagePixels = std::int64_t{64} * 1024 * 1024;

// A decoded image: 0xAARRGGBB pixels (BGRA bytes in memory), row-major, top row first.
struct ZO_API Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    // True when the alpha channel carries transparency (PNG with alpha or tRNS, 32-bit icons,
    // BMP with an alpha mask); otherwise every alpha byte is 0xFF.
    bool hasAlpha = false;
    // Icons and cursors: the AND mask, one byte per pixel (1 = transparent); empty otherwise.
    std::vector<std::uint8_t> mask;
    int hotspotX = 0;  // cursors only
    int hotspotY = 0;

    std::uint32_t At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    bool Masked(int x, int y) const {
        return !mask.empty() && mask[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                     static_cast<std::size_t>(x)] != 0;
    }
};

enum class ImageFormat { Unknown, Bmp, Icon, Cursor, Png, Wmf, Emf };

// The format a file's first bytes announce (its content decides, never its name).
ZO_API ImageFormat DetectImageFormat(std::span<const std::uint8_t> bytes);

// A BMP file (BITMAPFILEHEADER followed by a DIB).
ZO_API Image DecodeBmp(std::span<const std::uint8_t> file);
// An ICO or CUR file: the entry closest to desiredWidth x desiredHeight, at the highest colour
// depth among those, with its AND mask (PNG entries have alpha and no mask).
ZO_API Image DecodeIcon(std::span<const std::uint8_t> file, int desiredWidth = 32,
                        int desiredHeight = 32);
// A PNG file of any colour type and bit depth; samples are kept as stored (no gamma change),
// 16-bit samples are rounded to 8 bits.
ZO_API Image DecodePng(std::span<const std::uint8_t> file);

// A WMF (placeable or standard) or EMF file's picture type (2 metafile, 4 enhanced
// metafile) and nominal size in HIMETRIC; the whole record chain is checked.
struct ZO_API MetafileInfo {
    int type = 0;
    LONG himetricWidth = 0;
    LONG himetricHeight = 0;
};
ZO_API MetafileInfo ReadMetafileInfo(std::span<const std::uint8_t> file);

// A BMP file of the image at 24 or 32 bits. 32 bits keep the alpha channel (a V5 header with
// an alpha mask) when the image has alpha.
ZO_API std::vector<std::uint8_t> EncodeBmp(const Image& image, int bitsPerPixel);

enum class PngChannels { Rgba, Rgb };
// A PNG file of the image, RGBA (alpha kept) or RGB (alpha dropped). Raises 481 on an image
// whose sizes do not match its pixels.
ZO_API std::vector<std::uint8_t> EncodePng(const Image& image,
                                           PngChannels channels = PngChannels::Rgba);

// Result of the file-level writers and readers: an empty error means success.
struct ZO_API ImageIoStatus {
    std::string error;
    bool ok() const { return error.empty(); }
    explicit operator bool() const { return ok(); }
};

ZO_API ImageIoStatus WritePng(const std::filesystem::path& path, int width, int height,
                              std::span<const std::uint32_t> pixels,
                              PngChannels channels = PngChannels::Rgba);
ZO_API ImageIoStatus WritePng(const std::filesystem::path& path, const Image& image,
                              PngChannels channels = PngChannels::Rgba);
ZO_API ImageIoStatus ReadPng(const std::filesystem::path& path, Image& out);

// The pixels of a bitmap handle (32-bit bitmaps as they are, hasAlpha kept; 1-bit bitmaps as
// black 0 / white 1) or of the bitmap a device context draws into. False for a bad handle.
ZO_API bool ImageFromBitmap(HBITMAP bitmap, Image& out);
ZO_API bool ImageFromDc(HDC dc, Image& out);
// PNG snapshots of the same; the error names the bad handle or the file problem.
ZO_API ImageIoStatus SaveBitmapPng(HBITMAP bitmap, const std::filesystem::path& path);
ZO_API ImageIoStatus SaveDcPng(HDC dc, const std::filesystem::path& path);

// Loads a picture file: BMP and PNG give a bitmap picture (type 1, a 32-bit bitmap that keeps
// PNG alpha), ICO and CUR an icon picture (type 3), WMF and EMF a metafile picture (type 2 or
// 4) of their nominal size; the picture keeps the file's bytes (Picture::Source). "" gives an
// empty picture (type 0). Errors: 53 "File not found",
// 76 "Path not found", 481 "Invalid picture". The picture deletes its platform object when it
// dies.
ZO_API std::shared_ptr<Picture> LoadPicture(const std::filesystem::path& path);
ZO_API std::shared_ptr<Picture> LoadPictureFromMemory(std::span<const std::uint8_t> bytes);

}  // namespace zo::plat
