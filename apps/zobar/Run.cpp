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
#include "Script.h"
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
        POINT origin{0, 0};
        ClientToScreen(host.window, &origin);
        if (!InjectInputStep(s, origin.x, origin.y)) {
            if (s.step == Step::Wait) Pump(live, s.a);
            if (s.step == Step::Close) PostMessageA(host.window, WM_CLOSE, 0, 0);
        }
        PumpMessages();
    }
}

}  // namespace

int RunRun(const std::vector<std::string>& args) {
    if (PrintedHelp("run", args)) return kExitOk;
    WindowOptions o;
    std::vector<ScriptLine> script;
    try {
        o = ParseWindowOptions(
            args, {true, "the design to run is missing", "only one design can be run"});
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
