// PNG writing and reading back, snapshots of bitmap handles and device contexts, and the
// reference-image helper the painting tests use.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/Error.h"
#include "platform/Gdi.h"
#include "platform/Image.h"
#include "platform/gdi_canvas.h"
#include "platform/image/ImageCompare.h"

namespace {

using namespace zo::plat;
using zo::plat::test::Owned;
namespace fs = std::filesystem;

// Pixel i is colour i * 0x0A1B2C; its alpha i * 37 (0 only at i = 0), or opaque.
Image Pattern(int w, int h, bool alpha) {
    Image img;
    img.width = w;
    img.height = h;
    img.hasAlpha = alpha;
    for (std::uint32_t i = 0; i < static_cast<std::uint32_t>(w * h); ++i)
        img.pixels.push_back((alpha ? (i * 37 % 256) << 24 : 0xFF000000u) |
                             (i * 0x0A1B2Cu & 0xFFFFFF));
    return img;
}

class ImageFiles : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        unsetenv("ZO_UPDATE_GOLDEN");
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    const fs::path dir_ =
        fs::temp_directory_path() /
        ("zo_image_files_" +
         std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
};

TEST_F(ImageFiles, BmpAndPngRoundTrip) {
    const Image opaque = Pattern(5, 3, false);
    const Image alpha = Pattern(7, 5, true);
    for (int bpp : {24, 32}) {
        const Image back = DecodeBmp(EncodeBmp(opaque, bpp));
        EXPECT_EQ(back.pixels, opaque.pixels) << bpp;
        EXPECT_FALSE(back.hasAlpha);
    }
    // Alpha survives a 32-bit BMP and an RGBA PNG; a 24-bit BMP and an RGB PNG drop it.
    Image back = DecodeBmp(EncodeBmp(alpha, 32));
    EXPECT_TRUE(back.hasAlpha);
    EXPECT_EQ(back.pixels, alpha.pixels);
    ASSERT_TRUE(WritePng(dir_ / "rgba.png", alpha).ok());
    ASSERT_TRUE(ReadPng(dir_ / "rgba.png", back).ok());
    EXPECT_TRUE(back.hasAlpha);
    EXPECT_EQ(back.width, 7);
    EXPECT_EQ(back.pixels, alpha.pixels);
    std::ifstream f(dir_ / "rgba.png", std::ios::binary);  // the same file as in memory
    EXPECT_EQ(EncodePng(alpha), std::vector<std::uint8_t>(std::istreambuf_iterator<char>(f), {}));
    const Image bmp24 = DecodeBmp(EncodeBmp(alpha, 24));
    ASSERT_TRUE(WritePng(dir_ / "rgb.png", 7, 5, alpha.pixels, PngChannels::Rgb).ok());
    ASSERT_TRUE(ReadPng(dir_ / "rgb.png", back).ok());
    for (const Image& dropped : {bmp24, back}) {
        EXPECT_FALSE(dropped.hasAlpha);
        for (std::size_t i = 0; i < alpha.pixels.size(); ++i)
            ASSERT_EQ(dropped.pixels[i], alpha.pixels[i] | 0xFF000000u) << i;
    }

    EXPECT_THROW(EncodeBmp(opaque, 8), zo::Error);
    Image broken = opaque;
    broken.pixels.pop_back();
    EXPECT_THROW(EncodeBmp(broken, 24), zo::Error);
}

TEST_F(ImageFiles, WriterAndReaderReportClearErrors) {
    const std::vector<std::uint32_t> six(6, 0xFF000000u);
    Image out;
    std::ofstream(dir_ / "fake.png") << "not a png";
    const std::pair<ImageIoStatus, const char*> rows[] = {
        {WritePng(dir_ / "x.png", 4, 2, six), "4x2"},  // the size the pixels do not have
        {WritePng(dir_ / "x.png", 0, 0, {}), ""},
        {WritePng(dir_ / "missing-dir" / "x.png", 3, 2, six), "missing-dir"},
        {ReadPng(dir_ / "none.png", out), "none.png"},
        {ReadPng(dir_ / "fake.png", out), "fake.png"},
        {SaveDcPng(12345, dir_ / "x.png"), "device context"},
    };
    for (const auto& [status, what] : rows) {
        EXPECT_FALSE(status.ok()) << what;
        EXPECT_NE(status.error.find(what), std::string::npos) << status.error;
    }
    EXPECT_FALSE(fs::exists(dir_ / "x.png"));
}

TEST_F(ImageFiles, SnapshotsOfBitmapsAndDeviceContexts) {
    const Image src = Pattern(5, 3, false);
    const HBITMAP bmp = CreateBitmap(5, 3, 1, 32, src.pixels.data());
    ASSERT_NE(bmp, 0u);
    ASSERT_TRUE(SaveBitmapPng(bmp, dir_ / "bmp.png").ok());
    Image back;
    ASSERT_TRUE(ReadPng(dir_ / "bmp.png", back).ok());
    EXPECT_EQ(back.pixels, src.pixels);

    // Through a memory DC: what was drawn into the selected bitmap.
    const HDC dc = CreateCompatibleDC(0);
    const HGDIOBJ old = SelectObject(dc, bmp);
    const RECT r{1, 1, 3, 2};
    FillRect(dc, &r, Owned(CreateSolidBrush(RGB(255, 0, 0))));
    ASSERT_TRUE(SaveDcPng(dc, dir_ / "dc.png").ok());
    ASSERT_TRUE(ReadPng(dir_ / "dc.png", back).ok());
    EXPECT_EQ(back.At(1, 1), 0xFFFF0000u);
    EXPECT_EQ(back.At(2, 1), 0xFFFF0000u);
    EXPECT_EQ(back.At(3, 1), src.At(3, 1));
    SelectObject(dc, old);
    DeleteDC(dc);

    // 1-bit bitmaps come out black and white.
    const std::uint8_t bits[4] = {0x80, 0, 0x40, 0};  // rows padded to 16 bits
    Image m;
    ASSERT_TRUE(ImageFromBitmap(Owned(CreateBitmap(2, 2, 1, 1, bits)), m));
    EXPECT_EQ(m.pixels, (std::vector{0xFFFFFFFFu, 0xFF000000u, 0xFF000000u, 0xFFFFFFFFu}));

    DeleteObject(bmp);
    const ImageIoStatus s = SaveBitmapPng(bmp, dir_ / "stale.png");  // deleted handle
    EXPECT_FALSE(s.ok());
    EXPECT_NE(s.error.find("bitmap"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir_ / "stale.png"));
}

using ImageCompare = ImageFiles;

TEST_F(ImageCompare, AMatchWritesNothingAMismatchTheActualAndDiffImages) {
    const Image ref = Pattern(6, 4, false);
    ASSERT_TRUE(WritePng(dir_ / "ref.png", ref, PngChannels::Rgb).ok());
    // Without alpha the fourth byte is not part of the comparison.
    Image actual = ref;
    for (std::uint32_t& p : actual.pixels)
        p &= 0x00FFFFFFu;
    EXPECT_EQ(CompareWithReference(actual, dir_ / "ref.png", dir_ / "out"), "");
    EXPECT_FALSE(fs::exists(dir_ / "out" / "ref.actual.png"));

    actual = ref;
    actual.pixels[2 * 6 + 4] = 0xFF000000u;
    const std::string msg = CompareWithReference(actual, dir_ / "ref.png", dir_ / "out");
    EXPECT_NE(msg.find("1 pixel(s) differ"), std::string::npos) << msg;
    EXPECT_NE(msg.find("(4,2)"), std::string::npos) << msg;
    EXPECT_NE(msg.find("ref.diff.png"), std::string::npos) << msg;

    Image written, diff;
    ASSERT_TRUE(ReadPng(dir_ / "out" / "ref.actual.png", written).ok());
    EXPECT_EQ(written.pixels, actual.pixels);
    ASSERT_TRUE(ReadPng(dir_ / "out" / "ref.diff.png", diff).ok());
    EXPECT_EQ(diff.At(4, 2), 0xFFFF0000u);
    const std::uint32_t calm = diff.At(0, 0);
    EXPECT_NE(calm, 0xFFFF0000u);
    EXPECT_GE((calm >> 16) & 0xFF, 191u);  // faded toward white
}

TEST_F(ImageCompare, SizeMismatchAndMissingReference) {
    const Image ref = Pattern(6, 4, true);
    ASSERT_TRUE(WritePng(dir_ / "ref.png", ref).ok());
    std::string msg = CompareWithReference(Pattern(5, 4, true), dir_ / "ref.png", dir_);
    EXPECT_NE(msg.find("size 5x4, expected 6x4"), std::string::npos) << msg;
    Image diff;
    ASSERT_TRUE(ReadPng(dir_ / "ref.diff.png", diff).ok());
    EXPECT_EQ(diff.width, 6);
    EXPECT_EQ(diff.At(5, 0), 0xFFFF0000u);  // the column only one image has

    // Alpha differences count when the images have alpha.
    Image alpha = ref;
    alpha.pixels[0] ^= 0x01000000u;
    EXPECT_NE(CompareWithReference(alpha, dir_ / "ref.png", dir_), "");

    msg = CompareWithReference(ref, dir_ / "absent.png", dir_);
    EXPECT_NE(msg.find("ZO_UPDATE_GOLDEN=1"), std::string::npos) << msg;
    EXPECT_TRUE(fs::exists(dir_ / "absent.actual.png"));
}

TEST_F(ImageCompare, UpdateModeRewritesTheReference) {
    const Image img = Pattern(3, 3, true);
    setenv("ZO_UPDATE_GOLDEN", "1", 1);
    EXPECT_EQ(CompareWithReference(img, dir_ / "golden" / "new.png", dir_), "");
    unsetenv("ZO_UPDATE_GOLDEN");
    EXPECT_EQ(CompareWithReference(img, dir_ / "golden" / "new.png", dir_), "");
    Image changed = img;
    changed.pixels[4] = 0;
    EXPECT_NE(CompareWithReference(changed, dir_ / "golden" / "new.png", dir_), "");
    setenv("ZO_UPDATE_GOLDEN", "0", 1);  // only "1" updates
    EXPECT_NE(CompareWithReference(changed, dir_ / "golden" / "new.png", dir_), "");
}

}  // namespace
