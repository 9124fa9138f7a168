// BMP decoding: every depth, compression and header generation decodes to the right pixels,
// and malformed files are refused with 481.
#include <gtest/gtest.h>

#include <climits>

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

const Decoded kDecoded[] = {
    {{"mono9.bmp"}, false, "", "W B B B B B B B W"},  // most significant bit first
    {{"rgb24.bmp", "rgb24-topdown.bmp"}, false, "", "R G U / FF123456 W B"},
    // 5-5-5 by default, the top bit unused; 5-bit 16 widens to 132.
    {{"rgb555.bmp"}, false, "", "R G U FF848484"},
    // Bit fields: 5-6-5 (5-bit 1 and 6-bit 2 both widen to 8); 10-bit channels keep their top
    // 8 bits, with masks inside a 52-byte header and bits outside every mask ignored; 8-bit
    // masks in blue-green-red order after a plain header.
    {{"fields565.bmp"}, false, "", "R G FF080808"},
    {{"fields1010-v2.bmp"}, false, "", "FFFF8000 B"},
    {{"fields-bgr.bmp"}, false, "", "FF112233 B"},
    // 32 bits: the fourth byte is reserved without an alpha mask, and all-zero alpha under one
    // is a writer that ignores alpha; a V5 alpha mask or BI_ALPHABITFIELDS keep it.
    {{"rgb32.bmp", "argb-v5-zero-alpha.bmp"}, false, "", "R FF123456"},
    {{"argb-v5.bmp"}, true, "", "80FF0000 00123456"},
    {{"argb-alphabitfields.bmp"}, true, "", "44332211 FFCCBBAA"},
    {{"v4-pal8.bmp", "v5-pal8.bmp"}, false, "", "FFD0E0F0 FF0A0B0C"},
    // OS/2 1.x (16-bit sizes, 3-byte palette entries) and 2.x, also cut to 16 bytes.
    {{"os2-core4.bmp"}, false, "", "R G U / W B FFC0C0C0"},
    {{"os2-core24.bmp"}, false, "", "FF010203 FF040506 FF070809 / B B FFABCDEF"},
    {{"os2-v2.bmp"}, false, "", "FF112233 FF445566 FF778899 / FFAABBCC FF778899 FF445566"},
    {{"os2-v2-16byte.bmp"}, false, "", "B FFFF8000"},
    // Short palettes: a colour count of 3, two entries before the bits, a count of 1000 capped;
    // missing entries are black.
    {{"pal8-3colours.bmp"}, false, "", "U B B"},
    {{"pal4-2written.bmp"}, false, "", "FF102030 W B"},
    {{"pal4-1000colours.bmp"}, false, "", "FF800000 B FF800080"},
    // The bits are where bfOffBits says, after a gap, or right after the palette for 0.
    {{"bits-after-gap.bmp", "bits-offset0.bmp"}, false, "", "FFCAFE00 FF00BEEF"},
    // RLE8: runs, an absolute run padded to a word, end of line, a run clipped at the edge, a
    // delta that skips a row.
    {{"rle8.bmp"},
     false,
     "",
     "B B FF008080 FF008080 B B / B B B B B B / FF800080 FF800080 FF800080 FF800080 FF800080 "
     "FF800080 / FF800000 FF800000 FF800000 FF008000 FF808000 FF000080"},
    // RLE4: alternating nibbles, absolute runs of odd length, a delta.
    {{"rle4.bmp"},
     false,
     "",
     "B B B FFC0C0C0 FFC0C0C0 FFC0C0C0 B / R G FFFFFF00 U FFFF00FF FF00FFFF W / "
     "FF800000 FF008000 FF800000 FF008000 FF808000 FF000080 FF800080"},
    {{"rle8-4x2.bmp"},
     false,
     "",
     "FF008000 FF008000 FF008000 FF008000 / FF800000 FF800000 FF800000 FF800000"},
    // Deltas past the last row are clipped, and the run after them is not drawn.
    {{"rle8-delta-past-end.bmp"}, false, "", "B B B B / B B B B"},
};

TEST(ImageBmp, DecodesToThesePixels) {
    for (const Decoded& row : kDecoded)
        ExpectDecodes(row);
}

// pal8.bmp: 11 x 3, 256 colours, bits at 1078 of 1114 bytes. rle8-4x2.bmp: bits at 118-125.
const Damage kRefused[] = {
    {"signature", "pal8.bmp", 1, 1, {'A'}},
    {"header size", "pal8.bmp", 14, 4, {0, 8, 13, 41, 200, 0xFFFFFFFF}},
    {"depth", "pal8.bmp", 28, 2, {0, 2, 3, 7, 64}},
    {"compression", "pal8.bmp", 30, 4, {4, 5, 7, 0x80000000}},
    {"bits offset beyond the file, inside the header, at the limit",
     "pal8.bmp",
     10,
     4,
     {1124, 20, 0xFFFFFFFF}},
    {"last row one byte short", "pal8.bmp", kCut, 0, {-1}},
    {"palette beyond the file, bits offset 0", "bad-palette-past-end.bmp", 0, 0, {0}},
    {"bit fields at 24 bits", "fields1010-v2.bmp", 28, 2, {24}},
    {"non-contiguous mask", "fields565.bmp", 54, 4, {0xF0F0}},
    {"masks missing", "fields565.bmp", kCut, 0, {54}},
    {"width out of range", "rgb24.bmp", 18, 4, {0, -5, 32769, INT_MIN}},
    {"height out of range", "rgb24.bmp", 22, 4, {0, 40000, -40000, INT_MIN}},
    {"too many pixels; the largest size without its bits",
     "rgb24.bmp",
     18,
     8,
     {0x0000080100008000, 0x0000080000008000}},
    {"OS/2 top-down", "os2-v2.bmp", 22, 4, {-2}},
    {"OS/2 Huffman and RLE24", "os2-v2.bmp", 30, 4, {3, 4}},
    {"RLE without end of bitmap", "rle8-4x2.bmp", 125, 1, {0}},
    {"RLE absolute run past the data", "rle8-4x2.bmp", 118, 2, {0x0900}},
    {"RLE delta past the data", "rle8-4x2.bmp", 124, 2, {0x0200}},
    {"RLE top-down", "rle8-4x2.bmp", 22, 4, {-2}},
    {"RLE8 at 4 bits", "rle8-4x2.bmp", 28, 2, {4}},
    {"RLE4 at 8 bits", "rle8-4x2.bmp", 30, 4, {2}},
};

TEST(ImageBmp, MalformedFilesAreRefused) {
    for (const Damage& row : kRefused)
        ExpectRefused(row);
}

}  // namespace
