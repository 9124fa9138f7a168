#include <gtest/gtest.h>

#include "core/Error.h"
#include "core/Picture.h"
#include "core/Variant.h"

namespace zo {
namespace {

int ErrorNumberOf(auto&& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.Number();
    }
    return 0;
}

TEST(IsNumeric, AcceptsWhatThePlatformParserAccepts) {
    for (const char* s : {"5", " 5 ", "\t5\t", "-5", "5-", "+5", "(5)", "1.", ".5", "1,000",
                          "$1,000", "1e-3", "1E+3", "&HFF", "&h1f", "&O17", "- 5", "12.5$"})
        EXPECT_TRUE(IsNumeric(Variant(s))) << s;
}

TEST(IsNumeric, RejectsWhatThePlatformParserRejects) {
    for (const char* s : {"", "   ", ".", "0x1F", "1.2.3", "abc", "5a", "1e", "--5", "-5-", "(5",
                          ",5", "&H", "&HG", "&O8", "1d2", "INTERNAL_1"})
        EXPECT_FALSE(IsNumeric(Variant(s))) << s;
}

TEST(IsNumeric, NonStringKinds) {
    EXPECT_TRUE(IsNumeric(Variant()));
    EXPECT_TRUE(IsNumeric(Variant(true)));
    EXPECT_TRUE(IsNumeric(Variant(2.5)));
    EXPECT_FALSE(IsNumeric(Variant(Date{1.0})));
    EXPECT_FALSE(IsNumeric(Variant(Picture::Empty())));
}

TEST(ParseNumber, SignsParenthesesAndRadixValues) {
    EXPECT_EQ(ParseNumber("5-"), -5.0);
    EXPECT_EQ(ParseNumber("(5)"), -5.0);
    EXPECT_EQ(ParseNumber("$1,234.5"), 1234.5);
    EXPECT_EQ(ParseNumber("&HFF"), 255.0);
    EXPECT_EQ(ParseNumber("&O17"), 15.0);
    // Hex literals name a 32-bit pattern: system colours read back as negative Longs.
    EXPECT_EQ(ParseNumber("&H80000011"), -2147483631.0);
    EXPECT_FALSE(ParseNumber("&H100000000").has_value());
}

TEST(ToLong, RoundsHalvesToEven) {
    const std::pair<Variant, std::int32_t> rows[] = {
        {Variant(0.5), 0},   {Variant(1.5), 2},       {Variant(2.5), 2},   {Variant(3.5), 4},
        {Variant(-2.5), -2}, {Variant(2.5000001), 3}, {Variant("7.5"), 8}, {Variant(true), -1},
        {Variant(), 0},      {Variant(" True "), -1}};
    for (const auto& [v, n] : rows)
        EXPECT_EQ(v.ToLong(), n) << v.ToText();
}

TEST(ToLong, OverflowAndMismatchRaiseTheRuntimeErrors) {
    EXPECT_EQ(ErrorNumberOf([] { (void)Variant(2147483647.5).ToLong(); }), kErrOverflow);
    EXPECT_EQ(ErrorNumberOf([] { (void)Variant(-2147483648.5).ToLong(); }), 0);
    EXPECT_EQ(ErrorNumberOf([] { (void)Variant(-2147483649.0).ToLong(); }), kErrOverflow);
    EXPECT_EQ(ErrorNumberOf([] { (void)Variant("abc").ToLong(); }), kErrTypeMismatch);
    EXPECT_EQ(ErrorNumberOf([] { (void)Variant(Picture::Empty()).ToLong(); }), kErrTypeMismatch);
    EXPECT_EQ(ErrorNumberOf([] { (void)Variant(40000).ToInteger(); }), kErrOverflow);
}

TEST(ToText, FormatsEveryKind) {
    EXPECT_EQ(Variant().ToText(), "");
    EXPECT_EQ(Variant(true).ToText(), "True");
    EXPECT_EQ(Variant(false).ToText(), "False");
    EXPECT_EQ(Variant(std::int16_t{-7}).ToText(), "-7");
    EXPECT_EQ(Variant(1.5).ToText(), "1.5");
    EXPECT_EQ(Variant(0.1f).ToText(), "0.1");
    EXPECT_EQ(Variant(1.0 / 3.0).ToText(), "0.333333333333333");
    EXPECT_EQ(Variant(Date{46361.5}).ToText(), "12/5/2026 12:00:00 PM");
    EXPECT_EQ(Variant(Date{2.0}).ToText(), "1/1/1900");
    EXPECT_EQ(Variant("x").ToText(), "x");
}

TEST(VariantCopy, CopiesValuesButSharesObjects) {
    auto pic = Picture::Empty();
    Variant a(pic);
    Variant b = a;
    EXPECT_EQ(b.As<Picture>().get(), pic.get());
    EXPECT_EQ(pic.use_count(), 3);
    Variant s("text");
    Variant t = s;
    EXPECT_EQ(t, s);
    EXPECT_NE(&t.AsStringRef(), &s.AsStringRef());
}

TEST(Trim, RemovesOnlySpaces) {
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(Trim("\ta\t"), "\ta\t");
    EXPECT_EQ(Trim("    "), "");
}

TEST(Picture, HimetricOfPixelsAt96Dpi) {
    EXPECT_EQ(Picture::HimetricFromPixels(16), 423);
    EXPECT_EQ(Picture::HimetricFromPixels(32), 847);
    EXPECT_EQ(Picture::HimetricFromPixels(100), 2646);
}

TEST(Picture, ReleasesItsHandleOnceWhenTheLastReferenceGoes) {
    int released = 0;
    std::uint32_t releasedHandle = 0;
    {
        auto p = Picture::FromPixels(PictureType::Icon, 42, 32, 32, [&](std::uint32_t h) {
            ++released;
            releasedHandle = h;
        });
        auto q = p;
        EXPECT_EQ(p->Type(), 3);
        EXPECT_EQ(p->Width(), 847);
    }
    EXPECT_EQ(released, 1);
    EXPECT_EQ(releasedHandle, 42u);
}

}  // namespace
}  // namespace zo
