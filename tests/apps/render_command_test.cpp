// Property values as the render command takes them (its other arguments, and the picture it
// writes, are checked by running the program).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Commands.h"
#include "control/Dispatch.h"
#include "core/Enums.h"
#include "core/Error.h"

namespace zobar {
namespace {

const zo::DispatchMember& Member(std::string_view name) {
    return *zo::FindDispatchMember(name);
}

TEST(ParseValue, EnumerationsColoursAndBooleans) {
    EXPECT_EQ(ParseValue(Member("ButtonLayout"), "zoLinear").ToLong(), zo::zoLinear);
    EXPECT_EQ(ParseValue(Member("ButtonLayout"), "ZOLINEAR").ToLong(), zo::zoLinear);
    EXPECT_EQ(ParseValue(Member("ButtonLayout"), "0").ToLong(), zo::zoTiled);
    EXPECT_EQ(ParseValue(Member("ButtonBackColor"), "&H80000011&").ToLong(),
              static_cast<std::int32_t>(0x80000011u));
    // #RRGGBB names red first; the stored colour keeps red in the low byte.
    EXPECT_EQ(ParseValue(Member("ButtonBackColor"), "#102030").ToLong(), 0x302010);
    EXPECT_EQ(ParseValue(Member("ButtonBackColor"), "255").ToLong(), 255);
    EXPECT_TRUE(ParseValue(Member("ShowCaptionBar"), "True").ToBool());
    EXPECT_EQ(ParseValue(Member("Caption"), " spaced ").ToText(), " spaced ");
}

TEST(ParseValue, UnreadableValuesNameThemselves) {
    for (const auto& [name, text] :
         std::vector<std::pair<const char*, const char*>>{{"ButtonBackColor", "#12345G"},
                                                          {"ButtonBackColor", "&HZZ&"},
                                                          {"ButtonBackColor", "99999999999"},
                                                          {"ButtonLayout", "zoSideways"}}) {
        try {
            ParseValue(Member(name), text);
            ADD_FAILURE() << name << "=" << text << " was accepted";
        } catch (const zo::Error& e) {
            EXPECT_NE(e.Description().find(text), std::string::npos) << e.Description();
        }
    }
}

}  // namespace
}  // namespace zobar
