// Device contexts: creation, selection of objects, saved states, origins, clipping and the
// simple attributes; also the screen framebuffer that window DCs draw into.
#include <memory>

#include "platform/Gdi.h"
#include "platform/gdi/Objects.h"
#include "platform/gdi/Raster.h"

namespace zo::plat {

namespace {

constexpr int kDefaultScreenWidth = 1024;
constexpr int kDefaultScreenHeight = 768;

struct ScreenState {
    HBITMAP bitmap = 0;
    int width = kDefaultScreenWidth;
    int height = kDefaultScreenHeight;
};

ScreenState& Screen() {
    thread_local ScreenState s;
    return s;
}

int RegionType(const Region& r) {
    if (r.Empty()) return NULLREGION;
    const RECT b = r.Bounds();
    std::int64_t area = 0;
    for (const RECT& x : r.Rects())
        area += std::int64_t{x.right - x.left} * std::int64_t{x.bottom - x.top};
    // The rectangles are disjoint, so they tile the bounds exactly when the areas agree.
    return area == std::int64_t{b.right - b.left} * std::int64_t{b.bottom - b.top} ? SIMPLEREGION
                                                                                   : COMPLEXREGION;
}

// A bitmap handle may go to this memory DC: live, not the screen, not selected elsewhere
// (the stock default bitmap is shared by every new DC).
GdiObject* SelectableBitmap(HBITMAP h) {
    GdiObject* o = GetGdi(h, GdiKind::Bitmap);
    if (o == nullptr || o->bitmap.isScreen) return nullptr;
    if (!o->stock && o->bitmap.selectedIn > 0) return nullptr;
    return o;
}

void SwapBitmap(DeviceContext& dc, HBITMAP next) {
    if (GdiObject* old = GetGdi(dc.state.bitmap, GdiKind::Bitmap); old != nullptr && !old->stock)
        --old->bitmap.selectedIn;
    if (GdiObject* now = GetGdi(next, GdiKind::Bitmap); now != nullptr && !now->stock)
        ++now->bitmap.selectedIn;
    dc.state.bitmap = next;
}

}  // namespace

HandleTable<DeviceContext, HandleKind::DC>& DeviceContexts() {
    thread_local HandleTable<DeviceContext, HandleKind::DC> table;
    return table;
}

DeviceContext* GetDcPtr(HDC hdc) {
    return DeviceContexts().Get(hdc);
}

HBITMAP ScreenBitmap() {
    ScreenState& s = Screen();
    if (GetGdi(s.bitmap, GdiKind::Bitmap) == nullptr) {
        GdiObject o;
        o.kind = GdiKind::Bitmap;
        o.stock = true;
        o.bitmap.width = s.width;
        o.bitmap.height = s.height;
        o.bitmap.isScreen = true;
        o.bitmap.pixels.assign(
            static_cast<std::size_t>(s.width) * static_cast<std::size_t>(s.height), 0xFFFFFFFFu);
        s.bitmap = GdiObjects().Add(std::make_unique<GdiObject>(std::move(o)));
    }
    return s.bitmap;
}

void SetScreenSize(int width, int height) {
    if (width <= 0 || height <= 0 || width > (1 << 15) || height > (1 << 15)) return;
    ScreenState& s = Screen();
    GdiObject* o = GetGdi(s.bitmap, GdiKind::Bitmap);
    s.width = width;
    s.height = height;
    if (o == nullptr) return;  // made at the new size on first use
    // Keep what overlaps the new size; the rest starts white.
    Bitmap& b = o->bitmap;
    std::vector<Pixel> next(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                            0xFFFFFFFFu);
    const int cw = std::min(width, b.width), ch = std::min(height, b.height);
    for (int y = 0; y < ch; ++y)
        std::copy_n(b.pixels.begin() + static_cast<std::ptrdiff_t>(y) * b.width, cw,
                    next.begin() + static_cast<std::ptrdiff_t>(y) * width);
    b.pixels.swap(next);
    b.width = width;
    b.height = height;
}

Bitmap* TargetOf(DeviceContext& dc) {
    GdiObject* o = GetGdi(dc.isWindowDc ? ScreenBitmap() : dc.state.bitmap, GdiKind::Bitmap);
    return o == nullptr ? nullptr : &o->bitmap;
}

POINT DeviceOffset(const DeviceContext& dc) {
    return POINT{gdi::ClampCoord(std::int64_t{dc.baseOrigin.x} + dc.state.viewportOrg.x),
                 gdi::ClampCoord(std::int64_t{dc.baseOrigin.y} + dc.state.viewportOrg.y)};
}

const Region& EffectiveClip(DeviceContext& dc) {
    // Asked for by every drawing call; the answer changes only with the clip or the target.
    const Bitmap* target = TargetOf(dc);
    const LONG w = target != nullptr ? target->width : -1;
    const LONG h = target != nullptr ? target->height : -1;
    DeviceContext::ClipCache& c = dc.clipCache;
    if (c.known && c.width == w && c.height == h && c.serial == dc.state.clipSerial)
        return c.region;
    Region r;
    if (target != nullptr) {
        r = Region(RECT{0, 0, w, h});
        if (dc.isWindowDc) r.Intersect(dc.visible);
        if (dc.state.hasClip) r.Intersect(dc.state.clip);
    }
    c = DeviceContext::ClipCache{std::move(r), w, h, dc.state.clipSerial, true};
    return c.region;
}

namespace {

std::uint64_t NextClipSerial() {
    thread_local std::uint64_t last = 0;
    return ++last;
}

}  // namespace

namespace gdi {

DcState DefaultDcState(bool memoryDc) {
    DcState s;
    s.pen = GetStockObject(BLACK_PEN);
    s.brush = GetStockObject(WHITE_BRUSH);
    s.font = GetStockObject(SYSTEM_FONT);
    s.bitmap = memoryDc ? DefaultBitmap() : 0;
    return s;
}

bool IsSelectedAnywhere(HGDIOBJ object) {
    bool found = false;
    DeviceContexts().ForEach([&](HDC, const DeviceContext& dc) {
        const DcState& s = dc.state;
        found =
            found || s.pen == object || s.brush == object || s.font == object || s.bitmap == object;
    });
    return found;
}

}  // namespace gdi

HDC CreateWindowDc(HWND window, POINT clientOriginOnScreen, const Region& visible) {
    auto dc = std::make_unique<DeviceContext>();
    dc->state = gdi::DefaultDcState(false);
    dc->isWindowDc = true;
    dc->window = window;
    dc->baseOrigin = clientOriginOnScreen;
    dc->visible = visible;
    return DeviceContexts().Add(std::move(dc));
}

HDC CreateCompatibleDC(HDC hdc) {
    if (hdc != 0 && GetDcPtr(hdc) == nullptr) return 0;
    auto dc = std::make_unique<DeviceContext>();
    dc->state = gdi::DefaultDcState(true);
    return DeviceContexts().Add(std::move(dc));
}

BOOL DeleteDC(HDC hdc) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr) return FALSE;
    if (!dc->isWindowDc) SwapBitmap(*dc, 0);
    return DeviceContexts().Remove(hdc) ? TRUE : FALSE;
}

