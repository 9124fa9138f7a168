// The built zobar program end to end, as a user runs it: new, check, render and run with a
// script, what each prints and its exit status.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Image.h"
#include "zobar_process.h"

namespace {

namespace fs = std::filesystem;

using zobar_test::Result;

class Program : public zobar_test::ZobarProcess {
protected:
    Program() : ZobarProcess("zobar_program_") {}
    static int Lines(const std::string& s) {
        return static_cast<int>(std::count(s.begin(), s.end(), '\n'));
    }
};

TEST_F(Program, NewWritesADesignAndRefusesToOverwriteItUnlessForced) {
    Result r = Run("new plain.zobar");
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string plain = Read(dir / "plain.zobar");
    EXPECT_NE(plain.find("\"GRP1Caption\": \"General\""), std::string::npos);

    r = Run("new --demo plain.zobar");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("plain.zobar exists"), std::string::npos) << r.err;
    EXPECT_EQ(Read(dir / "plain.zobar"), plain);

    r = Run("new --demo --force plain.zobar");
    EXPECT_EQ(r.status, 0) << r.err;
    // The demo written now is the one examples/ carries.
    EXPECT_EQ(Read(dir / "plain.zobar"), Read(fs::path(ZO_SOURCE_DIR) / "examples/demo.zobar"));
}

TEST_F(Program, CheckReportsEachDesignAndExitsZeroOnlyWhenAllLoad) {
    ASSERT_EQ(Run("new --demo demo.zobar").status, 0);
    ASSERT_EQ(Run("new plain.zobar").status, 0);
    Result r = Run("check demo.zobar plain.zobar");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "demo.zobar: OK, 5 groups, 35 buttons\nplain.zobar: OK, 1 group, 0 buttons\n");

    std::string broken = Read(dir / "plain.zobar");
    broken.replace(broken.find("\"GRP1Key\": \"\""), 13, "\"GRP1Key\": 1.5");
    WriteFile("broken.zobar", broken);
    r = Run("check demo.zobar broken.zobar");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(Lines(r.out), 1);
    EXPECT_EQ(Lines(r.err), 1);
    EXPECT_NE(r.err.find("broken.zobar:8: GRP1Key: "), std::string::npos) << r.err;

    r = Run("check demo.zobar missing.zobar");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("missing.zobar: no such file"), std::string::npos) << r.err;
}

TEST_F(Program, RenderDrawsADesignWithTheOptionsOnTop) {
    ASSERT_EQ(Run("new --demo demo.zobar").status, 0);
    Result r =
        Run("render demo.zobar --size 200x300 --set ButtonLayout=zoTiled --select 1,2 -o a.png");
    EXPECT_EQ(r.status, 0) << r.err;
    zo::plat::Image image;
    ASSERT_TRUE(zo::plat::ReadPng(dir / "a.png", image).ok());
    EXPECT_EQ(image.width, 200);
    EXPECT_EQ(image.height, 300);
    EXPECT_EQ(Run("render demo.zobar -o b.png").status, 0);
    EXPECT_NE(Read(dir / "a.png"), Read(dir / "b.png"));

    WriteFile("bad.zobar", "{\"format\": \"ZoBtnBar design\", \"version\": 9}");
    r = Run("render bad.zobar -o c.png");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("bad.zobar:1: version 9 is newer"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir / "c.png"));
    EXPECT_EQ(Run("render nothing.zobar -o c.png").status, 2);
}

TEST_F(Program, RunReplaysAScriptPrintsTheEventsAndWritesTheLastPicture) {
    ASSERT_EQ(Run("new --demo demo.zobar").status, 0);
    // A click on the second button, then a header click that makes "Tools" active.
    WriteFile("clicks.txt",
              "# select Calendar\nmove 120 100\nclick 120 100\nwait 50\nclick 120 434\n");
    Result r = Run("run demo.zobar --events --script clicks.txt --snapshot end.png");
    EXPECT_EQ(r.status, 0) << r.err;
    for (const char* event :
         {"GroupAdded CGroup \"Shortcuts\"\n", "ButtonHighlightChanged CButton \"Calendar\" True\n",
          "MouseDown 1 0 ", "ButtonSelectionChanged\n", "zoGroupHit CGroup \"Tools\"\n"})
        EXPECT_NE(r.out.find(event), std::string::npos) << event << " in " << r.out;
    zo::plat::Image image;
    ASSERT_TRUE(zo::plat::ReadPng(dir / "end.png", image).ok());
    EXPECT_EQ(image.width, 240);

    // The same from standard input, without the events.
    r = Run("run demo.zobar --script - --snapshot stdin.png", "click 120 100\\nwait 10\\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");

    // Closing the window ends the replay: the click after it never happens.
    WriteFile("close.txt", "move 120 100\nclose\nclick 120 100\n");
    r = Run("run demo.zobar --events --script close.txt");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("MouseMove "), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("MouseDown "), std::string::npos) << r.out;

    WriteFile("bad.txt", "move 1 2\njump 3\n");
    r = Run("run demo.zobar --script bad.txt");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("bad.txt:2: 'jump' is not"), std::string::npos) << r.err;
}

TEST_F(Program, RunWithoutADisplayOrAScriptSaysWhyAndExitsOne) {
    ASSERT_EQ(Run("new plain.zobar").status, 0);
    const Result r = Run("run plain.zobar");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot show a window"), std::string::npos) << r.err;
    EXPECT_EQ(Lines(r.err), 1);
}

TEST_F(Program, CommandLineMistakesGiveOneLineAndStatusTwo) {
    struct Row {
        const char* args;
        const char* says;
    };
    const Row rows[] = {
        {"", "no command given"},
        {"frobnicate", "unknown command 'frobnicate'"},
        {"new", "the file to write is missing"},
        {"new --colour x.zobar", "--colour: unknown option"},
        {"check", "no design given"},
        {"check --quick x.zobar", "--quick: unknown option"},
        {"run", "the design to run is missing"},
        {"run missing.zobar --script x", "missing.zobar: no such file"},
        {"render -o", "-o: a value is missing"},
        {"help frobnicate", "unknown command 'frobnicate'"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args);
        const Result r = Run(row.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(Lines(r.err), 1) << r.err;
        EXPECT_NE(r.err.find(row.says), std::string::npos) << r.err;
    }
}

TEST_F(Program, VersionAndHelp) {
    Result r = Run("--version");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("zobar ", 0), 0u);
    r = Run("help");
    EXPECT_EQ(r.status, 0);
    for (const char* command : {"new", "check", "render", "run"}) {
        SCOPED_TRACE(command);
        EXPECT_NE(r.out.find(std::string("  ") + command + " "), std::string::npos);
        const Result own = Run(std::string(command) + " --help");
        EXPECT_EQ(own.status, 0);
        EXPECT_EQ(own.out.rfind(std::string("usage: zobar ") + command, 0), 0u) << own.out;
        EXPECT_EQ(Run(std::string("help ") + command).out, own.out);
    }
}

}  // namespace
