// LoadPicture and LoadPictureFromMemory: picture types, HIMETRIC sizes, the platform objects
// behind the handles and their release, metafile recognition, and file errors.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <utility>

#include "platform/Gdi.h"
#include "platform/image_builders.h"

namespace {

using namespace zo::plat;
using namespace zo::test;
namespace fs = std::filesystem;

// A picture's type, then its width and height in HIMETRIC.
std::vector<std::int32_t> Tw(const zo::Picture& pic) {
    return {pic.Type(), pic.Width(), pic.Height()};
}

void ExpectError(std::int32_t number, const char* description, const auto& call) {
    try {
        call();
        ADD_FAILURE() << "no error, expected " << number;
    } catch (const zo::Error& e) {
        EXPECT_EQ(e.Number(), number);
        EXPECT_EQ(e.Description(), description);
        EXPECT_EQ(e.Source(), "ZoBtnBar");
    }
}

class ImagePicture : public ::testing::Test {
protected:
    // Every picture made by a test is gone by its end: nothing may be left behind.
    void TearDown() override { EXPECT_EQ(GdiObjects().LiveCount(), baseline_); }
    std::size_t baseline_ = GdiObjects().LiveCount();
};

TEST_F(ImagePicture, BrokenMetafilesAndUnknownContentAreInvalidPictures) {
    ExpectRefused(".wmf .emf");
    EXPECT_EQ(DetectImageFormat(Bytes{'B'}), ImageFormat::Unknown);
    EXPECT_EQ(DetectImageFormat(Bytes{0, 0, 1, 0, 1}), ImageFormat::Unknown);
}

// A plain metafile is as large as its first window extent, in pixels; a cursor keeps its
// hotspot, pulled inside the image when it lies outside.
TEST_F(ImagePicture, PlainMetafilesTakeTheirWindowExtentAndCursorsTheirHotspot) {
    EXPECT_EQ(Tw(*LoadPictureFromMemory(Fixture("standard.wmf"))), (std::vector{2, 847, 423}));
    Bytes cur = Fixture("hotspot.cur");
    for (const auto [x, y, inX, inY] : {std::array{2, 3, 2, 3}, std::array{500, 9, 3, 3}}) {
        Poke(cur, 10, 4, static_cast<std::uint32_t>(x | y << 16));
        const auto pic = LoadPictureFromMemory(cur);
        const GdiObject* o = GetGdi(pic->Handle(), GdiKind::Icon);
        ASSERT_NE(o, nullptr);
        EXPECT_EQ(std::pair(o->icon.hotspotX, o->icon.hotspotY), std::pair(inX, inY));
    }
}

TEST_F(ImagePicture, LoadPictureFromFilesAndItsErrors) {
    EXPECT_EQ(Tw(*LoadPicture(FixturePath("rgb24.bmp"))), (std::vector{1, 79, 53}));  // 3 x 2
    // The content decides, not the name.
    EXPECT_EQ(LoadPicture(FixturePath("bitmap-named.ico"))->Type(), 1);
    const auto empty = LoadPicture("");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->Type(), 0);
    EXPECT_EQ(empty->Handle(), 0u);

    const fs::path dir = FixturePath("");
    ExpectError(53, "File not found", [&] { LoadPicture(dir / "missing.bmp"); });
    ExpectError(76, "Path not found", [&] { LoadPicture(dir / "no-such-dir" / "a.bmp"); });
    // A file where a directory is expected is a missing path too.
    ExpectError(76, "Path not found", [&] { LoadPicture(dir / "rgb24.bmp" / "a.bmp"); });
    ExpectError(75, "Path/File access error", [&] { LoadPicture(dir); });
    for (const char* bad : {"bad-empty.bmp", "bad-palette-past-end.bmp"})
        ExpectError(481, "Invalid picture", [&] { LoadPicture(dir / bad); });
}

}  // namespace
