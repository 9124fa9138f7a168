// The tooltip window class driven by mouse input on the off-screen display with its clock
// moved by hand: showing after the delays, hiding on leave, click, auto-pop and deactivation,
// the tool records and texts, the tip's look and place on screen, and tools or tooltips that
// go away.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>
#include <sstream>

#include "platform/CommCtrl.h"
#include "text_support.h"
#include "win_support.h"

namespace zo::plat::test {
namespace {

constexpr RECT kToolRect{10, 10, 60, 40};  // in the tool window's client area

class ToolTip : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        const INITCOMMONCONTROLSEX icc{.dwICC = ICC_BAR_CLASSES};
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
        TOOLINFOA ti{.uFlags = flags, .hwnd = h, .uId = id, .rect = r, .lParam = 1234};
        ti.lpszText = const_cast<char*>(text);
        return static_cast<BOOL>(Send(TTM_ADDTOOLA, 0, &ti));
    }
    BOOL AddWindowTool(HWND h, const char* text) {
        return AddTool(h, h, RECT{}, text, TTF_SUBCLASS | TTF_IDISHWND);
    }
    LRESULT Send(UINT msg, WPARAM wp, const void* lp) {
        return SendMessageA(tip, msg, wp, reinterpret_cast<LPARAM>(lp));
    }
    // A record naming one tool, for the messages that look a tool up.
    static TOOLINFOA Key(HWND h, std::uintptr_t id, char* text = nullptr) {
        return TOOLINFOA{.hwnd = h, .uId = id, .rect = {}, .lpszText = text};
    }
    std::string Text(HWND h, std::uintptr_t id) {
        std::string buf(255, 'x');
        TOOLINFOA ti = Key(h, id, buf.data());
        if (Send(TTM_GETTEXTA, 0, &ti) == 0 && buf[0] == 'x') return "<none>";
        return buf.c_str();
    }
    LRESULT Delay(WPARAM kind) { return SendMessageA(tip, TTM_GETDELAYTIME, kind, 0); }
    bool Up() const { return IsWindowVisible(tip) != FALSE; }
    LRESULT Count() { return SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0); }
    std::uintptr_t CurrentTool() {
        TOOLINFOA ti;
        return Send(TTM_GETCURRENTTOOLA, 0, &ti) ? ti.uId : 0;
    }
    // Plays a script of steps separated by spaces: "x,y" moves the pointer there, "w<ms>"
    // lets the clock run, "+" and "-" expect the tip up or down, "s<ms>" expects it to come
    // up after exactly that long, "L", "l", "R", "r" press and release the left or right
    // button.
    void Run(const std::string& script) {
        std::istringstream steps(script);
        for (std::string step; steps >> step;) {
            SCOPED_TRACE("step " + step + " of \"" + script + "\"");
            const int n = std::atoi(step.c_str() + (std::isdigit(step[0]) ? 0 : 1));
            if (step.find(',') != std::string::npos) {
                InjectMouseMove(n, std::atoi(step.c_str() + step.find(',') + 1));
            } else if (step[0] == 'w') {
                RunFor(static_cast<DWORD>(n));
            } else if (step[0] == 's') {
                RunFor(static_cast<DWORD>(n - 1));
                EXPECT_FALSE(Up()) << "up too early";
                RunFor(1);
                EXPECT_TRUE(Up()) << "not up after " << n << " ms";
            } else if (step == "+" || step == "-") {
                EXPECT_EQ(Up(), step == "+");
            } else if (step.size() == 1 && std::strchr("LlRr", step[0]) != nullptr) {
                InjectMouseButton(std::tolower(step[0]) == 'l' ? VK_LBUTTON : VK_RBUTTON,
                                  std::isupper(step[0]) != 0);
            } else {
                ADD_FAILURE() << "no such step";
            }
            PumpMessages();
        }
    }
    int Notes(UINT code) const {
        return static_cast<int>(std::count(notes.begin(), notes.end(), code));
    }

    HWND owner = 0, tool = 0, other = 0, tip = 0;
    std::vector<UINT> notes;
    bool answer = true;
    bool keepAnswer = false;
};

