// PNG decoding: every colour type and bit depth becomes 32-bit BGRA with the right samples
// and alpha; damaged, truncated and oversized files are refused with 481.
#include <gtest/gtest.h>

#include "platform/image_builders.h"

namespace {

using namespace zo::plat;
using namespace zo::test;

TEST(ImagePng, DecodesToThesePixels) {
    ExpectDecodes(".png");
}

TEST(ImagePng, InterlacedEqualsPlain) {
    // 9 x 10 RGB, sample i = i * 37 % 256.
    const Image plain = DecodePng(Fixture("rgb-9x10.png"));
    EXPECT_EQ(DecodePng(Fixture("rgb-9x10-adam7.png")).pixels, plain.pixels);
    EXPECT_EQ(plain.At(8, 9), 0xFF97BCE1u);
}

TEST(ImagePng, OutOfRangePaletteIndexIsHarmless) {
    try {
        EXPECT_EQ(DecodePng(Fixture("bad-palette-index.png")).At(0, 0), 0xFFABCDEFu);
    } catch (const zo::Error& e) {
        EXPECT_EQ(e.Number(), 481);
    }
}

TEST(ImagePng, DamagedFilesAreRefused) {
    ExpectRefused(".png");
}

}  // namespace
