// PNG reading and writing with libpng. libpng reports errors by longjmp, so the functions that
// call it keep only trivially destructible locals between setjmp and the libpng calls; C++
// objects they fill live in the caller's frame, and no C++ exception crosses libpng.
#include <png.h>

#include <bit>
#include <csetjmp>
#include <cstring>
#include <fstream>
#include <new>

#include "core/Error.h"
#include "platform/image/ImageInternal.h"

static_assert(std::endian::native == std::endian::little,
              "pixels are BGRA bytes in memory: 0xAARRGGBB read little-endian");

namespace zo::plat {
namespace {

// Largest ancillary chunk libpng may buffer (text, ICC profiles); image data is streamed.
constexpr png_alloc_size_t kMaxChunkBytes = 8u * 1024 * 1024;

struct ReadSource {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* src = static_cast<ReadSource*>(png_get_io_ptr(png));
    if (count > src->size - src->pos) png_error(png, "truncated");
    std::memcpy(out, src->data + src->pos, count);
    src->pos += count;
}

[[noreturn]] void OnPngError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void OnPngWarning(png_structp, png_const_charp) {}

// Owns the libpng structures; declared before setjmp so that both ways out free them.
struct ReadGuard {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~ReadGuard() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

struct WriteGuard {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~WriteGuard() { png_destroy_write_struct(&png, info ? &info : nullptr); }
};

// What the decoder fills; owned by the caller so that a longjmp skips no destructor.
struct PngTarget {
    Image* image;
    std::vector<png_bytep>* rows;
};

// The image's size is checked before anything is allocated for it.
bool ReadPngInto(ReadGuard& g, ReadSource& src, PngTarget& target) {
    if (setjmp(png_jmpbuf(g.png))) return false;
    png_set_read_fn(g.png, &src, ReadFromMemory);
    png_set_user_limits(g.png, kMaxImageDimension, kMaxImageDimension);
    png_set_chunk_malloc_max(g.png, kMaxChunkBytes);
    png_read_info(g.png, g.info);

    const png_uint_32 width = png_get_image_width(g.png, g.info);
    const png_uint_32 height = png_get_image_height(g.png, g.info);
    if (width == 0 || height == 0 || std::int64_t{width} * height > kMaxImagePixels) return false;
    const int colorType = png_get_color_type(g.png, g.info);
    const int depth = png_get_bit_depth(g.png, g.info);
    const bool trns = png_get_valid(g.png, g.info, PNG_INFO_tRNS) != 0;

    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(g.png);
    if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(g.png);
    if (trns) png_set_tRNS_to_alpha(g.png);
    if (depth == 16) png_set_scale_16(g.png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(g.png);
    png_set_bgr(g.png);
    const bool alpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0 || trns;
    if (!alpha) png_set_filler(g.png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(g.png);
    png_read_update_info(g.png, g.info);
    if (png_get_rowbytes(g.png, g.info) != static_cast<png_size_t>(width) * 4) png_error(g.png, "");

    Image& image = *target.image;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.hasAlpha = alpha;
    image.pixels.resize(static_cast<std::size_t>(width) * height);
    target.rows->resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        (*target.rows)[y] =
            reinterpret_cast<png_bytep>(image.pixels.data() + std::size_t{y} * width);
    png_read_image(g.png, target.rows->data());
    // The end is read too, so that a file cut short after its pixels is still refused.
    png_read_end(g.png, nullptr);
    return true;
}

struct WriteSink {
    std::vector<std::uint8_t>* out;
    bool failed;
};

void WriteToMemory(png_structp png, png_bytep data, png_size_t count) {
    auto* sink = static_cast<WriteSink*>(png_get_io_ptr(png));
    try {
        sink->out->insert(sink->out->end(), data, data + count);
    } catch (...) {
        sink->failed = true;
    }
    if (sink->failed) png_error(png, "out of memory");
}

void FlushNothing(png_structp) {}

bool WritePngInto(WriteGuard& g, WriteSink& sink, const Image& image, bool withAlpha,
                  std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(g.png))) return false;
    png_set_write_fn(g.png, &sink, WriteToMemory, FlushNothing);
    png_set_IHDR(g.png, g.info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 8,
                 withAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(g.png, g.info);
    png_set_bgr(g.png);
    // RGB output drops the fourth byte of each pixel.
    if (!withAlpha) png_set_filler(g.png, 0, PNG_FILLER_AFTER);
    png_write_image(g.png, rows.data());
    png_write_end(g.png, nullptr);
    return true;
}

}  // namespace

Image DecodePng(std::span<const std::uint8_t> file) {
    if (file.size() < 8 || png_sig_cmp(file.data(), 0, 8) != 0) image::Fail();
    Image image;
    std::vector<png_bytep> rows;
    ReadSource src{file.data(), file.size(), 0};
    PngTarget target{&image, &rows};
    bool ok = false;
    {
        ReadGuard g;
        g.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
        if (g.png != nullptr) g.info = png_create_info_struct(g.png);
        if (g.info != nullptr) ok = ReadPngInto(g, src, target);
    }
    if (!ok) image::Fail();
    return image;
}

std::vector<std::uint8_t> EncodePng(const Image& image, PngChannels channels) {
    if (image.width <= 0 || image.height <= 0 || image.width > kMaxImageDimension ||
        image.height > kMaxImageDimension ||
        image.pixels.size() !=
            static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
        image::Fail();
    std::vector<std::uint8_t> out;
    std::vector<png_bytep> rows(static_cast<std::size_t>(image.height));
    // libpng takes non-const row pointers but only reads them when writing.
    auto* base = reinterpret_cast<png_bytep>(const_cast<std::uint32_t*>(image.pixels.data()));
    for (std::size_t y = 0; y < rows.size(); ++y)
        rows[y] = base + y * static_cast<std::size_t>(image.width) * 4;
    WriteSink sink{&out, false};
    bool ok = false;
    {
        WriteGuard g;
        g.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
        if (g.png != nullptr) g.info = png_create_info_struct(g.png);
        if (g.info != nullptr)
            ok = WritePngInto(g, sink, image, channels == PngChannels::Rgba, rows);
    }
    if (sink.failed) throw std::bad_alloc();
    if (!ok) image::Fail();
    return out;
}

ImageIoStatus WritePng(const std::filesystem::path& path, const Image& image,
                       PngChannels channels) {
    std::vector<std::uint8_t> bytes;
    try {
        bytes = EncodePng(image, channels);
    } catch (const Error&) {
        return {"cannot encode a " + std::to_string(image.width) + "x" +
                std::to_string(image.height) + " image with " +
                std::to_string(image.pixels.size()) + " pixels as PNG"};
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return {"cannot create " + path.string()};
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) return {"cannot write " + path.string()};
    return {};
}

ImageIoStatus WritePng(const std::filesystem::path& path, int width, int height,
                       std::span<const std::uint32_t> pixels, PngChannels channels) {
    Image image;
    image.width = width;
    image.height = height;
    image.pixels.assign(pixels.begin(), pixels.end());
    return WritePng(path, image, channels);
}

ImageIoStatus ReadPng(const std::filesystem::path& path, Image& out) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return {"cannot open " + path.string()};
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                    std::istreambuf_iterator<char>());
    if (file.bad()) return {"cannot read " + path.string()};
    try {
        out = DecodePng(bytes);
    } catch (const Error&) {
        return {path.string() + " is not a valid PNG file"};
    }
    return {};
}

}  // namespace zo::plat
