#include "persist/DesignLoad.h"

#include "core/Error.h"

namespace zo {

std::shared_ptr<ZoButtonBar> LoadDesign(ControlSite& site, const std::filesystem::path& path,
                                        const DesignPlacement& placement,
                                        const DesignLimits& limits) {
    return BuildDesign(site, ReadDesignFile(path, limits), placement);
}

std::shared_ptr<ZoButtonBar> BuildDesign(ControlSite& site, const LoadedDesign& design,
                                         const DesignPlacement& placement) {
    auto bar = ZoButtonBar::Create(site, placement.parent, placement.x, placement.y,
                                   placement.width, placement.height);
    bar->Advise(placement.events);
    try {
        bar->ReadProperties(design.bag);
    } catch (const Error& e) {
        const std::string key = design.bag.LastRead();
        // Nothing half-built stays: the control goes with its window.
        bar.reset();
        throw DesignError(design.file, design.LineOf(key), key, e.Description(), e.Number(),
                          e.Source());
    }
    return bar;
}

void SaveDesign(const ZoButtonBar& bar, const std::filesystem::path& path, FileOps& ops) {
    PropertyBag bag;
    bar.WriteProperties(bag);
    WriteDesignFile(path, bag, ops);
}

}  // namespace zo
