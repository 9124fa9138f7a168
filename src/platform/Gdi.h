// The raster half of the stand-in platform's drawing layer: device contexts, drawing objects
// and the raster primitives, under the classic platform's names. Every call that takes a
// handle fails softly (0 / FALSE / CLR_INVALID) when the handle is stale, deleted or of
// another kind.
#pragma once

#include <cstdint>

#include "core/Export.h"
#include "platform/GdiInternal.h"  // LOGFONTA
#include "platform/Types.h"

namespace zo::plat {

using ULONG = std::uint32_t;
using COLOR16 = std::uint16_t;

inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// ---- Stock objects -------------------------------------------------------------------------
inline constexpr int WHITE_BRUSH = 0;
inline constexpr int LTGRAY_BRUSH = 1;
inline constexpr int GRAY_BRUSH = 2;
inline constexpr int DKGRAY_BRUSH = 3;
inline constexpr int BLACK_BRUSH = 4;
inline constexpr int NULL_BRUSH = 5;
inline constexpr int HOLLOW_BRUSH = NULL_BRUSH;
inline constexpr int WHITE_PEN = 6;
inline constexpr int BLACK_PEN = 7;
inline constexpr int NULL_PEN = 8;
inline constexpr int OEM_FIXED_FONT = 10;
inline constexpr int ANSI_FIXED_FONT = 11;
inline constexpr int ANSI_VAR_FONT = 12;
inline constexpr int SYSTEM_FONT = 13;
inline constexpr int DEVICE_DEFAULT_FONT = 14;
inline constexpr int SYSTEM_FIXED_FONT = 16;
inline constexpr int DEFAULT_GUI_FONT = 17;

// ---- Pens and brushes ----------------------------------------------------------------------
inline constexpr int PS_SOLID = 0;
inline constexpr int PS_DASH = 1;
inline constexpr int PS_DOT = 2;
inline constexpr int PS_NULL = 5;
inline constexpr int BS_SOLID = 0;
inline constexpr int BS_NULL = 1;
inline constexpr int BS_HOLLOW = BS_NULL;
inline constexpr int BS_PATTERN = 3;

// ---- GetCurrentObject / GetObjectType ------------------------------------------------------
inline constexpr UINT OBJ_PEN = 1;
inline constexpr UINT OBJ_BRUSH = 2;
inline constexpr UINT OBJ_DC = 3;
inline constexpr UINT OBJ_FONT = 6;
inline constexpr UINT OBJ_BITMAP = 7;
inline constexpr UINT OBJ_MEMDC = 10;

// ---- Region results ------------------------------------------------------------------------
inline constexpr int ERROR = 0;
inline constexpr int NULLREGION = 1;
inline constexpr int SIMPLEREGION = 2;
inline constexpr int COMPLEXREGION = 3;

// ---- GetDeviceCaps -------------------------------------------------------------------------
inline constexpr int HORZRES = 8;
inline constexpr int VERTRES = 10;
inline constexpr int BITSPIXEL = 12;
inline constexpr int PLANES = 14;
inline constexpr int NUMCOLORS = 24;
inline constexpr int LOGPIXELSX = 88;
inline constexpr int LOGPIXELSY = 90;

// ---- DC attributes -------------------------------------------------------------------------
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;
inline constexpr UINT TA_NOUPDATECP = 0;
inline constexpr UINT TA_UPDATECP = 1;
inline constexpr UINT TA_LEFT = 0;
inline constexpr UINT TA_RIGHT = 2;
inline constexpr UINT TA_CENTER = 6;
inline constexpr UINT TA_TOP = 0;
inline constexpr UINT TA_BOTTOM = 8;
inline constexpr UINT TA_BASELINE = 24;
inline constexpr int BLACKONWHITE = 1;
inline constexpr int WHITEONBLACK = 2;
inline constexpr int COLORONCOLOR = 3;
inline constexpr int HALFTONE = 4;
inline constexpr int STRETCH_ANDSCANS = BLACKONWHITE;
inline constexpr int STRETCH_ORSCANS = WHITEONBLACK;
inline constexpr int STRETCH_DELETESCANS = COLORONCOLOR;
inline constexpr int STRETCH_HALFTONE = HALFTONE;
inline constexpr int ALTERNATE = 1;
inline constexpr int WINDING = 2;
inline constexpr int R2_BLACK = 1;
inline constexpr int R2_NOT = 6;
inline constexpr int R2_XORPEN = 7;
inline constexpr int R2_NOP = 11;
inline constexpr int R2_COPYPEN = 13;
inline constexpr int R2_WHITE = 16;

// ---- Raster operations ---------------------------------------------------------------------
inline constexpr DWORD SRCCOPY = 0x00CC0020;
inline constexpr DWORD SRCPAINT = 0x00EE0086;
inline constexpr DWORD SRCAND = 0x008800C6;
inline constexpr DWORD SRCINVERT = 0x00660046;
inline constexpr DWORD SRCERASE = 0x00440328;
inline constexpr DWORD NOTSRCCOPY = 0x00330008;
inline constexpr DWORD NOTSRCERASE = 0x001100A6;
inline constexpr DWORD MERGECOPY = 0x00C000CA;
inline constexpr DWORD MERGEPAINT = 0x00BB0226;
inline constexpr DWORD PATCOPY = 0x00F00021;
inline constexpr DWORD PATPAINT = 0x00FB0A09;
inline constexpr DWORD PATINVERT = 0x005A0049;
inline constexpr DWORD DSTINVERT = 0x00550009;
inline constexpr DWORD BLACKNESS = 0x00000042;
inline constexpr DWORD WHITENESS = 0x00FF0062;

// ---- System colours ------------------------------------------------------------------------
inline constexpr int COLOR_SCROLLBAR = 0;
inline constexpr int COLOR_BACKGROUND = 1;
inline constexpr int COLOR_DESKTOP = 1;
inline constexpr int COLOR_ACTIVECAPTION = 2;
inline constexpr int COLOR_INACTIVECAPTION = 3;
inline constexpr int COLOR_MENU = 4;
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWFRAME = 6;
inline constexpr int COLOR_MENUTEXT = 7;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_CAPTIONTEXT = 9;
inline constexpr int COLOR_ACTIVEBORDER = 10;
inline constexpr int COLOR_INACTIVEBORDER = 11;
inline constexpr int COLOR_APPWORKSPACE = 12;
inline constexpr int COLOR_HIGHLIGHT = 13;
inline constexpr int COLOR_HIGHLIGHTTEXT = 14;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_3DFACE = 15;
inline constexpr int COLOR_BTNSHADOW = 16;
inline constexpr int COLOR_3DSHADOW = 16;
inline constexpr int COLOR_GRAYTEXT = 17;
inline constexpr int COLOR_BTNTEXT = 18;
inline constexpr int COLOR_INACTIVECAPTIONTEXT = 19;
inline constexpr int COLOR_BTNHIGHLIGHT = 20;
inline constexpr int COLOR_BTNHILIGHT = 20;
inline constexpr int COLOR_3DHIGHLIGHT = 20;
inline constexpr int COLOR_3DHILIGHT = 20;
inline constexpr int COLOR_3DDKSHADOW = 21;
inline constexpr int COLOR_3DLIGHT = 22;
inline constexpr int COLOR_INFOTEXT = 23;
inline constexpr int COLOR_INFOBK = 24;
inline constexpr int COLOR_ALTERNATEBTNFACE = 25;
inline constexpr int COLOR_HOTLIGHT = 26;
inline constexpr int COLOR_GRADIENTACTIVECAPTION = 27;
inline constexpr int COLOR_GRADIENTINACTIVECAPTION = 28;
inline constexpr int COLOR_MENUHILIGHT = 29;
inline constexpr int COLOR_MENUBAR = 30;

// ---- DrawEdge ------------------------------------------------------------------------------
inline constexpr UINT BDR_RAISEDOUTER = 0x0001;
inline constexpr UINT BDR_SUNKENOUTER = 0x0002;
inline constexpr UINT BDR_RAISEDINNER = 0x0004;
inline constexpr UINT BDR_SUNKENINNER = 0x0008;
inline constexpr UINT BDR_OUTER = 0x0003;
inline constexpr UINT BDR_INNER = 0x000C;
inline constexpr UINT BDR_RAISED = 0x0005;
inline constexpr UINT BDR_SUNKEN = 0x000A;
inline constexpr UINT EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
inline constexpr UINT EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
inline constexpr UINT EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
inline constexpr UINT EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
inline constexpr UINT BF_LEFT = 0x0001;
inline constexpr UINT BF_TOP = 0x0002;
inline constexpr UINT BF_RIGHT = 0x0004;
inline constexpr UINT BF_BOTTOM = 0x0008;
inline constexpr UINT BF_TOPLEFT = BF_TOP | BF_LEFT;
inline constexpr UINT BF_TOPRIGHT = BF_TOP | BF_RIGHT;
inline constexpr UINT BF_BOTTOMLEFT = BF_BOTTOM | BF_LEFT;
inline constexpr UINT BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
inline constexpr UINT BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
inline constexpr UINT BF_DIAGONAL = 0x0010;
inline constexpr UINT BF_DIAGONAL_ENDTOPRIGHT = BF_DIAGONAL | BF_TOP | BF_RIGHT;
inline constexpr UINT BF_DIAGONAL_ENDTOPLEFT = BF_DIAGONAL | BF_TOP | BF_LEFT;
inline constexpr UINT BF_DIAGONAL_ENDBOTTOMLEFT = BF_DIAGONAL | BF_BOTTOM | BF_LEFT;
inline constexpr UINT BF_DIAGONAL_ENDBOTTOMRIGHT = BF_DIAGONAL | BF_BOTTOM | BF_RIGHT;
inline constexpr UINT BF_MIDDLE = 0x0800;
inline constexpr UINT BF_SOFT = 0x1000;
inline constexpr UINT BF_ADJUST = 0x2000;
inline constexpr UINT BF_FLAT = 0x4000;
inline constexpr UINT BF_MONO = 0x8000;

// ---- DrawFrameControl ----------------------------------------------------------------------
inline constexpr UINT DFC_CAPTION = 1;
inline constexpr UINT DFC_MENU = 2;
inline constexpr UINT DFC_SCROLL = 3;
inline constexpr UINT DFC_BUTTON = 4;
inline constexpr UINT DFC_POPUPMENU = 5;
inline constexpr UINT DFCS_CAPTIONCLOSE = 0x0000;
inline constexpr UINT DFCS_CAPTIONMIN = 0x0001;
inline constexpr UINT DFCS_CAPTIONMAX = 0x0002;
inline constexpr UINT DFCS_CAPTIONRESTORE = 0x0003;
inline constexpr UINT DFCS_CAPTIONHELP = 0x0004;
inline constexpr UINT DFCS_SCROLLUP = 0x0000;
inline constexpr UINT DFCS_SCROLLDOWN = 0x0001;
inline constexpr UINT DFCS_SCROLLLEFT = 0x0002;
inline constexpr UINT DFCS_SCROLLRIGHT = 0x0003;
inline constexpr UINT DFCS_BUTTONCHECK = 0x0000;
inline constexpr UINT DFCS_BUTTONPUSH = 0x0010;
inline constexpr UINT DFCS_INACTIVE = 0x0100;
inline constexpr UINT DFCS_PUSHED = 0x0200;
inline constexpr UINT DFCS_CHECKED = 0x0400;
inline constexpr UINT DFCS_TRANSPARENT = 0x0800;
inline constexpr UINT DFCS_HOT = 0x1000;
inline constexpr UINT DFCS_ADJUSTRECT = 0x2000;
inline constexpr UINT DFCS_FLAT = 0x4000;
inline constexpr UINT DFCS_MONO = 0x8000;

// ---- DrawState / DrawIconEx ----------------------------------------------------------------
inline constexpr UINT DST_COMPLEX = 0x0000;
inline constexpr UINT DST_TEXT = 0x0001;
inline constexpr UINT DST_PREFIXTEXT = 0x0002;
inline constexpr UINT DST_ICON = 0x0003;
inline constexpr UINT DST_BITMAP = 0x0004;
inline constexpr UINT DSS_NORMAL = 0x0000;
inline constexpr UINT DSS_UNION = 0x0010;
inline constexpr UINT DSS_DISABLED = 0x0020;
inline constexpr UINT DSS_MONO = 0x0080;
inline constexpr UINT DSS_HIDEPREFIX = 0x0200;
inline constexpr UINT DSS_PREFIXONLY = 0x0400;
inline constexpr UINT DSS_RIGHT = 0x8000;
inline constexpr UINT DI_MASK = 0x0001;
inline constexpr UINT DI_IMAGE = 0x0002;
inline constexpr UINT DI_NORMAL = 0x0003;
inline constexpr UINT DI_COMPAT = 0x0004;
inline constexpr UINT DI_DEFAULTSIZE = 0x0008;

using DRAWSTATEPROC = BOOL (*)(HDC hdc, LPARAM data, WPARAM wdata, int cx, int cy);

// ---- GradientFill / AlphaBlend -------------------------------------------------------------
inline constexpr ULONG GRADIENT_FILL_RECT_H = 0;
inline constexpr ULONG GRADIENT_FILL_RECT_V = 1;
inline constexpr ULONG GRADIENT_FILL_TRIANGLE = 2;
inline constexpr BYTE AC_SRC_OVER = 0x00;
inline constexpr BYTE AC_SRC_ALPHA = 0x01;

struct ZO_API TRIVERTEX {
    LONG x = 0;
    LONG y = 0;
    COLOR16 Red = 0;  // 8-bit channel in the high byte
    COLOR16 Green = 0;
    COLOR16 Blue = 0;
    COLOR16 Alpha = 0;
};
struct ZO_API GRADIENT_RECT {
    ULONG UpperLeft = 0;
    ULONG LowerRight = 0;
};
struct ZO_API BLENDFUNCTION {
    BYTE BlendOp = AC_SRC_OVER;
    BYTE BlendFlags = 0;
    BYTE SourceConstantAlpha = 255;
    BYTE AlphaFormat = 0;
};

// ---- Object descriptions (GetObjectA) ------------------------------------------------------
struct ZO_API BITMAP {
    LONG bmType = 0;
    LONG bmWidth = 0;
    LONG bmHeight = 0;
    LONG bmWidthBytes = 0;
    WORD bmPlanes = 0;
    WORD bmBitsPixel = 0;
    void* bmBits = nullptr;
};
struct ZO_API LOGPEN {
    UINT lopnStyle = 0;
    POINT lopnWidth;
    COLORREF lopnColor = 0;
};
struct ZO_API LOGBRUSH {
    UINT lbStyle = 0;
    COLORREF lbColor = 0;
    std::uintptr_t lbHatch = 0;
};
struct ZO_API ICONINFO {
    BOOL fIcon = TRUE;
    DWORD xHotspot = 0;
    DWORD yHotspot = 0;
    HBITMAP hbmMask = 0;
    HBITMAP hbmColor = 0;
};

// ---- Objects -------------------------------------------------------------------------------
ZO_API HPEN CreatePen(int style, int width, COLORREF color);
ZO_API HBRUSH CreateSolidBrush(COLORREF color);
// An 8x8 pattern brush from the top-left 8x8 pixels of a 1-bit bitmap (bit set = background).
ZO_API HBRUSH CreatePatternBrush(HBITMAP bitmap);
ZO_API HBRUSH GetSysColorBrush(int index);
ZO_API HGDIOBJ GetStockObject(int index);
ZO_API HFONT CreateFontIndirectA(const LOGFONTA* lf);
// bpp 1 (rows padded to 16 bits, MSB first, set bit = white) or 32 (BGRA); bits may be null.
ZO_API HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel,
                            const void* bits);
