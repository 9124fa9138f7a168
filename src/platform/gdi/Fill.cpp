// Rectangle fills, frames, pattern blits, single pixels and pen lines.
#include "platform/Gdi.h"
#include "platform/gdi/Raster.h"

namespace zo::plat {

using gdi::Clip;
using gdi::EmptyRect;
using gdi::ToTarget;

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    DeviceContext* dc = GetDcPtr(hdc);
    Brush b;
    if (dc == nullptr || rect == nullptr || !gdi::ResolveBrush(brush, true, b)) return 0;
    Bitmap* target = TargetOf(*dc);
    if (target == nullptr) return 0;
    const RECT r = ToTarget(*dc, rect->left, rect->top, rect->right, rect->bottom);
    if (EmptyRect(r)) return 1;
    gdi::PatternFill(*dc, *target, r, gdi::MakeBrushPaint(*dc, *target, b), 0xF0);
    return 1;
}

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    DeviceContext* dc = GetDcPtr(hdc);
    Brush b;
    if (dc == nullptr || rect == nullptr || !gdi::ResolveBrush(brush, true, b)) return 0;
    Bitmap* target = TargetOf(*dc);
    if (target == nullptr) return 0;
    const RECT r = ToTarget(*dc, rect->left, rect->top, rect->right, rect->bottom);
    if (EmptyRect(r)) return 1;
    const gdi::Paint paint = gdi::MakeBrushPaint(*dc, *target, b);
    const Region& clip = EffectiveClip(*dc);
    // Top and bottom rows across, then the side columns between them, so no pixel is
    // painted twice.
    const RECT sides[4] = {RECT{r.left, r.top, r.right, r.top + 1},
                           RECT{r.left, r.bottom - 1, r.right, r.bottom},
                           RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1},
                           RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1}};
    for (int i = 0; i < 4; ++i) {
        if (i == 1 && r.bottom - 1 == r.top) continue;
        if (i == 3 && r.right - 1 == r.left) continue;
        for (const RECT& c : clip.Rects())
            gdi::PatternRect(*target, Clip(c, sides[i]), paint, 0xF0);
    }
    return 1;
}

BOOL InvertRect(HDC hdc, const RECT* rect) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr || rect == nullptr) return FALSE;
    Bitmap* target = TargetOf(*dc);
    if (target == nullptr) return FALSE;
    const RECT r = ToTarget(*dc, rect->left, rect->top, rect->right, rect->bottom);
    if (EmptyRect(r)) return TRUE;
    gdi::PatternFill(*dc, *target, r, gdi::Paint{}, 0x55);
    return TRUE;
}

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr) return FALSE;
    const std::uint8_t code = gdi::RopCode(rop);
    if (gdi::RopUsesSource(code)) return FALSE;
    Bitmap* target = TargetOf(*dc);
    if (target == nullptr) return FALSE;
    const RECT r =
        gdi::Ordered(ToTarget(*dc, x, y, std::int64_t{x} + width, std::int64_t{y} + height));
    if (EmptyRect(r)) return TRUE;
    gdi::Paint paint;
    if (gdi::RopUsesPattern(code)) {
        const GdiObject* b = GetGdi(dc->state.brush, GdiKind::Brush);
        if (b == nullptr) return FALSE;
        paint = gdi::MakeBrushPaint(*dc, *target, b->brush);
        if (paint.null) return TRUE;  // a hollow brush leaves the pattern operations blank
    }
    gdi::PatternFill(*dc, *target, r, paint, code);
    return TRUE;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr) return CLR_INVALID;
    Bitmap* target = TargetOf(*dc);
    if (target == nullptr) return CLR_INVALID;
    const RECT r = ToTarget(*dc, x, y, std::int64_t{x} + 1, std::int64_t{y} + 1);
    if (!EffectiveClip(*dc).Contains(r.left, r.top)) return CLR_INVALID;
    const std::uint32_t v = gdi::Load(*target, r.left, r.top);
    if (target->bpp == 1) return v ? RGB(255, 255, 255) : RGB(0, 0, 0);
    return ColorRefFromPixel(v);
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr) return CLR_INVALID;
    Bitmap* target = TargetOf(*dc);
    if (target == nullptr) return CLR_INVALID;
    const RECT r = ToTarget(*dc, x, y, std::int64_t{x} + 1, std::int64_t{y} + 1);
    if (!EffectiveClip(*dc).Contains(r.left, r.top)) return CLR_INVALID;
    const std::uint32_t v = gdi::ColorValue(*target, color);
    gdi::Store(*target, r.left, r.top, v, false);
    if (target->bpp == 1) return v ? RGB(255, 255, 255) : RGB(0, 0, 0);
    return color & 0xFFFFFF;
}

BOOL LineTo(HDC hdc, int x, int y) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr) return FALSE;
    const GdiObject* pen = GetGdi(dc->state.pen, GdiKind::Pen);
    Bitmap* target = TargetOf(*dc);
    if (pen == nullptr || target == nullptr) return FALSE;
    const POINT from = dc->state.currentPos;
    dc->state.currentPos = POINT{x, y};
    const RECT ends = ToTarget(*dc, from.x, from.y, x, y);
    const Region& clip = EffectiveClip(*dc);
    if (clip.Empty()) return TRUE;
    gdi::PenLine(*dc, *target, clip, POINT{ends.left, ends.top}, POINT{ends.right, ends.bottom},
                 pen->pen);
    return TRUE;
}

}  // namespace zo::plat
