// LoadPicture and LoadPictureFromMemory: picture types, HIMETRIC sizes, the platform objects
// behind the handles and their release, metafile recognition, and file errors.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <tuple>

#include "platform/Gdi.h"
#include "platform/image_builders.h"

namespace {

using namespace zo::plat;
using namespace zo::test;
namespace fs = std::filesystem;

Image Solid(int w, int h, std::vector<std::uint32_t> pixels, bool alpha = false) {
    Image img;
    img.width = w;
    img.height = h;
    img.pixels = std::move(pixels);
    img.hasAlpha = alpha;
    return img;
}

Bytes Bmp24(int w, int h, std::uint32_t argb) {
    return EncodeBmp(Solid(w, h, std::vector<std::uint32_t>(static_cast<std::size_t>(w * h), argb)),
                     24);
}

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

TEST_F(ImagePicture, BitmapFileGivesABitmapPictureSizedInHimetric) {
    auto pic = LoadPictureFromMemory(Bmp24(32, 16, 0xFF336699u));
    EXPECT_EQ(Tw(*pic), (std::vector{1, 847, 423}));
    const HBITMAP h = pic->Handle();
    const GdiObject* o = GetGdi(h, GdiKind::Bitmap);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->bitmap.bpp, 32);
    EXPECT_EQ(o->bitmap.width, 32);
    EXPECT_EQ(o->bitmap.height, 16);
    EXPECT_FALSE(o->bitmap.hasAlpha);
    EXPECT_EQ(o->bitmap.pixels[5], 0xFF336699u);

    pic.reset();  // the picture deletes its bitmap
    EXPECT_EQ(GetGdi(h, GdiKind::Bitmap), nullptr);

    EXPECT_EQ(Tw(*LoadPictureFromMemory(Bmp24(100, 1, 0xFF000000u))), (std::vector{1, 2646, 26}));

    // PNG gives a bitmap too, and it keeps its alpha.
    const Image png = Solid(2, 1, {0x40FF0000u, 0xFF0000FFu}, true);
    pic = LoadPictureFromMemory(EncodePng(png));
    EXPECT_EQ(pic->Type(), 1);
    o = GetGdi(pic->Handle(), GdiKind::Bitmap);
    ASSERT_NE(o, nullptr);
    EXPECT_TRUE(o->bitmap.hasAlpha);
    EXPECT_EQ(o->bitmap.pixels, png.pixels);
}

TEST_F(ImagePicture, IconsAndCursorsGiveIconPictures) {
    // 16 x 16 at 4 bits, all green, the top-left pixel masked.
    auto pic = LoadPictureFromMemory(Fixture("green16.ico"));
    EXPECT_EQ(Tw(*pic), (std::vector{3, 423, 423}));
    const HICON h = pic->Handle();
    const GdiObject* o = GetGdi(h, GdiKind::Icon);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->icon.color.pixels[1], 0xFF00FF00u);
    ASSERT_EQ(o->icon.mask.mono.size(), 256u);
    EXPECT_EQ(o->icon.mask.mono[0], 1);
    EXPECT_EQ(o->icon.mask.mono[1], 0);
    SIZE size;
    ASSERT_TRUE(GetIconSize(h, &size));
    EXPECT_EQ(size.cx, 16);
    pic.reset();  // the picture destroys its icon
    EXPECT_EQ(GetGdi(h, GdiKind::Icon), nullptr);

    pic = LoadPictureFromMemory(Fixture("alpha32.ico"));
    o = GetGdi(pic->Handle(), GdiKind::Icon);
    ASSERT_NE(o, nullptr);
    EXPECT_TRUE(o->icon.color.hasAlpha);
    EXPECT_TRUE(o->icon.mask.mono.empty());  // drawn by its alpha
    EXPECT_EQ(o->icon.color.pixels[0], 0x80FF0000u);

    // A cursor keeps its hotspot, pulled inside the image when it lies outside.
    Bytes cur = Fixture("hotspot.cur");
    EXPECT_EQ(DetectImageFormat(cur), ImageFormat::Cursor);
    for (const auto [x, y, inX, inY] : {std::array{2, 3, 2, 3}, std::array{500, 9, 3, 3}}) {
        Poke(cur, 10, 4, static_cast<std::uint32_t>(x | y << 16));
        pic = LoadPictureFromMemory(cur);
        EXPECT_EQ(pic->Type(), 3);
        o = GetGdi(pic->Handle(), GdiKind::Icon);
        ASSERT_NE(o, nullptr);
        EXPECT_EQ(o->icon.hotspotX, inX);
        EXPECT_EQ(o->icon.hotspotY, inY);
    }
}

TEST_F(ImagePicture, MetafilesGiveTheirTypeAndNominalSize) {
    for (const auto& [file, type, width, height] : {
             std::tuple{"placeable.wmf", 2, 2540, 1270},     // a 1440 x 720 box at 1440 per inch
             std::tuple{"placeable-96.wmf", 2, 2540, 1270},  // (100, 50)-(196, 98) at 96 per inch
             std::tuple{"standard.wmf", 2, 847, 423},        // a 32 x 16 window extent, in pixels
             std::tuple{"frame.emf", 4, 2540, 1270},  // the frame (100, 200)-(2640, 1470), HIMETRIC
         }) {
        SCOPED_TRACE(file);
        const Bytes bytes = Fixture(file);
        EXPECT_EQ(Tw(*LoadPictureFromMemory(bytes)), (std::vector{type, width, height}));
        const MetafileInfo info = ReadMetafileInfo(bytes);
        EXPECT_EQ((std::vector<std::int32_t>{info.type, info.himetricWidth, info.himetricHeight}),
                  (std::vector{type, width, height}));
    }
}

TEST_F(ImagePicture, BrokenMetafilesAndUnknownContentAreInvalidPictures) {
    ExpectRefused(".wmf .emf");
    EXPECT_EQ(DetectImageFormat(Bytes{'B'}), ImageFormat::Unknown);
    EXPECT_EQ(DetectImageFormat(Bytes{0, 0, 1, 0, 1}), ImageFormat::Unknown);
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
