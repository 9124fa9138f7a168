// End to end on a real X server: a window whose child paints a known scene and marks where it
// is clicked is shown on the X11 display; xdotool moves the real pointer and clicks; the X
// window's pixels, read back from the server, must equal the off-screen display's render of
// the same scene with the same clicks injected, and every click must have arrived where it was
// made. Run by scripts/x11-test.sh against a private Xvfb server; without an X server it fails.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Display.h"
#include "platform/Gdi.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "platform/dialog_scenes.h"
#include "x11/XReadback.h"

namespace {

using namespace zo::plat;
using zo::x11test::ReadXWindow;
using zo::x11test::XPixels;

constexpr int kWinX = 40, kWinY = 30, kWinW = 200, kWinH = 150;
constexpr int kChildX = 20, kChildY = 20, kChildW = 120, kChildH = 80;
// The child's client origin on the screen: inside the window's 1-pixel border.
constexpr int kChildLeft = kWinX + 1 + kChildX;
constexpr int kChildTop = kWinY + 1 + kChildY;
// Where the clicks go, in the child's client coordinates; one more lands on the parent.
constexpr POINT kClicks[] = {{10, 10}, {100, 15}, {60, 70}};
constexpr POINT kParentClick{kWinX + 6, kWinY + 6};

struct Scene {
    std::vector<POINT> childClicks;
    int parentClicks = 0;
};

Scene* SceneOf(HWND h) {
    return reinterpret_cast<Scene*>(GetWindowLongA(h, GWL_USERDATA));
}

void Fill(HDC dc, int l, int t, int r, int b, COLORREF c) {
    const RECT rc{l, t, r, b};
    const HBRUSH br = CreateSolidBrush(c);
    FillRect(dc, &rc, br);
    DeleteObject(br);
}

// Quadrants of four colours, a sunken edge, a line of text, and a black square on each click.
void PaintChild(HWND h) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(h, &ps);
    Fill(dc, 0, 0, 60, 40, RGB(255, 0, 0));
    Fill(dc, 60, 0, 120, 40, RGB(0, 160, 0));
    Fill(dc, 0, 40, 60, 80, RGB(0, 0, 255));
    Fill(dc, 60, 40, 120, 80, RGB(255, 220, 0));
    RECT edge{30, 20, 90, 60};
    DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
    const int saved = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    RECT text{0, 28, 120, 52};
    DrawTextA(dc, "Zo 11", -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    RestoreDC(dc, saved);
    if (const Scene* s = SceneOf(h))
        for (const POINT& p : s->childClicks)
            Fill(dc, p.x - 2, p.y - 2, p.x + 3, p.y + 3, RGB(0, 0, 0));
    EndPaint(h, &ps);
}

LRESULT ChildProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_NCCREATE:
            SetWindowLongA(
                h, GWL_USERDATA,
                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
            return DefWindowProcA(h, msg, wp, lp);
        case WM_PAINT:
            PaintChild(h);
            return 0;
        case WM_LBUTTONDOWN:
            if (Scene* s = SceneOf(h)) {
                const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
                s->childClicks.push_back(p);
                const RECT mark{p.x - 2, p.y - 2, p.x + 3, p.y + 3};
                InvalidateRect(h, &mark, FALSE);
            }
            return 0;
        default:
            return DefWindowProcA(h, msg, wp, lp);
    }
}

LRESULT ParentProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE)
        SetWindowLongA(
            h, GWL_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
    if (msg == WM_LBUTTONDOWN)
        if (Scene* s = SceneOf(h)) ++s->parentClicks;
    return DefWindowProcA(h, msg, wp, lp);
}

HWND BuildScene(Scene* scene) {
    WNDCLASSA wc;
    WNDCLASSA existing;
    if (!GetClassInfoA(0, "ZoE2EParent", &existing)) {
        wc.lpfnWndProc = ParentProc;
        wc.hbrBackground = static_cast<HBRUSH>(COLOR_3DFACE + 1);
        wc.lpszClassName = "ZoE2EParent";
        RegisterClassA(&wc);
        wc.lpfnWndProc = ChildProc;
        wc.hbrBackground = 0;
        wc.lpszClassName = "ZoE2EChild";
        RegisterClassA(&wc);
    }
    const HWND top = CreateWindowExA(0, "ZoE2EParent", "End to end", WS_POPUP | WS_BORDER, kWinX,
                                     kWinY, kWinW, kWinH, 0, 0, 0, scene);
    CreateWindowExA(0, "ZoE2EChild", "child", WS_CHILD | WS_VISIBLE, kChildX, kChildY, kChildW,
                    kChildH, top, 0, 0, scene);
    ShowWindow(top, SW_SHOW);
    UpdateWindow(top);
    return top;
}

