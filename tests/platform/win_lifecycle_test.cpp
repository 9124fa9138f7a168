// Window creation and destruction, the window tree, window longs, text and replaced window
// procedures.
#include <cstring>

#include "win_support.h"

namespace zo::plat::test {
namespace {

using Lifecycle = WinTest;

// Answers one message with a fixed result, letting the rest through.
auto Answer(UINT which, LRESULT result) {
    return [which, result](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        return msg == which ? std::optional<LRESULT>(result) : std::nullopt;
    };
}

TEST_F(Lifecycle, CreationSendsItsMessagesInOrderAndARefusalDestroys) {
    rec.Watch({WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW, WM_DESTROY, WM_NCDESTROY});
    const HWND top = Top("top", 10, 20, 100, 50);
    EXPECT_EQ(rec.Said(), "top:NCCREATE top:CREATE top:SIZE top:MOVE top:SHOWWINDOW");
    EXPECT_TRUE(IsWindowVisible(top));
    char text[16];
    EXPECT_EQ(GetWindowTextA(top, text, sizeof text), 3);
    EXPECT_STREQ(text, "top");
    DestroyWindow(top);
    rec.Said();
    rec.hook = Answer(WM_CREATE, -1);
    EXPECT_EQ(Top("bad", 0, 0, 10, 10), 0u);
    EXPECT_EQ(rec.Said(), "bad:NCCREATE bad:CREATE bad:DESTROY bad:NCDESTROY");
    EXPECT_EQ(GetTopWindow(0), 0u);  // nothing of it left on the screen's window list
    rec.hook = Answer(WM_NCCREATE, FALSE);
    EXPECT_EQ(Top("refused", 0, 0, 10, 10), 0u);
    EXPECT_EQ(rec.Said(), "refused:NCCREATE refused:NCDESTROY");
}

TEST_F(Lifecycle, DestroyGoesParentFirstThenNcDestroyChildrenFirstAndTakesOwnedPopups) {
    const HWND top = Top("top", 0, 0, 200, 200);
    const HWND a = Child(top, "a", 0, 0, 50, 50);
    const HWND a1 = Child(a, "a1", 0, 0, 10, 10);
    const HWND b = Child(top, "b", 60, 0, 50, 50);
    bool aliveAtDestroy = false, goneAtNcDestroy = false;
    rec.hook = [&](HWND h, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (h == top && msg == WM_DESTROY) aliveAtDestroy = IsWindow(a1);
        if (h == top && msg == WM_NCDESTROY) goneAtNcDestroy = !IsWindow(a1);
        return std::nullopt;
    };
    SetFocus(a1);
    SetCapture(a1);
    rec.Watch({WM_DESTROY, WM_NCDESTROY, WM_KILLFOCUS, WM_CAPTURECHANGED});
    ASSERT_TRUE(DestroyWindow(top));
    EXPECT_EQ(rec.Said(),
              "a1:CAPTURECHANGED a1:KILLFOCUS top:DESTROY a:DESTROY a1:DESTROY b:DESTROY "
              "a1:NCDESTROY a:NCDESTROY b:NCDESTROY top:NCDESTROY");
    for (HWND h : {top, a, a1, b})
        EXPECT_FALSE(IsWindow(h));
    EXPECT_TRUE(aliveAtDestroy);
    EXPECT_TRUE(goneAtNcDestroy);
    EXPECT_EQ(GetFocus(), 0u);
    EXPECT_EQ(GetCapture(), 0u);
    // A pop-up created with a child as parent is owned by that child's top-level window, and
    // dies with it.
    const HWND owner = Top("owner", 0, 0, 100, 100);
    const HWND popup = CreateWindowExA(0, kRecClass, "popup", WS_POPUP, 0, 0, 10, 10,
                                       Child(owner, "child", 0, 0, 50, 50), 0, 0, &rec);
    EXPECT_EQ(GetWindow(popup, GW_OWNER), owner);
    EXPECT_EQ(GetParent(popup), owner);
    DestroyWindow(owner);
    EXPECT_FALSE(IsWindow(popup));
}

TEST_F(Lifecycle, DestroyingFromInsideItsOwnProcedureIsSafeAndDropsItsPostedMessages) {
    const HWND top = Top("top", 0, 0, 100, 100);
    PostMessageA(top, WM_USER, 1, 0);
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
    EXPECT_EQ(rec.Said(), "top:DESTROY top:NCDESTROY");
    EXPECT_FALSE(PostMessageA(top, WM_USER, 0, 0));
    MSG m;
    while (PeekMessageA(&m, 0, 0, 0, PM_REMOVE))
        EXPECT_NE(m.hwnd, top);
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
    MSG m;
    // Every call answers 0 (FALSE, no handle); other handle kinds and garbage are no windows.
    ExpectAll(0, {ZO_CALL(IsWindow(top)), ZO_CALL(SendMessageA(top, WM_USER, 0, 0)),
                  ZO_CALL(PostMessageA(top, WM_USER, 0, 0)), ZO_CALL(ShowWindow(top, SW_SHOW)),
                  ZO_CALL(MoveWindow(top, 0, 0, 1, 1, TRUE)),
                  ZO_CALL(SetWindowPos(top, 0, 0, 0, 1, 1, 0)), ZO_CALL(GetClientRect(top, &r)),
                  ZO_CALL(GetWindowRect(top, &r)), ZO_CALL(ClientToScreen(top, &p)),
                  ZO_CALL(ScreenToClient(top, &p)), ZO_CALL(MapWindowPoints(top, 0, &p, 1))});
    ExpectAll(0, {ZO_CALL(InvalidateRect(top, nullptr, TRUE)), ZO_CALL(ValidateRect(top, nullptr)),
                  ZO_CALL(UpdateWindow(top)), ZO_CALL(GetUpdateRect(top, &r, FALSE)),
                  ZO_CALL(BeginPaint(top, &ps)), ZO_CALL(GetDC(top)), ZO_CALL(GetWindowDC(top)),
                  ZO_CALL(SetCapture(top)), ZO_CALL(GetCapture()), ZO_CALL(SetFocus(top)),
                  ZO_CALL(SetTimer(top, 1, 100, nullptr)), ZO_CALL(KillTimer(top, 1))});
    ExpectAll(0, {ZO_CALL(SetWindowTextA(top, "y")), ZO_CALL(GetWindowTextA(top, buf, sizeof buf)),
                  ZO_CALL(GetWindowTextLengthA(top)), ZO_CALL(GetWindowLongA(top, GWL_WNDPROC)),
                  ZO_CALL(SetWindowLongA(top, GWL_USERDATA, 1)),
                  ZO_CALL(CallWindowProcA(static_cast<WNDPROC>(nullptr), top, WM_USER, 0, 0)),
                  ZO_CALL(GetParent(top)), ZO_CALL(SetParent(top, other)),
                  ZO_CALL(GetWindow(top, GW_CHILD)), ZO_CALL(EnableWindow(top, FALSE)),
                  ZO_CALL(IsWindowEnabled(top)), ZO_CALL(IsWindowVisible(top))});
    ExpectAll(
        0, {ZO_CALL(DestroyWindow(top)), ZO_CALL(PeekMessageA(&m, top, 0, 0, PM_REMOVE)),
            ZO_CALL(CreateWindowExA(0, kRecClass, "c", WS_CHILD, 0, 0, 1, 1, top, 0, 0, 0)),
            ZO_CALL(IsWindow(0)), ZO_CALL(IsWindow(0x12345678u)), ZO_CALL(IsWindow(GetDC(other)))});
    EXPECT_EQ(GetMessageA(&m, top, 0, 0), -1);
    EXPECT_EQ(r, (RECT{1, 2, 3, 4}));
    EXPECT_EQ(p.x, 5);
    EXPECT_STREQ(buf, "");
    EXPECT_NE(GetFocus(), top);
    // The live window was not touched by any of it.
    EXPECT_TRUE(IsWindowVisible(other));
    EXPECT_EQ(GetWindowTextLengthA(other), 5);
}

TEST_F(Lifecycle, BadClassesParentsAndLongsAreRefused) {
    const HWND w = Top("w", 0, 0, 10, 10);
    const HWND c = Child(w, "c", 0, 0, 5, 5);
    // Class names compare without regard to case.
    const WNDCLASSA same{.lpfnWndProc = RecordingProc, .lpszClassName = "zotestrecorder"};
    const WNDCLASSA noProc{.lpszClassName = "Fresh"};
    ExpectAll(0, {ZO_CALL(RegisterClassA(&same)), ZO_CALL(RegisterClassA(&noProc)),
                  ZO_CALL(RegisterClassA(nullptr)),
                  ZO_CALL(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, 0, 0, 0, 0)),
                  ZO_CALL(UnregisterClassA(kRecClass, 0)),              // still in use
                  ZO_CALL(SetParent(w, c)),                             // its own descendant
                  ZO_CALL(SetWindowPos(c, w, 0, 0, 0, 0, SWP_NOMOVE)),  // not a sibling
                  ZO_CALL(GetWindowLongA(c, 9999)), ZO_CALL(SetWindowLongA(c, GWL_WNDPROC, 0))});
    EXPECT_EQ(GetWindowLongA(c, GWL_WNDPROC), reinterpret_cast<LONG_PTR>(&RecordingProc));
    char name[32];
    EXPECT_EQ(GetClassNameA(w, name, sizeof name), static_cast<int>(std::strlen(kRecClass)));
    EXPECT_STREQ(name, kRecClass);
}

TEST_F(Lifecycle, ZOrderFollowsCreationSetWindowPosAndTopmostAndEnumerationFollowsIt) {
    const HWND top = Top("top", 0, 0, 100, 100);
    const HWND a = Child(top, "a", 0, 0, 10, 10);
    const HWND a1 = Child(a, "a1", 0, 0, 5, 5);
    const HWND b = Child(top, "b", 0, 0, 10, 10);
    const HWND c = Child(top, "c", 0, 0, 10, 10);
    // Enumeration visits the descendants depth first, in z-order.
    std::vector<HWND> seen;
    const auto add = [](HWND h, LPARAM lp) {
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
        return TRUE;
    };
    EnumChildWindows(top, add, reinterpret_cast<LPARAM>(&seen));
    EXPECT_EQ(seen, (std::vector<HWND>{a, a1, b, c}));
    const auto order = [&] {  // the children from the top, then the last one's previous
        std::string s;
        for (HWND h = GetWindow(top, GW_CHILD); h != 0; h = GetWindow(h, GW_HWNDNEXT))
            s += rec.names[h];
        const HWND last = GetWindow(GetWindow(top, GW_CHILD), GW_HWNDLAST);
        return s + "/" + rec.names[GetWindow(last, GW_HWNDPREV)];
    };
    const UINT keep = SWP_NOMOVE | SWP_NOSIZE;
    EXPECT_EQ(order(), "abc/b");  // the first child created is on top
    SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, keep);
    EXPECT_EQ(order(), "cab/a");
    SetWindowPos(c, HWND_BOTTOM, 0, 0, 0, 0, keep);
    EXPECT_EQ(order(), "abc/b");
    SetWindowPos(a, b, 0, 0, 0, 0, keep);  // a right below b
    EXPECT_EQ(order(), "bac/a");
    const HWND t = Top("t", 0, 0, 10, 10);
    SetWindowPos(t, HWND_TOPMOST, 0, 0, 0, 0, keep);
    const HWND plain = Top("plain", 0, 0, 10, 10);
    EXPECT_EQ(GetTopWindow(0), t);
    SetWindowPos(plain, HWND_TOP, 0, 0, 0, 0, keep);
    EXPECT_EQ(GetTopWindow(0), t);
    EXPECT_NE(GetWindowLongA(t, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    SetWindowPos(t, HWND_NOTOPMOST, 0, 0, 0, 0, keep);
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
    EXPECT_EQ(WindowRect(c).left, 105);
}

TEST_F(Lifecycle, IdsAndStylesChangeAndTextIsCutToTheBuffer) {
    const HWND w = Child(Top("top", 0, 0, 50, 50), "child", 0, 0, 10, 10);
    EXPECT_EQ(SetWindowLongA(w, GWL_ID, 42), 0);  // the only way an id changes after creation
    EXPECT_EQ(GetWindowLongA(w, GWL_ID), 42);
    const LONG_PTR style = GetWindowLongA(w, GWL_STYLE);
    EXPECT_NE(style & WS_CHILD, 0);
    SetWindowLongA(w, GWL_STYLE, style | WS_BORDER);
    EXPECT_NE(GetWindowLongA(w, GWL_STYLE) & WS_BORDER, 0);
    EXPECT_EQ(ClientRect(w).right, 8);  // the border takes one pixel on each side
    EXPECT_TRUE(SetWindowTextA(w, "hello world"));
    char small[6];
    EXPECT_EQ(GetWindowTextA(w, small, sizeof small), 5);
    EXPECT_STREQ(small, "hello");
    EXPECT_EQ(GetWindowTextLengthA(w), 11);
}

// A replaced window procedure: sees chosen messages first, chains to the old one, and removes
// itself when the window is finally destroyed.
thread_local LONG_PTR tlsOld = 0;
thread_local std::string tlsSeen;

LRESULT SubclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_USER) {
        tlsSeen += "USER ";
        if (wp == 1) return 99;  // swallowed: the old procedure never sees it
    }
    if (msg == WM_NCDESTROY) {
        tlsSeen += "NCDESTROY";
        EXPECT_EQ(SetWindowLongA(h, GWL_WNDPROC, tlsOld),
                  reinterpret_cast<LONG_PTR>(&SubclassProc));
    }
    return CallWindowProcA(tlsOld, h, msg, wp, lp);
}

TEST_F(Lifecycle, ReplacedProcedureChainsAndUnhooksOnNcDestroy) {
    const HWND w = Top("w", 0, 0, 50, 50);
    tlsSeen.clear();
    tlsOld = SetWindowLongA(w, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc));
    EXPECT_EQ(tlsOld, reinterpret_cast<LONG_PTR>(&RecordingProc));
    rec.Watch({WM_USER, WM_NCDESTROY});
    EXPECT_EQ(SendMessageA(w, WM_USER, 0, 0), 0);
    EXPECT_EQ(SendMessageA(w, WM_USER, 1, 0), 99);
    EXPECT_EQ(rec.Said(), "w:USER");
    DestroyWindow(w);
    EXPECT_EQ(tlsSeen, "USER USER NCDESTROY");
    EXPECT_EQ(rec.Said(), "w:NCDESTROY");  // the original still got it, through the chain
}

}  // namespace
}  // namespace zo::plat::test
