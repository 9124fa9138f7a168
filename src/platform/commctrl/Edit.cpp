// The "Edit" class, single line: the text with a selection between an anchor and the caret,
// typed characters, Backspace and Delete, the arrows, Home and End (with Shift to select),
// select-all, cut, copy and paste through the clipboard, selection with the mouse (a double
// click takes a word), and horizontal scrolling that keeps the caret in view. Every change of
// the text, typed or set with WM_SETTEXT, is reported with EN_CHANGE (setting the text it
// already has is no change). The parent may discard or change a key first: NM_KEYDOWN and
// NM_CHAR come before the edit acts.
#include <algorithm>
#include <string>

#include "platform/Text.h"
#include "platform/commctrl/ControlSupport.h"

namespace zo::plat::ctl {

namespace {

constexpr int kMargin = 1;  // between the client edge and the text
constexpr std::size_t kDefaultLimit = 30000;

struct EditState {
    std::size_t anchor = 0;
    std::size_t caret = 0;
    std::size_t first = 0;  // the first character in view
    std::size_t limit = kDefaultLimit;
    bool selecting = false;  // the mouse is selecting
    bool hasCaret = false;
};

StateMap<EditState>& States() {
    thread_local StateMap<EditState> m;
    return m;
}

bool ReadOnly(HWND hwnd) {
    return (static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)) & ES_READONLY) != 0;
}

// Measures the edit's text in its font.
class Measure {
public:
    explicit Measure(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(0)) {
        old_ = SelectObject(dc_, FontOf(hwnd));
        TEXTMETRICA tm;
        GetTextMetricsA(dc_, &tm);
        lineHeight_ = tm.tmHeight;
    }
    ~Measure() {
        SelectObject(dc_, old_);
        ReleaseDC(0, dc_);
    }
    Measure(const Measure&) = delete;
    Measure& operator=(const Measure&) = delete;

    int Width(const std::string& s, std::size_t from, std::size_t to) const {
        if (to <= from) return 0;
        SIZE sz;
        GetTextExtentPoint32A(dc_, s.data() + from, static_cast<int>(to - from), &sz);
        return sz.cx;
    }
    int LineHeight() const { return lineHeight_; }
    RECT TextArea() const {
        RECT r = ClientOf(hwnd_);
        return RECT{r.left + kMargin, r.top, r.right - kMargin, r.bottom};
    }
    int Top() const {
        const RECT r = ClientOf(hwnd_);
        return std::max(0, static_cast<int>(r.bottom - r.top - lineHeight_) / 2);
    }

private:
    HWND hwnd_;
    HDC dc_;
    HGDIOBJ old_ = 0;
    int lineHeight_ = 0;
};

int XOf(const Measure& m, const std::string& text, const EditState& s, std::size_t i) {
    const int left = m.TextArea().left;
    return i >= s.first ? left + m.Width(text, s.first, i) : left - m.Width(text, i, s.first);
}

// The character boundary nearest to x; left of the text area it is the one before the first
// in view, so dragging there scrolls.
std::size_t HitChar(const Measure& m, const std::string& text, const EditState& s, int x) {
    const int left = m.TextArea().left;
    if (x < left) return s.first > 0 ? s.first - 1 : 0;
    std::size_t best = s.first;
    for (std::size_t i = s.first; i < text.size(); ++i) {
        const int a = left + m.Width(text, s.first, i);
        const int b = left + m.Width(text, s.first, i + 1);
        if (x < (a + b + 1) / 2) return i;
        best = i + 1;
    }
    return best;
}

// Scrolls so the caret is in view, and back when the end of the text leaves room.
void KeepCaretInView(const Measure& m, const std::string& text, EditState& s) {
    const RECT area = m.TextArea();
    const int room = std::max(1, static_cast<int>(area.right - area.left) - 1);
    s.first = std::min(s.first, text.size());
    if (s.caret < s.first) s.first = s.caret;
    // Both searches are binary, as widths only grow with the text measured, so a long pasted
    // text costs a few measurements rather than one per character.
    if (m.Width(text, s.first, s.caret) > room) {
        std::size_t lo = s.first;  // too far left
        std::size_t hi = s.caret;  // fits
        while (hi - lo > 1) {
            const std::size_t mid = lo + (hi - lo) / 2;
            (m.Width(text, mid, s.caret) > room ? lo : hi) = mid;
        }
        s.first = hi;
    }
    if (s.first > 0 && m.Width(text, s.first - 1, text.size()) <= room) {
        std::size_t lo = 0;            // may not fit
        std::size_t hi = s.first - 1;  // fits
        if (m.Width(text, 0, text.size()) <= room) hi = 0;
        while (hi - lo > 1) {
            const std::size_t mid = lo + (hi - lo) / 2;
            (m.Width(text, mid, text.size()) <= room ? hi : lo) = mid;
        }
        s.first = hi;
    }
}

