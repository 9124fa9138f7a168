// Update regions, WM_PAINT generation, erasing, clipping of windows against each other in the
// framebuffer, exposure on move and hide, frames, and move/size notifications.
#include "win_support.h"

namespace zo::plat::test {
namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255), kGreen = RGB(0, 255, 0), kRed = RGB(255, 0, 0);

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
    std::map<HWND, COLORREF> colors;
    std::vector<RECT> paints;
};

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
    EXPECT_EQ(Px(10, 10), 0x0000FFu);
    UpdateWindow(w);  // nothing left to paint
    const RECT part{0, 0, 5, 5};
    InvalidateRect(w, &part, FALSE);
    ValidateRect(w, &part);
    UpdateWindow(w);
    EXPECT_EQ(paints.size(), 1u);
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

TEST_F(Paint, MoveAndSizeAreSentOnlyOnChangeAndWindowFromPointFindsTheTopmostVisibleEnabled) {
    const HWND top = Top("top", 0, 0, 100, 100);
    const HWND child = Child(top, "child", 10, 10, 20, 20);
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
    const LPARAM lp = rec.messages[0].lParam;
    EXPECT_EQ(std::pair(GET_X_LPARAM(lp), GET_Y_LPARAM(lp)), std::pair(3, -4));
    // With a border the client starts inside the frame: growing it alone moves nothing.
    const HWND framed = Child(top, "framed", 50, 50, 20, 20, WS_CHILD | WS_VISIBLE | WS_BORDER);
    rec.Said();
    SetWindowPos(framed, 0, 0, 0, 30, 30, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(rec.Said(), "framed:SIZE");
    MoveWindow(child, 10, 10, 20, 20, TRUE);
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
