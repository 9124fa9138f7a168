// The design file on its own: every value kind and every kind of picture back exactly as it
// was, the same bytes when saved again, one line per entry, bad files refused with the file,
// the line and the key named, and the limits held (the cases are files in data/).
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "core/Error.h"
#include "core/Picture.h"
#include "core/TestData.h"
#include "core/Thrown.h"
#include "host/DesignFile.h"
#include "host/StdFont.h"
#include "platform/Display.h"
#include "platform/Gdi.h"
#include "platform/Image.h"

namespace zo {
namespace {

using testing::Thrown;

class DesignFile : public ::testing::Test {
protected:
    void SetUp() override { plat::InitDisplay(plat::DisplayKind::Offscreen, 64, 64); }
    void TearDown() override { plat::ShutdownDisplay(); }
};

// A file holding every kind of value at its edges, and fonts: read and written again it gives
// the same bytes, so each value kept its kind and its exact value (NaN, -0, the tiniest
// denormals, control characters, NUL, text that is not UTF-8, fonts in every attribute).
TEST_F(DesignFile, EveryValueKindAndFontComesBackToTheSameBytes) {
    const std::string text = testing::SourceFile("tests/host/data/every_kind.zobar");
    const PropertyBag bag = ParseDesign(text, "every_kind.zobar").bag;
    EXPECT_EQ(bag.Count(), 31u);
    EXPECT_EQ(FormatDesign(bag), text);
}

// Plain text is passed over eight bytes at a time; what needs an escape, and text that is not
// UTF-8, must be caught wherever it stands in those words.
TEST_F(DesignFile, TextIsEscapedOrKeptAsBytesWhereverTheSignFalls) {
    struct Row {
        const char* name;
        std::string value;
        const char* written;  // the value as the file holds it
    } const rows[] = {
        {"quote first", "\"bcdefghij", "\"\\\"bcdefghij\""},
        {"backslash last of a word", "abcdefg\\ij", "\"abcdefg\\\\ij\""},
        {"control first of the second word", "abcdefgh\x01jklmnop", "\"abcdefgh\\u0001jklmnop\""},
        {"NUL at the end of two words", std::string("abcdefghijklmno\0", 16),
         "\"abcdefghijklmno\\u0000\""},
        {"the signs next to those escaped", "#!]^ abcdefgh", "\"#!]^ abcdefgh\""},
        {"UTF-8 after a word", "abcdefgh\xC3\xA9", "\"abcdefgh\xC3\xA9\""},
        {"a bad byte after a word", "abcdefgh\xFF", "{\"Bytes\": \"YWJjZGVmZ2j/\"}"},
        {"a surrogate in the second word", "abcdefgh\xED\xA0\x80",
         "{\"Bytes\": \"YWJjZGVmZ2jtoIA=\"}"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PropertyBag bag;
        bag.WriteProperty("Caption", Variant(row.value));
        const std::string text = FormatDesign(bag);
        EXPECT_NE(text.find(std::string("\"Caption\": ") + row.written + "\n"), std::string::npos)
            << text;
        EXPECT_EQ(ParseDesign(text, "t.zobar").bag.ReadProperty("Caption").AsStringRef(),
                  row.value);
    }
}

// ---- Pictures ------------------------------------------------------------------------------

PicturePtr FromFile(const std::string& name) {
    const std::string bytes = testing::SourceFile("fuzz/corpus/image_decode/" + name);
    return plat::LoadPictureFromMemory(
        {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

// A picture of a sample file without the file, as if drawn in memory.
PicturePtr Drawn(const std::string& name) {
    auto p = FromFile(name);
    p->SetSource(nullptr);
    return p;
}

// A 32-bit bitmap made in memory: the fourth byte is whatever drawing left there; without
// alpha it means nothing.
PicturePtr BitmapInMemory() {
    std::vector<std::uint32_t> bits(16 * 8);
    for (std::size_t i = 0; i < bits.size(); ++i)
        bits[i] = static_cast<std::uint32_t>(i * 0x010305u) | static_cast<std::uint32_t>(i % 7)
                                                                  << 29;
    const plat::HBITMAP h = plat::CreateBitmap(16, 8, 1, 32, bits.data());
    return Picture::FromPixels(PictureType::Bitmap, h, 16, 8,
                               [](std::uint32_t b) { plat::DeleteObject(b); });
}

PicturePtr MonochromeInMemory() {
    const std::uint8_t rows[4 * 2] = {0xA5, 0, 0x5A, 0, 0xFF, 0, 0x0F, 0};
    const plat::HBITMAP h = plat::CreateBitmap(8, 4, 1, 1, rows);
    return Picture::FromPixels(PictureType::Bitmap, h, 8, 4,
                               [](std::uint32_t b) { plat::DeleteObject(b); });
}

// What a picture shows: its colour pixels, its mask, its hot spot, its bit depth.
std::string Looks(const Picture& p) {
    std::ostringstream s;
    s << p.Type() << " " << p.Width() << "x" << p.Height();
    plat::Image color, mask;
    if (p.Kind() == PictureType::Icon && p.Handle() != 0) {
        plat::ICONINFO info;
        plat::GetIconInfo(p.Handle(), &info);
        plat::ImageFromBitmap(info.hbmColor, color);
        if (info.hbmMask != 0) plat::ImageFromBitmap(info.hbmMask, mask);
        plat::DeleteObject(info.hbmColor);
        plat::DeleteObject(info.hbmMask);
        s << " hot " << info.xHotspot << "," << info.yHotspot;
    } else if (p.Handle() != 0) {
        plat::BITMAP b;
        plat::GetObjectA(p.Handle(), sizeof b, &b);
        s << " bpp " << b.bmBitsPixel;
        plat::ImageFromBitmap(p.Handle(), color);
    }
    s << " alpha " << color.hasAlpha << std::hex;
    for (std::uint32_t px : color.pixels)
        s << " " << px;
    for (std::uint32_t px : mask.pixels)
        s << (px & 1);
    return s.str();
}

TEST_F(DesignFile, EachKindOfPictureComesBackWithItsBits) {
    struct Row {
        const char* name;
        std::function<PicturePtr()> make;
        PictureType type;
    };
    const Row rows[] = {
        {"BMP file", [] { return FromFile("bmp24"); }, PictureType::Bitmap},
        {"PNG file", [] { return FromFile("png-rgba"); }, PictureType::Bitmap},
        {"icon file", [] { return FromFile("ico32"); }, PictureType::Icon},
        {"cursor file", [] { return FromFile("cur1"); }, PictureType::Icon},
        {"icon file holding a PNG", [] { return FromFile("ico-png"); }, PictureType::Icon},
        {"placeable metafile", [] { return FromFile("wmf-placeable"); }, PictureType::Metafile},
        {"enhanced metafile", [] { return FromFile("emf"); }, PictureType::EnhancedMetafile},
        {"bitmap made in memory", BitmapInMemory, PictureType::Bitmap},
        {"bitmap with alpha made in memory", [] { return Drawn("png-rgba"); }, PictureType::Bitmap},
        {"monochrome bitmap", MonochromeInMemory, PictureType::Bitmap},
        {"icon with a mask made in memory", [] { return Drawn("ico8"); }, PictureType::Icon},
        {"icon with alpha made in memory", [] { return Drawn("ico32"); }, PictureType::Icon},
        {"cursor made in memory", [] { return Drawn("cur1"); }, PictureType::Icon},
        {"metafile without bits",
         [] { return Picture::Create(PictureType::Metafile, 0, 1000, 500); },
         PictureType::Metafile},
        {"picture from a file resized by its maker",
         [] {
             auto p = FromFile("bmp24");
             auto resized =
                 Picture::Create(PictureType::Bitmap, p->Handle(), 999, 111, [p](std::uint32_t) {});
             resized->SetSource(p->Source());
             return resized;
         },
         PictureType::Bitmap},
        {"empty picture", [] { return Picture::Empty(); }, PictureType::None},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const PicturePtr original = row.make();
        ASSERT_TRUE(original);
        PropertyBag bag;
        bag.WriteProperty("GRP1BTN1Picture", Variant(original));
        const std::string text = FormatDesign(bag);
        const PropertyBag back = ParseDesign(text, "t.zobar").bag;
        const auto p = back.ReadProperty("GRP1BTN1Picture").As<Picture>();
        ASSERT_TRUE(p);
        EXPECT_EQ(p->Kind(), row.type);
        EXPECT_EQ(Looks(*p), Looks(*original));
        if (original->Source()) {
            ASSERT_TRUE(p->Source()) << "the file's bytes are kept";
            EXPECT_EQ(*p->Source(), *original->Source());
        }
        EXPECT_EQ(FormatDesign(back), text);
    }
}

TEST_F(DesignFile, AOnePropertyChangeIsAOneLineDiff) {
    PropertyBag bag;
    bag.WriteProperty("GroupCount", Variant(std::int32_t{1}));
    bag.WriteProperty("GRP1Caption", Variant("Inbox"));
    bag.WriteProperty("GRP1Tag", Variant(Date{2.5}));
    bag.WriteProperty("GRP1BTN1Picture", Variant(FromFile("png-rgba")));
    bag.WriteProperty("Font", Variant(std::make_shared<StdFont>()));
    std::istringstream before(FormatDesign(bag));
    bag.WriteProperty("GRP1Caption", Variant("Outbox\nwith a break"));
    std::istringstream after(FormatDesign(bag));
    int changed = 0;
    std::string a, b;
    while (std::getline(before, a) && std::getline(after, b))
        changed += a != b;
    EXPECT_EQ(changed, 1);
    EXPECT_TRUE(before.eof() && !std::getline(after, b)) << "lines added or removed";
}

TEST_F(DesignFile, AnObjectOtherThanAFontOrAPictureCannotBeSaved) {
    class Item : public Object {
        std::string_view TypeName() const override { return "CButton"; }
    };
    PropertyBag bag;
    bag.WriteProperty("GRP1Tag", Variant(std::make_shared<Item>()));
    const auto e = Thrown<DesignError>([&] { FormatDesign(bag); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Key(), "GRP1Tag");
    EXPECT_NE(e->Message().find("CButton"), std::string::npos);
}

// ---- Bad files and limits --------------------------------------------------------------------

TEST_F(DesignFile, BadFilesNameTheFileTheLineAndTheKey) {
    for (const auto& [fields, text] : testing::ReadTextCases("tests/host/data/bad_designs.txt")) {
        SCOPED_TRACE(fields[0]);
        const auto e = Thrown<DesignError>([&] { ParseDesign(text, "bad.zobar"); });
        if (!e) continue;
        const std::string what = e->what();
        EXPECT_EQ(e->File(), "bad.zobar");
        EXPECT_EQ(e->Line(), std::stoi(fields[1])) << what;
        EXPECT_EQ(e->Key(), fields[2]) << what;
        EXPECT_NE(what.find(fields[3]), std::string::npos) << what;
        EXPECT_EQ(what.rfind("bad.zobar:", 0), 0u) << what;
    }
}

// Counts of any kind are held to the limits before anything is built.
TEST_F(DesignFile, DesignsPastTheGroupOrButtonLimitAreRefused) {
    DesignLimits limits;
    limits.maxGroups = 3;
    limits.maxButtons = 5;
    for (const auto& [fields, text] :
         testing::ReadTextCases("tests/host/data/limited_designs.txt")) {
        SCOPED_TRACE(fields[0]);
        const auto parse = [&] { ParseDesign(text, "l.zobar", limits); };
        if (fields[2].empty()) {
            EXPECT_NO_THROW(parse());
        } else if (const auto e = Thrown<DesignError>(parse)) {
            EXPECT_EQ(e->Key(), fields[2]) << e->what();
            EXPECT_EQ(e->Line(), std::stoi(fields[1])) << e->what();
        }
    }
}

TEST_F(DesignFile, FileSizeAndPicturePixelsAreHeldToTheLimits) {
    PropertyBag bag;
    bag.WriteProperty("GRP1BTN1Picture", Variant(FromFile("png-rgba")));
    const std::string one = FormatDesign(bag);
    DesignLimits limits;
    limits.maxFileBytes = one.size();
    EXPECT_NO_THROW(ParseDesign(one, "p.zobar", limits));
    limits.maxFileBytes = one.size() - 1;
    EXPECT_THROW(ParseDesign(one, "p.zobar", limits), DesignError);

    const auto p = bag.ReadProperty("GRP1BTN1Picture").As<Picture>();
    plat::BITMAP b;
    plat::GetObjectA(p->Handle(), sizeof b, &b);
    limits = {};
    limits.maxPicturePixels = std::int64_t{b.bmWidth} * b.bmHeight;
    bag.WriteProperty("GRP1BTN2Picture", Variant(FromFile("png-rgba")));
    EXPECT_NO_THROW(ParseDesign(one, "p.zobar", limits));
    const auto e = Thrown<DesignError>([&] { ParseDesign(FormatDesign(bag), "p.zobar", limits); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Key(), "GRP1BTN2Picture");
    EXPECT_NE(e->Message().find("pixels"), std::string::npos);
}

}  // namespace
}  // namespace zo
