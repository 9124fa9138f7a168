// zobar design: the bar at design time in a window of its own, with the property sheet of all
// its pages beside it. Apply and OK change the bar at once; Ctrl+S or Save writes the design
// file atomically; closing with unsaved changes asks first. With a script the input is replayed
// from timers, so that it also reaches the modal dialogs the pages open (the picture chooser,
// message boxes), and the program ends when the script does.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Commands.h"
#include "Script.h"
#include "host/PropertyPage.h"
#include "pages/AppearancePage.h"
#include "pages/ButtonsPage.h"
#include "pages/GroupsPage.h"
#include "pages/PositionPage.h"
#include "pages/StandardPages.h"
#include "persist/DesignLoad.h"
#include "platform/Controls.h"
#include "platform/Display.h"
#include "platform/Gdi.h"
#include "platform/Window.h"

namespace zobar {

namespace {

using namespace zo::plat;

constexpr const char* kWindowClass = "ZobarDesign";
constexpr int kMargin = 8;
constexpr int kButtonRow = 31;
constexpr int kIdSave = 1;
constexpr int kIdProperties = 2;

// ---- The script -------------------------------------------------------------------------

// ---- The design window ------------------------------------------------------------------

// Everything the add and remove events change is part of the design, as are the properties the
// host hears of.
class DirtyEvents : public zo::ZoButtonBarEvents {
public:
    bool dirty = false;
    void GroupAdded(zo::GroupPtr&) override { dirty = true; }
    void ButtonAdded(zo::ButtonPtr&) override { dirty = true; }
    void GroupRemoved(zo::GroupPtr&) override { dirty = true; }
    void ButtonRemoved(zo::ButtonPtr&) override { dirty = true; }
};

struct Designer {
    std::filesystem::path file;
    HWND window = 0;
    zo::DefaultSite site{false};
    DirtyEvents events;
    std::shared_ptr<zo::ZoButtonBar> bar;
    std::vector<std::unique_ptr<zo::PropertyPage>> pages;
    std::unique_ptr<zo::PropertyPageHost> sheetHost;
    bool scripted = false;
    int status = kExitOk;

    bool Dirty() const { return site.Dirty() || events.dirty; }

    bool Save() {
        try {
            zo::SaveDesign(*bar, file);
        } catch (const zo::DesignError& e) {
            std::fprintf(stderr, "zobar design: %s\n", e.what());
            if (!scripted) MessageBoxA(window, e.what(), "zobar design", MB_OK | MB_ICONHAND);
            status = kExitFailed;
            return false;
        }
        site.ClearChanges();
        events.dirty = false;
        std::printf("saved %s\n", file.string().c_str());
        std::fflush(stdout);
        return true;
    }

    void ShowSheet() {
        if (sheetHost && sheetHost->Sheet() != 0) {
            SetActiveWindow(sheetHost->Sheet());
            return;
        }
        sheetHost.reset();
        pages.clear();
        pages.push_back(std::make_unique<zo::AppearancePage>());
        pages.push_back(std::make_unique<zo::PositionPage>());
        pages.push_back(std::make_unique<zo::GroupsPage>(site));
        pages.push_back(std::make_unique<zo::ButtonsPage>(site));
        pages.push_back(std::make_unique<zo::ColorPage>());
        pages.push_back(std::make_unique<zo::FontPage>());
        pages.push_back(std::make_unique<zo::PicturePage>());
        sheetHost = std::make_unique<zo::PropertyPageHost>(site, std::vector<zo::ObjectPtr>{bar});
        std::vector<zo::PropertyPage*> raw;
        for (auto& p : pages)
            raw.push_back(p.get());
        const HWND sheet = sheetHost->ShowModeless(window, "ZoButtonBar", raw);
        RECT w;
        GetWindowRect(window, &w);
        SetWindowPos(sheet, 0, w.right + kMargin, w.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }

    // Save, discard or stay: true when the window may go.
    bool MayClose() {
        if (!Dirty()) return true;
        const std::string text =
            "Save the changes to " + file.filename().string() + " before closing?";
        const int answer =
            MessageBoxA(window, text.c_str(), "zobar design", MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDYES) return Save();
        return answer == IDNO;
    }
};

thread_local Designer* tlsDesigner = nullptr;

LRESULT DesignProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Designer* d = tlsDesigner;
    switch (msg) {
        case WM_COMMAND:
            if (d != nullptr && HIWORD(wParam) == BN_CLICKED) {
                if (LOWORD(wParam) == kIdSave) d->Save();
                if (LOWORD(wParam) == kIdProperties) d->ShowSheet();
            }
            return 0;
        case WM_CLOSE:
            if (d == nullptr || d->MayClose()) DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            if (d != nullptr) {
                d->sheetHost.reset();
                d->bar.reset();
                d->window = 0;
            }
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

// The program's own loop around the sheet's keyboard interface, with Ctrl+S anywhere.
bool Route(Designer& d, MSG& m) {
    if (m.message == WM_KEYDOWN && m.wParam == 'S' && GetKeyState(VK_CONTROL) < 0 &&
        d.window != 0) {
        d.Save();
        return true;
    }
    if (d.sheetHost && d.sheetHost->IsSheetMessage(&m)) return true;
    if (m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST) {
        const HWND dialog = GetDialogOf(m.hwnd);
        if (dialog != 0 && IsDialogMessageA(dialog, &m)) return true;
    }
    TranslateMessage(&m);
    DispatchMessageA(&m);
    // When the sheet goes (OK, Cancel), the design window takes the keyboard again, as a window
    // manager would hand it back.
    if (d.window != 0 && GetActiveWindow() == 0) SetActiveWindow(d.window);
    return true;
}

// ---- Replaying a script from timers -----------------------------------------------------

struct Replayer {
    const std::vector<ScriptLine>* script = nullptr;
    std::size_t next = 0;
    bool done = false;
};
thread_local Replayer* tlsReplayer = nullptr;

void StepProc(HWND, UINT, std::uintptr_t id, DWORD) {
    KillTimer(0, id);
    Replayer* r = tlsReplayer;
    if (r == nullptr || r->done) return;
    if (r->next >= r->script->size()) {
        r->done = true;
        return;
    }
    const ScriptLine& s = (*r->script)[r->next++];
    int delay = 20;
    // The design window is at the screen's origin, so the script's points are screen points.
    if (!InjectInputStep(s, 0, 0)) {
        if (s.step == Step::Wait) delay = std::max(s.a, 1);
        if (s.step == Step::Close && tlsDesigner != nullptr && tlsDesigner->window != 0)
            PostMessageA(tlsDesigner->window, WM_CLOSE, 0, 0);
    }
    SetTimer(0, 0, static_cast<UINT>(delay), &StepProc);
}

}  // namespace

int RunDesign(const std::vector<std::string>& args) {
    if (PrintedHelp("design", args)) return kExitOk;
    WindowOptions o;
    std::vector<ScriptLine> script;
    try {
        o = ParseWindowOptions(args, {false, "the design to edit is missing",
                                      "only one design can be designed at a time"});
        if (!o.script.empty()) script = ReadScript(o.script);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "zobar design: %s\n", e.message.c_str());
        return kExitUsage;
    }

