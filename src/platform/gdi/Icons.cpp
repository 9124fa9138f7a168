// Icons and images in states: DrawIconEx, DrawIcon and DrawStateA (normal, disabled, mono and
// dithered looks).
#include <algorithm>
#include <vector>

#include "platform/Gdi.h"
#include "platform/gdi/Blit.h"

namespace zo::plat {

namespace {

constexpr int kDefaultIconSize = 32;  // the system's large icon size

// Draws icon parts onto dst (ordered target pixels), scaled by picking pixels.
void PaintIcon(Bitmap& target, const Region& clip, const Icon& icon, const RECT& dst, UINT flags) {
    const Bitmap& color = icon.color;
    const bool alpha = color.hasAlpha || icon.mask.mono.empty();
    const bool mask = (flags & DI_MASK) != 0, image = (flags & DI_IMAGE) != 0;
    const bool mono = target.bpp == 1;
    const RECT src{0, 0, color.width, color.height};
    gdi::ForEachMapped(
        clip, dst, src, false, false, color, true,
        [&](LONG x, LONG y, LONG sx, LONG, LONG sy, LONG) {
            const std::size_t i =
                static_cast<std::size_t>(sy) * static_cast<std::size_t>(color.width) +
                static_cast<std::size_t>(sx);
            const Pixel c = color.pixels[i];
            const bool clear = alpha ? (c >> 24) == 0 : icon.mask.mono[i] != 0;
            const std::uint32_t maskValue =
                mono ? (clear ? gdi::kMonoOne : 0u) : (clear ? 0xFFFFFFFFu : 0xFF000000u);
            const std::uint32_t imageValue = mono ? gdi::MonoOf(ColorRefFromPixel(c)) : c;
            if (mask && !image) {
                gdi::Store(target, x, y, maskValue, true);
            } else if (image && !mask) {
                gdi::Store(target, x, y, imageValue, true);
            } else if (alpha) {
                const std::uint32_t d = gdi::Load(target, x, y);
                if (mono)
                    gdi::Store(target, x, y, (c >> 24) >= 128 ? imageValue : d, false);
                else
                    gdi::Store(target, x, y, gdi::BlendOver(c, d, c >> 24, target.hasAlpha), true);
            } else {
                // AND with the mask, then XOR with the image.
                const std::uint32_t d = gdi::Load(target, x, y);
                gdi::Store(target, x, y, (d & maskValue) ^ imageValue, false);
            }
        });
}

// A black-and-white rendering of an image for the state looks: 1 (white) for white and
// transparent pixels, 0 for the rest.
struct MonoImage {
    LONG width = 0;
    LONG height = 0;
    std::vector<std::uint8_t> bits;
};

MonoImage MonoOfIcon(const Icon& icon, LONG w, LONG h) {
    MonoImage m{w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h, 1)};
    const bool alpha = icon.color.hasAlpha || icon.mask.mono.empty();
    for (LONG y = 0; y < std::min<LONG>(h, icon.color.height); ++y)
        for (LONG x = 0; x < std::min<LONG>(w, icon.color.width); ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * icon.color.width + x;
            const Pixel c = icon.color.pixels[i];
            const bool clear = alpha ? (c >> 24) == 0 : icon.mask.mono[i] != 0;
            m.bits[static_cast<std::size_t>(y) * w + x] = clear || (c & 0xFFFFFFu) == 0xFFFFFFu;
        }
    return m;
}

MonoImage MonoOfBitmap(const Bitmap& b, LONG w, LONG h) {
    MonoImage m{w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h, 1)};
    for (LONG y = 0; y < std::min<LONG>(h, b.height); ++y)
        for (LONG x = 0; x < std::min<LONG>(w, b.width); ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * b.width + x;
            m.bits[static_cast<std::size_t>(y) * w + x] =
                b.bpp == 1 ? b.mono[i] : (b.pixels[i] & 0xFFFFFFu) == 0xFFFFFFu;
        }
    return m;
}

