// The property-sheet frame on the off-screen display, driven by injected clicks and keys from
// inside its loop: which page hears what and when, Apply following the shown page's edits,
// OK, Cancel and Esc, pages kept across tab switches, the modeless frame, and bad headers.
#include <string>
#include <vector>

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
    const std::string who = std::to_string(GetWindowLongA(h, GWL_USERDATA)) + ":";
    if (msg == WM_NOTIFY) {
        const UINT code = reinterpret_cast<const NMHDR*>(lp)->code;
        const char* what = code == PSN_SETACTIVE    ? "active"
                           : code == PSN_KILLACTIVE ? "leave"
                           : code == PSN_APPLY      ? "apply"
                           : code == PSN_RESET      ? "reset"
                                                    : "?";
        tlsPages->log.push_back(who + what);
        return 0;
    }
    return FALSE;
}

class Sheet : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        owner = Top("owner", 0, 0, 320, 240);
        PumpMessages();
        tlsDuring = &during;
        tlsPages = &pages;
        for (int i = 0; i < 2; ++i) {
            psp[i].dwFlags = PSP_USETITLE;
            psp[i].cx = 180;
            psp[i].cy = 90;
            psp[i].pfnDlgProc = &PageProc;
            psp[i].pszTitle = i == 0 ? "Position" : "Appearance";
            psp[i].lParam = i;
        }
        header.hwndParent = owner;
        header.pszCaption = "Bar";
        header.dwFlags = PSH_PROPTITLE;
        header.nPages = 2;
        header.ppsp = psp;
    }
    void TearDown() override {
        tlsDuring = nullptr;
        tlsPages = nullptr;
        WinTest::TearDown();
    }
    // Runs act once the modal sheet is up, then the sheet's answer.
    INT_PTR Run(std::function<void()> act) {
        during = [act] {
            Pump();
            act();
        };
        SetTimer(0, 0, 30, &DuringProc);
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
    static HWND Item(int id) {
        for (HWND c = GetWindow(Frame(), GW_CHILD); c != 0; c = GetWindow(c, GW_HWNDNEXT))
            if (GetWindowLongA(c, GWL_ID) == id) return c;
        return 0;
    }
    static void ClickOn(HWND h) {
        RECT r;
        GetWindowRect(h, &r);
        InjectClick((r.left + r.right) / 2, (r.top + r.bottom) / 2, VK_LBUTTON);
        Pump();
    }
    static void ClickTab(int i) {
        const HWND tab = static_cast<HWND>(SendMessageA(Frame(), PSM_GETTABCONTROL, 0, 0));
        RECT r;
        SendMessageA(tab, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(tab, &p);
        InjectClick(p.x, p.y, VK_LBUTTON);
        Pump();
    }
    static HWND Current() {
        return static_cast<HWND>(SendMessageA(Frame(), PSM_GETCURRENTPAGEHWND, 0, 0));
    }
    static void Key(UINT vk, UINT modifier = 0) {
        if (modifier) InjectKey(modifier, true);
        InjectKey(vk, true);
        InjectKey(vk, false);
        if (modifier) InjectKey(modifier, false);
        Pump();
    }

    HWND owner = 0;
    std::function<void()> during;
    Pages pages;
    PROPSHEETPAGEA psp[2];
    PROPSHEETHEADERA header;
};

TEST_F(Sheet, ApplyFollowsTheShownPageAndOkAppliesTheEditedPagesThenCloses) {
    bool ownerEnabled = true, applyAtStart = true, applyEdited = false, applyOther = true;
    bool applyAfter = true, keptFirst = false;
    char caption[64] = {};
    const INT_PTR r = Run([&] {
        ownerEnabled = IsWindowEnabled(owner) != FALSE;
        GetWindowTextA(Frame(), caption, sizeof caption);
        const HWND apply = Item(IDC_PSAPPLY);
        const HWND first = Current();
        applyAtStart = IsWindowEnabled(apply) != FALSE;
        SendMessageA(Frame(), PSM_CHANGED, first, 0);
        applyEdited = IsWindowEnabled(apply) != FALSE;
        ClickTab(1);
        applyOther = IsWindowEnabled(apply) != FALSE;
        Key(VK_TAB, VK_CONTROL);  // back to the first page, which still has its edits
        keptFirst = Current() == first && IsWindowVisible(first);
        ClickOn(apply);
        applyAfter = IsWindowEnabled(apply) != FALSE;
        SendMessageA(Frame(), PSM_CHANGED, first, 0);
        ClickOn(Item(IDOK));
    });
    EXPECT_EQ(r, 1);
    EXPECT_STREQ(caption, "Bar Properties");
    EXPECT_FALSE(ownerEnabled);
    EXPECT_FALSE(applyAtStart);
    EXPECT_TRUE(applyEdited);
    EXPECT_FALSE(applyOther);
    EXPECT_TRUE(keptFirst);
    EXPECT_FALSE(applyAfter);
    EXPECT_EQ(pages.log,
              (std::vector<std::string>{"0:init", "0:active", "0:leave", "1:init", "1:active",
                                        "1:leave", "0:active", "0:apply", "0:apply"}));
    EXPECT_EQ(pages.made[0], 1);  // made once, kept while hidden
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), owner);
}

TEST_F(Sheet, CancelEscAndClosingResetThePagesWithoutApplying) {
    struct Case {
        const char* name;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"Cancel", [] { ClickOn(Item(IDCANCEL)); }},
        {"Esc", [] { Key(VK_ESCAPE); }},
        {"close", [] { SendMessageA(Frame(), WM_CLOSE, 0, 0); }},
    };
    for (const Case& c : cases) {
        pages.log.clear();
        const INT_PTR r = Run([&] {
            SendMessageA(Frame(), PSM_CHANGED, Current(), 0);
            c.act();
        });
        EXPECT_EQ(r, 0) << c.name;
        EXPECT_EQ(pages.log, (std::vector<std::string>{"0:init", "0:active", "0:reset"})) << c.name;
    }
    // Enter presses OK; with nothing edited nothing is applied.
    pages.log.clear();
    EXPECT_EQ(Run([] { Key(VK_RETURN); }), 0);
    EXPECT_EQ(pages.log, (std::vector<std::string>{"0:init", "0:active"}));
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
    SendMessageA(frame, PSM_SETCURSEL, 1, 0);
    SendMessageA(frame, PSM_CHANGED, Current(), 0);
    InjectKey(VK_RETURN, true);
    InjectKey(VK_RETURN, false);
    Pump();
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_EQ(pages.log.back(), "1:apply");
}

TEST_F(Sheet, BadHeadersAreRefused) {
    EXPECT_EQ(PropertySheetA(nullptr), -1);
    PROPSHEETHEADERA none = header;
    none.nPages = 0;
    EXPECT_EQ(PropertySheetA(&none), -1);
    PROPSHEETHEADERA size = header;
    size.dwSize = 12;
    EXPECT_EQ(PropertySheetA(&size), -1);
    psp[1].dwSize = 4;
    EXPECT_EQ(PropertySheetA(&header), -1);
    psp[1].dwSize = sizeof(PROPSHEETPAGEA);
    const HWND gone = Top("gone", 0, 0, 10, 10);
    DestroyWindow(gone);
    header.hwndParent = gone;
    EXPECT_EQ(PropertySheetA(&header), -1);
    EXPECT_TRUE(pages.log.empty());
}

}  // namespace
}  // namespace zo::plat::test