int SaveDC(HDC hdc) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr) return 0;
    dc->saved.push_back(dc->state);
    return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int saved) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr || saved == 0) return FALSE;
    const std::int64_t count = static_cast<std::int64_t>(dc->saved.size());
    const std::int64_t level = saved < 0 ? count + 1 + saved : saved;
    if (level < 1 || level > count) return FALSE;
    DcState next = dc->saved[static_cast<std::size_t>(level - 1)];
    dc->saved.resize(static_cast<std::size_t>(level - 1));
    // Objects deleted since the save fall back to the defaults instead of dangling.
    const DcState defaults = gdi::DefaultDcState(!dc->isWindowDc);
    if (GetGdi(next.pen, GdiKind::Pen) == nullptr) next.pen = defaults.pen;
    if (GetGdi(next.brush, GdiKind::Brush) == nullptr) next.brush = defaults.brush;
    if (GetGdi(next.font, GdiKind::Font) == nullptr) next.font = defaults.font;
    const HBITMAP current = dc->state.bitmap;
    HBITMAP wanted = next.bitmap;
    next.bitmap = current;
    dc->state = next;
    if (!dc->isWindowDc && wanted != current && SelectableBitmap(wanted) != nullptr)
        SwapBitmap(*dc, wanted);
    return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
    DeviceContext* dc = GetDcPtr(hdc);
    GdiObject* o = GdiObjects().Get(object);
    if (dc == nullptr || o == nullptr) return 0;
    HGDIOBJ previous = 0;
    switch (o->kind) {
        case GdiKind::Pen:
            previous = dc->state.pen;
            dc->state.pen = object;
            break;
        case GdiKind::Brush:
            previous = dc->state.brush;
            dc->state.brush = object;
            break;
        case GdiKind::Font:
            previous = dc->state.font;
            dc->state.font = object;
            break;
        case GdiKind::Bitmap:
            if (dc->isWindowDc) return 0;
            previous = dc->state.bitmap;
            if (object == previous) break;
            if (SelectableBitmap(object) == nullptr) return 0;
            SwapBitmap(*dc, object);
            break;
        case GdiKind::Icon:
            return 0;
    }
    return previous;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
    const DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr) return 0;
    switch (type) {
        case OBJ_PEN:
            return dc->state.pen;
        case OBJ_BRUSH:
            return dc->state.brush;
        case OBJ_FONT:
            return dc->state.font;
        case OBJ_BITMAP:
            return dc->isWindowDc ? ScreenBitmap() : dc->state.bitmap;
        default:
            return 0;
    }
}

