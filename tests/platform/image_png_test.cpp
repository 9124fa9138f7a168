// PNG decoding: every colour type and bit depth becomes 32-bit BGRA with the right samples
// and alpha; damaged, truncated and oversized files are refused with 481.
#include <gtest/gtest.h>

#include "platform/image_builders.h"

namespace {

using namespace zo::plat;
using namespace zo::test;

const Decoded kDecoded[] = {
    // Grey scales to the full range at every depth (0, max, max/2, 1, max, 0, 1, max/3, max).
    {{"grey1.png"}, false, "", "B W B W W B W B W"},
    {{"grey2.png"}, false, "", "B W FF555555 FF555555 W B FF555555 FF555555 W"},
    {{"grey4.png"}, false, "", "B W FF777777 FF111111 W B FF111111 FF555555 W"},
    {{"grey8.png"}, false, "", "B W FF7F7F7F FF010101 W B FF010101 FF555555 W"},
    // 16-bit samples are rounded, not truncated: 0x01FF gives 2, where the high byte gives 1.
    {{"grey16.png"}, false, "", "FF020202 FF808080 W B"},
    {{"rgb16.png"}, false, "", "FF12FE02"},
    {{"rgba16.png"}, true, "", "40FF0080"},
    {{"grey-alpha16.png"}, true, "", "01777777"},
    // The colour is kept under full transparency.
    {{"rgb8.png"}, false, "", "FF0A141E FFC86400"},
    {{"rgba8.png"}, true, "", "000A141E 80010203"},
    {{"grey-alpha8.png"}, true, "", "FF323232 073C3C3C"},
    // Palettes at every depth; a tRNS shorter than the palette leaves later entries opaque.
    {{"palette1.png"}, false, "", "R G R / G R G"},
    {{"palette2.png", "palette4.png", "palette8.png"}, false, "", "R FF123456 R / FF123456 R G"},
    {{"palette1-trns.png"}, true, "", "00FF0000 G 00FF0000 / G 00FF0000 G"},
    {{"palette2-trns.png", "palette4-trns.png", "palette8-trns.png"},
     true,
     "",
     "00FF0000 FF123456 00FF0000 / FF123456 00FF0000 G"},
    // Transparent colour keys (grey 5, RGB 1 2 3, 2-bit grey 2).
    {{"grey8-key.png"}, true, "", "00050505 FF060606 00050505"},
    {{"rgb8-key.png"}, true, "", "00010203 FF010204"},
    {{"grey2-key.png"}, true, "", "B FF555555 00AAAAAA W"},
    // Interlaced and narrower than an Adam7 block: some passes are empty.
    {{"grey1-1x3-adam7.png"}, false, "", "W / B / W"},
};

TEST(ImagePng, DecodesToThesePixels) {
    for (const Decoded& row : kDecoded)
        ExpectDecodes(row);
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

// rgb8.png: IHDR data at 16 (width, height, depth at 24, colour type at 25), CRC at 29; IDAT
// at 33 with its data at 41. Fields are big-endian.
const Damage kRefused[] = {
    {"signature", "rgb8.png", 1, 1, {'Q'}},
    {"IHDR CRC", "rgb8.png", 29, -4, {0}},
    {"no IEND", "rgb8.png", kCut, 0, {-12}},
    {"no IDAT", "rgb8.png", kCut, 0, {33}},
    {"not a zlib stream", "rgb8.png", 41, 1, {0x77}},
    {"short image data", "rgb8.png", 20, -4, {2}},
    {"RGB at 4 bits", "rgb8.png", 24, 1, {4}},
    {"colour type 5", "rgb8.png", 25, 1, {5}},
    {"palette image without PLTE", "rgb8.png", 25, 1, {3}},
    {"width out of range", "rgb8.png", 16, -4, {0, 40000}},
    {"height out of range", "rgb8.png", 20, -4, {0, 40000}},
    {"too many pixels, each side within the limit", "rgb8.png", 16, -8, {0x0000400000002000}},
};

TEST(ImagePng, DamagedFilesAreRefused) {
    for (const Damage& row : kRefused)
        ExpectRefused(row);
}

}  // namespace
