// The "Button" class: push buttons, check boxes and group boxes. A press is a mouse press and
// release over the button, or Space down and up while it has the focus; the parent hears of it
// with BN_CLICKED. An automatic check box turns its mark over before telling. A focused push
// button wears the default look (a dark frame), which otherwise belongs to the
// BS_DEFPUSHBUTTON button of the dialog.
#include "platform/Text.h"
#include "platform/commctrl/ControlSupport.h"

namespace zo::plat::ctl {

namespace {

constexpr int kCheckSize = 13;
constexpr int kCheckGap = 4;  // between the box and its text

struct ButtonState {
    LRESULT check = BST_UNCHECKED;
    bool mouseDown = false;  // the left button went down on it and is held
    bool over = false;       // ... and the pointer is over it now
    bool spaceDown = false;
    bool highlight = false;  // BM_SETSTATE
};

StateMap<ButtonState>& States() {
    thread_local StateMap<ButtonState> m;
    return m;
}

DWORD TypeOf(HWND hwnd) {
    return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)) & BS_TYPEMASK;
}

bool IsPush(DWORD type) {
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

bool IsCheck(DWORD type) {
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX;
}

bool Pushed(const ButtonState& s) {
    return (s.mouseDown && s.over) || s.spaceDown || s.highlight;
}

// A push button looks like the default when it has the focus, or when it is the dialog's
// default and no other push button has the focus.
bool DefaultLook(HWND hwnd) {
    if (!IsPush(TypeOf(hwnd))) return false;
    const HWND f = GetFocus();
    if (f == hwnd) return true;
    if (TypeOf(hwnd) != BS_DEFPUSHBUTTON) return false;
    if (f == 0 || GetParent(f) != GetParent(hwnd)) return true;
    char cls[16] = {};
    GetClassNameA(f, cls, sizeof cls);
    return !(std::string(cls) == WC_BUTTONA && IsPush(TypeOf(f)));
}

void RepaintDefaultSiblings(HWND hwnd) {
    const HWND parent = GetParent(hwnd);
    if (parent == 0) return;
    for (HWND h = GetWindow(parent, GW_CHILD); h != 0; h = GetWindow(h, GW_HWNDNEXT)) {
        char cls[16] = {};
        GetClassNameA(h, cls, sizeof cls);
        if (h != hwnd && std::string(cls) == WC_BUTTONA && TypeOf(h) == BS_DEFPUSHBUTTON)
            InvalidateRect(h, nullptr, FALSE);
    }
}

void PaintPush(HWND hwnd, HDC dc, const ButtonState& s) {
    RECT r = ClientOf(hwnd);
    const bool pushed = Pushed(s);
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    if (DefaultLook(hwnd)) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&r, -1, -1);
    }
    if (pushed && DefaultLook(hwnd)) {
        // The pressed default button is flat: a shadow line round the face.
        FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
        RECT face = r;
        InflateRect(&face, -1, -1);
        FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
    } else {
        RECT face = r;
        DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    }
    RECT text = r;
    if (pushed) OffsetRect(&text, 1, 1);
    DrawLabel(dc, TextOf(hwnd), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE, enabled);
    if (HasFocus(hwnd)) {
        RECT mark = r;
        InflateRect(&mark, -3, -3);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &mark);
    }
}

void PaintCheck(HWND hwnd, HDC dc, const ButtonState& s) {
    const RECT r = ClientOf(hwnd);
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    const int top = (r.bottom - kCheckSize) / 2;
    RECT box{0, top, kCheckSize, top + kCheckSize};
    UINT state = DFCS_BUTTONCHECK;
    if (s.check == BST_CHECKED) state |= DFCS_CHECKED;
    if (Pushed(s)) state |= DFCS_PUSHED;
    if (!enabled) state |= DFCS_INACTIVE;
    DrawFrameControl(dc, &box, DFC_BUTTON, state);
    const std::string label = TextOf(hwnd);
    RECT text{kCheckSize + kCheckGap, r.top, r.right, r.bottom};
    DrawLabel(dc, label, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE, enabled);
    if (HasFocus(hwnd) && !label.empty()) {
        RECT ext{0, 0, 0, 0};
        DrawTextA(dc, label.c_str(), -1, &ext, DT_SINGLELINE | DT_CALCRECT);
        const LONG h = ext.bottom - ext.top;
        const LONG y = (r.bottom - h) / 2;
        RECT mark{text.left - 1, y - 1, std::min(r.right, text.left + ext.right + 1), y + h + 1};
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &mark);
    }
}

void PaintGroup(HWND hwnd, HDC dc) {
    const RECT r = ClientOf(hwnd);
    const std::string label = TextOf(hwnd);
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    // The frame runs through the middle of the caption's line.
    RECT frame{r.left, r.top + tm.tmHeight / 2, r.right, r.bottom};
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (label.empty()) return;
    RECT ext{0, 0, 0, 0};
    DrawTextA(dc, label.c_str(), -1, &ext, DT_SINGLELINE | DT_CALCRECT);
    RECT gap{r.left + 6, r.top, std::min(r.right - 2, r.left + 8 + ext.right + 2),
             r.top + tm.tmHeight};
    FillRect(dc, &gap, GetSysColorBrush(COLOR_BTNFACE));
    RECT text{gap.left + 2, gap.top, gap.right, gap.bottom};
    DrawLabel(dc, label, text, DT_LEFT | DT_TOP | DT_SINGLELINE, IsWindowEnabled(hwnd) != FALSE);
}

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(hwnd, &ps);
    if (dc == 0) return;
    const int saved = SaveDC(dc);
    SelectObject(dc, FontOf(hwnd));
    const DWORD type = TypeOf(hwnd);
    ButtonState none;
    const ButtonState* s = States().Get(hwnd);
    if (s == nullptr) s = &none;
    if (IsPush(type))
        PaintPush(hwnd, dc, *s);
    else if (IsCheck(type))
        PaintCheck(hwnd, dc, *s);
    else if (type == BS_GROUPBOX)
        PaintGroup(hwnd, dc);
    RestoreDC(dc, saved);
    EndPaint(hwnd, &ps);
}

