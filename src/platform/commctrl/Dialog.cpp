// The dialog keyboard interface and the default dialog procedure. The controls of a dialog are
// its children in creation order, walking into children marked WS_EX_CONTROLPARENT (pages
// inside a frame). Tab goes round the visible, enabled WS_TABSTOP controls; an access key goes
// to the control whose text underlines it (a label hands the focus on to the next control, a
// button is pressed); Enter presses the focused push button or else the default one; Esc
// presses IDCANCEL. A control keeps what it asks for with WM_GETDLGCODE.
#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "platform/commctrl/ControlSupport.h"

namespace zo::plat {

namespace {

struct DialogState {
    int defId = 0;  // DM_SETDEFID; 0 when none was set
    HWND lastFocus = 0;
};

ctl::StateMap<DialogState>& States() {
    thread_local ctl::StateMap<DialogState> m;
    return m;
}

DialogState& StateOf(HWND dlg) {
    DialogState* s = States().Get(dlg);
    return s != nullptr ? *s : *States().Create(dlg);
}

bool IsControlParent(HWND h) {
    return (GetWindowLongA(h, GWL_EXSTYLE) & static_cast<LONG_PTR>(WS_EX_CONTROLPARENT)) != 0;
}

bool IsDialogClass(HWND h) {
    char cls[16] = {};
    GetClassNameA(h, cls, sizeof cls);
    return std::string(cls) == WC_DIALOGA;
}

void Collect(HWND parent, std::vector<HWND>* out) {
    for (HWND h = GetWindow(parent, GW_CHILD); h != 0; h = GetWindow(h, GW_HWNDNEXT)) {
        if (IsControlParent(h)) {
            if (IsWindowVisible(h) && IsWindowEnabled(h)) Collect(h, out);
        } else {
            out->push_back(h);
        }
    }
}

std::vector<HWND> ControlsOf(HWND dlg) {
    std::vector<HWND> out;
    Collect(dlg, &out);
    return out;
}

bool CanTakeFocus(HWND h) {
    return IsWindowVisible(h) && IsWindowEnabled(h) &&
           (GetWindowLongA(h, GWL_STYLE) & static_cast<LONG_PTR>(WS_TABSTOP)) != 0;
}

LRESULT CodeOf(HWND h, MSG* msg) {
    return h != 0 ? SendMessageA(h, WM_GETDLGCODE, msg != nullptr ? msg->wParam : 0,
                                 reinterpret_cast<LPARAM>(msg))
                  : 0;
}

// The focus goes to a control; a text box shows all its text selected, ready to be typed over.
void FocusControl(HWND h) {
    if (h == 0) return;
    SetFocus(h);
    if (GetFocus() == h && (CodeOf(h, nullptr) & DLGC_HASSETSEL)) SendMessageA(h, EM_SETSEL, 0, -1);
}

// The character a control's text marks with "&", or 0.
int AccessKeyOf(HWND h) {
    const std::string text = ctl::TextOf(h);
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return std::toupper(static_cast<unsigned char>(text[i + 1]));
    }
    return 0;
}

bool OnAccessKey(HWND dlg, int ch) {
    const int key = std::toupper(ch);
    const std::vector<HWND> all = ControlsOf(dlg);
    if (all.empty()) return false;
    const HWND focus = GetFocus();
    std::size_t start = 0;
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i] == focus) start = i + 1;
    for (std::size_t k = 0; k < all.size(); ++k) {
        const HWND h = all[(start + k) % all.size()];
        if (!IsWindowVisible(h) || !IsWindowEnabled(h) || AccessKeyOf(h) != key) continue;
        if (GetWindowLongA(h, GWL_STYLE) & static_cast<LONG_PTR>(SS_NOPREFIX)) {
            char cls[16] = {};
            GetClassNameA(h, cls, sizeof cls);
            if (std::string(cls) == WC_STATICA) continue;
        }
        const LRESULT code = CodeOf(h, nullptr);
        if (code & DLGC_STATIC) {
            // A label (or group box) hands the focus to the next control that can take it.
            const std::size_t at =
                static_cast<std::size_t>(std::find(all.begin(), all.end(), h) - all.begin());
            for (std::size_t j = at + 1; j < all.size(); ++j) {
                if (CanTakeFocus(all[j])) {
                    FocusControl(all[j]);
                    return true;
                }
            }
            return true;
        }
        FocusControl(h);
        if (code & DLGC_BUTTON) SendMessageA(h, BM_CLICK, 0, 0);
        return true;
    }
    return false;
}

bool IsPushButton(HWND h) {
    return (CodeOf(h, nullptr) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

// Presses the button with this ID: WM_COMMAND BN_CLICKED to its parent (to the dialog when
// there is no such button); nothing when that button is disabled.
void PressId(HWND dlg, int id) {
    const HWND button = GetDlgItem(dlg, id);
    if (button != 0 && !IsWindowEnabled(button)) return;
    const HWND to = button != 0 ? GetParent(button) : dlg;
    SendMessageA(to, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), static_cast<LPARAM>(button));
}

int DefaultId(HWND dlg) {
    const LRESULT def = SendMessageA(dlg, DM_GETDEFID, 0, 0);
    if (HIWORD(static_cast<std::uintptr_t>(def)) == DC_HASDEFID)
        return LOWORD(static_cast<std::uintptr_t>(def));
    for (HWND h : ControlsOf(dlg))
        if (CodeOf(h, nullptr) & DLGC_DEFPUSHBUTTON) return GetDlgCtrlID(h);
    return IDOK;
}

bool OnKeyDown(HWND dlg, MSG* msg) {
    const HWND focus = GetFocus();
    const LRESULT code = CodeOf(focus, msg);
    if (code & DLGC_WANTALLKEYS) return false;
    switch (msg->wParam) {
        case VK_TAB: {
            if (code & DLGC_WANTTAB) return false;
            const bool back = GetKeyState(VK_SHIFT) < 0;
            FocusControl(GetNextDlgTabItem(dlg, focus, back ? TRUE : FALSE));
            return true;
        }
        case VK_RETURN:
            if (focus != 0 && IsPushButton(focus) && IsWindowEnabled(focus)) {
                SendMessageA(GetParent(focus), WM_COMMAND,
                             MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED),
                             static_cast<LPARAM>(focus));
            } else {
                PressId(dlg, DefaultId(dlg));
            }
            return true;
        case VK_ESCAPE:
            PressId(dlg, IDCANCEL);
            return true;
        default:
            return false;
    }
}

}  // namespace

