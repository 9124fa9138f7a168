#include "Script.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "Commands.h"
#include "core/Variant.h"
#include "platform/Display.h"
#include "platform/Window.h"

namespace zobar {

using namespace zo::plat;

WindowOptions ParseWindowOptions(const std::vector<std::string>& args,
                                 const WindowCommandWords& words) {
    WindowOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw UsageError{a + ": a value is missing"};
            return args[++i];
        };
        if (a == "--events" && words.acceptsEvents) {
            o.events = true;
        } else if (a == "--script") {
            o.script = value();
        } else if (a == "--snapshot") {
            o.snapshot = value();
        } else if (a == "--size") {
            ParseSize(a, value(), o.width, o.height);
        } else if (a.size() > 1 && a[0] == '-') {
            throw UsageError{a + ": unknown option"};
        } else if (o.design.empty()) {
            o.design = a;
        } else {
            throw UsageError{a + ": " + words.secondOne};
        }
    }
    if (o.design.empty()) throw UsageError{words.missing};
    if (!o.snapshot.empty() && o.script.empty())
        throw UsageError{"--snapshot: only a run with --script ends by itself to take it"};
    return o;
}

namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

int KeyCode(const std::string& name) {
    static const std::pair<const char*, int> kKeys[] = {
        {"up", VK_UP},          {"down", VK_DOWN},     {"left", VK_LEFT},      {"right", VK_RIGHT},
        {"return", VK_RETURN},  {"enter", VK_RETURN},  {"tab", VK_TAB},        {"space", VK_SPACE},
        {"escape", VK_ESCAPE},  {"home", VK_HOME},     {"end", VK_END},        {"pageup", VK_PRIOR},
        {"pagedown", VK_NEXT},  {"delete", VK_DELETE}, {"backspace", VK_BACK}, {"shift", VK_SHIFT},
        {"control", VK_CONTROL}};
    const std::string lower = Lower(name);
    for (const auto& [n, vk] : kKeys)
        if (lower == n) return vk;
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
        return std::toupper(static_cast<unsigned char>(name[0]));
    return 0;
}

int ButtonCode(const std::string& name) {
    if (name.empty() || name == "left") return VK_LBUTTON;
    if (name == "right") return VK_RBUTTON;
    if (name == "middle") return VK_MBUTTON;
    return 0;
}

// A key and the shift state that types character c, or 0.
int KeyOfChar(char c, bool& shift) {
    const auto u = static_cast<unsigned char>(c);
    shift = false;
    if (std::isdigit(u)) return u;
    if (std::isalpha(u)) {
        shift = std::isupper(u) != 0;
        return std::toupper(u);
    }
    static const struct {
        char c;
        int vk;
        bool shift;
    } kPunct[] = {{' ', VK_SPACE, false},    {'.', VK_OEM_PERIOD, false},
                  {'/', VK_OEM_2, false},    {'-', VK_OEM_MINUS, false},
                  {'_', VK_OEM_MINUS, true}, {',', VK_OEM_COMMA, false},
                  {':', VK_OEM_1, true},     {';', VK_OEM_1, false},
                  {'\'', VK_OEM_7, false},   {'=', VK_OEM_PLUS, false},
                  {'+', VK_OEM_PLUS, true},  {'\\', VK_OEM_5, false},
                  {'(', '9', true},          {')', '0', true},
                  {'&', '7', true}};
    for (const auto& p : kPunct)
        if (p.c == c) {
            shift = p.shift;
            return p.vk;
        }
    return 0;
}

