// The tooltip window class driven by mouse input on the off-screen display with its clock
// moved by hand: showing after the delays, following tool rectangles, hiding on leave, click,
// auto-pop and deactivation, the tool records and texts, the tip's look on screen, and tools
// or tooltips that go away.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "platform/CommCtrl.h"
#include "platform/Text.h"
#include "win_support.h"

namespace zo::plat::test {
namespace {

constexpr RECT kToolRect{10, 10, 60, 40};  // in the tool window's client area

class ToolTip : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        INITCOMMONCONTROLSEX icc;
        icc.dwSize = sizeof icc;
        icc.dwICC = ICC_BAR_CLASSES;
        ASSERT_TRUE(InitCommonControlsEx(&icc));
        owner = Top("owner", 0, 0, 300, 200);
        tool = Child(owner, "tool", 20, 20, 100, 60);  // screen 20..120 x 20..80
        other = Child(owner, "other", 150, 20, 100, 60);
        tip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_NOPREFIX, 0, 0, 0, 0, owner, 0, 0,
                              nullptr);
        ASSERT_NE(tip, 0u);
        // The tool windows note the tooltip's notifications and may answer for callback text.
        rec.hook = [this](HWND, UINT msg, WPARAM, LPARAM lp) -> std::optional<LRESULT> {
            if (msg != WM_NOTIFY) return std::nullopt;
            auto* hdr = reinterpret_cast<NMHDR*>(lp);
            notes.push_back(hdr->code);
            if (hdr->code == TTN_GETDISPINFOA && answer) {
                auto* info = reinterpret_cast<NMTTDISPINFOA*>(lp);
                // A handler may copy its text to where lpszText points: the record's own buffer.
                EXPECT_EQ(info->lpszText, info->szText);
                std::strcpy(info->lpszText, "Asked for");
                info->uFlags |= keepAnswer ? TTF_DI_SETITEM : 0;
            }
            return 0;
        };
        PumpMessages();
    }

    BOOL AddTool(HWND h, std::uintptr_t id, RECT r, const char* text, UINT flags = TTF_SUBCLASS) {
        TOOLINFOA ti;
        ti.uFlags = flags;
        ti.hwnd = h;
        ti.uId = id;
        ti.rect = r;
        ti.lpszText = const_cast<char*>(text);
        ti.lParam = 1234;
        return static_cast<BOOL>(SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)));
    }
    std::string Text(HWND h, std::uintptr_t id, WPARAM size = 0) {
        char buf[256];
        std::memset(buf, 'x', sizeof buf);
        buf[255] = '\0';
        TOOLINFOA ti;
        ti.hwnd = h;
        ti.uId = id;
        ti.lpszText = buf;
        if (SendMessageA(tip, TTM_GETTEXTA, size, reinterpret_cast<LPARAM>(&ti)) == 0 &&
            buf[0] == 'x')
            return "<none>";
        return buf;
    }
    LRESULT Delay(WPARAM kind) { return SendMessageA(tip, TTM_GETDELAYTIME, kind, 0); }
    void SetDelay(WPARAM kind, int ms) {
        SendMessageA(tip, TTM_SETDELAYTIME, kind, MAKELPARAM(ms, 0));
    }
    bool Up() const { return IsWindowVisible(tip) != FALSE; }
    std::uintptr_t CurrentTool() {
        TOOLINFOA ti;
        if (!SendMessageA(tip, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&ti))) return 0;
        return ti.uId;
    }
    // Moves the pointer and lets its messages be handled.
    void MoveTo(int x, int y) {
        InjectMouseMove(x, y);
        PumpMessages();
    }
    // Rests the pointer on (x, y) until just before and just after a delay.
    void ExpectShownAfter(int x, int y, DWORD ms) {
        MoveTo(x, y);
        RunFor(ms - 1);
        EXPECT_FALSE(Up()) << "shown before " << ms << " ms";
        RunFor(1);
        EXPECT_TRUE(Up()) << "not shown after " << ms << " ms";
    }
    int Count(UINT code) const {
        return static_cast<int>(std::count(notes.begin(), notes.end(), code));
    }

    HWND owner = 0, tool = 0, other = 0, tip = 0;
    std::vector<UINT> notes;
    bool answer = true;
    bool keepAnswer = false;
};