// Paints the black part of m at (left, top) in target pixels.
void PaintMono(Bitmap& target, const Region& clip, const MonoImage& m, LONG left, LONG top,
               const gdi::Paint& paint) {
    const RECT area{left, top, gdi::ClampCoord(std::int64_t{left} + m.width),
                    gdi::ClampCoord(std::int64_t{top} + m.height)};
    for (const RECT& c : clip.Rects()) {
        const RECT r = gdi::Clip(c, area);
        for (LONG y = r.top; y < r.bottom; ++y)
            for (LONG x = r.left; x < r.right; ++x)
                if (!m.bits[static_cast<std::size_t>(y - top) * m.width + (x - left)])
                    gdi::Store(target, x, y, paint.At(x, y), false);
    }
}

}  // namespace

BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int width, int height, UINT, HBRUSH flickerFree,
                UINT flags) {
    DeviceContext* dc = GetDcPtr(hdc);
    const GdiObject* o = GetGdi(icon, GdiKind::Icon);
    if (dc == nullptr || o == nullptr || (flags & DI_NORMAL) == 0) return FALSE;
    Bitmap* target = TargetOf(*dc);
    if (target == nullptr) return FALSE;
    const Icon& ic = o->icon;
    if (width == 0) width = (flags & DI_DEFAULTSIZE) ? kDefaultIconSize : ic.color.width;
    if (height == 0) height = (flags & DI_DEFAULTSIZE) ? kDefaultIconSize : ic.color.height;
    if (width < 0 || height < 0) return FALSE;
    const RECT dst = gdi::ToTarget(*dc, x, y, std::int64_t{x} + width, std::int64_t{y} + height);
    const Region& clip = EffectiveClip(*dc);
    if (clip.Empty() || gdi::EmptyRect(dst)) return TRUE;
    if (flickerFree != 0) {
        Brush b;
        if (!gdi::ResolveBrush(flickerFree, false, b)) return FALSE;
        gdi::PatternFill(*dc, *target, dst, gdi::MakeBrushPaint(*dc, *target, b), 0xF0);
    }
    PaintIcon(*target, clip, ic, dst, flags);
    return TRUE;
}

BOOL DrawIcon(HDC hdc, int x, int y, HICON icon) {
    return DrawIconEx(hdc, x, y, icon, 0, 0, 0, 0, DI_NORMAL | DI_DEFAULTSIZE);
}