void PlaceCaret(HWND hwnd, const EditState& s) {
    if (!s.hasCaret) return;
    const Measure m(hwnd);
    SetCaretPos(XOf(m, TextOf(hwnd), s, s.caret), m.Top());
}

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(hwnd, &ps);
    if (dc == 0) return;
    const EditState* s = States().Get(hwnd);
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    const int saved = SaveDC(dc);
    const RECT client = ClientOf(hwnd);
    FillRect(dc, &client,
             GetSysColorBrush(enabled && !ReadOnly(hwnd) ? COLOR_WINDOW : COLOR_BTNFACE));
    if (s != nullptr) {
        const std::string text = TextOf(hwnd);
        const Measure m(hwnd);
        SelectObject(dc, FontOf(hwnd));
        SetBkMode(dc, TRANSPARENT);
        const RECT area = m.TextArea();
        IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
        const int y = m.Top();
        const bool showSel = enabled && (HasFocus(hwnd) || (GetWindowLongA(hwnd, GWL_STYLE) &
                                                            static_cast<LONG_PTR>(ES_NOHIDESEL)));
        const std::size_t a = std::min(s->anchor, s->caret);
        const std::size_t b = std::max(s->anchor, s->caret);
        SetTextColor(dc, GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
        const std::string shown = text.substr(s->first);
        TextOutA(dc, area.left, y, shown.c_str(), static_cast<int>(shown.size()));
        if (showSel && a < b) {
            const std::size_t from = std::max(a, s->first);
            if (from < b) {
                const int x0 = XOf(m, text, *s, from);
                const int x1 = XOf(m, text, *s, b);
                RECT band{x0, y, x1, y + m.LineHeight()};
                FillRect(dc, &band, GetSysColorBrush(COLOR_HIGHLIGHT));
                SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
                TextOutA(dc, x0, y, text.data() + from, static_cast<int>(b - from));
            }
        }
    }
    RestoreDC(dc, saved);
    EndPaint(hwnd, &ps);
}

void Select(HWND hwnd, EditState& s, std::size_t anchor, std::size_t caret) {
    const std::string text = TextOf(hwnd);
    anchor = std::min(anchor, text.size());
    caret = std::min(caret, text.size());
    if (anchor == s.anchor && caret == s.caret) return;
    s.anchor = anchor;
    s.caret = caret;
    {
        const Measure m(hwnd);
        KeepCaretInView(m, text, s);
    }
    InvalidateRect(hwnd, nullptr, FALSE);
    PlaceCaret(hwnd, s);
}

// Puts `insert` in place of the selection; false when the edit went away while its parent
// heard of the change.
bool Replace(HWND hwnd, EditState& s, const std::string& insert) {
    std::string text = TextOf(hwnd);
    const std::size_t a = std::min(s.anchor, s.caret);
    const std::size_t b = std::max(s.anchor, s.caret);
    std::string add = insert;
    const std::size_t room =
        s.limit > text.size() - (b - a) ? s.limit - (text.size() - (b - a)) : 0;
    const bool cut = add.size() > room;
    if (cut) add.resize(room);
    if (a == b && add.empty()) return cut ? NotifyParent(hwnd, EN_MAXTEXT) : true;
    text.replace(a, b - a, add);
    StoreText(hwnd, text);
    s.anchor = s.caret = a + add.size();
    {
        const Measure m(hwnd);
        KeepCaretInView(m, text, s);
    }
    InvalidateRect(hwnd, nullptr, FALSE);
    PlaceCaret(hwnd, s);
    if (cut && !NotifyParent(hwnd, EN_MAXTEXT)) return false;
    return NotifyParent(hwnd, EN_CHANGE);
}

std::string Selected(HWND hwnd, const EditState& s) {
    const std::size_t a = std::min(s.anchor, s.caret);
    const std::size_t b = std::max(s.anchor, s.caret);
    return TextOf(hwnd).substr(a, b - a);
}

void Copy(HWND hwnd, const EditState& s) {
    const std::string sel = Selected(hwnd, s);
    if (!sel.empty()) SetClipboardTextA(hwnd, sel.c_str());
}

void Paste(HWND hwnd, EditState& s) {
    if (ReadOnly(hwnd)) return;
    const int n = GetClipboardTextA(nullptr, 0);
    if (n < 0) return;
    std::string text(static_cast<std::size_t>(n) + 1, '\0');
    GetClipboardTextA(text.data(), n + 1);
    text.resize(static_cast<std::size_t>(n));
    // One line: a pasted text ends at its first line break.
    text = text.substr(0, text.find_first_of("\r\n"));
    Replace(hwnd, s, text);
}

void Cut(HWND hwnd, EditState& s) {
    if (ReadOnly(hwnd) || s.anchor == s.caret) return;
    Copy(hwnd, s);
    Replace(hwnd, s, "");
}