ZO_API HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);
ZO_API BOOL DeleteObject(HGDIOBJ object);
ZO_API int GetObjectA(HGDIOBJ object, int size, void* out);
ZO_API UINT GetObjectType(HGDIOBJ object);
// Copies the bitmaps; a mask is required unless the colour bitmap is 32-bit with alpha.
ZO_API HICON CreateIconIndirect(const ICONINFO* info);
ZO_API BOOL DestroyIcon(HICON icon);
// Returns new copies of the icon's bitmaps, which the caller deletes (hbmMask may be 0 for
// icons drawn by their alpha channel).
ZO_API BOOL GetIconInfo(HICON icon, ICONINFO* info);
ZO_API BOOL GetIconSize(HICON icon, SIZE* size);
// For platform code that already holds decoded pixels (image loading): adopts the object.
ZO_API HBITMAP CreateBitmapFromPixels(Bitmap bitmap);
ZO_API HICON CreateIconFromImages(Icon icon);

// The system's standard icons, 32x32 with an alpha channel; shared: callers do not destroy them.
inline constexpr std::uintptr_t IDI_APPLICATION = 32512;
inline constexpr std::uintptr_t IDI_HAND = 32513;
inline constexpr std::uintptr_t IDI_QUESTION = 32514;
inline constexpr std::uintptr_t IDI_EXCLAMATION = 32515;
inline constexpr std::uintptr_t IDI_ASTERISK = 32516;
inline constexpr std::uintptr_t IDI_ERROR = IDI_HAND;
inline constexpr std::uintptr_t IDI_WARNING = IDI_EXCLAMATION;
inline constexpr std::uintptr_t IDI_INFORMATION = IDI_ASTERISK;
// 0 for a module handle (no icon resources here) or an unknown identifier.
ZO_API HICON LoadIconA(HINSTANCE instance, std::uintptr_t id);