// Prints each finding and counts the failed ones.
struct Report {
    int failures = 0;
    void Check(bool ok, const std::string& what) {
        std::printf("%s: %s\n", ok ? "ok  " : "FAIL", what.c_str());
        if (!ok) ++failures;
    }
};

// Runs a command line; its failure is the test's.
bool Run(const std::string& cmd) {
    const int rc = std::system(cmd.c_str());
    if (rc != 0) std::printf("command failed (%d): %s\n", rc, cmd.c_str());
    return rc == 0;
}

// Pumps the X11 display's messages for a while in real time.
void PumpFor(int ms) {
    RunFor(static_cast<DWORD>(ms));
}

// Pixels that differ (and a size difference), the first few of them printed when asked.
int Mismatches(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b, int width,
               bool print) {
    int bad = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if ((a[i] & 0xFFFFFFu) == (b[i] & 0xFFFFFFu)) continue;
        if (print && bad < 5)
            std::printf("  pixel (%d,%d): X %06x, off-screen %06x\n", static_cast<int>(i) % width,
                        static_cast<int>(i) / width, a[i] & 0xFFFFFFu, b[i] & 0xFFFFFFu);
        ++bad;
    }
    return bad + (a.size() == b.size() ? 0 : 1);
}

// Where a property sheet's check box and second tab are on the screen.
struct SheetSpots {
    POINT check;
    POINT tab;
};

SheetSpots SpotsOf(HWND frame) {
    SheetSpots s;
    RECT r;
    GetWindowRect(zo::plat::test::SheetCheckBox(frame), &r);
    s.check = POINT{r.left + 8, (r.top + r.bottom) / 2};
    const auto tab = static_cast<HWND>(SendMessageA(frame, PSM_GETTABCONTROL, 0, 0));
    SendMessageA(tab, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    s.tab = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(tab, &s.tab);
    return s;
}

// The X window's pixels once they equal the expected ones (two seconds at most); the number of
// pixels that still differ.
int AwaitPixels(unsigned long xid, const std::vector<std::uint32_t>& expected, int width) {
    int bad = -1;
    XPixels shown;
    for (int i = 0; i < 40 && bad != 0; ++i) {
        PumpFor(50);
        shown = ReadXWindow(xid);
        bad = shown.ok ? Mismatches(shown.rgb, expected, width, false) : -1;
    }
    if (shown.ok && bad != 0) Mismatches(shown.rgb, expected, width, true);
    return bad;
}

// A modeless property sheet: shown, its check box clicked, then its second tab, off-screen by
// injected clicks and on the X server by xdotool; after each step the X window must show what
// the off-screen display showed.
void SheetScenario(Report& report, SIZE screen) {
    std::vector<std::uint32_t> expected[3];
    int width = 0;
    InitDisplay(DisplayKind::Offscreen, screen.cx, screen.cy);
    {
        const HWND frame = zo::plat::test::BuildSheetScene();
        PumpMessages();
        RECT r;
        GetWindowRect(frame, &r);
        width = r.right - r.left;
        const SheetSpots at = SpotsOf(frame);
        expected[0] = ReadScreenPixels(r);
        InjectClick(at.check.x, at.check.y, VK_LBUTTON);
        PumpMessages();
        expected[1] = ReadScreenPixels(r);
        InjectClick(at.tab.x, at.tab.y, VK_LBUTTON);
        PumpMessages();
        expected[2] = ReadScreenPixels(r);
        report.Check(expected[0] != expected[1] && expected[1] != expected[2],
                     "the check box and the tab change the off-screen sheet");
    }
    if (!InitDisplayFromEnvironment(0, 0)) {
        report.Check(false, "the X11 display could not be opened for the sheet");
        return;
    }
    const HWND frame = zo::plat::test::BuildSheetScene();
    const unsigned long xid = X11WindowOf(frame);
    const SheetSpots at = SpotsOf(frame);
    const char* steps[] = {"shown", "after the check-box click", "after the tab click"};
    for (int step = 0; step < 3; ++step) {
        if (step == 1 || step == 2) {
            const POINT p = step == 1 ? at.check : at.tab;
            report.Check(Run("xdotool mousemove " + std::to_string(p.x) + " " +
                             std::to_string(p.y) + " click 1"),
                         std::string("xdotool click ") + steps[step]);
        }
        const int bad = AwaitPixels(xid, expected[step], width);
        report.Check(bad == 0, std::string("the sheet on X equals the off-screen render ") +
                                   steps[step] + " (" + std::to_string(bad) + " differ)");
    }
}

}  // namespace

