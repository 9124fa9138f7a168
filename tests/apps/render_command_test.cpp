// The render command's arguments: values by name, and bad arguments named in the error with a
// non-zero exit status (the picture it writes is checked by running the program).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "Commands.h"
#include "control/Dispatch.h"
#include "core/Enums.h"
#include "core/Error.h"

namespace zobar {
namespace {

const zo::DispatchMember& Member(std::string_view name) {
    for (const zo::DispatchMember& m : zo::DispatchMembers())
        if (m.name == name) return m;
    throw std::runtime_error("no member " + std::string(name));
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

class RenderCommand : public ::testing::Test {
protected:
    int Run(std::vector<std::string> args) {
        ::testing::internal::CaptureStderr();
        const int status = RunRender(args);
        err = ::testing::internal::GetCapturedStderr();
        return status;
    }
    std::string err;
};

TEST_F(RenderCommand, BadArgumentsAreNamedAndFail) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"--size", "100"}, "--size"},
        {{"--size", "0x10", "-o", "x.png"}, "--size"},
        {{"--set", "NoSuchThing=1", "-o", "x.png"}, "NoSuchThing"},
        {{"--set", "ButtonHeight=0", "-o", "x.png"}, "ButtonHeight"},
        {{"--select", "1,99", "-o", "x.png"}, "99"},
        {{"--active", "x", "-o", "x.png"}, "--active"},
        {{"--frobnicate", "-o", "x.png"}, "--frobnicate"},
        {{"--size", "100x100"}, "-o"},
    };
    for (const auto& [args, named] : cases) {
        EXPECT_NE(Run(args), 0) << args[0];
        EXPECT_NE(err.find(named), std::string::npos) << err;
    }
    EXPECT_FALSE(std::filesystem::exists("x.png"));
}

}  // namespace
}  // namespace zobar
