// Message boxes: a bordered pop-up with a caption bar, the text and a row of push buttons, each
// a child window with the answer as its control ID. The box runs its own message loop with the
// owner disabled, so the rest of the program keeps painting and its timers keep running but
// takes no input until the answer is given.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Gdi.h"
#include "platform/Text.h"
#include "platform/window/WindowInternal.h"

namespace zo::plat {

namespace {

constexpr const char* kBoxClass = "ZoMessageBox";
constexpr const char* kButtonClass = "ZoMessageBoxButton";
constexpr int kMargin = 12;
constexpr int kGap = 6;
constexpr int kButtonW = 75;
constexpr int kButtonH = 23;
constexpr int kCaptionH = 18;

struct Button {
    int id;
    const char* label;  // '&' marks the letter that presses it
};

struct Box {
    std::vector<Button> buttons;
    int escape = 0;  // the answer of Esc and of closing, 0 when the box has none
    std::string text;
    std::string caption;
    HICON icon = 0;  // shared system icon, or 0
    int result = 0;
};

constexpr int kIcon = 32;

// The text starts right of the icon when there is one.
int TextLeft(const Box& b) {
    return b.icon != 0 ? kMargin + kIcon + kMargin : kMargin;
}

HICON IconOf(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONHAND:
            return LoadIconA(0, IDI_HAND);
        case MB_ICONQUESTION:
            return LoadIconA(0, IDI_QUESTION);
        case MB_ICONEXCLAMATION:
            return LoadIconA(0, IDI_EXCLAMATION);
        case MB_ICONASTERISK:
            return LoadIconA(0, IDI_ASTERISK);
        default:
            return 0;
    }
}

// Per-button state, kept in the button window's user data.
struct ButtonState {
    bool pressed = false;  // the mouse went down on it and is held
    bool over = false;     // ... and is over it now
};

HFONT BoxFont() {
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

bool ButtonsOf(UINT type, std::vector<Button>* out, int* escape) {
    switch (type & MB_TYPEMASK) {
        case MB_OK:
            *out = {{IDOK, "OK"}};
            *escape = IDOK;
            return true;
        case MB_OKCANCEL:
            *out = {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
            *escape = IDCANCEL;
            return true;
        case MB_ABORTRETRYIGNORE:
            *out = {{IDABORT, "&Abort"}, {IDRETRY, "&Retry"}, {IDIGNORE, "&Ignore"}};
            *escape = 0;
            return true;
        case MB_YESNOCANCEL:
            *out = {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
            *escape = IDCANCEL;
            return true;
        case MB_YESNO:
            *out = {{IDYES, "&Yes"}, {IDNO, "&No"}};
            *escape = IDNO;
            return true;
        case MB_RETRYCANCEL:
            *out = {{IDRETRY, "&Retry"}, {IDCANCEL, "Cancel"}};
            *escape = IDCANCEL;
            return true;
        default:
            return false;
    }
}

Box* BoxOf(HWND box) {
    return reinterpret_cast<Box*>(GetWindowLongA(box, GWL_USERDATA));
}

// The box's buttons in their order, which is also the order of their creation.
std::vector<HWND> ButtonWindows(HWND box) {
    std::vector<HWND> out;
    for (HWND h = GetWindow(box, GW_CHILD); h != 0; h = GetWindow(h, GW_HWNDNEXT))
        out.push_back(h);
    return out;
}

void Answer(HWND box, int id) {
    if (Box* b = BoxOf(box); b != nullptr && b->result == 0) b->result = id;
}

// Tab and the arrow keys move the focus, which marks the default button, round the row.
void MoveFocus(HWND box, int step) {
    const std::vector<HWND> row = ButtonWindows(box);
    if (row.empty()) return;
    const auto it = std::find(row.begin(), row.end(), GetFocus());
    const int n = static_cast<int>(row.size());
    const int at = it == row.end() ? 0 : static_cast<int>(it - row.begin());
    SetFocus(row[static_cast<std::size_t>(((at + step) % n + n) % n)]);
}

bool OnBoxKey(HWND box, WPARAM vk) {
    Box* b = BoxOf(box);
    if (b == nullptr) return false;
    switch (vk) {
        case VK_RETURN: {
            const HWND f = GetFocus();
            if (f != 0 && GetParent(f) == box)
                Answer(box, static_cast<int>(GetWindowLongA(f, GWL_ID)));
            return true;
        }
        case VK_ESCAPE:
            if (b->escape != 0) Answer(box, b->escape);
            return true;
        case VK_TAB:
            MoveFocus(box, GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
            return true;
        case VK_RIGHT:
        case VK_DOWN:
            MoveFocus(box, 1);
            return true;
        case VK_LEFT:
        case VK_UP:
            MoveFocus(box, -1);
            return true;
        default:
            return false;
    }
}

// A letter presses the button whose label underlines it.
void OnBoxChar(HWND box, WPARAM ch) {
    Box* b = BoxOf(box);
    if (b == nullptr) return;
    const int c = std::toupper(static_cast<unsigned char>(ch));
    for (const Button& btn : b->buttons) {
        const char* amp = std::strchr(btn.label, '&');
        if (amp != nullptr && std::toupper(static_cast<unsigned char>(amp[1])) == c) {
            Answer(box, btn.id);
            return;
        }
    }
}

void PaintBox(HWND box) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(box, &ps);
    if (dc == 0) return;
    const Box* b = BoxOf(box);
    RECT client;
    GetClientRect(box, &client);
    const int saved = SaveDC(dc);
    FillRect(dc, &client, GetSysColorBrush(COLOR_3DFACE));
    RECT bar{client.left, client.top, client.right, client.top + kCaptionH};
    FillRect(dc, &bar, GetSysColorBrush(COLOR_ACTIVECAPTION));
    SelectObject(dc, BoxFont());
    SetBkMode(dc, TRANSPARENT);
    if (b != nullptr) {
        RECT capText{bar.left + 4, bar.top, bar.right - 4, bar.bottom};
        SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
        DrawTextA(dc, b->caption.c_str(), -1, &capText,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        if (b->icon != 0)
            DrawIconEx(dc, kMargin, kCaptionH + kMargin, b->icon, kIcon, kIcon, 0, 0, DI_NORMAL);
        RECT body{TextLeft(*b), kCaptionH + kMargin, client.right - kMargin,
                  client.bottom - kMargin - kButtonH - kMargin};
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        DrawTextA(dc, b->text.c_str(), -1, &body, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    }
    RestoreDC(dc, saved);
    EndPaint(box, &ps);
}

LRESULT BoxProc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_NCCREATE: {
            const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            SetWindowLongA(box, GWL_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
            return DefWindowProcA(box, msg, wParam, lParam);
        }
        case WM_ERASEBKGND:
            return 1;  // painted whole in WM_PAINT
        case WM_PAINT:
            PaintBox(box);
            return 0;
        case WM_ACTIVATE:
            // The focus goes to a button, never to the box itself.
            if (LOWORD(wParam) != WA_INACTIVE) {
                const HWND f = GetFocus();
                if (f == 0 || GetParent(f) != box) MoveFocus(box, 0);
            }
            return 0;
        case WM_COMMAND:
            Answer(box, static_cast<int>(LOWORD(static_cast<DWORD>(wParam))));
            return 0;
        case WM_KEYDOWN:
            OnBoxKey(box, wParam);
            return 0;
        case WM_CHAR:
            OnBoxChar(box, wParam);
            return 0;
        case WM_CLOSE:
            if (Box* b = BoxOf(box); b != nullptr && b->escape != 0) Answer(box, b->escape);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongA(box, GWL_USERDATA, 0);
            return DefWindowProcA(box, msg, wParam, lParam);
        default:
            return DefWindowProcA(box, msg, wParam, lParam);
    }
}

ButtonState* StateOf(HWND button) {
    return reinterpret_cast<ButtonState*>(GetWindowLongA(button, 0));
}

void PaintButton(HWND button) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(button, &ps);
    if (dc == 0) return;
    const ButtonState* st = StateOf(button);
    const bool down = st != nullptr && st->pressed && st->over;
    const bool focused = GetFocus() == button;
    RECT r;
    GetClientRect(button, &r);
    const int saved = SaveDC(dc);
    FillRect(dc, &r, GetSysColorBrush(COLOR_3DFACE));
    if (focused) {
        // The default button wears a dark frame outside its edges.
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        r = RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    }
    RECT face = r;
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0));
    char label[32] = {};
    GetWindowTextA(button, label, sizeof label);
    RECT text = r;
    if (down) OffsetRect(&text, 1, 1);
    SelectObject(dc, BoxFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextA(dc, label, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (focused) {
        RECT mark{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3};
        DrawFocusRect(dc, &mark);
    }
    RestoreDC(dc, saved);
    EndPaint(button, &ps);
}

bool Inside(HWND button, LPARAM lParam) {
    RECT r;
    GetClientRect(button, &r);
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

LRESULT ButtonProc(HWND button, UINT msg, WPARAM wParam, LPARAM lParam) {
    ButtonState* st = StateOf(button);
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            PaintButton(button);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(button, nullptr, FALSE);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (st == nullptr) return 0;
            st->pressed = st->over = true;
            SetCapture(button);
            SetFocus(button);
            InvalidateRect(button, nullptr, FALSE);
            return 0;
        case WM_MOUSEMOVE:
            if (st != nullptr && st->pressed && st->over != Inside(button, lParam)) {
                st->over = !st->over;
                InvalidateRect(button, nullptr, FALSE);
            }
            return 0;
        case WM_LBUTTONUP: {
            if (st == nullptr || !st->pressed) return 0;
            // Released off the button: no answer, as a press can still be taken back.
            const bool click = Inside(button, lParam);
            st->pressed = st->over = false;
            ReleaseCapture();
            InvalidateRect(button, nullptr, FALSE);
            if (click)
                SendMessageA(GetParent(button), WM_COMMAND, GetWindowLongA(button, GWL_ID),
                             static_cast<LPARAM>(button));
            return 0;
        }
        case WM_CAPTURECHANGED:
            if (st != nullptr && st->pressed && static_cast<HWND>(lParam) != button) {
                st->pressed = st->over = false;
                InvalidateRect(button, nullptr, FALSE);
            }
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_SPACE) {
                SendMessageA(GetParent(button), WM_COMMAND, GetWindowLongA(button, GWL_ID),
                             static_cast<LPARAM>(button));
                return 0;
            }
            return SendMessageA(GetParent(button), msg, wParam, lParam);
        case WM_CHAR:
            return SendMessageA(GetParent(button), msg, wParam, lParam);
        default:
            return DefWindowProcA(button, msg, wParam, lParam);
    }
}

void RegisterBoxClasses() {
    WNDCLASSA existing;
    if (!GetClassInfoA(0, kBoxClass, &existing)) {
        WNDCLASSA wc;
        wc.lpfnWndProc = &BoxProc;
        wc.hCursor = LoadCursorA(0, IDC_ARROW);
        wc.lpszClassName = kBoxClass;
        RegisterClassA(&wc);
    }
    if (!GetClassInfoA(0, kButtonClass, &existing)) {
        WNDCLASSA wc;
        wc.lpfnWndProc = &ButtonProc;
        wc.cbWndExtra = sizeof(LONG_PTR);
        wc.hCursor = LoadCursorA(0, IDC_ARROW);
        wc.lpszClassName = kButtonClass;
        RegisterClassA(&wc);
    }
}

// The box's outer size for its text, caption and buttons, within the screen.
SIZE Measure(const Box& b) {
    const SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const HDC dc = GetDC(0);
    const HGDIOBJ old = SelectObject(dc, BoxFont());
    const int maxText = std::max(100, static_cast<int>(screen.cx) * 2 / 3 - 2 * kMargin);
    RECT t{0, 0, maxText, 0};
    DrawTextA(dc, b.text.c_str(), -1, &t, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS | DT_CALCRECT);
    RECT c{0, 0, maxText, 0};
    DrawTextA(dc, b.caption.c_str(), -1, &c, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(0, dc);
    const int n = static_cast<int>(b.buttons.size());
    const int row = n * kButtonW + (n - 1) * kGap;
    const int textW = static_cast<int>(t.right - t.left) + TextLeft(b) - kMargin;
    const int inner = std::max({textW, row, static_cast<int>(c.right - c.left) + 8 - 2 * kMargin});
    const int textH = std::max(static_cast<int>(t.bottom - t.top), b.icon != 0 ? kIcon : 8);
    SIZE s{inner + 2 * kMargin + 2, kCaptionH + kMargin + textH + kMargin + kButtonH + kMargin + 2};
    s.cx = std::min(s.cx, screen.cx);
    s.cy = std::min(s.cy, screen.cy);
    return s;
}

}  // namespace

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
    Box b;
    if (!ButtonsOf(type, &b.buttons, &b.escape)) return 0;
    if (owner != 0 && !IsWindow(owner)) return 0;
    b.text = text != nullptr ? text : "";
    b.caption = caption != nullptr ? caption : "Error";
    b.icon = IconOf(type);
    const std::size_t def = std::min<std::size_t>((type & MB_DEFMASK) >> 8, b.buttons.size() - 1);
    RegisterBoxClasses();

    // Centred over the owner's window, or on the screen.
    const HWND top = owner != 0 ? GetAncestorTopLevel(owner) : 0;
    const SIZE size = Measure(b);
    const SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT over{0, 0, screen.cx, screen.cy};
    if (top != 0) GetWindowRect(top, &over);
    const int x = std::clamp(static_cast<int>((over.left + over.right - size.cx) / 2), 0,
                             static_cast<int>(screen.cx - size.cx));
    const int y = std::clamp(static_cast<int>((over.top + over.bottom - size.cy) / 2), 0,
                             static_cast<int>(screen.cy - size.cy));
    const HWND box = CreateWindowExA(WS_EX_TOPMOST, kBoxClass, b.caption.c_str(),
                                     WS_POPUP | WS_BORDER, x, y, size.cx, size.cy, top, 0, 0, &b);
    if (box == 0) return 0;
    const int n = static_cast<int>(b.buttons.size());
    RECT client;
    GetClientRect(box, &client);
    int bx = (client.right - (n * kButtonW + (n - 1) * kGap)) / 2;
    const int by = client.bottom - kMargin - kButtonH;
    std::vector<ButtonState> states(b.buttons.size());
    for (std::size_t i = 0; i < b.buttons.size(); ++i, bx += kButtonW + kGap) {
        std::string label = b.buttons[i].label;
        std::erase(label, '&');
        const HWND h = CreateWindowExA(
            0, kButtonClass, label.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP, bx, by, kButtonW,
            kButtonH, box, static_cast<HMENU>(b.buttons[i].id), 0, nullptr);
        SetWindowLongA(h, 0, reinterpret_cast<LONG_PTR>(&states[i]));
    }

    // Modal: the owner takes no input until the answer is given.
    const bool disabled = top != 0 && IsWindowEnabled(top);
    if (disabled) EnableWindow(top, FALSE);
    ShowWindow(box, SW_SHOW);
    const std::vector<HWND> row = ButtonWindows(box);
    if (def < row.size()) SetFocus(row[def]);
    // The default button's answer when nothing else applies (the box has no Esc answer).
    const int fallback = b.escape != 0 ? b.escape : b.buttons[def].id;

    bool quit = false;
    int quitCode = 0;
    while (b.result == 0 && IsWindow(box)) {
        MSG m;
        const BOOL got = GetMessageA(&m, 0, 0, 0);
        if (got == 0) {
            quit = true;
            quitCode = static_cast<int>(m.wParam);
            break;
        }
        if (got < 0) break;
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    const int answer = b.result != 0 ? b.result : fallback;
    // The owner is enabled before the box goes, so that the activation can return to it.
    if (disabled && IsWindow(top)) EnableWindow(top, TRUE);
    if (IsWindow(box)) {
        // The buttons' state dies with this call: the windows must not outlive it.
        for (HWND h : ButtonWindows(box))
            SetWindowLongA(h, 0, 0);
        DestroyWindow(box);
    }
    if (top != 0 && IsWindow(top) && IsWindowVisible(top)) SetActiveWindow(top);
    if (quit) PostQuitMessage(quitCode);
    return answer;
}

}  // namespace zo::plat
