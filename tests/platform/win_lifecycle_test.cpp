// Window creation and destruction, the window tree, window longs, text and replaced window
// procedures.
#include <cstring>

#include "win_support.h"

namespace zo::plat::test {
namespace {

using Lifecycle = WinTest;

TEST_F(Lifecycle, CreationSendsNcCreateCreateSizeMoveInOrder) {
    rec.Watch({WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW});
    const HWND top = Top("top", 10, 20, 100, 50);
    ASSERT_NE(top, 0u);
    EXPECT_EQ(rec.Take(), (std::vector<std::string>{"top:NCCREATE", "top:CREATE", "top:SIZE",
                                                    "top:MOVE", "top:SHOWWINDOW"}));
    EXPECT_TRUE(IsWindowVisible(top));
    char text[16];
    EXPECT_EQ(GetWindowTextA(top, text, sizeof text), 3);
    EXPECT_STREQ(text, "top");
}

TEST_F(Lifecycle, CreateReturningMinusOneAbortsAndDestroys) {
    rec.Watch({WM_CREATE, WM_DESTROY, WM_NCDESTROY});
    rec.hook = [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_CREATE) return -1;
        return std::nullopt;
    };
    EXPECT_EQ(Top("bad", 0, 0, 10, 10), 0u);
    EXPECT_EQ(rec.Take(), (std::vector<std::string>{"bad:CREATE", "bad:DESTROY", "bad:NCDESTROY"}));
    rec.hook = nullptr;
    // Nothing of the failed window is left on the screen's window list.
    EXPECT_EQ(GetTopWindow(0), 0u);
}

TEST_F(Lifecycle, NcCreateFalseFailsWithoutCreate) {
    rec.Watch({WM_CREATE, WM_NCDESTROY});
    rec.hook = [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_NCCREATE) return FALSE;
        return std::nullopt;
    };
    EXPECT_EQ(Top("refused", 0, 0, 10, 10), 0u);
    EXPECT_EQ(rec.Take(), (std::vector<std::string>{"refused:NCDESTROY"}));
}

TEST_F(Lifecycle, DestroyOrderParentFirstThenNcDestroyChildrenFirst) {
    const HWND top = Top("top", 0, 0, 200, 200);
    const HWND a = Child(top, "a", 0, 0, 50, 50);
    const HWND a1 = Child(a, "a1", 0, 0, 10, 10);
    const HWND b = Child(top, "b", 60, 0, 50, 50);
    rec.Watch({WM_DESTROY, WM_NCDESTROY});
    ASSERT_TRUE(DestroyWindow(top));
    EXPECT_EQ(rec.Take(), (std::vector<std::string>{"top:DESTROY", "a:DESTROY", "a1:DESTROY",
                                                    "b:DESTROY", "a1:NCDESTROY", "a:NCDESTROY",
                                                    "b:NCDESTROY", "top:NCDESTROY"}));
    for (HWND h : {top, a, a1, b})
        EXPECT_FALSE(IsWindow(h));
}

TEST_F(Lifecycle, ChildrenStillExistDuringParentsDestroy) {
    const HWND top = Top("top", 0, 0, 200, 200);
    const HWND child = Child(top, "child", 0, 0, 50, 50);
    bool childAliveAtDestroy = false;
    bool childGoneAtNcDestroy = false;
    rec.hook = [&](HWND h, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (h == top && msg == WM_DESTROY) childAliveAtDestroy = IsWindow(child);
        if (h == top && msg == WM_NCDESTROY) childGoneAtNcDestroy = !IsWindow(child);
        return std::nullopt;
    };
    DestroyWindow(top);
    EXPECT_TRUE(childAliveAtDestroy);
    EXPECT_TRUE(childGoneAtNcDestroy);
}

TEST_F(Lifecycle, DestroyingFromInsideItsOwnProcedureIsSafe) {
    const HWND top = Top("top", 0, 0, 100, 100);
    rec.hook = [](HWND h, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_USER) {
            DestroyWindow(h);
            DestroyWindow(h);  // a second call on the way out is harmless
            return 7;
        }
        if (msg == WM_DESTROY) DestroyWindow(h);  // re-entrant call while dying
        return std::nullopt;
    };
    rec.Watch({WM_DESTROY, WM_NCDESTROY});
    EXPECT_EQ(SendMessageA(top, WM_USER, 0, 0), 7);
    EXPECT_FALSE(IsWindow(top));
    EXPECT_EQ(rec.Take(), (std::vector<std::string>{"top:DESTROY", "top:NCDESTROY"}));
    // A posted message to the dead window is refused; one posted before is dropped.
    EXPECT_FALSE(PostMessageA(top, WM_USER, 0, 0));
}

