// The commands of the zobar program. Each takes the arguments after its name, writes errors
// to stderr naming the bad argument or the file, and returns the exit status: 0 done, 1 a
// design that could not be loaded or a file that could not be written, 2 a wrong command line
// (unknown option, missing argument, missing file).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "control/Dispatch.h"
#include "core/Variant.h"

namespace zobar {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// A wrong command line; the command prints it and exits with kExitUsage.
struct UsageError {
    std::string message;
};

int RunRender(const std::vector<std::string>& args);
int RunNew(const std::vector<std::string>& args);
int RunCheck(const std::vector<std::string>& args);
int RunRun(const std::vector<std::string>& args);
int RunDesign(const std::vector<std::string>& args);

// The help of one command ("" for an unknown one), and the program's overview.
std::string_view CommandHelp(std::string_view command);
std::string_view ProgramHelp();

// Whether the arguments ask for the command's help; if so prints it to stdout.
bool PrintedHelp(std::string_view command, const std::vector<std::string>& args);

// A property value given as text: enumeration members by name or number, colours as
// &H80000011&, #RRGGBB or decimal, Booleans as True/False/1/0, text as it stands.
// Raises zo::Error with a message naming the value when it cannot be read.
zo::Variant ParseValue(const zo::DispatchMember& member, std::string_view text);

// A whole number from a command-line value; arg names the option in the error.
int ToInt(const std::string& arg, const std::string& text);
// "WxH" within 1x1 .. 8192x8192.
void ParseSize(const std::string& arg, const std::string& text, int& width, int& height);

}  // namespace zobar
