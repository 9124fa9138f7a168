// ICO and CUR decoding: entries of every depth with their AND masks, alpha and PNG entries,
// the choice among several sizes, cursor hotspots, and malformed containers.
#include <gtest/gtest.h>

#include "core/Error.h"
#include "platform/Image.h"
#include "platform/image_builders.h"

namespace {

using namespace zo::plat;
using namespace zo::test;

void ExpectInvalid(const Bytes& file, const char* what) {
    try {
        DecodeIcon(file);
        ADD_FAILURE() << what << ": decoded";
    } catch (const zo::Error& e) {
        EXPECT_EQ(e.Number(), 481) << what;
    }
}

// A 4x2 entry whose mask makes the right column transparent, at any depth.
Bytes EntryAt(int bpp) {
    std::vector<std::uint32_t> palette;
    std::vector<std::vector<std::uint32_t>> color;
    if (bpp <= 8) {
        palette.assign(static_cast<std::size_t>(1) << bpp, 0x000000);
        palette[1] = 0xFF0000;
        palette[0] = 0x0000FF;
        color = {{1, 0, 1, 0}, {0, 1, 0, 1}};
    } else if (bpp == 24) {
        color = {{0xFF0000, 0x0000FF, 0xFF0000, 0x0000FF},
                 {0x0000FF, 0xFF0000, 0x0000FF, 0xFF0000}};
    } else {
        // 32-bit with all alpha bytes zero: the mask decides, as for the old depths.
        color = {{0xFF0000, 0x0000FF, 0xFF0000, 0x0000FF},
                 {0x0000FF, 0xFF0000, 0x0000FF, 0xFF0000}};
    }
    return MakeIconDib(4, 2, bpp, palette, color, {{0, 0, 0, 1}, {0, 0, 0, 1}});
}

TEST(ImageIco, EveryDepthWithItsMask) {
    for (int bpp : {1, 4, 8, 24, 32}) {
        const Image img = DecodeIcon(MakeIco({{4, 2, bpp, 0, 0, EntryAt(bpp)}}));
        ASSERT_EQ(img.width, 4) << bpp;
        ASSERT_EQ(img.height, 2) << bpp;
        EXPECT_FALSE(img.hasAlpha) << bpp;
        ASSERT_EQ(img.mask.size(), 8u) << bpp;
        EXPECT_EQ(img.At(0, 0), 0xFFFF0000u) << bpp;  // top-left red
        EXPECT_EQ(img.At(1, 0), 0xFF0000FFu) << bpp;
        EXPECT_EQ(img.At(0, 1), 0xFF0000FFu) << bpp;  // bottom-left blue
        EXPECT_EQ(img.At(1, 1), 0xFFFF0000u) << bpp;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(img.Masked(x, y), x == 3) << bpp << ":" << x;
    }
}

TEST(ImageIco, MaskRowsAreBottomUpLikeTheColour) {
    const Bytes dib =
        MakeIconDib(2, 3, 24, {}, {{0xFF0000, 0}, {0, 0}, {0, 0x00FF00}}, {{1, 0}, {0, 0}, {0, 1}});
    const Image img = DecodeIcon(MakeIco({{2, 3, 24, 0, 0, dib}}));
    EXPECT_EQ(img.At(0, 0), 0xFFFF0000u);
    EXPECT_TRUE(img.Masked(0, 0));
    EXPECT_FALSE(img.Masked(1, 0));
    EXPECT_EQ(img.At(1, 2), 0xFF00FF00u);
    EXPECT_TRUE(img.Masked(1, 2));
    EXPECT_FALSE(img.Masked(0, 2));
}

TEST(ImageIco, ThirtyTwoBitAlpha) {
    const Bytes dib = MakeIconDib(2, 1, 32, {}, {{0x80FF0000, 0x00000000}}, {{0, 1}});
    Image img = DecodeIcon(MakeIco({{2, 1, 32, 0, 0, dib}}));
    EXPECT_TRUE(img.hasAlpha);
    EXPECT_EQ(img.At(0, 0), 0x80FF0000u);
    EXPECT_EQ(img.At(1, 0), 0x00000000u);
    EXPECT_TRUE(img.Masked(1, 0));  // the AND mask is kept alongside

    // Writers that drop the AND mask of an alpha entry are accepted.
    DibSpec s;
    s.width = 2;
    s.height = 2;
    s.bpp = 32;
    s.bits = PackDibRows(32, {{0x80FF0000, 0xFF00FF00}});
    img = DecodeIcon(MakeIco({{2, 1, 32, 0, 0, MakeDib(s)}}));
    EXPECT_TRUE(img.hasAlpha);
    EXPECT_TRUE(img.mask.empty());
    EXPECT_EQ(img.At(1, 0), 0xFF00FF00u);

    // An 8-bit entry without its mask is incomplete.
    DibSpec p8;
    p8.width = 2;
    p8.height = 2;
    p8.bpp = 8;
    p8.palette = {0x000000, 0xFFFFFF};
    p8.bits = PackDibRows(8, {{0, 1}});
    ExpectInvalid(MakeIco({{2, 1, 8, 0, 0, MakeDib(p8)}}), "8-bit entry without mask");
}

TEST(ImageIco, PngEntryKeepsItsAlpha) {
    PngLayout p;
    p.width = 3;
    p.height = 2;
    p.colorType = 6;
    p.samples = {255, 0, 0, 255, 0, 255, 0, 0, 0, 0,  255, 128,
                 1,   2, 3, 4,   5, 6,   7, 8, 9, 10, 11,  12};
    const Image img = DecodeIcon(MakeIco({{3, 2, 32, 0, 0, MakePng(p)}}));
    EXPECT_TRUE(img.hasAlpha);
    EXPECT_TRUE(img.mask.empty());
    EXPECT_EQ(img.At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(img.At(1, 0), 0x0000FF00u);
    EXPECT_EQ(img.At(2, 0), 0x800000FFu);
    EXPECT_EQ(img.At(2, 1), 0x0C090A0Bu);
}

// Entries whose colour tells which one was chosen.
Bytes Solid(int size, int bpp, std::uint32_t rgb) {
    const std::vector<std::vector<std::uint32_t>> mask(
        static_cast<std::size_t>(size),
        std::vector<std::uint32_t>(static_cast<std::size_t>(size), 0));
    if (bpp <= 8) {
        std::vector<std::uint32_t> palette(static_cast<std::size_t>(1) << bpp, 0);
        palette[1] = rgb;
        return MakeIconDib(size, size, bpp, palette,
                           std::vector<std::vector<std::uint32_t>>(
                               static_cast<std::size_t>(size),
                               std::vector<std::uint32_t>(static_cast<std::size_t>(size), 1)),
                           mask);
    }
    const std::uint32_t v = bpp == 32 ? (0xFF000000u | rgb) : rgb;
    return MakeIconDib(size, size, bpp, {},
                       std::vector<std::vector<std::uint32_t>>(
                           static_cast<std::size_t>(size),
                           std::vector<std::uint32_t>(static_cast<std::size_t>(size), v)),
                       mask);
}

TEST(ImageIco, ChoosesThirtyTwoPixelsAtTheDeepestColour) {
    // The directory lies about sizes and depths (0 = 256); the entries' headers decide.
    const Bytes ico = MakeIco({{0, 0, 0, 0, 0, Solid(16, 8, 0x111111)},
                               {0, 0, 0, 0, 0, Solid(32, 4, 0x222222)},
                               {0, 0, 0, 0, 0, Solid(32, 32, 0x333333)},
                               {0, 0, 0, 0, 0, Solid(32, 8, 0x444444)},
                               {0, 0, 0, 0, 0, Solid(48, 32, 0x555555)}});
    Image img = DecodeIcon(ico);
    EXPECT_EQ(img.width, 32);
    EXPECT_EQ(img.At(5, 5), 0xFF333333u);

    // Other sizes can be asked for.
    img = DecodeIcon(ico, 16, 16);
    EXPECT_EQ(img.At(0, 0), 0xFF111111u);
    img = DecodeIcon(ico, 64, 64);
    EXPECT_EQ(img.width, 48);

    // Without 32x32 the nearest size wins, the larger one on a tie.
    img = DecodeIcon(MakeIco(
        {{16, 16, 8, 0, 0, Solid(16, 8, 0x111111)}, {48, 48, 4, 0, 0, Solid(48, 4, 0x666666)}}));
    EXPECT_EQ(img.width, 48);
    img = DecodeIcon(MakeIco(
        {{24, 24, 8, 0, 0, Solid(24, 8, 0x777777)}, {48, 48, 32, 0, 0, Solid(48, 32, 0x666666)}}));
    EXPECT_EQ(img.width, 24);

    // A 256-pixel PNG entry does not beat a 32-pixel one.
    PngLayout big;
    big.width = 256;
    big.height = 256;
    big.colorType = 2;
    big.samples.assign(256 * 256 * 3, 9);
    img = DecodeIcon(
        MakeIco({{0, 0, 32, 0, 0, MakePng(big)}, {32, 32, 4, 0, 0, Solid(32, 4, 0x888888)}}));
    EXPECT_EQ(img.width, 32);
    EXPECT_EQ(img.At(0, 0), 0xFF888888u);
}

TEST(ImageIco, CursorKeepsItsHotspot) {
    const Bytes dib = MakeIconDib(4, 4, 1, {0x000000, 0xFFFFFF},
                                  std::vector<std::vector<std::uint32_t>>(4, {1, 0, 0, 1}),
                                  std::vector<std::vector<std::uint32_t>>(4, {0, 1, 1, 0}));
    Image img = DecodeIcon(MakeIco({{4, 4, 0, 2, 3, dib}}, 2));
    EXPECT_EQ(img.hotspotX, 2);
    EXPECT_EQ(img.hotspotY, 3);
    EXPECT_EQ(img.At(0, 0), 0xFFFFFFFFu);
    EXPECT_TRUE(img.Masked(1, 0));
    EXPECT_EQ(DetectImageFormat(MakeIco({{4, 4, 0, 2, 3, dib}}, 2)), ImageFormat::Cursor);

    // A hotspot outside the image is pulled inside it.
    img = DecodeIcon(MakeIco({{4, 4, 0, 500, 9, dib}}, 2));
    EXPECT_EQ(img.hotspotX, 3);
    EXPECT_EQ(img.hotspotY, 3);
}

TEST(ImageIco, MalformedContainersAreRefused) {
    const Bytes good = MakeIco({{4, 2, 8, 0, 0, EntryAt(8)}, {4, 2, 24, 0, 0, EntryAt(24)}});
    ASSERT_NO_THROW(DecodeIcon(good));

    Bytes b = good;
    b[2] = 3;
    ExpectInvalid(b, "type 3");
    b = good;
    b[0] = 1;
    ExpectInvalid(b, "reserved field set");
    b = good;
    b[4] = 0;
    ExpectInvalid(b, "no entries");
    b = good;
    b[4] = 200;
    ExpectInvalid(b, "directory longer than the file");
    b = good;
    Set32(b, 6 + 16 + 12, static_cast<std::uint32_t>(b.size()));  // second entry at the end
    ExpectInvalid(b, "entry beyond the file");
    b = good;
    Set32(b, 6 + 8, 0xFFFFFFF0u);
    ExpectInvalid(b, "entry size near the 32-bit limit");
    b = good;
    Set32(b, 6 + 12, 10);
    ExpectInvalid(b, "entry inside the directory");
    b = good;
    Set32(b, 6 + 8, 4);
    ExpectInvalid(b, "entry too small for any header");

    // An unchosen entry that is broken still makes the file invalid.
    Bytes broken = EntryAt(8);
    broken[0] = 99;
    ExpectInvalid(MakeIco({{4, 2, 8, 0, 0, broken}, {32, 32, 32, 0, 0, Solid(32, 32, 0)}}),
                  "bad header in an unchosen entry");

    // Icon entries are bottom-up, uncompressed DIBs with a doubled height.
    DibSpec rle;
    rle.width = 2;
    rle.height = 4;
    rle.bpp = 8;
    rle.compression = 1;
    rle.palette = {0, 0xFFFFFF};
    rle.bits = {2, 1, 0, 0, 2, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0};
    ExpectInvalid(MakeIco({{2, 2, 8, 0, 0, MakeDib(rle)}}), "RLE entry");
    Bytes topDown = EntryAt(24);
    Set32(topDown, 8, static_cast<std::uint32_t>(-4));
    ExpectInvalid(MakeIco({{4, 2, 24, 0, 0, topDown}}), "top-down entry");

    // A PNG entry whose IHDR is damaged.
    PngLayout p;
    p.width = 1;
    p.height = 1;
    p.colorType = 0;
    p.samples = {7};
    Bytes png = MakePng(p);
    png[12] = 'X';
    ExpectInvalid(MakeIco({{1, 1, 32, 0, 0, png}}), "PNG entry without IHDR");
}

}  // namespace
