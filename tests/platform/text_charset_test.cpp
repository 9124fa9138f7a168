// The one conversion between the component's UTF-8 and the platform's Windows-1252; the cases
// of UTF-8 text are in data/text/charset.txt.
#include <gtest/gtest.h>

#include <string>

#include "core/TestData.h"
#include "platform/Text.h"

namespace zo::plat {
namespace {

// The rows of data/text/charset.txt.
TEST(TextCharset, Utf8BecomesCodePageBytesOrQuestionMarks) {
    const auto bytes = [](const std::string& s) {
        std::string out;
        for (std::size_t i = 0; i < s.size(); i += s.compare(i, 2, "\\x") == 0 ? 4 : 1)
            out += s.compare(i, 2, "\\x") == 0
                       ? static_cast<char>(std::stoi(s.substr(i + 2, 2), nullptr, 16))
                       : s[i];
        return out;
    };
    zo::testing::RunScript(
        "tests/platform/data/text", "charset", [&](const std::string& line, auto&, int) {
            const std::size_t from = line.find(" | ") + 3, to = line.rfind(" | ");
            EXPECT_EQ(Utf8ToAnsi(bytes(line.substr(from, to - from))), bytes(line.substr(to + 3)));
        });
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
