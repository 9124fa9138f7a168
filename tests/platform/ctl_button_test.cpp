// Push buttons and check boxes driven by the mouse and the keyboard, and the dialog keyboard
// interface round them: Tab order, access keys, Enter and Esc, disabled controls.
#include "ctl_support.h"

namespace zo::plat::test {
namespace {

class Buttons : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        const DWORD tab = WS_TABSTOP;
        Make(WC_STATICA, "label", "&Name", 0, {10, 10, 60, 24});
        edit = Make(WC_EDITA, "edit", "text", tab, {70, 8, 170, 29}, 10, WS_EX_CLIENTEDGE);
        check = Make(WC_BUTTONA, "check", "Sho&w", tab | BS_AUTOCHECKBOX, {10, 40, 110, 57}, 11);
        Make(WC_BUTTONA, "skipped", "&Skip", BS_PUSHBUTTON, {10, 70, 85, 93}, 12);
        ok = Make(WC_BUTTONA, "ok", "OK", tab | BS_DEFPUSHBUTTON, {120, 160, 195, 183}, IDOK);
        cancel = Make(WC_BUTTONA, "cancel", "Cancel", tab, {205, 160, 280, 183}, IDCANCEL);
        PumpMessages();
        events.log.clear();
    }
    LRESULT Checked() const { return SendMessageA(check, BM_GETCHECK, 0, 0); }
    HWND edit = 0, check = 0, ok = 0, cancel = 0;
};

TEST_F(Buttons, PushButtonsAndCheckBoxesReportClicksFromMouseAndKeys) {
    ClickAt(ok, 20, 10);
    EXPECT_EQ(events.Said(), "ok:BN_CLICKED");
    EXPECT_EQ(GetFocus(), ok);
    // Let go outside: the press is taken back.
    Press(cancel, 10, 10);
    EXPECT_EQ(SendMessageA(cancel, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
    MoveTo(cancel, 200, 10);
    Release();
    EXPECT_EQ(events.Said(), "");
    Keys("Space");
    EXPECT_EQ(events.Said(), "cancel:BN_CLICKED");
    EnableWindow(ok, FALSE);
    ClickAt(ok, 20, 10);
    EXPECT_EQ(events.Said(), "");
    // A check box turns over on a click and on Space; set by code it reports nothing.
    ClickAt(check, 5, 8);
    EXPECT_EQ(Checked(), BST_CHECKED);
    Keys("Space");
    EXPECT_EQ(Checked(), BST_UNCHECKED);
    SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(Checked(), BST_CHECKED);
    EXPECT_EQ(events.Said(), "check:BN_CLICKED check:BN_CLICKED");
}

TEST_F(Buttons, TabWalksTheTabStopsBothWays) {
    Focus(edit);
    std::vector<HWND> forward;
    for (int i = 0; i < 4; ++i) {
        Keys("Tab");
        forward.push_back(GetFocus());
    }
    EXPECT_EQ(forward, (std::vector<HWND>{check, ok, cancel, edit}));
    EXPECT_EQ(Sel(edit), (std::pair<DWORD, DWORD>{0, 4}));  // tabbed into: all selected
    Keys("Shift+Tab");
    EXPECT_EQ(GetFocus(), cancel);
    // Disabled and hidden controls are passed over.
    EnableWindow(ok, FALSE);
    ShowWindow(check, SW_HIDE);
    SetFocus(edit);
    Keys("Tab");
    EXPECT_EQ(GetFocus(), cancel);
}

TEST_F(Buttons, AccessKeysMoveOnOrPress) {
    Focus(cancel);
    Keys("Alt+n");  // the label hands on to the edit
    EXPECT_EQ(GetFocus(), edit);
    Keys("Alt+w");  // the check box is pressed
    EXPECT_EQ(GetFocus(), check);
    EXPECT_EQ(Checked(), BST_CHECKED);
    Keys("s");  // a plain letter, as the focused check box takes no characters
    EXPECT_EQ(events.Said(),
              "edit:EN_SETFOCUS edit:EN_KILLFOCUS check:BN_CLICKED skipped:BN_CLICKED");
    Focus(edit);
    Keys("n");  // typed into the edit, not an access key
    EXPECT_EQ(GetFocus(), edit);
}

TEST_F(Buttons, EnterAndEscapePressTheDialogsButtons) {
    struct Row {
        HWND* focus;
        const char *key, *expected;
    };
    const Row rows[] = {
        {&edit, "Return", "ok:BN_CLICKED"},  // the default
        {&cancel, "Return", "cancel:BN_CLICKED"},
        {&edit, "Esc", "cancel:BN_CLICKED"},
        {&check, "Return", "ok:BN_CLICKED"},
    };
    for (const Row& row : rows) {
        Focus(*row.focus);
        Keys(row.key);
        EXPECT_EQ(events.Said(), row.expected) << row.key;
    }
    EnableWindow(ok, FALSE);
    Focus(edit);
    Keys("Return");
    EXPECT_EQ(events.Said(), "");
}

TEST_F(Buttons, PagesInsideTheDialogJoinItsKeyboardInterface) {
    // A child marked WS_EX_CONTROLPARENT holds controls of its own, as a property page does.
    const HWND page =
        CreateWindowExA(WS_EX_CONTROLPARENT, "ZoTestDialog", "", WS_CHILD | WS_VISIBLE, 150, 40,
                        140, 100, dialog, 0, 0, nullptr);
    const HWND inner = CreateWindowExA(0, WC_BUTTONA, "&Inner", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                                       5, 5, 80, 23, page, static_cast<HMENU>(40), 0, nullptr);
    events.names[inner] = "inner";
    EXPECT_EQ(GetDlgItem(dialog, 40), inner);
    Focus(cancel);
    Keys("Tab");
    EXPECT_EQ(GetFocus(), inner);  // the page's controls come after the dialog's own
    Keys("Alt+n");
    EXPECT_EQ(GetFocus(), edit);
    Keys("Alt+i");
    EXPECT_EQ(events.Said(), "edit:EN_SETFOCUS edit:EN_KILLFOCUS inner:BN_CLICKED");
    // The default moves with DM_SETDEFID, and Enter follows it.
    SendMessageA(dialog, DM_SETDEFID, IDCANCEL, 0);
    EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELPARAM(IDCANCEL, DC_HASDEFID));
    EXPECT_EQ(GetWindowLongA(ok, GWL_STYLE) & BS_TYPEMASK, static_cast<LONG_PTR>(BS_PUSHBUTTON));
    Focus(edit);
    Keys("Return");
    EXPECT_EQ(events.Said(), "cancel:BN_CLICKED");
}

}  // namespace
}  // namespace zo::plat::test
