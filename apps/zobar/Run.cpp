// zobar run: a design at run time in a window of its own. Live on the X display until the
// window is closed; or, with a script, input replayed off-screen (or on X with ZO_DISPLAY=x11)
// and the final picture written, which is how the program runs without a person.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Commands.h"
#include "core/Variant.h"
#include "persist/DesignLoad.h"
#include "platform/Display.h"
#include "platform/Gdi.h"
#include "platform/Window.h"

namespace zobar {

namespace {

using namespace zo::plat;

constexpr const char* kWindowClass = "ZobarRun";
constexpr int kWindowX = 80;
constexpr int kWindowY = 60;

struct RunOptions {
    std::string design;
    int width = 240;
    int height = 480;
    bool events = false;
    std::string script;
    std::string snapshot;
};

enum class Step { Move, Press, Release, Click, Key, Wait };

struct ScriptLine {
    Step step;
    int line;
    int a = 0;  // x, button (VK_*), key (VK_*), milliseconds
    int b = 0;  // y
};

RunOptions Parse(const std::vector<std::string>& args) {
    RunOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw UsageError{a + ": a value is missing"};
            return args[++i];
        };
        if (a == "--events") {
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
            throw UsageError{a + ": only one design can be run"};
        }
    }
    if (o.design.empty()) throw UsageError{"the design to run is missing"};
    if (!o.snapshot.empty() && o.script.empty())
        throw UsageError{"--snapshot: only a run with --script ends by itself to take it"};
    return o;
}

int KeyCode(const std::string& name) {
    static const std::pair<const char*, int> kKeys[] = {
        {"up", VK_UP},         {"down", VK_DOWN},    {"left", VK_LEFT},      {"right", VK_RIGHT},
        {"return", VK_RETURN}, {"enter", VK_RETURN}, {"tab", VK_TAB},        {"space", VK_SPACE},
        {"escape", VK_ESCAPE}, {"home", VK_HOME},    {"end", VK_END},        {"pageup", VK_PRIOR},
        {"pagedown", VK_NEXT}, {"shift", VK_SHIFT},  {"control", VK_CONTROL}};
    std::string lower;
    for (char c : name)
        lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
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

// Reads the whole script before anything is shown, so that a mistake in it is told at once.
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
    std::string text;
    for (int number = 1; std::getline(*in, text); ++number) {
        if (const auto hash = text.find('#'); hash != std::string::npos) text.erase(hash);
        std::istringstream words(text);
        std::string verb;
        if (!(words >> verb)) continue;
        std::vector<std::string> rest;
        for (std::string w; words >> w;)
            rest.push_back(w);
        const auto bad = [&](const std::string& why) {
            return UsageError{name + ":" + std::to_string(number) + ": " + why};
        };
        const auto number_of = [&](const std::string& w) {
            const auto n = zo::ParseNumber(w);
            if (!n || *n != static_cast<double>(static_cast<int>(*n)))
                throw bad("'" + w + "' is not a whole number");
            return static_cast<int>(*n);
        };
        ScriptLine s{Step::Move, number};
        if (verb == "move" || verb == "click") {
            if (rest.size() != 2) throw bad(verb + " takes X Y");
            s.step = verb == "move" ? Step::Move : Step::Click;
            s.a = number_of(rest[0]);
            s.b = number_of(rest[1]);
        } else if (verb == "press" || verb == "release") {
            if (rest.size() > 1) throw bad(verb + " takes at most a button name");
            s.step = verb == "press" ? Step::Press : Step::Release;
            s.a = ButtonCode(rest.empty() ? "" : rest[0]);
            if (s.a == 0) throw bad("'" + rest[0] + "' is not left, right or middle");
        } else if (verb == "key") {
            if (rest.size() != 1) throw bad("key takes one key name");
            s.step = Step::Key;
            s.a = KeyCode(rest[0]);
            if (s.a == 0) throw bad("'" + rest[0] + "' is not a key this script knows");
        } else if (verb == "wait") {
            if (rest.size() != 1) throw bad("wait takes milliseconds");
            s.step = Step::Wait;
            s.a = number_of(rest[0]);
            if (s.a < 0 || s.a > 600000) throw bad("wait takes 0 to 600000 milliseconds");
        } else {
            throw bad("'" + verb + "' is not move, press, release, click, key or wait");
        }
        out.push_back(s);
    }
    return out;
}

