// A control made from a design file, and a control's design saved to one: the design file of
// the host (host/DesignFile.h) joined to ReadProperties and WriteProperties.
#pragma once

#include "core/Export.h"

#include <filesystem>
#include <memory>

#include "control/ZoButtonBar.h"
#include "host/DesignFile.h"

namespace zo {

// Where the loaded control goes and who hears of it while it loads.
struct ZO_API DesignPlacement {
    plat::HWND parent = 0;
    int x = 0;
    int y = 0;
    int width = 240;
    int height = 480;
    // Advised before the load, so it hears GroupAdded and ButtonAdded as the design is built.
    ZoButtonBarEvents* events = nullptr;
};

// Reads the whole file, checks it against the limits, then builds a control through
// ReadProperties. Raises DesignError naming the file, the line and the bag key; when the
// control refuses a value the error carries its number, source and text. A failed load leaves
// no control behind.
ZO_API std::shared_ptr<ZoButtonBar> LoadDesign(ControlSite& site, const std::filesystem::path& path,
                                               const DesignPlacement& placement = {},
                                               const DesignLimits& limits = {});

// The same from a design already parsed.
ZO_API std::shared_ptr<ZoButtonBar> BuildDesign(ControlSite& site, const LoadedDesign& design,
                                                const DesignPlacement& placement = {});

// Saves the control's design (WriteProperties) to path atomically. Raises DesignError.
ZO_API void SaveDesign(const ZoButtonBar& bar, const std::filesystem::path& path,
                       FileOps& ops = SystemFileOps());

}  // namespace zo
