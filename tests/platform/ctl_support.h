// Helpers of the dialog-control tests: a dialog on a fresh off-screen display whose procedure
// logs what its controls report, controls made by name, and real input injected at them.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/Display.h"
#include "platform/Gdi.h"
#include "platform/Window.h"

namespace zo::plat::test {

// Names of the notification codes the tests look for.
inline std::string CodeName(const char* cls, int code) {
    const std::string c = cls;
    if (c == "Button" && code == BN_CLICKED) return "BN_CLICKED";
    if (c == "Edit") {
        if (code == EN_CHANGE) return "EN_CHANGE";
        if (code == EN_SETFOCUS) return "EN_SETFOCUS";
        if (code == EN_KILLFOCUS) return "EN_KILLFOCUS";
        if (code == EN_MAXTEXT) return "EN_MAXTEXT";
    }
    if (c == "ComboBox") {
        static const std::map<int, std::string> names = {
            {CBN_SELCHANGE, "CBN_SELCHANGE"},      {CBN_SETFOCUS, "CBN_SETFOCUS"},
            {CBN_KILLFOCUS, "CBN_KILLFOCUS"},      {CBN_DROPDOWN, "CBN_DROPDOWN"},
            {CBN_CLOSEUP, "CBN_CLOSEUP"},          {CBN_SELENDOK, "CBN_SELENDOK"},
            {CBN_SELENDCANCEL, "CBN_SELENDCANCEL"}};
        if (const auto it = names.find(code); it != names.end()) return it->second;
    }
    return std::to_string(code);
}

struct DialogLog {
    std::vector<std::string> log;
    std::map<HWND, std::string> names;
    // Answers the edit's NM_CHAR / NM_KEYDOWN; non-zero discards the key.
    std::function<LRESULT(NMHDR*)> onNotify;
    std::vector<std::string> Take() { return std::exchange(log, {}); }
};

inline thread_local DialogLog* tlsDialogLog = nullptr;

inline LRESULT LoggingDialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    DialogLog* d = tlsDialogLog;
    if (d != nullptr && msg == WM_COMMAND && lp != 0) {
        const auto from = static_cast<HWND>(lp);
        char cls[32] = {};
        GetClassNameA(from, cls, sizeof cls);
        d->log.push_back(d->names[from] + ":" + CodeName(cls, HIWORD(wp)));
        return 0;
    }
    if (d != nullptr && msg == WM_COMMAND) {
        d->log.push_back("dialog:command " + std::to_string(LOWORD(wp)));
        return 0;
    }
    if (d != nullptr && msg == WM_HSCROLL) {
        static const char* codes[] = {"LINELEFT",  "LINERIGHT",     "PAGELEFT",
                                      "PAGERIGHT", "THUMBPOSITION", "THUMBTRACK",
                                      "LEFT",      "RIGHT",         "ENDSCROLL"};
        const int code = LOWORD(wp);
        std::string e = d->names[static_cast<HWND>(lp)] + ":" + (code <= 8 ? codes[code] : "?");
        if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION)
            e += " " + std::to_string(HIWORD(wp));
        d->log.push_back(e);
        return 0;
    }
    if (d != nullptr && msg == WM_NOTIFY && d->onNotify)
        return d->onNotify(reinterpret_cast<NMHDR*>(lp));
    return DefDlgProcA(hwnd, msg, wp, lp);
}

// A visible dialog of 300 x 200 at the screen's top-left on a 320 x 240 off-screen display.
class ControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitDisplay(DisplayKind::Offscreen, 320, 240);
        tlsDialogLog = &events;
        WNDCLASSA wc;
        wc.lpfnWndProc = LoggingDialogProc;
        wc.lpszClassName = "ZoTestDialog";
        RegisterClassA(&wc);
        dialog = CreateWindowExA(WS_EX_CONTROLPARENT, "ZoTestDialog", "dialog",
                                 WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, 0, 0, 0, nullptr);
        SetActiveWindow(dialog);
        PumpMessages();
    }
    void TearDown() override {
        tlsDialogLog = nullptr;
        ShutdownDisplay();
    }

public:
    HWND Make(const char* cls, const char* name, const char* text, DWORD style, RECT r, int id = 0,
              DWORD ex = 0) {
        const HWND h = CreateWindowExA(ex, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                       r.right - r.left, r.bottom - r.top, dialog,
                                       static_cast<HMENU>(id), 0, nullptr);
        events.names[h] = name;
        return h;
    }

    static void Pump() { PumpMessages(); }
    static void Key(UINT vk) {
        InjectKey(vk, true);
        InjectKey(vk, false);
        PumpMessages();
    }
    // A key with a modifier (VK_SHIFT, VK_CONTROL or VK_MENU) held.
    static void Chord(UINT modifier, UINT vk) {
        InjectKey(modifier, true);
        InjectKey(vk, true);
        InjectKey(vk, false);
        InjectKey(modifier, false);
        PumpMessages();
    }
    // Types lower-case letters, digits and spaces.
    static void Type(const std::string& text) {
        for (char c : text) {
            const UINT vk = (c >= 'a' && c <= 'z')
                                ? static_cast<UINT>(c - 'a' + 'A')
                                : static_cast<UINT>(static_cast<unsigned char>(c));
            InjectKey(vk, true);
            InjectKey(vk, false);
        }
        PumpMessages();
    }
    static POINT ScreenOf(HWND h, int x, int y) {
        POINT p{x, y};
        ClientToScreen(h, &p);
        return p;
    }
    static void ClickAt(HWND h, int x, int y) {
        const POINT p = ScreenOf(h, x, y);
        InjectClick(p.x, p.y, VK_LBUTTON);
        PumpMessages();
    }
    static void Press(HWND h, int x, int y) {
        const POINT p = ScreenOf(h, x, y);
        InjectMouseMove(p.x, p.y);
        InjectMouseButton(VK_LBUTTON, true);
        PumpMessages();
    }
    static void MoveTo(HWND h, int x, int y) {
        const POINT p = ScreenOf(h, x, y);
        InjectMouseMove(p.x, p.y);
        PumpMessages();
    }
    static void Release() {
        InjectMouseButton(VK_LBUTTON, false);
        PumpMessages();
    }
    static std::string Text(HWND h) {
        char buf[256] = {};
        GetWindowTextA(h, buf, sizeof buf);
        return buf;
    }
    static std::pair<DWORD, DWORD> Sel(HWND edit) {
        DWORD a = 0;
        DWORD b = 0;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
        return {a, b};
    }

    DialogLog events;
    HWND dialog = 0;
};

}  // namespace zo::plat::test
