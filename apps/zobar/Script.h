// What `zobar run` and `zobar design` share: their command line (a design, a window size, a
// script and a snapshot) and the input script that lets them run without a person. A script is
// one step a line: move X Y, click X Y, press [left|right|middle], release [...],
// key [ctrl+|alt+|shift+]NAME, type TEXT, wait MS, close; '#' starts a comment (except in type).
#pragma once

#include <string>
#include <vector>

namespace zobar {

struct WindowOptions {
    std::string design;
    int width = 240;
    int height = 480;
    bool events = false;  // --events, for the commands that print them
    std::string script;
    std::string snapshot;
};

// The words a command uses in its mistakes: "run" says "the design to run is missing" and
// "only one design can be run".
struct WindowCommandWords {
    bool acceptsEvents = false;
    const char* missing = "";    // "the design to run is missing"
    const char* secondOne = "";  // "only one design can be run"
};

// Reads the options; a mistake raises UsageError naming the argument.
WindowOptions ParseWindowOptions(const std::vector<std::string>& args,
                                 const WindowCommandWords& words);

enum class Step { Move, Press, Release, Click, Key, Type, Wait, Close };

struct ScriptLine {
    Step step = Step::Wait;
    int line = 0;
    int a = 0;  // x, button (VK_*), key (VK_*), milliseconds
    int b = 0;  // y
    bool ctrl = false, alt = false, shift = false;
    std::string text;  // what type types
};

// Reads the whole script ("-" for standard input) before anything is shown, so that a mistake
// in it is told at once, as UsageError "FILE:LINE: why".
std::vector<ScriptLine> ReadScript(const std::string& source);

// Injects the input of a pointer, key or type step, with X and Y taken from (originX,
// originY) on the screen; false for wait and close, which each command carries out its own way.
bool InjectInputStep(const ScriptLine& s, int originX, int originY);

}  // namespace zobar
