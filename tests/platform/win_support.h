// Helpers of the window-manager tests: a fresh off-screen display per test and a window
// procedure that records the messages its windows receive.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Display.h"
#include "platform/Gdi.h"
#include "platform/Window.h"

namespace zo::plat::test {

inline std::string MessageName(UINT msg) {
    static const std::map<UINT, std::string> names = {
        {WM_CREATE, "CREATE"},
        {WM_DESTROY, "DESTROY"},
        {WM_MOVE, "MOVE"},
        {WM_SIZE, "SIZE"},
        {WM_ACTIVATE, "ACTIVATE"},
        {WM_SETFOCUS, "SETFOCUS"},
        {WM_KILLFOCUS, "KILLFOCUS"},
        {WM_PAINT, "PAINT"},
        {WM_ERASEBKGND, "ERASEBKGND"},
        {WM_SHOWWINDOW, "SHOWWINDOW"},
        {WM_NCCREATE, "NCCREATE"},
        {WM_NCDESTROY, "NCDESTROY"},
        {WM_KEYDOWN, "KEYDOWN"},
        {WM_KEYUP, "KEYUP"},
        {WM_CHAR, "CHAR"},
        {WM_SYSKEYDOWN, "SYSKEYDOWN"},
        {WM_SYSKEYUP, "SYSKEYUP"},
        {WM_TIMER, "TIMER"},
        {WM_MOUSEMOVE, "MOUSEMOVE"},
        {WM_LBUTTONDOWN, "LBUTTONDOWN"},
        {WM_LBUTTONUP, "LBUTTONUP"},
        {WM_LBUTTONDBLCLK, "LBUTTONDBLCLK"},
        {WM_RBUTTONDOWN, "RBUTTONDOWN"},
        {WM_RBUTTONUP, "RBUTTONUP"},
        {WM_MBUTTONDOWN, "MBUTTONDOWN"},
        {WM_MBUTTONUP, "MBUTTONUP"},
        {WM_CAPTURECHANGED, "CAPTURECHANGED"},
        {WM_MOUSELEAVE, "MOUSELEAVE"},
        {WM_USER, "USER"},
    };
    const auto it = names.find(msg);
    return it != names.end() ? it->second : "0x" + std::to_string(msg);
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
    std::vector<std::string> Take() {
        std::vector<std::string> out;
        out.swap(log);
        messages.clear();
        return out;
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

// A fresh off-screen display of 320 x 240 with the recording classes registered.
class WinTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitDisplay(DisplayKind::Offscreen, 320, 240);
        WNDCLASSA wc;
        wc.lpfnWndProc = RecordingProc;
        wc.hbrBackground = static_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kRecClass;
        RegisterClassA(&wc);
        wc.style = CS_DBLCLKS;
        wc.lpszClassName = kRecClassDbl;
        RegisterClassA(&wc);
    }
    void TearDown() override { ShutdownDisplay(); }

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
    static std::uint32_t Rgb(COLORREF c) {
        return static_cast<std::uint32_t>((GetRValue(c) << 16) | (GetGValue(c) << 8) |
                                          GetBValue(c));
    }

    Recorder rec;
};

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

}  // namespace zo::plat::test
