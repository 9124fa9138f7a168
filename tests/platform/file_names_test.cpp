// What the open-file dialog does with names apart from its window: the record's filter list,
// wildcards, the listing of a folder with odd names, typed paths and the copy of the result
// into buffers that may be too small.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/commctrl/FileNames.h"

namespace zo::plat {
namespace {

namespace fs = std::filesystem;

TEST(FileNames, FilterListsAndPatterns) {
    const char list[] = "Pictures(*.bmp,*.ico)\0*.bmp;*.ico\0All Files (*.*)\0*.*\0\0";
    const std::vector<FileFilter> f = ParseFilterList(list);
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0].text, "Pictures(*.bmp,*.ico)");
    EXPECT_EQ(f[0].patterns, (std::vector<std::string>{"*.bmp", "*.ico"}));
    EXPECT_EQ(f[1].patterns, std::vector<std::string>{"*.*"});
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

TEST(FileNames, AFolderListsFoldersFirstAndOnlyMatchingFilesAndMarksNamesTheCodePageCannotHold) {
    const fs::path dir = fs::temp_directory_path() / ("zo-names-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "Zeta");
    fs::create_directories(dir / "alpha");
    for (const char* n :
         {"b.bmp", "A b.BMP", "caf\xC3\xA9.bmp", "\xE6\x97\xA5.bmp", "n.txt", ".hidden.bmp"})
        std::ofstream(dir / n) << "x";
    const FolderListing l = ListFolder(dir, {"*.bmp"});
    ASSERT_TRUE(l.ok);
    std::vector<std::string> shown;
    for (const FolderEntry& e : l.entries)
        shown.push_back(e.shown + (e.folder ? "/" : "") + (e.representable ? "" : "!"));
    EXPECT_EQ(shown, (std::vector<std::string>{"../", "alpha/", "Zeta/", "?.bmp!", "A b.BMP",
                                               "b.bmp", "caf\xE9.bmp"}));
    EXPECT_FALSE(ListFolder(dir / "missing", {"*.*"}).ok);
    const FolderListing root = ListFolder("/", {"*.*"});
    ASSERT_TRUE(root.ok);
    EXPECT_TRUE(root.entries.empty() || root.entries.front().name != "..");  // none above it
    fs::remove_all(dir);
}

TEST(FileNames, TypedPathsAndResultsWithinTheCallersBuffers) {
    EXPECT_EQ(ResolveTyped("/a/b", "c.bmp"), fs::path("/a/b/c.bmp"));
    EXPECT_EQ(ResolveTyped("/a/b", " ../c.bmp "), fs::path("/a/c.bmp"));
    EXPECT_EQ(ResolveTyped("/a/b", "/x/./y.ico"), fs::path("/x/y.ico"));
    EXPECT_EQ(ResolveTyped("/a", "caf\xE9"), fs::path("/a/caf\xC3\xA9"));  // the code page's é
    std::string ansi;
    EXPECT_TRUE(PathToAnsi("/a/caf\xC3\xA9", &ansi));
    EXPECT_EQ(ansi, "/a/caf\xE9");
    EXPECT_FALSE(PathToAnsi("/a/\xE6\x97\xA5", &ansi));

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
