// Test data kept in text files: cases (a line "== field | field | ..." starts a case and the
// lines up to the next one are its text, without the last line break; lines before the first
// case are notes) and recorded expected output.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace zo::testing {

struct TextCase {
    std::vector<std::string> fields;  // without their surrounding spaces
    std::string text;
};

// The cases of a file named from the source root.
inline std::vector<TextCase> ReadTextCases(const std::string& path) {
    std::ifstream in(std::string(ZO_SOURCE_DIR) + "/" + path, std::ios::binary);
    std::vector<TextCase> cases;
    bool first = true;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("== ", 0) != 0) {
            if (!cases.empty()) cases.back().text += (first ? "" : "\n") + line;
            first = false;
            continue;
        }
        cases.emplace_back();
        first = true;
        for (std::size_t at = 3, bar = 0; bar != std::string::npos; at = bar + 1) {
            bar = line.find('|', at);
            std::string f = line.substr(at, bar == std::string::npos ? bar : bar - at);
            f.erase(0, f.find_first_not_of(' '));
            f.erase(f.find_last_not_of(' ') + 1);
            cases.back().fields.push_back(f);
        }
    }
    EXPECT_FALSE(cases.empty()) << path;
    return cases;
}

// The bytes of a file named from the source root.
inline std::string SourceFile(const std::string& path) {
    std::ifstream in(std::string(ZO_SOURCE_DIR) + "/" + path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// `text` must equal the file named from the source root; ZO_UPDATE_GOLDEN=1 writes it instead.
inline void ExpectSameAsFile(const std::string& text, const std::string& path) {
    if (std::getenv("ZO_UPDATE_GOLDEN") != nullptr)
        std::ofstream(std::string(ZO_SOURCE_DIR) + "/" + path, std::ios::binary) << text;
    EXPECT_EQ(text, SourceFile(path)) << path;
}

// The names, without ".txt", of the scripts in a folder named from the source root, sorted.
inline std::vector<std::string> ScriptNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e :
         std::filesystem::directory_iterator(std::string(ZO_SOURCE_DIR) + "/" + folder))
        if (e.path().extension() == ".txt") names.push_back(e.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Hands each line of folder/name.txt that is neither blank nor a "#" note to
// step(line, stream, lineNumber), with the file and line in every failure; stops at a fatal
// one. A step may read further lines from the stream, counting them in lineNumber.
template <class Step>
void RunScript(const std::string& folder, const std::string& name, Step&& step) {
    std::ifstream in(std::string(ZO_SOURCE_DIR) + "/" + folder + "/" + name + ".txt");
    ASSERT_TRUE(in) << folder << "/" << name << ".txt";
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (line.empty() || line[0] == '#') continue;
        SCOPED_TRACE(name + ".txt:" + std::to_string(number) + ": " + line);
        step(line, in, number);
        if (::testing::Test::HasFatalFailure()) return;
    }
}

}  // namespace zo::testing
