// PNG decoding: every colour type and bit depth becomes 32-bit BGRA with the right samples
// and alpha; damaged, truncated and oversized files are refused with 481.
#include <gtest/gtest.h>

#include "core/Error.h"
#include "platform/Image.h"
#include "platform/image_builders.h"

namespace {

using namespace zo::plat;
using namespace zo::test;

std::uint32_t Argb(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return (a << 24) | (r << 16) | (g << 8) | b;
}
// A 16-bit sample rounded to 8 bits.
std::uint32_t To8(std::uint32_t v16) {
    return (v16 * 255 + 32767) / 65535;
}

void ExpectInvalid(const Bytes& file, const char* what) {
    try {
        DecodePng(file);
        ADD_FAILURE() << what << ": decoded";
    } catch (const zo::Error& e) {
        EXPECT_EQ(e.Number(), 481) << what;
    }
}

PngLayout Layout(int w, int h, int colorType, int depth, std::vector<std::uint32_t> samples) {
    PngLayout p;
    p.width = w;
    p.height = h;
    p.colorType = colorType;
    p.depth = depth;
    p.samples = std::move(samples);
    return p;
}

TEST(ImagePng, GreyAtEveryDepthScalesToFullRange) {
    for (int depth : {1, 2, 4, 8}) {
        const std::uint32_t max = (1u << depth) - 1;
        const std::vector<std::uint32_t> samples = {0, max, max / 2, 1, max, 0, 1, max / 3, max};
        const Image img = DecodePng(MakePng(Layout(9, 1, 0, depth, samples)));
        ASSERT_EQ(img.width, 9);
        EXPECT_FALSE(img.hasAlpha);
        for (int x = 0; x < 9; ++x) {
            const std::uint32_t v = samples[static_cast<std::size_t>(x)] * 255 / max;
            EXPECT_EQ(img.At(x, 0), Argb(255, v, v, v)) << depth << "-bit at " << x;
        }
    }
}

TEST(ImagePng, SixteenBitSamplesAreRoundedNotTruncated) {
    const std::vector<std::uint32_t> grey = {0x01FF, 0x8000, 0xFFFF, 0x0000};
    Image img = DecodePng(MakePng(Layout(4, 1, 0, 16, grey)));
    EXPECT_EQ(img.At(0, 0), Argb(255, 2, 2, 2));  // the high byte alone would give 1
    EXPECT_EQ(img.At(1, 0), Argb(255, To8(0x8000), To8(0x8000), To8(0x8000)));
    EXPECT_EQ(img.At(2, 0), 0xFFFFFFFFu);
    EXPECT_EQ(img.At(3, 0), 0xFF000000u);

    img = DecodePng(MakePng(Layout(1, 1, 2, 16, {0x1234, 0xFEDC, 0x01FF})));
    EXPECT_EQ(img.At(0, 0), Argb(255, To8(0x1234), To8(0xFEDC), 2));

    img = DecodePng(MakePng(Layout(1, 1, 6, 16, {0xFFFF, 0, 0x8080, 0x4000})));
    EXPECT_TRUE(img.hasAlpha);
    EXPECT_EQ(img.At(0, 0), Argb(To8(0x4000), 255, 0, To8(0x8080)));

    img = DecodePng(MakePng(Layout(1, 1, 4, 16, {0x7777, 0x0101})));
    EXPECT_EQ(img.At(0, 0), Argb(1, 0x77, 0x77, 0x77));
}

TEST(ImagePng, ColourTypesWithAndWithoutAlpha) {
    Image img = DecodePng(MakePng(Layout(2, 1, 2, 8, {10, 20, 30, 200, 100, 0})));
    EXPECT_FALSE(img.hasAlpha);
    EXPECT_EQ(img.At(0, 0), Argb(255, 10, 20, 30));
    EXPECT_EQ(img.At(1, 0), Argb(255, 200, 100, 0));

    img = DecodePng(MakePng(Layout(2, 1, 6, 8, {10, 20, 30, 0, 1, 2, 3, 128})));
    EXPECT_TRUE(img.hasAlpha);
    EXPECT_EQ(img.At(0, 0), Argb(0, 10, 20, 30));  // colour kept under full transparency
    EXPECT_EQ(img.At(1, 0), Argb(128, 1, 2, 3));

    img = DecodePng(MakePng(Layout(2, 1, 4, 8, {50, 255, 60, 7})));
    EXPECT_TRUE(img.hasAlpha);
    EXPECT_EQ(img.At(0, 0), Argb(255, 50, 50, 50));
    EXPECT_EQ(img.At(1, 0), Argb(7, 60, 60, 60));
}

TEST(ImagePng, PalettesAtEveryDepthWithPartialTransparency) {
    const std::vector<std::uint32_t> palette = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456};
    for (int depth : {1, 2, 4, 8}) {
        const std::uint32_t last = depth == 1 ? 1 : 3;
        PngLayout p = Layout(3, 2, 3, depth, {0, last, 0, last, 0, 1 % (last + 1)});
        p.palette.assign(palette.begin(), palette.begin() + (depth == 1 ? 2 : 4));
        Image img = DecodePng(MakePng(p));
        EXPECT_FALSE(img.hasAlpha) << depth;
        EXPECT_EQ(img.At(0, 0), 0xFFFF0000u) << depth;
        EXPECT_EQ(img.At(1, 0), 0xFF000000u | palette[last]) << depth;
        EXPECT_EQ(img.At(0, 1), 0xFF000000u | palette[last]) << depth;

        // tRNS shorter than the palette: later entries stay opaque.
        p.trns = {0x00};
        img = DecodePng(MakePng(p));
        EXPECT_TRUE(img.hasAlpha) << depth;
        EXPECT_EQ(img.At(0, 0), 0x00FF0000u) << depth;
        EXPECT_EQ(img.At(1, 0), 0xFF000000u | palette[last]) << depth;
    }
}