BOOL SetViewportOrgEx(HDC hdc, int x, int y, POINT* previous) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr) return FALSE;
    if (previous != nullptr) *previous = dc->state.viewportOrg;
    dc->state.viewportOrg = POINT{gdi::ClampCoord(x), gdi::ClampCoord(y)};
    return TRUE;
}

BOOL GetViewportOrgEx(HDC hdc, POINT* origin) {
    const DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr || origin == nullptr) return FALSE;
    *origin = dc->state.viewportOrg;
    return TRUE;
}

BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, POINT* previous) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr) return FALSE;
    const POINT old = dc->state.viewportOrg;
    if (previous != nullptr) *previous = old;
    dc->state.viewportOrg =
        POINT{gdi::ClampCoord(std::int64_t{old.x} + dx), gdi::ClampCoord(std::int64_t{old.y} + dy)};
    return TRUE;
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr) return ERROR;
    const RECT r = gdi::Ordered(gdi::ToTarget(*dc, left, top, right, bottom));
    if (dc->state.hasClip) {
        dc->state.clip.Intersect(r);
    } else {
        dc->state.clip = Region(r);
        dc->state.hasClip = true;
    }
    dc->state.clipSerial = NextClipSerial();
    return RegionType(EffectiveClip(*dc));
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr) return ERROR;
    const RECT r = gdi::Ordered(gdi::ToTarget(*dc, left, top, right, bottom));
    if (!dc->state.hasClip) {
        const LONG k = static_cast<LONG>(gdi::kCoordLimit);
        dc->state.clip = Region(RECT{-k, -k, k, k});
        dc->state.hasClip = true;
    }
    dc->state.clip.Subtract(r);
    dc->state.clipSerial = NextClipSerial();
    return RegionType(EffectiveClip(*dc));
}

int SelectClipRgn(HDC hdc, HANDLE region) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr || region != 0) return ERROR;
    dc->state.hasClip = false;
    dc->state.clip.Clear();
    dc->state.clipSerial = NextClipSerial();
    return RegionType(EffectiveClip(*dc));
}

int GetClipBox(HDC hdc, RECT* box) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr || box == nullptr) return ERROR;
    const Region& clip = EffectiveClip(*dc);
    RECT b = clip.Bounds();
    if (!clip.Empty()) {
        const POINT o = DeviceOffset(*dc);
        b = RECT{b.left - o.x, b.top - o.y, b.right - o.x, b.bottom - o.y};
    }
    *box = b;
    return RegionType(clip);
}

