// Message boxes on the off-screen display: answers from keys queued beforehand and from clicks
// made while the box runs (from a timer), the owner disabled meanwhile, the box's look, and the
// way out when no input can ever come.
#include <cstring>
#include <functional>

#include "platform/Text.h"
#include "win_support.h"

namespace zo::plat::test {
namespace {

class MsgBox : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        owner = Top("owner", 0, 0, 320, 240);
        PumpMessages();
        tlsDuring = &during;
    }
    void TearDown() override {
        tlsDuring = nullptr;
        WinTest::TearDown();
    }
    void WhileShown(std::function<void()> act, UINT after = 50) {
        during = std::move(act);
        SetTimer(0, 0, after, &DuringProc);
    }
    static void Press(UINT vk) {
        InjectKey(vk, true);
        InjectKey(vk, false);
    }
    static HWND FindBox() {
        for (HWND h = GetTopWindow(0); h != 0; h = GetWindow(h, GW_HWNDNEXT)) {
            char name[32] = {};
            GetClassNameA(h, name, sizeof name);
            if (std::strcmp(name, "ZoMessageBox") == 0) return h;
        }
        return 0;
    }
    static HWND ButtonOf(HWND box, int id) {
        for (HWND h = GetWindow(box, GW_CHILD); h != 0; h = GetWindow(h, GW_HWNDNEXT))
            if (GetWindowLongA(h, GWL_ID) == id) return h;
        return 0;
    }
    static POINT CentreOf(HWND h) {
        RECT r;
        GetWindowRect(h, &r);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    static bool QuitPending(int* code) {
        MSG m;
        if (!PeekMessageA(&m, 0, WM_QUIT, WM_QUIT, PM_REMOVE)) return false;
        *code = static_cast<int>(m.wParam);
        return true;
    }
    int Ask(UINT type) { return MessageBoxA(owner, "Question?", "Caption", type); }

    HWND owner = 0;
    std::function<void()> during;
};

TEST_F(MsgBox, KeysGiveTheDefaultTheCancelAndTheLetteredAnswers) {
    struct Case {
        UINT type;
        std::vector<UINT> keys;
        int expected;
    };
    const std::vector<Case> cases = {
        {MB_OK, {VK_RETURN}, IDOK},
        {MB_OK, {VK_ESCAPE}, IDOK},
        {MB_OKCANCEL, {VK_RETURN}, IDOK},
        {MB_OKCANCEL, {VK_ESCAPE}, IDCANCEL},
        {MB_OKCANCEL | MB_DEFBUTTON2, {VK_RETURN}, IDCANCEL},
        {MB_YESNO, {VK_RETURN}, IDYES},
        {MB_YESNO, {VK_ESCAPE}, IDNO},
        {MB_YESNO | MB_DEFBUTTON2, {VK_RETURN}, IDNO},
        {MB_YESNO, {'N'}, IDNO},
        {MB_YESNOCANCEL, {VK_ESCAPE}, IDCANCEL},
        {MB_YESNOCANCEL, {VK_TAB, VK_RETURN}, IDNO},
        {MB_YESNOCANCEL, {VK_LEFT, VK_RETURN}, IDCANCEL},  // round the row
        {MB_YESNOCANCEL, {VK_RIGHT, VK_SPACE}, IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, {'Y'}, IDYES},
        {MB_ABORTRETRYIGNORE, {VK_ESCAPE, 'I'}, IDIGNORE},  // no Esc answer in this one
        {MB_RETRYCANCEL, {VK_RETURN}, IDRETRY},
    };
    for (const Case& c : cases) {
        for (UINT vk : c.keys)
            Press(vk);
        EXPECT_EQ(Ask(c.type), c.expected) << "type " << c.type << ", first key " << c.keys[0];
        int code = 0;
        EXPECT_FALSE(QuitPending(&code));
        EXPECT_EQ(FindBox(), 0u);
        PumpMessages();  // keys left over go to the owner
    }
}

TEST_F(MsgBox, AClickOnAButtonAnswersWhileTheOwnerIsDisabled) {
    bool ownerEnabled = true, boxActive = false, ownerClicked = true;
    rec.Watch({WM_LBUTTONDOWN});
    WhileShown([&] {
        const HWND box = FindBox();
        ASSERT_NE(box, 0u);
        ownerEnabled = IsWindowEnabled(owner) != FALSE;
        boxActive = GetActiveWindow() == box;
        InjectClick(5, 5, VK_LBUTTON);  // on the owner, outside the box
        PumpMessages();
        ownerClicked = !rec.log.empty();
        const POINT p = CentreOf(ButtonOf(box, IDNO));
        InjectClick(p.x, p.y, VK_LBUTTON);
    });
    EXPECT_EQ(MessageBoxA(owner, "Save the changes?", "Editor", MB_YESNOCANCEL), IDNO);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(boxActive);
    EXPECT_FALSE(ownerClicked);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_EQ(FindBox(), 0u);
    // Pressed on a button and released off it: taken back, no answer.
    WhileShown([&] {
        const HWND box = FindBox();
        const POINT p = CentreOf(ButtonOf(box, IDOK));
        InjectMouseMove(p.x, p.y);
        InjectMouseButton(VK_LBUTTON, true);
        InjectMouseMove(p.x, p.y + 40);
        InjectMouseButton(VK_LBUTTON, false);
        Press(VK_ESCAPE);
    });
    EXPECT_EQ(Ask(MB_OKCANCEL), IDCANCEL);
}

TEST_F(MsgBox, TheBoxShowsItsCaptionTextAndButtons) {
    const std::uint32_t frame = Rgb(GetSysColor(COLOR_WINDOWFRAME));
    const std::uint32_t face = Rgb(GetSysColor(COLOR_3DFACE));
    const std::uint32_t bar = Rgb(GetSysColor(COLOR_ACTIVECAPTION));
    const std::uint32_t dark = Rgb(GetSysColor(COLOR_3DDKSHADOW));
    RECT box{}, yes{}, no{};
    int textInk = 0;
    WhileShown([&] {
        const HWND h = FindBox();
        GetWindowRect(h, &box);
        GetWindowRect(ButtonOf(h, IDYES), &yes);
        GetWindowRect(ButtonOf(h, IDNO), &no);
        EXPECT_EQ(Px(box.left, box.top), frame);
        EXPECT_EQ(Px(box.right - 1, box.bottom - 1), frame);
        EXPECT_EQ(Px(box.right - 3, box.top + 3), bar);
        EXPECT_EQ(Px(box.left + 3, box.bottom - 3), face);
        // The message's text between the caption bar and the buttons.
        for (int y = box.top + 20; y < yes.top; ++y)
            for (int x = box.left + 1; x < box.right - 1; ++x)
                textInk += Px(x, y) != face ? 1 : 0;
        // The default button is framed dark; the other one has raised edges.
        EXPECT_EQ(Px(yes.left, yes.top), frame);
        EXPECT_EQ(Px(no.right - 1, no.bottom - 1), dark);
        EXPECT_EQ(Px((no.left + no.right) / 2, no.top + 2), face);
        Press(VK_RETURN);
    });
    EXPECT_EQ(MessageBoxA(owner, "Delete the selected files?", "Files", MB_YESNO), IDYES);
    EXPECT_GT(textInk, 30);
    EXPECT_EQ(yes.bottom, no.bottom);
    EXPECT_LT(yes.right, no.left);
    EXPECT_GE(yes.left - box.left, no.left - yes.left - (yes.right - yes.left));  // centred row
    // Centred over the owner, and wider for longer text, but never wider than the screen.
    EXPECT_NEAR((box.left + box.right) / 2, 160, 1);
    const std::string longText(400, 'w');
    RECT wide{};
    WhileShown([&] {
        GetWindowRect(FindBox(), &wide);
        Press(VK_RETURN);
    });
    MessageBoxA(owner, longText.c_str(), "Long", MB_OK);
    EXPECT_GT(wide.right - wide.left, box.right - box.left);
    EXPECT_LE(wide.right - wide.left, 320);
    EXPECT_GE(wide.left, 0);
}

TEST_F(MsgBox, WithNoInputEverTheBoxGivesTheSafeAnswerAndPassesTheQuitOn) {
    int code = -1;
    EXPECT_EQ(Ask(MB_YESNO), IDNO);
    EXPECT_TRUE(QuitPending(&code));
    EXPECT_EQ(Ask(MB_OK), IDOK);
    EXPECT_TRUE(QuitPending(&code));
    EXPECT_EQ(Ask(MB_YESNOCANCEL), IDCANCEL);
    EXPECT_TRUE(QuitPending(&code));
    EXPECT_EQ(Ask(MB_ABORTRETRYIGNORE | MB_DEFBUTTON2), IDRETRY);  // no Esc answer: the default
    EXPECT_TRUE(QuitPending(&code));
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(FindBox(), 0u);
    // A quit already asked for ends the box at once and keeps its exit code.
    PostQuitMessage(3);
    EXPECT_EQ(Ask(MB_OKCANCEL), IDCANCEL);
    ASSERT_TRUE(QuitPending(&code));
    EXPECT_EQ(code, 3);
    // Other windows' timers keep running in the box's loop until then.
    SetTimer(owner, 5, 100, nullptr);
    rec.Watch({WM_TIMER});
    WhileShown([] { Press(VK_ESCAPE); }, 450);
    EXPECT_EQ(Ask(MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(rec.log.size(), 4u);
    EXPECT_FALSE(QuitPending(&code));
}

TEST_F(MsgBox, BadTypesStaleOwnersAndADyingOwnerFailSoftly) {
    for (UINT type = 6; type <= 15; ++type)
        EXPECT_EQ(Ask(type), 0) << type;
    const HWND gone = Top("gone", 0, 0, 10, 10);
    DestroyWindow(gone);
    EXPECT_EQ(MessageBoxA(gone, "text", "caption", MB_OK), 0);
    EXPECT_EQ(FindBox(), 0u);
    // No owner, no text, no caption.
    Press(VK_RETURN);
    EXPECT_EQ(MessageBoxA(0, nullptr, nullptr, MB_OKCANCEL), IDOK);
    // The owner destroyed while the box is up takes the box along.
    WhileShown([&] { DestroyWindow(owner); });
    EXPECT_EQ(Ask(MB_OKCANCEL), IDCANCEL);
    EXPECT_FALSE(IsWindow(owner));
    EXPECT_EQ(FindBox(), 0u);
    int code = 0;
    EXPECT_FALSE(QuitPending(&code));
}

}  // namespace
}  // namespace zo::plat::test
