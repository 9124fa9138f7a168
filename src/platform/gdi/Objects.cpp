// Drawing objects: the per-thread table, stock objects, pens, brushes, fonts, bitmaps and
// icons, and their deletion and description.
#include "platform/gdi/Objects.h"

#include <array>
#include <cstring>
#include <memory>

#include "platform/Gdi.h"

namespace zo::plat {

using gdi::DefaultBitmap;

namespace {

// Bitmaps larger than this are refused rather than risking an exhausted heap.
constexpr std::int64_t kMaxBitmapPixels = std::int64_t{1} << 26;
constexpr int kMaxBitmapSide = 1 << 15;

struct StockTable {
    std::array<HGDIOBJ, 18> objects{};
    std::array<HBRUSH, 31> sysBrushes{};
    HBITMAP defaultBitmap = 0;
};

StockTable& Stock() {
    thread_local StockTable table;
    return table;
}

HGDIOBJ AddObject(GdiObject object) {
    return GdiObjects().Add(std::make_unique<GdiObject>(std::move(object)));
}

HGDIOBJ AddStock(GdiObject object) {
    object.stock = true;
    return AddObject(std::move(object));
}

GdiObject PenObject(int style, int width, COLORREF color) {
    GdiObject o;
    o.kind = GdiKind::Pen;
    o.pen = Pen{style, width, color & 0xFFFFFF};
    return o;
}

GdiObject BrushObject(int style, COLORREF color) {
    GdiObject o;
    o.kind = GdiKind::Brush;
    o.brush.style = style;
    o.brush.color = color & 0xFFFFFF;
    return o;
}

GdiObject FontObject(const char* face, LONG height, LONG weight, BYTE pitch) {
    GdiObject o;
    o.kind = GdiKind::Font;
    o.font.lf.lfHeight = height;
    o.font.lf.lfWeight = weight;
    o.font.lf.lfPitchAndFamily = pitch;
    std::strncpy(o.font.lf.lfFaceName, face, sizeof(o.font.lf.lfFaceName) - 1);
    return o;
}

GdiObject MakeStock(int index) {
    switch (index) {
        case WHITE_BRUSH:
            return BrushObject(BS_SOLID, RGB(255, 255, 255));
        case LTGRAY_BRUSH:
            return BrushObject(BS_SOLID, RGB(192, 192, 192));
        case GRAY_BRUSH:
            return BrushObject(BS_SOLID, RGB(128, 128, 128));
        case DKGRAY_BRUSH:
            return BrushObject(BS_SOLID, RGB(64, 64, 64));
        case BLACK_BRUSH:
            return BrushObject(BS_SOLID, RGB(0, 0, 0));
        case NULL_BRUSH:
            return BrushObject(BS_NULL, 0);
        case WHITE_PEN:
            return PenObject(PS_SOLID, 0, RGB(255, 255, 255));
        case BLACK_PEN:
            return PenObject(PS_SOLID, 0, RGB(0, 0, 0));
        case NULL_PEN:
            return PenObject(PS_NULL, 0, 0);
        case OEM_FIXED_FONT:
            return FontObject("Terminal", 12, 400, 1);
        case ANSI_FIXED_FONT:
            return FontObject("Courier", 12, 400, 1);
        case ANSI_VAR_FONT:
            return FontObject("MS Sans Serif", 12, 400, 2);
        case SYSTEM_FONT:
            return FontObject("System", 16, 700, 2);
        case DEVICE_DEFAULT_FONT:
            return FontObject("System", 16, 700, 2);
        case SYSTEM_FIXED_FONT:
            return FontObject("Fixedsys", 15, 400, 1);
        case DEFAULT_GUI_FONT:
            return FontObject("MS Shell Dlg", -11, 400, 0);
        default:
            break;
    }
    return GdiObject{};
}

bool IsStockIndex(int index) {
    return (index >= WHITE_BRUSH && index <= NULL_PEN) ||
           (index >= OEM_FIXED_FONT && index <= DEVICE_DEFAULT_FONT) ||
           index == SYSTEM_FIXED_FONT || index == DEFAULT_GUI_FONT;
}

bool ValidSize(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxBitmapSide && height <= kMaxBitmapSide &&
           std::int64_t{width} * height <= kMaxBitmapPixels;
}

Bitmap BlankBitmap(int width, int height, int bpp) {
    Bitmap b;
    b.width = width;
    b.height = height;
    b.bpp = bpp;
    const std::size_t n = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (bpp == 1)
        b.mono.assign(n, 0);
    else
        b.pixels.assign(n, 0xFF000000u);  // opaque black
    return b;
}

HBITMAP AddBitmap(Bitmap bitmap) {
    GdiObject o;
    o.kind = GdiKind::Bitmap;
    o.bitmap = std::move(bitmap);
    o.bitmap.selectedIn = 0;
    o.bitmap.isScreen = false;
    return AddObject(std::move(o));
}

Bitmap MaskFromAlpha(const Bitmap& color) {
    Bitmap m = BlankBitmap(color.width, color.height, 1);
    for (std::size_t i = 0; i < m.mono.size(); ++i)
        m.mono[i] = (color.pixels[i] >> 24) == 0;
    return m;
}

// An icon is drawn by its alpha channel when the image says so, when there is no mask, or
// when the alpha bytes vary; an all-opaque or all-clear alpha channel defers to the mask.
bool UsesAlpha(const Bitmap& color, const Bitmap* mask) {
    if (color.hasAlpha || mask == nullptr) return true;
    bool anyPartial = false, anyNonZero = false;
    for (Pixel p : color.pixels) {
        const Pixel a = p >> 24;
        anyPartial = anyPartial || a != 0xFF;
        anyNonZero = anyNonZero || a != 0;
    }
    return anyPartial && anyNonZero;
}

}  // namespace

HandleTable<GdiObject, HandleKind::Gdi>& GdiObjects() {
    thread_local HandleTable<GdiObject, HandleKind::Gdi> table;
    return table;
}

GdiObject* GetGdi(HGDIOBJ h, GdiKind kind) {
    GdiObject* o = GdiObjects().Get(h);
    return (o != nullptr && o->kind == kind) ? o : nullptr;
}

namespace gdi {

HBITMAP DefaultBitmap() {
    StockTable& s = Stock();
    if (GetGdi(s.defaultBitmap, GdiKind::Bitmap) == nullptr) {
        GdiObject o;
        o.kind = GdiKind::Bitmap;
        o.bitmap = BlankBitmap(1, 1, 1);
        s.defaultBitmap = AddStock(std::move(o));
    }
    return s.defaultBitmap;
}

Bitmap ToColorBitmap(const Bitmap& source) {
    if (source.bpp == 32) return source;
    Bitmap b = BlankBitmap(source.width, source.height, 32);
    for (std::size_t i = 0; i < b.pixels.size(); ++i)
        b.pixels[i] = source.mono[i] ? 0xFFFFFFFFu : 0xFF000000u;
    return b;
}

}  // namespace gdi

HGDIOBJ GetStockObject(int index) {
    if (!IsStockIndex(index)) return 0;
    StockTable& s = Stock();
    HGDIOBJ& h = s.objects[static_cast<std::size_t>(index)];
    if (GdiObjects().Get(h) == nullptr) h = AddStock(MakeStock(index));
    return h;
}

HBRUSH GetSysColorBrush(int index) {
    if (index < 0 || index > COLOR_MENUBAR) return 0;
    StockTable& s = Stock();
    HBRUSH& h = s.sysBrushes[static_cast<std::size_t>(index)];
    if (GetGdi(h, GdiKind::Brush) == nullptr)
        h = AddStock(BrushObject(BS_SOLID, GetSysColor(index)));
    return h;
}

HPEN CreatePen(int style, int width, COLORREF color) {
    if (style < PS_SOLID || style > PS_NULL) return 0;
    return AddObject(PenObject(style, width < 0 ? 0 : width, color));
}

HBRUSH CreateSolidBrush(COLORREF color) {
    return AddObject(BrushObject(BS_SOLID, color));
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
    const GdiObject* b = GetGdi(bitmap, GdiKind::Bitmap);
    if (b == nullptr || b->bitmap.bpp != 1 || b->bitmap.width < 8 || b->bitmap.height < 8) return 0;
    GdiObject o = BrushObject(BS_PATTERN, 0);
    o.brush.isPattern = true;
    for (int y = 0; y < 8; ++y) {
        std::uint8_t row = 0;
        for (int x = 0; x < 8; ++x)
            if (b->bitmap.mono[static_cast<std::size_t>(y * b->bitmap.width + x)])
                row = static_cast<std::uint8_t>(row | (0x80 >> x));
        o.brush.pattern[static_cast<std::size_t>(y)] = row;
    }
    return AddObject(std::move(o));
}

HFONT CreateFontIndirectA(const LOGFONTA* lf) {
    if (lf == nullptr) return 0;
    GdiObject o;
    o.kind = GdiKind::Font;
    o.font.lf = *lf;
    o.font.lf.lfFaceName[sizeof(o.font.lf.lfFaceName) - 1] = '\0';
    return AddObject(std::move(o));
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (width == 0 || height == 0) return DefaultBitmap();
    if (planes != 1 || (bitsPerPixel != 1 && bitsPerPixel != 32) || !ValidSize(width, height))
        return 0;
    Bitmap b = BlankBitmap(width, height, static_cast<int>(bitsPerPixel));
    if (bits != nullptr) {
        const auto* src = static_cast<const std::uint8_t*>(bits);
        if (bitsPerPixel == 1) {
            const std::size_t stride = static_cast<std::size_t>((width + 15) / 16) * 2;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    const std::uint8_t byte =
                        src[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x / 8)];
                    b.mono[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                           static_cast<std::size_t>(x)] =
                        static_cast<std::uint8_t>((byte >> (7 - x % 8)) & 1);
                }
        } else {
            for (std::size_t i = 0; i < b.pixels.size(); ++i) {
                const std::uint8_t* p = src + i * 4;
                b.pixels[i] =
                    Pixel{p[0]} | (Pixel{p[1]} << 8) | (Pixel{p[2]} << 16) | (Pixel{p[3]} << 24);
            }
        }
    }
    return AddBitmap(std::move(b));
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr) return 0;
    if (width == 0 || height == 0) return DefaultBitmap();
    if (!ValidSize(width, height)) return 0;
    const Bitmap* target = TargetOf(*dc);
    const int bpp = (!dc->isWindowDc && target != nullptr && target->bpp == 1) ? 1 : 32;
    return AddBitmap(BlankBitmap(width, height, bpp));
}

