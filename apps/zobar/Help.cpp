// The help texts of the program and of each command.
#include <cstdio>

#include "Commands.h"

namespace zobar {

namespace {

constexpr std::string_view kRender =
    "usage: zobar render [DESIGN] -o FILE.png [options]\n"
    "Draws a design off-screen into a PNG file; without DESIGN the built-in demo.\n"
    "\n"
    "  -o, --output FILE.png     where the picture goes (required)\n"
    "  --size WxH                the control's size in pixels (240x480)\n"
    "  --set Name=Value          set a property by name (repeatable)\n"
    "  --active N                make group N active\n"
    "  --select G,B              select button B of group G\n"
    "  --hover G,B               show button B of group G hot\n"
    "  --design-mode             draw as at design time\n"
    "  --no-msimg32              draw without the platform's gradient and transparent blit\n";

constexpr std::string_view kNew =
    "usage: zobar new [--demo] [--force] FILE\n"
    "Writes the design of a new instance (one group, \"General\") to FILE.\n"
    "\n"
    "  --demo                    write the built-in demo design instead\n"
    "  --force                   replace FILE if it exists\n";

constexpr std::string_view kCheck =
    "usage: zobar check DESIGN...\n"
    "Loads each design as the bar would at run time and reports OK with its groups and\n"
    "buttons, or the first error with its file, line and key. Exit status 0 only when\n"
    "every design loads.\n";

constexpr std::string_view kRun =
    "usage: zobar run DESIGN [options]\n"
    "Shows the design at run time in a window on the X display named by DISPLAY, titled\n"
    "with the file's name, until the window is closed (from the window manager, or with\n"
    "the bar's close button).\n"
    "\n"
    "  --size WxH                the window's size in pixels (240x480)\n"
    "  --events                  print each event of the bar, one line each, as it happens\n"
    "  --script FILE|-           replay input from FILE (- for standard input) and end;\n"
    "                            runs off-screen unless ZO_DISPLAY=x11\n"
    "  --snapshot FILE.png       write the window's picture when the script ends\n"
    "\n"
    "Script lines (x and y in pixels of the window, # starts a comment):\n"
    "  move X Y                  the pointer moves to X,Y\n"
    "  press [left|right|middle] a mouse button goes down (left when not named)\n"
    "  release [left|right|middle]\n"
    "  click X Y                 move, press and release the left button\n"
    "  key NAME                  a key is pressed and released (Up, Down, Left, Right,\n"
    "                            Return, Tab, Space, Escape, Home, End, A..Z, 0..9),\n"
    "                            with ctrl+, alt+ or shift+ before it if held\n"
    "  type TEXT                 the rest of the line, typed key by key\n"
    "  wait MS                   time passes\n"
    "  close                     the window is closed\n";

constexpr std::string_view kDesign =
    "usage: zobar design DESIGN [options]\n"
    "Shows the design at design time in a window on the X display, with the property\n"
    "sheet of its pages beside it (Appearance, Position, Groups, Buttons). Apply and OK\n"
    "change the bar at once; Ctrl+S or Save writes DESIGN; closing with unsaved changes\n"
    "asks first. A DESIGN that does not exist yet starts as a new instance.\n"
    "\n"
    "  --size WxH                the bar's size in pixels (240x480)\n"
    "  --script FILE|-           replay input from FILE (- for standard input) and end;\n"
    "                            runs off-screen unless ZO_DISPLAY=x11\n"
    "  --snapshot FILE.png       write the screen's picture when the script ends\n"
    "\n"
    "Script lines (x and y in pixels of the screen; the design window is at 0,0):\n"
    "  move X Y, click X Y       the pointer, and a click of its left button\n"
    "  press, release [left|right|middle]   a mouse button (left when not named)\n"
    "  key NAME                  a key, with ctrl+, alt+ or shift+ before it if held\n"
    "                            (e.g. ctrl+s, alt+c, ctrl+tab, return, escape, a..z)\n"
    "  type TEXT                 the rest of the line, typed key by key\n"
    "  wait MS                   time passes\n"
    "  close                     the design window is closed (it may ask to save)\n"
    "A script that ends with the window open leaves unsaved changes unsaved.\n";

constexpr std::string_view kProgram =
    "usage: zobar <command> [arguments]\n"
    "\n"
    "  new [--demo] [--force] FILE   write a new design (or the demo) to FILE\n"
    "  check DESIGN...               load designs and report what they hold\n"
    "  render [DESIGN] -o FILE.png   draw a design (the built-in demo without DESIGN)\n"
    "  run DESIGN                    show a design in a live window\n"
    "  design DESIGN                 edit a design with its property pages\n"
    "  help [COMMAND]                this text, or a command's\n"
    "  --version                     the program's version\n"
    "\n"
    "zobar COMMAND --help tells more about each command.\n";

}  // namespace

std::string_view CommandHelp(std::string_view command) {
    if (command == "render") return kRender;
    if (command == "new") return kNew;
    if (command == "check") return kCheck;
    if (command == "run") return kRun;
    if (command == "design") return kDesign;
    return {};
}

std::string_view ProgramHelp() {
    return kProgram;
}

bool PrintedHelp(std::string_view command, const std::vector<std::string>& args) {
    for (const std::string& a : args)
        if (a == "--help" || a == "-h") {
            const std::string_view help = CommandHelp(command);
            std::fwrite(help.data(), 1, help.size(), stdout);
            return true;
        }
    return false;
}

}  // namespace zobar