TEST_F(ToolTip, ShowsAfterThePointerRestsForTheInitialDelay) {
    ASSERT_TRUE(AddTool(tool, 7, kToolRect, "Hello"));
    ExpectShownAfter(40, 40, 500);
    EXPECT_EQ(CurrentTool(), 7u);
    EXPECT_EQ(Count(TTN_SHOW), 1);
    // Moving on the tool before the delay is over starts the wait again.
    MoveTo(0, 0);
    RunFor(100);  // the leave check sees the pointer off every tool
    EXPECT_FALSE(Up());
    MoveTo(35, 35);
    RunFor(300);
    MoveTo(36, 36);
    RunFor(300);
    EXPECT_FALSE(Up());
    RunFor(200);
    EXPECT_TRUE(Up());
    // Off every tool, nothing shows.
    MoveTo(0, 0);
    RunFor(2000);
    EXPECT_FALSE(Up());
    EXPECT_EQ(SendMessageA(tip, TTM_GETCURRENTTOOLA, 0, 0), FALSE);
}

// Within a quarter of the range on each channel.
bool Near(std::uint32_t a, std::uint32_t b) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (d > 0x40 || d < -0x40) return false;
    }
    return true;
}

TEST_F(ToolTip, TheTipIsABorderedInfoBoxWithTheTextUnderThePointer) {
    ASSERT_TRUE(AddTool(tool, 7, kToolRect, "Hello"));
    ExpectShownAfter(40, 45, 500);
    RECT r;
    ASSERT_TRUE(GetWindowRect(tip, &r));
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 45 + 20);
    // As large as the text with its 2-pixel inset and the 1-pixel border on each side.
    const HDC dc = GetDC(0);
    const HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE ext;
    GetTextExtentPoint32A(dc, "Hello", 5, &ext);
    SelectObject(dc, old);
    ReleaseDC(0, dc);
    EXPECT_EQ(r.right - r.left, ext.cx + 6);
    EXPECT_EQ(r.bottom - r.top, ext.cy + 6);
    EXPECT_EQ(GetWindowLongA(tip, GWL_STYLE) & (WS_POPUP | WS_BORDER), WS_POPUP | WS_BORDER);
    EXPECT_EQ(GetActiveWindow(), owner);  // shown without taking the activation

    const std::uint32_t frame = Rgb(GetSysColor(COLOR_WINDOWFRAME));
    const std::uint32_t back = Rgb(GetSysColor(COLOR_INFOBK));
    const std::uint32_t ink = Rgb(GetSysColor(COLOR_INFOTEXT));
    ASSERT_NE(back, ink);
    for (int x = r.left; x < r.right; ++x) {
        EXPECT_EQ(Px(x, r.top), frame);
        EXPECT_EQ(Px(x, r.bottom - 1), frame);
    }
    for (int y = r.top; y < r.bottom; ++y) {
        EXPECT_EQ(Px(r.left, y), frame);
        EXPECT_EQ(Px(r.right - 1, y), frame);
    }
    // Inside the border: the inset is background, the text area holds text in the ink colour
    // (its glyphs' cores, give or take anti-aliasing).
    int inkPixels = 0;
    for (int y = r.top + 1; y < r.bottom - 1; ++y)
        for (int x = r.left + 1; x < r.right - 1; ++x) {
            const bool inset =
                x < r.left + 3 || x >= r.right - 3 || y < r.top + 3 || y >= r.bottom - 3;
            const std::uint32_t p = Px(x, y);
            if (inset) {
                EXPECT_EQ(p, back) << x << "," << y;
            }
            inkPixels += Near(p, ink) ? 1 : 0;
        }
    EXPECT_GT(inkPixels, 10);
    // Colours set by message show on the next paint.
    SendMessageA(tip, TTM_SETTIPBKCOLOR, RGB(0, 128, 0), 0);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(tip, TTM_GETTIPBKCOLOR, 0, 0)), RGB(0, 128, 0));
    PumpMessages();
    EXPECT_EQ(Px(r.left + 1, r.top + 1), 0x008000u);
}