// ---- Device contexts -----------------------------------------------------------------------
ZO_API HDC CreateCompatibleDC(HDC hdc);
ZO_API BOOL DeleteDC(HDC hdc);
ZO_API int SaveDC(HDC hdc);
ZO_API BOOL RestoreDC(HDC hdc, int saved);
ZO_API HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
ZO_API HGDIOBJ GetCurrentObject(HDC hdc, UINT type);
ZO_API BOOL SetViewportOrgEx(HDC hdc, int x, int y, POINT* previous);
ZO_API BOOL GetViewportOrgEx(HDC hdc, POINT* origin);
ZO_API BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, POINT* previous);
ZO_API int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);
ZO_API int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom);
// Only a null region is supported: it removes the application clip.
ZO_API int SelectClipRgn(HDC hdc, HANDLE region);
ZO_API int GetClipBox(HDC hdc, RECT* box);
ZO_API int GetDeviceCaps(HDC hdc, int index);
ZO_API COLORREF SetTextColor(HDC hdc, COLORREF color);
ZO_API COLORREF GetTextColor(HDC hdc);
ZO_API COLORREF SetBkColor(HDC hdc, COLORREF color);
ZO_API COLORREF GetBkColor(HDC hdc);
ZO_API int SetBkMode(HDC hdc, int mode);
ZO_API int GetBkMode(HDC hdc);
ZO_API UINT SetTextAlign(HDC hdc, UINT align);
ZO_API UINT GetTextAlign(HDC hdc);
ZO_API int SetStretchBltMode(HDC hdc, int mode);
ZO_API int GetStretchBltMode(HDC hdc);
ZO_API int SetPolyFillMode(HDC hdc, int mode);
ZO_API int GetPolyFillMode(HDC hdc);
ZO_API int SetROP2(HDC hdc, int rop2);
ZO_API int GetROP2(HDC hdc);
ZO_API BOOL SetBrushOrgEx(HDC hdc, int x, int y, POINT* previous);
ZO_API BOOL GetBrushOrgEx(HDC hdc, POINT* origin);
ZO_API BOOL MoveToEx(HDC hdc, int x, int y, POINT* previous);
ZO_API BOOL GetCurrentPositionEx(HDC hdc, POINT* position);
ZO_API BOOL LineTo(HDC hdc, int x, int y);