TEST_F(ToolTip, ShowsAfterTheRestingDelayAndGoesOnLeaveClickAndAutoPop) {
    ASSERT_TRUE(AddTool(tool, 7, kToolRect, "Hello"));
    Run("40,40 s500");
    EXPECT_EQ(CurrentTool(), 7u);
    EXPECT_EQ(Notes(TTN_SHOW), 1);
    // Off the rectangle, still in the tool's window: the relayed move hides it at once. Moving
    // on the tool before the delay is over starts the wait again. Off the tool's window, no
    // move reaches the tool: the leave check hides it.
    Run("100,70 - 35,35 w300 36,36 w300 - w200 + 10,150 + w100 - w2000 -");
    EXPECT_EQ(SendMessageA(tip, TTM_GETCURRENTTOOLA, 0, 0), FALSE);
    // A click hides the tip; it stays away while the pointer stays on the same tool.
    Run("40,40 s500 L - l 41,41 w2000 - 100,70 40,40 s500");
    // A move over the tip's own tool starts the auto-pop delay again; popped, the tip does not
    // come back until the pointer has left the tool.
    Run("w4000 41,40 w4999 + w1 - 42,40 w3000 - 100,70 42,40 s500");
    EXPECT_EQ(Notes(TTN_POP), 4);
    // A click before the delay is over cancels the showing.
    Run("100,70 40,40 w200 R r w1000 -");
}

TEST_F(ToolTip, TheTipIsABorderedInfoBoxUnderThePointerAndOnTheScreen) {
    ASSERT_TRUE(AddTool(tool, 7, kToolRect, "Hello"));
    Run("40,45 s500");
    RECT r = WindowRect(tip);
    // 20 pixels below the pointer, as large as the text with its 2-pixel inset and the 1-pixel
    // border on each side.
    const TextCanvas gui(1, 1, DefaultGuiLogFont());
    EXPECT_EQ(r, (RECT{40, 65, 40 + gui.Cx("Hello") + 6, 65 + gui.Tm().tmHeight + 6}));
    EXPECT_EQ(GetWindowLongA(tip, GWL_STYLE) & (WS_POPUP | WS_BORDER), WS_POPUP | WS_BORDER);
    EXPECT_EQ(GetActiveWindow(), owner);  // shown without taking the activation
    // The border in the frame colour, the inset in the background, the text in the ink colour:
    // held to a reference image where the default GUI font is the face it was drawn with.
    char face[64] = {};
    GetTextFaceA(gui.dc, sizeof face, face);
    if (std::string(face) == "DejaVu Sans") {
        EXPECT_EQ(ScreenMatches(r, "platform/tooltip"), "");
    }
    // Colours set by message show on the next paint.
    SendMessageA(tip, TTM_SETTIPBKCOLOR, RGB(0, 128, 0), 0);
    PumpMessages();
    EXPECT_EQ(Px(r.left + 1, r.top + 1), 0x008000u);

    // A centred tip sits under the middle of its tool (screen 30..80 x 70..80).
    ASSERT_TRUE(AddTool(tool, 2, RECT{10, 50, 60, 60}, "Centre", TTF_SUBCLASS | TTF_CENTERTIP));
    Run("0,0 w1000 40,75 s500");
    r = WindowRect(tip);
    EXPECT_EQ(r.top, 80 + 2);
    EXPECT_NEAR((r.left + r.right) / 2, 55, 1);
    // Near the screen's corner: moved left to end at the edge, and above the tool, as below it
    // would leave the screen.
    Run("0,0 w1000");
    MoveWindow(owner, 0, 40, 300, 200, TRUE);
    const HWND low = Child(owner, "low", 200, 150, 100, 50);  // screen 200..300 x 190..240
    ASSERT_TRUE(AddTool(low, 1, RECT{0, 0, 100, 50}, "A rather long tip text"));
    Run("290,230 s500");
    r = WindowRect(tip);
    EXPECT_GT(r.right - r.left, 30);
    EXPECT_EQ(std::pair(r.right, r.bottom), std::pair(320, 190));
    Run("0,0 w100 -");  // off every window: the leave check finds no tool
}

TEST_F(ToolTip, DelaysDefaultToTheDoubleClickTimeAndMinusOneRestoresThem) {
    const int dbl = static_cast<int>(GetDoubleClickTime());
    struct Row {
        WPARAM kind;
        int ms;  // set, then the initial, auto-pop and reshow delays read back
        int initial, autopop, reshow;
    };
    const Row rows[] = {
        {TTDT_AUTOMATIC, 200, 200, 2000, 40}, {TTDT_INITIAL, 300, 300, 2000, 40},
        {TTDT_AUTOPOP, 700, 300, 700, 40},    {TTDT_RESHOW, 60, 300, 700, 60},
        {TTDT_INITIAL, -1, dbl, 700, 60},     {TTDT_AUTOMATIC, -1, dbl, dbl * 10, dbl / 5},
        {TTDT_AUTOMATIC, 0, 0, 0, 0},         {99, 5, 0, 0, 0},
    };
    EXPECT_EQ(Delay(99), 0);  // the defaults are read through the wrapper's tests
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "kind " << row.kind << ", " << row.ms << " ms");
        SendMessageA(tip, TTM_SETDELAYTIME, row.kind, MAKELPARAM(row.ms, 0));
        // TTDT_AUTOMATIC reads back the auto-pop delay.
        EXPECT_EQ((std::vector<LRESULT>{Delay(TTDT_INITIAL), Delay(TTDT_AUTOPOP),
                                        Delay(TTDT_RESHOW), Delay(TTDT_AUTOMATIC)}),
                  (std::vector<LRESULT>{row.initial, row.autopop, row.reshow, row.autopop}));
        if (row.kind == TTDT_RESHOW) {
            // The delays set are the ones used.
            ASSERT_TRUE(AddTool(tool, 7, kToolRect, "Timed"));
            Run("40,40 s300 w699 + w1 -");
        }
    }
}

