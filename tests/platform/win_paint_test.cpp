// Update regions, WM_PAINT generation, erasing, clipping of windows against each other in the
// framebuffer, exposure on move and hide, frames, and move/size notifications.
#include "win_support.h"

namespace zo::plat::test {
namespace {

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
            RECT rc;
            GetClientRect(h, &rc);
            const HBRUSH b = CreateSolidBrush(colors[h]);
            FillRect(dc, &rc, b);
            DeleteObject(b);
            EndPaint(h, &ps);
            return 0;
        };
    }
    std::map<HWND, COLORREF> colors;
    std::vector<RECT> paints;
    std::vector<bool> erases;
};

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

TEST_F(Paint, PaintComesOnlyWhenTheQueueIsEmptyWithTheUnionOfInvalidRects) {
    const HWND w = Top("w", 0, 0, 100, 100);
    colors[w] = kBlue;
    PumpMessages();
    paints.clear();
    const RECT first{10, 10, 20, 20};
    const RECT second{50, 40, 60, 70};
    InvalidateRect(w, &first, FALSE);
    InvalidateRect(w, &second, FALSE);
    PostMessageA(w, WM_USER, 0, 0);
    MSG m;
    ASSERT_TRUE(PeekMessageA(&m, 0, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_USER);  // the posted message first
    ASSERT_TRUE(PeekMessageA(&m, 0, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(m.message, WM_PAINT);
    DispatchMessageA(&m);
    ASSERT_EQ(paints.size(), 1u);
    EXPECT_EQ(paints[0], (RECT{10, 10, 60, 70}));
    // Validated by BeginPaint: no second paint.
    EXPECT_FALSE(PeekMessageA(&m, 0, 0, 0, PM_REMOVE));
}

TEST_F(Paint, InputComesBeforePaintAndTimersLast) {
    const HWND w = Top("w", 0, 0, 100, 100);
    PumpMessages();
    SetTimer(w, 1, 10, nullptr);
    AdvanceClock(20);
    InvalidateRect(w, nullptr, FALSE);
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
}

TEST_F(Paint, DefaultProcedureValidatesAndHiddenWindowsWait) {
    const HWND w = Top("w", 0, 0, 50, 50, WS_POPUP);  // hidden
    InvalidateRect(w, nullptr, TRUE);
    MSG m;
    EXPECT_FALSE(PeekMessageA(&m, 0, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    ShowWindow(w, SW_SHOW);
    rec.Watch({WM_PAINT});
    EXPECT_EQ(PumpMessages(), 1);  // one paint, validated by the default procedure
    EXPECT_EQ(rec.Take(), (std::vector<std::string>{"w:PAINT"}));
    RECT r;
    EXPECT_FALSE(GetUpdateRect(w, &r, FALSE));
}

TEST_F(Paint, UpdateWindowPaintsSynchronouslyOnlyWhenNeeded) {
    const HWND w = Top("w", 0, 0, 50, 50);
    colors[w] = kBlue;
    UpdateWindow(w);
    ASSERT_EQ(paints.size(), 1u);
    EXPECT_EQ(Px(10, 10), Rgb(kBlue));
    UpdateWindow(w);  // nothing left to paint
    EXPECT_EQ(paints.size(), 1u);
    const RECT part{0, 0, 5, 5};
    InvalidateRect(w, &part, FALSE);
    ValidateRect(w, &part);
    UpdateWindow(w);
    EXPECT_EQ(paints.size(), 1u);
}

TEST_F(Paint, EraseUsesTheClassBrushAndReportsUnerasedBackground) {
    Top("w", 0, 0, 60, 60);
    PumpMessages();  // painted by the default procedure: erased with COLOR_WINDOW
    EXPECT_EQ(Px(30, 30), Rgb(GetSysColor(COLOR_WINDOW)));

    WNDCLASSA wc;
    wc.lpfnWndProc = RecordingProc;
    wc.hbrBackground = static_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "FaceBackground";
    RegisterClassA(&wc);
    const HWND face = CreateWindowExA(0, "FaceBackground", "face", WS_POPUP | WS_VISIBLE, 100, 0,
                                      40, 40, 0, 0, 0, &rec);
    colors[face] = kRed;
    rec.Watch({WM_ERASEBKGND});
    PumpMessages();
    EXPECT_EQ(rec.Take(), (std::vector<std::string>{"face:ERASEBKGND"}));
    ASSERT_FALSE(erases.empty());
    EXPECT_FALSE(erases.back());  // the class brush erased it

    // No brush: the background is left to the painter (fErase TRUE).
    wc.hbrBackground = 0;
    wc.lpszClassName = "NoBackground";
    RegisterClassA(&wc);
    const HWND bare = CreateWindowExA(0, "NoBackground", "bare", WS_POPUP | WS_VISIBLE, 150, 0, 40,
                                      40, 0, 0, 0, &rec);
    colors[bare] = kRed;
    PumpMessages();
    EXPECT_TRUE(erases.back());
    // Invalidation without erase does not ask for one.
    InvalidateRect(face, nullptr, FALSE);
    rec.Watch({WM_ERASEBKGND});
    PumpMessages();
    EXPECT_TRUE(rec.Take().empty());
}

TEST_F(Paint, ParentPaintingNeverCoversItsChildren) {
    const HWND top = Top("top", 0, 0, 100, 100);
    const HWND child = Child(top, "child", 20, 20, 30, 30);
    colors[top] = kBlue;
    colors[child] = kGreen;
    PumpMessages();
    EXPECT_EQ(Px(5, 5), Rgb(kBlue));
    EXPECT_EQ(Px(25, 25), Rgb(kGreen));
    EXPECT_EQ(Px(49, 49), Rgb(kGreen));
    EXPECT_EQ(Px(50, 50), Rgb(kBlue));
    // The parent repaints all of itself: the child stays as it was.
    InvalidateRect(top, nullptr, TRUE);
    UpdateWindow(top);
    EXPECT_EQ(Px(25, 25), Rgb(kGreen));
    // A DC from GetDC is clipped the same way.
    const HDC dc = GetDC(top);
    const RECT all{0, 0, 100, 100};
    const HBRUSH red = CreateSolidBrush(kRed);
    FillRect(dc, &all, red);
    DeleteObject(red);
    EXPECT_EQ(ReleaseDC(top, dc), 1);
    EXPECT_EQ(Px(5, 5), Rgb(kRed));
    EXPECT_EQ(Px(25, 25), Rgb(kGreen));
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
    const HDC stale = GetDC(child);
    EXPECT_EQ(ReleaseDC(0, stale), 1);
    // A memory DC is no window's to release.
    const HDC memory = CreateCompatibleDC(0);
    EXPECT_EQ(ReleaseDC(0, memory), 0);
    EXPECT_TRUE(DeleteDC(memory));

    const HDC kept = GetDC(child);
    const HDC keptWhole = GetWindowDC(child);
    const HDC parent = GetDC(top);
    DestroyWindow(child);
    EXPECT_EQ(ReleaseDC(child, kept), 0);
    EXPECT_EQ(ReleaseDC(child, keptWhole), 0);
    const RECT all{0, 0, 100, 100};
    const HBRUSH red = CreateSolidBrush(kRed);
    EXPECT_EQ(FillRect(kept, &all, red), 0);
    DeleteObject(red);
    EXPECT_EQ(ReleaseDC(top, parent), 1);  // the parent's DC lives on
}

TEST_F(Paint, SiblingsAboveClipSiblingsBelow) {
    const HWND top = Top("top", 0, 0, 100, 100);
    const HWND upper = Child(top, "upper", 10, 10, 40, 40);  // created first: on top
    const HWND lower = Child(top, "lower", 30, 30, 40, 40);
    colors[top] = kBlue;
    colors[upper] = kGreen;
    colors[lower] = kRed;
    PumpMessages();
    EXPECT_EQ(Px(35, 35), Rgb(kGreen));  // the overlap shows the upper window
    EXPECT_EQ(Px(60, 60), Rgb(kRed));
    RedrawWindow(lower, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(Px(35, 35), Rgb(kGreen));
    // Raising the lower window repaints it over the overlap.
    SetWindowPos(lower, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PumpMessages();
    EXPECT_EQ(Px(35, 35), Rgb(kRed));
}

TEST_F(Paint, MovingAndHidingRepaintWhatWasExposed) {
    const HWND top = Top("top", 0, 0, 100, 100);
    const HWND child = Child(top, "child", 10, 10, 20, 20);
    colors[top] = kBlue;
    colors[child] = kGreen;
    PumpMessages();
    MoveWindow(child, 60, 60, 20, 20, TRUE);
    PumpMessages();
    EXPECT_EQ(Px(15, 15), Rgb(kBlue));  // the old place shows the parent again
    EXPECT_EQ(Px(65, 65), Rgb(kGreen));
    ShowWindow(child, SW_HIDE);
    PumpMessages();
    EXPECT_EQ(Px(65, 65), Rgb(kBlue));
    // A hidden top-level window gives its screen back to the desktop.
    ShowWindow(top, SW_HIDE);
    PumpMessages();
    EXPECT_EQ(Px(50, 50), Rgb(GetSysColor(COLOR_BACKGROUND)));
}

TEST_F(Paint, OverlappingTopLevelWindowsClipByZOrder) {
    const HWND back = Top("back", 0, 0, 80, 80);
    const HWND front = Top("front", 40, 40, 80, 80);
    colors[back] = kBlue;
    colors[front] = kGreen;
    PumpMessages();
    EXPECT_EQ(Px(50, 50), Rgb(kGreen));
    InvalidateRect(back, nullptr, TRUE);
    UpdateWindow(back);
    EXPECT_EQ(Px(50, 50), Rgb(kGreen));
    EXPECT_EQ(Px(10, 10), Rgb(kBlue));
    SetWindowPos(back, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PumpMessages();
    EXPECT_EQ(Px(50, 50), Rgb(kBlue));
}

TEST_F(Paint, BordersShrinkTheClientAreaAndAreDrawnByThePlatform) {
    const HWND top = Top("top", 0, 0, 100, 100);
    colors[top] = kBlue;
    const HWND bordered = Child(top, "b", 10, 10, 30, 30, WS_CHILD | WS_VISIBLE | WS_BORDER);
    const HWND edged =
        Child(top, "e", 50, 10, 30, 30, WS_CHILD | WS_VISIBLE | WS_BORDER, WS_EX_CLIENTEDGE);
    colors[bordered] = kGreen;
    colors[edged] = kGreen;
    PumpMessages();
    RECT rc;
    GetClientRect(bordered, &rc);
    EXPECT_EQ(rc, (RECT{0, 0, 28, 28}));
    GetClientRect(edged, &rc);
    EXPECT_EQ(rc, (RECT{0, 0, 24, 24}));
    POINT p{0, 0};
    ClientToScreen(edged, &p);
    EXPECT_EQ(p, (POINT{53, 13}));
    EXPECT_EQ(Px(10, 10), Rgb(GetSysColor(COLOR_WINDOWFRAME)));
    EXPECT_EQ(Px(39, 39), Rgb(GetSysColor(COLOR_WINDOWFRAME)));
    EXPECT_EQ(Px(11, 11), Rgb(kGreen));
    // Frame, then the sunken edge: shadow and dark shadow at the top left, highlight and light
    // at the bottom right.
    EXPECT_EQ(Px(50, 10), Rgb(GetSysColor(COLOR_WINDOWFRAME)));
    EXPECT_EQ(Px(51, 20), Rgb(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(Px(52, 20), Rgb(GetSysColor(COLOR_3DDKSHADOW)));
    EXPECT_EQ(Px(78, 20), Rgb(GetSysColor(COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(Px(77, 20), Rgb(GetSysColor(COLOR_3DLIGHT)));
    EXPECT_EQ(Px(53, 13), Rgb(kGreen));
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
    EXPECT_EQ(rec.Take(), (std::vector<std::string>{"top:PAINT", "child:PAINT"}));
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    RedrawWindow(top, nullptr, nullptr, RDW_VALIDATE | RDW_ALLCHILDREN);
    EXPECT_FALSE(GetUpdateRect(top, &r, FALSE));
    EXPECT_FALSE(GetUpdateRect(child, &r, FALSE));
}

TEST_F(Paint, MoveAndSizeAreSentOnlyOnChange) {
    const HWND top = Top("top", 0, 0, 100, 100);
    const HWND child = Child(top, "child", 10, 10, 20, 20);
    rec.Watch({WM_MOVE, WM_SIZE});
    MoveWindow(child, 10, 10, 20, 20, TRUE);
    EXPECT_TRUE(rec.Take().empty());
    MoveWindow(child, 12, 10, 20, 20, TRUE);
    EXPECT_EQ(rec.Take(), (std::vector<std::string>{"child:MOVE"}));
    ASSERT_TRUE(SetWindowPos(child, 0, 0, 0, 25, 20, SWP_NOMOVE | SWP_NOZORDER));
    EXPECT_EQ(rec.Take(), (std::vector<std::string>{"child:SIZE"}));
    SetWindowPos(child, 0, 1, 1, 5, 6, SWP_NOZORDER);
    EXPECT_EQ(rec.Take(), (std::vector<std::string>{"child:MOVE", "child:SIZE"}));
    ASSERT_EQ(rec.messages.size(), 0u);
    SetWindowPos(child, 0, 3, -4, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(GET_X_LPARAM(rec.messages[0].lParam), 3);
    EXPECT_EQ(GET_Y_LPARAM(rec.messages[0].lParam), -4);
}

TEST_F(Paint, WindowFromPointFindsTheTopmostVisibleEnabledWindow) {
    const HWND top = Top("top", 0, 0, 100, 100);
    const HWND child = Child(top, "child", 10, 10, 20, 20);
    const HWND inner = Child(child, "inner", 5, 5, 5, 5);
    EXPECT_EQ(WindowFromPoint(POINT{1, 1}), top);
    EXPECT_EQ(WindowFromPoint(POINT{12, 12}), child);
    EXPECT_EQ(WindowFromPoint(POINT{16, 16}), inner);
    EnableWindow(inner, FALSE);
    EXPECT_EQ(WindowFromPoint(POINT{16, 16}), child);
    ShowWindow(child, SW_HIDE);
    EXPECT_EQ(WindowFromPoint(POINT{16, 16}), top);
    EXPECT_EQ(WindowFromPoint(POINT{200, 200}), 0u);
}

}  // namespace
}  // namespace zo::plat::test