BOOL DrawStateA(HDC hdc, HBRUSH brush, DRAWSTATEPROC proc, LPARAM data, WPARAM wdata, int x, int y,
                int cx, int cy, UINT flags) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr || cx < 0 || cy < 0) return FALSE;
    const UINT type = flags & 0x000F;
    const bool normal = (flags & (DSS_UNION | DSS_DISABLED | DSS_MONO)) == 0;
    const auto handle = static_cast<HANDLE>(data);
    const GdiObject* icon = type == DST_ICON ? GetGdi(handle, GdiKind::Icon) : nullptr;
    const GdiObject* bitmap = type == DST_BITMAP ? GetGdi(handle, GdiKind::Bitmap) : nullptr;
    if (type == DST_ICON && icon == nullptr) return FALSE;
    if (type == DST_BITMAP && bitmap == nullptr) return FALSE;
    if (type == DST_COMPLEX && (proc == nullptr || cx == 0 || cy == 0)) return FALSE;
    if (type != DST_ICON && type != DST_BITMAP && type != DST_COMPLEX) return FALSE;
    if (icon != nullptr) {
        if (cx == 0) cx = icon->icon.color.width;
        if (cy == 0) cy = icon->icon.color.height;
    } else if (bitmap != nullptr) {
        if (cx == 0) cx = bitmap->bitmap.width;
        if (cy == 0) cy = bitmap->bitmap.height;
    }

    if (normal && type == DST_COMPLEX) {
        // The callback draws at the image's place, limited to its size.
        const int saved = SaveDC(hdc);
        OffsetViewportOrgEx(hdc, x, y, nullptr);
        IntersectClipRect(hdc, 0, 0, cx, cy);
        const BOOL ok = proc(hdc, data, wdata, cx, cy);
        RestoreDC(hdc, saved);
        return ok;
    }
    Bitmap* target = TargetOf(*dc);
    if (target == nullptr) return FALSE;
    const RECT limit = gdi::ToTarget(*dc, x, y, std::int64_t{x} + cx, std::int64_t{y} + cy);
    Region clip = EffectiveClip(*dc);
    clip.Intersect(limit);
    if (normal) {
        if (clip.Empty()) return TRUE;
        if (icon != nullptr) {
            const Bitmap& c = icon->icon.color;
            const RECT dst{limit.left, limit.top,
                           gdi::ClampCoord(std::int64_t{limit.left} + c.width),
                           gdi::ClampCoord(std::int64_t{limit.top} + c.height)};
            PaintIcon(*target, clip, icon->icon, dst, DI_NORMAL);
            return TRUE;
        }
        const Bitmap& b = bitmap->bitmap;
        const gdi::SourceView view = gdi::MakeSourceView(dc->state, b, dc->state, *target);
        const RECT dst{limit.left, limit.top, gdi::ClampCoord(std::int64_t{limit.left} + b.width),
                       gdi::ClampCoord(std::int64_t{limit.top} + b.height)};
        gdi::ForEachMapped(clip, dst, RECT{0, 0, b.width, b.height}, false, false, b, true,
                           [&](LONG px, LONG py, LONG sx, LONG, LONG sy, LONG) {
                               gdi::Store(*target, px, py, view.At(sx, sy), true);
                           });
        return TRUE;
    }

    // The state looks work on a black-and-white rendering of the image.
    MonoImage m;
    if (icon != nullptr) {
        m = MonoOfIcon(icon->icon, std::min(cx, icon->icon.color.width),
                       std::min(cy, icon->icon.color.height));
    } else if (bitmap != nullptr) {
        m = MonoOfBitmap(bitmap->bitmap, std::min(cx, bitmap->bitmap.width),
                         std::min(cy, bitmap->bitmap.height));
    } else {
        HDC mem = CreateCompatibleDC(hdc);
        HBITMAP canvas = CreateBitmap(cx, cy, 1, 32, nullptr);
        if (mem == 0 || canvas == 0) {
            DeleteDC(mem);
            DeleteObject(canvas);
            return FALSE;
        }
        HGDIOBJ old = SelectObject(mem, canvas);
        PatBlt(mem, 0, 0, cx, cy, WHITENESS);
        proc(mem, data, wdata, cx, cy);
        m = MonoOfBitmap(GetGdi(canvas, GdiKind::Bitmap)->bitmap, cx, cy);
        SelectObject(mem, old);
        DeleteObject(canvas);
        DeleteDC(mem);
    }
    if (flags & DSS_UNION)
        for (LONG yy = 0; yy < m.height; ++yy)
            for (LONG xx = 0; xx < m.width; ++xx)
                if ((xx + yy) & 1) m.bits[static_cast<std::size_t>(yy) * m.width + xx] = 1;
    if (clip.Empty()) return TRUE;
    if (flags & DSS_DISABLED) {
        Region shifted = EffectiveClip(*dc);
        shifted.Intersect(RECT{limit.left + 1, limit.top + 1, limit.right + 1, limit.bottom + 1});
        PaintMono(*target, shifted, m, limit.left + 1, limit.top + 1,
                  gdi::MakeSolidPaint(*target, GetSysColor(COLOR_3DHILIGHT)));
        PaintMono(*target, clip, m, limit.left, limit.top,
                  gdi::MakeSolidPaint(*target, GetSysColor(COLOR_3DSHADOW)));
        return TRUE;
    }
    gdi::Paint paint = gdi::MakeSolidPaint(*target, RGB(0, 0, 0));
    if (brush != 0) {
        Brush b;
        if (!gdi::ResolveBrush(brush, false, b)) return FALSE;
        paint = gdi::MakeBrushPaint(*dc, *target, b);
    }
    PaintMono(*target, clip, m, limit.left, limit.top, paint);
    return TRUE;
}

}  // namespace zo::plat
