// Helpers of the dialog-control tests: a dialog on a fresh off-screen display whose procedure
// logs what its controls report, controls made by name, and real input injected at them.
#pragma once

#include "platform/Controls.h"
#include "win_support.h"

namespace zo::plat::test {

// "name:CODE" of a control's notification, or of the scroll bar's WM_HSCROLL.
inline std::string CodeName(const char* cls, int code) {
#define ZO_CODE(c) \
    { c, #c }
    static const std::map<std::string, std::map<int, std::string>> names = {
        {"Button", {ZO_CODE(BN_CLICKED)}},
        {"Edit",
         {ZO_CODE(EN_CHANGE), ZO_CODE(EN_SETFOCUS), ZO_CODE(EN_KILLFOCUS), ZO_CODE(EN_MAXTEXT)}},
        {"ComboBox",
         {ZO_CODE(CBN_SELCHANGE), ZO_CODE(CBN_SETFOCUS), ZO_CODE(CBN_KILLFOCUS),
          ZO_CODE(CBN_DROPDOWN), ZO_CODE(CBN_CLOSEUP), ZO_CODE(CBN_SELENDOK),
          ZO_CODE(CBN_SELENDCANCEL)}}};
#undef ZO_CODE
    const auto c = names.find(cls);
    if (c == names.end() || c->second.count(code) == 0) return std::to_string(code);
    return c->second.at(code);
}

// The dialog's reports, as "control:CODE" in a recorder's log.
inline thread_local Recorder* tlsDialogLog = nullptr;

inline LRESULT LoggingDialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Recorder* d = tlsDialogLog;
    if (d != nullptr && msg == WM_COMMAND) {
        char cls[32] = {};
        GetClassNameA(static_cast<HWND>(lp), cls, sizeof cls);
        d->log.push_back(lp == 0
                             ? "dialog:command " + std::to_string(LOWORD(wp))
                             : d->names[static_cast<HWND>(lp)] + ":" + CodeName(cls, HIWORD(wp)));
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
    return DefDlgProcA(hwnd, msg, wp, lp);
}

// A visible dialog of 300 x 200 at the screen's top-left on a 320 x 240 off-screen display.
class ControlTest : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        tlsDialogLog = &events;
        const WNDCLASSA wc{.lpfnWndProc = LoggingDialogProc, .lpszClassName = "ZoTestDialog"};
        RegisterClassA(&wc);
        dialog = CreateWindowExA(WS_EX_CONTROLPARENT, "ZoTestDialog", "dialog",
                                 WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, 0, 0, 0, nullptr);
        SetActiveWindow(dialog);
        PumpMessages();
    }
    void TearDown() override {
        tlsDialogLog = nullptr;
        WinTest::TearDown();
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
    // Gives a control the focus, with the reports of that left out of the log.
    HWND Focus(HWND h) {
        SetFocus(h);
        PumpMessages();
        events.log.clear();
        return h;
    }
    // The left button pressed at a point of a window, moved to another, let go; each pumped.
    static void Press(HWND h, int x, int y) {
        MoveTo(h, x, y);
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
        DWORD a = 0, b = 0;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
        return {a, b};
    }

    Recorder events;
    HWND dialog = 0;
};

}  // namespace zo::plat::test