HBITMAP CreateBitmapFromPixels(Bitmap bitmap) {
    if (!ValidSize(bitmap.width, bitmap.height)) return 0;
    const std::size_t n =
        static_cast<std::size_t>(bitmap.width) * static_cast<std::size_t>(bitmap.height);
    if (bitmap.bpp == 32 ? bitmap.pixels.size() != n : (bitmap.bpp != 1 || bitmap.mono.size() != n))
        return 0;
    return AddBitmap(std::move(bitmap));
}

HICON CreateIconFromImages(Icon icon) {
    Bitmap& c = icon.color;
    if (!ValidSize(c.width, c.height) || c.bpp != 32 ||
        c.pixels.size() != static_cast<std::size_t>(c.width) * static_cast<std::size_t>(c.height))
        return 0;
    const bool hasMask = !icon.mask.mono.empty();
    if (hasMask && (icon.mask.bpp != 1 || icon.mask.width != c.width ||
                    icon.mask.height != c.height || icon.mask.mono.size() != c.pixels.size()))
        return 0;
    if (UsesAlpha(c, hasMask ? &icon.mask : nullptr)) {
        c.hasAlpha = true;
        icon.mask = Bitmap{};
        icon.mask.bpp = 1;
    }
    c.selectedIn = 0;
    c.isScreen = false;
    GdiObject o;
    o.kind = GdiKind::Icon;
    o.icon = std::move(icon);
    return AddObject(std::move(o));
}

