// Windows and messages of the stand-in platform: window classes, the window tree with its
// z-order, send and post, the message loop, update regions and painting, mouse and keyboard
// input with capture and focus, and timers. Names, structures and message numbers are the
// classic platform's, so code written for it reads the same here.
//
// 64-bit note: window procedures are stored in window longs as LONG_PTR (a pointer-sized
// integer). GetWindowLongA/SetWindowLongA therefore take and return LONG_PTR, and
// GWL_WNDPROC holds the procedure's address; CallWindowProcA accepts that value back.
#pragma once

#include <cstdint>

#include "core/Export.h"
#include "platform/Region.h"
#include "platform/Types.h"

namespace zo::plat {

using WNDPROC = LRESULT (*)(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
using TIMERPROC = void (*)(HWND hwnd, UINT msg, std::uintptr_t idEvent, DWORD time);
using UINT_PTR = std::uintptr_t;
using ATOM = WORD;
using HMENU = HANDLE;

struct ZO_API WNDCLASSA {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance = 0;
    HICON hIcon = 0;
    HCURSOR hCursor = 0;
    HBRUSH hbrBackground = 0;  // a brush, or a system colour index + 1
    const char* lpszMenuName = nullptr;
    const char* lpszClassName = nullptr;
};

struct ZO_API CREATESTRUCTA {
    void* lpCreateParams = nullptr;
    HINSTANCE hInstance = 0;
    HMENU hMenu = 0;
    HWND hwndParent = 0;
    int cy = 0;
    int cx = 0;
    int y = 0;
    int x = 0;
    LONG style = 0;
    const char* lpszName = nullptr;
    const char* lpszClass = nullptr;
    DWORD dwExStyle = 0;
};

struct ZO_API MSG {
    HWND hwnd = 0;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    POINT pt;
};

struct ZO_API PAINTSTRUCT {
    HDC hdc = 0;
    BOOL fErase = FALSE;
    RECT rcPaint;
    BOOL fRestore = FALSE;
    BOOL fIncUpdate = FALSE;
    BYTE rgbReserved[32] = {};
};

struct ZO_API TRACKMOUSEEVENT {
    DWORD cbSize = sizeof(TRACKMOUSEEVENT);
    DWORD dwFlags = 0;
    HWND hwndTrack = 0;
    DWORD dwHoverTime = 0;
};

// Messages.
inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_MOVE = 0x0003;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_ACTIVATE = 0x0006;
inline constexpr UINT WM_SETFOCUS = 0x0007;
inline constexpr UINT WM_KILLFOCUS = 0x0008;
inline constexpr UINT WM_ENABLE = 0x000A;
inline constexpr UINT WM_SETTEXT = 0x000C;
inline constexpr UINT WM_GETTEXT = 0x000D;
inline constexpr UINT WM_GETTEXTLENGTH = 0x000E;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_ERASEBKGND = 0x0014;
inline constexpr UINT WM_SHOWWINDOW = 0x0018;
inline constexpr UINT WM_SETCURSOR = 0x0020;
inline constexpr UINT WM_SETFONT = 0x0030;
inline constexpr UINT WM_GETFONT = 0x0031;
inline constexpr UINT WM_NOTIFY = 0x004E;
inline constexpr UINT WM_NCCREATE = 0x0081;
inline constexpr UINT WM_NCDESTROY = 0x0082;
inline constexpr UINT WM_NCHITTEST = 0x0084;
inline constexpr UINT WM_NCMOUSEMOVE = 0x00A0;
inline constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr UINT WM_NCLBUTTONUP = 0x00A2;
inline constexpr UINT WM_NCLBUTTONDBLCLK = 0x00A3;
inline constexpr UINT WM_NCRBUTTONDOWN = 0x00A4;
inline constexpr UINT WM_NCRBUTTONUP = 0x00A5;
inline constexpr UINT WM_NCRBUTTONDBLCLK = 0x00A6;
inline constexpr UINT WM_NCMBUTTONDOWN = 0x00A7;
inline constexpr UINT WM_NCMBUTTONUP = 0x00A8;
inline constexpr UINT WM_NCMBUTTONDBLCLK = 0x00A9;
inline constexpr UINT WM_KEYFIRST = 0x0100;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_SYSKEYDOWN = 0x0104;
inline constexpr UINT WM_SYSKEYUP = 0x0105;
inline constexpr UINT WM_SYSCHAR = 0x0106;
inline constexpr UINT WM_KEYLAST = 0x0109;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_MOUSEFIRST = 0x0200;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
inline constexpr UINT WM_MBUTTONDOWN = 0x0207;
inline constexpr UINT WM_MBUTTONUP = 0x0208;
inline constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
inline constexpr UINT WM_MOUSEWHEEL = 0x020A;
inline constexpr UINT WM_MOUSELAST = 0x020A;
inline constexpr UINT WM_CAPTURECHANGED = 0x0215;
inline constexpr UINT WM_MOUSEHOVER = 0x02A1;
inline constexpr UINT WM_MOUSELEAVE = 0x02A3;
inline constexpr UINT WM_USER = 0x0400;

// Window styles.
inline constexpr DWORD WS_OVERLAPPED = 0x00000000;
inline constexpr DWORD WS_POPUP = 0x80000000;
inline constexpr DWORD WS_CHILD = 0x40000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_DISABLED = 0x08000000;
inline constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
inline constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
inline constexpr DWORD WS_CAPTION = 0x00C00000;
inline constexpr DWORD WS_BORDER = 0x00800000;
inline constexpr DWORD WS_DLGFRAME = 0x00400000;
inline constexpr DWORD WS_VSCROLL = 0x00200000;
inline constexpr DWORD WS_HSCROLL = 0x00100000;
inline constexpr DWORD WS_SYSMENU = 0x00080000;
inline constexpr DWORD WS_THICKFRAME = 0x00040000;
inline constexpr DWORD WS_TABSTOP = 0x00010000;
inline constexpr DWORD WS_OVERLAPPEDWINDOW = 0x00CF0000;
inline constexpr DWORD WS_EX_TOPMOST = 0x00000008;
inline constexpr DWORD WS_EX_TRANSPARENT = 0x00000020;
inline constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
inline constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
inline constexpr DWORD WS_EX_NOACTIVATE = 0x08000000;

// Class styles.
inline constexpr UINT CS_VREDRAW = 0x0001;
inline constexpr UINT CS_HREDRAW = 0x0002;
inline constexpr UINT CS_DBLCLKS = 0x0008;
inline constexpr UINT CS_GLOBALCLASS = 0x4000;

inline constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000u);

// ShowWindow commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_NORMAL = 1;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_SHOWNA = 8;
inline constexpr int SW_RESTORE = 9;

// SetWindowPos.
inline constexpr HWND HWND_TOP = 0;
inline constexpr HWND HWND_BOTTOM = 1;
inline constexpr HWND HWND_TOPMOST = 0xFFFFFFFFu;    // (HWND)-1
inline constexpr HWND HWND_NOTOPMOST = 0xFFFFFFFEu;  // (HWND)-2
inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
inline constexpr UINT SWP_NOZORDER = 0x0004;
inline constexpr UINT SWP_NOREDRAW = 0x0008;
inline constexpr UINT SWP_NOACTIVATE = 0x0010;
inline constexpr UINT SWP_FRAMECHANGED = 0x0020;
inline constexpr UINT SWP_SHOWWINDOW = 0x0040;
inline constexpr UINT SWP_HIDEWINDOW = 0x0080;
inline constexpr UINT SWP_NOCOPYBITS = 0x0100;
inline constexpr UINT SWP_NOOWNERZORDER = 0x0200;

// WM_SIZE wParam.
inline constexpr WPARAM SIZE_RESTORED = 0;

// WM_ACTIVATE wParam.
inline constexpr WPARAM WA_INACTIVE = 0;
inline constexpr WPARAM WA_ACTIVE = 1;
inline constexpr WPARAM WA_CLICKACTIVE = 2;

// Window longs.
inline constexpr int GWL_WNDPROC = -4;
inline constexpr int GWL_HINSTANCE = -6;
inline constexpr int GWL_HWNDPARENT = -8;
inline constexpr int GWL_STYLE = -16;
inline constexpr int GWL_EXSTYLE = -20;
inline constexpr int GWL_USERDATA = -21;
inline constexpr int GWL_ID = -12;
inline constexpr int GWLP_WNDPROC = GWL_WNDPROC;
inline constexpr int GWLP_USERDATA = GWL_USERDATA;
inline constexpr int GWLP_ID = GWL_ID;

// GetWindow.
inline constexpr UINT GW_HWNDFIRST = 0;
inline constexpr UINT GW_HWNDLAST = 1;
inline constexpr UINT GW_HWNDNEXT = 2;
inline constexpr UINT GW_HWNDPREV = 3;
inline constexpr UINT GW_OWNER = 4;
inline constexpr UINT GW_CHILD = 5;

// PeekMessage.
inline constexpr UINT PM_NOREMOVE = 0x0000;
inline constexpr UINT PM_REMOVE = 0x0001;

// RedrawWindow.
inline constexpr UINT RDW_INVALIDATE = 0x0001;
inline constexpr UINT RDW_INTERNALPAINT = 0x0002;
inline constexpr UINT RDW_ERASE = 0x0004;
inline constexpr UINT RDW_VALIDATE = 0x0008;
inline constexpr UINT RDW_NOINTERNALPAINT = 0x0010;
inline constexpr UINT RDW_NOERASE = 0x0020;
inline constexpr UINT RDW_NOCHILDREN = 0x0040;
inline constexpr UINT RDW_ALLCHILDREN = 0x0080;
inline constexpr UINT RDW_UPDATENOW = 0x0100;
inline constexpr UINT RDW_ERASENOW = 0x0200;
inline constexpr UINT RDW_FRAME = 0x0400;
inline constexpr UINT RDW_NOFRAME = 0x0800;

// Mouse message wParam.
inline constexpr WPARAM MK_LBUTTON = 0x0001;
inline constexpr WPARAM MK_RBUTTON = 0x0002;
inline constexpr WPARAM MK_SHIFT = 0x0004;
inline constexpr WPARAM MK_CONTROL = 0x0008;
inline constexpr WPARAM MK_MBUTTON = 0x0010;

// TrackMouseEvent.
inline constexpr DWORD TME_HOVER = 0x00000001;
inline constexpr DWORD TME_LEAVE = 0x00000002;
inline constexpr DWORD TME_QUERY = 0x40000000;
inline constexpr DWORD TME_CANCEL = 0x80000000;

// WM_NCHITTEST results.
inline constexpr LRESULT HTTRANSPARENT = -1;
inline constexpr LRESULT HTNOWHERE = 0;
inline constexpr LRESULT HTCLIENT = 1;
inline constexpr LRESULT HTBORDER = 18;

// Virtual keys.
inline constexpr int VK_LBUTTON = 0x01;
inline constexpr int VK_RBUTTON = 0x02;
inline constexpr int VK_MBUTTON = 0x04;
inline constexpr int VK_BACK = 0x08;
inline constexpr int VK_TAB = 0x09;
inline constexpr int VK_RETURN = 0x0D;
inline constexpr int VK_SHIFT = 0x10;
inline constexpr int VK_CONTROL = 0x11;
inline constexpr int VK_MENU = 0x12;
inline constexpr int VK_CAPITAL = 0x14;
inline constexpr int VK_ESCAPE = 0x1B;
inline constexpr int VK_SPACE = 0x20;
inline constexpr int VK_PRIOR = 0x21;
inline constexpr int VK_NEXT = 0x22;
inline constexpr int VK_END = 0x23;
inline constexpr int VK_HOME = 0x24;
inline constexpr int VK_LEFT = 0x25;
inline constexpr int VK_UP = 0x26;
inline constexpr int VK_RIGHT = 0x27;
inline constexpr int VK_DOWN = 0x28;
inline constexpr int VK_INSERT = 0x2D;
inline constexpr int VK_DELETE = 0x2E;
inline constexpr int VK_NUMPAD0 = 0x60;
inline constexpr int VK_MULTIPLY = 0x6A;
inline constexpr int VK_ADD = 0x6B;
inline constexpr int VK_SUBTRACT = 0x6D;
inline constexpr int VK_DECIMAL = 0x6E;
inline constexpr int VK_DIVIDE = 0x6F;
inline constexpr int VK_F1 = 0x70;
inline constexpr int VK_F4 = 0x73;
inline constexpr int VK_F12 = 0x7B;
inline constexpr int VK_LSHIFT = 0xA0;
inline constexpr int VK_RSHIFT = 0xA1;
inline constexpr int VK_LCONTROL = 0xA2;
inline constexpr int VK_RCONTROL = 0xA3;
inline constexpr int VK_LMENU = 0xA4;
inline constexpr int VK_RMENU = 0xA5;
inline constexpr int VK_OEM_1 = 0xBA;       // ;:
inline constexpr int VK_OEM_PLUS = 0xBB;    // =+
inline constexpr int VK_OEM_COMMA = 0xBC;   // ,<
inline constexpr int VK_OEM_MINUS = 0xBD;   // -_
inline constexpr int VK_OEM_PERIOD = 0xBE;  // .>
inline constexpr int VK_OEM_2 = 0xBF;       // /?
inline constexpr int VK_OEM_3 = 0xC0;       // `~
inline constexpr int VK_OEM_4 = 0xDB;       // [{
inline constexpr int VK_OEM_5 = 0xDC;       // \|
inline constexpr int VK_OEM_6 = 0xDD;       // ]}
inline constexpr int VK_OEM_7 = 0xDE;       // '"

// System metrics.
inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
inline constexpr int SM_CXVSCROLL = 2;
inline constexpr int SM_CYHSCROLL = 3;
inline constexpr int SM_CYCAPTION = 4;
inline constexpr int SM_CXBORDER = 5;
inline constexpr int SM_CYBORDER = 6;
inline constexpr int SM_CXCURSOR = 13;
inline constexpr int SM_CYCURSOR = 14;
inline constexpr int SM_SWAPBUTTON = 23;
inline constexpr int SM_CXDOUBLECLK = 36;
inline constexpr int SM_CYDOUBLECLK = 37;
inline constexpr int SM_CXEDGE = 45;
inline constexpr int SM_CYEDGE = 46;

inline constexpr DWORD INFINITE = 0xFFFFFFFFu;
inline constexpr UINT USER_TIMER_MINIMUM = 10;

// Classes.
ZO_API ATOM RegisterClassA(const WNDCLASSA* wc);
ZO_API BOOL UnregisterClassA(const char* className, HINSTANCE instance);
ZO_API BOOL GetClassInfoA(HINSTANCE instance, const char* className, WNDCLASSA* out);

// Creation and destruction.
ZO_API HWND CreateWindowExA(DWORD exStyle, const char* className, const char* windowName,
                            DWORD style, int x, int y, int width, int height, HWND parent,
                            HMENU menu, HINSTANCE instance, void* param);
ZO_API BOOL DestroyWindow(HWND hwnd);
ZO_API BOOL IsWindow(HWND hwnd);
ZO_API BOOL IsChild(HWND parent, HWND hwnd);

// Tree and z-order.
ZO_API HWND GetParent(HWND hwnd);  // the parent of a child, the owner of a top-level window
ZO_API HWND SetParent(HWND hwnd, HWND newParent);
ZO_API HWND GetAncestorTopLevel(HWND hwnd);
ZO_API HWND GetWindow(HWND hwnd, UINT cmd);
ZO_API HWND GetTopWindow(HWND parent);  // parent 0: the topmost top-level window
using WNDENUMPROC = BOOL (*)(HWND hwnd, LPARAM lParam);
ZO_API BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam);  // all descendants
ZO_API BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam);                    // top-level windows

