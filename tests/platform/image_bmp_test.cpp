// BMP decoding: every depth, compression and header generation decodes to the right pixels,
// and malformed files are refused with 481.
#include <gtest/gtest.h>

#include "platform/image_builders.h"

namespace {

using namespace zo::plat;
using namespace zo::test;

constexpr std::uint32_t B = 0xFF000000u;

TEST(ImageBmp, PalettedDepthsPutEveryIndexAtItsPixel) {
    // 11 x 3, odd for the row padding and partial bytes; palette entry i and the index at
    // (x, y) follow these formulas.
    for (int bpp : {1, 4, 8}) {
        SCOPED_TRACE(bpp);
        const Image img = DecodeBmp(Fixture("pal" + std::to_string(bpp) + ".bmp"));
        ASSERT_EQ(img.width, 11);
        ASSERT_EQ(img.height, 3);
        EXPECT_FALSE(img.hasAlpha);
        EXPECT_TRUE(img.mask.empty());
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 11; ++x) {
                const auto i = static_cast<std::uint32_t>((x * 3 + y * 5 + 1) % (1 << bpp));
                ASSERT_EQ(img.At(x, y), B | ((i * 0x3F1D2Bu + 0x102030u) & 0xFFFFFF)) << x << y;
            }
    }
}

TEST(ImageBmp, DecodesToThesePixels) {
    ExpectDecodes(".bmp");
}

TEST(ImageBmp, MalformedFilesAreRefused) {
    ExpectRefused(".bmp");
}

}  // namespace
