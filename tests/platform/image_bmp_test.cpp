// BMP decoding: every depth, compression and header generation decodes to the right pixels,
// and malformed files are refused with 481.
#include <gtest/gtest.h>

#include <climits>

#include "core/Error.h"
#include "platform/Image.h"
#include "platform/image_builders.h"

namespace {

using namespace zo::plat;
using namespace zo::test;

constexpr std::uint32_t Opaque(std::uint32_t rgb) {
    return 0xFF000000u | rgb;
}

const std::vector<std::uint32_t> kPal16 = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

void ExpectInvalid(const Bytes& file, const char* what) {
    try {
        DecodeBmp(file);
        ADD_FAILURE() << what << ": decoded";
    } catch (const zo::Error& e) {
        EXPECT_EQ(e.Number(), 481) << what;
        EXPECT_EQ(e.Description(), "Invalid picture") << what;
    }
}

// Top row first, as the image should come out; the file stores them bottom-up.
std::vector<std::vector<std::uint32_t>> BottomUp(std::vector<std::vector<std::uint32_t>> top) {
    return {top.rbegin(), top.rend()};
}

TEST(ImageBmp, PalettedDepthsPutEveryIndexAtItsPixel) {
    for (int bpp : {1, 4, 8}) {
        const int w = 11;  // odd widths exercise the row padding and partial bytes
        const int h = 3;
        std::vector<std::uint32_t> palette;
        for (int i = 0; i < (1 << bpp); ++i)
            palette.push_back((static_cast<std::uint32_t>(i) * 0x3F1D2Bu + 0x102030u) & 0xFFFFFF);
        auto index = [&](int x, int y) {
            return static_cast<std::uint32_t>((x * 3 + y * 5 + 1) % (1 << bpp));
        };
        std::vector<std::vector<std::uint32_t>> top(h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                top[static_cast<std::size_t>(y)].push_back(index(x, y));
        DibSpec s;
        s.width = w;
        s.height = h;
        s.bpp = bpp;
        s.palette = palette;
        s.bits = PackDibRows(bpp, BottomUp(top));
        const Image img = DecodeBmp(MakeBmp(s));
        ASSERT_EQ(img.width, w);
        ASSERT_EQ(img.height, h);
        EXPECT_FALSE(img.hasAlpha);
        EXPECT_TRUE(img.mask.empty());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(img.At(x, y), Opaque(palette[index(x, y)]))
                    << bpp << "-bit at " << x << "," << y;
    }
}

TEST(ImageBmp, MonochromeBitsAreReadMostSignificantFirst) {
    DibSpec s;
    s.width = 9;
    s.height = 1;
    s.bpp = 1;
    s.palette = {0x000000, 0xFFFFFF};
    s.bits = {0x80, 0x80, 0, 0};  // pixel 0 and pixel 8 set
    const Image img = DecodeBmp(MakeBmp(s));
    EXPECT_EQ(img.At(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(img.At(1, 0), 0xFF000000u);
    EXPECT_EQ(img.At(7, 0), 0xFF000000u);
    EXPECT_EQ(img.At(8, 0), 0xFFFFFFFFu);
}

TEST(ImageBmp, TwentyFourBitBottomUpAndTopDown) {
    const std::vector<std::vector<std::uint32_t>> top = {{0xFF0000, 0x00FF00, 0x0000FF},
                                                         {0x123456, 0xFFFFFF, 0x000000}};
    DibSpec up;
    up.width = 3;
    up.height = 2;
    up.bits = PackDibRows(24, BottomUp(top));
    DibSpec down = up;
    down.height = -2;
    down.bits = PackDibRows(24, top);
    for (const DibSpec& s : {up, down}) {
        const Image img = DecodeBmp(MakeBmp(s));
        ASSERT_EQ(img.height, 2);
        EXPECT_EQ(img.At(0, 0), 0xFFFF0000u) << s.height;
        EXPECT_EQ(img.At(1, 0), 0xFF00FF00u);
        EXPECT_EQ(img.At(2, 0), 0xFF0000FFu);
        EXPECT_EQ(img.At(0, 1), 0xFF123456u);
        EXPECT_EQ(img.At(2, 1), 0xFF000000u);
    }
}

TEST(ImageBmp, SixteenBitDefaultsTo555AndWidensChannels) {
    DibSpec s;
    s.width = 4;
    s.height = 1;
    s.bpp = 16;
    s.bits = PackDibRows(16, {{0x7C00, 0x03E0, 0x801F, 0x4210}});
    const Image img = DecodeBmp(MakeBmp(s));
    EXPECT_EQ(img.At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(img.At(1, 0), 0xFF00FF00u);
    EXPECT_EQ(img.At(2, 0), 0xFF0000FFu);  // the top bit is unused
    EXPECT_EQ(img.At(3, 0), 0xFF848484u);  // 5-bit 16 -> 132
}

TEST(ImageBmp, BitFieldsWithAnyContiguousMasks) {
    DibSpec s565;
    s565.width = 3;
    s565.height = 1;
    s565.bpp = 16;
    s565.compression = 3;
    s565.masks = {0xF800, 0x07E0, 0x001F};
    s565.bits = PackDibRows(16, {{0xF800, 0x07E0, 0x0841}});
    Image img = DecodeBmp(MakeBmp(s565));
    EXPECT_EQ(img.At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(img.At(1, 0), 0xFF00FF00u);
    EXPECT_EQ(img.At(2, 0), 0xFF080808u);  // 5-bit 1 and 6-bit 2 both widen to 8

    // 10-bit channels keep their top 8 bits; masks inside a V2 (52-byte) header.
    DibSpec s1010;
    s1010.headerSize = 52;
    s1010.width = 2;
    s1010.height = 1;
    s1010.bpp = 32;
    s1010.compression = 3;
    s1010.masks = {0x3FF00000, 0x000FFC00, 0x000003FF};
    s1010.bits = PackDibRows(32, {{(0x3FFu << 20) | (0x200u << 10) | 0x001u, 0xC0000000u}});
    img = DecodeBmp(MakeBmp(s1010));
    EXPECT_EQ(img.At(0, 0), 0xFFFF8000u);
    EXPECT_EQ(img.At(1, 0), 0xFF000000u);  // bits outside every mask are ignored
    EXPECT_FALSE(img.hasAlpha);

    // Blue-green-red order with 8-bit masks in unusual places.
    DibSpec swapped = s1010;
    swapped.headerSize = 40;
    swapped.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
    swapped.bits = PackDibRows(32, {{0x00332211, 0x00000000}});
    img = DecodeBmp(MakeBmp(swapped));
    EXPECT_EQ(img.At(0, 0), 0xFF112233u);
}

TEST(ImageBmp, ThirtyTwoBitAlphaOnlyWithAnAlphaMask) {
    // BI_RGB: the fourth byte is reserved, the image is opaque.
    DibSpec rgb;
    rgb.width = 2;
    rgb.height = 1;
    rgb.bpp = 32;
    rgb.bits = PackDibRows(32, {{0x80FF0000, 0x00123456}});
    Image img = DecodeBmp(MakeBmp(rgb));
    EXPECT_FALSE(img.hasAlpha);
    EXPECT_EQ(img.At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(img.At(1, 0), 0xFF123456u);

    // V5 with an alpha mask: alpha kept.
    DibSpec v5 = rgb;
    v5.headerSize = 124;
    v5.compression = 3;
    v5.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    img = DecodeBmp(MakeBmp(v5));
    EXPECT_TRUE(img.hasAlpha);
    EXPECT_EQ(img.At(0, 0), 0x80FF0000u);
    EXPECT_EQ(img.At(1, 0), 0x00123456u);

    // An alpha mask over all-zero alpha bytes is a writer that ignores alpha: opaque.
    v5.bits = PackDibRows(32, {{0x00FF0000, 0x00123456}});
    img = DecodeBmp(MakeBmp(v5));
    EXPECT_FALSE(img.hasAlpha);
    EXPECT_EQ(img.At(0, 0), 0xFFFF0000u);

    // BI_ALPHABITFIELDS after a plain BITMAPINFOHEADER: four masks follow it.
    DibSpec abf = rgb;
    abf.compression = 6;
    abf.masks = {0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF};  // BGRA stored as ARGB
    abf.bits = PackDibRows(32, {{0x11223344, 0xAABBCCFF}});
    img = DecodeBmp(MakeBmp(abf));
    EXPECT_TRUE(img.hasAlpha);
    EXPECT_EQ(img.At(0, 0), 0x44332211u);
    EXPECT_EQ(img.At(1, 0), 0xFFCCBBAAu);
}

TEST(ImageBmp, V4AndV5HeadersWithPlainPixels) {
    for (int size : {108, 124}) {
        DibSpec s;
        s.headerSize = size;
        s.width = 2;
        s.height = 1;
        s.bpp = 8;
        s.colorsUsed = 2;
        s.palette = {0x0A0B0C, 0xD0E0F0};
        s.bits = PackDibRows(8, {{1, 0}});
        const Image img = DecodeBmp(MakeBmp(s));
        EXPECT_EQ(img.At(0, 0), 0xFFD0E0F0u) << size;
        EXPECT_EQ(img.At(1, 0), 0xFF0A0B0Cu) << size;
    }
}

TEST(ImageBmp, Os2Headers) {
    // 1.x core header: 16-bit sizes, 3-byte palette entries.
    DibSpec core;
    core.headerSize = 12;
    core.width = 3;
    core.height = 2;
    core.bpp = 4;
    core.palette = kPal16;
    core.bits = PackDibRows(4, BottomUp({{9, 10, 12}, {15, 0, 7}}));
    Image img = DecodeBmp(MakeBmp(core));
    EXPECT_EQ(img.At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(img.At(1, 0), 0xFF00FF00u);
    EXPECT_EQ(img.At(2, 0), 0xFF0000FFu);
    EXPECT_EQ(img.At(0, 1), 0xFFFFFFFFu);
    EXPECT_EQ(img.At(2, 1), 0xFFC0C0C0u);

    core.bpp = 24;
    core.palette.clear();
    core.bits = PackDibRows(24, BottomUp({{0x010203, 0x040506, 0x070809}, {0, 0, 0xABCDEF}}));
    img = DecodeBmp(MakeBmp(core));
    EXPECT_EQ(img.At(1, 0), 0xFF040506u);
    EXPECT_EQ(img.At(2, 1), 0xFFABCDEFu);

    // 2.x with the full 64-byte header and a colour count.
    DibSpec v2;
    v2.headerSize = 64;
    v2.width = 3;
    v2.height = 2;
    v2.bpp = 8;
    v2.colorsUsed = 4;
    v2.palette = {0x112233, 0x445566, 0x778899, 0xAABBCC};
    v2.bits = PackDibRows(8, BottomUp({{0, 1, 2}, {3, 2, 1}}));
    img = DecodeBmp(MakeBmp(v2));
    EXPECT_EQ(img.At(0, 0), 0xFF112233u);
    EXPECT_EQ(img.At(0, 1), 0xFFAABBCCu);

    // 2.x cut to its first 16 bytes: everything past the depth is zero.
    DibSpec v2short;
    v2short.headerSize = 16;
    v2short.width = 2;
    v2short.height = 1;
    v2short.bpp = 1;
    v2short.palette = {0x000000, 0xFF8000};
    v2short.bits = PackDibRows(1, {{0, 1}});
    img = DecodeBmp(MakeBmp(v2short));
    EXPECT_EQ(img.At(1, 0), 0xFFFF8000u);

    // OS/2 bitmaps have no top-down form and no Huffman / RLE24 support here.
    v2.height = -2;
    ExpectInvalid(MakeBmp(v2), "OS/2 2.x top-down");
    v2.height = 2;
    v2.compression = 3;
    ExpectInvalid(MakeBmp(v2), "OS/2 2.x Huffman");
    v2.compression = 4;
    ExpectInvalid(MakeBmp(v2), "OS/2 2.x RLE24");
}

TEST(ImageBmp, ShortPalettesLeaveMissingEntriesBlack) {
    // A colour count below the depth's maximum.
    DibSpec s;
    s.width = 3;
    s.height = 1;
    s.bpp = 8;
    s.colorsUsed = 3;
    s.palette = {0xFF0000, 0x00FF00, 0x0000FF};
    s.bits = PackDibRows(8, {{2, 3, 200}});
    Image img = DecodeBmp(MakeBmp(s));
    EXPECT_EQ(img.At(0, 0), 0xFF0000FFu);
    EXPECT_EQ(img.At(1, 0), 0xFF000000u);
    EXPECT_EQ(img.At(2, 0), 0xFF000000u);

    // No colour count, but bfOffBits shows only two entries were written.
    DibSpec cut;
    cut.width = 3;
    cut.height = 1;
    cut.bpp = 4;
    cut.palette = {0xFFFFFF, 0x102030};
    cut.bits = PackDibRows(4, {{1, 0, 5}});
    img = DecodeBmp(MakeBmp(cut));
    EXPECT_EQ(img.At(0, 0), 0xFF102030u);
    EXPECT_EQ(img.At(1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(img.At(2, 0), 0xFF000000u);

    // A colour count above the depth's maximum is capped.
    cut.colorsUsed = 1000;
    cut.palette = kPal16;
    img = DecodeBmp(MakeBmp(cut));
    EXPECT_EQ(img.At(2, 0), 0xFF800080u);
}

TEST(ImageBmp, BitsAreReadWhereTheFileHeaderSays) {
    DibSpec s;
    s.width = 2;
    s.height = 1;
    s.bits = PackDibRows(24, {{0xCAFE00, 0x00BEEF}});
    const Bytes plain = MakeBmp(s);
    const std::uint32_t after = static_cast<std::uint32_t>(plain.size() - s.bits.size());
    const Image img = DecodeBmp(MakeBmp(s, after + 6, 6));
    EXPECT_EQ(img.At(0, 0), 0xFFCAFE00u);
    EXPECT_EQ(img.At(1, 0), 0xFF00BEEFu);

    // bfOffBits of 0: the bits follow the palette.
    Bytes zero = plain;
    Set32(zero, 10, 0);
    EXPECT_EQ(DecodeBmp(zero).At(1, 0), 0xFF00BEEFu);
}

TEST(ImageBmp, Rle8RunsAbsoluteRunsDeltaAndEndOfLine) {
    DibSpec s;
    s.width = 6;
    s.height = 4;
    s.bpp = 8;
    s.compression = 1;
    s.palette = kPal16;
    s.bits = {3, 1,              // bottom row: three of 1
              0, 3, 2, 3, 4, 0,  // absolute 2 3 4, padded to a word
              0, 0,              // end of line
              8, 5,              // eight of 5, clipped to the six columns
              0, 0,              // end of line
              0, 2, 2, 1,        // delta: right 2, up 1 (skips row 2 entirely)
              2, 6,              // two of 6
              0, 1};             // end of bitmap
    const Image img = DecodeBmp(MakeBmp(s));
    const std::uint32_t black = 0xFF000000u;
    const std::uint32_t expect[4][6] = {
        {black, black, Opaque(0x008080), Opaque(0x008080), black, black},
        {black, black, black, black, black, black},
        {Opaque(0x800080), Opaque(0x800080), Opaque(0x800080), Opaque(0x800080), Opaque(0x800080),
         Opaque(0x800080)},
        {Opaque(0x800000), Opaque(0x800000), Opaque(0x800000), Opaque(0x008000), Opaque(0x808000),
         Opaque(0x000080)}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(img.At(x, y), expect[y][x]) << x << "," << y;
}

TEST(ImageBmp, Rle4AlternatesNibblesAndPadsAbsoluteRuns) {
    DibSpec s;
    s.width = 7;
    s.height = 3;
    s.bpp = 4;
    s.compression = 2;
    s.palette = kPal16;
    s.bits = {4, 0x12,                       // 1 2 1 2
              0, 3,    0x34, 0x50,           // absolute 3 4 5 (two bytes, already a word)
              0, 0,                          // end of line
              0, 5,    0x9A, 0xBC, 0xD0, 0,  // absolute 9 A B C D (three bytes, padded)
              2, 0xEF,                       // E F
              0, 0,                          // end of line
              0, 2,    3,    0,              // delta: three to the right
              3, 0x77,                       // 7 7 7
              0, 1};
    const Image img = DecodeBmp(MakeBmp(s));
    const int black = -1;
    const int rows[3][7] = {
        {black, black, black, 7, 7, 7, black}, {9, 10, 11, 12, 13, 14, 15}, {1, 2, 1, 2, 3, 4, 5}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x) {
            const int i = rows[y][x];
            EXPECT_EQ(img.At(x, y),
                      i < 0 ? 0xFF000000u : Opaque(kPal16[static_cast<std::size_t>(i)]))
                << x << "," << y;
        }
}

TEST(ImageBmp, RleMisuseIsRefused) {
    DibSpec s;
    s.width = 4;
    s.height = 2;
    s.bpp = 8;
    s.compression = 1;
    s.palette = kPal16;
    s.bits = {4, 1, 0, 0, 4, 2, 0, 1};
    ASSERT_NO_THROW(DecodeBmp(MakeBmp(s)));

    DibSpec noEnd = s;
    noEnd.bits = {4, 1, 0, 0, 4, 2, 0, 0};
    ExpectInvalid(MakeBmp(noEnd), "no end-of-bitmap");
    DibSpec longAbsolute = s;
    longAbsolute.bits = {0, 9, 1, 2, 3};
    ExpectInvalid(MakeBmp(longAbsolute), "absolute run past the data");
    DibSpec cutDelta = s;
    cutDelta.bits = {0, 2, 1};
    ExpectInvalid(MakeBmp(cutDelta), "delta past the data");
    DibSpec topDown = s;
    topDown.height = -2;
    ExpectInvalid(MakeBmp(topDown), "top-down RLE");
    DibSpec wrongDepth = s;
    wrongDepth.bpp = 4;
    ExpectInvalid(MakeBmp(wrongDepth), "RLE8 at 4 bits");
    wrongDepth.compression = 2;
    wrongDepth.bpp = 8;
    ExpectInvalid(MakeBmp(wrongDepth), "RLE4 at 8 bits");

    // Deltas past the last row are clipped, and data after it is ignored.
    DibSpec far = s;
    far.bits = {0, 2, 255, 255, 0, 2, 200, 200, 3, 1, 0, 1};
    const Image img = DecodeBmp(MakeBmp(far));
    EXPECT_EQ(img.At(0, 0), 0xFF000000u);
}

TEST(ImageBmp, ImpossibleSizesAreRefusedBeforeAllocating) {
    auto with = [](int w, int h, int bpp = 24) {
        DibSpec s;
        s.width = w;
        s.height = h;
        s.bpp = bpp;
        return MakeBmp(s);
    };
    ExpectInvalid(with(0, 1), "zero width");
    ExpectInvalid(with(1, 0), "zero height");
    ExpectInvalid(with(-5, 1), "negative width");
    ExpectInvalid(with(32769, 1), "too wide");
    ExpectInvalid(with(1, 40000), "too tall");
    ExpectInvalid(with(1, -40000), "too tall top-down");
    ExpectInvalid(with(32768, 2049), "too many pixels");
    ExpectInvalid(with(32768, 2048), "largest size without its bits");
    ExpectInvalid(with(1, INT_MIN), "most negative height");
    ExpectInvalid(with(INT_MIN, 1), "most negative width");
}

TEST(ImageBmp, MalformedHeadersAndLayoutsAreRefused) {
    DibSpec good;
    good.width = 3;
    good.height = 2;
    good.bpp = 8;
    good.palette = kPal16;
    good.bits = PackDibRows(8, {{1, 2, 3}, {4, 5, 6}});
    const Bytes file = MakeBmp(good);
    ASSERT_NO_THROW(DecodeBmp(file));

    Bytes b = file;
    b[1] = 'A';
    ExpectInvalid(b, "signature");
    for (std::uint32_t size : {0u, 8u, 13u, 41u, 200u, 0xFFFFFFFFu}) {
        b = file;
        Set32(b, 14, size);
        ExpectInvalid(b, "header size");
    }
    for (int bpp : {0, 2, 3, 7, 64}) {
        DibSpec s = good;
        s.bpp = bpp;
        ExpectInvalid(MakeBmp(s), "depth");
    }
    for (std::uint32_t comp : {4u, 5u, 7u, 0x80000000u}) {
        DibSpec s = good;
        s.compression = comp;
        ExpectInvalid(MakeBmp(s), "compression");
    }
    DibSpec fields24;
    fields24.width = 1;
    fields24.height = 1;
    fields24.compression = 3;
    fields24.masks = {0xFF0000, 0xFF00, 0xFF};
    fields24.bits = PackDibRows(24, {{0}});
    ExpectInvalid(MakeBmp(fields24), "bit fields at 24 bits");
    DibSpec gaps;
    gaps.width = 1;
    gaps.height = 1;
    gaps.bpp = 16;
    gaps.compression = 3;
    gaps.masks = {0xF0F0, 0x0F00, 0x000F};
    gaps.bits = PackDibRows(16, {{0}});
    ExpectInvalid(MakeBmp(gaps), "non-contiguous mask");
    DibSpec noMasks = gaps;
    noMasks.masks.clear();
    noMasks.bits.clear();
    ExpectInvalid(MakeBmp(noMasks), "masks missing");

    b = file;
    Set32(b, 10, static_cast<std::uint32_t>(file.size() + 10));
    ExpectInvalid(b, "bits beyond the file");
    b = file;
    Set32(b, 10, 20);
    ExpectInvalid(b, "bits inside the header");
    b = file;
    Set32(b, 10, 0xFFFFFFFFu);
    ExpectInvalid(b, "bits offset at the 32-bit limit");

    // The palette runs past the end when nothing says where the bits start.
    DibSpec shortPal = good;
    shortPal.palette = {0x112233, 0x445566};
    shortPal.bits.clear();
    b = MakeBmp(shortPal);
    Set32(b, 10, 0);
    ExpectInvalid(b, "palette beyond the file");

    b = file;
    b.pop_back();
    ExpectInvalid(b, "last row one byte short");
}

TEST(ImageBmp, EncoderRoundTrips) {
    Image src;
    src.width = 5;
    src.height = 3;
    for (int i = 0; i < 15; ++i)
        src.pixels.push_back(0xFF000000u | (static_cast<std::uint32_t>(i) * 0x0A1B2Cu & 0xFFFFFF));
    for (int bpp : {24, 32}) {
        const Image back = DecodeBmp(EncodeBmp(src, bpp));
        EXPECT_EQ(back.pixels, src.pixels) << bpp;
        EXPECT_FALSE(back.hasAlpha);
    }
    // Alpha survives 32 bits and is dropped at 24.
    Image alpha = src;
    alpha.hasAlpha = true;
    alpha.pixels[0] = 0x00FFFFFFu;
    alpha.pixels[1] = 0x7F102030u;
    Image back = DecodeBmp(EncodeBmp(alpha, 32));
    EXPECT_TRUE(back.hasAlpha);
    EXPECT_EQ(back.pixels, alpha.pixels);
    back = DecodeBmp(EncodeBmp(alpha, 24));
    EXPECT_FALSE(back.hasAlpha);
    EXPECT_EQ(back.At(1, 0), 0xFF102030u);

    EXPECT_THROW(EncodeBmp(src, 8), zo::Error);
    Image broken = src;
    broken.pixels.pop_back();
    EXPECT_THROW(EncodeBmp(broken, 24), zo::Error);
}

}  // namespace
