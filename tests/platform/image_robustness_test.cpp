// Bad input never crashes, leaks or succeeds by accident: every fuzz seed cut short at any byte
// of its first kilobyte is refused with 481, and damaged header bytes fail cleanly or load.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/GdiInternal.h"
#include "platform/image_builders.h"

namespace {

using namespace zo::plat;
using namespace zo::test;
namespace fs = std::filesystem;

// The fuzz seeds: a small valid file for each decoder path.
std::vector<std::pair<std::string, Bytes>> Samples() {
    std::vector<fs::path> paths;
    for (const auto& e :
         fs::directory_iterator(fs::path(ZO_SOURCE_DIR) / "fuzz" / "corpus" / "image_decode"))
        paths.push_back(e.path());
    std::sort(paths.begin(), paths.end());
    std::vector<std::pair<std::string, Bytes>> out;
    for (const fs::path& p : paths) {
        std::ifstream f(p, std::ios::binary);
        out.emplace_back(p.filename().string(), Bytes(std::istreambuf_iterator<char>(f), {}));
    }
    return out;
}

// Loads bytes as a picture; true when it loaded, false on 481; any other outcome fails.
bool LoadsOrInvalid(const Bytes& bytes, const std::string& what) {
    try {
        return LoadPictureFromMemory(bytes) != nullptr;
    } catch (const zo::Error& e) {
        EXPECT_EQ(e.Number(), 481) << what;
        EXPECT_EQ(e.Description(), "Invalid picture") << what;
        return false;
    }
}

TEST(ImageRobustness, SeedsLoadAndTheirCutOrDamagedCopiesFailCleanly) {
    const std::size_t live = GdiObjects().LiveCount();
    const auto samples = Samples();
    EXPECT_GE(samples.size(), 23u);
    for (const auto& [name, bytes] : samples) {
        EXPECT_TRUE(LoadsOrInvalid(bytes, name)) << name;
        EXPECT_NE(DetectImageFormat(bytes), ImageFormat::Unknown) << name;
        // Cut short anywhere in its first kilobyte: refused.
        for (std::size_t n = 0; n < std::min<std::size_t>(bytes.size(), 1024); ++n) {
            const Bytes cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
            ASSERT_FALSE(LoadsOrInvalid(cut, name + " cut to " + std::to_string(n)))
                << name << " cut to " << n << " bytes loaded";
        }
        // A header byte set to an edge value: loads or is refused, nothing else.
        for (std::size_t i = 0; i < std::min<std::size_t>(bytes.size(), 96); ++i)
            for (std::uint8_t v : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
                Bytes b = bytes;
                b[i] = v;
                LoadsOrInvalid(b, name + " byte " + std::to_string(i));
            }
    }
    EXPECT_EQ(GdiObjects().LiveCount(), live);  // every picture released its object
}

}  // namespace
