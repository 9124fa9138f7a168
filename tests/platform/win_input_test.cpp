// Mouse and keyboard: routing, capture, focus, double clicks, key messages and their
// parameters, characters, key state and mouse-leave tracking.
#include "win_support.h"

namespace zo::plat::test {
namespace {

class Input : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        top = Top("top", 0, 0, 200, 200);
        a = Child(top, "a", 10, 10, 50, 50);
        b = Child(top, "b", 100, 10, 50, 50, WS_CHILD | WS_VISIBLE, 0, kRecClassDbl);
        PumpMessages();
    }
    // Pumps everything and returns what was recorded of these messages.
    std::string Pump(std::set<UINT> msgs) {
        rec.Watch(std::move(msgs));
        PumpMessages();
        return Joined(rec.log);
    }
    // "x,y" of the recorded message i's lParam.
    std::string Pos(size_t i) const {
        const LPARAM lp = rec.messages.at(i).lParam;
        return std::to_string(GET_X_LPARAM(lp)) + "," + std::to_string(GET_Y_LPARAM(lp));
    }
    HWND top = 0, a = 0, b = 0;
};

const std::set<UINT> kMouse = {WM_MOUSEMOVE,   WM_LBUTTONDOWN, WM_LBUTTONUP,   WM_LBUTTONDBLCLK,
                               WM_RBUTTONDOWN, WM_RBUTTONUP,   WM_MBUTTONDOWN, WM_MBUTTONUP};

TEST_F(Input, MouseGoesToTheWindowUnderThePointerInClientCoordinatesWithModifiers) {
    rec.Watch(kMouse);
    InjectMouseMove(20, 30);
    InjectMouseButton(VK_RBUTTON, true);
    InjectMouseButton(VK_RBUTTON, false);
    InjectMouseMove(5, 6);
    PumpMessages();
    EXPECT_EQ(Joined(rec.log), "a:MOUSEMOVE a:RBUTTONDOWN a:RBUTTONUP top:MOUSEMOVE");
    EXPECT_EQ(Pos(0) + " " + Pos(3), "10,20 5,6");
    EXPECT_EQ(rec.messages[1].wParam, MK_RBUTTON);
    EXPECT_EQ(rec.messages[2].wParam, 0u);  // the button is up in its own release
    // Moves waiting together are coalesced into the last one.
    InjectKey(VK_SHIFT, true);
    InjectKey(VK_CONTROL, true);
    InjectMouseMove(11, 11);
    InjectMouseMove(13, 14);
    EXPECT_EQ(Pump(kMouse), "a:MOUSEMOVE");
    EXPECT_EQ(Pos(0), "3,4");
    EXPECT_EQ(rec.messages[0].wParam, MK_SHIFT | MK_CONTROL);
}

TEST_F(Input, CaptureRoutesMovesOutsideWithNegativeCoordinatesAndTellsTheLoser) {
    EXPECT_EQ(SetCapture(a), 0u);
    EXPECT_EQ(GetCapture(), a);
    rec.Watch(kMouse);
    InjectMouseMove(2, 3);  // left of and above a's client area; pumped one at a time
    PumpMessages();
    InjectMouseMove(120, 20);  // over b
    PumpMessages();
    ASSERT_EQ(Joined(rec.log), "a:MOUSEMOVE a:MOUSEMOVE");
    EXPECT_EQ(Pos(0) + " " + Pos(1), "-8,-7 110,10");
    rec.Watch({WM_CAPTURECHANGED});
    EXPECT_EQ(SetCapture(b), a);
    EXPECT_EQ(SetCapture(b), b);  // again to itself: still told
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(GetCapture(), 0u);
    EXPECT_EQ(Joined(rec.log), "a:CAPTURECHANGED b:CAPTURECHANGED b:CAPTURECHANGED");
    EXPECT_EQ(static_cast<HWND>(rec.messages[0].lParam), b);
    EXPECT_EQ(rec.messages[2].lParam, 0);
    InjectMouseMove(121, 20);
    EXPECT_EQ(Pump(kMouse), "b:MOUSEMOVE");
    // The capture window sees the new owner when it is told.
    HWND seen = 1;
    rec.hook = [&](HWND h, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_CAPTURECHANGED && h == a) seen = GetCapture();
        return std::nullopt;
    };
    SetCapture(a);
    ReleaseCapture();
    EXPECT_EQ(seen, 0u);
    // Hiding a window takes the capture only from itself and its children.
    SetCapture(a);
    ShowWindow(b, SW_HIDE);
    EXPECT_EQ(GetCapture(), a);
    ShowWindow(a, SW_HIDE);
    EXPECT_EQ(GetCapture(), 0u);
}

TEST_F(Input, FocusMessagesComeKillThenSetWithTheOtherWindow) {
    SetFocus(a);
    rec.Watch({WM_SETFOCUS, WM_KILLFOCUS});
    EXPECT_EQ(SetFocus(b), a);
    EXPECT_EQ(static_cast<HWND>(rec.messages[0].wParam), b);
    EXPECT_EQ(static_cast<HWND>(rec.messages[1].wParam), a);
    EXPECT_EQ(rec.Said(), "a:KILLFOCUS b:SETFOCUS");
    EXPECT_EQ(SetFocus(b), b);  // no change, no messages
    EXPECT_EQ(SetFocus(0), b);
    EXPECT_EQ(rec.Said(), "b:KILLFOCUS");
    EXPECT_EQ(GetFocus(), 0u);
    // Disabled windows cannot take the focus, and disabling the focus window drops it.
    EnableWindow(a, FALSE);
    EXPECT_EQ(SetFocus(a), 0u);
    EXPECT_EQ(GetFocus(), 0u);
    EnableWindow(a, TRUE);
    SetFocus(a);
    EnableWindow(a, FALSE);
    EXPECT_EQ(GetFocus(), 0u);
}

