// Update regions, WM_PAINT generation, erasing, clipping of windows against each other in the
// framebuffer, exposure on move and hide, frames, and move/size notifications.
#include "win_support.h"

namespace zo::plat::test {
namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255), kGreen = RGB(0, 255, 0), kRed = RGB(255, 0, 0);
constexpr std::uint32_t B = 0x0000FF, G = 0x00FF00, R = 0xFF0000;  // as the screen reads them
using Pixels = std::vector<std::uint32_t>;

class Paint : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        // Each window paints its whole client area in its own colour and notes what it was told.
        rec.hook = [this](HWND h, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (msg != WM_PAINT || colors.count(h) == 0) return std::nullopt;
            PAINTSTRUCT ps;
            const HDC dc = BeginPaint(h, &ps);
            paints.push_back(ps.rcPaint);
            erases.push_back(ps.fErase != FALSE);
            Fill(dc, ClientRect(h), colors[h]);
            EndPaint(h, &ps);
            return 0;
        };
    }
    static int Fill(HDC dc, RECT r, COLORREF c) {
        const HBRUSH b = CreateSolidBrush(c);
        const int done = FillRect(dc, &r, b);
        DeleteObject(b);
        return done;
    }
    // The screen at these points.
    static Pixels At(std::initializer_list<POINT> points) {
        Pixels v;
        for (const POINT p : points)
            v.push_back(Px(p.x, p.y));
        return v;
    }
    static std::uint32_t Sys(int index) { return Rgb(GetSysColor(index)); }
    std::map<HWND, COLORREF> colors;
    std::vector<RECT> paints;
    std::vector<bool> erases;
};

TEST_F(Paint, PaintComesAfterPostedAndInputMessagesBeforeTimersWithTheUnionOfInvalidRects) {
    const HWND w = Top("w", 0, 0, 100, 100);
    colors[w] = kBlue;
    PumpMessages();
    paints.clear();
    const RECT first{10, 10, 20, 20}, second{50, 40, 60, 70};
    InvalidateRect(w, &first, FALSE);
    InvalidateRect(w, &second, FALSE);
    SetTimer(w, 1, 10, nullptr);
    AdvanceClock(20);
    InjectMouseMove(5, 5);
    PostMessageA(w, WM_USER, 0, 0);
    std::vector<UINT> order;
    MSG m;
    while (order.size() < 4 && PeekMessageA(&m, 0, 0, 0, PM_REMOVE)) {
        if (m.message == WM_SETCURSOR) continue;
        order.push_back(m.message);
        DispatchMessageA(&m);
    }
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER, WM_MOUSEMOVE, WM_PAINT, WM_TIMER}));
    ASSERT_EQ(paints.size(), 1u);
    EXPECT_EQ(paints[0], (RECT{10, 10, 60, 70}));
    KillTimer(w, 1);
    EXPECT_FALSE(PeekMessageA(&m, 0, 0, 0, PM_REMOVE));  // validated by BeginPaint
}