TEST_F(ToolTip, PlacementStaysOnTheScreen) {
    MoveWindow(owner, 0, 40, 300, 200, TRUE);                 // down to the screen's bottom edge
    const HWND low = Child(owner, "low", 200, 150, 100, 50);  // screen 200..300 x 190..240
    ASSERT_TRUE(AddTool(low, 1, RECT{0, 0, 100, 50}, "A rather long tip text"));
    ExpectShownAfter(290, 230, 500);
    RECT r;
    GetWindowRect(tip, &r);
    EXPECT_GT(r.right - r.left, 30);
    EXPECT_EQ(r.right, 320);   // moved left to end at the screen's edge
    EXPECT_EQ(r.bottom, 190);  // above the tool, as below it would leave the screen
    // A centred tip sits under the middle of its tool (screen 30..80 x 70..100).
    MoveTo(0, 0);
    RunFor(1000);
    ASSERT_FALSE(Up());
    ASSERT_TRUE(AddTool(tool, 2, kToolRect, "Centre", TTF_SUBCLASS | TTF_CENTERTIP));
    ExpectShownAfter(40, 80, 500);
    GetWindowRect(tip, &r);
    EXPECT_EQ(r.top, 100 + 2);
    EXPECT_NEAR((r.left + r.right) / 2, 55, 1);
}

TEST_F(ToolTip, HidesWhenThePointerLeavesTheTool) {
    ASSERT_TRUE(AddTool(tool, 7, kToolRect, "Rect"));
    ExpectShownAfter(40, 40, 500);
    // Off the rectangle, still in the tool's window: the relayed move hides it at once.
    MoveTo(100, 70);
    EXPECT_FALSE(Up());
    EXPECT_EQ(Count(TTN_POP), 1);
    // Off the tool's window altogether: no move reaches the tool, the leave check hides it.
    ExpectShownAfter(40, 40, 500);
    MoveTo(10, 150);
    EXPECT_TRUE(Up());
    RunFor(100);
    EXPECT_FALSE(Up());
    RunFor(2000);
    EXPECT_FALSE(Up());
}

TEST_F(ToolTip, AClickHidesTheTipUntilThePointerComesBack) {
    ASSERT_TRUE(AddTool(tool, 7, kToolRect, "Click"));
    ExpectShownAfter(40, 40, 500);
    InjectMouseButton(VK_LBUTTON, true);
    PumpMessages();
    EXPECT_FALSE(Up());
    InjectMouseButton(VK_LBUTTON, false);
    MoveTo(41, 41);
    RunFor(2000);
    EXPECT_FALSE(Up());  // still on the same tool: it stays away
    MoveTo(100, 70);
    ExpectShownAfter(40, 40, 500);
    // A click before the delay is over cancels the showing.
    MoveTo(100, 70);
    MoveTo(40, 40);
    RunFor(200);
    InjectMouseButton(VK_RBUTTON, true);
    InjectMouseButton(VK_RBUTTON, false);
    PumpMessages();
    RunFor(1000);
    EXPECT_FALSE(Up());
}

TEST_F(ToolTip, AutoPopHidesAfterItsDelayAndEachMoveRestartsIt) {
    ASSERT_TRUE(AddTool(tool, 7, kToolRect, "Pop"));
    ExpectShownAfter(40, 40, 500);
    RunFor(4000);
    MoveTo(41, 40);  // a move over the tip's own tool starts the auto-pop delay again
    RunFor(4999);
    EXPECT_TRUE(Up());
    RunFor(1);
    EXPECT_FALSE(Up());
    EXPECT_EQ(Count(TTN_POP), 1);
    // Popped: it does not come back until the pointer has left the tool.
    MoveTo(42, 40);
    RunFor(3000);
    EXPECT_FALSE(Up());
    MoveTo(100, 70);
    ExpectShownAfter(42, 40, 500);
}

