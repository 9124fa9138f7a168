// The tab control and the list box driven by injected clicks and keys on the off-screen
// display: what each choice tells the parent and in what order, vetoes, keys round the tabs,
// list keys, type-ahead, double-click and the list's own scroll bar; and their geometry.
#include "dialog_scenes.h"
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
            static const std::map<UINT, const char*> names = {
                {TCN_SELCHANGING, "changing"}, {TCN_SELCHANGE, "change"}, {LBN_SELCHANGE, "sel"},
                {LBN_DBLCLK, "dbl"},           {LBN_SETFOCUS, "focus"},   {LBN_KILLFOCUS, "focus"}};
            if (msg != WM_NOTIFY && msg != WM_COMMAND) return std::nullopt;
            const UINT code =
                msg == WM_NOTIFY ? reinterpret_cast<const NMHDR*>(lp)->code : HIWORD(wp);
            said.push_back(names.count(code) != 0 ? names.at(code) : "?");
            if (code == TCN_SELCHANGING) return veto ? 1 : 0;
            return std::nullopt;
        };
    }
    HWND Make(const char* cls, DWORD style, int x, int y, int w, int h) {
        const HWND c = CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, y,
                                       w, h, parent, static_cast<HMENU>(7), 0, nullptr);
        PumpMessages();
        return c;
    }
    static LRESULT Cur(HWND h, UINT msg) { return SendMessageA(h, msg, 0, 0); }

    HWND parent = 0;
    std::vector<std::string> said;
    bool veto = false;
};

TEST_F(Controls, TabsChangeByClickAndKeysTellingTheParentFirstAndAfter) {
    const HWND tab = Make(WC_TABCONTROLA, 0, 10, 10, 300, 120);
    SceneTabs(tab, {"General", "Buttons", "Groups"}, 99);  // past the end: appended
    EXPECT_EQ(Cur(tab, TCM_GETCURSEL), 0);
    RECT second;
    SendMessageA(tab, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    ClickAt(tab, (second.left + second.right) / 2, (second.top + second.bottom) / 2);
    EXPECT_EQ(Cur(tab, TCM_GETCURSEL), 1);
    EXPECT_EQ(Joined(said), "changing change");
    EXPECT_EQ(GetFocus(), tab);
    struct Row {
        const char* keys;
        LRESULT after;
    };
    // Ctrl+Tab wraps; the arrows stop at the ends.
    for (const Row& row :
         {Row{"Ctrl+Tab", 2}, Row{"Ctrl+Tab", 0}, Row{"Ctrl+PgUp", 2}, Row{"Ctrl+PgDn", 0},
          Row{"Ctrl+PgUp", 2}, Row{"Right", 2}, Row{"Left", 1}}) {
        Keys(row.keys);
        EXPECT_EQ(Cur(tab, TCM_GETCURSEL), row.after) << row.keys;
    }
    InjectKey(VK_SHIFT, true);
    Keys("Ctrl+Tab");
    InjectKey(VK_SHIFT, false);
    EXPECT_EQ(Cur(tab, TCM_GETCURSEL), 0);
    // A veto keeps the tab; setting the tab by message tells nobody.
    said.clear();
    veto = true;
    Keys("Right");
    EXPECT_EQ(Cur(tab, TCM_GETCURSEL), 0);
    EXPECT_EQ(Joined(said), "changing");
    EXPECT_EQ(SendMessageA(tab, TCM_SETCURSEL, 1, 0), 0);
    EXPECT_EQ(SendMessageA(tab, TCM_SETCURSEL, 5, 0), -1);
    EXPECT_TRUE(said.empty());
    // Removing tabs before and at the chosen one keeps the choice on a tab that exists.
    SendMessageA(tab, TCM_SETCURSEL, 2, 0);
    std::vector<LRESULT> after;
    for (const WPARAM i : {0, 1, 0}) {
        SendMessageA(tab, TCM_DELETEITEM, i, 0);
        after.push_back(Cur(tab, TCM_GETCURSEL));
    }
    EXPECT_EQ(after, (std::vector<LRESULT>{1, 0, -1}));
    Keys("Right");  // no tabs: nothing to choose, nothing said
    EXPECT_TRUE(said.empty());
}

TEST_F(Controls, ListKeysClicksAndTypeAheadChooseRowsAndSayWhatChanged) {
    const HWND list = Make(WC_LISTBOXA, LBS_NOTIFY | LBS_SORT, 10, 10, 150, 10 * 13);
    const int itemH = static_cast<int>(Cur(list, LB_GETITEMHEIGHT));
    ASSERT_GT(itemH, 8);
    for (int i = 0; i < 30; ++i) {
        const std::string s = std::string(1, static_cast<char>('a' + i % 26)) + std::to_string(i);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    }
    char first[8] = {};
    SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ(first, "a0");  // sorted
    ClickAt(list, 20, itemH / 2);
    EXPECT_EQ(Cur(list, LB_GETCURSEL), 0);
    EXPECT_EQ(Joined(said), "focus sel");
    const int rows = 130 / itemH;
    struct Row {
        const char* key;
        LRESULT sel;
    };
    for (const Row& row : {Row{"Down", 1}, Row{"PgDn", rows}, Row{"End", 29}, Row{"Down", 29},
                           Row{"PgUp", 29 - (rows - 1)}, Row{"Home", 0}, Row{"Up", 0}}) {
        Keys(row.key);
        EXPECT_EQ(Cur(list, LB_GETCURSEL), row.sel) << row.key;
        const LRESULT top = Cur(list, LB_GETTOPINDEX);
        EXPECT_TRUE(row.sel >= top && row.sel < top + rows) << "row " << row.sel << " not in view";
    }
    // Type-ahead goes to the next row starting with the letter, round the end ("c2", "c28").
    for (LRESULT want : {4, 5, 4}) {
        SendMessageA(list, WM_CHAR, 'c', 0);
        EXPECT_EQ(Cur(list, LB_GETCURSEL), want);
    }
    // A double-click chooses the row, then says so.
    SendMessageA(list, LB_SETTOPINDEX, 0, 0);
    said.clear();
    const POINT p = ScreenOf(list, 20, itemH + itemH / 2);
    InjectClick(p.x, p.y, VK_LBUTTON);
    InjectClick(p.x, p.y, VK_LBUTTON);
    PumpMessages();
    EXPECT_EQ(Cur(list, LB_GETCURSEL), 1);
    EXPECT_EQ(Joined(said), "sel dbl");
    EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 30, 0), LB_ERR);
    EXPECT_EQ(Cur(list, LB_GETCURSEL), 1);
}

