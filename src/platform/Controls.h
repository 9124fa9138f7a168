// The standard dialog controls of the stand-in platform and the dialog keyboard interface:
// push button, check box and group box ("Button"), label and picture ("Static"), single-line
// text box ("Edit"), drop-down list ("ComboBox"), scroll bar ("ScrollBar"), the caret, the
// clipboard, and Tab, access keys, Enter and Esc in dialogs. The classes are there for every
// thread without registration, as the classic platform's system classes are; names, styles,
// messages and notifications are the classic platform's.
#pragma once

#include "core/Export.h"

#include <cstdint>

#include "platform/CommCtrl.h"
#include "platform/Types.h"
#include "platform/Window.h"

namespace zo::plat {

// Class names.
inline constexpr const char* WC_BUTTONA = "Button";
inline constexpr const char* WC_STATICA = "Static";
inline constexpr const char* WC_EDITA = "Edit";
inline constexpr const char* WC_COMBOBOXA = "ComboBox";
inline constexpr const char* WC_SCROLLBARA = "ScrollBar";
inline constexpr const char* WC_DIALOGA = "#32770";  // plain dialog: DefDlgProcA, 3D face

// More messages.
inline constexpr UINT WM_NEXTDLGCTL = 0x0028;
inline constexpr UINT WM_GETDLGCODE = 0x0087;
inline constexpr UINT WM_HSCROLL = 0x0114;
inline constexpr UINT WM_VSCROLL = 0x0115;
inline constexpr UINT WM_CUT = 0x0300;
inline constexpr UINT WM_COPY = 0x0301;
inline constexpr UINT WM_PASTE = 0x0302;
inline constexpr UINT WM_CLEAR = 0x0303;

inline constexpr DWORD WS_GROUP = 0x00020000;
inline constexpr DWORD WS_EX_CONTROLPARENT = 0x00010000;  // Tab walks into its children

// WM_COMMAND from a control: wParam = MAKEWPARAM(id, code), lParam = the control.
constexpr WPARAM MAKEWPARAM(int lo, int hi) {
    return static_cast<WPARAM>(static_cast<std::uint32_t>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16)));
}

// WM_GETDLGCODE answers: what keys a control keeps from the dialog.
inline constexpr LRESULT DLGC_WANTARROWS = 0x0001;
inline constexpr LRESULT DLGC_WANTTAB = 0x0002;
inline constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
inline constexpr LRESULT DLGC_HASSETSEL = 0x0008;
inline constexpr LRESULT DLGC_DEFPUSHBUTTON = 0x0010;
inline constexpr LRESULT DLGC_UNDEFPUSHBUTTON = 0x0020;
inline constexpr LRESULT DLGC_WANTCHARS = 0x0080;
inline constexpr LRESULT DLGC_STATIC = 0x0100;
inline constexpr LRESULT DLGC_BUTTON = 0x2000;

// Dialog messages: the default push button's ID (HIWORD DC_HASDEFID when there is one).
inline constexpr UINT DM_GETDEFID = WM_USER + 0;
inline constexpr UINT DM_SETDEFID = WM_USER + 1;
inline constexpr WORD DC_HASDEFID = 0x534B;

// Buttons.
inline constexpr DWORD BS_PUSHBUTTON = 0x0000;
inline constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
inline constexpr DWORD BS_CHECKBOX = 0x0002;
inline constexpr DWORD BS_AUTOCHECKBOX = 0x0003;
inline constexpr DWORD BS_GROUPBOX = 0x0007;
inline constexpr DWORD BS_TYPEMASK = 0x000F;
inline constexpr UINT BM_GETCHECK = 0x00F0;
inline constexpr UINT BM_SETCHECK = 0x00F1;
inline constexpr UINT BM_GETSTATE = 0x00F2;
inline constexpr UINT BM_SETSTATE = 0x00F3;
inline constexpr UINT BM_SETSTYLE = 0x00F4;
inline constexpr UINT BM_CLICK = 0x00F5;
inline constexpr LRESULT BST_UNCHECKED = 0x0000;
inline constexpr LRESULT BST_CHECKED = 0x0001;
inline constexpr LRESULT BST_PUSHED = 0x0004;
inline constexpr LRESULT BST_FOCUS = 0x0008;
inline constexpr int BN_CLICKED = 0;

