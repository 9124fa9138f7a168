// The commands of the zobar program. Each takes the arguments after its name, writes errors
// to stderr naming the bad argument, and returns the exit status.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "control/Dispatch.h"
#include "core/Variant.h"

namespace zobar {

int RunRender(const std::vector<std::string>& args);

// A property value given as text: enumeration members by name or number, colours as
// &H80000011&, #RRGGBB or decimal, Booleans as True/False/1/0, text as it stands.
// Raises zo::Error with a message naming the value when it cannot be read.
zo::Variant ParseValue(const zo::DispatchMember& member, std::string_view text);

}  // namespace zobar
