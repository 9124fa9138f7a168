// Tab control, list box, property-sheet frame and the open-file dialog of the stand-in
// platform, under the classic names and numbers, so property pages and a picture chooser
// written for the classic platform read the same here. The classes are registered by
// InitCommonControlsEx (CommCtrl.h) and, for the dialogs, on first use.
#pragma once

#include "core/Export.h"

#include <cstdint>

#include "platform/CommCtrl.h"
#include "platform/Types.h"
#include "platform/Window.h"

namespace zo::plat {

using INT_PTR = std::intptr_t;

// ---- Tab control ("SysTabControl32") -----------------------------------------------------
// One row of tabs in the classic look over a raised pane. A click or, with the focus, Left and
// Right choose a tab; Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgDn and Ctrl+PgUp step round the tabs
// wherever the control receives them (a property sheet passes them on). A choice made by the
// user sends TCN_SELCHANGING (a non-zero answer keeps the old tab) and then TCN_SELCHANGE to
// the parent as WM_NOTIFY; TCM_SETCURSEL sends neither.

inline constexpr const char* WC_TABCONTROLA = "SysTabControl32";

struct ZO_API TCITEMA {
    UINT mask = 0;
    DWORD dwState = 0;
    DWORD dwStateMask = 0;
    char* pszText = nullptr;
    int cchTextMax = 0;
    int iImage = -1;
    LPARAM lParam = 0;
};
inline constexpr UINT TCIF_TEXT = 0x0001;
inline constexpr UINT TCIF_IMAGE = 0x0002;
inline constexpr UINT TCIF_PARAM = 0x0008;

struct ZO_API TCHITTESTINFO {
    POINT pt;
    UINT flags = 0;
};
inline constexpr UINT TCHT_NOWHERE = 0x0001;
inline constexpr UINT TCHT_ONITEM = 0x0006;

inline constexpr UINT TCM_FIRST = 0x1300;
inline constexpr UINT TCM_GETITEMCOUNT = TCM_FIRST + 4;
inline constexpr UINT TCM_GETITEMA = TCM_FIRST + 5;
inline constexpr UINT TCM_SETITEMA = TCM_FIRST + 6;
inline constexpr UINT TCM_INSERTITEMA = TCM_FIRST + 7;  // wParam index; returns it, or -1
inline constexpr UINT TCM_DELETEITEM = TCM_FIRST + 8;
inline constexpr UINT TCM_DELETEALLITEMS = TCM_FIRST + 9;
inline constexpr UINT TCM_GETITEMRECT = TCM_FIRST + 10;
inline constexpr UINT TCM_GETCURSEL = TCM_FIRST + 11;
inline constexpr UINT TCM_SETCURSEL = TCM_FIRST + 12;  // returns the previous tab, or -1
inline constexpr UINT TCM_HITTEST = TCM_FIRST + 13;
// wParam FALSE: the window rectangle in lParam becomes the display area for pages; TRUE: the
// reverse.
inline constexpr UINT TCM_ADJUSTRECT = TCM_FIRST + 40;
inline constexpr UINT TCM_GETCURFOCUS = TCM_FIRST + 47;

inline constexpr UINT TCN_FIRST = static_cast<UINT>(-550);
inline constexpr UINT TCN_KEYDOWN = TCN_FIRST - 0;
inline constexpr UINT TCN_SELCHANGE = TCN_FIRST - 1;
inline constexpr UINT TCN_SELCHANGING = TCN_FIRST - 2;

// ---- List box ("ListBox") ----------------------------------------------------------------
// Single selection over text items with item data, a vertical scroll bar of its own when the
// items do not fit, the arrow, page, Home and End keys, type-ahead by first letter, wheel
// scrolling and double-click. With LBS_NOTIFY the parent hears LBN_* through WM_COMMAND
// (control ID in the low word, code in the high word, the list's window in lParam).

inline constexpr const char* WC_LISTBOXA = "ListBox";

inline constexpr DWORD LBS_NOTIFY = 0x0001;
inline constexpr DWORD LBS_SORT = 0x0002;
inline constexpr DWORD LBS_NOINTEGRALHEIGHT = 0x0100;

inline constexpr UINT LB_ADDSTRING = 0x0180;
inline constexpr UINT LB_INSERTSTRING = 0x0181;
inline constexpr UINT LB_DELETESTRING = 0x0182;
inline constexpr UINT LB_RESETCONTENT = 0x0184;
inline constexpr UINT LB_SETCURSEL = 0x0186;  // -1 clears; an index out of range gives LB_ERR
inline constexpr UINT LB_GETCURSEL = 0x0188;
inline constexpr UINT LB_GETTEXT = 0x0189;  // lParam must hold LB_GETTEXTLEN + 1 bytes
inline constexpr UINT LB_GETTEXTLEN = 0x018A;
inline constexpr UINT LB_GETCOUNT = 0x018B;
inline constexpr UINT LB_GETTOPINDEX = 0x018E;
inline constexpr UINT LB_FINDSTRING = 0x018F;  // prefix, without regard to case
inline constexpr UINT LB_SETTOPINDEX = 0x0197;
inline constexpr UINT LB_GETITEMRECT = 0x0198;
inline constexpr UINT LB_GETITEMDATA = 0x0199;
inline constexpr UINT LB_SETITEMDATA = 0x019A;
inline constexpr UINT LB_GETITEMHEIGHT = 0x01A1;
inline constexpr UINT LB_FINDSTRINGEXACT = 0x01A2;
inline constexpr UINT LB_ITEMFROMPOINT = 0x01A9;  // HIWORD 1 when outside the items
inline constexpr LRESULT LB_ERR = -1;

inline constexpr WORD LBN_SELCHANGE = 1;
inline constexpr WORD LBN_DBLCLK = 2;
inline constexpr WORD LBN_SETFOCUS = 4;
inline constexpr WORD LBN_KILLFOCUS = 5;

// ---- Property sheets ---------------------------------------------------------------------
// A frame with a tab per page, in the given order, and OK, Cancel and Apply. Pages are child
// windows that the frame creates the first time they are shown and keeps, hidden, while
// another page is up, so each keeps its state. A page's procedure receives WM_INITDIALOG
// (lParam: the frame's copy of its PROPSHEETPAGEA) once created, and WM_NOTIFY with a
// PSHNOTIFY: PSN_SETACTIVE, PSN_KILLACTIVE (non-zero answer: stay on this page), PSN_APPLY
// (PSNRET_INVALID: stay open) and PSN_RESET on Cancel; the procedure's return value is the
// answer. A page reports edits with PSM_CHANGED and takes them back with PSM_UNCHANGED; Apply
// is enabled while the shown page has edits. Apply and OK send PSN_APPLY to every page with
// edits; OK then closes, Cancel and Esc close without applying. Enter presses OK unless the
// focus is on a push button.

using DLGPROC = INT_PTR (*)(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
inline constexpr UINT WM_INITDIALOG = 0x0110;

struct ZO_API PROPSHEETPAGEA {
    DWORD dwSize = sizeof(PROPSHEETPAGEA);
    DWORD dwFlags = 0;
    HINSTANCE hInstance = 0;
    // The page's client size in pixels; it stands where the classic record names a template.
    int cx = 0;
    int cy = 0;
    DLGPROC pfnDlgProc = nullptr;
    const char* pszTitle = nullptr;  // the tab's text (with PSP_USETITLE); copied by the frame
    LPARAM lParam = 0;
};
inline constexpr DWORD PSP_DEFAULT = 0x0000;
inline constexpr DWORD PSP_USETITLE = 0x0008;

struct ZO_API PROPSHEETHEADERA {
    DWORD dwSize = sizeof(PROPSHEETHEADERA);
    DWORD dwFlags = 0;
    HWND hwndParent = 0;
    HINSTANCE hInstance = 0;
    const char* pszCaption = nullptr;
    UINT nPages = 0;
    UINT nStartPage = 0;
    const PROPSHEETPAGEA* ppsp = nullptr;
};
inline constexpr DWORD PSH_DEFAULT = 0x0000;
inline constexpr DWORD PSH_PROPTITLE = 0x0001;  // caption "Properties for " + pszCaption
inline constexpr DWORD PSH_NOAPPLYNOW = 0x0080;
inline constexpr DWORD PSH_MODELESS = 0x0400;

struct ZO_API PSHNOTIFY {
    NMHDR hdr;
    LPARAM lParam = 0;
};
inline constexpr UINT PSN_FIRST = static_cast<UINT>(-200);
inline constexpr UINT PSN_SETACTIVE = PSN_FIRST - 0;
inline constexpr UINT PSN_KILLACTIVE = PSN_FIRST - 1;
inline constexpr UINT PSN_APPLY = PSN_FIRST - 2;
inline constexpr UINT PSN_RESET = PSN_FIRST - 3;
inline constexpr INT_PTR PSNRET_NOERROR = 0;
inline constexpr INT_PTR PSNRET_INVALID = 1;

inline constexpr UINT PSM_SETCURSEL = WM_USER + 101;  // wParam page index
inline constexpr UINT PSM_CHANGED = WM_USER + 104;    // wParam the page's window
inline constexpr UINT PSM_UNCHANGED = WM_USER + 109;  // wParam the page's window
inline constexpr UINT PSM_APPLY = WM_USER + 110;      // TRUE when every page accepted
inline constexpr UINT PSM_PRESSBUTTON = WM_USER + 113;
inline constexpr UINT PSM_GETTABCONTROL = WM_USER + 116;
// For a modeless sheet: the caller's loop passes each message here first; TRUE when the sheet
// took it (its keyboard handling).
inline constexpr UINT PSM_ISDIALOGMESSAGE = WM_USER + 117;
inline constexpr UINT PSM_GETCURRENTPAGEHWND = WM_USER + 118;
inline constexpr WPARAM PSBTN_OK = 3;
inline constexpr WPARAM PSBTN_APPLYNOW = 4;
inline constexpr WPARAM PSBTN_CANCEL = 5;
// Control IDs of the frame's buttons.
inline constexpr int IDC_PSAPPLY = 0x3021;

// Modal (the owner's top-level window disabled, a nested loop): returns 1 when any page was
// applied, 0 when nothing was, -1 for a bad header. With PSH_MODELESS: returns the frame's
// window at once (-1 on failure); OK and Cancel destroy it.
ZO_API INT_PTR PropertySheetA(const PROPSHEETHEADERA* header);

// ---- Open-file dialog --------------------------------------------------------------------
// A modal dialog with the folders and files of a folder, a filter list, a file-name box, Open
// and Cancel. Texts are in the 8-bit code page; names on disk that it cannot hold are listed
// with '?' and refused when chosen. Typed names may be absolute or relative to the folder
// shown, name a folder (which is opened) or hold wildcards (which become the filter).

using LPOFNHOOKPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

struct ZO_API OPENFILENAMEA {
    DWORD lStructSize = sizeof(OPENFILENAMEA);
    HWND hwndOwner = 0;
    HINSTANCE hInstance = 0;
    const char* lpstrFilter = nullptr;  // pairs of (text, patterns) ending with an empty text
    char* lpstrCustomFilter = nullptr;
    DWORD nMaxCustFilter = 0;
    DWORD nFilterIndex = 0;     // 1-based; 0 or out of range: the first
    char* lpstrFile = nullptr;  // in: the initial name; out: the full path
    DWORD nMaxFile = 0;
    char* lpstrFileTitle = nullptr;  // out: the name alone (cut to fit)
    DWORD nMaxFileTitle = 0;
    const char* lpstrInitialDir = nullptr;
    const char* lpstrTitle = nullptr;
    DWORD Flags = 0;
    WORD nFileOffset = 0;
    WORD nFileExtension = 0;
    const char* lpstrDefExt = nullptr;
    LPARAM lCustData = 0;
    LPOFNHOOKPROC lpfnHook = nullptr;
    const char* lpTemplateName = nullptr;
};
// The record's size as 32-bit callers fill it in.
inline constexpr DWORD OPENFILENAME_SIZE_VERSION_400A = 76;

inline constexpr DWORD OFN_READONLY = 0x00000001;
inline constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
inline constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
inline constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
inline constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;

// CommDlgExtendedError codes.
inline constexpr DWORD CDERR_STRUCTSIZE = 0x0001;
inline constexpr DWORD CDERR_INITIALIZATION = 0x0002;
inline constexpr DWORD FNERR_INVALIDFILENAME = 0x3002;
inline constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;

// Non-zero when a file was chosen. 0 on Cancel or Esc (CommDlgExtendedError 0) and on a
// failure: a bad record, or a path longer than nMaxFile - 1 (FNERR_BUFFERTOOSMALL, the size
// needed, NUL included, then in the first two bytes of lpstrFile when it has room for them).
ZO_API BOOL GetOpenFileNameA(OPENFILENAMEA* ofn);
// The reason the last common dialog of this thread failed, 0 when it did not.
ZO_API DWORD CommDlgExtendedError();

}  // namespace zo::plat