TEST_F(ToolTip, NewToolRectMovesWhereTheToolIs) {
    ASSERT_TRUE(AddTool(tool, 7, kToolRect, "Moving"));
    Run("100,50 w1000 -");  // client (80, 30): off the rectangle
    TOOLINFOA ti{.hwnd = tool, .uId = 7, .rect = {70, 20, 90, 40}};
    Send(TTM_NEWTOOLRECTA, 0, &ti);
    Run("s500");
    // Moved away from under the pointer while up: hidden at once.
    ti.rect = kToolRect;
    Send(TTM_NEWTOOLRECTA, 0, &ti);
    Run("- w2000 -");
    // The record keeps the new rectangle; a rectangle's edges on the right and bottom are out.
    ASSERT_TRUE(Send(TTM_GETTOOLINFOA, 0, &ti));
    EXPECT_EQ(ti.rect, kToolRect);
    Run("80,40 w1000 - 79,59 s500");
}

// Callers size their buffers by the 80-character limit of the 8-bit messages; a longer text
// comes back cut there, or at the size given in wParam, and nothing is written past either.
TEST_F(ToolTip, TextCopiesStopAtTheGivenSizeOrEightyCharacters) {
    ASSERT_TRUE(AddTool(tool, 7, kToolRect, std::string(5000, 'L').c_str()));
    struct Row {
        const char* name;
        UINT msg;
        WPARAM wParam;
        std::size_t buffer;
        std::size_t expected;  // letters copied
    };
    const Row rows[] = {
        {"GETTEXT without a size", TTM_GETTEXTA, 0, 81, 80},
        {"GETTEXT with a size", TTM_GETTEXTA, 10, 10, 9},
        {"GETTEXT with a size of one", TTM_GETTEXTA, 1, 1, 0},
        {"GETTOOLINFO", TTM_GETTOOLINFOA, 0, 81, 80},
        {"ENUMTOOLS", TTM_ENUMTOOLSA, 0, 81, 80},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // Exactly the room allowed, on the heap, so that the sanitizer sees any overrun.
        auto buffer = std::make_unique<char[]>(row.buffer);
        TOOLINFOA ti = Key(tool, 7, buffer.get());
        Send(row.msg, row.wParam, &ti);
        EXPECT_EQ(std::string(buffer.get()), std::string(row.expected, 'L'));
    }
    // The tip itself still shows the whole text.
    Run("40,40 s500");
    EXPECT_GT(WindowRect(tip).right - WindowRect(tip).left, 1000);
}

TEST_F(ToolTip, CallbackTextIsAskedOfTheToolsWindow) {
    ASSERT_TRUE(AddTool(tool, 7, kToolRect, LPSTR_TEXTCALLBACKA));
    EXPECT_EQ(Text(tool, 7), "Asked for");
    EXPECT_EQ(Notes(TTN_GETDISPINFOA), 1);
    char buf[80] = {};
    TOOLINFOA ti = Key(tool, 7, buf);
    ASSERT_TRUE(Send(TTM_GETTOOLINFOA, 0, &ti));
    EXPECT_EQ(ti.lpszText, LPSTR_TEXTCALLBACKA);
    Run("40,40 s500");
    EXPECT_EQ(Notes(TTN_GETDISPINFOA), 2);
    answer = false;  // a window with nothing to say: no tip
    Run("0,0 w200 40,40 w1000 -");
    // Asked to keep the answer, the tooltip stops asking.
    answer = keepAnswer = true;
    EXPECT_EQ(Text(tool, 7), "Asked for");
    notes.clear();
    EXPECT_EQ(Text(tool, 7), "Asked for");
    EXPECT_EQ(Notes(TTN_GETDISPINFOA), 0);
}