TEST(ImagePng, TransparentColourKeysForGreyAndRgb) {
    PngLayout grey = Layout(3, 1, 0, 8, {5, 6, 5});
    grey.trns = {0, 5};
    Image img = DecodePng(MakePng(grey));
    EXPECT_TRUE(img.hasAlpha);
    EXPECT_EQ(img.At(0, 0), Argb(0, 5, 5, 5));
    EXPECT_EQ(img.At(1, 0), Argb(255, 6, 6, 6));

    PngLayout rgb = Layout(2, 1, 2, 8, {1, 2, 3, 1, 2, 4});
    rgb.trns = {0, 1, 0, 2, 0, 3};
    img = DecodePng(MakePng(rgb));
    EXPECT_EQ(img.At(0, 0), Argb(0, 1, 2, 3));
    EXPECT_EQ(img.At(1, 0), Argb(255, 1, 2, 4));

    PngLayout grey2 = Layout(4, 1, 0, 2, {0, 1, 2, 3});
    grey2.trns = {0, 2};
    img = DecodePng(MakePng(grey2));
    EXPECT_EQ(img.At(2, 0), Argb(0, 0xAA, 0xAA, 0xAA));
    EXPECT_EQ(img.At(3, 0), 0xFFFFFFFFu);
}

TEST(ImagePng, InterlacedEqualsPlain) {
    std::vector<std::uint32_t> samples;
    for (int i = 0; i < 9 * 10 * 3; ++i)
        samples.push_back(static_cast<std::uint32_t>(i * 37 % 256));
    PngLayout plain = Layout(9, 10, 2, 8, samples);
    PngLayout interlaced = plain;
    interlaced.interlaced = true;
    const Image a = DecodePng(MakePng(plain));
    const Image b = DecodePng(MakePng(interlaced));
    EXPECT_EQ(a.pixels, b.pixels);
    EXPECT_EQ(a.At(8, 9), Argb(255, samples[267], samples[268], samples[269]));

    // Images narrower than an Adam7 block leave some passes empty.
    PngLayout tiny = Layout(1, 3, 0, 1, {1, 0, 1});
    tiny.interlaced = true;
    const Image t = DecodePng(MakePng(tiny));
    EXPECT_EQ(t.At(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(t.At(0, 1), 0xFF000000u);
    EXPECT_EQ(t.At(0, 2), 0xFFFFFFFFu);
}

TEST(ImagePng, DamagedFilesAreRefused) {
    const Bytes good = MakePng(Layout(2, 2, 2, 8, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    ASSERT_NO_THROW(DecodePng(good));

    Bytes b = good;
    b[1] = 'Q';
    ExpectInvalid(b, "signature");
    b = good;
    b[20] ^= 0x40;  // inside IHDR: its CRC no longer matches
    ExpectInvalid(b, "IHDR CRC");
    ExpectInvalid(Bytes(good.begin(), good.end() - 12), "no IEND");
    ExpectInvalid(Bytes(good.begin(), good.begin() + 33), "no IDAT");

    // Image data that is not a valid zlib stream.
    PngLayout p = Layout(2, 2, 2, 8, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    Bytes bad = MakePng(p);
    const std::size_t idat = 33 + 8;  // first byte of the IDAT data
    bad[idat] = 0x77;                 // not a deflate method
    const std::uint32_t len =
        (static_cast<std::uint32_t>(bad[33]) << 24) | (bad[34] << 16) | (bad[35] << 8) | bad[36];
    const std::uint32_t crc = Crc32(bad.data() + 37, 4 + len);
    for (int i = 0; i < 4; ++i)
        bad[41 + len + static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    ExpectInvalid(bad, "bad zlib header");

    // Too little image data for the declared size.
    ExpectInvalid(MakePng(Layout(2, 2, 2, 8, {1, 2, 3})), "short image data");
    // Invalid IHDR combinations.
    ExpectInvalid(MakePng(Layout(1, 1, 2, 4, {1, 2, 3})), "RGB at 4 bits");
    ExpectInvalid(MakePng(Layout(1, 1, 5, 8, {1})), "colour type 5");
    ExpectInvalid(MakePng(Layout(1, 1, 3, 8, {0})), "palette image without PLTE");
}

TEST(ImagePng, ImpossibleSizesAreRefusedBeforeAllocating) {
    ExpectInvalid(MakePng(Layout(0, 1, 0, 8, {})), "zero width");
    ExpectInvalid(MakePng(Layout(1, 0, 0, 8, {})), "zero height");
    ExpectInvalid(MakePng(Layout(40000, 1, 0, 8, {})), "too wide");
    ExpectInvalid(MakePng(Layout(1, 40000, 0, 8, {})), "too tall");
    // Each side within the limit, the pixel count beyond it; no image data at all.
    ExpectInvalid(MakePng(Layout(16384, 8192, 0, 1, {})), "too many pixels");
}

TEST(ImagePng, OutOfRangePaletteIndexIsHarmless) {
    PngLayout p = Layout(2, 1, 3, 8, {0, 200});
    p.palette = {0xABCDEF};
    try {
        const Image img = DecodePng(MakePng(p));
        EXPECT_EQ(img.At(0, 0), 0xFFABCDEFu);
    } catch (const zo::Error& e) {
        EXPECT_EQ(e.Number(), 481);
    }
}

}  // namespace
