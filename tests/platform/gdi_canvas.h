// A small memory DC over a 32-bit bitmap for the raster tests, with direct pixel reads that
// do not go through the code under test.
#pragma once

#include "platform/Gdi.h"
#include "platform/GdiInternal.h"

namespace zo::plat::test {

class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255), int bpp = 32) {
        dc = CreateCompatibleDC(0);
        bitmap = CreateBitmap(width, height, 1, static_cast<UINT>(bpp), nullptr);
        previous = SelectObject(dc, bitmap);
        Fill(fill);
    }
    ~Canvas() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    Bitmap& Bits() const { return GetGdi(bitmap, GdiKind::Bitmap)->bitmap; }
    int Width() const { return Bits().width; }
    int Height() const { return Bits().height; }

    void Fill(COLORREF c) const {
        Bitmap& b = Bits();
        for (auto& p : b.pixels)
            p = PixelFromColorRef(c);
        for (auto& m : b.mono)
            m = (c & 0xFFFFFF) == 0xFFFFFF ? 1 : 0;
    }
    // The colour at (x, y) in bitmap pixels; for 1-bit bitmaps black or white.
    COLORREF Px(int x, int y) const {
        const Bitmap& b = Bits();
        const auto i = static_cast<std::size_t>(y) * static_cast<std::size_t>(b.width) +
                       static_cast<std::size_t>(x);
        if (b.bpp == 1) return b.mono[i] ? RGB(255, 255, 255) : RGB(0, 0, 0);
        return ColorRefFromPixel(b.pixels[i]);
    }
    Pixel Raw(int x, int y) const {
        const Bitmap& b = Bits();
        return b.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(b.width) +
                        static_cast<std::size_t>(x)];
    }
    void Put(int x, int y, COLORREF c) const {
        Bitmap& b = Bits();
        const auto i = static_cast<std::size_t>(y) * static_cast<std::size_t>(b.width) +
                       static_cast<std::size_t>(x);
        if (b.bpp == 1)
            b.mono[i] = (c & 0xFFFFFF) == 0xFFFFFF ? 1 : 0;
        else
            b.pixels[i] = PixelFromColorRef(c);
    }
    // Number of pixels of colour c inside [x0,x1) x [y0,y1).
    int Count(COLORREF c, int x0, int y0, int x1, int y1) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += Px(x, y) == c;
        return n;
    }
    int Count(COLORREF c) const { return Count(c, 0, 0, Width(), Height()); }

    HDC dc = 0;
    HBITMAP bitmap = 0;
    HGDIOBJ previous = 0;
};

inline COLORREF Sys(int index) {
    return GetSysColor(index);
}

}  // namespace zo::plat::test
