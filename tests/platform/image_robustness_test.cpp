// Bad input never crashes, leaks or succeeds by accident: every valid sample cut short at any
// byte of its first kilobyte is refused with 481, damaged headers fail cleanly or decode, and
// the fuzz seeds (generated from the same samples) stay in step with the decoders.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/Error.h"
#include "core/Picture.h"
#include "platform/GdiInternal.h"
#include "platform/Image.h"
#include "platform/image_builders.h"

namespace {

using namespace zo::plat;
using namespace zo::test;
namespace fs = std::filesystem;

// Loads bytes as a picture; true when it loaded, false on 481; any other outcome fails.
bool LoadsOrInvalid(const Bytes& bytes, const std::string& what) {
    try {
        const auto pic = LoadPictureFromMemory(bytes);
        return pic != nullptr;
    } catch (const zo::Error& e) {
        EXPECT_EQ(e.Number(), 481) << what;
        EXPECT_EQ(e.Description(), "Invalid picture") << what;
        return false;
    }
}

TEST(ImageRobustness, EverySampleLoads) {
    const std::size_t live = GdiObjects().LiveCount();
    for (const auto& [name, bytes] : SampleImageFiles()) {
        EXPECT_TRUE(LoadsOrInvalid(bytes, name)) << name;
        EXPECT_NE(DetectImageFormat(bytes), ImageFormat::Unknown) << name;
    }
    EXPECT_EQ(GdiObjects().LiveCount(), live);
}

TEST(ImageRobustness, TruncationAtEveryByteIsRefused) {
    const std::size_t live = GdiObjects().LiveCount();
    for (const auto& [name, bytes] : SampleImageFiles()) {
        const std::size_t limit = std::min<std::size_t>(bytes.size(), 1024);
        for (std::size_t n = 0; n < limit; ++n) {
            const Bytes cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
            ASSERT_FALSE(LoadsOrInvalid(cut, name + " cut to " + std::to_string(n)))
                << name << " cut to " << n << " bytes loaded";
        }
    }
    EXPECT_EQ(GdiObjects().LiveCount(), live);
}

TEST(ImageRobustness, DamagedHeaderBytesFailCleanly) {
    const std::size_t live = GdiObjects().LiveCount();
    for (const auto& [name, bytes] : SampleImageFiles()) {
        const std::size_t limit = std::min<std::size_t>(bytes.size(), 96);
        for (std::size_t i = 0; i < limit; ++i)
            for (std::uint8_t v : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
                Bytes b = bytes;
                b[i] = v;
                LoadsOrInvalid(b, name + " byte " + std::to_string(i));
                // The same bytes through the format-specific decoders.
                try {
                    switch (DetectImageFormat(b)) {
                        case ImageFormat::Bmp:
                            DecodeBmp(b);
                            break;
                        case ImageFormat::Icon:
                        case ImageFormat::Cursor:
                            DecodeIcon(b, 1, 1);
                            break;
                        case ImageFormat::Png:
                            DecodePng(b);
                            break;
                        default:
                            break;
                    }
                } catch (const zo::Error& e) {
                    EXPECT_EQ(e.Number(), 481);
                }
            }
    }
    EXPECT_EQ(GdiObjects().LiveCount(), live);
}

// The seeds of fuzz/image_decode are the samples; ZO_WRITE_FUZZ_SEEDS=1 rewrites them.
TEST(ImageRobustness, FuzzSeedsMatchTheSamples) {
    const fs::path dir = fs::path(ZO_SOURCE_DIR) / "fuzz" / "corpus" / "image_decode";
    const char* write = std::getenv("ZO_WRITE_FUZZ_SEEDS");
    const bool rewrite = write != nullptr && std::string(write) == "1";
    if (rewrite) fs::create_directories(dir);
    for (const auto& [name, bytes] : SampleImageFiles()) {
        const fs::path p = dir / name;
        if (rewrite)
            std::ofstream(p, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
        std::ifstream f(p, std::ios::binary);
        ASSERT_TRUE(f) << p << " missing; run with ZO_WRITE_FUZZ_SEEDS=1";
        const Bytes onDisk((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        EXPECT_EQ(onDisk, bytes) << p << " is stale; run with ZO_WRITE_FUZZ_SEEDS=1";
        EXPECT_LE(bytes.size(), 4096u) << name << ": seeds stay small";
    }
}

}  // namespace