TEST_F(ToolTip, DelaysDefaultToTheDoubleClickTimeAndMinusOneRestoresThem) {
    const LRESULT dbl = static_cast<LRESULT>(GetDoubleClickTime());
    EXPECT_EQ(Delay(TTDT_INITIAL), dbl);
    EXPECT_EQ(Delay(TTDT_AUTOPOP), dbl * 10);
    EXPECT_EQ(Delay(TTDT_RESHOW), dbl / 5);
    EXPECT_EQ(Delay(TTDT_AUTOMATIC), dbl * 10);
    SetDelay(TTDT_AUTOMATIC, 200);
    EXPECT_EQ(Delay(TTDT_INITIAL), 200);
    EXPECT_EQ(Delay(TTDT_AUTOPOP), 2000);
    EXPECT_EQ(Delay(TTDT_RESHOW), 40);
    SetDelay(TTDT_INITIAL, 300);
    EXPECT_EQ(Delay(TTDT_INITIAL), 300);
    EXPECT_EQ(Delay(TTDT_AUTOPOP), 2000);
    SetDelay(TTDT_AUTOPOP, 700);
    SetDelay(TTDT_RESHOW, 60);
    EXPECT_EQ(Delay(TTDT_AUTOPOP), 700);
    EXPECT_EQ(Delay(TTDT_RESHOW), 60);
    // The delays set are the ones used.
    ASSERT_TRUE(AddTool(tool, 7, kToolRect, "Timed"));
    ExpectShownAfter(40, 40, 300);
    RunFor(699);
    EXPECT_TRUE(Up());
    RunFor(1);
    EXPECT_FALSE(Up());
    SetDelay(TTDT_INITIAL, -1);
    EXPECT_EQ(Delay(TTDT_INITIAL), dbl);
    EXPECT_EQ(Delay(TTDT_AUTOPOP), 700);
    SetDelay(TTDT_AUTOMATIC, -1);
    EXPECT_EQ(Delay(TTDT_AUTOPOP), dbl * 10);
    EXPECT_EQ(Delay(TTDT_RESHOW), dbl / 5);
    EXPECT_EQ(Delay(99), 0);
}

TEST_F(ToolTip, RectangleToolsComeBeforeWholeWindowToolsAndReshowQuickly) {
    ASSERT_TRUE(AddTool(tool, tool, RECT{}, "Window", TTF_SUBCLASS | TTF_IDISHWND));
    ASSERT_TRUE(AddTool(tool, 5, kToolRect, "Rect"));
    ExpectShownAfter(40, 40, 500);
    EXPECT_EQ(CurrentTool(), 5u);
    // From a tip that is up to another tool: the reshow delay.
    MoveTo(100, 70);
    EXPECT_FALSE(Up());
    RunFor(99);
    EXPECT_FALSE(Up());
    RunFor(1);
    EXPECT_TRUE(Up());
    EXPECT_EQ(CurrentTool(), static_cast<std::uintptr_t>(tool));
    // Straight onto another window's tool: quick as well.
    ASSERT_TRUE(AddTool(other, other, RECT{}, "Other", TTF_SUBCLASS | TTF_IDISHWND));
    MoveTo(200, 50);
    EXPECT_FALSE(Up());
    RunFor(99);
    EXPECT_FALSE(Up());
    RunFor(1);
    EXPECT_TRUE(Up());
    EXPECT_EQ(CurrentTool(), static_cast<std::uintptr_t>(other));
    // Whole-window tools are found by their window alone.
    EXPECT_EQ(Text(0, other), "Other");
}

TEST_F(ToolTip, NewToolRectMovesWhereTheToolIs) {
    ASSERT_TRUE(AddTool(tool, 7, kToolRect, "Moving"));
    MoveTo(100, 50);  // client (80, 30): off the rectangle
    RunFor(1000);
    EXPECT_FALSE(Up());
    TOOLINFOA ti;
    ti.hwnd = tool;
    ti.uId = 7;
    ti.rect = RECT{70, 20, 90, 40};
    SendMessageA(tip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&ti));
    RunFor(499);
    EXPECT_FALSE(Up());
    RunFor(1);
    EXPECT_TRUE(Up());
    // Moved away from under the pointer while up: hidden at once.
    ti.rect = kToolRect;
    SendMessageA(tip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&ti));
    EXPECT_FALSE(Up());
    RunFor(2000);
    EXPECT_FALSE(Up());
    // The record keeps the new rectangle; a rectangle's edges on the right and bottom are out.
    ASSERT_TRUE(SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&ti)));
    EXPECT_EQ(ti.rect, kToolRect);
    MoveTo(20 + 60, 20 + 20);
    RunFor(1000);
    EXPECT_FALSE(Up());
    MoveTo(20 + 59, 20 + 39);
    RunFor(500);
    EXPECT_TRUE(Up());
}