// A press: an automatic check box turns over first, then the parent hears BN_CLICKED.
void Click(HWND hwnd) {
    ButtonState* s = States().Get(hwnd);
    if (s == nullptr) return;
    if (TypeOf(hwnd) == BS_AUTOCHECKBOX)
        SendMessageA(hwnd, BM_SETCHECK, s->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
    NotifyParent(hwnd, BN_CLICKED);
}

void Redraw(HWND hwnd) {
    InvalidateRect(hwnd, nullptr, FALSE);
}

}  // namespace

LRESULT ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        States().Create(hwnd);
        // A group box is only an outline: what lies inside it shows through and takes the mouse.
        if ((static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)) & BS_TYPEMASK) == BS_GROUPBOX)
            SetWindowLongA(hwnd, GWL_EXSTYLE,
                           GetWindowLongA(hwnd, GWL_EXSTYLE) | WS_EX_TRANSPARENT);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    if (msg == WM_NCDESTROY) {
        States().Erase(hwnd);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    ButtonState* s = States().Get(hwnd);
    const DWORD type = TypeOf(hwnd);
    if (s == nullptr || type == BS_GROUPBOX) {
        switch (msg) {
            case WM_NCHITTEST:
                return HTTRANSPARENT;
            case WM_ERASEBKGND:
                return 1;
            case WM_PAINT:
                Paint(hwnd);
                return 0;
            case WM_GETDLGCODE:
                return DLGC_STATIC;
            case WM_SETTEXT:
            case WM_ENABLE: {
                const LRESULT r = DefWindowProcA(hwnd, msg, wParam, lParam);
                Redraw(hwnd);
                return r;
            }
            default:
                return DefWindowProcA(hwnd, msg, wParam, lParam);
        }
    }
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;  // painted whole in WM_PAINT
        case WM_PAINT:
            Paint(hwnd);
            return 0;
        case WM_GETDLGCODE:
            if (type == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
            if (type == BS_PUSHBUTTON) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
            return DLGC_BUTTON;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            if (msg == WM_KILLFOCUS && s->spaceDown) s->spaceDown = false;
            Redraw(hwnd);
            if (IsPush(type)) RepaintDefaultSiblings(hwnd);
            return 0;
        case WM_ENABLE:
        case WM_SETTEXT: {
            const LRESULT r = DefWindowProcA(hwnd, msg, wParam, lParam);
            Redraw(hwnd);
            return r;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            s->mouseDown = s->over = true;
            SetCapture(hwnd);
            SetFocus(hwnd);
            Redraw(hwnd);
            return 0;
        case WM_MOUSEMOVE:
            if (s->mouseDown) {
                const bool over =
                    Contains(ClientOf(hwnd), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
                if (over != s->over) {
                    s->over = over;
                    Redraw(hwnd);
                }
            }
            return 0;
        case WM_LBUTTONUP: {
            if (!s->mouseDown) return 0;
            // Let go off the button: the press is taken back.
            const bool click = Contains(ClientOf(hwnd), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            s->mouseDown = s->over = false;
            ReleaseCapture();
            Redraw(hwnd);
            if (click) Click(hwnd);
            return 0;
        }
        case WM_CAPTURECHANGED:
            if (s->mouseDown && static_cast<HWND>(lParam) != hwnd) {
                s->mouseDown = s->over = false;
                Redraw(hwnd);
            }
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_SPACE && !s->spaceDown && !s->mouseDown) {
                s->spaceDown = true;
                Redraw(hwnd);
            } else if (wParam == VK_RETURN && IsPush(type)) {
                Click(hwnd);  // outside a dialog's keyboard interface Enter presses it directly
            }
            return 0;
        case WM_KEYUP:
            if (wParam == VK_SPACE && s->spaceDown) {
                s->spaceDown = false;
                Redraw(hwnd);
                Click(hwnd);
            }
            return 0;
        case BM_GETCHECK:
            return IsCheck(type) ? s->check : BST_UNCHECKED;
        case BM_SETCHECK: {
            const LRESULT v = wParam == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED;
            if (IsCheck(type) && v != s->check) {
                s->check = v;
                Redraw(hwnd);
            }
            return 0;
        }
        case BM_GETSTATE:
            return (IsCheck(type) ? s->check : 0) | (Pushed(*s) ? BST_PUSHED : 0) |
                   (HasFocus(hwnd) ? BST_FOCUS : 0);
        case BM_SETSTATE:
            if (s->highlight != (wParam != 0)) {
                s->highlight = wParam != 0;
                Redraw(hwnd);
            }
            return 0;
        case BM_SETSTYLE: {
            const auto style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
            const DWORD next = (style & ~BS_TYPEMASK) | (static_cast<DWORD>(wParam) & BS_TYPEMASK);
            if (next != style) {
                SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG_PTR>(next));
                if (LOWORD(static_cast<std::uintptr_t>(lParam)) != 0) Redraw(hwnd);
            }
            return 0;
        }
        case BM_CLICK:
            if (IsWindowEnabled(hwnd)) Click(hwnd);
            return 0;
        default:
            return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace zo::plat::ctl
