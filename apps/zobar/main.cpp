// zobar: the command-line program of the library.
#include <cstdio>
#include <string_view>

int main(int argc, char** argv) {
    if (argc < 2 || std::string_view(argv[1]) == "--help") {
        std::puts("usage: zobar <command> [arguments]\n\ncommands come with the next releases");
        return argc < 2 ? 2 : 0;
    }
    std::fprintf(stderr, "zobar: unknown command '%s'\n", argv[1]);
    return 2;
}