TEST_F(ToolTip, ToolRecordsAndTextsComeBackAsSet) {
    ASSERT_TRUE(AddTool(tool, 7, kToolRect, "First"));
    ASSERT_TRUE(AddTool(other, other, RECT{}, "Second tip", TTF_SUBCLASS | TTF_IDISHWND));
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 2);
    char buf[80] = {};
    TOOLINFOA ti;
    ti.lpszText = buf;
    ASSERT_TRUE(SendMessageA(tip, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&ti)));
    EXPECT_EQ(ti.uFlags, TTF_SUBCLASS);
    EXPECT_EQ(ti.hwnd, tool);
    EXPECT_EQ(ti.uId, 7u);
    EXPECT_EQ(ti.rect, kToolRect);
    EXPECT_EQ(ti.lParam, 1234);
    EXPECT_STREQ(buf, "First");
    TOOLINFOA second;
    ASSERT_TRUE(SendMessageA(tip, TTM_ENUMTOOLSA, 1, reinterpret_cast<LPARAM>(&second)));
    EXPECT_EQ(second.uFlags, TTF_SUBCLASS | TTF_IDISHWND);
    EXPECT_EQ(second.uId, static_cast<std::uintptr_t>(other));
    EXPECT_EQ(second.lpszText, nullptr);  // no buffer, nothing written
    EXPECT_FALSE(SendMessageA(tip, TTM_ENUMTOOLSA, 2, reinterpret_cast<LPARAM>(&second)));

    EXPECT_EQ(Text(tool, 7), "First");
    EXPECT_EQ(Text(other, other), "Second tip");
    EXPECT_EQ(Text(tool, 7, 4), "Fir");  // a buffer size given in wParam bounds the copy
    EXPECT_EQ(Text(tool, 8), "<none>");
    EXPECT_EQ(Text(other, 7), "<none>");  // a rectangle tool needs its window too
    TOOLINFOA upd;
    upd.hwnd = tool;
    upd.uId = 7;
    upd.lpszText = const_cast<char*>("Changed");
    SendMessageA(tip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&upd));
    EXPECT_EQ(Text(tool, 7), "Changed");
    // The oldest record size is accepted and ends before lParam; shorter ones are refused.
    TOOLINFOA v1;
    v1.cbSize = TTTOOLINFOA_V1_SIZE;
    v1.hwnd = tool;
    v1.uId = 9;
    v1.lpszText = const_cast<char*>("Old");
    v1.lParam = 55;
    ASSERT_TRUE(SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&v1)));
    v1.lParam = 66;
    v1.lpszText = nullptr;  // a buffer here would receive the text
    ASSERT_TRUE(SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&v1)));
    EXPECT_EQ(v1.lParam, 66);
    TOOLINFOA full;
    full.hwnd = tool;
    full.uId = 9;
    ASSERT_TRUE(SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&full)));
    EXPECT_EQ(full.lParam, 0);
    v1.cbSize = TTTOOLINFOA_V1_SIZE - 1;
    v1.uId = 10;
    EXPECT_FALSE(SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&v1)));
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 3);
}

// Callers size their buffers by the 80-character limit of the 8-bit messages; a longer text
// comes back cut there, or at the size given in wParam, and nothing is written past either.
TEST_F(ToolTip, TextCopiesStopAtTheGivenSizeOrEightyCharacters) {
    const std::string longText(5000, 'L');
    ASSERT_TRUE(AddTool(tool, 7, kToolRect, longText.c_str()));
    const std::string cut(80, 'L');
    struct Row {
        const char* name;
        UINT msg;
        WPARAM wParam;
        std::size_t buffer;
        std::string expected;
    };
    const Row rows[] = {
        {"GETTEXT without a size", TTM_GETTEXTA, 0, 81, cut},
        {"GETTEXT with a size", TTM_GETTEXTA, 10, 10, std::string(9, 'L')},
        {"GETTEXT with a size of one", TTM_GETTEXTA, 1, 1, ""},
        {"GETTOOLINFO", TTM_GETTOOLINFOA, 0, 81, cut},
        {"ENUMTOOLS", TTM_ENUMTOOLSA, 0, 81, cut},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // Exactly the room allowed, on the heap, so that the sanitizer sees any overrun.
        auto buffer = std::make_unique<char[]>(row.buffer);
        TOOLINFOA ti;
        ti.hwnd = tool;
        ti.uId = 7;
        ti.lpszText = buffer.get();
        SendMessageA(tip, row.msg, row.wParam, reinterpret_cast<LPARAM>(&ti));
        EXPECT_EQ(std::string(buffer.get()), row.expected);
    }
    // The tip itself still shows the whole text.
    ExpectShownAfter(40, 40, 500);
    RECT r;
    GetWindowRect(tip, &r);
    EXPECT_GT(r.right - r.left, 1000);
}