// ---- Fills and frames ----------------------------------------------------------------------
// brush: a brush handle, or a system colour index + 1 (1..31).
ZO_API int FillRect(HDC hdc, const RECT* rect, HBRUSH brush);
ZO_API int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush);
ZO_API BOOL InvertRect(HDC hdc, const RECT* rect);
ZO_API BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop);
ZO_API BOOL DrawEdge(HDC hdc, RECT* rect, UINT edge, UINT flags);
ZO_API BOOL DrawFocusRect(HDC hdc, const RECT* rect);
ZO_API BOOL DrawFrameControl(HDC hdc, RECT* rect, UINT type, UINT state);
ZO_API BOOL Polygon(HDC hdc, const POINT* points, int count);
ZO_API BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
ZO_API COLORREF GetPixel(HDC hdc, int x, int y);
ZO_API COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color);

// ---- Blits ---------------------------------------------------------------------------------
ZO_API BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int sx, int sy,
                   DWORD rop);
ZO_API BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int sx, int sy,
                       int sw, int sh, DWORD rop);
ZO_API BOOL TransparentBlt(HDC dst, int x, int y, int width, int height, HDC src, int sx, int sy,
                           int sw, int sh, UINT transparent);
ZO_API BOOL GradientFill(HDC hdc, const TRIVERTEX* vertices, ULONG vertexCount, const void* mesh,
                         ULONG meshCount, ULONG mode);
