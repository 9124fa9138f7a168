// What the open-file dialog does with names apart from its window: the record's filter list,
// wildcards, and the copy of the result into buffers that may be too small.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/commctrl/FileNames.h"

namespace zo::plat {
namespace {

TEST(FileNames, FilterListsAndPatterns) {
    // A well-formed list is read by the open-file dialog's tests (its filter box and its rows).
    EXPECT_TRUE(ParseFilterList("Text only\0\0").empty());  // a text without patterns
    const char unended[4] = {'a', '\0', 'b', 'c'};          // no NUL within the limit
    EXPECT_TRUE(ParseFilterList(unended, sizeof unended).empty());
    EXPECT_TRUE(ParseFilterList(nullptr).empty());
    EXPECT_EQ(SplitPatterns(" *.a ; ;*.b"), (std::vector<std::string>{"*.a", "*.b"}));
    struct Case {
        const char *name, *pattern;
        bool match;
    };
    const Case cases[] = {{"Pic.BMP", "*.bmp", true}, {"pic.bmp.txt", "*.bmp", false},
                          {"README", "*.*", true},    {"a.b", "?.b", true},
                          {"ab.b", "?.b", false},     {"xaxbxc", "*a*b*c", true},
                          {"xaxbx", "*a*b*c", false}, {"", "*", true}};
    for (const Case& c : cases)
        EXPECT_EQ(MatchesPattern(c.name, c.pattern), c.match) << c.name << " ~ " << c.pattern;
}

TEST(FileNames, ResultsAreCopiedWithinTheCallersBuffers) {
    struct Case {
        const char* name;
        DWORD maxFile, maxTitle;
        DWORD error;
        const char *file, *title;
    };
    const Case cases[] = {{"room for all", 20, 20, 0, "/d/pic.bmp", "pic.bmp"},
                          {"exact fit", 11, 8, 0, "/d/pic.bmp", "pic.bmp"},
                          {"title cut", 20, 4, 0, "/d/pic.bmp", "pic"},
                          {"one short", 10, 20, FNERR_BUFFERTOOSMALL, nullptr, ""},
                          {"tiny", 1, 20, FNERR_BUFFERTOOSMALL, nullptr, ""}};
    for (const Case& c : cases) {
        char file[32], title[32];
        std::memset(file, '#', sizeof file);
        std::memset(title, 0, sizeof title);
        OPENFILENAMEA ofn;
        ofn.lpstrFile = file;
        ofn.nMaxFile = c.maxFile;
        ofn.lpstrFileTitle = title;
        ofn.nMaxFileTitle = c.maxTitle;
        EXPECT_EQ(CopyChosenPath(ofn, "/d/pic.bmp"), c.error) << c.name;
        EXPECT_STREQ(title, c.title) << c.name;
        for (std::size_t i = c.maxFile; i < sizeof file; ++i)
            ASSERT_EQ(file[i], '#') << c.name << ": written past nMaxFile at " << i;
        if (c.file != nullptr) {
            EXPECT_STREQ(file, c.file) << c.name;
            EXPECT_EQ(ofn.nFileOffset, 3) << c.name;
            EXPECT_EQ(ofn.nFileExtension, 7) << c.name;
        } else if (c.maxFile >= 2) {
            WORD need = 0;
            std::memcpy(&need, file, sizeof need);
            EXPECT_EQ(need, 11) << c.name;
        }
    }
}

}  // namespace
}  // namespace zo::plat