HICON CreateIconIndirect(const ICONINFO* info) {
    if (info == nullptr) return 0;
    const GdiObject* color = GetGdi(info->hbmColor, GdiKind::Bitmap);
    const GdiObject* mask = GetGdi(info->hbmMask, GdiKind::Bitmap);
    if (color == nullptr) return 0;
    Icon icon;
    icon.color = gdi::ToColorBitmap(color->bitmap);
    icon.hotspotX = static_cast<int>(info->fIcon ? color->bitmap.width / 2 : info->xHotspot);
    icon.hotspotY = static_cast<int>(info->fIcon ? color->bitmap.height / 2 : info->yHotspot);
    if (mask != nullptr) {
        const Bitmap& m = mask->bitmap;
        if (m.bpp != 1 || m.width != icon.color.width || m.height < icon.color.height) return 0;
        icon.mask = m;
        icon.mask.height = icon.color.height;  // a double-height mask keeps its AND half
        icon.mask.mono.resize(icon.color.pixels.size());
        icon.mask.selectedIn = 0;
    } else if (info->hbmMask != 0) {
        return 0;
    }
    return CreateIconFromImages(std::move(icon));
}

BOOL DestroyIcon(HICON icon) {
    if (GetGdi(icon, GdiKind::Icon) == nullptr) return FALSE;
    return GdiObjects().Remove(icon) ? TRUE : FALSE;
}

