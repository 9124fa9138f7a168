// The single-line edit driven by injected keys and mouse: editing and selection keys, the
// EN_CHANGE reports, the clipboard, the parent's character filter, the caret and scrolling.
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
        const char* name;
        std::function<void()> keys;
        const char* text;
        std::pair<DWORD, DWORD> sel;
    };
    const std::vector<Row> rows = {
        {"typing at the end", [] { Key(VK_END), Type("x"); }, "hello worldx", {12, 12}},
        {"shift right selects",
         [] { Key(VK_HOME), Chord(VK_SHIFT, VK_RIGHT), Chord(VK_SHIFT, VK_RIGHT); },
         "hello world",
         {0, 2}},
        {"typing replaces the selection",
         [] { Key(VK_HOME), Chord(VK_SHIFT, VK_END), Type("ab"); },
         "ab",
         {2, 2}},
        {"backspace before the caret", [] { Key(VK_END), Key(VK_BACK); }, "hello worl", {10, 10}},
        {"delete after the caret", [] { Key(VK_HOME), Key(VK_DELETE); }, "ello world", {0, 0}},
        {"backspace at the start", [] { Key(VK_HOME), Key(VK_BACK); }, "hello world", {0, 0}},
        {"ctrl+a selects all", [] { Chord(VK_CONTROL, 'A'); }, "hello world", {0, 11}},
        {"delete removes the selection",
         [] { Chord(VK_CONTROL, 'A'), Key(VK_DELETE); },
         "",
         {0, 0}},
        {"left leaves the selection",
         [] { Chord(VK_CONTROL, 'A'), Key(VK_LEFT); },
         "hello world",
         {10, 10}},
    };
    const HWND edit = MakeEdit("edit", "");
    for (const Row& row : rows) {
        SetWindowTextA(edit, "hello world");
        SetFocus(edit);
        Pump();
        row.keys();
        EXPECT_EQ(Text(edit), row.text) << row.name;
        EXPECT_EQ(Sel(edit), row.sel) << row.name;
    }
}

TEST_F(Edit, ReportsEveryChangeAndOnlyChanges) {
    const HWND edit = MakeEdit("edit", "");
    SetFocus(edit);
    Pump();
    events.Take();
    Type("ab");
    Key(VK_LEFT);
    Key(VK_BACK);
    SetWindowTextA(edit, "new");
    SetWindowTextA(edit, "new");  // no change
    SendMessageA(edit, EM_SETSEL, 0, -1);
    EXPECT_EQ(events.Take(), (std::vector<std::string>{"edit:EN_CHANGE", "edit:EN_CHANGE",
                                                       "edit:EN_CHANGE", "edit:EN_CHANGE"}));
    EXPECT_EQ(Text(edit), "new");
    EXPECT_EQ(Sel(edit), (std::pair<DWORD, DWORD>{0, 3}));
}

TEST_F(Edit, ReadOnlyKeepsItsTextButCopies) {
    const HWND ro = MakeEdit("ro", "fixed", ES_READONLY);
    const HWND other = MakeEdit("other", "", 0, {10, 40, 150, 61});
    SetFocus(ro);
    Pump();
    events.Take();
    Type("zz");
    Key(VK_BACK);
    Chord(VK_CONTROL, 'A');
    Chord(VK_CONTROL, 'X');  // cut is refused, copy is not
    Chord(VK_CONTROL, 'C');
    EXPECT_EQ(Text(ro), "fixed");
    EXPECT_EQ(events.Take(), std::vector<std::string>{});
    SetFocus(other);
    Pump();
    Chord(VK_CONTROL, 'V');
    EXPECT_EQ(Text(other), "fixed");
}

TEST_F(Edit, CutCopyPasteGoThroughTheClipboard) {
    const HWND a = MakeEdit("a", "one two");
    const HWND b = MakeEdit("b", "x", 0, {10, 40, 150, 61});
    SetFocus(a);
    Pump();
    Key(VK_END);
    for (int i = 0; i < 3; ++i)
        Chord(VK_SHIFT, VK_LEFT);
    Chord(VK_CONTROL, 'X');
    EXPECT_EQ(Text(a), "one ");
    char clip[16] = {};
    EXPECT_EQ(GetClipboardTextA(clip, sizeof clip), 3);
    EXPECT_STREQ(clip, "two");
    SetFocus(b);
    Pump();
    Key(VK_END);
    Chord(VK_SHIFT, VK_INSERT);
    Chord(VK_CONTROL, 'V');
    EXPECT_EQ(Text(b), "xtwotwo");
    // A pasted text keeps only its first line.
    SetClipboardTextA(0, "first\r\nsecond");
    Chord(VK_CONTROL, 'A');
    Chord(VK_CONTROL, 'V');
    EXPECT_EQ(Text(b), "first");
    // A long text is taken whole and the view scrolls to its end.
    SetClipboardTextA(0, std::string(20000, 'w').c_str());
    Chord(VK_CONTROL, 'V');
    EXPECT_EQ(GetWindowTextLengthA(b), 20005);
    POINT caret;
    GetCaretPos(&caret);
    EXPECT_LT(caret.x, 140);
    EXPECT_GT(caret.x, 100);
}

