// The drop-down list: its item messages, and choosing by mouse, keys and letters with the
// notifications in their order.
#include "ctl_support.h"

namespace zo::plat::test {
namespace {

class Combo : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        combo =
            Make(WC_COMBOBOXA, "combo", "", WS_TABSTOP | CBS_DROPDOWNLIST, {10, 10, 160, 31}, 5);
        for (const char* s : {"0 - zoLeft", "1 - zoRight", "2 - zoTop", "3 - zoBottom", "Apple",
                              "Avocado", "Banana"})
            SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
        PumpMessages();
        events.log.clear();
    }
    LRESULT Cur() const { return SendMessageA(combo, CB_GETCURSEL, 0, 0); }
    bool Dropped() const { return SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }
    // The list's window, below the combo.
    static HWND List() { return TopWindowOf("ComboLBox"); }
    HWND combo = 0;
};

TEST_F(Combo, ItemMessagesAnswerAsThePlatformDoes) {
    struct Row {
        WPARAM index;
        LRESULT result, cur;
    };
    // A valid index, the last, one past the end and -1: the last two clear the choice.
    for (const Row& row : {Row{2, 2, 2}, Row{6, 6, 6}, Row{7, CB_ERR, -1},
                           Row{static_cast<WPARAM>(-1), CB_ERR, -1}}) {
        SendMessageA(combo, CB_SETCURSEL, 1, 0);
        EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, row.index, 0), row.result) << row.index;
        EXPECT_EQ(Cur(), row.cur) << row.index;
    }
    EXPECT_EQ(events.Said(), "");  // code changes are not reported
    char buf[32] = {};
    EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXTLEN, 3, 0), 12);
    EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 3, reinterpret_cast<LPARAM>(buf)), 12);
    EXPECT_STREQ(buf, "3 - zoBottom");
    EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 7, reinterpret_cast<LPARAM>(buf)), CB_ERR);
    SendMessageA(combo, CB_SETCURSEL, 4, 0);
    EXPECT_EQ(Text(combo), "Apple");
    // Deleting answers the count left; the choice follows its item, or goes with it.
    EXPECT_EQ(SendMessageA(combo, CB_DELETESTRING, 1, 0), 6);
    EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(buf)), 9);
    EXPECT_STREQ(buf, "2 - zoTop");
    EXPECT_EQ(Cur(), 3);
    EXPECT_EQ(SendMessageA(combo, CB_DELETESTRING, 3, 0), 5);
    EXPECT_EQ(Cur(), -1);
    EXPECT_EQ(SendMessageA(combo, CB_DELETESTRING, 5, 0), CB_ERR);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(Cur(), -1);
}

TEST_F(Combo, AClickInTheListChoosesAndReportsInOrder) {
    ClickAt(combo, 140, 10);
    ASSERT_TRUE(Dropped());
    const HWND list = List();
    ASSERT_NE(list, 0u);
    EXPECT_EQ(WindowRect(list).top, WindowRect(combo).bottom);
    const int rowH = ClientRect(list).bottom / 7;
    ClickAt(list, 20, rowH * 2 + rowH / 2);  // the third row
    EXPECT_FALSE(Dropped());
    EXPECT_EQ(Cur(), 2);
    EXPECT_EQ(events.Said(),
              "combo:CBN_SETFOCUS combo:CBN_DROPDOWN combo:CBN_SELCHANGE combo:CBN_SELENDOK "
              "combo:CBN_CLOSEUP");
    // A click outside closes the list and changes nothing.
    ClickAt(combo, 140, 10);
    ClickAt(dialog, 250, 150);
    EXPECT_FALSE(Dropped());
    EXPECT_EQ(Cur(), 2);
    EXPECT_EQ(events.Said(), "combo:CBN_DROPDOWN combo:CBN_SELENDCANCEL combo:CBN_CLOSEUP");
}

TEST_F(Combo, KeysOpenMoveAndChooseReportingEachStepAndTabClosesTheList) {
    struct Row {
        const char* keys;
        LRESULT cur;
        bool dropped;
    };
    const Row rows[] = {
        {"F4", 1, true},
        {"Alt+Down", 1, true},
        {"F4 Down Down Return", 3, false},
        {"F4 Down Esc", 1, false},   // closed unchanged
        {"F4 Up F4", 0, false},      // F4 again chooses
        {"Down Down Up", 2, false},  // closed, the arrows step
        {"End", 6, false},
        {"a", 4, false},            // a letter finds the next item
        {"a a a", 4, false},        // the same letter goes round
        {"F4 b Return", 6, false},  // a letter in the open list
    };
    for (const Row& row : rows) {
        SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
        SendMessageA(combo, CB_SETCURSEL, 1, 0);
        Focus(combo);
        Keys(row.keys);
        EXPECT_EQ(Cur(), row.cur) << row.keys;
        EXPECT_EQ(Dropped(), row.dropped) << row.keys;
    }
    // Closed, each step is reported; Tab closes an open list.
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    Focus(combo);
    Keys("Down Up Up");  // the last is already first: nothing
    EXPECT_EQ(events.Said(),
              "combo:CBN_SELCHANGE combo:CBN_SELENDOK combo:CBN_SELCHANGE combo:CBN_SELENDOK");
    const HWND next = Make(WC_EDITA, "next", "", WS_TABSTOP, {10, 50, 100, 71});
    Keys("F4 Tab");
    EXPECT_FALSE(Dropped());
    EXPECT_EQ(GetFocus(), next);
}

TEST_F(Combo, ALongListShowsEightRowsAndScrolls) {
    for (int i = 7; i < 17; ++i)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_string(i).c_str()));
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    ClickAt(combo, 140, 10);
    const RECT client = ClientRect(List());
    EXPECT_EQ(client.bottom % 8, 0);
    // The list's down arrow scrolls by one: the first row is then item 1.
    ClickAt(List(), client.right - 5, client.bottom - 5);
    ASSERT_TRUE(Dropped());
    ClickAt(List(), 20, client.bottom / 16);
    EXPECT_EQ(Cur(), 1);
    Keys("F4 End Return");  // the keys scroll the highlight into view
    EXPECT_EQ(Cur(), 16);
}

}  // namespace
}  // namespace zo::plat::test