TEST_F(Lifecycle, PostedMessagesOfADestroyedWindowAreDropped) {
    const HWND top = Top("top", 0, 0, 100, 100);
    PostMessageA(top, WM_USER, 1, 0);
    DestroyWindow(top);
    MSG m;
    while (PeekMessageA(&m, 0, 0, 0, PM_REMOVE))
        EXPECT_NE(m.hwnd, top);
}

TEST_F(Lifecycle, DestroyReleasesFocusAndCaptureWithNotifications) {
    const HWND top = Top("top", 0, 0, 100, 100);
    const HWND child = Child(top, "child", 0, 0, 50, 50);
    SetFocus(child);
    SetCapture(child);
    rec.Watch({WM_KILLFOCUS, WM_CAPTURECHANGED, WM_DESTROY});
    DestroyWindow(top);
    EXPECT_EQ(rec.Take(), (std::vector<std::string>{"child:CAPTURECHANGED", "child:KILLFOCUS",
                                                    "top:DESTROY", "child:DESTROY"}));
    EXPECT_EQ(GetFocus(), 0u);
    EXPECT_EQ(GetCapture(), 0u);
}

TEST_F(Lifecycle, OwnedPopupsDieWithTheirOwner) {
    const HWND owner = Top("owner", 0, 0, 100, 100);
    const HWND child = Child(owner, "child", 0, 0, 50, 50);
    // A pop-up created with a child as parent is owned by that child's top-level window.
    const HWND popup =
        CreateWindowExA(0, kRecClass, "popup", WS_POPUP, 0, 0, 10, 10, child, 0, 0, &rec);
    EXPECT_EQ(GetWindow(popup, GW_OWNER), owner);
    EXPECT_EQ(GetParent(popup), owner);
    DestroyWindow(owner);
    EXPECT_FALSE(IsWindow(popup));
}

TEST_F(Lifecycle, StaleHandlesFailSoftlyEverywhere) {
    const HWND top = Top("top", 0, 0, 100, 100);
    DestroyWindow(top);
    // The same slot is reused; the old handle must not reach the new window.
    const HWND other = Top("other", 0, 0, 100, 100);
    ASSERT_NE(other, top);
    RECT r{1, 2, 3, 4};
    POINT p{5, 6};
    char buf[8] = "x";
    PAINTSTRUCT ps;
    EXPECT_FALSE(IsWindow(top));
    EXPECT_EQ(SendMessageA(top, WM_USER, 0, 0), 0);
    EXPECT_FALSE(PostMessageA(top, WM_USER, 0, 0));
    EXPECT_FALSE(ShowWindow(top, SW_SHOW));
    EXPECT_FALSE(MoveWindow(top, 0, 0, 1, 1, TRUE));
    EXPECT_FALSE(SetWindowPos(top, 0, 0, 0, 1, 1, 0));
    EXPECT_FALSE(GetClientRect(top, &r));
    EXPECT_FALSE(GetWindowRect(top, &r));
    EXPECT_FALSE(ClientToScreen(top, &p));
    EXPECT_FALSE(ScreenToClient(top, &p));
    EXPECT_EQ(p.x, 5);
    EXPECT_EQ(MapWindowPoints(top, 0, &p, 1), 0);
    EXPECT_FALSE(InvalidateRect(top, nullptr, TRUE));
    EXPECT_FALSE(ValidateRect(top, nullptr));
    EXPECT_FALSE(UpdateWindow(top));
    EXPECT_FALSE(GetUpdateRect(top, &r, FALSE));
    EXPECT_EQ(BeginPaint(top, &ps), 0u);
    EXPECT_EQ(GetDC(top), 0u);
    EXPECT_EQ(GetWindowDC(top), 0u);
    EXPECT_EQ(SetCapture(top), 0u);
    EXPECT_EQ(GetCapture(), 0u);
    EXPECT_EQ(SetFocus(top), 0u);
    EXPECT_NE(GetFocus(), top);
    EXPECT_EQ(SetTimer(top, 1, 100, nullptr), 0u);
    EXPECT_FALSE(KillTimer(top, 1));
    EXPECT_FALSE(SetWindowTextA(top, "y"));
    EXPECT_EQ(GetWindowTextA(top, buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(GetWindowTextLengthA(top), 0);
    EXPECT_EQ(GetWindowLongA(top, GWL_WNDPROC), 0);
    EXPECT_EQ(SetWindowLongA(top, GWL_USERDATA, 1), 0);
    EXPECT_EQ(CallWindowProcA(static_cast<WNDPROC>(nullptr), top, WM_USER, 0, 0), 0);
    EXPECT_EQ(GetParent(top), 0u);
    EXPECT_EQ(SetParent(top, other), 0u);
    EXPECT_EQ(GetWindow(top, GW_CHILD), 0u);
    EXPECT_FALSE(EnableWindow(top, FALSE));
    EXPECT_FALSE(IsWindowEnabled(top));
    EXPECT_FALSE(IsWindowVisible(top));
    EXPECT_FALSE(DestroyWindow(top));
    EXPECT_EQ(CreateWindowExA(0, kRecClass, "c", WS_CHILD, 0, 0, 1, 1, top, 0, 0, &rec), 0u);
    MSG m;
    EXPECT_EQ(GetMessageA(&m, top, 0, 0), -1);
    EXPECT_FALSE(PeekMessageA(&m, top, 0, 0, PM_REMOVE));
    // Handles of other kinds and garbage are not windows either.
    EXPECT_FALSE(IsWindow(0));
    EXPECT_FALSE(IsWindow(0x12345678u));
    EXPECT_FALSE(IsWindow(GetDC(other)));
    // The live window was not touched by any of it.
    EXPECT_TRUE(IsWindowVisible(other));
    EXPECT_EQ(GetWindowTextLengthA(other), 5);
}

TEST_F(Lifecycle, ClassRegistrationRules) {
    WNDCLASSA wc;
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = "zotestrecorder";  // names compare without regard to case
    EXPECT_EQ(RegisterClassA(&wc), 0);
    wc.lpszClassName = "Fresh";
    wc.lpfnWndProc = nullptr;
    EXPECT_EQ(RegisterClassA(&wc), 0);
    EXPECT_EQ(RegisterClassA(nullptr), 0);
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, 0, 0, 0, nullptr), 0u);
    const HWND w = Top("w", 0, 0, 10, 10);
    EXPECT_FALSE(UnregisterClassA(kRecClass, 0));  // still in use
    char name[32];
    EXPECT_EQ(GetClassNameA(w, name, sizeof name), static_cast<int>(std::strlen(kRecClass)));
    EXPECT_STREQ(name, kRecClass);
}