    const char* zoDisplay = std::getenv("ZO_DISPLAY");
    const bool live =
        o.script.empty() || (zoDisplay != nullptr && std::strcmp(zoDisplay, "x11") == 0);
    const int windowW = o.width + 2 * kMargin;
    const int windowH = o.height + 3 * kMargin + kButtonRow;
    if (live) {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == '\0' || !InitDisplay(DisplayKind::X11, 0, 0)) {
            std::fputs(
                "zobar design: cannot show a window: no X display can be reached "
                "(DISPLAY); --script runs the design off-screen\n",
                stderr);
            return kExitFailed;
        }
    } else {
        InitDisplay(DisplayKind::Offscreen, windowW + 560, std::max(windowH, 420) + 20);
    }

    Designer d;
    d.file = o.design;
    d.scripted = !o.script.empty();
    tlsDesigner = &d;
    WNDCLASSA wc;
    wc.lpfnWndProc = DesignProc;
    wc.hbrBackground = static_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    RegisterClassA(&wc);
    const std::string title = "zobar design - " + d.file.filename().string();
    d.window =
        CreateWindowExA(WS_EX_CONTROLPARENT, kWindowClass, title.c_str(),
                        WS_OVERLAPPED | WS_CLIPCHILDREN, 0, 0, windowW, windowH, 0, 0, 0, nullptr);
    const zo::DesignPlacement at{d.window, kMargin, kMargin, o.width, o.height, &d.events};
    try {
        if (std::filesystem::exists(d.file)) {
            d.bar = zo::LoadDesign(d.site, d.file, at);
        } else {
            // A design that does not exist yet starts as a new instance.
            d.bar = zo::ZoButtonBar::CreateNew(d.site, d.window, at.x, at.y, at.width, at.height);
            d.bar->Advise(&d.events);
            d.events.dirty = true;
        }
    } catch (const zo::DesignError& e) {
        std::fprintf(stderr, "zobar design: %s\n", e.what());
        DestroyWindow(d.window);
        tlsDesigner = nullptr;
        return kExitFailed;
    }
    d.site.ClearChanges();
    const int by = kMargin * 2 + o.height;
    CreateWindowExA(0, WC_BUTTONA, "&Save", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                    kMargin, by, 80, 23, d.window, static_cast<HMENU>(kIdSave), 0, nullptr);
    CreateWindowExA(0, WC_BUTTONA, "&Properties...",
                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, kMargin + 88, by, 100, 23,
                    d.window, static_cast<HMENU>(kIdProperties), 0, nullptr);
    ShowWindow(d.window, SW_SHOW);
    d.ShowSheet();

    Replayer replayer;
    replayer.script = &script;
    if (d.scripted) {
        tlsReplayer = &replayer;
        SetTimer(0, 0, 50, &StepProc);
    }
    MSG m;
    bool quit = false;
    while (!quit && !(d.scripted && replayer.done)) {
        if (live) {
            if (GetMessageA(&m, 0, 0, 0) <= 0) break;
            Route(d, m);
            continue;
        }
        while (PeekMessageA(&m, 0, 0, 0, PM_REMOVE)) {
            if (m.message == WM_QUIT) {
                quit = true;
                break;
            }
            Route(d, m);
        }
        if (!quit) AdvanceClock(10);
    }
    tlsReplayer = nullptr;
    PumpMessages();
    if (d.scripted && !o.snapshot.empty() && !SnapshotScreen(o.snapshot.c_str())) {
        std::fprintf(stderr, "zobar design: cannot write '%s'\n", o.snapshot.c_str());
        d.status = kExitFailed;
    }
    // A script that ends with the window still up leaves unsaved changes unsaved: nobody is
    // there to be asked.
    if (d.window != 0) {
        d.site.ClearChanges();
        d.events.dirty = false;
        DestroyWindow(d.window);
    }
    tlsDesigner = nullptr;
    return d.status;
}

}  // namespace zobar