TEST_F(Paint, HiddenWindowsWaitAndUpdateWindowPaintsOnlyWhatIsInvalid) {
    const HWND w = Top("w", 0, 0, 50, 50, WS_POPUP);  // hidden
    InvalidateRect(w, nullptr, TRUE);
    MSG m;
    EXPECT_FALSE(PeekMessageA(&m, 0, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    ShowWindow(w, SW_SHOW);
    rec.Watch({WM_PAINT});
    EXPECT_EQ(PumpMessages(), 1);  // one paint, validated by the default procedure
    EXPECT_EQ(rec.Said(), "w:PAINT");
    RECT r;
    EXPECT_FALSE(GetUpdateRect(w, &r, FALSE));
    colors[w] = kBlue;
    InvalidateRect(w, nullptr, FALSE);
    UpdateWindow(w);
    ASSERT_EQ(paints.size(), 1u);
    EXPECT_EQ(At({{10, 10}}), (Pixels{B}));
    UpdateWindow(w);  // nothing left to paint
    const RECT part{0, 0, 5, 5};
    InvalidateRect(w, &part, FALSE);
    ValidateRect(w, &part);
    UpdateWindow(w);
    EXPECT_EQ(paints.size(), 1u);
}

TEST_F(Paint, EraseUsesTheClassBrushAndReportsUnerasedBackground) {
    Top("w", 0, 0, 60, 60);
    PumpMessages();  // painted by the default procedure: erased with COLOR_WINDOW
    EXPECT_EQ(Px(30, 30), Sys(COLOR_WINDOW));
    WNDCLASSA wc;
    wc.lpfnWndProc = RecordingProc;
    wc.hbrBackground = static_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "FaceBackground";
    RegisterClassA(&wc);
    wc.hbrBackground = 0;
    wc.lpszClassName = "NoBackground";
    RegisterClassA(&wc);
    const HWND face = CreateWindowExA(0, "FaceBackground", "face", WS_POPUP | WS_VISIBLE, 100, 0,
                                      40, 40, 0, 0, 0, &rec);
    colors[face] = kRed;
    rec.Watch({WM_ERASEBKGND});
    PumpMessages();
    EXPECT_EQ(rec.Said(), "face:ERASEBKGND");
    EXPECT_EQ(erases, std::vector<bool>{false});  // the class brush erased it
    // No brush: the background is left to the painter (fErase TRUE).
    const HWND bare = CreateWindowExA(0, "NoBackground", "bare", WS_POPUP | WS_VISIBLE, 150, 0, 40,
                                      40, 0, 0, 0, &rec);
    colors[bare] = kRed;
    PumpMessages();
    EXPECT_TRUE(erases.back());
    InvalidateRect(face, nullptr, FALSE);  // invalidation without erase does not ask for one
    rec.Said();
    PumpMessages();
    EXPECT_EQ(rec.Said(), "");
}

TEST_F(Paint, ParentsNeverCoverTheirChildrenAndSiblingsAboveClipThoseBelow) {
    const HWND top = Top("top", 0, 0, 100, 100);
    const HWND upper = Child(top, "upper", 20, 20, 30, 30);  // created first: on top
    const HWND lower = Child(top, "lower", 40, 40, 30, 30);
    colors = {{top, kBlue}, {upper, kGreen}, {lower, kRed}};
    PumpMessages();
    EXPECT_EQ(At({{5, 5}, {25, 25}, {45, 45}, {49, 49}, {50, 50}, {70, 70}}),
              (Pixels{B, G, G, G, R, B}));
    // The parent repaints all of itself, the lower sibling too: the others stay as they were.
    InvalidateRect(top, nullptr, TRUE);
    UpdateWindow(top);
    RedrawWindow(lower, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(At({{25, 25}, {45, 45}, {60, 60}}), (Pixels{G, G, R}));
    // A DC from GetDC is clipped the same way.
    const HDC dc = GetDC(top);
    Fill(dc, RECT{0, 0, 100, 100}, RGB(1, 2, 3));
    EXPECT_EQ(ReleaseDC(top, dc), 1);
    EXPECT_EQ(At({{5, 5}, {25, 25}, {60, 60}}), (Pixels{0x010203, G, R}));
    // Raising the lower window repaints it over the overlap.
    SetWindowPos(lower, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PumpMessages();
    EXPECT_EQ(At({{45, 45}}), (Pixels{R}));
}

// A DC of GetDC belongs to its window: any ReleaseDC lets it go, whatever window it names, and
// the window's end takes its DCs along, so a kept handle neither draws nor releases again.
TEST_F(Paint, WindowDcsAreReleasedWhateverWindowIsNamedAndDieWithTheirWindow) {
    const HWND top = Top("top", 0, 0, 100, 100);
    const HWND child = Child(top, "child", 20, 20, 30, 30);
    const HDC named = GetDC(child);
    ASSERT_NE(named, 0u);
    EXPECT_EQ(ReleaseDC(top, named), 1);
    EXPECT_EQ(SaveDC(named), 0);  // gone, not leaked
    EXPECT_EQ(ReleaseDC(child, named), 0);
    EXPECT_EQ(ReleaseDC(0, GetDC(child)), 1);
    const HDC memory = CreateCompatibleDC(0);
    EXPECT_EQ(ReleaseDC(0, memory), 0);  // a memory DC is no window's to release
    EXPECT_TRUE(DeleteDC(memory));
    const HDC kept = GetDC(child), keptWhole = GetWindowDC(child), parent = GetDC(top);
    DestroyWindow(child);
    ExpectAll(0, {ZO_CALL(ReleaseDC(child, kept)), ZO_CALL(ReleaseDC(child, keptWhole)),
                  ZO_CALL(Fill(kept, RECT{0, 0, 100, 100}, kRed))});
    EXPECT_EQ(ReleaseDC(top, parent), 1);  // the parent's DC lives on
}

TEST_F(Paint, MovingHidingAndRaisingRepaintWhatWasExposed) {
    const HWND back = Top("back", 0, 0, 100, 100);
    const HWND child = Child(back, "child", 10, 10, 20, 20);
    const HWND front = Top("front", 80, 80, 80, 80);
    colors = {{back, kBlue}, {child, kGreen}, {front, kRed}};
    PumpMessages();
    InvalidateRect(back, nullptr, TRUE);
    UpdateWindow(back);
    EXPECT_EQ(At({{85, 85}, {79, 79}}), (Pixels{R, B}));
    MoveWindow(child, 60, 60, 20, 20, TRUE);
    PumpMessages();
    EXPECT_EQ(At({{15, 15}, {65, 65}}), (Pixels{B, G}));  // the old place shows the parent again
    ShowWindow(child, SW_HIDE);
    PumpMessages();
    EXPECT_EQ(At({{65, 65}}), (Pixels{B}));
    SetWindowPos(back, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PumpMessages();
    EXPECT_EQ(At({{85, 85}}), (Pixels{B}));
    // A hidden top-level window gives its screen back to the desktop.
    ShowWindow(back, SW_HIDE);
    PumpMessages();
    EXPECT_EQ(At({{50, 50}, {85, 85}}), (Pixels{Sys(COLOR_BACKGROUND), R}));
}

TEST_F(Paint, BordersShrinkTheClientAreaAndAreDrawnByThePlatform) {
    const HWND top = Top("top", 0, 0, 100, 100);
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER;
    const HWND bordered = Child(top, "b", 10, 10, 30, 30, style);
    const HWND edged = Child(top, "e", 50, 10, 30, 30, style, WS_EX_CLIENTEDGE);
    colors = {{top, kBlue}, {bordered, kGreen}, {edged, kGreen}};
    PumpMessages();
    EXPECT_EQ(ClientRect(bordered), (RECT{0, 0, 28, 28}));
    EXPECT_EQ(ClientRect(edged), (RECT{0, 0, 24, 24}));
    POINT p{0, 0};
    ClientToScreen(edged, &p);
    EXPECT_EQ(p, (POINT{53, 13}));
    // Frame, then the sunken edge: shadow and dark shadow at the top left, highlight and light
    // at the bottom right.
    EXPECT_EQ(At({{10, 10}, {39, 39}, {50, 10}, {51, 20}, {52, 20}, {78, 20}, {77, 20}}),
              (Pixels{Sys(COLOR_WINDOWFRAME), Sys(COLOR_WINDOWFRAME), Sys(COLOR_WINDOWFRAME),
                      Sys(COLOR_BTNSHADOW), Sys(COLOR_3DDKSHADOW), Sys(COLOR_BTNHIGHLIGHT),
                      Sys(COLOR_3DLIGHT)}));
    EXPECT_EQ(At({{11, 11}, {53, 13}}), (Pixels{G, G}));
}

TEST_F(Paint, RedrawWindowReachesChildrenOnlyWhenAsked) {
    const HWND top = Top("top", 0, 0, 100, 100);
    const HWND child = Child(top, "child", 10, 10, 20, 20);
    PumpMessages();
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE);
    RECT r;
    EXPECT_TRUE(GetUpdateRect(top, &r, FALSE));
    EXPECT_FALSE(GetUpdateRect(child, &r, FALSE));
    const RECT part{15, 15, 50, 50};
    RedrawWindow(top, &part, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    ASSERT_TRUE(GetUpdateRect(child, &r, FALSE));
    EXPECT_EQ(r, (RECT{5, 5, 20, 20}));  // in the child's own coordinates, cut to its client
    rec.Watch({WM_PAINT});
    RedrawWindow(top, nullptr, nullptr, RDW_UPDATENOW);
    EXPECT_EQ(rec.Said(), "top:PAINT child:PAINT");
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    RedrawWindow(top, nullptr, nullptr, RDW_VALIDATE | RDW_ALLCHILDREN);
    EXPECT_FALSE(GetUpdateRect(top, &r, FALSE));
    EXPECT_FALSE(GetUpdateRect(child, &r, FALSE));
}

TEST_F(Paint, MoveAndSizeAreSentOnlyOnChange) {
    const HWND child = Child(Top("top", 0, 0, 100, 100), "child", 10, 10, 20, 20);
    rec.Watch({WM_MOVE, WM_SIZE});
    MoveWindow(child, 10, 10, 20, 20, TRUE);
    EXPECT_EQ(rec.Said(), "");
    MoveWindow(child, 12, 10, 20, 20, TRUE);
    EXPECT_EQ(rec.Said(), "child:MOVE");
    ASSERT_TRUE(SetWindowPos(child, 0, 0, 0, 25, 20, SWP_NOMOVE | SWP_NOZORDER));
    EXPECT_EQ(rec.Said(), "child:SIZE");
    SetWindowPos(child, 0, 1, 1, 5, 6, SWP_NOZORDER);
    EXPECT_EQ(rec.Said(), "child:MOVE child:SIZE");
    SetWindowPos(child, 0, 3, -4, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(GET_X_LPARAM(rec.messages[0].lParam), 3);
    EXPECT_EQ(GET_Y_LPARAM(rec.messages[0].lParam), -4);
}

TEST_F(Paint, WindowFromPointFindsTheTopmostVisibleEnabledWindow) {
    const HWND top = Top("top", 0, 0, 100, 100);
    const HWND child = Child(top, "child", 10, 10, 20, 20);
    const HWND inner = Child(child, "inner", 5, 5, 5, 5);
    const auto at = [](int x, int y) { return WindowFromPoint(POINT{x, y}); };
    EXPECT_EQ((std::vector<HWND>{at(1, 1), at(12, 12), at(16, 16), at(200, 200)}),
              (std::vector<HWND>{top, child, inner, 0}));
    EnableWindow(inner, FALSE);
    EXPECT_EQ(at(16, 16), child);
    ShowWindow(child, SW_HIDE);
    EXPECT_EQ(at(16, 16), top);
}

}  // namespace
}  // namespace zo::plat::test
