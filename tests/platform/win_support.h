// Helpers of the window-manager tests: a fresh off-screen display per test, a window procedure
// that records the messages its windows receive, and keys and clicks injected by script.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/Display.h"
#include "platform/Gdi.h"
#include "platform/Image.h"
#include "platform/Window.h"
#include "platform/image/ImageCompare.h"

namespace zo::plat::test {

inline std::string MessageName(UINT msg) {
#define ZO_MSG(m) \
    { WM_##m, #m }
    static const std::map<UINT, std::string> names = {
        ZO_MSG(CREATE),      ZO_MSG(DESTROY),       ZO_MSG(MOVE),           ZO_MSG(SIZE),
        ZO_MSG(ACTIVATE),    ZO_MSG(SETFOCUS),      ZO_MSG(KILLFOCUS),      ZO_MSG(PAINT),
        ZO_MSG(ERASEBKGND),  ZO_MSG(SHOWWINDOW),    ZO_MSG(NCCREATE),       ZO_MSG(NCDESTROY),
        ZO_MSG(KEYDOWN),     ZO_MSG(KEYUP),         ZO_MSG(CHAR),           ZO_MSG(SYSKEYDOWN),
        ZO_MSG(SYSKEYUP),    ZO_MSG(TIMER),         ZO_MSG(MOUSEMOVE),      ZO_MSG(LBUTTONDOWN),
        ZO_MSG(LBUTTONUP),   ZO_MSG(LBUTTONDBLCLK), ZO_MSG(RBUTTONDOWN),    ZO_MSG(RBUTTONUP),
        ZO_MSG(MBUTTONDOWN), ZO_MSG(MBUTTONUP),     ZO_MSG(CAPTURECHANGED), ZO_MSG(MOUSELEAVE),
        ZO_MSG(USER)};
#undef ZO_MSG
    const auto it = names.find(msg);
    return it != names.end() ? it->second : "0x" + std::to_string(msg);
}

// Joins a log's entries with blanks and empties it: one string to compare.
inline std::string Joined(std::vector<std::string>& log) {
    std::string out;
    for (const std::string& s : log)
        out += (out.empty() ? "" : " ") + s;
    log.clear();
    return out;
}

// Records "window:MESSAGE" for the messages in `watch` (all named ones when empty). A hook may
// answer a message instead of the default procedure.
struct Recorder {
    std::vector<std::string> log;
    std::set<UINT> watch;
    std::map<HWND, std::string> names;
    std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)> hook;
    std::vector<MSG> messages;  // every recorded message with its parameters

    // Starts a fresh log of only these messages.
    void Watch(std::set<UINT> msgs) {
        watch = std::move(msgs);
        log.clear();
        messages.clear();
    }
    void Record(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
        if (!watch.empty() && watch.count(msg) == 0) return;
        if (watch.empty() && MessageName(msg).rfind("0x", 0) == 0) return;
        log.push_back(names[h] + ":" + MessageName(msg));
        messages.push_back(MSG{h, msg, wp, lp, 0, {}});
    }
    // The log so far as "w:A w:B", emptied.
    std::string Said() {
        messages.clear();
        return Joined(log);
    }
};

inline LRESULT RecordingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lp);
        SetWindowLongA(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        if (auto* r = static_cast<Recorder*>(cs->lpCreateParams))
            r->names[hwnd] = cs->lpszName != nullptr ? cs->lpszName : "";
    }
    auto* r = reinterpret_cast<Recorder*>(GetWindowLongA(hwnd, GWL_USERDATA));
    if (r != nullptr) {
        r->Record(hwnd, msg, wp, lp);
        if (r->hook) {
            if (auto res = r->hook(hwnd, msg, wp, lp)) return *res;
        }
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

inline constexpr const char* kRecClass = "ZoTestRecorder";
inline constexpr const char* kRecClassDbl = "ZoTestRecorderDbl";

// Something to do from inside a modal loop (a message box's), once it is up: a thread timer
// with DuringProc runs the action tlsDuring points at, once.
inline thread_local std::function<void()>* tlsDuring = nullptr;

inline void DuringProc(HWND, UINT, std::uintptr_t id, DWORD) {
    KillTimer(0, id);
    if (tlsDuring != nullptr && *tlsDuring) {
        const std::function<void()> act = std::move(*tlsDuring);
        *tlsDuring = nullptr;
        act();
    }
}

// A call's text and its answer, for tables of calls that must all answer the same.
struct Call {
    const char* text;
    long long answer;
};
#define ZO_CALL(c) (::zo::plat::test::Call{#c, static_cast<long long>(c)})
inline void ExpectAll(long long want, std::initializer_list<Call> calls) {
    for (const Call& c : calls)
        EXPECT_EQ(c.answer, want) << c.text;
}

// The virtual key of a script token's name ("Home", "F4", "."), 0 when it has none.
inline UINT NamedKey(const std::string& t) {
    static const std::map<std::string, UINT> names = {
        {"Return", VK_RETURN}, {"Esc", VK_ESCAPE},   {"Tab", VK_TAB},     {"Space", VK_SPACE},
        {"Back", VK_BACK},     {"Del", VK_DELETE},   {"Ins", VK_INSERT},  {"Home", VK_HOME},
        {"End", VK_END},       {"Left", VK_LEFT},    {"Right", VK_RIGHT}, {"Up", VK_UP},
        {"Down", VK_DOWN},     {"PgUp", VK_PRIOR},   {"PgDn", VK_NEXT},   {"F4", VK_F4},
        {"Shift", VK_SHIFT},   {"Ctrl", VK_CONTROL}, {"Alt", VK_MENU},    {"Caps", VK_CAPITAL},
        {".", VK_OEM_PERIOD},  {"/", VK_OEM_2},      {"-", VK_OEM_MINUS}, {" ", VK_SPACE}};
    const auto it = names.find(t);
    return it != names.end() ? it->second : 0;
}
inline UINT KeyOf(const std::string& t) {
    if (const UINT vk = NamedKey(t)) return vk;
    const char c = t[0];
    return c >= 'a' && c <= 'z' ? static_cast<UINT>(c - 'a' + 'A') : static_cast<UINT>(c);
}
inline void Tap(UINT vk) {
    InjectKey(vk, true);
    InjectKey(vk, false);
}

// Types text (lower-case letters, digits, '.', '/', '-' and blanks) without pumping.
inline void TypeText(const std::string& text) {
    for (char c : text)
        Tap(KeyOf(std::string(1, c)));
}

// Presses and lets go of the keys of a blank-separated script: key names, chords such as
// "Shift+Tab", or plain lower-case text typed key by key. Pumps after each token when asked.
inline void Keys(const std::string& script, bool pump = true) {
    std::istringstream in(script);
    for (std::string t; in >> t;) {
        const auto plus = t.find('+', 1);
        const UINT mod = plus == std::string::npos ? 0 : NamedKey(t.substr(0, plus));
        if (mod != 0) {
            InjectKey(mod, true);
            Tap(KeyOf(t.substr(plus + 1)));
            InjectKey(mod, false);
        } else if (NamedKey(t) != 0 || t.size() == 1) {
            Tap(KeyOf(t));
        } else {
            TypeText(t);
        }
        if (pump) PumpMessages();
    }
}

inline POINT ScreenOf(HWND h, int x, int y) {
    POINT p{x, y};
    ClientToScreen(h, &p);
    return p;
}
inline RECT WindowRect(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}
inline RECT ClientRect(HWND h) {
    RECT r{};
    GetClientRect(h, &r);
    return r;
}
// A click at a point of a window's client area, or at its middle, pumped.
inline void ClickAt(HWND h, int x = -1, int y = -1) {
    const RECT c = ClientRect(h);
    const POINT p = ScreenOf(h, x < 0 ? c.right / 2 : x, y < 0 ? c.bottom / 2 : y);
    InjectClick(p.x, p.y, VK_LBUTTON);
    PumpMessages();
}
// The topmost top-level window of a class, or 0.
inline HWND TopWindowOf(const std::string& cls) {
    for (HWND h = GetTopWindow(0); h != 0; h = GetWindow(h, GW_HWNDNEXT)) {
        char name[32] = {};
        GetClassNameA(h, name, sizeof name);
        if (name == cls) return h;
    }
    return 0;
}
// "" when the screen under `r` is exactly tests/golden/<name>.png, else the difference; a
// mismatch leaves the actual image and a diff in <build>/golden-out/.
inline std::string ScreenMatches(RECT r, const std::string& name) {
    Image img;
    img.width = r.right - r.left;
    img.height = r.bottom - r.top;
    img.pixels = ReadScreenPixels(r);
    return CompareWithReference(img, std::string(ZO_SOURCE_DIR) + "/tests/golden/" + name + ".png",
                                std::string(ZO_BINARY_DIR) + "/golden-out");
}

// A fresh off-screen display of 320 x 240 with the recording classes registered.
class WinTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitDisplay(DisplayKind::Offscreen, 320, 240);
        WNDCLASSA wc{.lpfnWndProc = RecordingProc, .lpszClassName = kRecClass};
        wc.hbrBackground = static_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassA(&wc);
        wc.style = CS_DBLCLKS;
        wc.lpszClassName = kRecClassDbl;
        RegisterClassA(&wc);
    }
    void TearDown() override {
        if (tlsDuring == &modal) tlsDuring = nullptr;
        ShutdownDisplay();
    }

    HWND Top(const char* name, int x, int y, int w, int h, DWORD style = WS_POPUP | WS_VISIBLE,
             DWORD ex = 0) {
        return CreateWindowExA(ex, kRecClass, name, style, x, y, w, h, 0, 0, 0, &rec);
    }
    HWND Child(HWND parent, const char* name, int x, int y, int w, int h,
               DWORD style = WS_CHILD | WS_VISIBLE, DWORD ex = 0, const char* cls = kRecClass) {
        return CreateWindowExA(ex, cls, name, style, x, y, w, h, parent, 0, 0, &rec);
    }
    static std::uint32_t Px(int x, int y) {
        return ReadScreenPixels(RECT{x, y, x + 1, y + 1})[0] & 0xFFFFFFu;
    }
    // Runs `act` once the modal loop about to start (a box's, a dialog's) is up.
    void WhileModal(std::function<void()> act, UINT after = 30) {
        modal = std::move(act);
        tlsDuring = &modal;
        SetTimer(0, 0, after, &DuringProc);
    }

    Recorder rec;
    std::function<void()> modal;
};

}  // namespace zo::plat::test
