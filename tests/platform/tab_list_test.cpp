// The tab control and the list box driven by injected clicks and keys on the off-screen
// display: what each choice tells the parent and in what order, vetoes, keys round the tabs,
// list keys, type-ahead, double-click and the list's own scroll bar; and their geometry.
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/commctrl/Geometry.h"
#include "win_support.h"

namespace zo::plat::test {
namespace {

class Controls : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        INITCOMMONCONTROLSEX icc;
        InitCommonControlsEx(&icc);
        parent = Top("parent", 0, 0, 320, 240);
        rec.hook = [this](HWND, UINT msg, WPARAM wp, LPARAM lp) -> std::optional<LRESULT> {
            if (msg == WM_NOTIFY) {
                const UINT code = reinterpret_cast<const NMHDR*>(lp)->code;
                said.push_back(code == TCN_SELCHANGING ? "changing"
                               : code == TCN_SELCHANGE ? "change"
                                                       : "?");
                if (code == TCN_SELCHANGING) return veto ? 1 : 0;
            } else if (msg == WM_COMMAND) {
                const WORD code = HIWORD(wp);
                said.push_back(code == LBN_SELCHANGE ? "sel"
                               : code == LBN_DBLCLK  ? "dbl"
                                                     : "focus");
            }
            return std::nullopt;
        };
    }
    HWND Make(const char* cls, DWORD style, int x, int y, int w, int h) {
        const HWND c = CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, y,
                                       w, h, parent, static_cast<HMENU>(7), 0, nullptr);
        PumpMessages();
        return c;
    }
    void AddTabs(HWND tab, std::vector<const char*> names) {
        for (const char* n : names) {
            TCITEMA it;
            it.mask = TCIF_TEXT;
            it.pszText = const_cast<char*>(n);
            SendMessageA(tab, TCM_INSERTITEMA, 99, reinterpret_cast<LPARAM>(&it));
        }
    }
    static void Key(UINT vk, UINT modifier = 0) {
        if (modifier != 0) InjectKey(modifier, true);
        InjectKey(vk, true);
        InjectKey(vk, false);
        if (modifier != 0) InjectKey(modifier, false);
        PumpMessages();
    }
    static void Click(HWND h, int x, int y) {
        POINT p{x, y};
        ClientToScreen(h, &p);
        InjectClick(p.x, p.y, VK_LBUTTON);
        PumpMessages();
    }

    HWND parent = 0;
    std::vector<std::string> said;
    bool veto = false;
};

TEST_F(Controls, TabsChangeByClickAndKeysTellingTheParentFirstAndAfter) {
    const HWND tab = Make(WC_TABCONTROLA, 0, 10, 10, 300, 120);
    AddTabs(tab, {"General", "Buttons", "Groups"});
    EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 0);
    RECT second;
    SendMessageA(tab, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    Click(tab, (second.left + second.right) / 2, (second.top + second.bottom) / 2);
    EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(said, (std::vector<std::string>{"changing", "change"}));
    EXPECT_EQ(GetFocus(), tab);
    struct Step {
        UINT vk, modifier, modifier2;
        LRESULT after;
    };
    const Step steps[] = {
        {VK_TAB, VK_CONTROL, 0, 2},
        {VK_TAB, VK_CONTROL, 0, 0},  // wraps
        {VK_TAB, VK_CONTROL, VK_SHIFT, 2},
        {VK_NEXT, VK_CONTROL, 0, 0},
        {VK_PRIOR, VK_CONTROL, 0, 2},
        {VK_RIGHT, 0, 0, 2},  // arrows stop at the ends
        {VK_LEFT, 0, 0, 1},
    };
    for (const Step& s : steps) {
        if (s.modifier2 != 0) InjectKey(s.modifier2, true);
        Key(s.vk, s.modifier);
        if (s.modifier2 != 0) InjectKey(s.modifier2, false);
        EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), s.after) << "key " << s.vk;
    }
    // A veto keeps the tab; setting the tab by message tells nobody.
    said.clear();
    veto = true;
    Key(VK_RIGHT);
    EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(said, std::vector<std::string>{"changing"});
    said.clear();
    EXPECT_EQ(SendMessageA(tab, TCM_SETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageA(tab, TCM_SETCURSEL, 5, 0), -1);
    EXPECT_TRUE(said.empty());
    // Removing tabs before and at the chosen one keeps the choice on a tab that exists.
    SendMessageA(tab, TCM_SETCURSEL, 2, 0);
    SendMessageA(tab, TCM_DELETEITEM, 0, 0);
    EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 1);
    SendMessageA(tab, TCM_DELETEITEM, 1, 0);
    EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 0);
    SendMessageA(tab, TCM_DELETEITEM, 0, 0);
    EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), -1);
    Key(VK_RIGHT);  // no tabs: nothing to choose, nothing said
    EXPECT_EQ(said, std::vector<std::string>{});
}