// Statics: labels (text with "&" access keys, wrapped at words) and pictures (a bitmap or an
// icon, always centred; SS_SUNKEN adds a thin sunken edge, WS_EX_CLIENTEDGE a deep one).
inline constexpr DWORD SS_LEFT = 0x0000;
inline constexpr DWORD SS_CENTER = 0x0001;
inline constexpr DWORD SS_RIGHT = 0x0002;
inline constexpr DWORD SS_ICON = 0x0003;
inline constexpr DWORD SS_BITMAP = 0x000E;
inline constexpr DWORD SS_TYPEMASK = 0x001F;
inline constexpr DWORD SS_NOPREFIX = 0x0080;
inline constexpr DWORD SS_SUNKEN = 0x1000;
inline constexpr UINT STM_SETIMAGE = 0x0172;  // wParam IMAGE_*, lParam handle; returns the old one
inline constexpr UINT STM_GETIMAGE = 0x0173;
inline constexpr WPARAM IMAGE_BITMAP = 0;
inline constexpr WPARAM IMAGE_ICON = 1;

// Single-line edit; it always scrolls sideways to keep the caret in view.
inline constexpr DWORD ES_LEFT = 0x0000;
inline constexpr DWORD ES_NOHIDESEL = 0x0100;
inline constexpr DWORD ES_READONLY = 0x0800;
inline constexpr UINT EM_GETSEL =
    0x00B0;  // returns MAKELONG(start, end); fills DWORD* wParam/lParam
inline constexpr UINT EM_SETSEL = 0x00B1;  // start, end; end -1 = to the end; start -1 = none
inline constexpr UINT EM_REPLACESEL = 0x00C2;
inline constexpr UINT EM_LIMITTEXT = 0x00C5;
inline constexpr UINT EM_SETREADONLY = 0x00CF;
inline constexpr int EN_SETFOCUS = 0x0100;
inline constexpr int EN_KILLFOCUS = 0x0200;
inline constexpr int EN_CHANGE = 0x0300;
inline constexpr int EN_MAXTEXT = 0x0501;

// The edit's key filter: before it acts on a WM_KEYDOWN or takes a WM_CHAR, the edit sends
// its parent WM_NOTIFY NM_KEYDOWN (NMKEY) or NM_CHAR (NMCHAR). A non-zero answer discards the
// key; the handler may also change `ch` to another character.
inline constexpr UINT NM_CHAR = static_cast<UINT>(-18);
inline constexpr UINT NM_KEYDOWN = static_cast<UINT>(-15);
struct ZO_API NMCHAR {
    NMHDR hdr;
    UINT ch = 0;
    DWORD dwItemPrev = 0;
    DWORD dwItemNext = 0;
};
struct ZO_API NMKEY {
    NMHDR hdr;
    UINT nVKey = 0;
    UINT uFlags = 0;
};

// Drop-down list. The window's height is the closed box's; the list drops below it and shows
// up to eight items, scrolling when there are more.
inline constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
inline constexpr UINT CB_ADDSTRING = 0x0143;
inline constexpr UINT CB_DELETESTRING = 0x0144;
inline constexpr UINT CB_GETCOUNT = 0x0146;
inline constexpr UINT CB_GETCURSEL = 0x0147;
inline constexpr UINT CB_GETLBTEXT = 0x0148;
inline constexpr UINT CB_GETLBTEXTLEN = 0x0149;
inline constexpr UINT CB_INSERTSTRING = 0x014A;
inline constexpr UINT CB_RESETCONTENT = 0x014B;
inline constexpr UINT CB_SETCURSEL = 0x014E;
inline constexpr UINT CB_SHOWDROPDOWN = 0x014F;
inline constexpr UINT CB_GETDROPPEDSTATE = 0x0157;
inline constexpr LRESULT CB_ERR = -1;
inline constexpr int CBN_SELCHANGE = 1;  // the user chose another item (not sent for CB_SETCURSEL)
inline constexpr int CBN_SETFOCUS = 3;
inline constexpr int CBN_KILLFOCUS = 4;
inline constexpr int CBN_DROPDOWN = 7;
inline constexpr int CBN_CLOSEUP = 8;
inline constexpr int CBN_SELENDOK = 9;  // the user picked an item: the list's click
inline constexpr int CBN_SELENDCANCEL = 10;