TEST_F(ToolTip, DeletingAToolHidesItsTipAndKeepsTheOthers) {
    ASSERT_TRUE(AddTool(tool, 1, RECT{0, 0, 50, 60}, "One"));
    ASSERT_TRUE(AddTool(tool, 2, RECT{50, 0, 100, 60}, "Two"));
    Run("30,30 s500");
    TOOLINFOA ti = Key(tool, 1);
    Send(TTM_DELTOOLA, 0, &ti);
    EXPECT_FALSE(Up());
    EXPECT_EQ(Notes(TTN_POP), 1);
    EXPECT_EQ(Count(), 1);
    Send(TTM_DELTOOLA, 0, &ti);  // gone already
    EXPECT_EQ(Count(), 1);
    EXPECT_EQ(Text(tool, 1), "<none>");
    Run("31,30 w1000 - 90,30 s500");
    EXPECT_EQ(CurrentTool(), 2u);
    // Deleting a tool while its show delay runs stops the showing.
    Run("0,0 w200 90,30 w200");
    ti.uId = 2;
    Send(TTM_DELTOOLA, 0, &ti);
    Run("w1000 -");
    // The relay stays in the window's procedure chain, harmless, and the window works on.
    rec.Watch({WM_MOUSEMOVE});
    Run("95,35");
    EXPECT_EQ(rec.Said(), "tool:MOUSEMOVE");
}

TEST_F(ToolTip, DestroyingAToolWindowTakesItsToolsAlong) {
    ASSERT_TRUE(AddTool(tool, 7, kToolRect, "Doomed"));
    ASSERT_TRUE(AddWindowTool(other, "Survivor"));
    Run("40,40 s500");
    DestroyWindow(tool);
    EXPECT_EQ(Count(), 1);
    EXPECT_EQ(Text(tool, 7), "<none>");
    Run("- w1000 - 200,50 s500");
    EXPECT_EQ(CurrentTool(), static_cast<std::uintptr_t>(other));
    // A tool on a dead window cannot be added.
    EXPECT_FALSE(AddTool(tool, 8, kToolRect, "Late"));
    // The tooltip going first leaves the tool window working through its procedure chain, and
    // its stale handle answers nothing.
    DestroyWindow(tip);
    EXPECT_FALSE(IsWindow(tip));
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(Text(other, other), "<none>");
    rec.Watch({WM_MOUSEMOVE, WM_USER});
    Run("210,50 w1000");
    SendMessageA(other, WM_USER, 0, 0);
    EXPECT_EQ(rec.Said(), "other:MOUSEMOVE other:USER");
    DestroyWindow(owner);
    EXPECT_FALSE(IsWindow(other));
}

TEST_F(ToolTip, OnlyAnActiveTooltipOfAnActiveOwnerShows) {
    ASSERT_TRUE(AddTool(tool, 7, kToolRect, "Active"));
    Run("40,40 s500");
    SendMessageA(tip, TTM_ACTIVATE, FALSE, 0);
    Run("- 100,70 40,40 w1000 -");
    SendMessageA(tip, TTM_ACTIVATE, TRUE, 0);
    Run("100,70 40,40 s500 100,70");
    // Another top-level window active: the owner's tips stay away, unless always wanted.
    ASSERT_EQ(GetActiveWindow(), Top("elsewhere", 305, 0, 10, 10));
    Run("40,40 w1000 -");
    SetWindowLongA(tip, GWL_STYLE, GetWindowLongA(tip, GWL_STYLE) | TTS_ALWAYSTIP);
    Run("100,70 40,40 s500");
}

TEST_F(ToolTip, BadRecordsAndStaleHandlesFailSoftly) {
    ASSERT_TRUE(AddTool(tool, 7, kToolRect, "Fine"));
    for (UINT msg : {TTM_ADDTOOLA, TTM_GETTEXTA, TTM_ENUMTOOLSA, TTM_GETTOOLINFOA})
        EXPECT_EQ(SendMessageA(tip, msg, 0, 0), 0) << msg;
    EXPECT_FALSE(SendMessageA(tip, TTM_ADJUSTRECT, TRUE, 0));
    for (UINT msg : {TTM_DELTOOLA, TTM_NEWTOOLRECTA, TTM_UPDATETIPTEXTA, TTM_RELAYEVENT,
                     TTM_SETMARGIN, TTM_GETMARGIN})
        SendMessageA(tip, msg, 0, 0);
    EXPECT_EQ(Count(), 1);
    // A relayed message from a window that is gone finds no tool.
    const HWND gone = Child(owner, "gone", 0, 0, 5, 5);
    DestroyWindow(gone);
    MSG m{gone, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1), 0, {}};
    Send(TTM_RELAYEVENT, 0, &m);
    Run("w1000 -");
    EXPECT_FALSE(AddTool(gone, 1, kToolRect, "No", TTF_SUBCLASS));
    const INITCOMMONCONTROLSEX bad{.dwSize = 4};
    EXPECT_FALSE(InitCommonControlsEx(&bad));
    EXPECT_FALSE(InitCommonControlsEx(nullptr));
}

}  // namespace
}  // namespace zo::plat::test
