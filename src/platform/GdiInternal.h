// Internal object model of the drawing half of the platform: what a handle points at. Only
// platform code includes this header; the control sees handles and the functions of Gdi.h.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Handles.h"
#include "platform/Region.h"
#include "platform/Types.h"

namespace zo::plat {

// Pixels of a 32-bit bitmap are 0xAARRGGBB (little-endian BGRA in memory, as a DIB section).
using Pixel = std::uint32_t;
constexpr Pixel PixelFromColorRef(COLORREF c) {
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr COLORREF ColorRefFromPixel(Pixel p) {
    return ((p >> 16) & 0xFFu) | (p & 0xFF00u) | ((p & 0xFFu) << 16);
}

struct Bitmap {
    int width = 0;
    int height = 0;
    int bpp = 32;                    // 32 or 1
    bool hasAlpha = false;           // 32-bit image whose alpha channel is meaningful (PNG, icons)
    std::vector<Pixel> pixels;       // bpp 32: width*height, row-major, top row first
    std::vector<std::uint8_t> mono;  // bpp 1: one byte (0 or 1) per pixel, row-major
    int selectedIn = 0;              // number of DCs that have it selected (at most 1)
    bool isScreen = false;           // the screen's framebuffer: never deleted, never selected
};

struct Pen {
    int style = 0;  // PS_SOLID 0, PS_DASH 1, PS_DOT 2, PS_NULL 5
    int width = 0;
    COLORREF color = 0;
};

struct Brush {
    int style = 0;  // BS_SOLID 0, BS_NULL 1, BS_PATTERN 3
    COLORREF color = 0;
    // A monochrome 8x8 pattern (bit set = background colour), used by the half-tone brush.
    bool isPattern = false;
    std::array<std::uint8_t, 8> pattern{};
};

struct LOGFONTA {
    LONG lfHeight = 0;
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = 0;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = 0;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    char lfFaceName[32] = {};
};

// A FreeType face at one pixel size with its glyph caches; defined by the text engine.
struct RealizedFont;

struct Font {
    LOGFONTA lf;
    std::shared_ptr<RealizedFont> realized;  // made on first use
};

struct Icon {
    Bitmap color;  // 32-bit; with hasAlpha the alpha channel is the transparency
    Bitmap mask;   // 1-bit AND mask (1 = transparent); empty when the colour has alpha
    int hotspotX = 0;
    int hotspotY = 0;
};

enum class GdiKind : std::uint8_t { Pen, Brush, Font, Bitmap, Icon };

struct GdiObject {
    GdiKind kind = GdiKind::Pen;
    bool stock = false;  // stock objects and system-colour brushes ignore DeleteObject
    Pen pen;
    Brush brush;
    Font font;
    Bitmap bitmap;
    Icon icon;
};

// What SaveDC keeps and RestoreDC brings back.
struct DcState {
    HPEN pen = 0;
    HBRUSH brush = 0;
    HFONT font = 0;
    HBITMAP bitmap = 0;  // memory DCs only
    COLORREF textColor = 0x000000;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = 2;        // OPAQUE
    UINT textAlign = 0;    // TA_LEFT | TA_TOP | TA_NOUPDATECP
    int stretchMode = 1;   // BLACKONWHITE
    int rop2 = 13;         // R2_COPYPEN
    int polyFillMode = 1;  // ALTERNATE
    POINT viewportOrg;     // logical (0,0) in device pixels, relative to the DC's base origin
    POINT brushOrg;
    POINT currentPos;
    bool hasClip = false;  // an application clip set with IntersectClipRect / SelectClipRgn
    Region clip;           // in device pixels of the target, when hasClip
    // Given afresh with every change of the clip, so that equal numbers mean equal clips even
    // across SaveDC and RestoreDC.
    std::uint64_t clipSerial = 0;
};

struct DeviceContext {
    DcState state;
    std::vector<DcState> saved;
    // Memory DCs draw into the selected bitmap; window DCs into the screen framebuffer at
    // baseOrigin, limited to visible (the window's visible client area, children clipped out).
    bool isWindowDc = false;
    HWND window = 0;
    POINT baseOrigin;  // device offset of the DC's (0,0) in its target
    Region visible;    // window DCs: the visible part in target pixels, fixed at creation
    bool fromBeginPaint = false;
    // The last effective clip and what it was made from: the target's size and the clip.
    struct ClipCache {
        Region region;
        LONG width = -1, height = -1;
        std::uint64_t serial = 0;
        bool known = false;
    } clipCache;
};

// Per-thread tables of the drawing objects and device contexts.
HandleTable<GdiObject, HandleKind::Gdi>& GdiObjects();
HandleTable<DeviceContext, HandleKind::DC>& DeviceContexts();

GdiObject* GetGdi(HGDIOBJ h, GdiKind kind);  // nullptr when stale, deleted or of another kind
DeviceContext* GetDcPtr(HDC hdc);

// The bitmap a DC draws into (the selected bitmap of a memory DC, the screen framebuffer of a
// window DC); nullptr when none.
Bitmap* TargetOf(DeviceContext& dc);

// The effective clip of a DC in target pixels: the target's bounds, the window's visible part
// and the application clip intersected. Every primitive draws through this. Kept in the DC:
// the reference holds until the DC's clip or target changes.
const Region& EffectiveClip(DeviceContext& dc);

// Logical to target pixel offset: baseOrigin + viewportOrg.
POINT DeviceOffset(const DeviceContext& dc);

// The screen's framebuffer bitmap (created on first use with the display size).
HBITMAP ScreenBitmap();
void SetScreenSize(int width, int height);

// A DC for a window, made by the window manager's GetDC/BeginPaint.
HDC CreateWindowDc(HWND window, POINT clientOriginOnScreen, const Region& visible);

}  // namespace zo::plat
