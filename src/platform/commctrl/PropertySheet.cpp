// The property-sheet frame: a bordered pop-up with a caption bar, a tab control whose pane
// holds the pages, and OK, Cancel and Apply under it. The frame keeps one record per page;
// a page's window is made the first time its tab is chosen and only hidden afterwards, so
// what the user typed on it survives a trip to another tab.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/commctrl/ControlKit.h"
#include "platform/commctrl/Geometry.h"

namespace zo::plat {

namespace {

constexpr const char* kFrameClass = "ZoPropertySheet";
constexpr const char* kPageClass = "ZoPropertyPage";
constexpr int kCaptionH = 18;
constexpr int kMargin = 7;
constexpr int kButtonW = 75;
constexpr int kButtonH = 23;
constexpr int kGap = 6;
constexpr int kTabId = 0x3020;
constexpr int kMinPageW = 120;
constexpr int kMinPageH = 60;

struct Page {
    PROPSHEETPAGEA psp;
    std::string title;
    HWND wnd = 0;
    bool changed = false;
};

// What the caller of a modal sheet learns, kept outside the frame so it survives the frame.
struct Outcome {
    bool done = false;
    bool applied = false;
};

struct SheetState {
    std::vector<Page> pages;
    int current = -1;
    bool modeless = false;
    HWND tab = 0;
    HWND apply = 0;
    RECT pageArea;  // in the frame's client coordinates
    std::string caption;
    Outcome* outcome = nullptr;
    Outcome own;  // a modeless sheet's
};

thread_local ctl::StateMap<SheetState> tlsSheets;

bool SheetMessage(HWND frame, MSG* m);

SheetState* SheetOf(HWND frame) {
    return tlsSheets.Get(frame);
}

LRESULT NotifyPage(HWND frame, HWND page, UINT code) {
    PSHNOTIFY n;
    n.hdr.hwndFrom = frame;
    n.hdr.idFrom = 0;
    n.hdr.code = code;
    return SendMessageA(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&n));
}

void UpdateApply(HWND frame) {
    SheetState* s = SheetOf(frame);
    if (s == nullptr || s->apply == 0) return;
    const bool on = s->current >= 0 && s->pages[static_cast<std::size_t>(s->current)].changed;
    if ((IsWindowEnabled(s->apply) != FALSE) != on) EnableWindow(s->apply, on ? TRUE : FALSE);
}

// Shows page i, making its window the first time.
void ShowPage(HWND frame, int i) {
    SheetState* s = SheetOf(frame);
    if (s == nullptr || i < 0 || i >= static_cast<int>(s->pages.size())) return;
    const int old = s->current;
    Page& p = s->pages[static_cast<std::size_t>(i)];
    if (p.wnd == 0 || !IsWindow(p.wnd)) {
        const RECT& a = s->pageArea;
        p.wnd = CreateWindowExA(WS_EX_CONTROLPARENT, kPageClass, p.title.c_str(), WS_CHILD, a.left,
                                a.top, a.right - a.left, a.bottom - a.top, frame, 0,
                                p.psp.hInstance, &p.psp);
        if (p.wnd == 0) return;
        SendMessageA(p.wnd, WM_SETFONT, static_cast<WPARAM>(ctl::FontOf(frame)), 0);
        SendMessageA(p.wnd, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&p.psp));
        s = SheetOf(frame);
        if (s == nullptr) return;
    }
    const HWND wnd = s->pages[static_cast<std::size_t>(i)].wnd;
    const HWND oldWnd = old >= 0 && old != i ? s->pages[static_cast<std::size_t>(old)].wnd : 0;
    s->current = i;
    SendMessageA(s->tab, TCM_SETCURSEL, static_cast<WPARAM>(i), 0);
    NotifyPage(frame, wnd, PSN_SETACTIVE);
    SetWindowPos(wnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    if (oldWnd != 0 && IsWindow(oldWnd)) {
        const HWND f = GetFocus();
        if (f == oldWnd || IsChild(oldWnd, f)) SetFocus(SheetOf(frame) ? SheetOf(frame)->tab : 0);
        ShowWindow(oldWnd, SW_HIDE);
    }
    UpdateApply(frame);
}

// Sends PSN_APPLY to every page with edits; false when one refused (it is then shown).
bool ApplyAll(HWND frame) {
    SheetState* s = SheetOf(frame);
    for (std::size_t i = 0; s != nullptr && i < s->pages.size(); ++i) {
        if (!s->pages[i].changed || !IsWindow(s->pages[i].wnd)) continue;
        const INT_PTR r = NotifyPage(frame, s->pages[i].wnd, PSN_APPLY);
        s = SheetOf(frame);
        if (s == nullptr) return false;
        if (r == PSNRET_INVALID) {
            if (static_cast<int>(i) != s->current) ShowPage(frame, static_cast<int>(i));
            return false;
        }
        s->pages[i].changed = false;
        s->outcome->applied = true;
    }
    UpdateApply(frame);
    return s != nullptr;
}

void Close(HWND frame) {
    SheetState* s = SheetOf(frame);
    if (s == nullptr) return;
    s->outcome->done = true;
    if (s->modeless) DestroyWindow(frame);
}

void Cancel(HWND frame) {
    SheetState* s = SheetOf(frame);
    if (s == nullptr) return;
    std::vector<HWND> made;
    for (const Page& p : s->pages)
        if (IsWindow(p.wnd)) made.push_back(p.wnd);
    for (HWND w : made)
        NotifyPage(frame, w, PSN_RESET);
    Close(frame);
}

void Press(HWND frame, WPARAM button) {
    if (button == PSBTN_OK) {
        if (ApplyAll(frame)) Close(frame);
    } else if (button == PSBTN_APPLYNOW) {
        ApplyAll(frame);
    } else if (button == PSBTN_CANCEL) {
        Cancel(frame);
    }
}

void PaintFrame(HWND frame) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(frame, &ps);
    if (dc == 0) return;
    RECT client;
    GetClientRect(frame, &client);
    const int saved = SaveDC(dc);
    kit::FillSys(dc, client, COLOR_3DFACE);
    RECT bar{client.left, client.top, client.right, client.top + kCaptionH};
    kit::FillSys(dc, bar, COLOR_ACTIVECAPTION);
    if (const SheetState* s = SheetOf(frame)) {
        SelectObject(dc, ctl::FontOf(frame));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
        RECT text{bar.left + 4, bar.top, bar.right - 4, bar.bottom};
        DrawTextA(dc, s->caption.c_str(), -1, &text,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    RestoreDC(dc, saved);
    EndPaint(frame, &ps);
}

int PageIndexOf(const SheetState& s, HWND page) {
    for (std::size_t i = 0; i < s.pages.size(); ++i)
        if (s.pages[i].wnd == page) return static_cast<int>(i);
    return -1;
}

LRESULT FrameProc(HWND frame, UINT msg, WPARAM wParam, LPARAM lParam) {
    SheetState* s = SheetOf(frame);
    switch (msg) {
        case WM_NCDESTROY:
            if (s != nullptr) s->outcome->done = true;
            tlsSheets.Erase(frame);
            return DefDlgProcA(frame, msg, wParam, lParam);
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            PaintFrame(frame);
            return 0;
        case WM_CLOSE:
            Cancel(frame);
            return 0;
        case DM_GETDEFID:
            return static_cast<LRESULT>(MAKELPARAM(IDOK, DC_HASDEFID));
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED) return 0;
            switch (LOWORD(wParam)) {
                case IDOK:
                    Press(frame, PSBTN_OK);
                    break;
                case IDCANCEL:
                    Press(frame, PSBTN_CANCEL);
                    break;
                case IDC_PSAPPLY:
                    Press(frame, PSBTN_APPLYNOW);
                    break;
                default:
                    break;
            }
            return 0;
        case WM_NOTIFY: {
            const auto* h = reinterpret_cast<const NMHDR*>(lParam);
            if (s == nullptr || h == nullptr || h->hwndFrom != s->tab) return 0;
            if (h->code == TCN_SELCHANGING) {
                if (s->current < 0) return FALSE;
                return NotifyPage(frame, s->pages[static_cast<std::size_t>(s->current)].wnd,
                                  PSN_KILLACTIVE) != 0;
            }
            if (h->code == TCN_SELCHANGE)
                ShowPage(frame, static_cast<int>(SendMessageA(s->tab, TCM_GETCURSEL, 0, 0)));
            return 0;
        }
        case PSM_CHANGED:
        case PSM_UNCHANGED:
            if (s != nullptr) {
                const int i = PageIndexOf(*s, static_cast<HWND>(wParam));
                if (i >= 0) s->pages[static_cast<std::size_t>(i)].changed = msg == PSM_CHANGED;
                UpdateApply(frame);
            }
            return 0;
        case PSM_SETCURSEL: {
            if (s == nullptr || wParam >= s->pages.size()) return FALSE;
            if (s->current >= 0 && static_cast<int>(wParam) != s->current &&
                NotifyPage(frame, s->pages[static_cast<std::size_t>(s->current)].wnd,
                           PSN_KILLACTIVE) != 0)
                return FALSE;
            ShowPage(frame, static_cast<int>(wParam));
            return TRUE;
        }
        case PSM_APPLY:
            return ApplyAll(frame) ? TRUE : FALSE;
        case PSM_PRESSBUTTON:
            Press(frame, wParam);
            return 0;
        case PSM_GETTABCONTROL:
            return s != nullptr ? static_cast<LRESULT>(s->tab) : 0;
        case PSM_GETCURRENTPAGEHWND:
            return s != nullptr && s->current >= 0
                       ? static_cast<LRESULT>(s->pages[static_cast<std::size_t>(s->current)].wnd)
                       : 0;
        case PSM_ISDIALOGMESSAGE:
            return SheetMessage(frame, reinterpret_cast<MSG*>(lParam)) ? TRUE : FALSE;
        default:
            return DefDlgProcA(frame, msg, wParam, lParam);
    }
}

// A page hands every message to its procedure; WM_INITDIALOG and WM_NOTIFY take the
// procedure's answer, the rest the default handling when the procedure did not take them.
// The page's record sits in the window's extra bytes, so the user data is the procedure's.
LRESULT PageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongA(page, 0, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    const auto* psp = reinterpret_cast<const PROPSHEETPAGEA*>(GetWindowLongA(page, 0));
    if (msg == WM_NCDESTROY) SetWindowLongA(page, 0, 0);
    if (psp != nullptr && psp->pfnDlgProc != nullptr) {
        const INT_PTR r = psp->pfnDlgProc(page, msg, wParam, lParam);
        if (msg == WM_NOTIFY || msg == WM_INITDIALOG) return r;
        if (r != 0) return 0;
    }
    return DefDlgProcA(page, msg, wParam, lParam);
}

bool Valid(const PROPSHEETHEADERA* h) {
    if (h == nullptr || h->dwSize != sizeof(PROPSHEETHEADERA) || h->nPages == 0 ||
        h->ppsp == nullptr || (h->hwndParent != 0 && !IsWindow(h->hwndParent)))
        return false;
    for (UINT i = 0; i < h->nPages; ++i)
        if (h->ppsp[i].dwSize != sizeof(PROPSHEETPAGEA) || h->ppsp[i].cx < 0 || h->ppsp[i].cy < 0)
            return false;
    return true;
}

HWND MakeButton(HWND frame, const char* text, int id, DWORD style, int x, int y) {
    const HWND b =
        CreateWindowExA(0, WC_BUTTONA, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, y,
                        kButtonW, kButtonH, frame, static_cast<HMENU>(id), 0, nullptr);
    SendMessageA(b, WM_SETFONT, static_cast<WPARAM>(ctl::FontOf(frame)), 0);
    return b;
}

// Makes the frame, its tab control and its buttons, hidden; 0 on failure.
HWND BuildSheet(const PROPSHEETHEADERA& h, bool modeless, Outcome* outcome) {
    kit::EnsureClass(kFrameClass, &FrameProc, 0, 0);
    kit::EnsureClass(kPageClass, &PageProc, 0, static_cast<HBRUSH>(COLOR_3DFACE + 1),
                     sizeof(LONG_PTR));
    kit::RegisterTabControl();
    // Pages larger than the screen are cut to it, so the buttons stay within reach.
    int pageW = kMinPageW, pageH = kMinPageH;
    for (UINT i = 0; i < h.nPages; ++i) {
        pageW = std::clamp(h.ppsp[i].cx, pageW, std::max(pageW, GetSystemMetrics(SM_CXSCREEN)));
        pageH = std::clamp(h.ppsp[i].cy, pageH, std::max(pageH, GetSystemMetrics(SM_CYSCREEN)));
    }
    const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const int paneTop = TabPaneTop(kit::LineHeight(font));
    const RECT tabRect = AdjustTabRect(RECT{0, 0, pageW, pageH}, paneTop, true);
    const int tabW = tabRect.right - tabRect.left, tabH = tabRect.bottom - tabRect.top;
    const int clientW = std::max(kMargin + tabW + kMargin, 3 * kButtonW + 2 * kGap + 2 * kMargin);
    const int clientH = kCaptionH + kMargin + tabH + kMargin + kButtonH + kMargin;
    const int w = clientW + 2, ht = clientH + 2;  // and the border

    // Centred over the owner's window, or on the screen.
    const HWND top = h.hwndParent != 0 ? GetAncestorTopLevel(h.hwndParent) : 0;
    const SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT over{0, 0, screen.cx, screen.cy};
    if (top != 0) GetWindowRect(top, &over);
    const int x = std::clamp(static_cast<int>((over.left + over.right - w) / 2), 0,
                             std::max(0, static_cast<int>(screen.cx) - w));
    const int y = std::clamp(static_cast<int>((over.top + over.bottom - ht) / 2), 0,
                             std::max(0, static_cast<int>(screen.cy) - ht));
    std::string caption = h.pszCaption != nullptr ? h.pszCaption : "";
    if (h.dwFlags & PSH_PROPTITLE) caption += " Properties";
    const HWND frame =
        CreateWindowExA(WS_EX_CONTROLPARENT, kFrameClass, caption.c_str(), WS_POPUP | WS_BORDER, x,
                        y, w, ht, top, 0, h.hInstance, nullptr);
    if (frame == 0) return 0;
    SheetState* s = tlsSheets.Create(frame);
    s->modeless = modeless;
    s->caption = caption;
    s->outcome = outcome != nullptr ? outcome : &s->own;
    SendMessageA(frame, WM_SETFONT, static_cast<WPARAM>(font), 0);
    for (UINT i = 0; i < h.nPages; ++i) {
        Page p;
        p.psp = h.ppsp[i];
        if ((p.psp.dwFlags & PSP_USETITLE) && p.psp.pszTitle != nullptr) p.title = p.psp.pszTitle;
        p.psp.pszTitle = nullptr;  // the caller's text need not outlive the call
        s->pages.push_back(std::move(p));
    }
    s->tab = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, kMargin,
                             kCaptionH + kMargin, tabW, tabH, frame, static_cast<HMENU>(kTabId), 0,
                             nullptr);
    SendMessageA(s->tab, WM_SETFONT, static_cast<WPARAM>(font), 0);
    for (std::size_t i = 0; i < s->pages.size(); ++i) {
        TCITEMA item;
        item.mask = TCIF_TEXT;
        item.pszText = s->pages[i].title.data();
        SendMessageA(s->tab, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    RECT area{0, 0, tabW, tabH};
    SendMessageA(s->tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    OffsetRect(&area, kMargin, kCaptionH + kMargin);
    s->pageArea = area;
    // OK, Cancel and Apply at the bottom right.
    const int by = clientH - kMargin - kButtonH;
    int bx = clientW - kMargin - kButtonW;
    if (!(h.dwFlags & PSH_NOAPPLYNOW)) {
        s->apply = MakeButton(frame, "&Apply", IDC_PSAPPLY, BS_PUSHBUTTON, bx, by);
        EnableWindow(s->apply, FALSE);
        bx -= kButtonW + kGap;
    }
    MakeButton(frame, "Cancel", IDCANCEL, BS_PUSHBUTTON, bx, by);
    MakeButton(frame, "OK", IDOK, BS_DEFPUSHBUTTON, bx - kButtonW - kGap, by);
    const int start = static_cast<int>(std::min<UINT>(h.nStartPage, h.nPages - 1));
    ShowPage(frame, start);
    return IsWindow(frame) ? frame : 0;
}

void FocusFirst(HWND frame) {
    const SheetState* s = SheetOf(frame);
    if (s == nullptr) return;
    SetFocus(s->tab);
}

// The frame's own keys: Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgDn and Ctrl+PgUp go to the tab control
// wherever the focus is; then the dialog keys of the frame and its pages.
bool SheetMessage(HWND frame, MSG* m) {
    SheetState* s = SheetOf(frame);
    if (s == nullptr || m == nullptr || (m->hwnd != frame && !IsChild(frame, m->hwnd)))
        return false;
    if (m->message == WM_KEYDOWN && GetKeyState(VK_CONTROL) < 0 &&
        (m->wParam == VK_TAB || m->wParam == VK_NEXT || m->wParam == VK_PRIOR)) {
        SendMessageA(s->tab, WM_KEYDOWN, m->wParam, m->lParam);
        return true;
    }
    return IsDialogMessageA(frame, m) != FALSE;
}

}  // namespace

INT_PTR PropertySheetA(const PROPSHEETHEADERA* header) {
    if (!Valid(header)) return -1;
    if (header->dwFlags & PSH_MODELESS) {
        const HWND frame = BuildSheet(*header, true, nullptr);
        if (frame == 0) return -1;
        ShowWindow(frame, SW_SHOW);
        FocusFirst(frame);
        return static_cast<INT_PTR>(frame);
    }
    Outcome outcome;
    const HWND frame = BuildSheet(*header, false, &outcome);
    if (frame == 0) return -1;
    // Modal: the owner takes no input until the sheet is closed.
    const HWND top = header->hwndParent != 0 ? GetAncestorTopLevel(header->hwndParent) : 0;
    const bool disabled = top != 0 && IsWindowEnabled(top);
    if (disabled) EnableWindow(top, FALSE);
    ShowWindow(frame, SW_SHOW);
    FocusFirst(frame);
    bool quit = false;
    int quitCode = 0;
    while (!outcome.done && IsWindow(frame)) {
        MSG m;
        const BOOL got = GetMessageA(&m, 0, 0, 0);
        if (got == 0) {
            // A quit ends the sheet as Cancel would, and goes on to the caller's loop.
            quit = true;
            quitCode = static_cast<int>(m.wParam);
            Cancel(frame);
            break;
        }
        if (got < 0) break;
        if (SheetMessage(frame, &m)) continue;
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    if (IsWindow(frame)) {
        // Detach the outcome before the frame goes: it lives on this stack frame only.
        if (SheetState* s = SheetOf(frame)) s->outcome = &s->own;
    }
    if (disabled && IsWindow(top)) EnableWindow(top, TRUE);
    if (IsWindow(frame)) DestroyWindow(frame);
    if (top != 0 && IsWindow(top) && IsWindowVisible(top)) SetActiveWindow(top);
    if (quit) PostQuitMessage(quitCode);
    return outcome.applied ? 1 : 0;
}

}  // namespace zo::plat
