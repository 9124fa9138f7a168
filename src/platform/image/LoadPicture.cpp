// Picture loading: decoded images become platform bitmaps and icons behind picture objects
// that delete them when they die; PNG snapshots read the pixels back from handles.
#include <fstream>
#include <system_error>
#include <utility>

#include "core/Error.h"
#include "core/Picture.h"
#include "platform/Gdi.h"
#include "platform/image/ImageInternal.h"

namespace zo::plat {
namespace {

// No valid picture file comes near this: the largest bitmap the decoders accept is 256 MiB of
// pixels, and files beyond it are refused before they are read.
constexpr std::uintmax_t kMaxPictureFileBytes = std::uintmax_t{512} * 1024 * 1024;

constexpr std::int32_t kErrFileNotFound = 53;
constexpr std::int32_t kErrPathFileAccess = 75;
constexpr std::int32_t kErrPathNotFound = 76;

Bitmap ColorBitmap(Image& image) {
    Bitmap b;
    b.width = image.width;
    b.height = image.height;
    b.bpp = 32;
    b.hasAlpha = image.hasAlpha;
    b.pixels = std::move(image.pixels);
    return b;
}

std::shared_ptr<Picture> BitmapPicture(Image image) {
    const int w = image.width;
    const int h = image.height;
    const HBITMAP handle = CreateBitmapFromPixels(ColorBitmap(image));
    if (handle == 0) image::Fail();
    return Picture::FromPixels(PictureType::Bitmap, handle, w, h,
                               [](std::uint32_t hb) { DeleteObject(hb); });
}

std::shared_ptr<Picture> IconPicture(Image image) {
    const int w = image.width;
    const int h = image.height;
    Icon icon;
    icon.hotspotX = image.hotspotX;
    icon.hotspotY = image.hotspotY;
    icon.mask.bpp = 1;
    if (!image.mask.empty()) {
        icon.mask.width = w;
        icon.mask.height = h;
        icon.mask.mono = std::move(image.mask);
    }
    icon.color = ColorBitmap(image);
    const HICON handle = CreateIconFromImages(std::move(icon));
    if (handle == 0) image::Fail();
    return Picture::FromPixels(PictureType::Icon, handle, w, h,
                               [](std::uint32_t hi) { DestroyIcon(hi); });
}

[[noreturn]] void RaiseFileError(std::int32_t number) {
    if (number == kErrPathFileAccess)
        throw Error(number, std::string(kLibraryName), "Path/File access error");
    RaiseRuntimeError(number);
}

bool CopyBitmap(const Bitmap& b, Image& out) {
    if (b.width <= 0 || b.height <= 0) return false;
    const std::size_t n = static_cast<std::size_t>(b.width) * static_cast<std::size_t>(b.height);
    Image image;
    image.width = b.width;
    image.height = b.height;
    if (b.bpp == 1) {
        if (b.mono.size() != n) return false;
        image.pixels.resize(n);
        for (std::size_t i = 0; i < n; ++i)
            image.pixels[i] = b.mono[i] ? 0xFFFFFFFFu : 0xFF000000u;
    } else {
        if (b.pixels.size() != n) return false;
        image.pixels = b.pixels;
        image.hasAlpha = b.hasAlpha;
        // Without meaningful alpha the fourth byte is whatever drawing left there.
        if (!b.hasAlpha)
            for (std::uint32_t& p : image.pixels)
                p |= 0xFF000000u;
    }
    out = std::move(image);
    return true;
}

ImageIoStatus SaveImage(bool found, const Image& image, const std::filesystem::path& path,
                        const char* what) {
    if (!found) return {std::string("no bitmap behind the ") + what + " handle"};
    return WritePng(path, image, image.hasAlpha ? PngChannels::Rgba : PngChannels::Rgb);
}

}  // namespace

namespace {

std::shared_ptr<Picture> DecodePicture(std::span<const std::uint8_t> bytes) {
    switch (DetectImageFormat(bytes)) {
        case ImageFormat::Bmp:
            return BitmapPicture(DecodeBmp(bytes));
        case ImageFormat::Png:
            return BitmapPicture(DecodePng(bytes));
        case ImageFormat::Icon:
        case ImageFormat::Cursor:
            return IconPicture(DecodeIcon(bytes));
        case ImageFormat::Wmf:
        case ImageFormat::Emf: {
            // Metafiles are recognised for their type and size only; nothing on the platform
            // plays them, so the picture has no handle.
            const MetafileInfo info = ReadMetafileInfo(bytes);
            return Picture::Create(static_cast<PictureType>(info.type), 0, info.himetricWidth,
                                   info.himetricHeight);
        }
        case ImageFormat::Unknown:
            break;
    }
    image::Fail();
}

}  // namespace

std::shared_ptr<Picture> LoadPictureFromMemory(std::span<const std::uint8_t> bytes) {
    std::shared_ptr<Picture> picture = DecodePicture(bytes);
    picture->SetSource(
        std::make_shared<const std::vector<std::uint8_t>>(bytes.begin(), bytes.end()));
    return picture;
}

std::shared_ptr<Picture> LoadPicture(const std::filesystem::path& path) {
    if (path.empty()) return Picture::Empty();
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) {
        const std::filesystem::path parent = path.parent_path();
        if (!parent.empty() && !std::filesystem::is_directory(parent, ec))
            RaiseFileError(kErrPathNotFound);
        RaiseFileError(kErrFileNotFound);
    }
    if (std::filesystem::is_directory(status)) RaiseFileError(kErrPathFileAccess);
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) RaiseFileError(kErrPathFileAccess);
    if (size > kMaxPictureFileBytes) image::Fail();

    std::ifstream file(path, std::ios::binary);
    if (!file) RaiseFileError(kErrPathFileAccess);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
    if (static_cast<std::uintmax_t>(file.gcount()) != size) RaiseFileError(kErrPathFileAccess);
    return LoadPictureFromMemory(bytes);
}

bool ImageFromBitmap(HBITMAP bitmap, Image& out) {
    const GdiObject* o = GetGdi(bitmap, GdiKind::Bitmap);
    return o != nullptr && CopyBitmap(o->bitmap, out);
}

bool ImageFromDc(HDC dc, Image& out) {
    DeviceContext* d = GetDcPtr(dc);
    const Bitmap* target = d != nullptr ? TargetOf(*d) : nullptr;
    return target != nullptr && CopyBitmap(*target, out);
}

ImageIoStatus SaveBitmapPng(HBITMAP bitmap, const std::filesystem::path& path) {
    Image image;
    const bool found = ImageFromBitmap(bitmap, image);
    return SaveImage(found, image, path, "bitmap");
}

ImageIoStatus SaveDcPng(HDC dc, const std::filesystem::path& path) {
    Image image;
    const bool found = ImageFromDc(dc, image);
    return SaveImage(found, image, path, "device context");
}

}  // namespace zo::plat
