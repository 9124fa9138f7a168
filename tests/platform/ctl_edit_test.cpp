// The single-line edit driven by injected keys and mouse: editing and selection keys, the
// EN_CHANGE reports, the clipboard, the caret and scrolling. The parent's character filter is
// driven through the pages' index and picture boxes.
#include "ctl_support.h"
#include "platform/Text.h"

namespace zo::plat::test {
namespace {

class Edit : public ControlTest {
protected:
    HWND MakeEdit(const char* name, const char* text, DWORD style = 0, RECT r = {10, 10, 150, 31}) {
        return Make(WC_EDITA, name, text, WS_TABSTOP | style, r, 0, WS_EX_CLIENTEDGE);
    }
};

TEST_F(Edit, KeysEditAndSelect) {
    struct Row {
        const char *keys, *text;
        std::pair<DWORD, DWORD> sel;
    };
    const Row rows[] = {
        {"End x", "hello worldx", {12, 12}},
        {"Home Shift+Right Shift+Right", "hello world", {0, 2}},  // shift right selects
        {"Home Shift+End ab", "ab", {2, 2}},                      // typing replaces the selection
        {"End Back", "hello worl", {10, 10}},
        {"Home Del", "ello world", {0, 0}},
        {"Home Back", "hello world", {0, 0}},  // nothing before the start
        {"Ctrl+a", "hello world", {0, 11}},
        {"Ctrl+a Del", "", {0, 0}},
        {"Ctrl+a Left", "hello world", {10, 10}},  // left leaves the selection
    };
    const HWND edit = MakeEdit("edit", "");
    for (const Row& row : rows) {
        SetWindowTextA(edit, "hello world");
        Focus(edit);
        Keys(row.keys);
        EXPECT_EQ(Text(edit), row.text) << row.keys;
        EXPECT_EQ(Sel(edit), row.sel) << row.keys;
    }
}

TEST_F(Edit, ReadOnlyKeepsItsTextButCopiesAndTheClipboardCarriesText) {
    const HWND ro = Focus(MakeEdit("ro", "fixed", ES_READONLY));
    const HWND a = MakeEdit("a", "one two", 0, {10, 40, 150, 61});
    const HWND b = MakeEdit("b", "x", 0, {10, 70, 150, 91});
    Keys("zz Back Ctrl+a Ctrl+x Ctrl+c");  // cut is refused, copy is not
    EXPECT_EQ(Text(ro), "fixed");
    EXPECT_EQ(events.Said(), "");
    Focus(b);
    Keys("Ctrl+a Ctrl+v");
    EXPECT_EQ(Text(b), "fixed");
    Focus(a);
    Keys("End Shift+Left Shift+Left Shift+Left Ctrl+x");
    EXPECT_EQ(Text(a), "one ");
    char clip[16] = {};
    EXPECT_EQ(GetClipboardTextA(clip, sizeof clip), 3);
    EXPECT_STREQ(clip, "two");
    Focus(b);
    Keys("Ctrl+a x End Shift+Ins Ctrl+v");
    EXPECT_EQ(Text(b), "xtwotwo");
    // A pasted text keeps only its first line.
    SetClipboardTextA(0, "first\r\nsecond");
    Keys("Ctrl+a Ctrl+v");
    EXPECT_EQ(Text(b), "first");
    // A long text is taken whole and the view scrolls to its end.
    SetClipboardTextA(0, std::string(20000, 'w').c_str());
    Keys("Ctrl+v");
    EXPECT_EQ(GetWindowTextLengthA(b), 20005);
    POINT caret;
    GetCaretPos(&caret);
    EXPECT_LT(caret.x, 140);
    EXPECT_GT(caret.x, 100);
}

TEST_F(Edit, TheMouseSelects) {
    const HWND edit = MakeEdit("edit", "abcdefgh");
    const auto xOf = [&](int i) {
        const HDC dc = GetDC(edit);
        SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        SIZE s;
        GetTextExtentPoint32A(dc, "abcdefgh", i, &s);
        ReleaseDC(edit, dc);
        return 1 + s.cx;
    };
    // A drag that turns back ends where the pointer is, not past where it has been.
    Press(edit, xOf(2), 8);
    MoveTo(edit, xOf(6), 8);
    MoveTo(edit, xOf(5), 8);
    Release();
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(Sel(edit), (std::pair<DWORD, DWORD>{2, 5}));
    InjectKey(VK_SHIFT, true);
    ClickAt(edit, xOf(7), 8);
    InjectKey(VK_SHIFT, false);
    PumpMessages();
    EXPECT_EQ(Sel(edit), (std::pair<DWORD, DWORD>{2, 7}));
    // A double click takes the word.
    SetWindowTextA(edit, "ab cdef gh");
    RunFor(1000);
    ClickAt(edit, xOf(4), 8);
    ClickAt(edit, xOf(4), 8);
    EXPECT_EQ(Sel(edit), (std::pair<DWORD, DWORD>{3, 7}));
}

TEST_F(Edit, TheCaretFollowsBlinksAndScrollsLongTextIntoView) {
    const HWND edit = Focus(MakeEdit("edit", "a long line of text that does not fit in the box"));
    POINT at;
    GetCaretPos(&at);
    EXPECT_EQ(at.x, 1);
    // The caret's column is inverted, then restored by the blink.
    const POINT screen = ScreenOf(edit, at.x, at.y);
    std::vector<std::uint32_t> seen;
    const auto look = [&] { seen.push_back(Px(screen.x, screen.y)); };
    look();
    RunFor(GetCaretBlinkTime());
    look();
    RunFor(GetCaretBlinkTime());
    look();
    // A repaint takes the caret off and puts it back, never inverting it twice.
    InvalidateRect(edit, nullptr, TRUE);
    PumpMessages();
    look();
    // Hiding counts: two hides need two shows.
    HideCaret(edit);
    HideCaret(edit);
    ShowCaret(edit);
    RunFor(GetCaretBlinkTime() * 2);
    look();
    ShowCaret(edit);
    look();
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{0, 0xFFFFFF, 0, 0, 0xFFFFFF, 0}));
    // End scrolls so the caret stays inside the box; Home scrolls back.
    Keys("End");
    GetCaretPos(&at);
    const RECT client = ClientRect(edit);
    EXPECT_GT(at.x, client.right / 2);
    EXPECT_LT(at.x, client.right);
    Keys("Home");
    GetCaretPos(&at);
    EXPECT_EQ(at.x, 1);
    // Losing the focus takes the caret away and leaves the pixels as painted.
    Focus(MakeEdit("other", "", 0, {10, 40, 150, 61}));
    EXPECT_EQ(Px(screen.x, screen.y), 0xFFFFFFu);
}

}  // namespace
}  // namespace zo::plat::test
