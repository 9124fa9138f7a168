// ICO and CUR decoding: entries of every depth with their AND masks, alpha and PNG entries,
// the choice among several sizes, cursor hotspots, and malformed containers.
#include <gtest/gtest.h>

#include "platform/image_builders.h"

namespace {

using namespace zo::plat;
using namespace zo::test;

TEST(ImageIco, DecodesToThesePixelsAndMasks) {
    ExpectDecodes(".ico .cur");
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

TEST(ImageIco, MalformedContainersAreRefused) {
    ExpectRefused(".ico .cur");
}

}  // namespace