// Deletes the selection, or the character before (back) or after the caret.
void Delete(HWND hwnd, EditState& s, bool back) {
    if (ReadOnly(hwnd)) return;
    if (s.anchor == s.caret) {
        const std::size_t n = TextOf(hwnd).size();
        if (back) {
            if (s.caret == 0) return;
            s.anchor = s.caret - 1;
        } else {
            if (s.caret >= n) return;
            s.anchor = s.caret + 1;
        }
    }
    Replace(hwnd, s, "");
}

// Asks the parent whether the key may go on (NM_KEYDOWN / NM_CHAR); `ch` may be changed.
bool Filter(HWND hwnd, UINT code, UINT* key) {
    const HWND parent = GetParent(hwnd);
    if (parent == 0) return true;
    const auto id = static_cast<std::uintptr_t>(GetDlgCtrlID(hwnd));
    LRESULT discard = 0;
    if (code == NM_CHAR) {
        NMCHAR n;
        n.hdr = NMHDR{hwnd, id, code};
        n.ch = *key;
        discard = SendMessageA(parent, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&n));
        *key = n.ch;
    } else {
        NMKEY n;
        n.hdr = NMHDR{hwnd, id, code};
        n.nVKey = *key;
        discard = SendMessageA(parent, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&n));
    }
    return discard == 0 && IsWindow(hwnd);
}

void OnKey(HWND hwnd, EditState& s, UINT vk) {
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const std::size_t n = TextOf(hwnd).size();
    switch (vk) {
        case VK_LEFT: {
            const std::size_t to = s.caret > 0 ? s.caret - 1 : 0;
            Select(hwnd, s, shift ? s.anchor : to, to);
            break;
        }
        case VK_RIGHT: {
            const std::size_t to = std::min(s.caret + 1, n);
            Select(hwnd, s, shift ? s.anchor : to, to);
            break;
        }
        case VK_HOME:
            Select(hwnd, s, shift ? s.anchor : 0, 0);
            break;
        case VK_END:
            Select(hwnd, s, shift ? s.anchor : n, n);
            break;
        case VK_DELETE:
            if (shift)
                Cut(hwnd, s);
            else
                Delete(hwnd, s, false);
            break;
        case VK_INSERT:
            if (ctrl)
                Copy(hwnd, s);
            else if (shift)
                Paste(hwnd, s);
            break;
        default:
            break;
    }
}

void OnChar(HWND hwnd, EditState& s, UINT ch) {
    switch (ch) {
        case 0x01:  // Ctrl+A
            Select(hwnd, s, 0, TextOf(hwnd).size());
            return;
        case 0x03:  // Ctrl+C
            Copy(hwnd, s);
            return;
        case 0x16:  // Ctrl+V
            Paste(hwnd, s);
            return;
        case 0x18:  // Ctrl+X
            Cut(hwnd, s);
            return;
        case 0x08:
            Delete(hwnd, s, true);
            return;
        default:
            if (ch < 0x20 || ch == 0x7F || ch > 0xFF || ReadOnly(hwnd)) return;
            Replace(hwnd, s, std::string(1, static_cast<char>(ch)));
    }
}

void OnMouse(HWND hwnd, EditState& s, UINT msg, WPARAM wParam, LPARAM lParam) {
    const std::string text = TextOf(hwnd);
    std::size_t at = 0;
    {
        const Measure m(hwnd);
        at = HitChar(m, text, s, GET_X_LPARAM(lParam));
        // Dragged past the right end of the view: one character further, so the view follows.
        const RECT area = m.TextArea();
        if (msg == WM_MOUSEMOVE && GET_X_LPARAM(lParam) >= area.right)
            at = std::min(text.size(), std::max(at, s.caret + 1));
    }
    if (msg == WM_LBUTTONDBLCLK) {
        // The word under the pointer: the run of characters between blanks.
        const auto blank = [&](std::size_t i) { return text[i] == ' ' || text[i] == '\t'; };
        std::size_t a = std::min(at, text.size());
        std::size_t b = a;
        while (a > 0 && !blank(a - 1))
            --a;
        while (b < text.size() && !blank(b))
            ++b;
        Select(hwnd, s, a, b);
        return;
    }
    if (msg == WM_LBUTTONDOWN) {
        if (GetFocus() != hwnd) SetFocus(hwnd);
        if (!IsWindow(hwnd)) return;
        s.selecting = true;
        SetCapture(hwnd);
        Select(hwnd, s, (wParam & MK_SHIFT) ? s.anchor : at, at);
    } else if (msg == WM_MOUSEMOVE && s.selecting) {
        Select(hwnd, s, s.anchor, at);
    } else if (msg == WM_LBUTTONUP && s.selecting) {
        s.selecting = false;
        ReleaseCapture();
    }
}

}  // namespace