// Prints each event of the bar as it happens: its name and its arguments, one line each,
// flushed, so that a program reading the output sees events as they come.
class EventPrinter : public zo::ZoButtonBarEvents {
public:
    explicit EventPrinter(HWND* window) : window_(window) {}

    void CloseButtonClick() override {
        Line("CloseButtonClick");
        if (*window_ != 0) PostMessageA(*window_, WM_CLOSE, 0, 0);
    }
    void GroupAdded(zo::GroupPtr& g) override { Line("GroupAdded " + Item(g)); }
    void ButtonAdded(zo::ButtonPtr& b) override { Line("ButtonAdded " + Item(b)); }
    void GroupRemoved(zo::GroupPtr& g) override { Line("GroupRemoved " + Item(g)); }
    void ActiveGroupChanged() override { Line("ActiveGroupChanged"); }
    void ButtonRemoved(zo::ButtonPtr& b) override { Line("ButtonRemoved " + Item(b)); }
    void ButtonSelectionChanged() override { Line("ButtonSelectionChanged"); }
    void ButtonHighlightChanged(zo::ButtonPtr& b, bool on) override {
        Line("ButtonHighlightChanged " + Item(b) + (on ? " True" : " False"));
    }
    void MouseDown(std::int16_t button, std::int16_t shift, float x, float y, zo::zoHitType hit,
                   zo::ObjectPtr& item) override {
        Mouse("MouseDown", button, shift, x, y, hit, item);
    }
    void MouseUp(std::int16_t button, std::int16_t shift, float x, float y, zo::zoHitType hit,
                 zo::ObjectPtr& item) override {
        Mouse("MouseUp", button, shift, x, y, hit, item);
    }
    void MouseMove(std::int16_t button, std::int16_t shift, float x, float y, zo::zoHitType hit,
                   zo::ObjectPtr& item) override {
        Mouse("MouseMove", button, shift, x, y, hit, item);
    }
    void Resize() override { Line("Resize"); }