TEST_F(ToolTip, CallbackTextIsAskedOfTheToolsWindow) {
    ASSERT_TRUE(AddTool(tool, 7, kToolRect, LPSTR_TEXTCALLBACKA));
    EXPECT_EQ(Text(tool, 7), "Asked for");
    EXPECT_EQ(Count(TTN_GETDISPINFOA), 1);
    TOOLINFOA ti;
    ti.hwnd = tool;
    ti.uId = 7;
    char buf[80] = {};
    ti.lpszText = buf;
    ASSERT_TRUE(SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&ti)));
    EXPECT_EQ(ti.lpszText, LPSTR_TEXTCALLBACKA);
    ExpectShownAfter(40, 40, 500);
    EXPECT_EQ(Count(TTN_GETDISPINFOA), 2);
    // A window with nothing to say: no tip.
    MoveTo(0, 0);
    RunFor(200);
    answer = false;
    MoveTo(40, 40);
    RunFor(1000);
    EXPECT_FALSE(Up());
    // Asked to keep the answer, the tooltip stops asking.
    answer = keepAnswer = true;
    EXPECT_EQ(Text(tool, 7), "Asked for");
    notes.clear();
    EXPECT_EQ(Text(tool, 7), "Asked for");
    EXPECT_EQ(Count(TTN_GETDISPINFOA), 0);
}