TEST_F(Controls, TheListScrollsByItsBarAndTheWheelWithinItsRange) {
    const HWND list = Make(WC_LISTBOXA, 0, 10, 10, 150, 100);
    for (int i = 0; i < 40; ++i)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("row"));
    const RECT c = ClientRect(list);
    const int itemH = static_cast<int>(Cur(list, LB_GETITEMHEIGHT));
    const ListGeometry g = MeasureList(c.right, c.bottom, itemH, 40, 0);
    ASSERT_TRUE(g.scroll);
    std::vector<LRESULT> tops;
    const auto click = [&](int x, int y) {
        ClickAt(list, x, y);
        tops.push_back(Cur(list, LB_GETTOPINDEX));
    };
    click(g.down.left + 4, g.down.top + 4);
    click(g.up.left + 4, g.up.top + 4);
    click(g.up.left + 4, g.up.top + 4);
    click(g.track.left + 4, g.track.bottom - 2);  // below the thumb: a page
    EXPECT_EQ(tops, (std::vector<LRESULT>{1, 0, 0, g.rows - 1}));
    // Dragging the thumb to the end of the track shows the last rows.
    const ListGeometry now = MeasureList(c.right, c.bottom, itemH, 40, g.rows - 1);
    const POINT from = ScreenOf(list, now.thumb.left + 4, now.thumb.top + 2);
    InjectMouseMove(from.x, from.y);
    InjectMouseButton(VK_LBUTTON, true);
    InjectMouseMove(from.x, ScreenOf(list, 0, c.bottom + 50).y);
    InjectMouseButton(VK_LBUTTON, false);
    PumpMessages();
    EXPECT_EQ(Cur(list, LB_GETTOPINDEX), g.maxTop);
    SendMessageA(list, WM_MOUSEWHEEL, static_cast<WPARAM>(120) << 16, 0);
    EXPECT_EQ(Cur(list, LB_GETTOPINDEX), g.maxTop - 3);
    SendMessageA(list, WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(-1200)) << 16, 0);
    EXPECT_EQ(Cur(list, LB_GETTOPINDEX), g.maxTop);
    // A point names the row under it; above the rows, the one before the first shown, and
    // below them the last row, both outside.
    const auto rowAt = [&](int y) {
        return SendMessageA(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(4, static_cast<WORD>(y)));
    };
    EXPECT_EQ(rowAt(itemH + 1), MAKELPARAM(g.maxTop + 1, 0));
    EXPECT_EQ(rowAt(-5), MAKELPARAM(g.maxTop - 1, 1));
    EXPECT_EQ(rowAt(c.bottom + 3 * itemH), MAKELPARAM(39, 1));
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
    EXPECT_EQ(MeasureList(120, 100, 10, 20, 10).thumb, (RECT{104, 50, 120, 84}));
    EXPECT_EQ(MeasureList(120, 100, 10, 1000, 990).thumb.top, 100 - 16 - kListMinThumb);
    EXPECT_FALSE(MeasureList(120, 100, 10, 10, 0).scroll);
    EXPECT_FALSE(MeasureList(120, 20, 10, 5, 0).scroll);  // too short for a bar
}

}  // namespace
}  // namespace zo::plat::test
