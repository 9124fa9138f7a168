// The one conversion between the component's UTF-8 and the platform's Windows-1252.
#include <gtest/gtest.h>

#include <string>

#include "platform/Text.h"

namespace zo::plat {
namespace {

TEST(TextCharset, Utf8CharactersOfTheCodePageBecomeTheirBytes) {
    EXPECT_EQ(Utf8ToAnsi("Group 1"), "Group 1");
    EXPECT_EQ(Utf8ToAnsi("caf\xC3\xA9"), "caf\xE9");        // e acute
    EXPECT_EQ(Utf8ToAnsi("\xE2\x82\xAC"), "\x80");          // euro sign
    EXPECT_EQ(Utf8ToAnsi("\xE2\x80\x94"), "\x97");          // em dash
    EXPECT_EQ(Utf8ToAnsi("\xC5\x93\xC5\xB8"), "\x9C\x9F");  // oe, Y diaeresis
    EXPECT_EQ(Utf8ToAnsi("\xC3\xBF"), "\xFF");
    EXPECT_EQ(Utf8ToAnsi("\xC2\x81"), "\x81");  // a hole of the code page keeps its C1 value
    EXPECT_EQ(Utf8ToAnsi(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(TextCharset, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToAnsi("\xC2\x80"), "?");  // U+0080: 0x80 is the euro sign
    EXPECT_EQ(Utf8ToAnsi("x\xE4\xB8\xAD"
                         "y"),
              "x?y");                                  // a CJK character
    EXPECT_EQ(Utf8ToAnsi("\xF0\x9F\x98\x80!"), "?!");  // one '?' per character, not per byte
    EXPECT_EQ(Utf8ToAnsi("\xCE\xA9"), "?");            // Greek omega
}

TEST(TextCharset, MalformedUtf8BecomesQuestionMarksAndDecodingResumes) {
    EXPECT_EQ(Utf8ToAnsi("\x80"
                         "a"),
              "?a");                         // stray continuation byte
    EXPECT_EQ(Utf8ToAnsi("\xE2\x82"), "?");  // cut short at the end
    EXPECT_EQ(Utf8ToAnsi("\xE2\x82"
                         "A"),
              "?A");                                 // cut short by an ASCII byte
    EXPECT_EQ(Utf8ToAnsi("\xC0\xAF"), "??");         // invalid lead byte, then a stray
    EXPECT_EQ(Utf8ToAnsi("\xE0\x80\xAF"), "?");      // overlong form
    EXPECT_EQ(Utf8ToAnsi("\xED\xA0\x80"), "?");      // surrogate
    EXPECT_EQ(Utf8ToAnsi("\xF4\x90\x80\x80"), "?");  // beyond U+10FFFF
    EXPECT_EQ(Utf8ToAnsi("\xFF\xFE"), "??");
}

TEST(TextCharset, EveryByteRoundTripsThroughUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const std::string utf8 = AnsiToUtf8(all);
    EXPECT_EQ(Utf8ToAnsi(utf8), all);
    EXPECT_EQ(AnsiToUtf8("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(UnicodeOfAnsi(0x80), U'\u20AC');
    EXPECT_EQ(UnicodeOfAnsi(0x9F), U'\u0178');
    EXPECT_EQ(UnicodeOfAnsi(0x8D), U'\u008D');
    EXPECT_EQ(UnicodeOfAnsi('A'), U'A');
    EXPECT_EQ(UnicodeOfAnsi(0xA0), U'\u00A0');
}

}  // namespace
}  // namespace zo::plat