TEST_F(ToolTip, DeletingAToolHidesItsTipAndKeepsTheOthers) {
    ASSERT_TRUE(AddTool(tool, 1, RECT{0, 0, 50, 60}, "One"));
    ASSERT_TRUE(AddTool(tool, 2, RECT{50, 0, 100, 60}, "Two"));
    ExpectShownAfter(30, 30, 500);
    TOOLINFOA ti;
    ti.hwnd = tool;
    ti.uId = 1;
    SendMessageA(tip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    EXPECT_FALSE(Up());
    EXPECT_EQ(Count(TTN_POP), 1);
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    SendMessageA(tip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));  // gone already
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(Text(tool, 1), "<none>");
    MoveTo(31, 30);
    RunFor(1000);
    EXPECT_FALSE(Up());
    ExpectShownAfter(90, 30, 500);
    EXPECT_EQ(CurrentTool(), 2u);
    // Deleting a tool while its show delay runs stops the showing.
    MoveTo(0, 0);
    RunFor(200);
    MoveTo(90, 30);
    RunFor(200);
    ti.uId = 2;
    SendMessageA(tip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    RunFor(1000);
    EXPECT_FALSE(Up());
    // The relay stays in the window's procedure chain, harmless, and the window works on.
    rec.Watch({WM_MOUSEMOVE});
    MoveTo(95, 35);
    EXPECT_EQ(rec.Take(), (std::vector<std::string>{"tool:MOUSEMOVE"}));
}

TEST_F(ToolTip, DestroyingAToolWindowTakesItsToolsAlong) {
    ASSERT_TRUE(AddTool(tool, 7, kToolRect, "Doomed"));
    ASSERT_TRUE(AddTool(other, other, RECT{}, "Survivor", TTF_SUBCLASS | TTF_IDISHWND));
    ExpectShownAfter(40, 40, 500);
    DestroyWindow(tool);
    EXPECT_FALSE(Up());
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(Text(tool, 7), "<none>");
    RunFor(1000);
    EXPECT_FALSE(Up());
    ExpectShownAfter(200, 50, 500);
    EXPECT_EQ(CurrentTool(), static_cast<std::uintptr_t>(other));
    // A tool on a dead window cannot be added.
    EXPECT_FALSE(AddTool(tool, 8, kToolRect, "Late"));
    // The tooltip going first leaves the tool window working through its procedure chain.
    DestroyWindow(tip);
    EXPECT_FALSE(IsWindow(tip));
    rec.Watch({WM_MOUSEMOVE, WM_USER});
    MoveTo(210, 50);
    SendMessageA(other, WM_USER, 0, 0);
    EXPECT_EQ(rec.Take(), (std::vector<std::string>{"other:MOUSEMOVE", "other:USER"}));
    DestroyWindow(owner);
    EXPECT_FALSE(IsWindow(other));
}

TEST_F(ToolTip, OnlyAnActiveTooltipOfAnActiveOwnerShows) {
    ASSERT_TRUE(AddTool(tool, 7, kToolRect, "Active"));
    ExpectShownAfter(40, 40, 500);
    SendMessageA(tip, TTM_ACTIVATE, FALSE, 0);
    EXPECT_FALSE(Up());
    MoveTo(100, 70);
    MoveTo(40, 40);
    RunFor(1000);
    EXPECT_FALSE(Up());
    SendMessageA(tip, TTM_ACTIVATE, TRUE, 0);
    MoveTo(100, 70);
    ExpectShownAfter(40, 40, 500);
    // Another top-level window active: the owner's tips stay away, unless always wanted.
    MoveTo(100, 70);
    const HWND elsewhere = Top("elsewhere", 305, 0, 10, 10);
    ASSERT_EQ(GetActiveWindow(), elsewhere);
    MoveTo(40, 40);
    RunFor(1000);
    EXPECT_FALSE(Up());
    SetWindowLongA(tip, GWL_STYLE, GetWindowLongA(tip, GWL_STYLE) | TTS_ALWAYSTIP);
    MoveTo(100, 70);
    ExpectShownAfter(40, 40, 500);
}

TEST_F(ToolTip, BadRecordsAndStaleHandlesFailSoftly) {
    ASSERT_TRUE(AddTool(tool, 7, kToolRect, "Fine"));
    EXPECT_FALSE(SendMessageA(tip, TTM_ADDTOOLA, 0, 0));
    EXPECT_EQ(SendMessageA(tip, TTM_GETTEXTA, 0, 0), 0);
    EXPECT_FALSE(SendMessageA(tip, TTM_ENUMTOOLSA, 0, 0));
    EXPECT_FALSE(SendMessageA(tip, TTM_GETTOOLINFOA, 0, 0));
    EXPECT_FALSE(SendMessageA(tip, TTM_ADJUSTRECT, TRUE, 0));
    SendMessageA(tip, TTM_DELTOOLA, 0, 0);
    SendMessageA(tip, TTM_NEWTOOLRECTA, 0, 0);
    SendMessageA(tip, TTM_UPDATETIPTEXTA, 0, 0);
    SendMessageA(tip, TTM_RELAYEVENT, 0, 0);
    SendMessageA(tip, TTM_SETMARGIN, 0, 0);
    SendMessageA(tip, TTM_GETMARGIN, 0, 0);
    // A relayed message from a window that is gone finds no tool.
    const HWND gone = Child(owner, "gone", 0, 0, 5, 5);
    DestroyWindow(gone);
    MSG m{gone, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1), 0, {}};
    SendMessageA(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
    RunFor(1000);
    EXPECT_FALSE(Up());
    EXPECT_FALSE(AddTool(gone, 1, kToolRect, "No", TTF_SUBCLASS));
    // A stale tooltip handle answers nothing.
    const HWND staleTip = tip;
    DestroyWindow(tip);
    EXPECT_EQ(SendMessageA(staleTip, TTM_GETTOOLCOUNT, 0, 0), 0);
    EXPECT_EQ(Text(tool, 7), "<none>");
    MoveTo(40, 40);
    RunFor(1000);
    INITCOMMONCONTROLSEX bad;
    bad.dwSize = 4;
    EXPECT_FALSE(InitCommonControlsEx(&bad));
    EXPECT_FALSE(InitCommonControlsEx(nullptr));
}

TEST_F(ToolTip, RelayedEventsDriveToolsWithoutSubclassing) {
    ASSERT_TRUE(AddTool(tool, 7, kToolRect, "Relayed", 0));
    MoveTo(40, 40);
    RunFor(1000);
    EXPECT_FALSE(Up());  // nobody told the tooltip
    MSG m{tool, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20), 0, {}};
    SendMessageA(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
    RunFor(499);
    EXPECT_FALSE(Up());
    RunFor(1);
    EXPECT_TRUE(Up());
    m.message = WM_LBUTTONDOWN;
    SendMessageA(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
    EXPECT_FALSE(Up());
}

}  // namespace
}  // namespace zo::plat::test
