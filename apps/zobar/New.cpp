// zobar new: writes the design of a new instance, or the built-in demo, to a file.
#include <cstdio>
#include <filesystem>
#include <string>

#include "Commands.h"
#include "Demo.h"
#include "persist/DesignLoad.h"
#include "platform/Display.h"

namespace zobar {

int RunNew(const std::vector<std::string>& args) {
    if (PrintedHelp("new", args)) return kExitOk;
    bool demo = false, force = false;
    std::string file;
    try {
        for (const std::string& a : args) {
            if (a == "--demo") {
                demo = true;
            } else if (a == "--force") {
                force = true;
            } else if (!a.empty() && a[0] == '-') {
                throw UsageError{a + ": unknown option"};
            } else if (file.empty()) {
                file = a;
            } else {
                throw UsageError{a + ": only one file can be written"};
            }
        }
        if (file.empty()) throw UsageError{"the file to write is missing"};
    } catch (const UsageError& e) {
        std::fprintf(stderr, "zobar new: %s\n", e.message.c_str());
        return kExitUsage;
    }
    std::error_code ec;
    if (!force && std::filesystem::exists(file, ec)) {
        std::fprintf(stderr, "zobar new: %s exists (--force replaces it)\n", file.c_str());
        return kExitFailed;
    }
    zo::plat::InitDisplay(zo::plat::DisplayKind::Offscreen, 256, 496);
    zo::DefaultSite site(false);
    try {
        auto bar = zo::ZoButtonBar::CreateNew(site, 0, 0, 0, 240, 480);
        if (demo) BuildDemo(*bar);
        zo::SaveDesign(*bar, file);
    } catch (const zo::DesignError& e) {
        std::fprintf(stderr, "zobar new: %s\n", e.what());
        return kExitFailed;
    }
    std::printf("%s: written\n", file.c_str());
    return kExitOk;
}

}  // namespace zobar
