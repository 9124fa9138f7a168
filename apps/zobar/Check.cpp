// zobar check: loads designs as the bar would at run time and reports what they hold.
#include <cstdio>
#include <filesystem>
#include <string>

#include "Commands.h"
#include "persist/DesignLoad.h"
#include "platform/Display.h"

namespace zobar {

int RunCheck(const std::vector<std::string>& args) {
    if (PrintedHelp("check", args)) return kExitOk;
    for (const std::string& a : args)
        if (!a.empty() && a[0] == '-' && a != "-") {
            std::fprintf(stderr, "zobar check: %s: unknown option\n", a.c_str());
            return kExitUsage;
        }
    if (args.empty()) {
        std::fputs("zobar check: no design given\n", stderr);
        return kExitUsage;
    }
    zo::plat::InitDisplay(zo::plat::DisplayKind::Offscreen, 256, 496);
    int status = kExitOk;
    for (const std::string& file : args) {
        std::error_code ec;
        if (!std::filesystem::exists(file, ec)) {
            std::fprintf(stderr, "zobar check: %s: no such file\n", file.c_str());
            status = kExitUsage;
            continue;
        }
        zo::DefaultSite site(true);
        try {
            auto bar = zo::LoadDesign(site, file);
            std::int64_t buttons = 0;
            for (const zo::GroupPtr& g : *bar->Groups())
                buttons += g->Buttons()->Count();
            std::printf("%s: OK, %d group%s, %lld button%s\n", file.c_str(), bar->Groups()->Count(),
                        bar->Groups()->Count() == 1 ? "" : "s", static_cast<long long>(buttons),
                        buttons == 1 ? "" : "s");
        } catch (const zo::DesignError& e) {
            std::fprintf(stderr, "zobar check: %s\n", e.what());
            if (status == kExitOk) status = kExitFailed;
        }
        std::fflush(stdout);
    }
    return status;
}

}  // namespace zobar