BOOL GetIconInfo(HICON icon, ICONINFO* info) {
    const GdiObject* o = GetGdi(icon, GdiKind::Icon);
    if (o == nullptr || info == nullptr) return FALSE;
    const Icon& i = o->icon;
    info->fIcon = TRUE;
    info->xHotspot = static_cast<DWORD>(i.hotspotX);
    info->yHotspot = static_cast<DWORD>(i.hotspotY);
    info->hbmColor = AddBitmap(i.color);
    info->hbmMask = AddBitmap(i.mask.mono.empty() ? MaskFromAlpha(i.color) : i.mask);
    return TRUE;
}

BOOL GetIconSize(HICON icon, SIZE* size) {
    const GdiObject* o = GetGdi(icon, GdiKind::Icon);
    if (o == nullptr || size == nullptr) return FALSE;
    size->cx = o->icon.color.width;
    size->cy = o->icon.color.height;
    return TRUE;
}

BOOL DeleteObject(HGDIOBJ object) {
    GdiObject* o = GdiObjects().Get(object);
    if (o == nullptr || o->stock || o->kind == GdiKind::Icon) return FALSE;
    if (o->kind == GdiKind::Bitmap && (o->bitmap.isScreen || o->bitmap.selectedIn > 0))
        return FALSE;
    if (gdi::IsSelectedAnywhere(object)) return FALSE;
    return GdiObjects().Remove(object) ? TRUE : FALSE;
}

UINT GetObjectType(HGDIOBJ object) {
    if (DeviceContext* dc = GetDcPtr(object)) return dc->isWindowDc ? OBJ_DC : OBJ_MEMDC;
    const GdiObject* o = GdiObjects().Get(object);
    if (o == nullptr) return 0;
    switch (o->kind) {
        case GdiKind::Pen:
            return OBJ_PEN;
        case GdiKind::Brush:
            return OBJ_BRUSH;
        case GdiKind::Font:
            return OBJ_FONT;
        case GdiKind::Bitmap:
            return OBJ_BITMAP;
        case GdiKind::Icon:
            return 0;  // icons are user objects, not drawing objects
    }
    return 0;
}

namespace {

template <class T>
int CopyOut(const T& value, int size, void* out) {
    if (out == nullptr) return static_cast<int>(sizeof(T));
    if (size < static_cast<int>(sizeof(T))) return 0;
    std::memcpy(out, &value, sizeof(T));
    return static_cast<int>(sizeof(T));
}

}  // namespace

int GetObjectA(HGDIOBJ object, int size, void* out) {
    const GdiObject* o = GdiObjects().Get(object);
    if (o == nullptr) return 0;
    switch (o->kind) {
        case GdiKind::Bitmap: {
            BITMAP bm;
            bm.bmWidth = o->bitmap.width;
            bm.bmHeight = o->bitmap.height;
            bm.bmWidthBytes =
                o->bitmap.bpp == 1 ? (o->bitmap.width + 15) / 16 * 2 : o->bitmap.width * 4;
            bm.bmPlanes = 1;
            bm.bmBitsPixel = static_cast<WORD>(o->bitmap.bpp);
            return CopyOut(bm, size, out);
        }
        case GdiKind::Pen: {
            LOGPEN lp;
            lp.lopnStyle = static_cast<UINT>(o->pen.style);
            lp.lopnWidth = POINT{o->pen.width, 0};
            lp.lopnColor = o->pen.color;
            return CopyOut(lp, size, out);
        }
        case GdiKind::Brush: {
            LOGBRUSH lb;
            lb.lbStyle = static_cast<UINT>(o->brush.style);
            lb.lbColor = o->brush.color;
            return CopyOut(lb, size, out);
        }
        case GdiKind::Font:
            return CopyOut(o->font.lf, size, out);
        case GdiKind::Icon:
            return 0;
    }
    return 0;
}

}  // namespace zo::plat