ZO_API BOOL AlphaBlend(HDC dst, int x, int y, int width, int height, HDC src, int sx, int sy,
                       int sw, int sh, BLENDFUNCTION blend);
ZO_API BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int width, int height, UINT step,
                       HBRUSH flickerFree, UINT flags);
ZO_API BOOL DrawIcon(HDC hdc, int x, int y, HICON icon);
ZO_API BOOL DrawStateA(HDC hdc, HBRUSH brush, DRAWSTATEPROC proc, LPARAM data, WPARAM wdata, int x,
                       int y, int cx, int cy, UINT flags);

// ---- System colours ------------------------------------------------------------------------
ZO_API DWORD GetSysColor(int index);

// ---- Rectangles and arithmetic -------------------------------------------------------------
ZO_API BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b);
ZO_API BOOL UnionRect(RECT* dst, const RECT* a, const RECT* b);
ZO_API BOOL OffsetRect(RECT* rect, int dx, int dy);
ZO_API BOOL InflateRect(RECT* rect, int dx, int dy);
ZO_API BOOL CopyRect(RECT* dst, const RECT* src);
ZO_API BOOL SetRect(RECT* rect, int left, int top, int right, int bottom);
ZO_API BOOL SetRectEmpty(RECT* rect);
ZO_API BOOL IsRectEmpty(const RECT* rect);
ZO_API BOOL PtInRect(const RECT* rect, POINT pt);
ZO_API BOOL EqualRect(const RECT* a, const RECT* b);
ZO_API int MulDiv(int a, int b, int c);

// ---- Library probe -------------------------------------------------------------------------
// "msimg32.dll" (any case) answers a module handle unless switched off for this thread.
ZO_API HMODULE LoadLibraryA(const char* name);
ZO_API BOOL FreeLibrary(HMODULE module);
ZO_API void SetMsImg32Available(bool available);

}  // namespace zo::plat