int main() {
    const auto started = std::chrono::steady_clock::now();
    // The display is chosen the way a program chooses it at start-up; no X server is a failure.
    if (!InitDisplayFromEnvironment(0, 0) || CurrentDisplayKind() != DisplayKind::X11) {
        std::printf("FAIL: no X11 display (DISPLAY=%s, ZO_DISPLAY=%s)\n",
                    std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "",
                    std::getenv("ZO_DISPLAY") ? std::getenv("ZO_DISPLAY") : "");
        return 1;
    }
    const SIZE screen = ScreenSize();
    Report report;
    std::vector<std::uint32_t> expected;

    // The expected picture: the off-screen render of the scene with the clicks injected, on a
    // screen as large as the X one.
    InitDisplay(DisplayKind::Offscreen, screen.cx, screen.cy);
    Scene offscreen;
    {
        const HWND h = BuildScene(&offscreen);
        PumpMessages();
        for (const POINT& c : kClicks)
            InjectClick(kChildLeft + c.x, kChildTop + c.y, VK_LBUTTON);
        InjectClick(kParentClick.x, kParentClick.y, VK_LBUTTON);
        PumpMessages();
        report.Check(offscreen.childClicks.size() == 3 && offscreen.parentClicks == 1,
                     "the off-screen scene took the clicks");
        RECT r;
        GetWindowRect(h, &r);
        expected = ReadScreenPixels(r);
    }

    // The same scene on the X server, clicked through it by xdotool.
    if (!InitDisplayFromEnvironment(0, 0)) {
        std::printf("FAIL: the X11 display could not be opened again\n");
        return 1;
    }
    Scene live;
    const HWND top = BuildScene(&live);
    const unsigned long xid = X11WindowOf(top);
    report.Check(xid != 0, "the window has an X window");
    PumpFor(200);
    for (const POINT& c : kClicks) {
        report.Check(Run("xdotool mousemove " + std::to_string(kChildLeft + c.x) + " " +
                         std::to_string(kChildTop + c.y) + " click 1"),
                     "xdotool click in the child");
        PumpFor(50);
    }
    report.Check(Run("xdotool mousemove " + std::to_string(kParentClick.x) + " " +
                     std::to_string(kParentClick.y) + " click 1"),
                 "xdotool click on the parent");
    for (int i = 0; i < 40 && (live.childClicks.size() < 3 || live.parentClicks < 1); ++i)
        PumpFor(50);
    report.Check(live.childClicks.size() == 3, "three clicks reached the child (got " +
                                                   std::to_string(live.childClicks.size()) + ")");
    for (std::size_t i = 0; i < live.childClicks.size() && i < 3; ++i)
        report.Check(live.childClicks[i] == kClicks[i],
                     "click " + std::to_string(i) + " at (" +
                         std::to_string(live.childClicks[i].x) + "," +
                         std::to_string(live.childClicks[i].y) + ") of the child");
    report.Check(live.parentClicks == 1, "one click reached the parent");

    // The server shows what was put there once the window is mapped and exposed: look until
    // the pictures agree, for at most two seconds.
    XPixels shown;
    int bad = -1;
    for (int i = 0; i < 40 && bad != 0; ++i) {
        PumpFor(50);
        shown = ReadXWindow(xid);
        bad = shown.ok ? Mismatches(shown.rgb, expected, kWinW, false) : -1;
    }
    report.Check(shown.ok, "the X window's pixels were read back");
    report.Check(
        shown.x == kWinX && shown.y == kWinY && shown.width == kWinW && shown.height == kWinH,
        "the X window at (" + std::to_string(shown.x) + "," + std::to_string(shown.y) + ") sized " +
            std::to_string(shown.width) + "x" + std::to_string(shown.height));
    if (shown.ok && bad != 0) Mismatches(shown.rgb, expected, kWinW, true);
    report.Check(bad == 0, "the X window's pixels equal the off-screen render (" +
                               std::to_string(bad) + " differ)");
    SheetScenario(report, screen);
    ShutdownDisplay();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - started)
                        .count();
    std::printf("%s in %lld ms\n", report.failures == 0 ? "passed" : "FAILED",
                static_cast<long long>(ms));
    return report.failures == 0 ? 0 : 1;
}