TEST_F(Lifecycle, ChildZOrderFollowsCreationAndSetWindowPos) {
    const HWND top = Top("top", 0, 0, 100, 100);
    const HWND a = Child(top, "a", 0, 0, 10, 10);
    const HWND b = Child(top, "b", 0, 0, 10, 10);
    const HWND c = Child(top, "c", 0, 0, 10, 10);
    // The first child created is on top.
    EXPECT_EQ(GetWindow(top, GW_CHILD), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
    EXPECT_EQ(GetWindow(c, GW_HWNDPREV), b);
    EXPECT_EQ(GetWindow(a, GW_HWNDLAST), c);
    SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(top, GW_CHILD), c);
    SetWindowPos(c, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(top, GW_CHILD), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDLAST), c);
    SetWindowPos(a, b, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);  // a right below b
    EXPECT_EQ(GetWindow(top, GW_CHILD), b);
    EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), a);
    // A window that is not a sibling cannot be the insertion point.
    EXPECT_FALSE(SetWindowPos(a, top, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
}

TEST_F(Lifecycle, TopmostWindowsStayAboveOthers) {
    const HWND t = Top("t", 0, 0, 10, 10);
    SetWindowPos(t, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    const HWND plain = Top("plain", 0, 0, 10, 10);
    EXPECT_EQ(GetTopWindow(0), t);
    SetWindowPos(plain, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetTopWindow(0), t);
    EXPECT_NE(GetWindowLongA(t, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    SetWindowPos(t, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindowLongA(t, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

TEST_F(Lifecycle, SetParentMovesTheWindowBetweenParents) {
    const HWND p1 = Top("p1", 0, 0, 100, 100);
    const HWND p2 = Top("p2", 100, 0, 100, 100);
    const HWND c = Child(p1, "c", 5, 5, 10, 10);
    EXPECT_EQ(SetParent(c, p2), p1);
    EXPECT_EQ(GetParent(c), p2);
    EXPECT_EQ(GetWindow(p1, GW_CHILD), 0u);
    EXPECT_TRUE(IsChild(p2, c));
    RECT r;
    GetWindowRect(c, &r);
    EXPECT_EQ(r.left, 105);
    // A window cannot become its own descendant's child.
    EXPECT_EQ(SetParent(p2, c), 0u);
}

TEST_F(Lifecycle, WindowLongsAndText) {
    const HWND w = Child(Top("top", 0, 0, 50, 50), "child", 0, 0, 10, 10);
    EXPECT_EQ(SetWindowLongA(w, GWL_ID, 42), 0);
    EXPECT_EQ(GetWindowLongA(w, GWL_ID), 42);
    const LONG_PTR style = GetWindowLongA(w, GWL_STYLE);
    EXPECT_NE(style & WS_CHILD, 0);
    SetWindowLongA(w, GWL_STYLE, style | WS_BORDER);
    EXPECT_NE(GetWindowLongA(w, GWL_STYLE) & WS_BORDER, 0);
    RECT rc;
    GetClientRect(w, &rc);
    EXPECT_EQ(rc.right, 8);  // the border takes one pixel on each side
    EXPECT_TRUE(SetWindowTextA(w, "hello world"));
    char small[6];
    EXPECT_EQ(GetWindowTextA(w, small, sizeof small), 5);
    EXPECT_STREQ(small, "hello");
    EXPECT_EQ(GetWindowTextLengthA(w), 11);
    EXPECT_EQ(GetWindowLongA(w, 9999), 0);            // outside the extra bytes
    EXPECT_EQ(SetWindowLongA(w, GWL_WNDPROC, 0), 0);  // a null procedure is refused
    EXPECT_EQ(GetWindowLongA(w, GWL_WNDPROC), reinterpret_cast<LONG_PTR>(&RecordingProc));
}

TEST_F(Lifecycle, FontMessagesHaveDefaultHandling) {
    const HWND w = Top("w", 0, 0, 50, 50);
    const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(SendMessageA(w, WM_GETFONT, 0, 0), 0);
    SendMessageA(w, WM_SETFONT, font, 0);
    EXPECT_EQ(static_cast<HFONT>(SendMessageA(w, WM_GETFONT, 0, 0)), font);
}

// A replaced window procedure: sees chosen messages first, chains to the old one, and removes
// itself when the window is finally destroyed.
struct Subclass {
    LONG_PTR old = 0;
    std::vector<std::string> seen;
};
thread_local Subclass* tlsSub = nullptr;

LRESULT SubclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Subclass& s = *tlsSub;
    if (msg == WM_USER) {
        s.seen.push_back("USER");
        if (wp == 1) return 99;  // swallowed: the old procedure never sees it
    }
    if (msg == WM_NCDESTROY) {
        s.seen.push_back("NCDESTROY");
        const LONG_PTR mine = SetWindowLongA(h, GWL_WNDPROC, s.old);
        EXPECT_EQ(mine, reinterpret_cast<LONG_PTR>(&SubclassProc));
    }
    return CallWindowProcA(s.old, h, msg, wp, lp);
}

TEST_F(Lifecycle, ReplacedProcedureChainsAndUnhooksOnNcDestroy) {
    Subclass sub;
    tlsSub = &sub;
    const HWND w = Top("w", 0, 0, 50, 50);
    sub.old = SetWindowLongA(w, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc));
    EXPECT_EQ(sub.old, reinterpret_cast<LONG_PTR>(&RecordingProc));
    rec.Watch({WM_USER, WM_NCDESTROY});
    EXPECT_EQ(SendMessageA(w, WM_USER, 0, 0), 0);
    EXPECT_EQ(SendMessageA(w, WM_USER, 1, 0), 99);
    EXPECT_EQ(rec.Take(), (std::vector<std::string>{"w:USER"}));
    DestroyWindow(w);
    EXPECT_EQ(sub.seen, (std::vector<std::string>{"USER", "USER", "NCDESTROY"}));
    // The original procedure still got the final message, through the chain.
    EXPECT_EQ(rec.Take(), (std::vector<std::string>{"w:NCDESTROY"}));
    tlsSub = nullptr;
}

TEST_F(Lifecycle, EnumerationVisitsDescendantsInZOrder) {
    const HWND top = Top("top", 0, 0, 100, 100);
    const HWND a = Child(top, "a", 0, 0, 10, 10);
    const HWND a1 = Child(a, "a1", 0, 0, 5, 5);
    const HWND b = Child(top, "b", 0, 0, 10, 10);
    std::vector<HWND> seen;
    EnumChildWindows(
        top,
        [](HWND h, LPARAM lp) {
            reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&seen));
    EXPECT_EQ(seen, (std::vector<HWND>{a, a1, b}));
}

}  // namespace
}  // namespace zo::plat::test