// Scroll bar controls. The control only reports: its parent sets the new position.
inline constexpr DWORD SBS_HORZ = 0x0000;
inline constexpr int SB_CTL = 2;
inline constexpr int SB_LINELEFT = 0;
inline constexpr int SB_LINERIGHT = 1;
inline constexpr int SB_PAGELEFT = 2;
inline constexpr int SB_PAGERIGHT = 3;
inline constexpr int SB_THUMBPOSITION = 4;  // HIWORD(wParam) = where the thumb was let go
inline constexpr int SB_THUMBTRACK = 5;     // HIWORD(wParam) = where the thumb is dragged
inline constexpr int SB_LEFT = 6;
inline constexpr int SB_RIGHT = 7;
inline constexpr int SB_ENDSCROLL = 8;
inline constexpr UINT SBM_SETPOS = 0x00E0;
inline constexpr UINT SBM_GETPOS = 0x00E1;
inline constexpr UINT SBM_SETRANGE = 0x00E2;
inline constexpr UINT SBM_GETRANGE = 0x00E3;
inline constexpr UINT SBM_SETRANGEREDRAW = 0x00E6;
// Scroll bar controls only (SB_CTL); window scroll bars do not exist here and fail.
ZO_API int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);  // returns the previous position
ZO_API int GetScrollPos(HWND hwnd, int bar);
ZO_API BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
ZO_API BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos);

// The caret: one per thread, owned by a window, blinking on the display's clock.
// bitmap 0 gives a solid caret, 1 a grey one. Painting hides it while the window draws.
ZO_API BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height);
ZO_API BOOL DestroyCaret();
ZO_API BOOL ShowCaret(HWND hwnd);  // undoes one HideCaret; hwnd 0: the caret's window
ZO_API BOOL HideCaret(HWND hwnd);  // hides cumulatively
ZO_API BOOL SetCaretPos(int x, int y);
ZO_API BOOL GetCaretPos(POINT* pt);
ZO_API UINT GetCaretBlinkTime();
ZO_API BOOL SetCaretBlinkTime(UINT ms);

// The clipboard holds text. On the X11 display it is the X CLIPBOARD selection, so text
// passes to and from other programs; off-screen it lives in this thread.
ZO_API BOOL SetClipboardTextA(HWND owner, const char* text);
// Copies the text (NUL-terminated, cut to size - 1) and returns its full length; -1 when the
// clipboard holds no text.
ZO_API int GetClipboardTextA(char* buffer, int size);

// Dialogs: the keyboard interface for a window and its controls. Tab and Shift+Tab walk the
// WS_TABSTOP controls, Alt+letter (or the letter, where the focused control takes no
// characters) goes to the control whose label underlines it, Enter presses the default push
// button and Esc the IDCANCEL one. Returns TRUE when the message was handled (then it must not
// be dispatched again).
ZO_API BOOL IsDialogMessageA(HWND dialog, MSG* msg);
ZO_API LRESULT DefDlgProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
ZO_API HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
ZO_API HWND GetDlgItem(HWND dialog, int id);
ZO_API int GetDlgCtrlID(HWND hwnd);
// The outermost window around hwnd that runs the dialog interface (a window of the dialog
// class, or one with WS_EX_CONTROLPARENT), or 0. Message loops give it to IsDialogMessageA.
ZO_API HWND GetDialogOf(HWND hwnd);

}  // namespace zo::plat
