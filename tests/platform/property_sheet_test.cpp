// The property-sheet frame on the off-screen display, driven by injected clicks and keys from
// inside its loop: which page hears what and when, Apply following the shown page's edits,
// OK, Cancel and Esc, pages kept across tab switches, the modeless frame, and bad headers.
#include "platform/Dialogs.h"
#include "win_support.h"

namespace zo::plat::test {
namespace {

struct Pages {
    std::vector<std::string> log;  // "<page>:<event>"
    int made[2] = {0, 0};
};
thread_local Pages* tlsPages = nullptr;

INT_PTR PageProc(HWND h, UINT msg, WPARAM, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        const auto n = reinterpret_cast<const PROPSHEETPAGEA*>(lp)->lParam;
        SetWindowLongA(h, GWL_USERDATA, n);
        ++tlsPages->made[n];
        tlsPages->log.push_back(std::to_string(n) + ":init");
        return TRUE;
    }
    if (msg == WM_NOTIFY) {
        const UINT code = reinterpret_cast<const NMHDR*>(lp)->code;
        tlsPages->log.push_back(std::to_string(GetWindowLongA(h, GWL_USERDATA)) +
                                (code == PSN_SETACTIVE    ? ":active"
                                 : code == PSN_KILLACTIVE ? ":leave"
                                 : code == PSN_APPLY      ? ":apply"
                                 : code == PSN_RESET      ? ":reset"
                                                          : ":?"));
    }
    return FALSE;
}

class Sheet : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        owner = Top("owner", 0, 0, 320, 240);
        PumpMessages();
        tlsPages = &pages;
        for (int i = 0; i < 2; ++i) {
            psp[i] = {.dwFlags = PSP_USETITLE, .cx = 180, .cy = 90, .pfnDlgProc = &PageProc};
            psp[i].pszTitle = i == 0 ? "Position" : "Appearance";
            psp[i].lParam = i;
        }
        header = {.dwFlags = PSH_PROPTITLE, .hwndParent = owner, .nPages = 2, .ppsp = psp};
        header.pszCaption = "Bar";
    }
    void TearDown() override {
        tlsPages = nullptr;
        WinTest::TearDown();
    }
    // Runs act once the modal sheet is up, then the sheet's answer.
    INT_PTR Run(std::function<void()> act) {
        WhileModal([act] {
            Pump();
            act();
        });
        return PropertySheetA(&header);
    }
    static HWND Frame() { return GetActiveWindow(); }
    // Pumps as the sheet's own loop does, its keys first.
    static void Pump() {
        MSG m;
        while (PeekMessageA(&m, 0, 0, 0, PM_REMOVE)) {
            if (SendMessageA(Frame(), PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(&m)))
                continue;
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }
    static void Key(const char* keys) {
        Keys(keys, false);
        Pump();
    }
    static HWND Item(int id) { return GetDlgItem(Frame(), id); }
    static HWND Current() {
        return static_cast<HWND>(SendMessageA(Frame(), PSM_GETCURRENTPAGEHWND, 0, 0));
    }
    static void Changed() { SendMessageA(Frame(), PSM_CHANGED, Current(), 0); }

    HWND owner = 0;
    Pages pages;
    PROPSHEETPAGEA psp[2];
    PROPSHEETHEADERA header;
};

TEST_F(Sheet, ApplyFollowsTheShownPageAndOkAppliesTheEditedPagesThenCloses) {
    std::string seen;  // the owner's state and Apply's along the way
    const INT_PTR r = Run([&] {
        const auto applyOn = [] { return IsWindowEnabled(Item(IDC_PSAPPLY)) ? "on " : "off "; };
        seen += IsWindowEnabled(owner) ? "owner " : "no-owner ";
        const HWND first = Current();
        seen += applyOn();
        Changed();
        seen += applyOn();
        const auto tab = static_cast<HWND>(SendMessageA(Frame(), PSM_GETTABCONTROL, 0, 0));
        RECT r;
        SendMessageA(tab, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
        ClickAt(tab, (r.left + r.right) / 2, (r.top + r.bottom) / 2);  // the second tab
        seen += applyOn();
        Key("Ctrl+Tab");  // back to the first page, which still has its edits
        seen += Current() == first && IsWindowVisible(first) ? "kept " : "lost ";
        ClickAt(Item(IDC_PSAPPLY));
        seen += applyOn();
        Changed();
        ClickAt(Item(IDOK));
    });
    EXPECT_EQ(r, 1);
    EXPECT_EQ(seen, "no-owner off on off kept off ");
    EXPECT_EQ(Joined(pages.log),
              "0:init 0:active 0:leave 1:init 1:active 1:leave 0:active 0:apply 0:apply");
    EXPECT_EQ(pages.made[0], 1);  // made once, kept while hidden
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), owner);
}

TEST_F(Sheet, CancelEscAndClosingResetThePagesWithoutApplying) {
    const std::function<void()> ways[] = {[] { ClickAt(Item(IDCANCEL)); }, [] { Key("Esc"); },
                                          [] { SendMessageA(Frame(), WM_CLOSE, 0, 0); }};
    for (const auto& way : ways) {
        EXPECT_EQ(Run([&] { Changed(), way(); }), 0);
        EXPECT_EQ(Joined(pages.log), "0:init 0:active 0:reset");
    }
    // Enter presses OK; with nothing edited nothing is applied.
    EXPECT_EQ(Run([] { Key("Return"); }), 0);
    EXPECT_EQ(Joined(pages.log), "0:init 0:active");
    // No input can ever come: the sheet ends as Cancel, and the quit goes on.
    EXPECT_EQ(PropertySheetA(&header), 0);
    MSG m;
    EXPECT_TRUE(PeekMessageA(&m, 0, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(Sheet, AModelessSheetRunsInTheCallersLoopAndGoesOnOk) {
    header.dwFlags |= PSH_MODELESS | PSH_NOAPPLYNOW;
    const auto frame = static_cast<HWND>(PropertySheetA(&header));
    ASSERT_TRUE(IsWindow(frame));
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(Item(IDC_PSAPPLY), 0u);
    Key("Return");  // what OK applies in this sheet is checked through the pages
    EXPECT_FALSE(IsWindow(frame));
}

TEST_F(Sheet, BadHeadersAreRefused) {
    PROPSHEETHEADERA none = header, size = header, gone = header;
    none.nPages = 0;
    size.dwSize = 12;
    gone.hwndParent = Top("gone", 0, 0, 10, 10);
    DestroyWindow(gone.hwndParent);
    ExpectAll(-1, {ZO_CALL(PropertySheetA(nullptr)), ZO_CALL(PropertySheetA(&none)),
                   ZO_CALL(PropertySheetA(&size)), ZO_CALL(PropertySheetA(&gone))});
    psp[1].dwSize = 4;
    EXPECT_EQ(PropertySheetA(&header), -1);
    EXPECT_TRUE(pages.log.empty());
}

}  // namespace
}  // namespace zo::plat::test
