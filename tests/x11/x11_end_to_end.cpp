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

// Both windows keep the scene passed at creation.
void KeepScene(HWND h, LPARAM lp) {
    SetWindowLongA(
        h, GWL_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
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
            KeepScene(h, lp);
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
    if (msg == WM_NCCREATE) KeepScene(h, lp);
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

// The number of pixels of the X window that still differ from the expected ones once they agree
// or two seconds have passed: the server shows what was put there once the window is mapped and
// exposed.
int AwaitPixels(unsigned long xid, const std::vector<std::uint32_t>& expected, int width) {
    int bad = -1;
    XPixels shown;
    for (int i = 0; i < 40 && bad != 0; ++i) {
        RunFor(50);
        shown = ReadXWindow(xid);
        bad = shown.ok ? Mismatches(shown.rgb, expected, width, false) : -1;
    }
    if (shown.ok && bad != 0) Mismatches(shown.rgb, expected, width, true);
    return bad;
}

// The scene `build` makes is shown and clicked at the screen points `clicks` gives for it, first
// off-screen by injected clicks, then on the X server by xdotool; once shown and after each click
// the X window must show what the off-screen display showed. Returns the off-screen pictures and
// the frame on X (0 when the X display could not be opened again).
template <class Build, class Clicks>
HWND Mirror(Report& report, const std::string& name, SIZE screen, Build build, Clicks clicks,
            std::vector<std::vector<std::uint32_t>>& offscreen) {
    InitDisplay(DisplayKind::Offscreen, screen.cx, screen.cy);
    HWND frame = build();
    PumpMessages();
    RECT r;
    GetWindowRect(frame, &r);
    offscreen.assign(1, ReadScreenPixels(r));
    for (const POINT& p : clicks(frame)) {
        InjectClick(p.x, p.y, VK_LBUTTON);
        PumpMessages();
        offscreen.push_back(ReadScreenPixels(r));
    }
    if (!InitDisplayFromEnvironment(0, 0)) {
        report.Check(false, name + ": the X11 display could not be opened again");
        return 0;
    }
    frame = build();
    const unsigned long xid = X11WindowOf(frame);
    report.Check(xid != 0, name + ": the window has an X window");
    const std::vector<POINT> at = clicks(frame);
    for (std::size_t step = 0; step < offscreen.size(); ++step) {
        std::string when = "shown";
        if (step > 0) {
            const POINT p = at[step - 1];
            when = "after click " + std::to_string(step) + " at (" + std::to_string(p.x) + "," +
                   std::to_string(p.y) + ")";
            const std::string cmd =
                "xdotool mousemove " + std::to_string(p.x) + " " + std::to_string(p.y) + " click 1";
            const int rc = std::system(cmd.c_str());
            report.Check(rc == 0, name + ": " + cmd + " (" + std::to_string(rc) + ")");
        }
        const int bad = AwaitPixels(xid, offscreen[step], r.right - r.left);
        report.Check(bad == 0, name + " on X equals the off-screen render " + when + " (" +
                                   std::to_string(bad) + " differ)");
    }
    return frame;
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
    std::vector<std::vector<std::uint32_t>> offscreen;

    // The painted scene: three clicks in the child, one on the parent.
    Scene scenes[2];
    int built = 0;
    const HWND top = Mirror(
        report, "the scene", screen, [&] { return BuildScene(&scenes[built++]); },
        [](HWND) {
            std::vector<POINT> at;
            for (const POINT& c : kClicks)
                at.push_back(POINT{kChildLeft + c.x, kChildTop + c.y});
            at.push_back(kParentClick);
            return at;
        },
        offscreen);
    const Scene& live = scenes[1];
    for (int i = 0; i < 40 && (live.childClicks.size() < 3 || live.parentClicks < 1); ++i)
        RunFor(50);
    report.Check(scenes[0].childClicks.size() == 3 && scenes[0].parentClicks == 1,
                 "the off-screen scene took the clicks");
    std::string at;
    for (const POINT& c : live.childClicks)
        at += " (" + std::to_string(c.x) + "," + std::to_string(c.y) + ")";
    report.Check(at == " (10,10) (100,15) (60,70)",
                 "the child got its three clicks where they were made:" + at);
    report.Check(live.parentClicks == 1, "one click reached the parent");
    const XPixels shown = ReadXWindow(top != 0 ? X11WindowOf(top) : 0);
    report.Check(shown.ok && shown.x == kWinX && shown.y == kWinY && shown.width == kWinW &&
                     shown.height == kWinH,
                 "the X window at (" + std::to_string(shown.x) + "," + std::to_string(shown.y) +
                     ") sized " + std::to_string(shown.width) + "x" + std::to_string(shown.height));

    // A modeless property sheet: its check box clicked, then its second tab.
    Mirror(
        report, "the sheet", screen, [] { return zo::plat::test::BuildSheetScene(); },
        [](HWND frame) {
            RECT r;
            GetWindowRect(zo::plat::test::SheetCheckBox(frame), &r);
            const POINT check{r.left + 8, (r.top + r.bottom) / 2};
            const auto tabs = static_cast<HWND>(SendMessageA(frame, PSM_GETTABCONTROL, 0, 0));
            SendMessageA(tabs, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
            POINT tab{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
            ClientToScreen(tabs, &tab);
            return std::vector<POINT>{check, tab};
        },
        offscreen);
    report.Check(
        offscreen.size() == 3 && offscreen[0] != offscreen[1] && offscreen[1] != offscreen[2],
        "the check box and the tab change the off-screen sheet");
    ShutdownDisplay();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - started)
                        .count();
    std::printf("%s in %lld ms\n", report.failures == 0 ? "passed" : "FAILED",
                static_cast<long long>(ms));
    return report.failures == 0 ? 0 : 1;
}