// One line of the script; `bad` makes the error that names the file and the line.
template <class Bad>
ScriptLine ReadStep(std::string line, int number, const Bad& bad) {
    ScriptLine s;
    s.line = number;
    std::string verb;
    std::istringstream(line) >> verb;
    if (verb == "type") {
        // The rest of the line after one blank, as it stands (a '#' is typed too).
        s.step = Step::Type;
        const auto at = line.find("type") + 4;
        s.text = at < line.size() ? line.substr(at + 1) : "";
        for (char c : s.text) {
            bool shift;
            if (KeyOfChar(c, shift) == 0)
                throw bad(std::string("'") + c + "' cannot be typed by this script");
        }
        return s;
    }
    if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    words >> verb;
    std::vector<std::string> rest;
    for (std::string w; words >> w;)
        rest.push_back(w);
    const auto whole = [&](const std::string& w) {
        const auto n = zo::ParseNumber(w);
        if (!n || *n != static_cast<double>(static_cast<int>(*n)))
            throw bad("'" + w + "' is not a whole number");
        return static_cast<int>(*n);
    };
    if (verb == "move" || verb == "click") {
        if (rest.size() != 2) throw bad(verb + " takes X Y");
        s.step = verb == "move" ? Step::Move : Step::Click;
        s.a = whole(rest[0]);
        s.b = whole(rest[1]);
    } else if (verb == "press" || verb == "release") {
        if (rest.size() > 1) throw bad(verb + " takes at most a button name");
        s.step = verb == "press" ? Step::Press : Step::Release;
        s.a = ButtonCode(rest.empty() ? "" : rest[0]);
        if (s.a == 0) throw bad("'" + rest[0] + "' is not left, right or middle");
    } else if (verb == "key") {
        if (rest.size() != 1) throw bad("key takes one key name, e.g. ctrl+s");
        s.step = Step::Key;
        std::string k = rest[0];
        for (std::size_t plus; (plus = k.find('+')) != std::string::npos && plus > 0;) {
            const std::string mod = Lower(k.substr(0, plus));
            if (mod == "ctrl")
                s.ctrl = true;
            else if (mod == "alt")
                s.alt = true;
            else if (mod == "shift")
                s.shift = true;
            else
                throw bad("'" + mod + "' is not ctrl, alt or shift");
            k = k.substr(plus + 1);
        }
        s.a = KeyCode(k);
        if (s.a == 0) throw bad("'" + k + "' is not a key this script knows");
    } else if (verb == "wait") {
        if (rest.size() != 1) throw bad("wait takes milliseconds");
        s.step = Step::Wait;
        s.a = whole(rest[0]);
        if (s.a < 0 || s.a > 600000) throw bad("wait takes 0 to 600000 milliseconds");
    } else if (verb == "close") {
        if (!rest.empty()) throw bad("close takes no argument");
        s.step = Step::Close;
    } else {
        throw bad("'" + verb + "' is not move, press, release, click, key, type, wait or close");
    }
    return s;
}

void Modifiers(const ScriptLine& s, bool down) {
    if (s.ctrl) InjectKey(VK_CONTROL, down);
    if (s.alt) InjectKey(VK_MENU, down);
    if (s.shift) InjectKey(VK_SHIFT, down);
}

}  // namespace

std::vector<ScriptLine> ReadScript(const std::string& source) {
    std::ifstream file;
    std::istream* in = &std::cin;
    if (source != "-") {
        if (!std::filesystem::exists(source)) throw UsageError{source + ": no such file"};
        file.open(source);
        if (!file) throw UsageError{source + ": cannot be read"};
        in = &file;
    }
    const std::string name = source == "-" ? "standard input" : source;
    std::vector<ScriptLine> out;
    std::string line;
    for (int number = 1; std::getline(*in, line); ++number) {
        std::string verb;
        if (!(std::istringstream(line) >> verb) || verb[0] == '#') continue;
        out.push_back(ReadStep(line, number, [&](const std::string& why) {
            return UsageError{name + ":" + std::to_string(number) + ": " + why};
        }));
    }
    return out;
}

bool InjectInputStep(const ScriptLine& s, int originX, int originY) {
    switch (s.step) {
        case Step::Move:
            InjectMouseMove(originX + s.a, originY + s.b);
            return true;
        case Step::Click:
            InjectClick(originX + s.a, originY + s.b, VK_LBUTTON);
            return true;
        case Step::Press:
        case Step::Release:
            InjectMouseButton(s.a, s.step == Step::Press);
            return true;
        case Step::Key:
            Modifiers(s, true);
            InjectKey(static_cast<UINT>(s.a), true);
            InjectKey(static_cast<UINT>(s.a), false);
            Modifiers(s, false);
            return true;
        case Step::Type:
            for (char c : s.text) {
                bool shift = false;
                const int vk = KeyOfChar(c, shift);
                if (shift) InjectKey(VK_SHIFT, true);
                InjectKey(static_cast<UINT>(vk), true);
                InjectKey(static_cast<UINT>(vk), false);
                if (shift) InjectKey(VK_SHIFT, false);
            }
            return true;
        case Step::Wait:
        case Step::Close:
            return false;
    }
    return false;
}

}  // namespace zobar