TEST_F(Edit, TheParentFiltersCharacters) {
    const HWND edit = MakeEdit("index", "5");
    // Only digits pass, as in an index box: Backspace is discarded too.
    events.onNotify = [](NMHDR* h) -> LRESULT {
        if (h->code != NM_CHAR) return 0;
        const UINT ch = reinterpret_cast<NMCHAR*>(h)->ch;
        return ch >= '0' && ch <= '9' ? 0 : 1;
    };
    SetFocus(edit);
    Pump();
    Key(VK_END);
    Type("a1b2 ");
    Key(VK_BACK);
    EXPECT_EQ(Text(edit), "512");
    // A key-down filter can take Delete away as well.
    events.onNotify = [](NMHDR* h) -> LRESULT {
        return h->code == NM_KEYDOWN && reinterpret_cast<NMKEY*>(h)->nVKey == VK_DELETE;
    };
    Key(VK_HOME);
    Key(VK_DELETE);
    EXPECT_EQ(Text(edit), "512");
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
    Press(edit, xOf(2), 8);
    MoveTo(edit, xOf(5), 8);
    Release();
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(Sel(edit), (std::pair<DWORD, DWORD>{2, 5}));
    InjectKey(VK_SHIFT, true);
    ClickAt(edit, xOf(7), 8);
    InjectKey(VK_SHIFT, false);
    Pump();
    EXPECT_EQ(Sel(edit), (std::pair<DWORD, DWORD>{2, 7}));
    // A double click takes the word.
    SetWindowTextA(edit, "ab cdef gh");
    RunFor(1000);
    ClickAt(edit, xOf(4), 8);
    ClickAt(edit, xOf(4), 8);
    EXPECT_EQ(Sel(edit), (std::pair<DWORD, DWORD>{3, 7}));
}

TEST_F(Edit, TheCaretFollowsBlinksAndScrollsLongTextIntoView) {
    const HWND edit = MakeEdit("edit", "a long line of text that does not fit in the box");
    SetFocus(edit);
    Pump();
    POINT at;
    GetCaretPos(&at);
    EXPECT_EQ(at.x, 1);
    // The caret's column is inverted, then restored by the blink.
    const POINT screen = ScreenOf(edit, at.x, at.y);
    const auto px = [&] {
        return ReadScreenPixels(RECT{screen.x, screen.y, screen.x + 1, screen.y + 1})[0] & 0xFFFFFF;
    };
    EXPECT_EQ(px(), 0x000000u);
    RunFor(GetCaretBlinkTime());
    EXPECT_EQ(px(), 0xFFFFFFu);
    RunFor(GetCaretBlinkTime());
    EXPECT_EQ(px(), 0x000000u);
    // A repaint takes the caret off and puts it back, never inverting it twice.
    InvalidateRect(edit, nullptr, TRUE);
    Pump();
    EXPECT_EQ(px(), 0x000000u);
    // Hiding counts: two hides need two shows.
    HideCaret(edit);
    HideCaret(edit);
    ShowCaret(edit);
    RunFor(GetCaretBlinkTime() * 2);
    EXPECT_EQ(px(), 0xFFFFFFu);
    ShowCaret(edit);
    EXPECT_EQ(px(), 0x000000u);
    // End scrolls so the caret stays inside the box; Home scrolls back.
    Key(VK_END);
    GetCaretPos(&at);
    RECT client;
    GetClientRect(edit, &client);
    EXPECT_GT(at.x, client.right / 2);
    EXPECT_LT(at.x, client.right);
    Key(VK_HOME);
    GetCaretPos(&at);
    EXPECT_EQ(at.x, 1);
    // Losing the focus takes the caret away and leaves the pixels as painted.
    const HWND other = MakeEdit("other", "", 0, {10, 40, 150, 61});
    SetFocus(other);
    Pump();
    EXPECT_EQ(px(), 0xFFFFFFu);
}

}  // namespace
}  // namespace zo::plat::test
