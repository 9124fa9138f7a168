// Runs the built zobar program as a user would, in a folder of its own per test, without an X
// display: what it printed on each stream and its exit status.
#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace zobar_test {

namespace fs = std::filesystem;

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

class ZobarProcess : public ::testing::Test {
protected:
    explicit ZobarProcess(const char* prefix) : prefix_(prefix) {}

    void SetUp() override {
        dir = fs::temp_directory_path() /
              (prefix_ + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs zobar with the arguments (a shell command line); input, if any, is its stdin.
    Result Run(const std::string& args, const std::string& input = "") const {
        const fs::path err = dir / "stderr.txt";
        std::string command = "cd '" + dir.string() + "' && env -u DISPLAY -u ZO_DISPLAY '" +
                              std::string(ZO_BINARY_DIR) + "/apps/zobar/zobar' " + args + " 2>'" +
                              err.string() + "'";
        if (!input.empty()) command = "printf '" + input + "' | (" + command + ")";
        Result r;
        FILE* p = popen(command.c_str(), "r");
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;)
            r.out.append(buf, n);
        const int raw = pclose(p);
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.err = Read(err);
        return r;
    }
    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void WriteFile(const std::string& name, const std::string& text) const {
        std::ofstream(dir / name, std::ios::binary) << text;
    }

    fs::path dir;

private:
    std::string prefix_;
};

}  // namespace zobar_test
