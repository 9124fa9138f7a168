#include "platform/image/ImageCompare.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace zo::plat {
namespace {

std::uint32_t Effective(const Image& image, std::uint32_t p) {
    return image.hasAlpha ? p : (p | 0xFF000000u);
}

std::string Hex(std::uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", v);
    return buf;
}

bool Inside(const Image& image, int x, int y) {
    return x < image.width && y < image.height &&
           image.pixels.size() ==
               static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
}

bool SamePixel(const Image& a, const Image& b, int x, int y) {
    return Inside(a, x, y) && Inside(b, x, y) &&
           Effective(a, a.At(x, y)) == Effective(b, b.At(x, y));
}

}  // namespace

bool UpdatingGoldenImages() {
    const char* v = std::getenv("ZO_UPDATE_GOLDEN");
    return v != nullptr && std::strcmp(v, "1") == 0;
}

std::string DescribeImageDifference(const Image& expected, const Image& actual) {
    if (expected.width != actual.width || expected.height != actual.height)
        return "size " + std::to_string(actual.width) + "x" + std::to_string(actual.height) +
               ", expected " + std::to_string(expected.width) + "x" +
               std::to_string(expected.height);
    std::size_t count = 0;
    std::string first;
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x) {
            if (SamePixel(expected, actual, x, y)) continue;
            if (count++ == 0) {
                const bool both = Inside(expected, x, y) && Inside(actual, x, y);
                first = "pixel (" + std::to_string(x) + "," + std::to_string(y) + ")";
                if (both)
                    first += " is " + Hex(Effective(actual, actual.At(x, y))) + ", expected " +
                             Hex(Effective(expected, expected.At(x, y)));
            }
        }
    if (count == 0) return {};
    return std::to_string(count) + " pixel(s) differ; first: " + first;
}

Image MakeDiffImage(const Image& expected, const Image& actual) {
    Image diff;
    diff.width = std::max(expected.width, actual.width);
    diff.height = std::max(expected.height, actual.height);
    if (diff.width <= 0 || diff.height <= 0) return diff;
    diff.pixels.assign(static_cast<std::size_t>(diff.width) * static_cast<std::size_t>(diff.height),
                       0xFFFF0000u);
    for (int y = 0; y < diff.height; ++y)
        for (int x = 0; x < diff.width; ++x) {
            if (!SamePixel(expected, actual, x, y)) continue;
            const std::uint32_t p = actual.At(x, y);
            // Faded three quarters of the way to white, so that the red stands out.
            auto fade = [](std::uint32_t c) { return (c + 3 * 255) / 4; };
            const std::uint32_t r = fade((p >> 16) & 0xFF);
            const std::uint32_t g = fade((p >> 8) & 0xFF);
            const std::uint32_t b = fade(p & 0xFF);
            diff.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(diff.width) +
                        static_cast<std::size_t>(x)] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    return diff;
}

std::string CompareWithReference(const Image& actual, const std::filesystem::path& referencePath,
                                 const std::filesystem::path& outputDir) {
    const PngChannels channels = actual.hasAlpha ? PngChannels::Rgba : PngChannels::Rgb;
    if (UpdatingGoldenImages()) {
        std::error_code ec;
        if (referencePath.has_parent_path())
            std::filesystem::create_directories(referencePath.parent_path(), ec);
        const ImageIoStatus written = WritePng(referencePath, actual, channels);
        return written ? std::string() : "cannot update the reference: " + written.error;
    }

    Image expected;
    const ImageIoStatus read = ReadPng(referencePath, expected);
    std::string problem;
    if (!read)
        problem =
            "no usable reference (" + read.error + "); run with ZO_UPDATE_GOLDEN=1 to make it";
    else
        problem = DescribeImageDifference(expected, actual);
    if (problem.empty()) return {};

    const std::string name = referencePath.stem().string();
    const std::filesystem::path actualPath = outputDir / (name + ".actual.png");
    const std::filesystem::path diffPath = outputDir / (name + ".diff.png");
    std::error_code ec;
    std::filesystem::create_directories(outputDir, ec);
    std::string message = referencePath.string() + ": " + problem;
    const ImageIoStatus a = WritePng(actualPath, actual, channels);
    message += a ? "; actual image: " + actualPath.string() : "; " + a.error;
    if (read) {
        const ImageIoStatus d =
            WritePng(diffPath, MakeDiffImage(expected, actual), PngChannels::Rgb);
        message += d ? "; diff image: " + diffPath.string() : "; " + d.error;
    }
    return message;
}

}  // namespace zo::plat
