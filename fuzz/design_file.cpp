// Reads arbitrary design files: every input must load into a working control or fail with a
// DesignError that names the file, never crash or leak; what loads must save to a text that
// loads again. Designs are kept small by the reader's own limits, set low here.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ZoBtnBar.h"
#include "host/DesignFile.h"
#include "persist/DesignLoad.h"

namespace {

zo::DesignLimits SmallLimits() {
    zo::DesignLimits limits;
    limits.maxFileBytes = 1 << 20;
    limits.maxGroups = 8;
    limits.maxButtons = 48;
    limits.maxPicturePixels = 64 * 64 * 8;
    return limits;
}

void Refused(const zo::DesignError& e) {
    // A refusal always names the file it is about.
    if (std::string_view(e.what()).rfind("fuzz.zobar", 0) != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    zo::plat::InitDisplay(zo::plat::DisplayKind::Offscreen, 400, 400);
    // One load first, so that stock objects and caches made once are not counted as leaks.
    zo::DefaultSite site;
    auto bar = zo::ZoButtonBar::Create(site, 0, 0, 0, 200, 300);
    bar->ReadProperties(zo::PropertyBag());
    bar->Refresh();
    zo::plat::PumpMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const zo::DesignLimits limits = SmallLimits();
    for (int pass = 0; pass < 2; ++pass) {
        const std::size_t objects = zo::plat::GdiObjects().LiveCount();
        {
            zo::LoadedDesign design;
            try {
                design = zo::ParseDesign(text, "fuzz.zobar", limits);
            } catch (const zo::DesignError& e) {
                Refused(e);
                return 0;
            }
            zo::DefaultSite site;
            std::shared_ptr<zo::ZoButtonBar> bar;
            try {
                bar = zo::BuildDesign(site, design, {0, 0, 0, 200, 300, nullptr});
            } catch (const zo::DesignError& e) {
                Refused(e);
            }
            if (bar) {
                zo::PropertyBag saved;
                bar->WriteProperties(saved);
                // What was loaded saves, and the saved text loads again.
                const std::string again = zo::FormatDesign(saved);
                zo::ParseDesign(again, "fuzz.zobar");
                bar->Refresh();
                zo::plat::PumpMessages();
            }
        }
        zo::plat::PumpMessages();
        if (pass == 1 && zo::plat::GdiObjects().LiveCount() > objects) std::abort();
    }
    return 0;
}
