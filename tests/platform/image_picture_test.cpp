// LoadPicture and LoadPictureFromMemory: picture types, HIMETRIC sizes, the platform objects
// behind the handles and their release, metafile recognition, and file errors.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/Error.h"
#include "core/Picture.h"
#include "platform/Gdi.h"
#include "platform/Image.h"
#include "platform/image_builders.h"

namespace {

using namespace zo::plat;
using namespace zo::test;
namespace fs = std::filesystem;

Bytes Bmp24(int w, int h, std::uint32_t rgb) {
    DibSpec s;
    s.width = w;
    s.height = h;
    s.bits = PackDibRows(24, std::vector<std::vector<std::uint32_t>>(
                                 static_cast<std::size_t>(h),
                                 std::vector<std::uint32_t>(static_cast<std::size_t>(w), rgb)));
    return MakeBmp(s);
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
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("zo_image_picture_" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        baseline_ = GdiObjects().LiveCount();
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
        // Every picture made by a test is gone by now: nothing may be left behind.
        EXPECT_EQ(GdiObjects().LiveCount(), baseline_);
    }
    fs::path Write(const std::string& name, const Bytes& bytes) {
        const fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return p;
    }
    fs::path dir_;
    std::size_t baseline_ = 0;
};

TEST_F(ImagePicture, BitmapFileGivesABitmapPictureSizedInHimetric) {
    auto pic = LoadPictureFromMemory(Bmp24(32, 16, 0x336699));
    ASSERT_TRUE(pic);
    EXPECT_EQ(pic->Type(), 1);
    EXPECT_EQ(pic->Width(), 847);
    EXPECT_EQ(pic->Height(), 423);
    const HBITMAP h = pic->Handle();
    const GdiObject* o = GetGdi(h, GdiKind::Bitmap);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->bitmap.bpp, 32);
    EXPECT_EQ(o->bitmap.width, 32);
    EXPECT_FALSE(o->bitmap.hasAlpha);
    EXPECT_EQ(o->bitmap.pixels[5], 0xFF336699u);
    BITMAP bm;
    ASSERT_NE(GetObjectA(h, sizeof bm, &bm), 0);
    EXPECT_EQ(bm.bmWidth, 32);
    EXPECT_EQ(bm.bmHeight, 16);

    pic.reset();  // the picture deletes its bitmap
    EXPECT_EQ(GetGdi(h, GdiKind::Bitmap), nullptr);

    auto hundred = LoadPictureFromMemory(Bmp24(100, 1, 0));
    EXPECT_EQ(hundred->Width(), 2646);
    EXPECT_EQ(hundred->Height(), 26);
}

TEST_F(ImagePicture, PngGivesABitmapThatKeepsItsAlpha) {
    PngLayout p;
    p.width = 2;
    p.height = 1;
    p.colorType = 6;
    p.samples = {255, 0, 0, 64, 0, 0, 255, 255};
    const auto pic = LoadPictureFromMemory(MakePng(p));
    EXPECT_EQ(pic->Type(), 1);
    const GdiObject* o = GetGdi(pic->Handle(), GdiKind::Bitmap);
    ASSERT_NE(o, nullptr);
    EXPECT_TRUE(o->bitmap.hasAlpha);
    EXPECT_EQ(o->bitmap.pixels[0], 0x40FF0000u);
    EXPECT_EQ(o->bitmap.pixels[1], 0xFF0000FFu);
}

TEST_F(ImagePicture, IconFileGivesAnIconWithColourAndMask) {
    std::vector<std::vector<std::uint32_t>> color(16, std::vector<std::uint32_t>(16, 1));
    std::vector<std::vector<std::uint32_t>> mask(16, std::vector<std::uint32_t>(16, 0));
    mask[0][0] = 1;
    const Bytes ico =
        MakeIco({{16, 16, 4, 0, 0,
                  MakeIconDib(16, 16, 4, std::vector<std::uint32_t>(16, 0x00FF00), color, mask)}});
    auto pic = LoadPictureFromMemory(ico);
    EXPECT_EQ(pic->Type(), 3);
    EXPECT_EQ(pic->Width(), 423);
    EXPECT_EQ(pic->Height(), 423);
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
}

TEST_F(ImagePicture, AlphaIconsAndCursors) {
    const Bytes ico = MakeIco(
        {{2, 1, 32, 0, 0, MakeIconDib(2, 1, 32, {}, {{0x80FF0000, 0xFF0000FF}}, {{0, 0}})}});
    auto pic = LoadPictureFromMemory(ico);
    const GdiObject* o = GetGdi(pic->Handle(), GdiKind::Icon);
    ASSERT_NE(o, nullptr);
    EXPECT_TRUE(o->icon.color.hasAlpha);
    EXPECT_TRUE(o->icon.mask.mono.empty());  // drawn by its alpha
    EXPECT_EQ(o->icon.color.pixels[0], 0x80FF0000u);

    const Bytes cur = MakeIco(
        {{2, 2, 0, 1, 1, MakeIconDib(2, 2, 1, {0, 0xFFFFFF}, {{1, 0}, {0, 1}}, {{0, 0}, {0, 0}})}},
        2);
    auto cursor = LoadPictureFromMemory(cur);
    EXPECT_EQ(cursor->Type(), 3);
    o = GetGdi(cursor->Handle(), GdiKind::Icon);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->icon.hotspotX, 1);
    EXPECT_EQ(o->icon.hotspotY, 1);
}