LRESULT EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        States().Create(hwnd);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    if (msg == WM_NCDESTROY) {
        if (const EditState* s = States().Get(hwnd); s != nullptr && s->hasCaret) DestroyCaret();
        States().Erase(hwnd);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    EditState* s = States().Get(hwnd);
    if (s == nullptr) return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint(hwnd);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
        case WM_SETFOCUS: {
            const Measure m(hwnd);
            CreateCaret(hwnd, 0, 1, m.LineHeight());
            s->hasCaret = true;
            PlaceCaret(hwnd, *s);
            ShowCaret(hwnd);
            InvalidateRect(hwnd, nullptr, FALSE);
            NotifyParent(hwnd, EN_SETFOCUS);
            return 0;
        }
        case WM_KILLFOCUS:
            if (s->hasCaret) DestroyCaret();
            s->hasCaret = false;
            if (s->selecting) {
                s->selecting = false;
                if (GetCapture() == hwnd) ReleaseCapture();
            }
            InvalidateRect(hwnd, nullptr, FALSE);
            NotifyParent(hwnd, EN_KILLFOCUS);
            return 0;
        case WM_ENABLE:
        case WM_SETFONT: {
            const LRESULT r = DefWindowProcA(hwnd, msg, wParam, lParam);
            InvalidateRect(hwnd, nullptr, FALSE);
            return r;
        }
        case WM_SETTEXT: {
            std::string text = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
            if (text.size() > s->limit) text.resize(s->limit);
            // The same text again is no change, so the parent hears nothing.
            const bool changed = text != TextOf(hwnd);
            StoreText(hwnd, text);
            s->anchor = s->caret = s->first = 0;
            InvalidateRect(hwnd, nullptr, FALSE);
            PlaceCaret(hwnd, *s);
            if (changed) NotifyParent(hwnd, EN_CHANGE);
            return TRUE;
        }
        case WM_KEYDOWN: {
            UINT vk = static_cast<UINT>(wParam);
            if (Filter(hwnd, NM_KEYDOWN, &vk)) OnKey(hwnd, *s, vk);
            return 0;
        }
        case WM_CHAR: {
            UINT ch = static_cast<UINT>(wParam & 0xFF);
            if (Filter(hwnd, NM_CHAR, &ch)) {
                if (EditState* again = States().Get(hwnd)) OnChar(hwnd, *again, ch);
            }
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
            OnMouse(hwnd, *s, msg, wParam, lParam);
            return 0;
        case WM_CAPTURECHANGED:
            if (static_cast<HWND>(lParam) != hwnd) s->selecting = false;
            return 0;
        case EM_GETSEL: {
            const auto a = static_cast<DWORD>(std::min(s->anchor, s->caret));
            const auto b = static_cast<DWORD>(std::max(s->anchor, s->caret));
            if (wParam != 0) *reinterpret_cast<DWORD*>(wParam) = a;
            if (lParam != 0) *reinterpret_cast<DWORD*>(lParam) = b;
            return MAKELPARAM(static_cast<int>(std::min<DWORD>(a, 0xFFFF)),
                              static_cast<int>(std::min<DWORD>(b, 0xFFFF)));
        }
        case EM_SETSEL: {
            const auto start = static_cast<std::intptr_t>(wParam);
            const std::intptr_t end = lParam;
            const std::size_t n = TextOf(hwnd).size();
            if (start < 0) {
                Select(hwnd, *s, s->caret, s->caret);  // -1: no selection, the caret stays
                return 0;
            }
            const std::size_t a = std::min(static_cast<std::size_t>(start), n);
            const std::size_t b = end < 0 ? n : std::min(static_cast<std::size_t>(end), n);
            Select(hwnd, *s, a, b);
            return 0;
        }
        case EM_REPLACESEL:
            Replace(hwnd, *s, lParam != 0 ? reinterpret_cast<const char*>(lParam) : "");
            return 0;
        case EM_LIMITTEXT:
            s->limit = wParam == 0 ? kDefaultLimit : static_cast<std::size_t>(wParam);
            return 0;
        case EM_SETREADONLY: {
            const auto style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
            SetWindowLongA(
                hwnd, GWL_STYLE,
                static_cast<LONG_PTR>(wParam ? style | ES_READONLY : style & ~ES_READONLY));
            InvalidateRect(hwnd, nullptr, FALSE);
            return TRUE;
        }
        case WM_CUT:
            Cut(hwnd, *s);
            return 0;
        case WM_COPY:
            Copy(hwnd, *s);
            return 0;
        case WM_PASTE:
            Paste(hwnd, *s);
            return 0;
        case WM_CLEAR:
            if (!ReadOnly(hwnd) && s->anchor != s->caret) Replace(hwnd, *s, "");
            return 0;
        default:
            return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace zo::plat::ctl