int GetDeviceCaps(HDC hdc, int index) {
    if (GetDcPtr(hdc) == nullptr) return 0;
    switch (index) {
        case HORZRES:
            return Screen().width;
        case VERTRES:
            return Screen().height;
        case BITSPIXEL:
            return 32;
        case PLANES:
            return 1;
        case NUMCOLORS:
            return -1;
        case LOGPIXELSX:
        case LOGPIXELSY:
            return 96;
        default:
            return 0;
    }
}

namespace {

// Set-and-return-previous for a DC attribute, with the failure value for a bad handle.
template <class T, class Field>
T Exchange(HDC hdc, Field field, T value, T failure) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr) return failure;
    T previous = static_cast<T>(dc->state.*field);
    dc->state.*field = value;
    return previous;
}

template <class T, class Field>
T Read(HDC hdc, Field field, T failure) {
    const DeviceContext* dc = GetDcPtr(hdc);
    return dc == nullptr ? failure : static_cast<T>(dc->state.*field);
}

}  // namespace

COLORREF SetTextColor(HDC hdc, COLORREF color) {
    return Exchange(hdc, &DcState::textColor, color & 0xFFFFFF, CLR_INVALID);
}
COLORREF GetTextColor(HDC hdc) {
    return Read(hdc, &DcState::textColor, CLR_INVALID);
}
COLORREF SetBkColor(HDC hdc, COLORREF color) {
    return Exchange(hdc, &DcState::bkColor, color & 0xFFFFFF, CLR_INVALID);
}
COLORREF GetBkColor(HDC hdc) {
    return Read(hdc, &DcState::bkColor, CLR_INVALID);
}

int SetBkMode(HDC hdc, int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) return 0;
    return Exchange(hdc, &DcState::bkMode, mode, 0);
}
int GetBkMode(HDC hdc) {
    return Read(hdc, &DcState::bkMode, 0);
}

UINT SetTextAlign(HDC hdc, UINT align) {
    return Exchange(hdc, &DcState::textAlign, align, UINT{0xFFFFFFFF});
}
UINT GetTextAlign(HDC hdc) {
    return Read(hdc, &DcState::textAlign, UINT{0xFFFFFFFF});
}

int SetStretchBltMode(HDC hdc, int mode) {
    if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
    return Exchange(hdc, &DcState::stretchMode, mode, 0);
}
int GetStretchBltMode(HDC hdc) {
    return Read(hdc, &DcState::stretchMode, 0);
}

int SetPolyFillMode(HDC hdc, int mode) {
    if (mode != ALTERNATE && mode != WINDING) return 0;
    return Exchange(hdc, &DcState::polyFillMode, mode, 0);
}
int GetPolyFillMode(HDC hdc) {
    return Read(hdc, &DcState::polyFillMode, 0);
}

int SetROP2(HDC hdc, int rop2) {
    if (rop2 < R2_BLACK || rop2 > R2_WHITE) return 0;
    return Exchange(hdc, &DcState::rop2, rop2, 0);
}
int GetROP2(HDC hdc) {
    return Read(hdc, &DcState::rop2, 0);
}

BOOL SetBrushOrgEx(HDC hdc, int x, int y, POINT* previous) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr) return FALSE;
    if (previous != nullptr) *previous = dc->state.brushOrg;
    dc->state.brushOrg = POINT{x, y};
    return TRUE;
}

BOOL GetBrushOrgEx(HDC hdc, POINT* origin) {
    const DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr || origin == nullptr) return FALSE;
    *origin = dc->state.brushOrg;
    return TRUE;
}

BOOL MoveToEx(HDC hdc, int x, int y, POINT* previous) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr) return FALSE;
    if (previous != nullptr) *previous = dc->state.currentPos;
    dc->state.currentPos = POINT{x, y};
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC hdc, POINT* position) {
    const DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr || position == nullptr) return FALSE;
    *position = dc->state.currentPos;
    return TRUE;
}

}  // namespace zo::plat
