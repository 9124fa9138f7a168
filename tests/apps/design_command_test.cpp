// zobar design end to end, run as the built program with a script: the pages change the bar,
// the picture comes from the open-file dialog, Ctrl+S saves a design that zobar check and
// zobar render accept, and closing with unsaved changes asks first.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Image.h"
#include "zobar_process.h"

namespace {

namespace fs = std::filesystem;

using zobar_test::Result;

class DesignCommand : public zobar_test::ZobarProcess {
protected:
    DesignCommand() : ZobarProcess("zobar_design_") {}
};

TEST_F(DesignCommand, AScriptAddsAGroupAndAButtonWithAChosenPictureAndSaves) {
    zo::plat::Image img;
    img.width = img.height = 16;
    img.pixels.assign(256, 0xFF3399CCu);
    const auto bmp = zo::plat::EncodeBmp(img, 24);
    std::ofstream(dir / "pic.bmp", std::ios::binary)
        .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
    WriteFile("add.txt",
              "# the Groups page: a group\n"
              "key ctrl+tab\nkey ctrl+tab\n"
              "key alt+c\nkey end\nkey shift+home\ntype Mail\n"
              "key alt+k\ntype mail\nkey alt+a\n"
              "# the Buttons page: a button with a picture from the open-file dialog\n"
              "key ctrl+tab\n"
              "key alt+c\ntype Inbox\nkey alt+k\ntype inbox\n"
              "key alt+u\nkey tab\nkey space\nwait 200\ntype pic.bmp\nkey return\nwait 200\n"
              "key alt+a\n"
              "# a tooltip for it, applied with OK, then saved\n"
              "key alt+t\ntype Read mail\nkey return\nwait 100\nkey ctrl+s\nwait 100\n");
    // mail.zobar does not exist yet: the design starts as a new instance.
    Result r = Run("design mail.zobar --script add.txt --snapshot shot.png");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "saved mail.zobar\n");
    EXPECT_TRUE(fs::exists(dir / "shot.png"));

    r = Run("check mail.zobar");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "mail.zobar: OK, 2 groups, 1 button\n");
    const std::string saved = Read(dir / "mail.zobar");
    for (const char* text :
         {"\"Mail\"", "\"mail\"", "\"Inbox\"", "\"inbox\"", "\"Read mail\"", "GRP2BTN1Picture"})
        EXPECT_NE(saved.find(text), std::string::npos) << text;

    r = Run("render mail.zobar -o mail.png");
    EXPECT_EQ(r.status, 0) << r.err;
    zo::plat::Image png;
    ASSERT_TRUE(zo::plat::ReadPng(dir / "mail.png", png).ok());
    // The new button's picture is drawn: its blue shows in the bar.
    EXPECT_NE(std::count(png.pixels.begin(), png.pixels.end(), 0xFF3399CCu), 0);
}

TEST_F(DesignCommand, ClosingWithUnsavedChangesAsksToSaveDiscardOrStay) {
    struct Row {
        const char* name;
        const char* answer;  // to the question; "" when there is none
        bool edit;
        const char* after;  // what the script does next, if the window is still there
        bool saved;
    };
    const Row rows[] = {
        {"save", "y", true, "", true},
        {"discard", "n", true, "key ctrl+s\n", false},
        {"stay", "escape", true, "key ctrl+s\nwait 100\n", true},
        {"nothing to save", "", false, "key ctrl+s\n", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove(dir / "bar.zobar");
        ASSERT_EQ(Run("new bar.zobar").status, 0);
        const std::string before = Read(dir / "bar.zobar");
        std::string script =
            row.edit ? "key ctrl+tab\nkey ctrl+tab\nkey alt+c\ntype X\nkey alt+a\n" : "";
        script += "close\nwait 100\n";
        if (*row.answer) script += std::string("key ") + row.answer + "\nwait 100\n";
        script += row.after;
        WriteFile("close.txt", script);
        const Result r = Run("design bar.zobar --script close.txt");
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, row.saved ? "saved bar.zobar\n" : "");
        EXPECT_EQ(Read(dir / "bar.zobar") != before, row.saved);
    }
}

TEST_F(DesignCommand, MistakesOnTheCommandLineOrInTheScriptAreNamed) {
    WriteFile("bad.txt", "key ctrl+tab\njump 3 4\n");
    struct Row {
        const char* args;
        const char* message;
    };
    const Row rows[] = {
        {"design", "the design to edit is missing"},
        {"design a.zobar --snapshot s.png", "--snapshot: only a run with --script"},
        {"design a.zobar --script bad.txt", "bad.txt:2: 'jump' is not"},
        {"design a.zobar --script none.txt", "none.txt: no such file"},
        {"design a.zobar --frobnicate", "--frobnicate: unknown option"},
    };
    for (const Row& row : rows) {
        const Result r = Run(row.args);
        EXPECT_EQ(r.status, 2) << row.args;
        EXPECT_NE(r.err.find(row.message), std::string::npos) << row.args << ": " << r.err;
    }
    EXPECT_FALSE(fs::exists(dir / "a.zobar"));
}

}  // namespace