TEST_F(Input, KeysGoToTheFocusWindowWithTheirParameterBitsAndCharacters) {
    SetFocus(b);
    rec.Watch({WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP});
    InjectKey('A', true);
    InjectKey('A', true);  // held: a repeat
    InjectKey('A', false);
    InjectKey(VK_LEFT, true);
    PumpMessages();
    std::vector<std::uint32_t> bits;
    for (const MSG& m : rec.messages)
        bits.push_back(static_cast<std::uint32_t>(m.lParam));
    EXPECT_EQ(rec.messages[0].wParam, static_cast<WPARAM>('A'));
    // Repeat 1 and scan code 0x1E; previous state down; and transition; an extended key.
    EXPECT_EQ(bits,
              (std::vector<std::uint32_t>{0x001E0001u, 0x401E0001u, 0xC01E0001u, 0x014B0001u}));
    EXPECT_EQ(rec.Said(), "b:KEYDOWN b:KEYDOWN b:KEYUP b:KEYDOWN");
    InjectKey(VK_MENU, true);
    InjectKey('F', true);
    PumpMessages();
    EXPECT_NE(static_cast<std::uint32_t>(rec.messages[1].lParam) & (1u << 29), 0u);
    EXPECT_EQ(rec.Said(), "b:SYSKEYDOWN b:SYSKEYDOWN");
    InjectKey('F', false);
    InjectKey(VK_MENU, false);
    // TranslateMessage makes characters with the shift state; arrows make none.
    rec.Watch({WM_CHAR});
    Keys("h1 Shift+h Shift+1 Shift+/ Left Return");
    std::string chars;
    for (const MSG& m : rec.messages)
        chars += static_cast<char>(m.wParam);
    EXPECT_EQ(chars, "h1H!?\r");
}

TEST_F(Input, MouseLeaveComesOnceAfterTracking) {
    InjectMouseMove(20, 20);
    PumpMessages();
    TRACKMOUSEEVENT tme{.dwFlags = TME_LEAVE, .hwndTrack = a};
    ASSERT_TRUE(TrackMouseEvent(&tme));
    InjectMouseMove(25, 25);
    EXPECT_EQ(Pump({WM_MOUSELEAVE}), "");  // still inside
    InjectMouseMove(120, 20);
    EXPECT_EQ(Pump({WM_MOUSELEAVE}), "a:MOUSELEAVE");
    InjectMouseMove(20, 20);
    InjectMouseMove(120, 20);
    EXPECT_EQ(Pump({WM_MOUSELEAVE}), "");  // tracking ended with the first leave
    // Asking while the pointer is already elsewhere gives the leave at once.
    ASSERT_TRUE(TrackMouseEvent(&tme));
    EXPECT_EQ(Pump({WM_MOUSELEAVE}), "a:MOUSELEAVE");
    // Cancelled tracking gives nothing.
    InjectMouseMove(20, 20);
    PumpMessages();
    TrackMouseEvent(&tme);
    tme.dwFlags = TME_LEAVE | TME_CANCEL;
    TrackMouseEvent(&tme);
    InjectMouseMove(120, 20);
    EXPECT_EQ(Pump({WM_MOUSELEAVE}), "");
    tme.cbSize = 3;
    EXPECT_FALSE(TrackMouseEvent(&tme));
}

TEST_F(Input, DisabledWindowsGetNoMouseInputAndOnlyRealMovesOfTheCursorAreReported) {
    EXPECT_FALSE(EnableWindow(top, FALSE));  // it was enabled
    InjectClick(20, 20, VK_LBUTTON);
    EXPECT_EQ(Pump(kMouse), "");
    EXPECT_TRUE(EnableWindow(top, TRUE));  // it was disabled
    // The pointer has not moved since: the click comes without a move.
    InjectClick(20, 20, VK_LBUTTON);
    EXPECT_EQ(Pump(kMouse), "a:LBUTTONDOWN a:LBUTTONUP");
    InjectMouseMove(20, 20);
    SetCursorPos(20, 20);
    EXPECT_EQ(Pump(kMouse), "");
    // A disabled child lets the click through to its parent.
    EnableWindow(a, FALSE);
    InjectClick(21, 21, VK_LBUTTON);
    EXPECT_EQ(Pump(kMouse), "top:MOUSEMOVE top:LBUTTONDOWN top:LBUTTONUP");
    // The cursor position follows injected moves and SetCursorPos, which moves like input.
    InjectMouseMove(33, 44);
    POINT p;
    ASSERT_TRUE(GetCursorPos(&p));
    EXPECT_EQ(p, (POINT{33, 44}));
    SetCursorPos(120, 30);
    EXPECT_EQ(Pump(kMouse), "b:MOUSEMOVE");
    GetCursorPos(&p);
    EXPECT_EQ(p, (POINT{120, 30}));
    EXPECT_FALSE(GetCursorPos(nullptr));
}

TEST_F(Input, ClickingActivatesTheTopLevelWindow) {
    const HWND other = Top("other", 250, 0, 50, 50);
    EXPECT_EQ(GetActiveWindow(), other);  // shown last
    rec.Watch({WM_ACTIVATE});
    InjectClick(20, 20, VK_LBUTTON);
    PumpMessages();
    EXPECT_EQ(GetActiveWindow(), top);
    EXPECT_EQ(rec.Said(), "other:ACTIVATE top:ACTIVATE");
}

}  // namespace
}  // namespace zo::plat::test
