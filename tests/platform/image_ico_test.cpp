// ICO and CUR decoding: entries of every depth with their AND masks, alpha and PNG entries,
// the choice among several sizes, cursor hotspots, and malformed containers.
#include <gtest/gtest.h>

#include "platform/image_builders.h"

namespace {

using namespace zo::plat;
using namespace zo::test;

const Decoded kDecoded[] = {
    // 4 x 2 at every depth, the right column masked; 32 bits with all alpha zero are opaque
    // and masked like the older depths.
    {{"ico1.ico", "ico4.ico", "ico8.ico", "ico24.ico", "ico32.ico"},
     false,
     "0001/0001",
     "R U R U / U R U R"},
    // Mask rows are stored bottom-up like the colour rows.
    {{"mask-rows.ico"}, false, "10/00/01", "R B / B B / B G"},
    // 32-bit alpha, with the AND mask kept alongside, or without one (writers drop it).
    {{"alpha32.ico"}, true, "01", "80FF0000 00000000"},
    {{"alpha32-no-mask.ico"}, true, "", "80FF0000 G"},
    {{"png-entry.ico"}, true, "", "R 0000FF00 800000FF / 04010203 08050607 0C090A0B"},
    {{"hotspot.cur"}, false, "0110/0110/0110/0110", "W B B W / W B B W / W B B W / W B B W"},
};

TEST(ImageIco, DecodesToThesePixelsAndMasks) {
    for (const Decoded& row : kDecoded)
        ExpectDecodes(row);
}

TEST(ImageIco, ChoosesTheNearestSizeThenTheLargerThenTheDeepestColour) {
    // Entries 2@8, 4@4, 4@32, 4@8, 6@32 bits, a 12 x 12 PNG and 9@4, each one solid colour;
    // the directory says 0 (256) for every size and depth: the entries' headers decide.
    const Bytes ico = Fixture("choice.ico");
    // Wanted size, chosen width and colour: the deepest among the same size, nearer beats
    // deeper, a tie goes to the larger, and a PNG entry's size is its IHDR's.
    const int rows[][3] = {{4, 4, 0x333333}, {2, 2, 0x111111}, {3, 4, 0x333333},
                           {5, 6, 0x555555}, {8, 9, 0x666666}, {11, 12, 0x090909}};
    for (const auto& [want, width, rgb] : rows) {
        const Image img = DecodeIcon(ico, want, want);
        EXPECT_EQ(img.width, width) << want;
        EXPECT_EQ(img.At(1, 1), 0xFF000000u | static_cast<std::uint32_t>(rgb)) << want;
    }
}

// pair.ico: a 4 x 2 8-bit entry at 38 (1080 bytes), then a 24-bit one at 1118 that is chosen.
const Damage kRefused[] = {
    {"type 3", "pair.ico", 2, 2, {3}},
    {"reserved field set", "pair.ico", 0, 2, {1}},
    {"no entries", "pair.ico", 4, 2, {0}},
    {"directory longer than the file", "pair.ico", 4, 2, {200}},
    {"entry beyond the file", "pair.ico", 34, 4, {1190}},
    {"entry size near the 32-bit limit", "pair.ico", 14, 4, {0xFFFFFFF0}},
    {"entry inside the directory", "pair.ico", 18, 4, {10}},
    {"entry too small for any header", "pair.ico", 14, 4, {4}},
    {"bad header in an unchosen entry", "pair.ico", 38, 1, {99}},
    {"8-bit entry without its mask", "bad-pal8-no-mask.ico", 0, 0, {0}},
    // Entries are bottom-up, uncompressed DIBs with a doubled height.
    {"RLE entry", "ico8.ico", 38, 4, {1}},
    {"top-down entry", "ico24.ico", 30, 4, {-4}},
    {"PNG entry without IHDR", "png-entry.ico", 34, 1, {'X'}},
};

TEST(ImageIco, MalformedContainersAreRefused) {
    for (const Damage& row : kRefused)
        ExpectRefused(row);
}

}  // namespace
