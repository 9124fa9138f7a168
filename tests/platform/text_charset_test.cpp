// The one conversion between the component's UTF-8 and the platform's Windows-1252.
#include <gtest/gtest.h>

#include <string>

#include "platform/Text.h"

namespace zo::plat {
namespace {

TEST(TextCharset, Utf8BecomesCodePageBytesOrQuestionMarks) {
    struct Row {
        const char* name;
        std::string utf8, ansi;
    };
    const Row rows[] = {
        {"ASCII", "Group 1", "Group 1"},
        {"e acute", "caf\xC3\xA9", "caf\xE9"},
        {"euro sign", "\xE2\x82\xAC", "\x80"},
        {"em dash", "\xE2\x80\x94", "\x97"},
        {"oe, Y diaeresis", "\xC5\x93\xC5\xB8", "\x9C\x9F"},
        {"y diaeresis", "\xC3\xBF", "\xFF"},
        {"a hole of the code page keeps its C1 value", "\xC2\x81", "\x81"},
        {"NUL", std::string("a\0b", 3), std::string("a\0b", 3)},
        {"U+0080, where 0x80 is the euro sign", "\xC2\x80", "?"},
        {"a CJK character", "x\xE4\xB8\xADy", "x?y"},
        {"one '?' per character, not per byte", "\xF0\x9F\x98\x80!", "?!"},
        {"Greek omega", "\xCE\xA9", "?"},
        {"stray continuation byte", "\x80!", "?!"},
        {"cut short at the end", "\xE2\x82", "?"},
        {"cut short by an ASCII byte", "\xE2\x82!", "?!"},
        {"invalid lead byte, then a stray", "\xC0\xAF", "??"},
        {"overlong form", "\xE0\x80\xAF", "?"},
        {"surrogate", "\xED\xA0\x80", "?"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", "?"},
        {"bytes that never start UTF-8", "\xFF\xFE", "??"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Utf8ToAnsi(row.utf8), row.ansi) << row.name;
}

TEST(TextCharset, EveryByteRoundTripsThroughUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
    EXPECT_EQ(AnsiToUtf8("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
    const unsigned char bytes[] = {0x80, 0x9F, 0x8D, 'A', 0xA0};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(UnicodeOfAnsi(bytes[i]), U"\u20AC\u0178\u008DA\u00A0"[i]) << i;
}

}  // namespace
}  // namespace zo::plat