int GetDlgCtrlID(HWND hwnd) {
    return static_cast<int>(GetWindowLongA(hwnd, GWL_ID));
}

HWND GetDlgItem(HWND dialog, int id) {
    if (!IsWindow(dialog)) return 0;
    for (HWND h : ControlsOf(dialog))
        if (GetDlgCtrlID(h) == id) return h;
    return 0;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    if (!IsWindow(dialog)) return 0;
    std::vector<HWND> stops;
    for (HWND h : ControlsOf(dialog))
        if (CanTakeFocus(h) || h == control) stops.push_back(h);
    if (stops.empty()) return 0;
    const auto n = static_cast<std::ptrdiff_t>(stops.size());
    const auto it = std::find(stops.begin(), stops.end(), control);
    std::ptrdiff_t at = it - stops.begin();
    if (it == stops.end()) at = previous ? 0 : -1;
    for (std::ptrdiff_t k = 1; k <= n; ++k) {
        const std::ptrdiff_t i = ((at + (previous ? -k : k)) % n + n) % n;
        if (CanTakeFocus(stops[static_cast<std::size_t>(i)]))
            return stops[static_cast<std::size_t>(i)];
    }
    return 0;
}

HWND GetDialogOf(HWND hwnd) {
    HWND found = 0;
    for (HWND h = hwnd; h != 0 && IsWindow(h);) {
        if (IsDialogClass(h) || IsControlParent(h)) found = h;
        if (!(GetWindowLongA(h, GWL_STYLE) & static_cast<LONG_PTR>(WS_CHILD))) break;
        h = GetParent(h);
    }
    return found;
}

BOOL IsDialogMessageA(HWND dialog, MSG* msg) {
    if (msg == nullptr || !IsWindow(dialog) || msg->hwnd == 0) return FALSE;
    if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) return FALSE;
    switch (msg->message) {
        case WM_KEYDOWN:
            if (OnKeyDown(dialog, msg)) return TRUE;
            break;
        case WM_SYSCHAR:
            if (OnAccessKey(dialog, static_cast<int>(msg->wParam & 0xFF))) return TRUE;
            break;
        case WM_CHAR: {
            // Where the focused control takes no characters, a letter is an access key.
            const LRESULT code = CodeOf(GetFocus(), msg);
            if (!(code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)) && msg->wParam > ' ' &&
                OnAccessKey(dialog, static_cast<int>(msg->wParam & 0xFF)))
                return TRUE;
            break;
        }
        default:
            return FALSE;
    }
    TranslateMessage(msg);
    DispatchMessageA(msg);
    return TRUE;
}

LRESULT DefDlgProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_NCDESTROY:
            States().Erase(hwnd);
            return DefWindowProcA(hwnd, msg, wParam, lParam);
        case WM_ERASEBKGND: {
            RECT r = ctl::ClientOf(hwnd);
            FillRect(static_cast<HDC>(wParam), &r, GetSysColorBrush(COLOR_3DFACE));
            return 1;
        }
        case DM_GETDEFID: {
            const int id = StateOf(hwnd).defId;
            return id != 0 ? static_cast<LRESULT>(MAKELPARAM(id, DC_HASDEFID)) : 0;
        }
        case DM_SETDEFID: {
            DialogState& s = StateOf(hwnd);
            s.defId = static_cast<int>(wParam);
            // The default look moves with the ID.
            for (HWND b : ControlsOf(hwnd)) {
                const LRESULT code = CodeOf(b, nullptr);
                if ((code & DLGC_DEFPUSHBUTTON) && GetDlgCtrlID(b) != s.defId)
                    SendMessageA(b, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
                else if ((code & DLGC_UNDEFPUSHBUTTON) && GetDlgCtrlID(b) == s.defId)
                    SendMessageA(b, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
            }
            return TRUE;
        }
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                const HWND f = GetFocus();
                if (f != 0 && IsChild(hwnd, f)) StateOf(hwnd).lastFocus = f;
                return 0;
            }
            [[fallthrough]];
        case WM_SETFOCUS: {
            // The focus goes back to the control that had it, or to the first one.
            const HWND f = GetFocus();
            if (f != 0 && IsChild(hwnd, f)) return 0;
            HWND to = StateOf(hwnd).lastFocus;
            if (to == 0 || !IsChild(hwnd, to) || !IsWindowVisible(to) || !IsWindowEnabled(to))
                to = GetNextDlgTabItem(hwnd, 0, FALSE);
            if (to != 0) FocusControl(to);
            return 0;
        }
        case WM_NEXTDLGCTL: {
            const HWND to = LOWORD(static_cast<std::uintptr_t>(lParam)) != 0
                                ? static_cast<HWND>(wParam)
                                : GetNextDlgTabItem(hwnd, GetFocus(), wParam != 0 ? TRUE : FALSE);
            FocusControl(to);
            return 0;
        }
        case WM_CLOSE:
            PressId(hwnd, IDCANCEL);
            return 0;
        default:
            return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace zo::plat
