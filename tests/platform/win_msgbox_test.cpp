// Message boxes on the off-screen display: answers from keys queued beforehand and from clicks
// made while the box runs (from a timer), the owner disabled meanwhile, the box's look, and the
// way out when no input can ever come.
#include "win_support.h"

namespace zo::plat::test {
namespace {

class MsgBox : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        owner = Top("owner", 0, 0, 320, 240);
        PumpMessages();
    }
    static HWND FindBox() { return TopWindowOf("ZoMessageBox"); }
    // The exit code of a quit request waiting in the queue, or -1.
    static int Quit() {
        MSG m;
        return PeekMessageA(&m, 0, WM_QUIT, WM_QUIT, PM_REMOVE) ? static_cast<int>(m.wParam) : -1;
    }
    int Ask(UINT type, const char* text = "Question?") {
        return MessageBoxA(owner, text, "Caption", type);
    }
    HWND owner = 0;
};

TEST_F(MsgBox, KeysGiveTheDefaultTheCancelAndTheLetteredAnswers) {
    struct Row {
        UINT type;
        const char* keys;
        int expected;
    };
    const Row rows[] = {
        {MB_OK, "Return", IDOK},
        {MB_OK, "Esc", IDOK},
        {MB_OKCANCEL, "Return", IDOK},
        {MB_OKCANCEL, "Esc", IDCANCEL},
        {MB_OKCANCEL | MB_DEFBUTTON2, "Return", IDCANCEL},
        {MB_YESNO, "Return", IDYES},
        {MB_YESNO, "Esc", IDNO},
        {MB_YESNO | MB_DEFBUTTON2, "Return", IDNO},
        {MB_YESNO, "n", IDNO},
        {MB_YESNOCANCEL, "Esc", IDCANCEL},
        {MB_YESNOCANCEL, "Tab Return", IDNO},
        {MB_YESNOCANCEL, "Left Return", IDCANCEL},  // round the row
        {MB_YESNOCANCEL, "Right Space", IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, "y", IDYES},
        {MB_ABORTRETRYIGNORE, "Esc i", IDIGNORE},  // no Esc answer in this one
        {MB_RETRYCANCEL, "Return", IDRETRY},
    };
    for (const Row& row : rows) {
        Keys(row.keys, false);  // queued before the box comes up
        EXPECT_EQ(Ask(row.type), row.expected) << "type " << row.type << ", keys " << row.keys;
        EXPECT_EQ(Quit(), -1);
        EXPECT_EQ(FindBox(), 0u);
        PumpMessages();  // keys left over go to the owner
    }
}

TEST_F(MsgBox, AClickOnAButtonAnswersWhileTheOwnerIsDisabled) {
    bool ownerEnabled = true, boxActive = false;
    std::string ownerClicks = "?";
    rec.Watch({WM_LBUTTONDOWN});
    WhileModal([&] {
        const HWND box = FindBox();
        ownerEnabled = IsWindowEnabled(owner) != FALSE;
        boxActive = box != 0 && GetActiveWindow() == box;
        ClickAt(owner, 5, 5);  // on the owner, outside the box
        ownerClicks = rec.Said();
        ClickAt(GetDlgItem(box, IDNO));
    });
    EXPECT_EQ(MessageBoxA(owner, "Save the changes?", "Editor", MB_YESNOCANCEL), IDNO);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(boxActive);
    EXPECT_EQ(ownerClicks, "");
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_EQ(FindBox(), 0u);
    // Pressed on a button and released off it: taken back, no answer.
    WhileModal([&] {
        const POINT p = ScreenOf(GetDlgItem(FindBox(), IDOK), 10, 10);
        InjectMouseMove(p.x, p.y);
        InjectMouseButton(VK_LBUTTON, true);
        InjectMouseMove(p.x, p.y + 40);
        InjectMouseButton(VK_LBUTTON, false);
        Keys("Esc", false);
    });
    EXPECT_EQ(Ask(MB_OKCANCEL), IDCANCEL);
}

// The frame, caption bar, text and a centred row of buttons, the default framed dark, centred
// over the owner (windows/message_box.png); a far longer text widens the box to the screen's
// width at most (windows/message_box_wide.png).
TEST_F(MsgBox, TheBoxMatchesItsReferenceImages) {
    std::string normal = "not shown", wide = "not shown";
    WhileModal([&] {
        normal = ScreenMatches(RECT{0, 0, 320, 240}, "windows/message_box");
        Keys("Return", false);
    });
    EXPECT_EQ(MessageBoxA(owner, "Delete the selected files?", "Files", MB_YESNO), IDYES);
    WhileModal([&] {
        wide = ScreenMatches(RECT{0, 0, 320, 240}, "windows/message_box_wide");
        Keys("Return", false);
    });
    Ask(MB_OK, std::string(400, 'w').c_str());
    EXPECT_EQ(normal, "");
    EXPECT_EQ(wide, "");
}

TEST_F(MsgBox, WithNoInputEverTheBoxGivesTheSafeAnswerAndPassesTheQuitOn) {
    // The last has no Esc answer: the default.
    for (const auto& [type, answer] : {std::pair<UINT, int>{MB_YESNO, IDNO},
                                       {MB_OK, IDOK},
                                       {MB_YESNOCANCEL, IDCANCEL},
                                       {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY}}) {
        EXPECT_EQ(Ask(type), answer) << type;
        EXPECT_EQ(Quit(), 0) << type;
    }
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(FindBox(), 0u);
    // A quit already asked for ends the box at once and keeps its exit code.
    PostQuitMessage(3);
    EXPECT_EQ(Ask(MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(Quit(), 3);
    // Other windows' timers keep running in the box's loop until then.
    SetTimer(owner, 5, 100, nullptr);
    rec.Watch({WM_TIMER});
    WhileModal([] { Keys("Esc", false); }, 450);
    EXPECT_EQ(Ask(MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(rec.log.size(), 4u);
    EXPECT_EQ(Quit(), -1);
}

TEST_F(MsgBox, BadTypesStaleOwnersAndADyingOwnerFailSoftly) {
    for (UINT type = 6; type <= 15; ++type)
        EXPECT_EQ(Ask(type), 0) << type;
    const HWND gone = Top("gone", 0, 0, 10, 10);
    DestroyWindow(gone);
    EXPECT_EQ(MessageBoxA(gone, "text", "caption", MB_OK), 0);
    EXPECT_EQ(FindBox(), 0u);
    Keys("Return", false);  // no owner, no text, no caption
    EXPECT_EQ(MessageBoxA(0, nullptr, nullptr, MB_OKCANCEL), IDOK);
    // The owner destroyed while the box is up takes the box along.
    WhileModal([&] { DestroyWindow(owner); });
    EXPECT_EQ(Ask(MB_OKCANCEL), IDCANCEL);
    EXPECT_FALSE(IsWindow(owner));
    EXPECT_EQ(FindBox(), 0u);
    EXPECT_EQ(Quit(), -1);
}

}  // namespace
}  // namespace zo::plat::test
