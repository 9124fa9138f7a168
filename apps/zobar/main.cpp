// zobar: the command-line program of the library.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "Commands.h"

#ifndef ZO_VERSION
#define ZO_VERSION "unknown"
#endif

namespace {

void Print(std::FILE* out, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("zobar: no command given (zobar help lists them)\n", stderr);
        return zobar::kExitUsage;
    }
    const std::string_view command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "--version" || command == "version") {
        std::printf("zobar %s\n", ZO_VERSION);
        return zobar::kExitOk;
    }
    if (command == "--help" || command == "-h" || command == "help") {
        if (!args.empty()) {
            const std::string_view help = zobar::CommandHelp(args[0]);
            if (help.empty()) {
                std::fprintf(stderr, "zobar help: unknown command '%s'\n", args[0].c_str());
                return zobar::kExitUsage;
            }
            Print(stdout, help);
            return zobar::kExitOk;
        }
        Print(stdout, zobar::ProgramHelp());
        return zobar::kExitOk;
    }
    if (command == "render") return zobar::RunRender(args);
    if (command == "new") return zobar::RunNew(args);
    if (command == "check") return zobar::RunCheck(args);
    if (command == "run") return zobar::RunRun(args);
    if (command == "design") return zobar::RunDesign(args);
    std::fprintf(stderr, "zobar: unknown command '%s' (zobar help lists them)\n", argv[1]);
    return zobar::kExitUsage;
}