TEST_F(ImagePicture, MetafilesGiveTheirTypeAndNominalSize) {
    // Placeable: a 1440 x 720 box at 1440 units per inch is 1 x 0.5 inch.
    auto wmf = LoadPictureFromMemory(MakePlaceableWmf(0, 0, 1440, 720, 1440));
    EXPECT_EQ(wmf->Type(), 2);
    EXPECT_EQ(wmf->Width(), 2540);
    EXPECT_EQ(wmf->Height(), 1270);
    wmf = LoadPictureFromMemory(MakePlaceableWmf(100, 50, 196, 98, 96));
    EXPECT_EQ(wmf->Width(), 2540);
    EXPECT_EQ(wmf->Height(), 1270);
    // Standard: the window extent, taken as screen pixels.
    wmf = LoadPictureFromMemory(MakeWmf(32, 16));
    EXPECT_EQ(wmf->Type(), 2);
    EXPECT_EQ(wmf->Width(), 847);
    EXPECT_EQ(wmf->Height(), 423);

    auto emf = LoadPictureFromMemory(MakeEmf(100, 200, 2640, 1470));
    EXPECT_EQ(emf->Type(), 4);
    EXPECT_EQ(emf->Width(), 2540);
    EXPECT_EQ(emf->Height(), 1270);

    const MetafileInfo info = ReadMetafileInfo(MakeEmf(0, 0, 10, 20));
    EXPECT_EQ(info.type, 4);
    EXPECT_EQ(info.himetricHeight, 20);
}

TEST_F(ImagePicture, BrokenMetafilesAreInvalidPictures) {
    Bytes emf = MakeEmf(0, 0, 10, 10);
    ExpectError(481, "Invalid picture",
                [&] { LoadPictureFromMemory(Bytes(emf.begin(), emf.end() - 4)); });
    Bytes b = emf;
    Set32(b, 4, 8);  // header record shorter than an EMR_HEADER
    ExpectError(481, "Invalid picture", [&] { LoadPictureFromMemory(b); });
    b = emf;
    Set32(b, 88 + 4, 0);  // a record of size 0 would never advance
    ExpectError(481, "Invalid picture", [&] { LoadPictureFromMemory(b); });

    Bytes wmf = MakePlaceableWmf(0, 0, 10, 10, 0);
    ExpectError(481, "Invalid picture", [&] { LoadPictureFromMemory(wmf); });  // 0 units/inch
    wmf = MakeWmf(10, 10);
    ExpectError(481, "Invalid picture",
                [&] { LoadPictureFromMemory(Bytes(wmf.begin(), wmf.end() - 2)); });
    b = wmf;
    Set32(b, 18, 1);  // a record shorter than its own header
    ExpectError(481, "Invalid picture", [&] { LoadPictureFromMemory(b); });
    b = wmf;
    b[2] = 8;  // header size other than 9 words: not a metafile at all
    ExpectError(481, "Invalid picture", [&] { LoadPictureFromMemory(b); });
}

TEST_F(ImagePicture, LoadPictureFromFiles) {
    const fs::path bmp = Write("a.bmp", Bmp24(3, 2, 0x010203));
    auto pic = LoadPicture(bmp);
    EXPECT_EQ(pic->Type(), 1);
    EXPECT_EQ(pic->Width(), 79);

    // The content decides, not the name.
    pic = LoadPicture(Write("really-a-bitmap.ico", Bmp24(1, 1, 0)));
    EXPECT_EQ(pic->Type(), 1);

    pic = LoadPicture("");
    ASSERT_TRUE(pic);
    EXPECT_EQ(pic->Type(), 0);
    EXPECT_EQ(pic->Handle(), 0u);
}

TEST_F(ImagePicture, FileErrors) {
    ExpectError(53, "File not found", [&] { LoadPicture(dir_ / "missing.bmp"); });
    ExpectError(76, "Path not found", [&] { LoadPicture(dir_ / "no-such-dir" / "a.bmp"); });
    // A file where a directory is expected is a missing path too.
    const fs::path file = Write("plain.bmp", Bmp24(1, 1, 0));
    ExpectError(76, "Path not found", [&] { LoadPicture(file / "a.bmp"); });
    ExpectError(75, "Path/File access error", [&] { LoadPicture(dir_); });
    ExpectError(481, "Invalid picture", [&] { LoadPicture(Write("empty.bmp", {})); });
    ExpectError(481, "Invalid picture", [&] {
        LoadPicture(Write("text.bmp", {'h', 'e', 'l', 'l', 'o'}));
    });
    const Bytes bmp = Bmp24(4, 4, 0);
    ExpectError(481, "Invalid picture",
                [&] { LoadPicture(Write("cut.bmp", Bytes(bmp.begin(), bmp.end() - 1))); });
}

TEST_F(ImagePicture, UnknownContentIsAnInvalidPicture) {
    for (const Bytes& b : {Bytes{}, Bytes{'G', 'I', 'F', '8', '9', 'a'}, Bytes(100, 0)})
        ExpectError(481, "Invalid picture", [&] { LoadPictureFromMemory(b); });
    EXPECT_EQ(DetectImageFormat(Bytes{'B'}), ImageFormat::Unknown);
    EXPECT_EQ(DetectImageFormat(Bytes{0, 0, 1, 0, 1}), ImageFormat::Unknown);
}

}  // namespace