// Visibility, position, size.
ZO_API BOOL ShowWindow(HWND hwnd, int cmd);  // returns whether it was visible before
ZO_API BOOL IsWindowVisible(HWND hwnd);      // the window and all its ancestors
ZO_API BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
ZO_API BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
ZO_API BOOL GetClientRect(HWND hwnd, RECT* rect);
ZO_API BOOL GetWindowRect(HWND hwnd, RECT* rect);  // screen coordinates
ZO_API BOOL ClientToScreen(HWND hwnd, POINT* pt);
ZO_API BOOL ScreenToClient(HWND hwnd, POINT* pt);
// Returns MAKELONG(dx, dy) of the offset applied, 0 on failure (hwnd 0 means the screen).
ZO_API int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
ZO_API HWND WindowFromPoint(POINT screen);
ZO_API HWND ChildWindowFromPoint(HWND parent, POINT client);
ZO_API BOOL EnableWindow(HWND hwnd, BOOL enable);  // returns whether it was disabled before
ZO_API BOOL IsWindowEnabled(HWND hwnd);

// Text and window longs.
ZO_API BOOL SetWindowTextA(HWND hwnd, const char* text);
ZO_API int GetWindowTextA(HWND hwnd, char* buffer, int size);
ZO_API int GetWindowTextLengthA(HWND hwnd);
ZO_API int GetClassNameA(HWND hwnd, char* buffer, int size);
ZO_API LONG_PTR GetWindowLongA(HWND hwnd, int index);
ZO_API LONG_PTR SetWindowLongA(HWND hwnd, int index, LONG_PTR value);
inline LONG_PTR GetWindowLongPtrA(HWND hwnd, int index) {
    return GetWindowLongA(hwnd, index);
}
inline LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
    return SetWindowLongA(hwnd, index, value);
}

