// The built zobar program end to end, as a user runs it from a shell: the sessions in
// tests/apps/data/sessions/*.txt, one test per file, each in a folder of its own without an X
// display. A session's lines, in order:
//   $ ARGS [<<< INPUT]     run zobar with ARGS (a shell command line), INPUT on its stdin
//   status N               its exit status
//   out|err = TEXT         what it printed on that stream, exactly
//   out|err ~|!~|^ TEXT    ... holds, does not hold, starts with TEXT
//   out|err lines N        ... has N lines
//   out|err @ FILE         ... equals the file
//   write FILE [TEXT]      a file of TEXT, or of the lines up to one holding only "."
//   bmp FILE AARRGGBB      a 16 x 16 bitmap file in one colour
//   copy FROM TO | replace FROM TO |OLD|NEW| (any delimiter) | remove FILE
//   has FILE TEXT | same FILE FILE | differ FILE FILE | exists FILE | missing FILE
//   png FILE WxH [AARRGGBB]   a PNG of that size, with a pixel of that colour
// TEXT and INPUT take \n for a line break; a FILE starting with @/ is in the source tree.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/TestData.h"
#include "platform/Image.h"

namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Unescape(std::string s) {
    for (std::size_t at; (at = s.find("\\n")) != std::string::npos;)
        s.replace(at, 2, "\n");
    return s;
}

class Session : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("zobar_session_" + GetParam());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path Path(const std::string& name) const {
        return name.starts_with("@/") ? fs::path(ZO_SOURCE_DIR) / name.substr(2) : dir / name;
    }

    void Run(const std::string& line) {
        const std::size_t here = line.find(" <<< ");
        const std::string args = line.substr(0, here);
        std::string command = "cd '" + dir.string() + "' && env -u DISPLAY -u ZO_DISPLAY '" +
                              std::string(ZO_BINARY_DIR) + "/apps/zobar/zobar' " + args +
                              " 2>stderr.txt";
        if (here != std::string::npos)
            command = "printf '" + line.substr(here + 5) + "' | (" + command + ")";
        out.clear();
        FILE* p = popen(command.c_str(), "r");
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;)
            out.append(buf, n);
        const int raw = pclose(p);
        status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        err = Read(dir / "stderr.txt");
    }

    // Checks a stream: `op` and the rest of the line.
    void Check(const std::string& stream, const std::string& op, const std::string& arg) {
        const std::string& s = stream == "out" ? out : err;
        const std::string text = Unescape(arg);
        if (op == "=")
            EXPECT_EQ(s, text);
        else if (op == "~")
            EXPECT_NE(s.find(text), std::string::npos) << s;
        else if (op == "!~")
            EXPECT_EQ(s.find(text), std::string::npos) << s;
        else if (op == "^")
            EXPECT_EQ(s.rfind(text, 0), 0u) << s;
        else if (op == "lines")
            EXPECT_EQ(std::count(s.begin(), s.end(), '\n'), std::stoi(arg)) << s;
        else if (op == "@")
            EXPECT_EQ(s, Read(Path(arg)));
        else
            ADD_FAILURE() << "no check " << op;
    }

    void Step(const std::string& line, std::istream& script, int& number) {
        std::istringstream in(line);
        std::string verb, a, b;
        in >> verb >> a;
        std::string rest;
        std::getline(in >> std::ws, rest);
        if (verb == "$") {
            Run(line.size() > 2 ? line.substr(2) : "");
        } else if (verb == "status") {
            EXPECT_EQ(status, std::stoi(a)) << err;
        } else if (verb == "out" || verb == "err") {
            Check(verb, a, rest);
        } else if (verb == "write") {
            std::string text = Unescape(rest);
            if (rest.empty())
                for (std::string l; ++number, std::getline(script, l) && l != ".";)
                    text += l + "\n";
            std::ofstream(Path(a), std::ios::binary) << text;
        } else if (verb == "bmp") {
            zo::plat::Image img;
            img.width = img.height = 16;
            img.pixels.assign(256, static_cast<std::uint32_t>(std::stoul(rest, nullptr, 16)));
            const auto bytes = zo::plat::EncodeBmp(img, 24);
            std::ofstream(Path(a), std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
        } else if (verb == "copy" || verb == "replace") {
            std::istringstream(rest) >> b;
            std::string text = Read(Path(a));
            if (verb == "replace") {
                const std::string edit = rest.substr(rest.find(' ') + 1);
                const std::size_t mid = edit.find(edit[0], 1);
                const std::string from = edit.substr(1, mid - 1);
                const std::string to = edit.substr(mid + 1, edit.size() - mid - 2);
                ASSERT_NE(text.find(from), std::string::npos) << from;
                text.replace(text.find(from), from.size(), to);
            }
            std::ofstream(Path(b), std::ios::binary) << text;
        } else if (verb == "remove") {
            fs::remove(Path(a));
        } else if (verb == "has") {
            EXPECT_NE(Read(Path(a)).find(rest), std::string::npos) << rest;
        } else if (verb == "same" || verb == "differ") {
            EXPECT_EQ(Read(Path(a)) == Read(Path(rest)), verb == "same") << rest;
        } else if (verb == "exists" || verb == "missing") {
            EXPECT_EQ(fs::exists(Path(a)), verb == "exists");
        } else if (verb == "png") {
            zo::plat::Image img;
            ASSERT_TRUE(zo::plat::ReadPng(Path(a), img).ok());
            std::istringstream(rest) >> b;
            EXPECT_EQ(std::to_string(img.width) + "x" + std::to_string(img.height), b);
            if (rest.size() > b.size()) {
                EXPECT_NE(std::count(img.pixels.begin(), img.pixels.end(),
                                     std::stoul(rest.substr(b.size()), nullptr, 16)),
                          0);
            }
        } else {
            ADD_FAILURE() << "unknown step " << verb;
        }
    }

    fs::path dir;
    int status = -1;
    std::string out, err;
};

TEST_P(Session, Runs) {
    zo::testing::RunScript(
        "tests/apps/data/sessions", GetParam(),
        [this](const std::string& line, std::istream& in, int& number) { Step(line, in, number); });
}

INSTANTIATE_TEST_SUITE_P(Zobar, Session,
                         ::testing::ValuesIn(zo::testing::ScriptNames("tests/apps/data/sessions")),
                         [](const ::testing::TestParamInfo<std::string>& i) { return i.param; });

}  // namespace