TEST_F(Controls, ListKeysClicksAndTypeAheadChooseRowsAndSayWhatChanged) {
    const HWND list = Make(WC_LISTBOXA, LBS_NOTIFY | LBS_SORT, 10, 10, 150, 10 * 13);
    const int itemH = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    ASSERT_GT(itemH, 8);
    for (int i = 0; i < 30; ++i) {
        const std::string s = std::string(1, static_cast<char>('a' + i % 26)) + std::to_string(i);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    }
    char first[8] = {};
    SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ(first, "a0");  // sorted
    Click(list, 20, itemH / 2);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(said, (std::vector<std::string>{"focus", "sel"}));
    const int rows = 130 / itemH;
    struct Step {
        UINT vk;
        LRESULT sel;
    };
    const Step steps[] = {
        {VK_DOWN, 1}, {VK_NEXT, rows}, {VK_END, 29}, {VK_DOWN, 29}, {VK_PRIOR, 29 - (rows - 1)},
        {VK_HOME, 0}, {VK_UP, 0}};
    for (const Step& s : steps) {
        Key(s.vk);
        EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), s.sel) << "key " << s.vk;
        const LRESULT top = SendMessageA(list, LB_GETTOPINDEX, 0, 0);
        EXPECT_TRUE(s.sel >= top && s.sel < top + rows) << "row " << s.sel << " not in view";
    }
    // Type-ahead goes to the next row starting with the letter, round the end ("c2", "c28").
    for (LRESULT want : {4, 5, 4}) {
        SendMessageA(list, WM_CHAR, 'c', 0);
        EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), want);
    }
    // A double-click chooses the row, then says so; a click below the rows chooses nothing.
    SendMessageA(list, LB_SETTOPINDEX, 0, 0);
    said.clear();
    POINT p{20, itemH + itemH / 2};
    ClientToScreen(list, &p);
    InjectClick(p.x, p.y, VK_LBUTTON);
    InjectClick(p.x, p.y, VK_LBUTTON);
    PumpMessages();
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(said, (std::vector<std::string>{"sel", "dbl"}));
    EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 30, 0), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
}

TEST_F(Controls, TheListScrollsByItsBarAndTheWheelWithinItsRange) {
    const HWND list = Make(WC_LISTBOXA, 0, 10, 10, 150, 100);
    for (int i = 0; i < 40; ++i)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("row"));
    RECT c;
    GetClientRect(list, &c);
    const int itemH = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    const ListGeometry g = MeasureList(c.right, c.bottom, itemH, 40, 0);
    ASSERT_TRUE(g.scroll);
    auto top = [&] { return SendMessageA(list, LB_GETTOPINDEX, 0, 0); };
    Click(list, g.down.left + 4, g.down.top + 4);
    EXPECT_EQ(top(), 1);
    Click(list, g.up.left + 4, g.up.top + 4);
    Click(list, g.up.left + 4, g.up.top + 4);
    EXPECT_EQ(top(), 0);
    Click(list, g.track.left + 4, g.track.bottom - 2);  // below the thumb: a page
    EXPECT_EQ(top(), g.rows - 1);
    // Dragging the thumb to the end of the track shows the last rows.
    const ListGeometry now = MeasureList(c.right, c.bottom, itemH, 40, static_cast<int>(top()));
    POINT from{now.thumb.left + 4, now.thumb.top + 2}, to{from.x, c.bottom + 50};
    ClientToScreen(list, &from);
    ClientToScreen(list, &to);
    InjectMouseMove(from.x, from.y);
    InjectMouseButton(VK_LBUTTON, true);
    InjectMouseMove(to.x, to.y);
    InjectMouseButton(VK_LBUTTON, false);
    PumpMessages();
    EXPECT_EQ(top(), g.maxTop);
    SendMessageA(list, WM_MOUSEWHEEL, static_cast<WPARAM>(120) << 16, 0);
    EXPECT_EQ(top(), g.maxTop - 3);
    SendMessageA(list, WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(-1200)) << 16, 0);
    EXPECT_EQ(top(), g.maxTop);
}

TEST(CommCtrlGeometry, TabsRowUpAndListBarsFollowTheirSizes) {
    const std::vector<RECT> tabs = TabRects({10, 60}, 13);
    ASSERT_EQ(tabs.size(), 2u);
    EXPECT_EQ(tabs[0], (RECT{2, 2, 2 + kTabMinWidth, 2 + 13 + kTabPadY}));  // short text: minimum
    EXPECT_EQ(tabs[1].left, tabs[0].right);
    EXPECT_EQ(tabs[1].right - tabs[1].left, 60 + 2 * kTabPadX);
    EXPECT_EQ(TabAt(tabs, POINT{tabs[1].left, 5}), 1);
    EXPECT_EQ(TabAt(tabs, POINT{tabs[1].right, 5}), -1);
    const RECT window{0, 0, 200, 150};
    const RECT page = AdjustTabRect(window, TabPaneTop(13), false);
    EXPECT_EQ(AdjustTabRect(page, TabPaneTop(13), true), window);
    // 100 px of 10-px rows with twice as many rows: the thumb is half the 68-px track.
    const ListGeometry end = MeasureList(120, 100, 10, 20, 10);
    EXPECT_EQ(end.thumb, (RECT{104, 50, 120, 84}));
    EXPECT_EQ(MeasureList(120, 100, 10, 1000, 990).thumb.top, 100 - 16 - kListMinThumb);
    EXPECT_FALSE(MeasureList(120, 100, 10, 10, 0).scroll);
    EXPECT_FALSE(MeasureList(120, 20, 10, 5, 0).scroll);  // too short for a bar
}

}  // namespace
}  // namespace zo::plat::test