// Window procedures and messages.
ZO_API LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
ZO_API LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
ZO_API LRESULT CallWindowProcA(LONG_PTR proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
ZO_API LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
ZO_API BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam,
                         LPARAM lParam);  // hwnd 0: thread message
ZO_API void PostQuitMessage(int exitCode);
// Returns FALSE for WM_QUIT, -1 for a bad window filter. On the off-screen display, when no
// message can ever arrive (empty queue, nothing to paint, no timer), it returns FALSE with a
// WM_QUIT message instead of waiting forever.
ZO_API BOOL GetMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax);
ZO_API BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
ZO_API BOOL TranslateMessage(const MSG* msg);
ZO_API LRESULT DispatchMessageA(const MSG* msg);
ZO_API DWORD GetMessageTime();
ZO_API DWORD GetMessagePos();  // MAKELONG(x, y) of the screen cursor when the last message was made

// Painting.
ZO_API BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);  // rect NULL: the whole client
ZO_API BOOL ValidateRect(HWND hwnd, const RECT* rect);
ZO_API BOOL GetUpdateRect(HWND hwnd, RECT* rect,
                          BOOL erase);                // TRUE when the update region is not empty
ZO_API BOOL GetUpdateRegion(HWND hwnd, Region* out);  // client coordinates
ZO_API BOOL UpdateWindow(HWND hwnd);
ZO_API BOOL RedrawWindow(HWND hwnd, const RECT* rect, const Region* region, UINT flags);
ZO_API HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
ZO_API BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
ZO_API HDC GetDC(HWND hwnd);        // hwnd 0: the whole screen
ZO_API HDC GetWindowDC(HWND hwnd);  // including the non-client frame
// 1 when a DC of GetDC/GetWindowDC was released, whatever window is named; the DCs of a window
// die with it.
ZO_API int ReleaseDC(HWND hwnd, HDC hdc);

