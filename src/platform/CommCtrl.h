// Common controls of the stand-in platform: the tooltip window class "tooltips_class32" with
// its messages, flags and tool record, registered by InitCommonControlsEx. Names and numbers
// are the classic platform's, so a tooltip wrapper written for it reads the same here.
#pragma once

#include "core/Export.h"

#include <cstddef>
#include <cstdint>

#include "platform/Types.h"
#include "platform/Window.h"

namespace zo::plat {

struct ZO_API INITCOMMONCONTROLSEX {
    DWORD dwSize = 8;
    DWORD dwICC = 0;
};

inline constexpr DWORD ICC_WIN95_CLASSES = 0x000000FF;
inline constexpr DWORD ICC_BAR_CLASSES = 0x00000004;  // includes the tooltip class

// Registers the common window classes for this thread; FALSE for a bad structure size.
ZO_API BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* icc);

inline constexpr const char* TOOLTIPS_CLASSA = "tooltips_class32";

// The tool record. The fields up to lParam are the classic layout; a caller sets cbSize to
// sizeof(TOOLINFOA) or to one of the older sizes, which ends the record earlier.
struct ZO_API TOOLINFOA {
    UINT cbSize = sizeof(TOOLINFOA);
    UINT uFlags = 0;
    HWND hwnd = 0;
    std::uintptr_t uId = 0;
    RECT rect;
    HINSTANCE hinst = 0;
    char* lpszText = nullptr;
    LPARAM lParam = 0;
    void* lpReserved = nullptr;
};
// The first version of the record ends before lParam.
inline constexpr UINT TTTOOLINFOA_V1_SIZE = offsetof(TOOLINFOA, lParam);
// lpszText value that makes the tooltip ask the tool's window for the text.
inline char* const LPSTR_TEXTCALLBACKA = reinterpret_cast<char*>(static_cast<std::intptr_t>(-1));

// The header of every WM_NOTIFY message.
struct ZO_API NMHDR {
    HWND hwndFrom = 0;
    std::uintptr_t idFrom = 0;
    UINT code = 0;
};

// TTN_GETDISPINFOA: lpszText arrives pointing at szText; the tool's window copies its text there
// or points lpszText at a string that stays valid while the tip uses it. With TTF_DI_SETITEM in
// uFlags the tooltip keeps the answer.
struct ZO_API NMTTDISPINFOA {
    NMHDR hdr;
    char* lpszText = nullptr;
    char szText[80] = {};
    HINSTANCE hinst = 0;
    UINT uFlags = 0;
    LPARAM lParam = 0;
};

// Tooltip notifications, sent as WM_NOTIFY to the tool's window with idFrom = the tool's uId.
inline constexpr UINT TTN_FIRST = static_cast<UINT>(-520);
inline constexpr UINT TTN_GETDISPINFOA = TTN_FIRST - 0;
inline constexpr UINT TTN_NEEDTEXTA = TTN_GETDISPINFOA;
inline constexpr UINT TTN_SHOW = TTN_FIRST - 1;
inline constexpr UINT TTN_POP = TTN_FIRST - 2;

// Tooltip messages. TTM_GETTEXTA takes the buffer size in characters in wParam; with wParam 0
// it copies at most 80 characters and the NUL, as TTM_GETTOOLINFOA and TTM_ENUMTOOLSA always
// do into a record's lpszText buffer.
inline constexpr UINT TTM_ACTIVATE = WM_USER + 1;
inline constexpr UINT TTM_SETDELAYTIME = WM_USER + 3;
inline constexpr UINT TTM_ADDTOOLA = WM_USER + 4;
inline constexpr UINT TTM_DELTOOLA = WM_USER + 5;
inline constexpr UINT TTM_NEWTOOLRECTA = WM_USER + 6;
inline constexpr UINT TTM_RELAYEVENT = WM_USER + 7;
inline constexpr UINT TTM_GETTOOLINFOA = WM_USER + 8;
inline constexpr UINT TTM_SETTOOLINFOA = WM_USER + 9;
inline constexpr UINT TTM_HITTESTA = WM_USER + 10;
inline constexpr UINT TTM_GETTEXTA = WM_USER + 11;
inline constexpr UINT TTM_UPDATETIPTEXTA = WM_USER + 12;
inline constexpr UINT TTM_GETTOOLCOUNT = WM_USER + 13;
inline constexpr UINT TTM_ENUMTOOLSA = WM_USER + 14;
inline constexpr UINT TTM_GETCURRENTTOOLA = WM_USER + 15;
inline constexpr UINT TTM_SETTIPBKCOLOR = WM_USER + 19;
inline constexpr UINT TTM_SETTIPTEXTCOLOR = WM_USER + 20;
inline constexpr UINT TTM_GETDELAYTIME = WM_USER + 21;
inline constexpr UINT TTM_GETTIPBKCOLOR = WM_USER + 22;
inline constexpr UINT TTM_GETTIPTEXTCOLOR = WM_USER + 23;
inline constexpr UINT TTM_SETMAXTIPWIDTH = WM_USER + 24;
inline constexpr UINT TTM_GETMAXTIPWIDTH = WM_USER + 25;
inline constexpr UINT TTM_SETMARGIN = WM_USER + 26;
inline constexpr UINT TTM_GETMARGIN = WM_USER + 27;
inline constexpr UINT TTM_POP = WM_USER + 28;
inline constexpr UINT TTM_UPDATE = WM_USER + 29;
inline constexpr UINT TTM_ADJUSTRECT = WM_USER + 31;
inline constexpr UINT TTM_SETTITLEA = WM_USER + 32;

// Delay kinds of TTM_SETDELAYTIME / TTM_GETDELAYTIME.
inline constexpr WPARAM TTDT_AUTOMATIC = 0;
inline constexpr WPARAM TTDT_RESHOW = 1;
inline constexpr WPARAM TTDT_AUTOPOP = 2;
inline constexpr WPARAM TTDT_INITIAL = 3;

// Tool flags.
inline constexpr UINT TTF_IDISHWND = 0x0001;
inline constexpr UINT TTF_CENTERTIP = 0x0002;
inline constexpr UINT TTF_RTLREADING = 0x0004;
inline constexpr UINT TTF_SUBCLASS = 0x0010;
inline constexpr UINT TTF_TRACK = 0x0020;
inline constexpr UINT TTF_ABSOLUTE = 0x0080;
inline constexpr UINT TTF_TRANSPARENT = 0x0100;
inline constexpr UINT TTF_DI_SETITEM = 0x8000;

// Tooltip window styles.
inline constexpr DWORD TTS_ALWAYSTIP = 0x01;
inline constexpr DWORD TTS_NOPREFIX = 0x02;
inline constexpr DWORD TTS_NOANIMATE = 0x10;
inline constexpr DWORD TTS_NOFADE = 0x20;
inline constexpr DWORD TTS_BALLOON = 0x40;
inline constexpr DWORD TTS_CLOSE = 0x80;

// Title icons of TTM_SETTITLEA.
inline constexpr WPARAM TTI_NONE = 0;
inline constexpr WPARAM TTI_INFO = 1;
inline constexpr WPARAM TTI_WARNING = 2;
inline constexpr WPARAM TTI_ERROR = 3;

}  // namespace zo::plat
