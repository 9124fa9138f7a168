// The members of the control's dispatch interface, for code that reaches properties by name
// or DISPID (hosts, property pages, the command-line program).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/Export.h"
#include "core/Variant.h"

namespace zo {

class ZoButtonBar;

// What a member holds, so that a caller can parse text for it (colours, enumerations).
enum class DispKind { Long, Enum, Color, Boolean, String, Object, Method };

struct ZO_API DispatchMember {
    const char* name;
    std::int32_t dispid;
    DispKind kind;
    Variant (*get)(const ZoButtonBar&);
    void (*set)(ZoButtonBar&, const Variant&);
    void (*call)(ZoButtonBar&);
};

// All members in the interface's slot order.
ZO_API const std::vector<DispatchMember>& DispatchMembers();
// By name without regard to letter case, or by DISPID; nullptr when there is none.
ZO_API const DispatchMember* FindDispatchMember(std::string_view name);
ZO_API const DispatchMember* FindDispatchMember(std::int32_t dispid);

}  // namespace zo