// Mouse and keyboard.
ZO_API HWND SetCapture(HWND hwnd);
ZO_API BOOL ReleaseCapture();
ZO_API HWND GetCapture();
ZO_API HWND SetFocus(HWND hwnd);
ZO_API HWND GetFocus();
ZO_API HWND SetActiveWindow(HWND hwnd);
ZO_API HWND GetActiveWindow();
ZO_API HWND GetForegroundWindow();
ZO_API BOOL GetCursorPos(POINT* pt);
ZO_API BOOL SetCursorPos(int x, int y);  // moves the pointer; the windows see a mouse move
ZO_API HCURSOR SetCursor(HCURSOR cursor);
ZO_API HCURSOR GetCursor();
ZO_API SHORT GetAsyncKeyState(int vk);  // 0x8000 while the key or button is down now
ZO_API SHORT GetKeyState(int vk);       // state as of the last message retrieved; bit 0 = toggled
ZO_API BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme);
ZO_API UINT GetDoubleClickTime();
ZO_API int GetSystemMetrics(int index);

// Timers. The clock is the display's: real time on X11, a hand-driven clock off-screen.
ZO_API UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
ZO_API BOOL KillTimer(HWND hwnd, UINT_PTR id);
ZO_API DWORD GetTickCount();

// Message boxes: a modal window with the text and a row of push buttons. The owner's top-level
// window is disabled while the box runs its own message loop. Enter presses the default (focused)
// button; Esc gives Cancel, or No, or OK in a box with only OK; a button's underlined letter
// presses it. Returns the pressed button's ID, or 0 for a bad type or a stale owner. When the
// loop meets WM_QUIT (also the one the off-screen display makes when no input can ever arrive)
// the box gives the answer Esc would give (or the default button's) and posts the quit again.
// MB_ICON* flags show the matching system icon left of the text.
inline constexpr UINT MB_OK = 0x0000;
inline constexpr UINT MB_OKCANCEL = 0x0001;
inline constexpr UINT MB_ABORTRETRYIGNORE = 0x0002;
inline constexpr UINT MB_YESNOCANCEL = 0x0003;
inline constexpr UINT MB_YESNO = 0x0004;
inline constexpr UINT MB_RETRYCANCEL = 0x0005;
inline constexpr UINT MB_TYPEMASK = 0x000F;
inline constexpr UINT MB_ICONHAND = 0x0010;
inline constexpr UINT MB_ICONQUESTION = 0x0020;
inline constexpr UINT MB_ICONEXCLAMATION = 0x0030;
inline constexpr UINT MB_ICONASTERISK = 0x0040;
inline constexpr UINT MB_ICONMASK = 0x00F0;
inline constexpr UINT MB_DEFBUTTON1 = 0x0000;
inline constexpr UINT MB_DEFBUTTON2 = 0x0100;
inline constexpr UINT MB_DEFBUTTON3 = 0x0200;
inline constexpr UINT MB_DEFMASK = 0x0F00;
inline constexpr UINT MB_APPLMODAL = 0x0000;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;
ZO_API int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type);

// Standard cursor identifiers for LoadCursorA(0, IDC_...); the X11 display maps them.
inline constexpr std::uintptr_t IDC_ARROW = 32512;
inline constexpr std::uintptr_t IDC_IBEAM = 32513;
inline constexpr std::uintptr_t IDC_WAIT = 32514;
inline constexpr std::uintptr_t IDC_CROSS = 32515;
inline constexpr std::uintptr_t IDC_SIZEALL = 32646;
inline constexpr std::uintptr_t IDC_NO = 32648;
inline constexpr std::uintptr_t IDC_HAND = 32649;
ZO_API HCURSOR LoadCursorA(HINSTANCE instance, std::uintptr_t id);

}  // namespace zo::plat