    bool enabled = false;

private:
    static std::string Quoted(const std::string& s) {
        std::string out = "\"";
        for (char c : s)
            out += c == '"' ? std::string("\"\"") : std::string(1, c);
        return out + "\"";
    }
    static std::string Item(const zo::ObjectPtr& o) {
        if (!o) return "Nothing";
        if (const auto g = std::dynamic_pointer_cast<zo::CGroup>(o))
            return "CGroup " + Quoted(g->Caption());
        if (const auto b = std::dynamic_pointer_cast<zo::CButton>(o))
            return "CButton " + Quoted(b->Caption());
        return std::string(o->TypeName());
    }
    static std::string HitName(zo::zoHitType hit) {
        static const char* const kNames[] = {
            "zoCaptionHit",        "zoCloseButtonHit",    "zoGroupHit",  "zoButtonHit",
            "zoTLScrollButtonHit", "zoBRScrollButtonHit", "zoUnknownHit"};
        const int i = static_cast<int>(hit);
        return i >= 0 && i < 7 ? kNames[i] : std::to_string(i);
    }
    void Mouse(const char* name, std::int16_t button, std::int16_t shift, float x, float y,
               zo::zoHitType hit, const zo::ObjectPtr& item) {
        Line(std::string(name) + " " + std::to_string(button) + " " + std::to_string(shift) + " " +
             zo::FormatNumber(x, 7) + " " + zo::FormatNumber(y, 7) + " " + HitName(hit) + " " +
             Item(item));
    }
    void Line(const std::string& text) {
        if (!enabled) return;
        std::fputs(text.c_str(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }

    HWND* window_;
};

// The program's window: holds the bar, passes its size on, and ends the program when it goes.
struct Host {
    HWND window = 0;
    std::shared_ptr<zo::ZoButtonBar> bar;
};

LRESULT HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Host* host = reinterpret_cast<Host*>(GetWindowLongA(hwnd, GWL_USERDATA));
    switch (msg) {
        case WM_SIZE:
            if (host != nullptr && host->bar) {
                RECT rc;
                GetClientRect(hwnd, &rc);
                MoveWindow(host->bar->hwnd(), 0, 0, rc.right, rc.bottom, TRUE);
            }
            return 0;
        case WM_DESTROY:
            if (host != nullptr) {
                // The bar goes with the window it lives in.
                host->bar.reset();
                host->window = 0;
            }
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

void Pump(bool live, int ms) {
    if (!live) {
        RunFor(static_cast<DWORD>(ms));
        return;
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
        PumpMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < until);
}

bool QuitPosted() {
    MSG m;
    return PeekMessageA(&m, 0, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
}

void Replay(const std::vector<ScriptLine>& script, Host& host, bool live) {
    for (const ScriptLine& s : script) {
        if (host.window == 0 || QuitPosted()) return;
        POINT pt{s.a, s.b};
        switch (s.step) {
            case Step::Move:
                ClientToScreen(host.window, &pt);
                InjectMouseMove(pt.x, pt.y);
                break;
            case Step::Click:
                ClientToScreen(host.window, &pt);
                InjectClick(pt.x, pt.y, VK_LBUTTON);
                break;
            case Step::Press:
            case Step::Release:
                InjectMouseButton(s.a, s.step == Step::Press);
                break;
            case Step::Key:
                InjectKey(static_cast<UINT>(s.a), true);
                InjectKey(static_cast<UINT>(s.a), false);
                break;
            case Step::Wait:
                Pump(live, s.a);
                break;
        }
        PumpMessages();
    }
}

}  // namespace

int RunRun(const std::vector<std::string>& args) {
    if (PrintedHelp("run", args)) return kExitOk;
    RunOptions o;
    std::vector<ScriptLine> script;
    try {
        o = Parse(args);
        if (!std::filesystem::exists(o.design)) throw UsageError{o.design + ": no such file"};
        if (!o.script.empty()) script = ReadScript(o.script);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "zobar run: %s\n", e.message.c_str());
        return kExitUsage;
    }

    const char* zoDisplay = std::getenv("ZO_DISPLAY");
    const bool live =
        o.script.empty() || (zoDisplay != nullptr && std::strcmp(zoDisplay, "x11") == 0);
    if (live) {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == '\0') {
            std::fputs(
                "zobar run: cannot show a window: no X display (DISPLAY is not set); "
                "--script runs the design off-screen\n",
                stderr);
            return kExitFailed;
        }
        if (!InitDisplay(DisplayKind::X11, 0, 0)) {
            std::fprintf(stderr,
                         "zobar run: cannot show a window: the X display '%s' cannot be "
                         "reached\n",
                         display);
            return kExitFailed;
        }
    } else {
        InitDisplay(DisplayKind::Offscreen, kWindowX + o.width + 16, kWindowY + o.height + 16);
    }

    WNDCLASSA wc;
    wc.lpfnWndProc = HostProc;
    wc.hbrBackground = static_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    RegisterClassA(&wc);
    Host host;
    const std::string title = std::filesystem::path(o.design).filename().string();
    host.window = CreateWindowExA(0, kWindowClass, title.c_str(), WS_OVERLAPPED | WS_CLIPCHILDREN,
                                  kWindowX, kWindowY, o.width, o.height, 0, 0, 0, nullptr);
    SetWindowLongA(host.window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(&host));

    EventPrinter printer(&host.window);
    printer.enabled = o.events;
    zo::DefaultSite site(true);
    try {
        host.bar = zo::LoadDesign(site, o.design, {host.window, 0, 0, o.width, o.height, &printer});
    } catch (const zo::DesignError& e) {
        std::fprintf(stderr, "zobar run: %s\n", e.what());
        DestroyWindow(host.window);
        return kExitFailed;
    }
    ShowWindow(host.window, SW_SHOW);
    PumpMessages();

    if (o.script.empty()) {
        MSG msg;
        while (GetMessageA(&msg, 0, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        return kExitOk;
    }
    Replay(script, host, live);
    PumpMessages();
    int status = kExitOk;
    if (!o.snapshot.empty()) {
        if (host.window == 0) {
            std::fputs("zobar run: the window was closed before the script ended; no snapshot\n",
                       stderr);
            status = kExitFailed;
        } else if (!SnapshotWindow(host.window, o.snapshot.c_str())) {
            std::fprintf(stderr, "zobar run: cannot write '%s'\n", o.snapshot.c_str());
            status = kExitFailed;
        }
    }
    if (host.window != 0) DestroyWindow(host.window);
    return status;
}

}  // namespace zobar
