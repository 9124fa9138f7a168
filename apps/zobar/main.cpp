// zobar: the command-line program of the library.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "Commands.h"

namespace {

void Usage(std::FILE* out) {
    std::fputs(
        "usage: zobar <command> [arguments]\n"
        "\n"
        "  render [DESIGN] -o FILE.png   draw a design (the built-in demo without DESIGN)\n"
        "      --size WxH                the control's size in pixels (240x480)\n"
        "      --set Name=Value          set a property by name (repeatable)\n"
        "      --active N                make group N active\n"
        "      --select G,B              select button B of group G\n"
        "      --hover G,B               show button B of group G hot\n"
        "      --design-mode             draw as at design time\n"
        "      --no-msimg32              draw without the platform's gradient and\n"
        "                                transparent blit\n",
        out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        Usage(stderr);
        return 2;
    }
    const std::string_view command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "--help" || command == "help") {
        Usage(stdout);
        return 0;
    }
    if (command == "render") return zobar::RunRender(args);
    std::fprintf(stderr, "zobar: unknown command '%s'\n", argv[1]);
    Usage(stderr);
    return 2;
}
